#include "platform/DibFile.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace {

constexpr qint64 FileHeaderSize = 14;

// Header sizes: the core header of the oldest bitmaps, the info header and
// its two later extensions that carry the masks, V4 and V5.
constexpr quint32 CoreHeader = 12;
constexpr quint32 InfoHeader = 40;
constexpr quint32 InfoHeaderV2 = 52; // with red, green and blue masks
constexpr quint32 InfoHeaderV3 = 56; // and an alpha mask
constexpr quint32 V4Header = 108;
constexpr quint32 V5Header = 124;

// Compressions.
constexpr quint32 Rgb = 0;
constexpr quint32 Rle8 = 1;
constexpr quint32 Rle4 = 2;
constexpr quint32 BitFields = 3;

quint16 u16(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.data() + at);
}

quint32 u32(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

bool depthExists(quint16 bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool compressionFits(quint32 compression, quint16 bits)
{
    switch (compression) {
    case Rgb:
        return true;
    case Rle8:
        return bits == 8;
    case Rle4:
        return bits == 4;
    case BitFields:
        return bits == 16 || bits == 32;
    default:
        return false; // JPEG, PNG and the rest are no skin pictures
    }
}

} // namespace

QByteArray DibFile::withFileHeader(QByteArrayView dib)
{
    if (dib.size() < 4)
        return {};
    const quint32 headerSize = u32(dib, 0);
    qint64 tableEntry = 4; // bytes per colour table entry
    qint64 width = 0, height = 0;
    quint16 bits = 0;
    quint32 compression = Rgb, colorsUsed = 0;
    qint64 masks = 0; // bytes of masks that follow the header

    if (headerSize == CoreHeader) {
        if (dib.size() < CoreHeader)
            return {};
        width = u16(dib, 4);
        height = u16(dib, 6);
        bits = u16(dib, 10);
        tableEntry = 3;
    } else if (headerSize == InfoHeader || headerSize == InfoHeaderV2 || headerSize == InfoHeaderV3
               || headerSize == V4Header || headerSize == V5Header) {
        if (dib.size() < headerSize)
            return {};
        width = qint32(u32(dib, 4));
        height = qint32(u32(dib, 8));
        bits = u16(dib, 14);
        compression = u32(dib, 16);
        colorsUsed = u32(dib, 32);
        // Only the plain info header keeps its masks after itself.
        if (headerSize == InfoHeader && compression == BitFields)
            masks = 12;
    } else {
        return {};
    }

    if (!depthExists(bits) || !compressionFits(compression, bits))
        return {};
    if (width <= 0 || width > MaxSide || height == 0 || height < -MaxSide || height > MaxSide)
        return {};
    // A compressed bitmap is always stored bottom-up.
    if (height < 0 && (compression == Rle4 || compression == Rle8))
        return {};

    qint64 colours = 0;
    if (bits <= 8) {
        const qint64 most = qint64(1) << bits;
        if (colorsUsed > most)
            return {};
        colours = colorsUsed != 0 && headerSize != CoreHeader ? colorsUsed : most;
    } else if (colorsUsed != 0) {
        // Deeper bitmaps may carry a table for palette devices; it still
        // stands between the header and the pixels.
        if (colorsUsed > 256)
            return {};
        colours = colorsUsed;
    }

    const qint64 pixelsAt = qint64(headerSize) + masks + colours * tableEntry;
    if (pixelsAt > dib.size())
        return {};
    const qint64 fileSize = FileHeaderSize + dib.size();
    if (fileSize > std::numeric_limits<qint32>::max())
        return {};

    QByteArray file(FileHeaderSize, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(fileSize), file.data() + 2);
    qToLittleEndian<quint32>(quint32(FileHeaderSize + pixelsAt), file.data() + 10);
    file.append(dib.data(), dib.size());
    return file;
}

QImage DibFile::decode(QByteArrayView dib)
{
    QByteArray file = withFileHeader(dib);
    if (file.isEmpty())
        return {};
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoTransform(false);
    QImage image = reader.read();
    return image;
}
