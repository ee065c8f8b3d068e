#pragma once

#include "TilePictures.h"
#include "game/Game.h"

#include <QPoint>
#include <QSize>
#include <array>

class QWidget;
class TileImage;

// The board's 28 tile controls, laid out in the figure on a window, each
// showing what the game says of its slot: its picture from the current
// skin, whether it is on the board and playable, its pip total as a tool
// tip, and what a screen reader reads of it.
class BoardTiles
{
public:
    BoardTiles(QWidget &window, const QImage &selectedMark, MessageSink *messages);

    TileImage *tile(SlotNumber s) const { return m_tiles[s - 1]; }
    const std::array<TileImage *, BoardFigure::SlotCount> &tiles() const { return m_tiles; }

    // The skin from which faces and backs are loaded, and the back's name.
    void setSkin(const ResourceModule *skin, const QString &backName);
    // Tile s shows slot s of `game` as it is now.
    void show(const Game &game, SlotNumber s);

    // The plain face of slot s, whatever the tile shows; a null image when
    // the skin lacks it. And a face with the selection mark.
    QImage face(const Game &game, SlotNumber s) const;
    QImage marked(const QImage &face) const { return m_pictures.marked(face); }
    // Tile s shows `picture` for a moment in place of what it shows of the
    // game; a null image brings that back.
    void flash(SlotNumber s, const QImage &picture);

    // Offset of the board figure in a client area of the given size: half
    // the surplus over the designed size in each direction, cut to a pixel.
    static QPoint figureOffset(QSize clientSize);

private:
    void describe(const Game &game, SlotNumber s);

    TilePictures m_pictures;
    std::array<TileImage *, BoardFigure::SlotCount> m_tiles{};
};
