#include "platform/DibFile.h"

#include <QTest>
#include <QtEndian>

// The pixels of 16- and 32-bit and RLE bitmaps as Windows draws them. Windows widens
// a 5- or 6-bit field by repeating its top bits (5 bits 11110 give 247, full
// white stays 255) and draws a plain bitmap without its fourth byte, which
// may be anything; the expected colours below are those Windows shows.

namespace {

constexpr int Rgb = 0, BitFields = 3;

struct Masks
{
    quint32 red = 0, green = 0, blue = 0, alpha = 0;
};

void put(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// A DIB of `height` rows of `pixels.size() / height` pixels, the rows given
// top first; a negative height stores them top-down.
QByteArray dib(int headerSize, int bits, int compression, Masks masks, const QList<quint32> &pixels, int height = 1)
{
    const int rows = qAbs(height), width = int(pixels.size()) / rows;
    QByteArray out;
    put(out, quint32(headerSize), 4);
    put(out, quint32(width), 4);
    put(out, quint32(height), 4);
    put(out, 1, 2);
    put(out, quint32(bits), 2);
    put(out, quint32(compression), 4);
    out.append(20, '\0'); // image size, resolution, colours used and important
    if (headerSize > 40 || compression == BitFields) {
        put(out, masks.red, 4);
        put(out, masks.green, 4);
        put(out, masks.blue, 4);
        if (headerSize > 40)
            put(out, masks.alpha, 4);
    }
    while (out.size() < headerSize)
        out.append('\0');
    for (int row = 0; row < rows; ++row) {
        const int y = height < 0 ? row : rows - 1 - row;
        QByteArray line;
        for (int x = 0; x < width; ++x)
            put(line, pixels[y * width + x], bits / 8);
        while (line.size() % 4)
            line.append('\0');
        out += line;
    }
    return out;
}

// An 8-bit bitmap, or an RLE one, bottom-up, with its colour table and its
// pixels or runs.
QByteArray indexedDib(int bits, int compression, int width, int height, const QList<QRgb> &table,
                      const QByteArray &runs)
{
    QByteArray out;
    put(out, 40, 4);
    put(out, quint32(width), 4);
    put(out, quint32(height), 4);
    put(out, 1, 2);
    put(out, quint32(bits), 2);
    put(out, quint32(compression), 4);
    put(out, quint32(runs.size()), 4);
    out.append(8, '\0');
    put(out, quint32(table.size()), 4);
    put(out, 0, 4);
    for (const QRgb colour : table)
        put(out, colour & 0xFFFFFF, 4);
    return out + runs;
}

const QRgb Black = qRgb(0, 0, 0), Red = qRgb(255, 0, 0), Green = qRgb(0, 255, 0),
           Blue = qRgb(0, 0, 255);

const Masks Fields565{0xF800, 0x07E0, 0x001F};
const Masks Fields555{0x7C00, 0x03E0, 0x001F};
const Masks Fields888{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};

// A .bmp file of `bitmap`, whose file header says the pixels start at
// `offset` (counted from the file's start), with `gap` bytes between the
// colour table and the pixels.
QByteArray bmpFile(const QByteArray &bitmap, qint64 pixelsAt, quint32 offset, int gap = 0)
{
    QByteArray out("BM");
    put(out, quint32(14 + bitmap.size() + gap), 4);
    put(out, 0, 4);
    put(out, offset, 4);
    return out + bitmap.first(pixelsAt) + QByteArray(gap, '\x7F') + bitmap.sliced(pixelsAt);
}

} // namespace

class DibFileTest : public QObject
{
    Q_OBJECT

private slots:
    void drawsAsWindows_data();
    void drawsAsWindows();
    void readsWallpaperFiles_data();
    void readsWallpaperFiles();
};

void DibFileTest::drawsAsWindows_data()
{
    QTest::addColumn<QByteArray>("bitmap");
    QTest::addColumn<QList<QRgb>>("expected"); // top row first

    // 5-5-5: white, 11110, 10000, 00001 in every field, pure red, and the
    // unused top bit alone.
    const QList<quint32> grey555 = {0x7FFF, 0x7BDE, 0x4210, 0x0421, 0x7C00, 0x8000};
    const QList<QRgb> seen555 = {qRgb(255, 255, 255), qRgb(247, 247, 247), qRgb(132, 132, 132),
                                 qRgb(8, 8, 8),       qRgb(255, 0, 0),     qRgb(0, 0, 0)};
    QTest::newRow("16 bits, plain") << dib(40, 16, Rgb, {}, grey555) << seen555;
    QTest::newRow("16 bits, 5-5-5 fields") << dib(40, 16, BitFields, Fields555, grey555) << seen555;
    QTest::newRow("16 bits, V5 header, plain") << dib(124, 16, Rgb, {}, grey555) << seen555;

    // 5-6-5: white, 11110/111110/11110, 10000/100000/10000, 00001/000001/00001,
    // pure green.
    const QList<quint32> grey565 = {0xFFFF, 0xF7DE, 0x8410, 0x0821, 0x07E0};
    const QList<QRgb> seen565 = {qRgb(255, 255, 255), qRgb(247, 251, 247), qRgb(132, 130, 132), qRgb(8, 4, 8),
                                 qRgb(0, 255, 0)};
    QTest::newRow("16 bits, 5-6-5 fields") << dib(40, 16, BitFields, Fields565, grey565) << seen565;
    QTest::newRow("16 bits, V4 header, 5-6-5") << dib(108, 16, BitFields, Fields565, grey565) << seen565;
    QTest::newRow("16 bits, 5-6-5, top-down, two rows")
        << dib(40, 16, BitFields, Fields565, {0xFFFF, 0xF800, 0x001F, 0x0000}, -2)
        << QList<QRgb>{qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 0, 0)};
    QTest::newRow("16 bits, plain, bottom-up, two rows")
        << dib(40, 16, Rgb, {}, {0x7FFF, 0x7C00, 0x001F, 0x0000}, 2)
        << QList<QRgb>{qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 0, 0)};

    // RLE: runs, pixels one by one (padded to a 16-bit word), end of line,
    // end of bitmap; what a move or an early end skips is black (colour 0 of
    // these tables), not a hole, and a run that passes the right edge is cut
    // there.
    QTest::newRow("RLE8, runs and single pixels")
        << indexedDib(8, 1, 5, 2, {Black, Red, Green, Blue}, QByteArray::fromHex("0201" "000302030100" "0000" "0503" "0001"))
        << QList<QRgb>{Blue, Blue, Blue, Blue, Blue, Red, Red, Green, Blue, Red};
    QTest::newRow("RLE8, a move and an early end")
        << indexedDib(8, 1, 4, 2, {Black, Red, Green}, QByteArray::fromHex("0101" "00020201" "0102" "0001"))
        << QList<QRgb>{Black, Black, Black, Green, Red, Black, Black, Black};
    QTest::newRow("RLE8, a run past the right edge")
        << indexedDib(8, 1, 3, 2, {Black, Red, Green}, QByteArray::fromHex("0501" "0000" "0302" "0001"))
        << QList<QRgb>{Green, Green, Green, Red, Red, Red};
    QTest::newRow("RLE4, two colours in turn, single pixels, an early end of line")
        << indexedDib(4, 2, 5, 2, {Black, Red, Green, Blue}, QByteArray::fromHex("0512" "0000" "00033120" "0001"))
        << QList<QRgb>{Blue, Red, Green, Black, Black, Red, Green, Red, Green, Red};

    // Indexes past a short colour table are black.
    QTest::newRow("8 bits, indexes past the table")
        << indexedDib(8, Rgb, 4, 1, {Red, Green}, QByteArray::fromHex("000105FF"))
        << QList<QRgb>{Red, Green, Black, Black};
    QTest::newRow("RLE8, indexes past the table")
        << indexedDib(8, 1, 3, 1, {Red}, QByteArray::fromHex("0100" "0207" "0001")) << QList<QRgb>{Red, Black, Black};

    // 32 bits: the fourth byte is never drawn, whether 0 or real alpha.
    const QList<quint32> zeroFourth = {0x00FF8040, 0x00000000, 0x00FFFFFF, 0x00102030};
    const QList<QRgb> seen = {qRgb(255, 128, 64), qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(16, 32, 48)};
    QTest::newRow("32 bits, plain, fourth bytes 0") << dib(40, 32, Rgb, {}, zeroFourth) << seen;
    QTest::newRow("32 bits, V4 header, fourth bytes 0") << dib(108, 32, BitFields, Fields888, zeroFourth) << seen;
    QTest::newRow("32 bits, V5 header, plain, fourth bytes 0") << dib(124, 32, Rgb, Fields888, zeroFourth) << seen;
    const QList<quint32> alpha = {0x80FF8040, 0xFF000000, 0x01FFFFFF, 0x40102030};
    QTest::newRow("32 bits, plain, real alpha") << dib(40, 32, Rgb, {}, alpha) << seen;
    QTest::newRow("32 bits, V5 header, real alpha") << dib(124, 32, BitFields, Fields888, alpha) << seen;
    QTest::newRow("32 bits, fields in another order")
        << dib(40, 32, BitFields, {0xFF000000, 0x00FF0000, 0x0000FF00}, {0xFF804000, 0x10203000})
        << QList<QRgb>{qRgb(255, 128, 64), qRgb(16, 32, 48)};
    // Fields wider than 8 bits keep their top 8: 1023, 512 and 1 of 10 bits.
    QTest::newRow("32 bits, 10-10-10 fields")
        << dib(40, 32, BitFields, {0x3FF00000, 0x000FFC00, 0x000003FF}, {0x3FF80001})
        << QList<QRgb>{qRgb(255, 128, 0)};
}

void DibFileTest::drawsAsWindows()
{
    QFETCH(QByteArray, bitmap);
    QFETCH(QList<QRgb>, expected);
    const QImage image = DibFile::decode(bitmap).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!image.isNull());
    // As a wallpaper file, the bitmap draws alike.
    QCOMPARE(DibFile::decodeFile(DibFile::withFileHeader(bitmap), DibFile::MaxSide)
                 .convertToFormat(QImage::Format_ARGB32),
             image);
    const int width = image.width();
    QCOMPARE(image.width() * image.height(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        // Opaque, and exactly the colour Windows shows.
        const QRgb drawn = image.pixel(i % width, i / width);
        QVERIFY2(drawn == expected[i], qPrintable(QString("pixel %1: %2, not %3")
                                                      .arg(i)
                                                      .arg(drawn, 8, 16, QChar('0'))
                                                      .arg(expected[i], 8, 16, QChar('0'))));
    }
}

void DibFileTest::readsWallpaperFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<QRgb>>("expected"); // empty: no picture

    const QByteArray white16 = dib(40, 16, Rgb, {}, {0x7FFF, 0x7C00}); // pixels at 40
    const QList<QRgb> seen16 = {qRgb(255, 255, 255), qRgb(255, 0, 0)};
    const QByteArray indexed = indexedDib(8, Rgb, 4, 1, {Red, Green}, QByteArray::fromHex("00010100")); // at 48
    const QList<QRgb> seenIndexed = {Red, Green, Green, Red};
    const QList<QRgb> none;

    QTest::newRow("16 bits: white stays white") << bmpFile(white16, 40, 54) << seen16;
    QTest::newRow("16 bits, a gap before the pixels") << bmpFile(white16, 40, 58, 4) << seen16;
    QTest::newRow("8 bits, a gap before the pixels") << bmpFile(indexed, 48, 66, 4) << seenIndexed;
    QTest::newRow("8 bits, offset 0: after the table") << bmpFile(indexed, 48, 0) << seenIndexed;
    QTest::newRow("offset into the colour table") << bmpFile(indexed, 48, 58) << none;
    QTest::newRow("offset leaving the rows cut short") << bmpFile(white16, 40, 58) << none;
    QTest::newRow("no BM") << QByteArray("XY" + bmpFile(white16, 40, 54).sliced(2)) << none;
    QTest::newRow("the file header alone") << bmpFile(white16, 40, 54).first(14) << none;
    QTest::newRow("wider than a wallpaper may be")
        << bmpFile(indexedDib(8, 1, 8193, 1, {Red}, QByteArray::fromHex("0001")), 44, 0) << none;
}

void DibFileTest::readsWallpaperFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<QRgb>, expected);
    const QImage image = DibFile::decodeFile(file, 8192).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.isNull(), expected.isEmpty());
    QList<QRgb> drawn;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn.append(image.pixel(x, y));
    QCOMPARE(drawn, expected);
}

QTEST_GUILESS_MAIN(DibFileTest)
#include "tst_platform_dibfile.moc"
