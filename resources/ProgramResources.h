#pragma once

#include "platform/ResourceModule.h"

#include <QIcon>
#include <QImage>
#include <QString>

// The program's own pictures that do not belong to a tile set: the selection
// mark "SELECTED" (30 x 60, 1 bit per pixel, black where x + y is even) and
// the window icon.
class ProgramResources : public ResourceModule
{
public:
    QImage bitmap(const QString &name) const override;

    // A small domino at 16, 32, 48 and 64 pixels. Needs a QGuiApplication.
    static QIcon windowIcon();
    // The icon drawn at one size (the installed game's icons are made from
    // it). Needs a QGuiApplication.
    static QImage iconImage(int size);

    // The family's logo of the splash and about windows: 190 x 90, 24 bits
    // per pixel, three dominoes fanned out over the family's name on black.
    // Needs a QGuiApplication (it draws text). On a screen the desktop
    // scales, drawn in its pixels (devicePixelRatio per window pixel).
    static QImage logo(qreal devicePixelRatio = 1);
};
