#pragma once

#include "platform/ResourceModule.h"

#include <QHash>
#include <QImage>
#include <QString>

// The standard tile set that comes with the program: the 28 faces "00BMP" to
// "66BMP" (1 bit per pixel, white pips on black, first digit on the upper
// half) and the backs "BACK001" to "BACK006" (24 bits per pixel). Every picture is drawn the
// first time it is asked for and kept; callers get implicitly shared copies.
// Meant for the GUI thread only.
class BuiltinSkin : public ResourceModule
{
public:
    static constexpr int TileWidth = 30;
    static constexpr int TileHeight = 60;

    QImage bitmap(const QString &name) const override;
    // The standard set's texts 1 to 47: the family's marker, six back
    // titles, eighteen reserved records, the author line and the description.
    QString string(int id) const override;

private:
    mutable QHash<QString, QImage> m_cache; // by upper-case name
};
