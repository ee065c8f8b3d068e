#pragma once

#include <QFont>

// The fonts the game's windows were designed with, on this desktop. "MS Sans
// Serif" at a pixel height is Liberation Sans at that pixel size: of the
// faces Debian ships it is the one whose widths come closest to the design's
// ("Total games:" 62 pixels where the design has 61), so the windows' texts
// fit the places they were drawn for. The status bar's bold face is
// Liberation Sans Narrow, whose digits are 5 pixels wide at 11 pixels, so the
// clock shows 99999 whole in its 29-pixel panel. The fixed-pitch variant is
// Liberation Mono. On a desktop without them the desktop's own sans-serif
// and monospace faces stand in.
class DesktopFonts
{
public:
    static QFont sansSerif(int pixelHeight, bool bold = false);
    static QFont narrow(int pixelHeight, bool bold = false);
    static QFont fixedPitch(int pixelHeight);
};
