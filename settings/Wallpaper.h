#pragma once

#include <QString>
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
    // Bigger picture files are too big (and not copied into GFX): a 5K
    // desktop's picture at 32 bits a pixel is 59 MB. Only the part of a
    // picture that shows is ever read, so its size costs nothing else.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
    // Nor are pictures wider or higher than this: several 8K screens side
    // by side are narrower.
    static constexpr int MaxSide = 32767;

    enum class Placement { Centered, Tiled };

    // What the board shows of a wallpaper file: the part of the picture that
    // a board of clientSize shows with that placement, which compose() draws
    // as it draws the whole picture; or why there is none: a file that is no
    // bitmap, or one too big, with the limit it is over ("larger than 64 MB").
    // Memory and time go by the part shown, whatever the file's size.
    struct Shown
    {
        QImage picture;
        bool tooBig = false;
        QString limit;
    };
    static Shown read(const QString &path, QSize clientSize, Placement placement);

    // The colour of grid index 0..15 (the first eight and the last eight of
    // the 20 colours of the Windows default palette).
    static QColor colour(int index);

    // A new background of the client size: the colour, and the picture (when
    // not null) centred or tiled on it. What falls outside is clipped.
    static QImage compose(QSize clientSize, int colourIndex, const QImage &picture, Placement placement);
};
