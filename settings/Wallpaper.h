#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QSize>

// The picture behind the board: a colour of the 16-colour grid, with a
// wallpaper picture drawn on it once in the middle or repeated over the
// whole area.
class Wallpaper
{
public:
    static constexpr int ColourCount = 16;
    // The colour grid is 4 cells across and 4 down; index = row x 4 + column.
    static constexpr int GridColumns = 4;
    // The grid index a chosen or stored number stands for: 0 (black) for a
    // number outside the grid.
    static constexpr int colourIndex(int number) { return number >= 0 && number < ColourCount ? number : 0; }
    // The preview on the setup dialog: 0.4 of the designed board.
    static constexpr QSize PreviewSize{116, 188};
    // Bigger picture files are not read (nor copied into GFX): a picture of
    // 2048 x 2048 at 32 bits a pixel takes 16 MB, far more than the board
    // shows, and a file of any size would otherwise be read whole.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024 + 54;
    // Nor are pictures wider or higher than this, whose compressed runs
    // would ask for a huge image from a small file.
    static constexpr int MaxSide = 8192;

    // The picture of a wallpaper file's bytes, drawn as Windows draws a
    // bitmap file; a null image when they are no bitmap.
    static QImage picture(QByteArrayView file);

    enum class Placement { Centered, Tiled };

    // The colour of grid index 0..15 (the first eight and the last eight of
    // the 20 colours of the Windows default palette).
    static QColor colour(int index);

    // A new background of the client size: the colour, and the picture (when
    // not null) centred or tiled on it. What falls outside is clipped.
    static QImage compose(QSize clientSize, int colourIndex, const QImage &picture, Placement placement);
};
