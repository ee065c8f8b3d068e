#pragma once

#include "BoardFigure.h"
#include "DominoSet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The best a player can still do on a board: the fewest dominoes that can
// be left, and a pair to take now that keeps that result within reach. It
// plays by the game's own tables (pip totals, the cover rule) on the
// dominoes still on the board: a domino is face up when it lies on top or
// the cover rule frees it, since nothing that leaves the board comes back.
// Every position is searched once per question, depth first, each one met
// again being looked up in a table of the positions seen; a position's
// search stops once it reaches the fewest that its pip totals allow.
class BoardSolver
{
public:
    struct Outcome
    {
        // The fewest dominoes that can be left.
        int fewestLeft = 0;
        // A pair that keeps that result; both 0 when no pair is left.
        SlotNumber first = 0;
        SlotNumber second = 0;
        bool canClear() const { return fewestLeft == 0; }
    };

    // The DominoId in each slot 1..28 (index 0 is slot 1).
    explicit BoardSolver(const std::array<DominoId, BoardFigure::SlotCount> &slotDomino);

    // The best from the position with the slots of `onBoard` still on the
    // board (BoardFigure::allSlots for the dealt board). Of several pairs
    // that keep the best result, the first in slot order.
    Outcome solve(SlotSet onBoard);

    // The slots of `onBoard` that are face up.
    static SlotSet faceUp(SlotSet onBoard);

    // How many positions the last question looked at, and the bytes its
    // table holds.
    std::size_t positionsSeen() const { return m_used; }
    std::size_t tableBytes() const { return m_table.capacity() * sizeof(std::uint32_t); }

private:
    // The fewest left from `onBoard`; with `pair`, the first pair that
    // keeps it goes there.
    int fewestLeft(SlotSet onBoard, Outcome *pair);
    // No player can leave fewer: a domino leaves only with one whose total
    // makes 12 with its own.
    int leastLeft(SlotSet onBoard) const;
    bool lookUp(SlotSet onBoard, int &left) const;
    void remember(SlotSet onBoard, int left);
    void grow();

    std::array<std::uint8_t, BoardFigure::SlotCount + 1> m_pips{};
    // Open addressing: the position's slots 1..28 in the low 28 bits, half
    // the dominoes left in the top 4; 0 is an empty place (the empty board
    // is never stored).
    std::vector<std::uint32_t> m_table;
    std::size_t m_used = 0;
};
