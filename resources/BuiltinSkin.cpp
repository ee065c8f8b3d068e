#include "resources/BuiltinSkin.h"

#include "resources/StandardBacks.h"
#include "settings/SkinFormat.h"


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

QImage draw(const QString &upperName)
{
    if (const int back = SkinFormat::backNumber(upperName); back >= 0)
        return StandardBacks::draw(back);
    int upper = 0, lower = 0;
    if (parseFaceName(upperName, upper, lower))
        return drawFace(upper, lower);
    return {};
}

// The standard set's texts, numbered as a skin library numbers them.
constexpr std::array<const char *, 6> BackTitles = {
    "Monogram skin",     "Snowfall. enjoy it ^)", "Labyrinth",
    "Flower",            "Strange picture #1",    "Strange picture #2",
};
constexpr int Backs = int(BackTitles.size());
constexpr int BackTitlesFrom = int(SkinFormat::backTitleText(1));
constexpr int ReservedRecords = 18;
constexpr int ReservedFrom = int(SkinFormat::recordText(Backs, 1));
constexpr int AuthorEntry = int(SkinFormat::authorText(Backs, ReservedRecords));

} // namespace

QString BuiltinSkin::string(int id) const
{
    if (id == SkinFormat::MarkerText)
        return SkinFormat::FamilyMarker;
    if (id == SkinFormat::BackCountText)
        return QString::number(Backs);
    if (id >= BackTitlesFrom && id < BackTitlesFrom + Backs)
        return QLatin1String(BackTitles[id - BackTitlesFrom]);
    if (id == SkinFormat::reservedCountText(Backs))
        return QString::number(ReservedRecords);
    // Each reserved record is a name and a value; nothing reads them, they
    // keep the places the family's skins have always had.
    if (id >= ReservedFrom && id < AuthorEntry)
        return (id - ReservedFrom) % 2 == 0 ? QStringLiteral("Reserved%1").arg((id - ReservedFrom) / 2 + 1)
                                            : QStringLiteral("0");
    if (id == AuthorEntry)
        return QStringLiteral("Faces and backs by Brindlewick");
    if (id == SkinFormat::descriptionText(Backs, ReservedRecords))
        return QStringLiteral("Standart 'Tolvane...' skin");
    return {};
}

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
