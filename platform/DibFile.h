#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

// A bitmap resource is a device-independent bitmap without the file header
// that a .bmp file starts with. DibFile puts the header back, pointing at the
// pixels past the info header, the bit-field masks and the colour table as
// the DIB really has them, so that Qt's BMP reader decodes every kind a skin
// author's tools write: 1, 4, 8, 16, 24 and 32 bits per pixel, colour tables
// shorter than the depth allows, RLE4 and RLE8, bit fields, bottom-up and
// top-down, and the core, info, V4 and V5 headers.
class DibFile
{
public:
    // Pictures larger than this each way are not skin pictures; refusing them
    // keeps a damaged header from asking for a huge image.
    static constexpr int MaxSide = 4096;

    // The bytes of a .bmp file holding the DIB, or empty when the DIB's
    // header is not one of a bitmap (unknown header size or compression, a
    // depth that does not exist, a colour table or pixel offset past the
    // end of the data, a size over MaxSide).
    static QByteArray withFileHeader(QByteArrayView dib);
    // The picture, or a null image when the DIB cannot be decoded.
    static QImage decode(QByteArrayView dib);
};
