#pragma once

#include "game/BoardFigure.h"

#include <QString>

// Where a domino lies, in the words a player pictures the figure by, top
// to bottom: the domino on top lying across the top row, the rows of two,
// two and three below it, then the block of four columns of four with the
// bar lying across its middle ("top row, left", "block, column 2, row 3",
// "bar, column 4"). Columns count from the left, rows from the top.
class TilePlace
{
public:
    static QString of(SlotNumber s);
};
