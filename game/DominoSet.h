#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The double-six set in set order 0-0, 0-1, ..., 0-6, 1-1, ..., 6-6.
// A DominoId runs from 1 to 28.
using DominoId = int;

struct Domino
{
    std::string_view bitmapName; // resource name of its face, "00bmp" to "66bmp"
    std::uint8_t pips;           // pip total of both halves
    std::uint8_t upper;          // pips on the upper half
    std::uint8_t lower;          // pips on the lower half
};

class DominoSet
{
public:
    static constexpr int Count = 28;
    // Two dominoes make a pair when their pip totals add up to this.
    static constexpr int PairTotal = 12;

    static constexpr const Domino &domino(DominoId id) { return table[id - 1]; }
    static constexpr int pipTotal(DominoId id) { return domino(id).pips; }
    static constexpr std::string_view bitmapName(DominoId id) { return domino(id).bitmapName; }

private:
    static constexpr std::array<Domino, Count> table = {{
        {"00bmp", 0, 0, 0},  {"01bmp", 1, 0, 1},  {"02bmp", 2, 0, 2},  {"03bmp", 3, 0, 3},
        {"04bmp", 4, 0, 4},  {"05bmp", 5, 0, 5},  {"06bmp", 6, 0, 6},  {"11bmp", 2, 1, 1},
        {"12bmp", 3, 1, 2},  {"13bmp", 4, 1, 3},  {"14bmp", 5, 1, 4},  {"15bmp", 6, 1, 5},
        {"16bmp", 7, 1, 6},  {"22bmp", 4, 2, 2},  {"23bmp", 5, 2, 3},  {"24bmp", 6, 2, 4},
        {"25bmp", 7, 2, 5},  {"26bmp", 8, 2, 6},  {"33bmp", 6, 3, 3},  {"34bmp", 7, 3, 4},
        {"35bmp", 8, 3, 5},  {"36bmp", 9, 3, 6},  {"44bmp", 8, 4, 4},  {"45bmp", 9, 4, 5},
        {"46bmp", 10, 4, 6}, {"55bmp", 10, 5, 5}, {"56bmp", 11, 5, 6}, {"66bmp", 12, 6, 6},
    }};
};

// The table is its own first test.
static_assert([] {
    int id = 1;
    for (int a = 0; a <= 6; ++a)
        for (int b = a; b <= 6; ++b, ++id) {
            const Domino &d = DominoSet::domino(id);
            if (d.upper != a || d.lower != b || d.pips != a + b)
                return false;
            if (d.bitmapName[0] != '0' + a || d.bitmapName[1] != '0' + b)
                return false;
        }
    return id == 29;
}());
