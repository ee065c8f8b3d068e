#include "BoardTiles.h"

#include "TileAccessible.h"
#include "TileImage.h"

#include <QWidget>

BoardTiles::BoardTiles(QWidget &window, const QImage &selectedMark, MessageSink *messages)
    : m_pictures(selectedMark, messages)
{
    const QPoint offset = figureOffset(window.size());
    for (SlotNumber s = 1; s <= BoardFigure::SlotCount; ++s) {
        auto *tile = new TileImage(s, &window);
        const BoardFigure::Point at = BoardFigure::position(s);
        tile->move(at.x + offset.x(), at.y + offset.y());
        tile->setEnabled(false);
        // Where tiles overlap, the higher slot lies on top.
        tile->raise();
        m_tiles[s - 1] = tile;
    }
}

QPoint BoardTiles::figureOffset(QSize clientSize)
{
    return {static_cast<int>((clientSize.width() - BoardFigure::DesignWidth) * 0.5),
            static_cast<int>((clientSize.height() - BoardFigure::DesignHeight) * 0.5)};
}

void BoardTiles::setSkin(const ResourceModule *skin, const QString &backName)
{
    m_pictures.setSkin(skin, backName);
}

void BoardTiles::show(const Game &game, SlotNumber s)
{
    const TileState &state = game.tile(s);
    TileImage *tile = m_tiles[s - 1];
    if (state.visible) {
        if (const std::optional<QImage> picture = m_pictures.pictureFor(s, state.picture, game.slotDomino(s)))
            tile->setPicture(*picture);
    }
    tile->setEnabled(state.enabled);
    tile->setToolTip(state.showHint ? QString::number(game.pipTotalAt(s)) : QString());
    tile->setVisible(state.visible);
    describe(game, s);
}

QImage BoardTiles::face(const Game &game, SlotNumber s) const
{
    return m_pictures.face(game.slotDomino(s), false);
}

void BoardTiles::flash(SlotNumber s, const QImage &picture)
{
    m_tiles[s - 1]->setFlash(picture);
}

void BoardTiles::describe(const Game &game, SlotNumber s)
{
    // What a screen reader reads; setting a name, or the selection, tells it
    // of the change.
    const TilePicture picture = game.tile(s).picture;
    const bool faceUp = picture == TilePicture::Face || picture == TilePicture::MarkedFace;
    const QString name = TileAccessible::name(game.slotDomino(s), faceUp);
    TileImage *tile = m_tiles[s - 1];
    if (tile->accessibleName() != name)
        tile->setAccessibleName(name);
    // The selection can leave a tile whose picture stays as it was.
    for (TileImage *each : m_tiles)
        each->setSelected(game.selectionActive() && game.selectedSlot() == each->slot());
}
