#pragma once

#include <array>
#include <cstdint>

// The figure of 28 board positions (slots 1..28) and the rule that turns
// covered dominoes face up. A SlotNumber runs from 1 to 28.
using SlotNumber = int;

// A set of slots, bit s standing for slot s.
using SlotSet = std::uint32_t;

constexpr SlotSet slotBit(SlotNumber s) { return SlotSet{1} << s; }

namespace figure_detail {
constexpr SlotSet of(SlotNumber a) { return slotBit(a); }
constexpr SlotSet of(SlotNumber a, SlotNumber b) { return slotBit(a) | slotBit(b); }
} // namespace figure_detail

class BoardFigure
{
public:
    static constexpr int SlotCount = 28;
    static constexpr int TileWidth = 30;
    static constexpr int TileHeight = 60;
    // The client area the figure is laid out for.
    static constexpr int DesignWidth = 290;
    static constexpr int DesignHeight = 470;
    // Slots dealt face up: those that lie on top of others.
    static constexpr SlotNumber FirstTopSlot = 24;

    struct Point
    {
        int x;
        int y;
    };

    // Top-left corner of a slot's tile in the client area as designed.
    static constexpr Point position(SlotNumber s) { return positions[s - 1]; }

    // Every slot of the figure: the whole board as dealt.
    static constexpr SlotSet allSlots = ((SlotSet{1} << (SlotCount + 1)) - 1) & ~SlotSet{1};
    // The slots dealt face up.
    static constexpr SlotSet topSlots = allSlots & ~(slotBit(FirstTopSlot) - 1);

    // The bar of four lying across the middle of the block.
    static constexpr SlotSet bar = slotBit(25) | slotBit(26) | slotBit(27) | slotBit(28);

    // The slots whose tiles lie on slot s's tile: those that overlap it,
    // not only touch it, and lie above it (the higher slot lies on top).
    static constexpr SlotSet coveredBy(SlotNumber s)
    {
        SlotSet over = 0;
        const Point a = position(s);
        for (SlotNumber t = s + 1; t <= SlotCount; ++t) {
            const Point b = position(t);
            const bool across = a.x < b.x + TileWidth && b.x < a.x + TileWidth;
            const bool along = a.y < b.y + TileHeight && b.y < a.y + TileHeight;
            if (across && along)
                over |= slotBit(t);
        }
        return over;
    }

    // Whether face-down slot s (1..23) turns face up once the slots in `gone`
    // have left the board.
    static constexpr bool isFreed(SlotNumber s, SlotSet gone)
    {
        const Rule &rule = rules[s - 1];
        if (rule.needsBarGone && (gone & bar) != bar)
            return false;
        for (int i = 0; i < rule.alternativeCount; ++i)
            if ((gone & rule.alternatives[i]) == rule.alternatives[i])
                return true;
        return false;
    }

private:
    static constexpr std::array<Point, SlotCount> positions = {{
        {85, 392},  {115, 392}, {145, 392}, {175, 392}, // block, bottom row
        {85, 332},  {115, 332}, {145, 332}, {175, 332}, // block, second row
        {85, 272},  {115, 272}, {145, 272}, {175, 272}, // block, third row
        {85, 212},  {115, 212}, {145, 212}, {175, 212}, // block, top row
        {100, 152}, {130, 152}, {160, 152},             // row of three
        {115, 92},  {145, 92},                          // row of two
        {115, 32},  {145, 32},                          // top row of two
        {130, 32},                                      // lying across 22 and 23
        {85, 302},  {115, 302}, {145, 302}, {175, 302}, // the bar across the block
    }};

    // A slot turns up when (the bar is gone, if it needs that, and) every
    // slot of one of its alternatives is gone. A rule with one empty
    // alternative needs nothing but the bar.
    struct Rule
    {
        bool needsBarGone;
        int alternativeCount;
        std::array<SlotSet, 2> alternatives;
    };

    static constexpr std::array<Rule, 23> rules = [] {
        using figure_detail::of;
        return std::array<Rule, 23>{{
        /*  1 */ {true, 1, {0, 0}},
        /*  2 */ {true, 1, {0, 0}},
        /*  3 */ {true, 1, {0, 0}},
        /*  4 */ {true, 1, {0, 0}},
        /*  5 */ {false, 2, {of(1), of(9)}},
        /*  6 */ {false, 2, {of(2), of(10)}},
        /*  7 */ {false, 2, {of(3), of(11)}},
        /*  8 */ {false, 2, {of(4), of(12)}},
        /*  9 */ {false, 2, {of(5), of(13)}},
        /* 10 */ {false, 2, {of(6), of(14)}},
        /* 11 */ {false, 2, {of(7), of(15)}},
        /* 12 */ {false, 2, {of(8), of(16)}},
        /* 13 */ {true, 2, {of(17), of(9)}},
        /* 14 */ {true, 2, {of(17, 18), of(10)}},
        /* 15 */ {true, 2, {of(18, 19), of(11)}},
        /* 16 */ {true, 2, {of(19), of(12)}},
        /* 17 */ {false, 2, {of(13, 14), of(20)}},
        /* 18 */ {false, 2, {of(14, 15), of(20, 21)}},
        /* 19 */ {false, 2, {of(15, 16), of(21)}},
        /* 20 */ {false, 2, {of(17, 18), of(22)}},
        /* 21 */ {false, 2, {of(18, 19), of(23)}},
        /* 22 */ {false, 1, {of(24), 0}},
        /* 23 */ {false, 1, {of(24), 0}},
        }};
    }();
};
