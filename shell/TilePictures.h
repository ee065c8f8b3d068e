#pragma once

#include "game/Game.h"

#include <QImage>
#include <QString>
#include <array>
#include <optional>

class MessageSink;
class ResourceModule;

// The pictures of the 28 tiles: faces and the back loaded by name from the
// current skin, the selection mark combined into a face, and what each tile
// shows now, so that a tile whose flags alone change is not loaded again.
class TilePictures
{
public:
    TilePictures(const QImage &selectedMark, MessageSink *messages);

    // The skin from which faces and backs are loaded, and the back's name.
    // Every tile is loaded afresh afterwards.
    void setSkin(const ResourceModule *skin, const QString &backName);
    const ResourceModule *skin() const { return m_skin; }
    const QString &backName() const { return m_backName; }

    // The picture slot `s` is to show now, or nothing when it shows that
    // already or the picture cannot be loaded (it keeps what it showed).
    std::optional<QImage> pictureFor(SlotNumber s, TilePicture picture, DominoId domino);

    // The face of `domino`, with the mark or without, loaded afresh; a null
    // image when the skin lacks it.
    QImage face(DominoId domino, bool withMark) const;

    // `face` with the mark combined by AND: the mark's black squares darken
    // every other pixel, its white squares leave the face.
    QImage marked(const QImage &face) const;

private:
    QImage loadBitmap(const QString &name) const;

    MessageSink *m_messages;
    QImage m_selectedMark;
    const ResourceModule *m_skin = nullptr;
    QString m_backName;

    struct Shown
    {
        TilePicture picture = TilePicture::None;
        DominoId domino = 0;
    };
    std::array<Shown, BoardFigure::SlotCount> m_shown{};
};
