#include "SkinDlls.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <QtTest>

namespace SkinDlls {

namespace {

const QRgb Colours[5] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

int colourAt(int x, int y, int colours)
{
    return (x / 4 + y / 6 + (y % 3 == 0 ? 1 : 0)) % colours;
}

void put16(QByteArray &out, quint32 v)
{
    out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void put32(QByteArray &out, quint32 v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Channel masks written for the bit-field kinds: 5-6-5 for 16 bits, and for
// 32 bits an order no default would guess.
struct Masks
{
    quint32 red, green, blue;
};
Masks masksFor(int bits)
{
    return bits == 16 ? Masks{0xF800, 0x07E0, 0x001F} : Masks{0xFF000000, 0x00FF0000, 0x0000FF00};
}

quint32 packed(QRgb c, const BmpKind &kind)
{
    if (kind.compression == 3) {
        const Masks m = masksFor(kind.bits);
        const auto scale = [](int value, quint32 mask) {
            const int shift = std::countr_zero(mask);
            const quint32 max = mask >> shift;
            return (quint32(value) * max / 255) << shift;
        };
        return scale(qRed(c), m.red) | scale(qGreen(c), m.green) | scale(qBlue(c), m.blue);
    }
    if (kind.bits == 16) // 5-5-5
        return quint32(qRed(c) >> 3) << 10 | quint32(qGreen(c) >> 3) << 5 | quint32(qBlue(c) >> 3);
    return quint32(qRed(c)) << 16 | quint32(qGreen(c)) << 8 | quint32(qBlue(c));
}

QByteArray pixelRows(const BmpKind &kind, const QImage &image, int colours)
{
    QByteArray out;
    const int w = image.width(), h = image.height();
    for (int row = 0; row < h; ++row) {
        const int y = kind.topDown ? row : h - 1 - row;
        if (kind.compression == 1 || kind.compression == 2) {
            // Encoded runs of one colour, then end of line.
            for (int x = 0; x < w;) {
                const int index = colourAt(x, y, colours);
                int run = 1;
                while (x + run < w && run < 255 && colourAt(x + run, y, colours) == index)
                    ++run;
                out.append(char(run)).append(char(kind.compression == 2 ? index << 4 | index : index));
                x += run;
            }
            out.append('\0').append('\0');
            continue;
        }
        QByteArray line;
        if (kind.bits <= 8) {
            quint32 acc = 0;
            int filled = 0;
            for (int x = 0; x < w; ++x) {
                acc = acc << kind.bits | quint32(colourAt(x, y, colours));
                filled += kind.bits;
                if (filled == 8) {
                    line.append(char(acc));
                    acc = 0;
                    filled = 0;
                }
            }
            if (filled)
                line.append(char(acc << (8 - filled)));
        } else {
            for (int x = 0; x < w; ++x) {
                const quint32 v = packed(image.pixel(x, y), kind);
                for (int b = 0; b < kind.bits / 8; ++b)
                    line.append(char((v >> (8 * b)) & 0xFF));
            }
        }
        while (line.size() % 4)
            line.append('\0');
        out += line;
    }
    if (kind.compression == 1 || kind.compression == 2)
        out.append('\0').append('\1');
    return out;
}

} // namespace

const QList<BmpKind> &bmpKinds()
{
    static const QList<BmpKind> kinds = {
        {"1 bit", 40, 1, 0, 0, false},
        {"4 bits, short table", 40, 4, 0, 5, false},
        {"4 bits, RLE", 40, 4, 2, 5, false},
        {"8 bits, short table", 40, 8, 0, 5, false},
        {"8 bits, full table", 40, 8, 0, 0, false},
        {"8 bits, RLE", 40, 8, 1, 5, false},
        {"8 bits, core header", 12, 8, 0, 0, false},
        {"16 bits", 40, 16, 0, 0, false},
        {"16 bits, bit fields", 40, 16, 3, 0, false},
        {"16 bits, V4 header", 108, 16, 3, 0, false},
        {"24 bits, top-down", 40, 24, 0, 0, true},
        {"24 bits, with a table", 40, 24, 0, 5, false},
        {"32 bits", 40, 32, 0, 0, false},
        {"32 bits, V5 header", 124, 32, 3, 0, true},
    };
    return kinds;
}

QImage pattern(int colours)
{
    QImage image(30, 60, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, Colours[colourAt(x, y, colours)]);
    return image;
}

QByteArray bmpFile(const BmpKind &kind)
{
    const int colours = kind.bits == 1 ? 2 : 5;
    const QImage image = pattern(colours);
    const bool table = kind.bits <= 8 || kind.colorsUsed > 0;
    const int entries = kind.colorsUsed > 0 ? kind.colorsUsed : kind.bits <= 8 ? 1 << kind.bits : 0;

    QByteArray header;
    put32(header, quint32(kind.headerSize));
    if (kind.headerSize == 12) {
        put16(header, 30);
        put16(header, 60);
        put16(header, 1);
        put16(header, quint16(kind.bits));
    } else {
        put32(header, 30);
        put32(header, quint32(kind.topDown ? -60 : 60));
        put16(header, 1);
        put16(header, quint16(kind.bits));
        put32(header, quint32(kind.compression));
        put32(header, 0); // image size: may be 0 for uncompressed pixels
        put32(header, 2835);
        put32(header, 2835);
        put32(header, quint32(kind.colorsUsed));
        put32(header, 0);
        const Masks m = masksFor(kind.bits);
        if (kind.headerSize > 40) {
            put32(header, kind.compression == 3 ? m.red : 0);
            put32(header, kind.compression == 3 ? m.green : 0);
            put32(header, kind.compression == 3 ? m.blue : 0);
            put32(header, 0); // no alpha
            while (header.size() < kind.headerSize)
                header.append('\0');
        } else if (kind.compression == 3) {
            put32(header, m.red);
            put32(header, m.green);
            put32(header, m.blue);
        }
    }
    if (table)
        for (int i = 0; i < entries; ++i) {
            const QRgb c = Colours[i % 5];
            header.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
            if (kind.headerSize != 12)
                header.append('\0');
        }
    const QByteArray pixels = pixelRows(kind, image, colours);

    QByteArray file("BM");
    put32(file, quint32(14 + header.size() + pixels.size()));
    put32(file, 0);
    put32(file, quint32(14 + header.size()));
    return file + header + pixels;
}

QByteArray buildDll(const QString &folder, const QString &rc, const QString &architecture)
{
    const QDir dir(folder);
    const QString script = dir.filePath("skin.rc"), object = dir.filePath("skin.o"),
                  dll = dir.filePath(architecture + ".dll");
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(rc.toUtf8());
    file.close();
    const auto run = [&](const QString &tool, const QStringList &arguments) {
        QProcess process;
        process.setWorkingDirectory(folder);
        process.start(architecture + "-w64-mingw32-" + tool, arguments);
        const bool ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
                        && process.exitCode() == 0;
        if (!ok)
            qWarning() << tool << process.errorString() << process.readAllStandardError();
        return ok;
    };
    // windres runs the C preprocessor over the script; cpp stands in for a
    // mingw gcc, which the tests do not need.
    if (!run("windres", {"--preprocessor=cpp", script, "-O", "coff", "-o", object})
        || !run("ld", {"-shared", "--entry=0", "-o", dll, object}))
        return {};
    QFile built(dll);
    return built.open(QIODevice::ReadOnly) ? built.readAll() : QByteArray();
}

} // namespace SkinDlls
