#include "TilePictures.h"

#include "platform/MessageSink.h"
#include "platform/ResourceModule.h"

TilePictures::TilePictures(const QImage &selectedMark, MessageSink *messages)
    : m_messages(messages), m_selectedMark(selectedMark.convertToFormat(QImage::Format_RGB32))
{
}

void TilePictures::setSkin(const ResourceModule *skin, const QString &backName)
{
    m_skin = skin;
    m_backName = backName;
    // Pictures from another skin or back must be loaded afresh.
    m_shown.fill({});
}

QImage TilePictures::loadBitmap(const QString &name) const
{
    QImage image = m_skin ? m_skin->bitmap(name) : QImage();
    if (image.isNull() && m_messages)
        m_messages->resourceNotFound(name);
    return image;
}

QImage TilePictures::marked(const QImage &face) const
{
    QImage image = face.convertToFormat(QImage::Format_RGB32);
    const int rows = qMin(image.height(), m_selectedMark.height());
    const int columns = qMin(image.width(), m_selectedMark.width());
    for (int y = 0; y < rows; ++y) {
        auto *pixels = reinterpret_cast<QRgb *>(image.scanLine(y));
        const auto *mark = reinterpret_cast<const QRgb *>(m_selectedMark.constScanLine(y));
        for (int x = 0; x < columns; ++x)
            pixels[x] &= mark[x];
    }
    return image;
}

QImage TilePictures::face(DominoId domino, bool withMark) const
{
    const QImage image = loadBitmap(QString::fromLatin1(DominoSet::bitmapName(domino)));
    return withMark && !image.isNull() ? marked(image) : image;
}

std::optional<QImage> TilePictures::pictureFor(SlotNumber s, TilePicture picture, DominoId domino)
{
    Shown &shown = m_shown[s - 1];
    if (shown.picture == picture && (picture == TilePicture::Back || shown.domino == domino))
        return std::nullopt;
    QImage image;
    if (picture == TilePicture::Back) {
        image = loadBitmap(m_backName);
    } else if (picture != TilePicture::None) {
        image = face(domino, picture == TilePicture::MarkedFace);
    }
    if (image.isNull() && picture != TilePicture::None)
        return std::nullopt;
    shown = {picture, domino};
    return image;
}
