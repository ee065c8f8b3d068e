#include "BoardSolver.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace {

constexpr int slots = BoardFigure::SlotCount;
constexpr std::size_t firstTableSize = 1 << 12;

std::uint32_t hashOf(SlotSet onBoard, std::size_t size)
{
    return static_cast<std::uint32_t>((onBoard * 0x9E3779B1u) >> (32 - std::countr_zero(size)));
}

} // namespace

BoardSolver::BoardSolver(const std::array<DominoId, BoardFigure::SlotCount> &slotDomino)
{
    for (SlotNumber s = 1; s <= slots; ++s)
        m_pips[s] = DominoSet::pipTotal(slotDomino[s - 1]);
}

SlotSet BoardSolver::faceUp(SlotSet onBoard)
{
    const SlotSet gone = BoardFigure::allSlots & ~onBoard;
    SlotSet up = onBoard & BoardFigure::topSlots;
    for (SlotSet rest = onBoard & ~BoardFigure::topSlots; rest; rest &= rest - 1) {
        const SlotNumber s = std::countr_zero(rest);
        if (BoardFigure::isFreed(s, gone))
            up |= slotBit(s);
    }
    return up;
}

int BoardSolver::leastLeft(SlotSet onBoard) const
{
    std::array<int, DominoSet::PairTotal + 1> count{};
    for (SlotSet rest = onBoard; rest; rest &= rest - 1)
        ++count[m_pips[std::countr_zero(rest)]];
    constexpr int half = DominoSet::PairTotal / 2;
    int left = count[half] % 2;
    for (int total = 0; total < half; ++total)
        left += std::abs(count[total] - count[DominoSet::PairTotal - total]);
    return left;
}

bool BoardSolver::lookUp(SlotSet onBoard, int &left) const
{
    const std::size_t mask = m_table.size() - 1;
    const std::uint32_t key = onBoard >> 1;
    for (std::size_t i = hashOf(onBoard, m_table.size());; i = (i + 1) & mask) {
        const std::uint32_t entry = m_table[i];
        if (!entry)
            return false;
        if ((entry & 0x0FFFFFFFu) == key) {
            left = int(entry >> 28) * 2;
            return true;
        }
    }
}

void BoardSolver::remember(SlotSet onBoard, int left)
{
    if (2 * (m_used + 1) > m_table.size())
        grow();
    const std::size_t mask = m_table.size() - 1;
    std::size_t i = hashOf(onBoard, m_table.size());
    while (m_table[i])
        i = (i + 1) & mask;
    m_table[i] = (onBoard >> 1) | (std::uint32_t(left / 2) << 28);
    ++m_used;
}

void BoardSolver::grow()
{
    std::vector<std::uint32_t> old(m_table.size() * 2, 0);
    old.swap(m_table);
    const std::size_t mask = m_table.size() - 1;
    for (const std::uint32_t entry : old) {
        if (!entry)
            continue;
        std::size_t i = hashOf((entry & 0x0FFFFFFFu) << 1, m_table.size());
        while (m_table[i])
            i = (i + 1) & mask;
        m_table[i] = entry;
    }
}

int BoardSolver::fewestLeft(SlotSet onBoard, Outcome *pair)
{
    if (!onBoard)
        return 0;
    int best;
    if (!pair && lookUp(onBoard, best))
        return best;
    best = std::popcount(onBoard);
    const int least = leastLeft(onBoard);
    const SlotSet up = faceUp(onBoard);
    for (SlotSet a = up; a && best > least; a &= a - 1) {
        const SlotNumber first = std::countr_zero(a);
        for (SlotSet b = a & (a - 1); b && best > least; b &= b - 1) {
            const SlotNumber second = std::countr_zero(b);
            if (m_pips[first] + m_pips[second] != DominoSet::PairTotal)
                continue;
            const int left = fewestLeft(onBoard & ~slotBit(first) & ~slotBit(second), nullptr);
            if (left >= best)
                continue;
            best = left;
            if (pair) {
                pair->first = first;
                pair->second = second;
            }
        }
    }
    remember(onBoard, best);
    return best;
}

BoardSolver::Outcome BoardSolver::solve(SlotSet onBoard)
{
    m_table.assign(firstTableSize, 0);
    m_used = 0;
    Outcome outcome;
    outcome.fewestLeft = fewestLeft(onBoard & BoardFigure::allSlots, &outcome);
    return outcome;
}
