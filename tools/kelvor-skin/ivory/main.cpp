// Paints the pictures of the "Ivory" skin that comes with the game: ivory
// faces with round dark pips and a brass pin, and two backs, walnut and
// jade. Writes them as PNG files with skin.txt into the folder given, for
// kelvor-skin to build into a library during the build.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr int Width = 30;
constexpr int Height = 60;

QRgb mix(QRgb a, QRgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return qRgb(qRound(qRed(a) + (qRed(b) - qRed(a)) * t), qRound(qGreen(a) + (qGreen(b) - qGreen(a)) * t),
                qRound(qBlue(a) + (qBlue(b) - qBlue(a)) * t));
}

// How far inside a rounded rectangle (x, y) lies: negative outside.
double insideRounded(double x, double y, double left, double top, double right, double bottom, double radius)
{
    const double cx = std::clamp(x, left + radius, right - radius);
    const double cy = std::clamp(y, top + radius, bottom - radius);
    return radius - std::hypot(x - cx, y - cy);
}

// Pip centres of a half for 0 to 6, on a 3 x 3 grid of columns 7.5, 15, 22.5.
constexpr std::array<const char *, 7> Layouts = {
    ".........", "....#....", "#.......#", "#...#...#", "#.#...#.#", "#.#.#.#.#", "#.##.##.#",
};

QImage face(int upper, int lower)
{
    const QRgb edge = qRgb(60, 44, 30), ivory = qRgb(250, 242, 222), shade = qRgb(222, 208, 178),
               pip = qRgb(40, 28, 22), brass = qRgb(196, 150, 60);
    QImage image(Width, Height, QImage::Format_RGB32);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double depth = insideRounded(px, py, 0, 0, Width, Height, 5);
            QRgb colour = edge;
            if (depth > 1.2) {
                // Light from the top left.
                colour = mix(ivory, shade, (px / Width + py / Height) / 2.0);
                if (depth < 2.4)
                    colour = mix(colour, edge, 0.35);
            }
            if (y == 29 || y == 30)
                colour = x >= 3 && x < Width - 3 ? mix(colour, edge, 0.7) : colour;
            if (std::hypot(px - 15, py - 30) < 2.2)
                colour = brass;
            for (int half = 0; half < 2; ++half) {
                const char *layout = Layouts[half == 0 ? upper : lower];
                for (int cell = 0; cell < 9; ++cell) {
                    if (layout[cell] != '#')
                        continue;
                    const double cx = 7.5 + 7.5 * (cell % 3), cy = 7 + 8 * (cell / 3) + 30 * half;
                    const double d = std::hypot(px - cx, py - cy);
                    if (d < 3.0)
                        colour = mix(pip, colour, std::max(0.0, d - 2.3) / 0.7);
                }
            }
            image.setPixel(x, y, colour);
        }
    return image;
}

// Walnut: bands of grain that wave along the tile.
QImage walnut()
{
    QImage image(Width, Height, QImage::Format_RGB32);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const double grain = qSin(x * 0.9 + 2.2 * qSin(y * 0.11) + 0.6 * qSin(y * 0.43));
            QRgb colour = mix(qRgb(92, 56, 32), qRgb(140, 94, 56), (grain + 1) / 2);
            const double depth = insideRounded(x + 0.5, y + 0.5, 0, 0, Width, Height, 5);
            if (depth <= 1.2)
                colour = qRgb(40, 24, 14);
            else if (depth < 2.4)
                colour = qRgb(200, 160, 90);
            image.setPixel(x, y, colour);
        }
    return image;
}

// Jade: a green stone with a carved ring in the middle.
QImage jade()
{
    QImage image(Width, Height, QImage::Format_RGB32);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const double cloud = (qSin(x * 0.37 + y * 0.21) + qSin(y * 0.29 - x * 0.17) + 2) / 4;
            QRgb colour = mix(qRgb(30, 110, 80), qRgb(120, 190, 150), cloud);
            const double r = std::hypot(x + 0.5 - 15, y + 0.5 - 30);
            if (r > 7 && r < 10)
                colour = mix(colour, qRgb(230, 250, 235), 0.55);
            const double depth = insideRounded(x + 0.5, y + 0.5, 0, 0, Width, Height, 5);
            if (depth <= 1.2)
                colour = qRgb(14, 50, 36);
            image.setPixel(x, y, colour);
        }
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path()))
        return 1;
    bool ok = true;
    for (int a = 0; a <= 6; ++a)
        for (int b = a; b <= 6; ++b)
            ok &= face(a, b).save(dir.filePath(QStringLiteral("%1%2bmp.png").arg(a).arg(b)));
    ok &= walnut().save(dir.filePath(QStringLiteral("back001.png")));
    ok &= jade().save(dir.filePath(QStringLiteral("back002.png")));
    QFile text(dir.filePath(QStringLiteral("skin.txt")));
    ok &= text.open(QIODevice::WriteOnly | QIODevice::Truncate);
    text.write("author: Brindlewick, for Kelvor\n"
               "description: Ivory dominoes with a brass pin\n"
               "back 1: Walnut\n"
               "back 2: Jade\n");
    return ok ? 0 : 1;
}
