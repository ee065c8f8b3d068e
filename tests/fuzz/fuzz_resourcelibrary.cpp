// Fuzzes the skin library reader with any bytes as a file. Bytes that start
// like a bitmap file ("BM") are read as a wallpaper; bytes that start like a
// PE file ("MZ") are opened as a library: every bitmap is decoded and
// every string read. Any other bytes are taken as a bitmap resource and go
// through the DIB completion and the decoders, and cut to the bytes the
// picture uses, which must give the same picture.

#include "FuzzLength.h"
#include "platform/DibFile.h"
#include "platform/ResourceLibrary.h"
#include "settings/Wallpaper.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void checkPicture(const QImage &image)
{
    if (image.isNull())
        return;
    require(image.width() <= DibFile::MaxSide && image.height() <= DibFile::MaxSide,
            "a picture larger than a DIB may be");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Skins and wallpapers, the bigger of what the game reads of each.
    fuzzUpTo(argc, argv, std::max(ResourceLibrary::MaxFileSize, Wallpaper::MaxFileSize));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (bytes.startsWith("BM")) {
        // A wallpaper file, read whole and in a part, from memory as from a
        // file: the part is that of the whole, and a skin's decoder draws the
        // bitmap alike.
        const QImage picture = DibFile::decodeFile(bytes, 8192);
        require(picture.isNull() || (picture.width() <= 8192 && picture.height() <= 8192),
                "a wallpaper larger than it may be");
        QByteArray copy = bytes;
        QBuffer file(&copy);
        file.open(QIODevice::ReadOnly);
        QRect asked;
        const DibFile::FilePart part = DibFile::readFilePart(file, 8192, [&](QSize size) {
            asked = QRect(size.width() / 3, size.height() / 2, 7, 5);
            return asked;
        });
        require(part.image.isNull() == picture.isNull(), "a part of a picture that is none, or none of one");
        if (!picture.isNull())
            require(part.image == picture.copy(asked & picture.rect()), "a part unlike the whole");
        if (picture.isNull())
            return 0;
        const QByteArrayView dib = QByteArrayView(bytes).sliced(14);
        const auto header = DibFile::header(dib);
        if (header && qFromLittleEndian<quint32>(bytes.constData() + 10) == 14 + header->pixelOffset) {
            const QImage skin = DibFile::decode(dib);
            require(skin.isNull() || skin.convertToFormat(QImage::Format_RGB32) == picture,
                    "a wallpaper drawn otherwise than a skin's picture");
        }
        return 0;
    }
    if (!bytes.startsWith("MZ")) {
        const QByteArray file = DibFile::withFileHeader(bytes);
        require(file.isEmpty() || file.size() == bytes.size() + 14, "a file header of the wrong size");
        const QImage picture = DibFile::decode(bytes);
        checkPicture(picture);
        // kelvor-skin extract keeps only the bytes the picture uses: they
        // must give the same picture.
        const qint64 extent = DibFile::extent(bytes);
        require(extent >= 0 && extent <= bytes.size(), "an extent outside the bitmap");
        require((extent == 0) == !DibFile::header(bytes), "an extent for a bitmap that is none, or none for one");
        if (extent > 0)
            require(DibFile::decode(QByteArrayView(bytes).first(extent)) == picture, "the extent cuts the picture");
        return 0;
    }
    const auto library = ResourceLibrary::fromBytes(bytes);
    if (!library)
        return 0;
    for (const QString &name : library->bitmapNames()) {
        checkPicture(library->bitmap(name));
    }
    for (const int id : library->stringIds())
        require(library->string(id).size() <= 254, "a string longer than 254 characters");
    library->string(0);
    library->string(65535);
    return 0;
}
