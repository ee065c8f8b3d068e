#include "DealGenerator.h"

std::array<int, DominoSet::Count> DealGenerator::drawDeal(std::uint32_t seed)
{
    DealGenerator generator(seed);
    std::array<bool, DominoSet::Count + 1> drawn{};
    std::array<int, DominoSet::Count> deal{};
    for (int &domino : deal) {
        int id;
        do
            id = static_cast<int>(generator.next(DominoSet::Count)) + 1;
        while (drawn[id]);
        drawn[id] = true;
        domino = id;
    }
    return deal;
}
