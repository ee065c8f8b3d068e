#pragma once

#include "platform/ResourceModule.h"

#include <QMap>

// A resource module of numbered texts only, for tests of what a skin says.
class TextModule : public ResourceModule
{
public:
    QImage bitmap(const QString &) const override { return {}; }
    QString string(int id) const override { return texts.value(id); }
    QMap<int, QString> texts;
};
