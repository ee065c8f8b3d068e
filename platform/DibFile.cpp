#include "platform/DibFile.h"

#include <QBuffer>
#include <QIODevice>
#include <QImageReader>
#include <QtEndian>

#include <array>
#include <bit>
#include <limits>

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

// Masks of the uncompressed 16- and 32-bit kinds: 5-5-5, and 8-8-8 with
// the fourth byte unused.
constexpr quint32 Rgb555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr quint32 Rgb888[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
// Where the bit-field masks stand: right after the 40 bytes of the info
// header, inside the later headers and after the plain one alike.
constexpr qsizetype MasksAt = 40;

// One colour channel of a 16- or 32-bit pixel, widened to 8 bits as Windows
// draws it: the field's bits repeated from the top (5 bits 11110 give
// 11110111, 247, and full intensity stays 255); a field wider than 8 bits
// keeps its top 8.
class Channel
{
public:
    explicit Channel(quint32 mask)
        : m_mask(mask), m_shift(mask ? std::countr_zero(mask) : 0), m_bits(std::bit_width(mask >> m_shift))
    {
    }

    int operator()(quint32 pixel) const
    {
        const quint32 value = (pixel & m_mask) >> m_shift;
        if (m_bits == 0)
            return 0;
        if (m_bits >= 8)
            return int(value >> (m_bits - 8));
        quint32 wide = 0;
        int filled = 0;
        for (; filled < 8; filled += m_bits)
            wide = wide << m_bits | value;
        return int(wide >> (filled - 8));
    }

private:
    quint32 m_mask;
    int m_shift;
    int m_bits;
};

// The red, green and blue fields of a 16- or 32-bit DIB: its bit fields,
// or the standard 5-5-5 and 8-8-8 ones.
std::array<Channel, 3> channelsOf(QByteArrayView dib, const DibFile::Header &header)
{
    const quint32 *defaults = header.bits == 16 ? Rgb555 : Rgb888;
    quint32 masks[3] = {defaults[0], defaults[1], defaults[2]};
    if (header.compression == BitFields)
        for (int i = 0; i < 3; ++i)
            masks[i] = u32(dib, MasksAt + 4 * i);
    return {Channel(masks[0]), Channel(masks[1]), Channel(masks[2])};
}

// A 16- or 32-bit DIB, uncompressed or with bit fields. Qt's reader widens
// 16-bit fields by a shift (white comes out 248, 252, 248) and takes the
// fourth byte of a V4 or V5 bitmap for alpha (a bitmap whose fourth bytes
// are 0 comes out transparent); Windows does neither when it draws a
// bitmap, so these kinds are decoded here.
QImage decodeDirect(QByteArrayView dib, const DibFile::Header &header)
{
    const std::array<Channel, 3> channels = channelsOf(dib, header);
    const Channel &red = channels[0], &green = channels[1], &blue = channels[2];

    const int height = qAbs(header.height);
    QImage image(header.width, height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const qsizetype stride = (qsizetype(header.width) * header.bits + 31) / 32 * 4;
    for (int row = 0; row < height; ++row) {
        const int y = header.height < 0 ? row : height - 1 - row;
        const qsizetype at = header.pixelOffset + row * stride;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < header.width; ++x) {
            const quint32 pixel = header.bits == 16 ? u16(dib, at + 2 * x) : u32(dib, at + 4 * x);
            line[x] = qRgb(red(pixel), green(pixel), blue(pixel));
        }
    }
    return image;
}

// The colour table of an RLE bitmap (always an info header or a later one),
// as long as its depth allows: entries past the stated table are black.
QList<QRgb> colourTable(QByteArrayView dib, const DibFile::Header &header)
{
    const qsizetype entries = qsizetype(1) << header.bits;
    const qsizetype at = u32(dib, 0);
    QList<QRgb> table(entries, qRgb(0, 0, 0));
    for (qsizetype i = 0; i < qMin(qsizetype(header.colours), entries); ++i)
        table[i] = qRgb(quint8(dib[at + 4 * i + 2]), quint8(dib[at + 4 * i + 1]), quint8(dib[at + 4 * i]));
    return table;
}

// An RLE4 or RLE8 bitmap, bottom-up, as runs of two bytes: a count and a
// colour (RLE4: two colours in turn), or 0 and an escape: 0 end of line, 1
// end of bitmap, 2 a move right and up by the next two bytes, and 3 to 255
// that many pixels given one by one, padded to a whole 16-bit word. Qt's
// reader leaves the pixels that a move or an early end skips as its memory
// happened to be; here they are colour 0, as in the zeroed bitmap Windows
// decodes into, and runs past the right edge are cut there.
QImage decodeRle(QByteArrayView dib, const DibFile::Header &header)
{
    const bool four = header.compression == Rle4;
    const int width = header.width, height = header.height;
    QImage image(width, height, QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    image.setColorTable(colourTable(dib, header));
    image.fill(0);
    qint64 x = 0, row = 0; // rows count from the bottom
    const auto put = [&](int index) {
        if (x < width)
            image.scanLine(height - 1 - int(row))[x] = uchar(index);
        ++x;
    };
    qint64 at = header.pixelOffset;
    while (at + 2 <= dib.size() && row < height) {
        const int count = quint8(dib[at]), second = quint8(dib[at + 1]);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < width; ++i)
                put(four ? (i % 2 == 0 ? second >> 4 : second & 0x0F) : second);
            continue;
        }
        if (second == 0) { // end of line
            x = 0;
            ++row;
        } else if (second == 1) { // end of bitmap
            break;
        } else if (second == 2) { // a move
            if (at + 2 > dib.size())
                break;
            x += quint8(dib[at]);
            row += quint8(dib[at + 1]);
            at += 2;
        } else { // pixels one by one
            const qint64 bytes = four ? (second + 1) / 2 : second;
            for (int i = 0; i < second && x < width; ++i) {
                const qint64 byteAt = at + (four ? i / 2 : i);
                if (byteAt >= dib.size())
                    break;
                const int byte = quint8(dib[byteAt]);
                put(four ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
            }
            at += (bytes + 1) / 2 * 2;
        }
    }
    return image;
}

// Whether the pixels start within the DIB and, uncompressed, all its rows
// (each padded to a whole 32-bit word) are there.
bool pixelsFit(qint64 dibSize, const DibFile::Header &header)
{
    if (header.pixelOffset > dibSize)
        return false;
    if (header.compression != Rgb && header.compression != BitFields)
        return true;
    const qint64 stride = (qint64(header.width) * header.bits + 31) / 32 * 4;
    return qAbs(header.height) <= (dibSize - header.pixelOffset) / stride;
}

// The .bmp file holding the DIB whose pixels start where `header` says.
QByteArray fileOf(QByteArrayView dib, const DibFile::Header &header)
{
    const qint64 fileSize = FileHeaderSize + dib.size();
    if (fileSize > std::numeric_limits<qint32>::max())
        return {};
    QByteArray file(FileHeaderSize, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(fileSize), file.data() + 2);
    qToLittleEndian<quint32>(quint32(FileHeaderSize + header.pixelOffset), file.data() + 10);
    file.append(dib.data(), dib.size());
    return file;
}

QImage decodeAt(QByteArrayView dib, const DibFile::Header &header)
{
    if (header.bits == 16 || header.bits == 32)
        return decodeDirect(dib, header);
    if (header.compression == Rle4 || header.compression == Rle8)
        return decodeRle(dib, header);
    QByteArray file = fileOf(dib, header);
    if (file.isEmpty())
        return {};
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoTransform(false);
    QImage image = reader.read();
    // A colour table shorter than the depth allows: the colours past it are
    // black, so that every index a pixel may hold has a colour.
    const int most = image.format() == QImage::Format_Indexed8 ? 256
                     : image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB ? 2
                                                                                                         : 0;
    if (image.colorCount() < most) {
        QList<QRgb> table = image.colorTable();
        table.resize(most, qRgb(0, 0, 0));
        image.setColorTable(table);
    }
    return image;
}

std::optional<DibFile::Header> parseHeader(QByteArrayView dib, qint64 dibSize, int maxSide, bool *tooBig);

} // namespace

std::optional<DibFile::Header> DibFile::header(QByteArrayView dib, int maxSide)
{
    return parseHeader(dib, dib.size(), maxSide, nullptr);
}

namespace {

// The header of a DIB of `dibSize` bytes whose first bytes are `dib` (its
// header, masks and colour table at least). `tooBig` tells a header that
// is refused only for its sides.
std::optional<DibFile::Header> parseHeader(QByteArrayView dib, qint64 dibSize, int maxSide, bool *tooBig)
{
    if (tooBig)
        *tooBig = false;
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
    if (width <= 0 || height == 0)
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
    // Sides checked against the limit only after the rest, so that a bitmap
    // refused for its size alone is told from one that is none.
    const qint64 side = std::numeric_limits<qint32>::max();
    DibFile::Header parsed{int(qMin(width, side)), int(qBound(-side, height, side)), bits, compression, pixelsAt,
                           int(colours)};
    if (!pixelsFit(dibSize, parsed))
        return {};
    if (width > maxSide || height < -maxSide || height > maxSide) {
        if (tooBig)
            *tooBig = true;
        return {};
    }
    return parsed;
}

} // namespace

qint64 DibFile::extent(QByteArrayView dib)
{
    const auto parsed = header(dib);
    if (!parsed)
        return 0;
    if (parsed->compression == Rgb || parsed->compression == BitFields)
        return parsed->pixelOffset + (qint64(parsed->width) * parsed->bits + 31) / 32 * 4 * qAbs(parsed->height);
    // Runs of two bytes: a count and a colour, or 0 and an escape: end of
    // line, end of bitmap, a move of two more bytes, or that many pixels
    // given one by one, padded to a whole 16-bit word.
    qint64 at = parsed->pixelOffset;
    while (at + 2 <= dib.size()) {
        const quint8 count = quint8(dib[at]), escape = quint8(dib[at + 1]);
        at += 2;
        if (count != 0 || escape == 0)
            continue;
        if (escape == 1)
            return at;
        if (escape == 2) {
            at += 2;
            continue;
        }
        const qint64 bytes = parsed->compression == Rle8 ? escape : (escape + 1) / 2;
        at += (bytes + 1) / 2 * 2;
    }
    return dib.size();
}

QByteArray DibFile::withFileHeader(QByteArrayView dib)
{
    const auto parsed = header(dib);
    return parsed ? fileOf(dib, *parsed) : QByteArray();
}

QImage DibFile::decode(QByteArrayView dib, int maxSide)
{
    const auto parsed = header(dib, maxSide);
    return parsed ? decodeAt(dib, *parsed) : QImage();
}

QImage DibFile::decodeFile(QByteArrayView file, int maxSide)
{
    QByteArray bytes = file.toByteArray();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readFilePart(buffer, maxSide, [](QSize size) { return QRect(QPoint(0, 0), size); }).image;
}

namespace {

// A file's bytes read forward through a window of them, as a compressed
// picture is streamed: never more than the window is held.
class ByteStream
{
public:
    explicit ByteStream(QIODevice &file) : m_file(file) {}

    // The byte at `position`, or -1 past the end of the file.
    int at(qint64 position)
    {
        if (position < m_start || position >= m_start + m_window.size()) {
            if (position >= m_file.size() || !m_file.seek(position))
                return -1;
            m_window = m_file.read(Window);
            m_start = position;
            if (m_window.isEmpty())
                return -1;
        }
        return quint8(m_window[position - m_start]);
    }

private:
    static constexpr qint64 Window = 64 * 1024;
    QIODevice &m_file;
    QByteArray m_window;
    qint64 m_start = 0;
};

// The colours of a picture with a colour table, as long as its depth allows:
// entries past the stated table are black.
QList<QRgb> paletteOf(QByteArrayView dib, const DibFile::Header &header)
{
    QList<QRgb> table(qsizetype(1) << header.bits, qRgb(0, 0, 0));
    const qsizetype at = u32(dib, 0);
    const qsizetype entry = u32(dib, 0) == CoreHeader ? 3 : 4;
    for (qsizetype i = 0; i < qMin<qsizetype>(header.colours, table.size()); ++i)
        table[i] = qRgb(quint8(dib[at + entry * i + 2]), quint8(dib[at + entry * i + 1]), quint8(dib[at + entry * i]));
    return table;
}

// The rows and columns of `part` from an uncompressed picture, each row
// read on its own where the file holds it.
bool readRows(QIODevice &file, qint64 pixelsAt, QByteArrayView dib, const DibFile::Header &header, QRect part,
              QImage &image)
{
    const QList<QRgb> palette = header.bits <= 8 ? paletteOf(dib, header) : QList<QRgb>();
    const std::array<Channel, 3> channels = channelsOf(dib, header);
    const Channel &red = channels[0], &green = channels[1], &blue = channels[2];

    const int height = qAbs(header.height);
    const qint64 stride = (qint64(header.width) * header.bits + 31) / 32 * 4;
    const qint64 firstByte = qint64(part.left()) * header.bits / 8;
    const qint64 endByte = (qint64(part.right() + 1) * header.bits + 7) / 8;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const int row = header.height < 0 ? y : height - 1 - y;
        if (!file.seek(pixelsAt + row * stride + firstByte))
            return false;
        const QByteArray bytes = file.read(endByte - firstByte);
        if (bytes.size() != endByte - firstByte)
            return false;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y - part.top()));
        for (int x = part.left(); x <= part.right(); ++x) {
            const qint64 bit = qint64(x) * header.bits - firstByte * 8;
            const auto byte = [&](qint64 i) { return quint32(quint8(bytes[i])); };
            switch (header.bits) {
            case 1:
                line[x - part.left()] = palette[(byte(bit / 8) >> (7 - bit % 8)) & 1];
                break;
            case 4:
                line[x - part.left()] = palette[(byte(bit / 8) >> (bit % 8 == 0 ? 4 : 0)) & 0x0F];
                break;
            case 8:
                line[x - part.left()] = palette[byte(bit / 8)];
                break;
            case 24:
                line[x - part.left()] = qRgb(byte(bit / 8 + 2), byte(bit / 8 + 1), byte(bit / 8));
                break;
            default: {
                const qint64 i = bit / 8;
                const quint32 pixel = header.bits == 16 ? byte(i) | byte(i + 1) << 8
                                                        : byte(i) | byte(i + 1) << 8 | byte(i + 2) << 16 | byte(i + 3) << 24;
                line[x - part.left()] = qRgb(red(pixel), green(pixel), blue(pixel));
            }
            }
        }
    }
    return true;
}

// The pixels of `part` from an RLE4 or RLE8 picture, streamed through once
// with the runs decodeRle() reads: only the part is kept.
void readRuns(QIODevice &file, qint64 pixelsAt, QByteArrayView dib, const DibFile::Header &header, QRect part,
              QImage &image)
{
    const QList<QRgb> palette = paletteOf(dib, header);
    image.fill(palette[0]);
    const bool four = header.compression == Rle4;
    const qint64 width = header.width, height = header.height;
    ByteStream stream(file);
    qint64 x = 0, row = 0; // rows count from the bottom
    // Whether the current row shows, and the pixel at x given by index.
    const auto rowShows = [&] {
        const qint64 y = height - 1 - row;
        return y >= part.top() && y <= part.bottom();
    };
    const auto put = [&](int index) {
        if (x >= part.left() && x <= part.right())
            image.setPixel(int(x - part.left()), int(height - 1 - row - part.top()), palette[index]);
        ++x;
    };
    qint64 at = pixelsAt;
    while (row < height) {
        const int count = stream.at(at), second = stream.at(at + 1);
        if (count < 0 || second < 0)
            break;
        at += 2;
        if (count > 0) {
            if (!rowShows() || x >= width) {
                x = qMin(width, x + count);
                continue;
            }
            for (int i = 0; i < count && x < width; ++i)
                put(four ? (i % 2 == 0 ? second >> 4 : second & 0x0F) : second);
            continue;
        }
        if (second == 0) {
            x = 0;
            ++row;
        } else if (second == 1) {
            break;
        } else if (second == 2) {
            const int right = stream.at(at), up = stream.at(at + 1);
            if (right < 0 || up < 0)
                break;
            x += right;
            row += up;
            at += 2;
        } else {
            const qint64 bytes = four ? (second + 1) / 2 : second;
            const bool shows = rowShows();
            for (int i = 0; i < second && x < width; ++i) {
                if (!shows) {
                    // Only the end of the file matters where nothing shows.
                    if (stream.at(at + (four ? i / 2 : i)) < 0)
                        break;
                    ++x;
                    continue;
                }
                const int byte = stream.at(at + (four ? i / 2 : i));
                if (byte < 0)
                    break;
                put(four ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
            }
            at += (bytes + 1) / 2 * 2;
        }
    }
}

} // namespace

DibFile::FilePart DibFile::readFilePart(QIODevice &file, int maxSide, const std::function<QRect(QSize)> &shown)
{
    FilePart result;
    if (!file.seek(0))
        return result;
    // The file header, then the DIB's headers, masks and colour table, which
    // together never pass the biggest header, three masks and 256 colours.
    const QByteArray head = file.read(FileHeaderSize + V5Header + 12 + 256 * 4);
    if (head.size() < FileHeaderSize || head[0] != 'B' || head[1] != 'M')
        return result;
    const QByteArrayView dib = QByteArrayView(head).sliced(FileHeaderSize);
    const qint64 dibSize = file.size() - FileHeaderSize;
    bool tooBig = false;
    auto parsed = parseHeader(dib, dibSize, maxSide, &tooBig);
    if (!parsed) {
        result.found = tooBig ? Found::TooBig : Found::NotBitmap;
        return result;
    }
    // As decodeFile(): the pixels where the file header says, when it says.
    const qint64 offset = u32(head, 10);
    if (offset != 0) {
        if (offset - FileHeaderSize < parsed->pixelOffset)
            return result;
        parsed->pixelOffset = offset - FileHeaderSize;
        if (!pixelsFit(dibSize, *parsed))
            return result;
    }
    const QSize size(parsed->width, qAbs(parsed->height));
    const QRect part = shown(size) & QRect(QPoint(0, 0), size);
    QImage image(part.size(), QImage::Format_RGB32);
    if (part.isEmpty() || image.isNull())
        return result;
    const qint64 pixelsAt = FileHeaderSize + parsed->pixelOffset;
    if (parsed->compression == Rle4 || parsed->compression == Rle8)
        readRuns(file, pixelsAt, dib, *parsed, part, image);
    else if (!readRows(file, pixelsAt, dib, *parsed, part, image))
        return result;
    result.found = Found::Picture;
    result.size = size;
    result.image = image;
    return result;
}
