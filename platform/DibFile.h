#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include <functional>
#include <optional>

class QIODevice;

// A bitmap resource is a device-independent bitmap without the file header
// that a .bmp file starts with. DibFile puts the header back, pointing at the
// pixels past the info header, the bit-field masks and the colour table as
// the DIB really has them, so that Qt's BMP reader decodes every kind a skin
// author's tools write: 1, 4, 8, 16, 24 and 32 bits per pixel, colour tables
// shorter than the depth allows, RLE4 and RLE8, bit fields, bottom-up and
// top-down, and the core, info, V4 and V5 headers. 16- and 32-bit pixels and
// RLE runs are decoded here, as Windows draws them: each 16-bit field
// widened to 8 bits by repeating its top bits, the fourth byte of a 32-bit
// pixel never taken for alpha, and the pixels an RLE bitmap skips given
// colour 0 instead of being left as holes or as whatever memory held.
class DibFile
{
public:
    // Pictures larger than this each way are not skin pictures; refusing them
    // keeps a damaged header from asking for a huge image.
    static constexpr int MaxSide = 1024;

    // What a DIB's header says.
    struct Header
    {
        int width = 0;
        int height = 0; // negative for a top-down bitmap
        int bits = 0;
        quint32 compression = 0;
        qint64 pixelOffset = 0; // from the DIB's start
        int colours = 0;        // entries of its colour table
    };
    // The header of a DIB that withFileHeader accepts, with sides of at most
    // maxSide pixels; nothing otherwise.
    static std::optional<Header> header(QByteArrayView dib, int maxSide = MaxSide);

    // The bytes of a .bmp file holding the DIB, or empty when the DIB's
    // header is not one of a bitmap (unknown header size or compression, a
    // depth that does not exist, a colour table past the end of the data,
    // uncompressed pixels cut short, a size over MaxSide).
    static QByteArray withFileHeader(QByteArrayView dib);
    // How many of the DIB's bytes the picture uses, from its header to its
    // last row or to the end of its compressed runs; 0 when the DIB cannot
    // be decoded. Bytes past that are no part of the picture.
    static qint64 extent(QByteArrayView dib);
    // The picture, or a null image when the DIB cannot be decoded.
    static QImage decode(QByteArrayView dib, int maxSide = MaxSide);
    // The picture of a .bmp file ("BM", the file header, a DIB), drawn as a
    // skin's pictures are. Its pixels start where the file header says, as
    // Windows reads a bitmap file; an offset of 0 means right after the
    // colour table, and one that points into the headers or the colour
    // table, or leaves the pixels cut short, makes no picture.
    static QImage decodeFile(QByteArrayView file, int maxSide);

    // What reading a .bmp file found: its picture, a file that is no bitmap,
    // or a bitmap wider or higher than maxSide pixels.
    enum class Found { Picture, NotBitmap, TooBig };
    struct FilePart
    {
        Found found = Found::NotBitmap;
        QSize size;   // the whole picture's
        QImage image; // the part asked for, RGB32
    };
    // The part of a .bmp file's picture that `shown` gives for the whole
    // picture's size (in the picture's pixels from its top-left corner),
    // drawn as decodeFile() draws it. The file is read from `file` as it is
    // needed and never held whole: an uncompressed picture is read row by
    // row and only where the part lies, a compressed one streamed through
    // once. Time and memory go by the part's size (and, compressed, by the
    // file's), never by what the header claims.
    static FilePart readFilePart(QIODevice &file, int maxSide, const std::function<QRect(QSize)> &shown);
};
