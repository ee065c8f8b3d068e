#include "Wallpaper.h"

#include "platform/DibFile.h"

#include <QPainter>

#include <array>

namespace {

constexpr std::array<QRgb, Wallpaper::ColourCount> colours = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

} // namespace

QColor Wallpaper::colour(int index)
{
    return QColor::fromRgb(colours[colourIndex(index)]);
}

QImage Wallpaper::picture(QByteArrayView file)
{
    return DibFile::decodeFile(file, MaxSide);
}

QImage Wallpaper::compose(QSize clientSize, int colourIndex, const QImage &picture, Placement placement)
{
    QImage background(clientSize, QImage::Format_RGB32);
    background.fill(colour(colourIndex));
    if (picture.isNull() || background.isNull())
        return background;

    const int cw = clientSize.width();
    const int ch = clientSize.height();
    const int w = picture.width();
    const int h = picture.height();
    QPainter painter(&background);
    // Pictures are copied as they are, never blended: a bitmap's spare
    // fourth byte is not transparency.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
    if (placement == Placement::Centered) {
        // Cut toward zero: a picture wider than the board starts left of it.
        painter.drawImage(static_cast<int>((cw - w) * 0.5), static_cast<int>((ch - h) * 0.5), opaque);
    } else {
        const int columns = cw / w + 2;
        const int rows = ch / h + 2;
        for (int i = 0; i < columns; ++i)
            for (int j = 0; j < rows; ++j)
                painter.drawImage(i * w, j * h, opaque);
    }
    return background;
}
