// Prints how long the hint's search takes from the first position of
// 10,000 deals, and the memory it uses. Run it from the build folder:
// tests/kelvor_solver_bench.

#include "game/BoardSolver.h"
#include "game/Game.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main()
{
    constexpr int deals = 10000;
    const long before = peakKilobytes();
    std::vector<double> millis; // each deal's time in milliseconds
    millis.reserve(deals);
    std::size_t mostPositions = 0, biggestTable = 0;
    double worstRun = 0;
    int cleared = 0;
    std::uint32_t seed = 45296789;
    Game game;
    for (int i = 0; i < deals; ++i) {
        // Dealt as the game deals: again from the next seed until a pair shows.
        game.newGame([&seed] { return seed += 7919; }, nullptr);
        std::array<DominoId, BoardFigure::SlotCount> deal{};
        for (SlotNumber s = 1; s <= BoardFigure::SlotCount; ++s)
            deal[s - 1] = game.slotDomino(s);
        // The least of three runs, so that the other work of a busy machine
        // does not count as the search's.
        double least = 0;
        for (int run = 0; run < 3; ++run) {
            const auto start = std::chrono::steady_clock::now();
            BoardSolver solver(deal);
            const BoardSolver::Outcome outcome = solver.solve(BoardFigure::allSlots);
            const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
            least = run ? std::min(least, ms.count()) : ms.count();
            worstRun = std::max(worstRun, ms.count());
            if (run == 0) {
                cleared += outcome.canClear();
                mostPositions = std::max(mostPositions, solver.positionsSeen());
                biggestTable = std::max(biggestTable, solver.tableBytes());
            }
        }
        millis.push_back(least);
    }
    std::sort(millis.begin(), millis.end());
    std::printf("Kelvor hint search, from the dealt board of %d deals (least of 3 runs each)\n", deals);
    std::printf("%-40s %10.1f us\n", "median", 1000 * millis[millis.size() / 2]);
    std::printf("%-40s %10.1f us\n", "99th percentile", 1000 * millis[millis.size() * 99 / 100]);
    std::printf("%-40s %10.1f us\n", "worst", 1000 * millis.back());
    std::printf("%-40s %10.1f us\n", "worst single run, other work and all", 1000 * worstRun);
    std::printf("%-40s %10zu\n", "most positions searched", mostPositions);
    std::printf("%-40s %10.1f KB\n", "biggest table of positions", biggestTable / 1024.0);
    std::printf("%-40s %10ld KB\n", "peak memory grown by the searches", peakKilobytes() - before);
    std::printf("%-40s %9.1f %%\n", "deals that can be cleared", 100.0 * cleared / deals);
    return 0;
}
