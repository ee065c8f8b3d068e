#include "TilePlace.h"

#include <array>

namespace {

// The figure's parts as a player sees them, from the top down.
enum class Part { Top, TopRow, SecondRow, ThirdRow, Block, Bar };

struct Place
{
    Part part;
    int column; // from the left within its part
    int row;    // from the top, in the block
};

// Each slot's part and its place in it, in slot order.
constexpr std::array<Place, BoardFigure::SlotCount> places = {{
    {Part::Block, 1, 4}, {Part::Block, 2, 4}, {Part::Block, 3, 4}, {Part::Block, 4, 4}, // the block's bottom row
    {Part::Block, 1, 3}, {Part::Block, 2, 3}, {Part::Block, 3, 3}, {Part::Block, 4, 3},
    {Part::Block, 1, 2}, {Part::Block, 2, 2}, {Part::Block, 3, 2}, {Part::Block, 4, 2},
    {Part::Block, 1, 1}, {Part::Block, 2, 1}, {Part::Block, 3, 1}, {Part::Block, 4, 1}, // the block's top row
    {Part::ThirdRow, 1, 0}, {Part::ThirdRow, 2, 0}, {Part::ThirdRow, 3, 0},             // the row of three
    {Part::SecondRow, 1, 0}, {Part::SecondRow, 2, 0},
    {Part::TopRow, 1, 0}, {Part::TopRow, 2, 0},
    {Part::Top, 0, 0},                                                                   // across the top row
    {Part::Bar, 1, 0}, {Part::Bar, 2, 0}, {Part::Bar, 3, 0}, {Part::Bar, 4, 0},
}};

// The place words. They are English: no language pack has them.
struct PartWords
{
    const char *words; // %1 the column, or the side in a row; %2 the row
    int columns;       // of the part, for its side words; 0 where numbered
};
constexpr PartWords partWords[] = {
    {"top", 0},
    {"top row, %1", 2},
    {"second row, %1", 2},
    {"third row, %1", 3},
    {"block, column %1, row %2", 0},
    {"bar, column %1", 0},
};
constexpr const char *sidesOfTwo[] = {"left", "right"};
constexpr const char *sidesOfThree[] = {"left", "middle", "right"};

// The table agrees with the figure: columns of the block and the bar stand
// a tile apart, rows of the block a tile apart, and in a row of its own a
// domino stands right of the one before.
static_assert([] {
    for (SlotNumber s = 1; s <= BoardFigure::SlotCount; ++s) {
        const Place &p = places[s - 1];
        const BoardFigure::Point at = BoardFigure::position(s);
        const BoardFigure::Point corner = BoardFigure::position(13); // block, column 1, row 1
        const bool columned = p.part == Part::Block || p.part == Part::Bar;
        if (columned && at.x != corner.x + (p.column - 1) * BoardFigure::TileWidth)
            return false;
        if (p.part == Part::Block && at.y != corner.y + (p.row - 1) * BoardFigure::TileHeight)
            return false;
        if (p.part == Part::Bar && (BoardFigure::bar & slotBit(s)) == 0)
            return false;
        if (p.column > 1 && places[s - 2].part == p.part && BoardFigure::position(s - 1).x >= at.x)
            return false;
    }
    return true;
}());

} // namespace

QString TilePlace::of(SlotNumber s)
{
    const Place &place = places[s - 1];
    const PartWords &part = partWords[int(place.part)];
    QString words = QString::fromLatin1(part.words);
    if (part.columns == 2)
        return words.arg(QLatin1String(sidesOfTwo[place.column - 1]));
    if (part.columns == 3)
        return words.arg(QLatin1String(sidesOfThree[place.column - 1]));
    if (place.part == Part::Block)
        return words.arg(place.column).arg(place.row);
    if (place.part == Part::Bar)
        return words.arg(place.column);
    return words;
}
