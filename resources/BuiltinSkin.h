#pragma once

#include "game/BoardFigure.h"
#include "platform/ResourceModule.h"

#include <QHash>
#include <QImage>
#include <QString>

// The standard tile set that comes with the program: the 28 faces "00BMP" to
// "66BMP" (1 bit per pixel, white pips on black, first digit on the upper
// half) and the back "BACK001" (24 bits per pixel). Every picture is drawn the
// first time it is asked for and kept; callers get implicitly shared copies.
// Meant for the GUI thread only.
class BuiltinSkin : public ResourceModule
{
public:
    static constexpr int TileWidth = BoardFigure::TileWidth;
    static constexpr int TileHeight = BoardFigure::TileHeight;

    QImage bitmap(const QString &name) const override;

private:
    mutable QHash<QString, QImage> m_cache; // by upper-case name
};
