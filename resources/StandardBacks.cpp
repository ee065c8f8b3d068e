#include "resources/StandardBacks.h"

#include <QtMath>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int Width = 30;
constexpr int Height = 60;

QImage blank()
{
    return QImage(Width, Height, QImage::Format_RGB888);
}

// Distance of (x, y) from the tile's edge: 0 on the outermost ring.
int ring(int x, int y)
{
    return std::min({x, y, Width - 1 - x, Height - 1 - y});
}

// A small generator with a fixed seed, so the pictures never change.
struct Lcg
{
    quint32 state;
    int next(int bound)
    {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) % quint32(bound));
    }
};

// Blends two colours: t = 0 gives a, t = 1 gives b.
QRgb mix(QRgb a, QRgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return qRgb(qRound(qRed(a) + (qRed(b) - qRed(a)) * t), qRound(qGreen(a) + (qGreen(b) - qGreen(a)) * t),
                qRound(qBlue(a) + (qBlue(b) - qBlue(a)) * t));
}

// The "monogram" back: a gold-framed royal blue tile with a diamond lattice
// and a burgundy cartouche carrying a gold K, with small gold diamonds above
// and below it.
QImage drawMonogram()
{
    const QRgb edge = qRgb(10, 16, 40);
    const QRgb gold = qRgb(218, 176, 72);
    const QRgb navy = qRgb(14, 26, 66);
    const QRgb field = qRgb(28, 58, 138);
    const QRgb lattice = qRgb(56, 96, 182);
    const QRgb burgundy = qRgb(122, 22, 44);

    // The cartouche: an octagon, x 6..23 and y 19..40, corners cut by 3.
    constexpr int cartLeft = 6, cartRight = 23, cartTop = 19, cartBottom = 40, cut = 3;
    // How far (x, y) lies inside the cartouche: 0 on its outline, < 0 outside.
    auto cartDepth = [&](int x, int y) {
        const int dx = std::min(x - cartLeft, cartRight - x);
        const int dy = std::min(y - cartTop, cartBottom - y);
        return std::min({dx, dy, dx + dy - cut});
    };

    static constexpr std::array<std::string_view, 12> monogram = {
        "##....##", "##...##.", "##..##..", "##.##...", "####....", "###.....",
        "###.....", "####....", "##.##...", "##..##..", "##...##.", "##....##",
    };
    constexpr int monoLeft = 11, monoTop = 24;

    QImage image(Width, Height, QImage::Format_RGB888);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const int ring = std::min({x, y, Width - 1 - x, Height - 1 - y});
            QRgb colour;
            if (ring == 0)
                colour = edge;
            else if (ring == 1)
                colour = gold;
            else if (ring == 2)
                colour = navy;
            else if (const int depth = cartDepth(x, y); depth >= 0) {
                const int mx = x - monoLeft, my = y - monoTop;
                const bool inMonogram = mx >= 0 && mx < 8 && my >= 0 && my < 12 && monogram[my][mx] == '#';
                colour = depth == 0 || inMonogram ? gold : depth == 1 ? navy : burgundy;
            } else {
                // Ornaments centred between pixels (14.5, 10.5) and (14.5, 48.5).
                const int ox = std::abs(2 * x - 29);
                const bool ornament = ox + std::abs(2 * y - 21) <= 5 || ox + std::abs(2 * y - 97) <= 5;
                const bool onLattice = (x + y) % 4 == 0 || (x - y) % 4 == 0;
                colour = ornament ? gold : onLattice ? lattice : field;
            }
            image.setPixel(x, y, colour);
        }
    return image;
}


// Night sky darkening upward, flakes of three sizes, and a drift of snow
// along the bottom.
QImage drawSnowfall()
{
    QImage image = blank();
    const QRgb high = qRgb(6, 10, 34), low = qRgb(40, 70, 128), snow = qRgb(244, 248, 255);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            // The drift: a gentle wave whose crest is near row 50.
            const double crest = 51 + 2.5 * qSin(x * 0.35) + 1.5 * qSin(x * 0.9 + 1);
            image.setPixel(x, y, y >= crest ? mix(snow, qRgb(190, 210, 240), (y - crest) / 10.0)
                                            : mix(high, low, y / double(Height)));
        }
    Lcg random{2026};
    for (int flake = 0; flake < 34; ++flake) {
        const int x = random.next(Width), y = random.next(48), size = random.next(5);
        image.setPixel(x, y, snow);
        if (size >= 3) // a little cross for the nearer flakes
            for (const auto &[dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                if (x + dx >= 0 && x + dx < Width && y + dy >= 0)
                    image.setPixel(x + dx, y + dy, mix(snow, low, 0.35));
    }
    for (int x = 0; x < Width; ++x) {
        image.setPixel(x, 0, qRgb(0, 0, 0));
        image.setPixel(x, Height - 1, qRgb(0, 0, 0));
    }
    for (int y = 0; y < Height; ++y) {
        image.setPixel(0, y, qRgb(0, 0, 0));
        image.setPixel(Width - 1, y, qRgb(0, 0, 0));
    }
    return image;
}

// A maze of 7 x 14 cells carved by a depth-first walk from the top left to
// the bottom right, stone walls on a sandy floor.
QImage drawLabyrinth()
{
    constexpr int columns = 7, rows = 14, cell = 4;
    constexpr int left = (Width - columns * cell - 1) / 2, top = (Height - rows * cell - 1) / 2;
    // Walls between cells: right[c][r] and down[c][r] are open when true.
    bool right[columns][rows] = {}, down[columns][rows] = {}, seen[columns][rows] = {};
    std::array<std::pair<int, int>, columns * rows> stack{};
    int depth = 0;
    stack[depth++] = {0, 0};
    seen[0][0] = true;
    Lcg random{1998};
    while (depth > 0) {
        const auto [c, r] = stack[depth - 1];
        std::array<std::pair<int, int>, 4> options{};
        int count = 0;
        for (const auto &[dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nc = c + dc, nr = r + dr;
            if (nc >= 0 && nc < columns && nr >= 0 && nr < rows && !seen[nc][nr])
                options[count++] = {nc, nr};
        }
        if (count == 0) {
            --depth;
            continue;
        }
        const auto [nc, nr] = options[random.next(count)];
        if (nc != c)
            right[std::min(c, nc)][r] = true;
        else
            down[c][std::min(r, nr)] = true;
        seen[nc][nr] = true;
        stack[depth++] = {nc, nr};
    }

    QImage image = blank();
    const QRgb wall = qRgb(70, 46, 30), floor = qRgb(226, 196, 138), path = qRgb(200, 60, 40);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const int gx = x - left, gy = y - top;
            bool isWall = true;
            if (gx > 0 && gy > 0 && gx < columns * cell && gy < rows * cell) {
                const int c = gx / cell, r = gy / cell, ix = gx % cell, iy = gy % cell;
                if (ix != 0 && iy != 0)
                    isWall = false;
                else if (ix == 0 && iy != 0)
                    isWall = !(c > 0 && right[c - 1][r]);
                else if (iy == 0 && ix != 0)
                    isWall = !(r > 0 && down[c][r - 1]);
            }
            image.setPixel(x, y, isWall ? wall : floor);
        }
    // The way in and the way out, marked in red.
    image.setPixel(left + 2, top, path);
    image.setPixel(left + 2, top + 1, path);
    image.setPixel(left + columns * cell - 2, top + rows * cell, path);
    image.setPixel(left + columns * cell - 2, top + rows * cell - 1, path);
    return image;
}

// One flower on a green ground: five pink petals round a golden heart, a
// stem and two leaves.
QImage drawFlower()
{
    QImage image = blank();
    const QRgb ground = qRgb(24, 92, 48), groundLight = qRgb(52, 130, 70), petal = qRgb(236, 112, 160),
               petalEdge = qRgb(170, 40, 96), heart = qRgb(250, 204, 48), stem = qRgb(120, 190, 80);
    constexpr double cx = 14.5, cy = 20.5;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            QRgb colour = mix(groundLight, ground, y / double(Height));
            const double dx = x - cx, dy = y - cy;
            const double r = std::hypot(dx, dy), angle = std::atan2(dy, dx);
            // Petal outline in polar form: five lobes.
            const double petalRadius = 7.5 + 4.0 * std::abs(std::cos(2.5 * angle));
            // The stem bends a little; the leaves are two slanted ellipses.
            const double stemX = cx + 2.0 * qSin((y - cy) / 12.0);
            const bool onStem = y > cy + 8 && y < Height - 4 && std::abs(x - stemX) < 1.0;
            const auto leaf = [&](double lx, double ly, double slope) {
                const double u = (x - lx) + slope * (y - ly), v = (y - ly) - slope * (x - lx);
                return u * u / 30.0 + v * v / 4.0 <= 1.0;
            };
            if (r <= 3.2)
                colour = r > 2.4 ? qRgb(200, 140, 20) : heart;
            else if (r <= petalRadius)
                colour = r > petalRadius - 1.2 ? petalEdge : mix(petal, qRgb(255, 220, 235), 1.0 - r / 12.0);
            else if (onStem)
                colour = stem;
            else if (leaf(cx - 5, 42, -0.6) || leaf(cx + 6, 48, 0.6))
                colour = qRgb(70, 160, 70);
            if (ring(x, y) == 0)
                colour = qRgb(10, 40, 20);
            image.setPixel(x, y, colour);
        }
    return image;
}

// Waves crossing each other, their sum coloured through a fixed palette.
QImage drawWaves(double fx, double fy, double fr, const std::array<QRgb, 4> &palette)
{
    QImage image = blank();
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const double r = std::hypot(x - 14.5, y - 29.5);
            const double v = (qSin(x * fx) + qSin(y * fy) + qSin(r * fr) + 3.0) / 6.0; // 0..1
            const double scaled = v * 3.0;
            const int band = std::min(int(scaled), 2);
            QRgb colour = mix(palette[band], palette[band + 1], scaled - band);
            if (ring(x, y) == 0)
                colour = qRgb(0, 0, 0);
            image.setPixel(x, y, colour);
        }
    return image;
}

} // namespace

QImage StandardBacks::draw(int number)
{
    switch (number) {
    case 1:
        return drawMonogram();
    case 2:
        return drawSnowfall();
    case 3:
        return drawLabyrinth();
    case 4:
        return drawFlower();
    case 5:
        return drawWaves(0.55, 0.31, 0.9, {qRgb(20, 0, 60), qRgb(150, 20, 120), qRgb(250, 140, 30), qRgb(255, 250, 200)});
    case 6:
        return drawWaves(0.23, 0.47, 1.7, {qRgb(0, 30, 30), qRgb(0, 140, 130), qRgb(200, 230, 90), qRgb(250, 250, 240)});
    default:
        return {};
    }
}
