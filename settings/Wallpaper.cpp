#include "Wallpaper.h"

#include "platform/DibFile.h"
#include "platform/RegularFile.h"

#include <QFile>

#include <QPainter>

#include <algorithm>

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

Wallpaper::Shown Wallpaper::read(const QString &path, QSize clientSize, Placement placement)
{
    Shown shown;
    QFile file;
    const RegularFile::Outcome opened = RegularFile::open(path, MaxFileSize, file);
    if (opened == RegularFile::Outcome::TooLarge) {
        shown.tooBig = true;
        shown.limit = QStringLiteral("larger than %1 MB").arg(MaxFileSize / (1024 * 1024));
        return shown;
    }
    if (opened != RegularFile::Outcome::Read)
        return shown;
    // Along each side: all of a picture no longer than the board, else the
    // board's length of it, from its middle when centred (where compose()
    // puts the whole picture), from its start when tiled (only the first
    // copy shows).
    const auto along = [&](int length, int board) {
        board = std::max(board, 1); // a board not laid out yet still judges the file
        if (length <= board)
            return std::pair(0, length);
        return std::pair(placement == Placement::Centered ? (length - board) / 2 : 0, board);
    };
    const DibFile::FilePart part = DibFile::readFilePart(file, MaxSide, [&](QSize size) {
        const auto [x, width] = along(size.width(), clientSize.width());
        const auto [y, height] = along(size.height(), clientSize.height());
        return QRect(x, y, width, height);
    });
    if (part.found == DibFile::Found::TooBig) {
        shown.tooBig = true;
        shown.limit = QStringLiteral("wider or higher than %1 pixels").arg(MaxSide);
    }
    shown.picture = part.image;
    return shown;
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
