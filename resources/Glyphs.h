#pragma once

#include <QPixmap>
#include <QString>

// The pictures of the six toolbar buttons, drawn in code at 16 x 16 pixels
// (the buttons are 24 x 24 with a 2-pixel bevel). Needs a QGuiApplication.
class Glyphs
{
public:
    static constexpr int Size = 16;

    // up: normal; disabled: greyed and embossed; pressed: a shade darker
    // (the button shifts it itself); down: the art in its "active" colours,
    // for a button that stays down. NewGame and Help never stay down, so their
    // down picture is the pressed one.
    struct GlyphSet
    {
        QPixmap up, disabled, pressed, down;
    };

    // For "NewGame", "Pause", "Options", "Stats", "About" and "Help"; any
    // other name gives a set of null pixmaps.
    static GlyphSet forButton(const QString &objectName);
};

using GlyphSet = Glyphs::GlyphSet;
