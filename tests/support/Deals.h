#pragma once

#include "game/Game.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

// 12:34:56.789 deals one pair on top, 1-2 in slot 25 and 4-5 in slot 27;
// taking it leaves no pair, so the game ends with 26 dominoes left. The
// other three on top are 0-6 (24), 2-5 (26) and 3-5 (28).
constexpr std::uint32_t OnePairSeed = 45296789;
// Midnight deals no pair on top.
constexpr std::uint32_t NoPairSeed = 0;
// 00:01:25.000 deals a game that can be won.
constexpr std::uint32_t WinnableSeed = 85000;

// A deal with the given dominoes in the given slots and the others in the
// remaining slots in ascending order.
inline std::array<DominoId, 28> dealWith(const std::map<SlotNumber, DominoId> &placed)
{
    std::array<DominoId, 28> deal{};
    std::set<DominoId> rest;
    for (DominoId id = 1; id <= 28; ++id)
        rest.insert(id);
    for (auto [slot, id] : placed) {
        deal[slot - 1] = id;
        rest.erase(id);
    }
    auto next = rest.begin();
    for (SlotNumber s = 1; s <= 28; ++s)
        if (!placed.count(s))
            deal[s - 1] = *next++;
    return deal;
}

using Move = std::pair<SlotNumber, SlotNumber>;

// The pairs that clear the board of a running game with nothing selected,
// in the order to take them; empty when the board cannot be cleared. The
// game itself is not touched.
inline std::vector<Move> clearingMoves(const Game &game)
{
    std::set<SlotSet> deadEnds;
    std::vector<Move> moves;
    std::function<bool(const Game &)> solve = [&](const Game &now) {
        if (now.dominoesLeft() == 0)
            return true;
        if (now.phase() != GamePhase::Running)
            return false;
        SlotSet gone = 0;
        for (SlotNumber s = 1; s <= 28; ++s)
            if (!now.tile(s).visible)
                gone |= slotBit(s);
        if (deadEnds.count(gone))
            return false;
        for (SlotNumber a = 1; a <= 28; ++a)
            for (SlotNumber b = a + 1; b <= 28; ++b) {
                if (!now.isPlayable(a) || !now.isPlayable(b) || now.pipTotalAt(a) + now.pipTotalAt(b) != 12)
                    continue;
                Game next = now;
                next.click(a);
                next.click(b);
                moves.emplace_back(a, b);
                if (solve(next))
                    return true;
                moves.pop_back();
            }
        deadEnds.insert(gone);
        return false;
    };
    Game copy = game;
    copy.setObserver(nullptr);
    copy.setRecorder(nullptr);
    solve(copy);
    return moves;
}
