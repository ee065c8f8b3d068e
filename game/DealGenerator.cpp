#include "DealGenerator.h"

std::array<int, 28> DealGenerator::drawDeal(std::uint32_t seed)
{
    DealGenerator generator(seed);
    std::array<bool, 29> drawn{};
    std::array<int, 28> deal{};
    for (int &domino : deal) {
        int id;
        do
            id = static_cast<int>(generator.next(28)) + 1;
        while (drawn[id]);
        drawn[id] = true;
        domino = id;
    }
    return deal;
}
