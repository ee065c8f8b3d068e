#pragma once

#include <QFont>

// The fonts the game's windows were designed with, on this desktop: "MS Sans
// Serif" at a pixel height is the desktop's sans-serif face at that pixel
// size, and its fixed-pitch variant the desktop's monospace face.
class DesktopFonts
{
public:
    static QFont sansSerif(int pixelHeight, bool bold = false);
    static QFont fixedPitch(int pixelHeight);
};
