#include "tools/kelvor-skin/DibEncoder.h"

#include <QList>
#include <QtEndian>

namespace {

void put(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray infoHeader(const QImage &image, int bits, int colours, qint64 pixelBytes)
{
    QByteArray header;
    put(header, 40, 4);
    put(header, quint32(image.width()), 4);
    put(header, quint32(image.height()), 4);
    put(header, 1, 2);
    put(header, quint32(bits), 2);
    put(header, 0, 4); // uncompressed
    put(header, quint32(pixelBytes), 4);
    put(header, 2835, 4); // 72 dots per inch
    put(header, 2835, 4);
    put(header, quint32(colours), 4);
    put(header, 0, 4);
    return header;
}

} // namespace

QByteArray DibEncoder::encode(const QImage &picture, Depth depth)
{
    // Transparent pixels lie on white, as a picture viewer shows them.
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = source.pixel(x, y);
                const int a = qAlpha(c);
                const auto over = [a](int channel) { return (channel * a + 255 * (255 - a)) / 255; };
                image.setPixel(x, y, qRgb(over(qRed(c)), over(qGreen(c)), over(qBlue(c))));
            }
    }

    QList<QRgb> colours;
    if (depth == Depth::TwoColoursIfPossible)
        for (int y = 0; y < image.height() && colours.size() <= 2; ++y)
            for (int x = 0; x < image.width() && colours.size() <= 2; ++x)
                if (!colours.contains(image.pixel(x, y)))
                    colours.append(image.pixel(x, y));
    const bool mono = depth == Depth::TwoColoursIfPossible && colours.size() <= 2;

    const int bits = mono ? 1 : 24;
    const qint64 stride = (qint64(image.width()) * bits + 31) / 32 * 4;
    QByteArray pixels(stride * image.height(), '\0');
    if (mono) {
        // The darker colour first, as two-colour faces have always had it.
        while (colours.size() < 2)
            colours.append(colours.isEmpty() ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        if (qGray(colours[0]) > qGray(colours[1]))
            std::swap(colours[0], colours[1]);
    }
    for (int y = 0; y < image.height(); ++y) {
        char *row = pixels.data() + stride * (image.height() - 1 - y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (mono) {
                if (c == colours[1])
                    row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            } else {
                row[3 * x] = char(qBlue(c));
                row[3 * x + 1] = char(qGreen(c));
                row[3 * x + 2] = char(qRed(c));
            }
        }
    }

    QByteArray dib = infoHeader(image, bits, mono ? 2 : 0, pixels.size());
    if (mono)
        for (const QRgb c : colours) {
            dib.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
        }
    return dib + pixels;
}
