#include "resources/BuiltinSkin.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int Width = BuiltinSkin::TileWidth;
constexpr int Height = BuiltinSkin::TileHeight;

// Colour table indices of the face bitmaps.
constexpr uint Black = 0;
constexpr uint White = 1;

// Pips are 6 x 6 squares without their corners, on a 3 x 3 grid per half.
constexpr int PipSize = 6;
constexpr std::array<int, 3> PipLeft = {3, 12, 20};
constexpr std::array<int, 3> PipTopUpper = {5, 13, 21};
constexpr std::array<int, 3> PipTopLower = {33, 41, 49};
constexpr int DividerRow = 30;

// Grid cells holding a pip for 0..6 pips, read row by row from the top left.
constexpr std::array<std::string_view, 7> PipLayouts = {
    ".........", // 0
    "....#....", // 1: centre
    "..#...#..", // 2: upper right, lower left
    "..#.#.#..", // 3: the diagonal
    "#.#...#.#", // 4: corners
    "#.#.#.#.#", // 5: corners and centre
    "#.##.##.#", // 6: left and right columns
};

void drawPip(QImage &image, int left, int top)
{
    for (int dy = 0; dy < PipSize; ++dy)
        for (int dx = 0; dx < PipSize; ++dx) {
            const bool corner = (dx == 0 || dx == PipSize - 1) && (dy == 0 || dy == PipSize - 1);
            if (!corner)
                image.setPixel(left + dx, top + dy, White);
        }
}

void drawHalf(QImage &image, int pips, const std::array<int, 3> &rowTops)
{
    const std::string_view layout = PipLayouts[pips];
    for (int cell = 0; cell < 9; ++cell)
        if (layout[cell] == '#')
            drawPip(image, PipLeft[cell % 3], rowTops[cell / 3]);
}

QImage drawFace(int upper, int lower)
{
    QImage image(Width, Height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(Black);

    // Frame one pixel inside the black outer ring, and the divider.
    for (int x = 1; x <= Width - 2; ++x) {
        image.setPixel(x, 1, White);
        image.setPixel(x, Height - 2, White);
        image.setPixel(x, DividerRow, White);
    }
    for (int y = 1; y <= Height - 2; ++y) {
        image.setPixel(1, y, White);
        image.setPixel(Width - 2, y, White);
    }

    drawHalf(image, upper, PipTopUpper);
    drawHalf(image, lower, PipTopLower);
    return image;
}

// "12BMP" -> 1, 2; anything that is not a face of the double-six set -> false.
bool parseFaceName(const QString &upperName, int &upper, int &lower)
{
    if (upperName.size() != 5 || !upperName.endsWith(QLatin1String("BMP")))
        return false;
    upper = upperName.at(0).unicode() - '0';
    lower = upperName.at(1).unicode() - '0';
    return upper >= 0 && lower <= 6 && upper <= lower;
}

// The "monogram" back: a gold-framed royal blue tile with a diamond lattice
// and a burgundy cartouche carrying a gold K, with small gold diamonds above
// and below it.
QImage drawBack()
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

QImage draw(const QString &upperName)
{
    if (upperName == QLatin1String("BACK001"))
        return drawBack();
    int upper = 0, lower = 0;
    if (parseFaceName(upperName, upper, lower))
        return drawFace(upper, lower);
    return {};
}

} // namespace

QImage BuiltinSkin::bitmap(const QString &name) const
{
    const QString key = name.toUpper();
    if (const auto found = m_cache.constFind(key); found != m_cache.cend())
        return *found;
    const QImage image = draw(key);
    if (!image.isNull())
        m_cache.insert(key, image);
    return image;
}
