#pragma once

#include "platform/MessageSink.h"

#include <QStringList>

// Collects the error messages that the game would show in a message box.
class CapturedMessages : public MessageSink
{
public:
    void showError(const QString &text) override { messages.append(text); }
    QStringList messages;
};
