#pragma once

#include "DominoSet.h"

#include <array>
#include <cstdint>

// The deal's random generator: a 32-bit linear congruential generator seeded
// with the time of day, drawn from with a multiply-and-take-the-upper-half.
// The game fixes this generator so that a seed always gives the same deal.
class DealGenerator
{
public:
    explicit DealGenerator(std::uint32_t seed) : m_seed(seed) {}

    // A number from 0 to range - 1.
    std::uint32_t next(std::uint32_t range)
    {
        m_seed = m_seed * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(m_seed) * range) >> 32);
    }

    std::uint32_t seed() const { return m_seed; }

    // Milliseconds since midnight, the seed of every attempt at a deal.
    static constexpr std::uint32_t seedFromTime(int hour, int minute, int second, int millisecond)
    {
        return static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
    }

    // One attempt at a deal: the DominoId for each slot 1..28 (index 0 is
    // slot 1), drawn slot by slot, a domino already drawn being drawn again.
    static std::array<int, DominoSet::Count> drawDeal(std::uint32_t seed);

private:
    std::uint32_t m_seed;
};
