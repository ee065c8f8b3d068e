// The rules of the game without any window: the generator and the deal, the
// cover relation, counting pairs, pairing, the best result still within
// reach, and whole games played by a scripted player.

#include "game/BoardFigure.h"
#include "game/BoardSolver.h"
#include "game/DealGenerator.h"
#include "game/Game.h"
#include "support/Deals.h"

#include <QtTest>
#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace {

// Records what the game reports.
struct Recorder : GameObserver
{
    std::vector<SlotNumber> changes;
    std::vector<int> counts;
    int gameOvers = 0;
    void tileChanged(SlotNumber slot) override { changes.push_back(slot); }
    void variantsCounted(int variants) override { counts.push_back(variants); }
    void gameOver() override { ++gameOvers; }
};

// A game whose deal is the given one (domino ids for slots 1..28).
struct Board
{
    Recorder recorder;
    Game game{&recorder};
};

// Deals from `seed`, repeating with seed + 1, + 2, ... as a clock moving on
// would, until a pair is possible; returns the seed that was kept.
std::uint32_t dealGame(Game &game, std::uint32_t seed)
{
    for (;; ++seed) {
        game.layOutDeal(seed);
        if (game.countVariants() > 0)
            break;
    }
    game.finishDeal();
    game.start();
    return seed;
}

SlotSet setOf(std::initializer_list<int> members)
{
    SlotSet set = 0;
    for (int s : members)
        set |= slotBit(s);
    return set;
}

} // namespace

class GameRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void generatorDrawsAsTheFamilyDoes();
    void goldenDeals_data();
    void goldenDeals();
    void seedIsMillisecondsSinceMidnight();
    void dealLaysOutTheBoard();
    void coverRelationForEachSlot_data();
    void coverRelationForEachSlot();
    void coverRelationReadTheOtherWay();
    void countVariants_data();
    void countVariants();
    void clicksSelectMoveAndDeselect();
    void pairLeavesTheBoardAndUncovers();
    void lostGameEndsAtOnce();
    void removalsTurnUpFreedSlots();
    void tilesThatAreNotPlayableTakeNoClick();
    void bestResult_data();
    void bestResult();
    void scriptedGamesKeepTheirInvariants();
};

void GameRulesTest::generatorDrawsAsTheFamilyDoes()
{
    // seed := seed * 134775813 + 1, then the upper half of seed * range.
    DealGenerator generator(0);
    QCOMPARE(generator.next(28), 0u); // seed 1: (1 * 28) >> 32
    QCOMPARE(generator.seed(), 1u);
    QCOMPARE(generator.next(28), static_cast<std::uint32_t>((std::uint64_t(134775814u) * 28) >> 32));
    DealGenerator wrapping(0xFFFFFFFFu);
    wrapping.next(28);
    QCOMPARE(wrapping.seed(), static_cast<std::uint32_t>(0xFFFFFFFFull * 134775813ull + 1));
    // The largest seed gives the largest draw.
    DealGenerator top(0);
    for (int i = 0; i < 1000; ++i)
        QVERIFY(top.next(28) < 28);
}

void GameRulesTest::goldenDeals_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QList<int>>("deal");
    QTest::addColumn<int>("pairsOnTop");
    QTest::newRow("12:34:56.789") << quint32(45296789)
                                  << QList<int>{14, 8,  10, 1,  20, 13, 3,  15, 23, 5,  28, 26, 27, 18,
                                                6,  25, 16, 11, 2,  22, 4,  12, 19, 7,  9,  17, 24, 21}
                                  << 1;
    QTest::newRow("last millisecond") << quint32(86399999)
                                      << QList<int>{21, 28, 10, 7,  5, 3,  24, 27, 18, 9,  23, 20, 12, 16,
                                                    1,  8,  2,  4,  26, 11, 19, 22, 15, 14, 13, 17, 6,  25}
                                      << 2;
    const QList<int> zero = {1, 25, 6, 8, 19, 9, 5, 11, 12, 3, 14, 2, 24, 26, 22, 10, 20, 21, 7, 28, 4, 15, 17, 16, 27, 18, 23, 13};
    QTest::newRow("midnight") << quint32(0) << zero << 0;
    QTest::newRow("one millisecond") << quint32(1) << zero << 0;
}

void GameRulesTest::goldenDeals()
{
    QFETCH(quint32, seed);
    QFETCH(QList<int>, deal);
    QFETCH(int, pairsOnTop);
    const std::array<int, 28> drawn = DealGenerator::drawDeal(seed);
    QCOMPARE(QList<int>(drawn.begin(), drawn.end()), deal);

    Board board;
    board.game.layOutDeal(seed);
    for (SlotNumber s = 1; s <= 28; ++s)
        QCOMPARE(board.game.slotDomino(s), deal[s - 1]);
    QCOMPARE(board.game.countVariants(), pairsOnTop);
}

void GameRulesTest::seedIsMillisecondsSinceMidnight()
{
    QCOMPARE(DealGenerator::seedFromTime(12, 34, 56, 789), 45296789u);
    QCOMPARE(DealGenerator::seedFromTime(23, 59, 59, 999), 86399999u);
    QCOMPARE(DealGenerator::seedFromTime(0, 0, 0, 0), 0u);
}

void GameRulesTest::dealLaysOutTheBoard()
{
    for (std::uint32_t seed : {0u, 7u, 45296789u, 86399999u, 123456u}) {
        Board board;
        Game &game = board.game;
        dealGame(game, seed);
        std::set<int> ids;
        for (SlotNumber s = 1; s <= 28; ++s) {
            ids.insert(game.slotDomino(s));
            const TileState &tile = game.tile(s);
            const bool top = s >= 24;
            QVERIFY(tile.visible);
            QCOMPARE(tile.enabled, top);
            QCOMPARE(tile.showHint, top);
            QCOMPARE(tile.picture, top ? TilePicture::Face : TilePicture::Back);
            QVERIFY(!game.turnedUp(s));
        }
        QCOMPARE(int(ids.size()), 28);
        QCOMPARE(*ids.begin(), 1);
        QCOMPARE(*ids.rbegin(), 28);
        QCOMPARE(game.dominoesLeft(), 28);
        QVERIFY(game.variants() >= 1);
        QVERIFY(!game.selectionActive());
        QCOMPARE(game.phase(), GamePhase::Running);
        QCOMPARE(game.elapsedSeconds(), 0);
    }
}

void GameRulesTest::coverRelationForEachSlot_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QList<int>>("gone");
    QTest::addColumn<bool>("freed");
    const QList<int> bar = {25, 26, 27, 28};
    auto withBar = [&](QList<int> more) { return bar + more; };

    for (int s = 1; s <= 4; ++s) {
        QTest::addRow("%d: bar gone", s) << s << bar << true;
        QTest::addRow("%d: three of the bar", s) << s << QList<int>{25, 26, 27} << false;
        QTest::addRow("%d: all but the bar", s) << s << QList<int>{5, 6, 7, 8, 9, 13, 17, 24} << false;
    }
    for (int s = 5; s <= 12; ++s) {
        QTest::addRow("%d: lower neighbour", s) << s << QList<int>{s - 4} << true;
        QTest::addRow("%d: upper neighbour", s) << s << QList<int>{s + 4} << true;
        QTest::addRow("%d: bar alone", s) << s << bar << false;
        QTest::addRow("%d: nothing", s) << s << QList<int>{} << false;
    }
    const struct
    {
        int slot;
        QList<int> side1, side2;
    } block[] = {{13, {17}, {9}}, {14, {17, 18}, {10}}, {15, {18, 19}, {11}}, {16, {19}, {12}}};
    for (const auto &c : block) {
        QTest::addRow("%d: bar and above", c.slot) << c.slot << withBar(c.side1) << true;
        QTest::addRow("%d: bar and below", c.slot) << c.slot << withBar(c.side2) << true;
        QTest::addRow("%d: above without bar", c.slot) << c.slot << c.side1 << false;
        QTest::addRow("%d: below without bar", c.slot) << c.slot << c.side2 << false;
        QTest::addRow("%d: bar alone", c.slot) << c.slot << bar << false;
        if (c.side1.size() == 2) {
            QTest::addRow("%d: bar and half above", c.slot) << c.slot << withBar({c.side1[0]}) << false;
            QTest::addRow("%d: bar and other half", c.slot) << c.slot << withBar({c.side1[1]}) << false;
        }
    }
    QTest::newRow("17: 13 and 14") << 17 << QList<int>{13, 14} << true;
    QTest::newRow("17: 20") << 17 << QList<int>{20} << true;
    QTest::newRow("17: 13 only") << 17 << QList<int>{13} << false;
    QTest::newRow("17: 14 only") << 17 << QList<int>{14} << false;
    QTest::newRow("18: 14 and 15") << 18 << QList<int>{14, 15} << true;
    QTest::newRow("18: 20 and 21") << 18 << QList<int>{20, 21} << true;
    QTest::newRow("18: 14 and 20") << 18 << QList<int>{14, 20} << false;
    QTest::newRow("18: 15 and 21") << 18 << QList<int>{15, 21} << false;
    QTest::newRow("19: 15 and 16") << 19 << QList<int>{15, 16} << true;
    QTest::newRow("19: 21") << 19 << QList<int>{21} << true;
    QTest::newRow("19: 16 only") << 19 << QList<int>{16} << false;
    QTest::newRow("20: 17 and 18") << 20 << QList<int>{17, 18} << true;
    QTest::newRow("20: 22") << 20 << QList<int>{22} << true;
    QTest::newRow("20: 17 only") << 20 << QList<int>{17} << false;
    QTest::newRow("20: 24 only") << 20 << QList<int>{24} << false;
    QTest::newRow("21: 18 and 19") << 21 << QList<int>{18, 19} << true;
    QTest::newRow("21: 23") << 21 << QList<int>{23} << true;
    QTest::newRow("21: 19 only") << 21 << QList<int>{19} << false;
    QTest::newRow("22: 24") << 22 << QList<int>{24} << true;
    QTest::newRow("22: 20 and 23") << 22 << QList<int>{20, 23} << false;
    QTest::newRow("23: 24") << 23 << QList<int>{24} << true;
    QTest::newRow("23: 21 and 22") << 23 << QList<int>{21, 22} << false;
}

void GameRulesTest::coverRelationForEachSlot()
{
    QFETCH(int, slot);
    QFETCH(QList<int>, gone);
    QFETCH(bool, freed);
    SlotSet set = 0;
    for (int s : gone)
        set |= slotBit(s);
    QCOMPARE(BoardFigure::isFreed(slot, set), freed);
}

void GameRulesTest::coverRelationReadTheOtherWay()
{
    // Which slots a removal can turn up, written down from the figure:
    // slot s can be turned up by removing r when some set of gone slots
    // frees s with r gone and does not without it.
    const std::map<int, std::set<int>> canTurnUp = {
        {1, {5}},          {2, {6}},          {3, {7}},          {4, {8}},
        {5, {9}},          {6, {10}},         {7, {11}},         {8, {12}},
        {9, {5, 13}},      {10, {6, 14}},     {11, {7, 15}},     {12, {8, 16}},
        {13, {9, 17}},     {14, {10, 17, 18}}, {15, {11, 18, 19}}, {16, {12, 19}},
        {17, {13, 14, 20}}, {18, {14, 15, 20, 21}}, {19, {15, 16, 21}}, {20, {17, 18}},
        {21, {18, 19}},    {22, {20}},        {23, {21}},        {24, {22, 23}},
        {25, {1, 2, 3, 4, 13, 14, 15, 16}}, {26, {1, 2, 3, 4, 13, 14, 15, 16}},
        {27, {1, 2, 3, 4, 13, 14, 15, 16}}, {28, {1, 2, 3, 4, 13, 14, 15, 16}},
    };
    // Slot s can be turned up by removing r when some set of other gone
    // slots frees s with r gone and not without it. The witnesses needed
    // are at most two slots besides the bar.
    const SlotSet bar = BoardFigure::bar;
    for (int removed = 1; removed <= 28; ++removed) {
        std::set<int> found;
        for (int s = 1; s <= 23; ++s) {
            bool depends = false;
            auto witness = [&](SlotSet others) {
                others &= ~(slotBit(removed) | slotBit(s));
                if (BoardFigure::isFreed(s, others | slotBit(removed)) && !BoardFigure::isFreed(s, others))
                    depends = true;
            };
            for (int a = 0; a <= 28 && !depends; ++a)
                for (int b = a; b <= 28 && !depends; ++b) {
                    const SlotSet pair = (a ? slotBit(a) : 0) | (b ? slotBit(b) : 0);
                    witness(pair);
                    witness(pair | bar);
                }
            if (s != removed && depends)
                found.insert(s);
        }
        QVERIFY2(found == canTurnUp.at(removed), qPrintable(QStringLiteral("removing slot %1").arg(removed)));
    }
    // The bar frees slots 1 to 4 only when all four of it are gone.
    QVERIFY(!BoardFigure::isFreed(1, setOf({25, 26})));
    QVERIFY(BoardFigure::isFreed(1, setOf({25, 26, 27, 28})));
    // Slots 24 to 28 are never examined: they lie face up from the deal.
}

void GameRulesTest::countVariants_data()
{
    // Dominoes on the five face-up slots 24..28 (ids).
    QTest::addColumn<QList<int>>("top");
    QTest::addColumn<int>("pairs");
    // Pip totals 6, 6, 6, 6: 0-6, 1-5, 2-4, 3-3 (ids 7, 12, 16, 19).
    QTest::newRow("four sixes") << QList<int>{7, 12, 16, 19, 1} << 6;
    // 0, 12, 5, 7 (ids 1, 28, 6, 13) and a 1 (id 2).
    QTest::newRow("0 12 5 7") << QList<int>{1, 28, 6, 13, 2} << 2;
    // A single 6 with nothing that fits: 6, 0, 1, 2, 3 (ids 7, 1, 2, 3, 4).
    QTest::newRow("lone six") << QList<int>{7, 1, 2, 3, 4} << 0;
    QTest::newRow("6-6 and 0-0") << QList<int>{28, 1, 2, 3, 4} << 1;
    // 2-5 and 1-3 (7 + 4) do not pair.
    QTest::newRow("7 and 4") << QList<int>{17, 10, 2, 3, 4} << 0;
}

void GameRulesTest::countVariants()
{
    QFETCH(QList<int>, top);
    QFETCH(int, pairs);
    // The other 23 dominoes go face down into slots 1..23.
    std::map<SlotNumber, DominoId> placed;
    for (int i = 0; i < 5; ++i)
        placed[24 + i] = top[i];
    Board board;
    board.game.layOutDeal(dealWith(placed));
    // Face-down dominoes never count, whatever they are.
    QCOMPARE(board.game.countVariants(), pairs);
    QCOMPARE(board.game.variants(), pairs);
    QCOMPARE(board.recorder.counts.back(), pairs);
}

void GameRulesTest::clicksSelectMoveAndDeselect()
{
    // 45296789: slots 24..28 hold ids 7 (0-6), 9 (1-2), 17 (2-5), 24 (4-5), 21 (3-5).
    Board board;
    Game &game = board.game;
    dealGame(game, OnePairSeed);
    QCOMPARE(game.variants(), 1);

    game.click(24); // 0-6 (6)
    QVERIFY(game.selectionActive());
    QCOMPARE(game.selectedSlot(), 24);
    QCOMPARE(game.tile(24).picture, TilePicture::MarkedFace);

    game.click(25); // 1-2 (3): no pair, the selection moves
    QCOMPARE(game.selectedSlot(), 25);
    QCOMPARE(game.tile(24).picture, TilePicture::Face);
    QCOMPARE(game.tile(25).picture, TilePicture::MarkedFace);

    game.click(25); // again: nothing selected
    QVERIFY(!game.selectionActive());
    QCOMPARE(game.tile(25).picture, TilePicture::Face);

    game.click(26); // selects afresh
    QVERIFY(game.selectionActive());
    QCOMPARE(game.selectedSlot(), 26);
    QCOMPARE(game.dominoesLeft(), 28);
}

void GameRulesTest::pairLeavesTheBoardAndUncovers()
{
    // 45296789: the pair on top is 1-2 (slot 25, 3) with 4-5 (slot 27, 9).
    Board board;
    Game &game = board.game;
    dealGame(game, OnePairSeed);
    game.click(27);
    game.click(25);
    QVERIFY(!game.tile(25).visible);
    QVERIFY(!game.tile(27).visible);
    // The mark leaves with the tile: it is not taken off first.
    QCOMPARE(game.tile(27).picture, TilePicture::MarkedFace);
    QCOMPARE(game.dominoesLeft(), 26);
    QVERIFY(!game.selectionActive());
    // Two of the bar's four gone turn nothing up.
    for (SlotNumber s = 1; s <= 23; ++s)
        QVERIFY(!game.turnedUp(s));
    // Left on top: 0-6, 2-5, 3-5: no pair, so the game ended at once.
    QCOMPARE(game.variants(), 0);
    QCOMPARE(board.recorder.gameOvers, 1);
    QCOMPARE(game.phase(), GamePhase::Stopped);
    for (SlotNumber s = 1; s <= 28; ++s)
        QVERIFY(!game.tile(s).enabled);
    // Tiles left on the board stay visible and keep their tool tips.
    QVERIFY(game.tile(24).visible);
    QVERIFY(game.tile(24).showHint);
}

void GameRulesTest::removalsTurnUpFreedSlots()
{
    // On top: 6-6 (24), 0-0 (25), 0-6 (26), 3-3 (27), 1-5 (28); 2-4 in 22,
    // 0-1 in 23; the rest anywhere.
    Board board;
    Game &game = board.game;
    game.layOutDeal(dealWith({{24, 28}, {25, 1}, {26, 7}, {27, 19}, {28, 12}, {22, 16}, {23, 2}}));
    game.countVariants();
    game.finishDeal();
    game.start();
    auto turnedUp = [&] {
        std::set<int> up;
        for (int s = 1; s <= 23; ++s)
            if (game.turnedUp(s))
                up.insert(s);
        return up;
    };

    // Slot 24 gone turns up 22 and 23 together.
    game.click(24);
    game.click(25);
    QCOMPARE(turnedUp(), (std::set<int>{22, 23}));
    QVERIFY(game.tile(22).enabled && game.tile(22).showHint);
    QCOMPARE(game.variants(), 6); // 0-6, 3-3, 1-5, 2-4: four sixes

    // Two more of the bar gone: still nothing of the block.
    board.recorder.changes.clear();
    game.click(26);
    game.click(27);
    QCOMPARE(turnedUp(), (std::set<int>{22, 23}));
    // Slots turned up before are not touched again.
    QVERIFY(std::count(board.recorder.changes.begin(), board.recorder.changes.end(), 22) == 0);

    // The last of the bar turns up 1 to 4 in one pass; 22 gone frees 20.
    game.click(28);
    game.click(22);
    QCOMPARE(turnedUp(), (std::set<int>{1, 2, 3, 4, 20, 22, 23}));
    QCOMPARE(game.dominoesLeft(), 22);
}

void GameRulesTest::lostGameEndsAtOnce()
{
    Board board;
    Game &game = board.game;
    dealGame(game, OnePairSeed);
    game.click(25);
    game.click(27);
    QCOMPARE(board.recorder.gameOvers, 1);
    QCOMPARE(board.recorder.counts.back(), 0);
    // Nothing is playable after the end.
    for (SlotNumber s = 1; s <= 28; ++s) {
        game.click(s);
        QVERIFY(!game.isPlayable(s));
    }
    QCOMPARE(board.recorder.gameOvers, 1);
    QCOMPARE(game.dominoesLeft(), 26);
}

void GameRulesTest::tilesThatAreNotPlayableTakeNoClick()
{
    Board board;
    Game &game = board.game;
    dealGame(game, 86399999);
    board.recorder.changes.clear();
    for (SlotNumber s = 1; s <= 23; ++s)
        game.click(s); // face down
    game.click(0);
    game.click(29);
    QVERIFY(!game.selectionActive());
    QVERIFY(board.recorder.changes.empty());
}

void GameRulesTest::bestResult_data()
{
    // The dominoes left: slot, id, slot, id, ...; none for a whole deal.
    QTest::addColumn<QList<int>>("board");
    QTest::addColumn<int>("fewestLeft");
    QTest::addColumn<QList<int>>("bestPairs"); // every first pair that keeps the best: a, b, a, b, ...
    // 6-6 and 0-0 on top; taking them turns up 0-6 and 3-3 under the top one.
    QTest::newRow("cleared") << QList<int>{24, 28, 25, 1, 22, 7, 23, 19} << 0 << QList<int>{24, 25};
    // 0-5 on top, 1-6 and 1-4 on the bar, 2-5 under the bar, which waits for
    // the whole bar: 0-5 with 1-6 leaves 1-4 on the bar and 2-5 under it.
    QTest::newRow("only the bar's pair clears") << QList<int>{24, 6, 25, 13, 26, 11, 1, 17} << 0
                                                << QList<int>{25, 26};
    // The same with 2-5 on the bar and 1-4 under it: each 7 pairs only with
    // the 0-5, and the other 7 keeps the 1-4 covered.
    QTest::newRow("two left whatever the pair") << QList<int>{24, 6, 25, 13, 26, 17, 1, 11} << 2
                                                << QList<int>{24, 25, 24, 26};
    // 1-6 and 2-5 on the bar make 14.
    QTest::newRow("no pair") << QList<int>{25, 13, 26, 17, 1, 6, 2, 11} << 4 << QList<int>{};
    // The deal's one pair leaves no pair (Deals.h).
    QTest::newRow("a deal ended by its one pair") << QList<int>{} << 26 << QList<int>{25, 27};
}

void GameRulesTest::bestResult()
{
    QFETCH(QList<int>, board);
    QFETCH(int, fewestLeft);
    QFETCH(QList<int>, bestPairs);
    std::map<SlotNumber, DominoId> placed;
    SlotSet onBoard = board.isEmpty() ? BoardFigure::allSlots : 0;
    for (int i = 0; i < board.size(); i += 2) {
        placed[board[i]] = board[i + 1];
        onBoard |= slotBit(board[i]);
    }
    const auto deal = board.isEmpty() ? DealGenerator::drawDeal(OnePairSeed) : dealWith(placed);
    const BoardSolver::Outcome best = BoardSolver(deal).solve(onBoard);
    QCOMPARE(best.fewestLeft, fewestLeft);
    QCOMPARE(best.canClear(), fewestLeft == 0);
    bool kept = bestPairs.isEmpty() && !best.first;
    for (int i = 0; i < bestPairs.size(); i += 2)
        kept = kept || (best.first == bestPairs[i] && best.second == bestPairs[i + 1]);
    QVERIFY2(kept, qPrintable(QStringLiteral("%1+%2").arg(best.first).arg(best.second)));
}

void GameRulesTest::scriptedGamesKeepTheirInvariants()
{
    int won = 0;
    std::mt19937 choices(20261208);
    for (std::uint32_t game_no = 0; game_no < 3000; ++game_no) {
        Board board;
        Game &game = board.game;
        dealGame(game, game_no * 28657u);
        std::set<SlotNumber> removed;
        int moves = 0;
        while (game.phase() == GamePhase::Running) {
            // Collect the pairs among the playable tiles; pick one.
            std::vector<std::pair<int, int>> pairs;
            for (int a = 1; a <= 28; ++a)
                for (int b = a + 1; b <= 28; ++b)
                    if (game.isPlayable(a) && game.isPlayable(b) && game.pipTotalAt(a) + game.pipTotalAt(b) == 12)
                        pairs.emplace_back(a, b);
            QCOMPARE(int(pairs.size()), game.variants());
            QVERIFY(!pairs.empty());
            // Now and then click a tile first that does not pair.
            if (choices() % 4 == 0) {
                for (int s = 1; s <= 28; ++s)
                    if (game.isPlayable(s)) {
                        game.click(s);
                        break;
                    }
            }
            const auto [a, b] = pairs[choices() % pairs.size()];
            if (game.selectionActive() && game.selectedSlot() != a)
                game.click(game.selectedSlot()); // deselect
            if (!game.selectionActive())
                game.click(a);
            game.click(b);
            QVERIFY(!game.selectionActive());
            QVERIFY(removed.insert(a).second);
            QVERIFY(removed.insert(b).second);
            ++moves;
            QCOMPARE(game.dominoesLeft(), 28 - 2 * moves);
            int onBoard = 0;
            SlotSet gone = 0;
            for (int s = 1; s <= 28; ++s)
                if (!game.tile(s).visible)
                    gone |= slotBit(s);
            for (int s = 1; s <= 28; ++s) {
                const TileState &tile = game.tile(s);
                onBoard += tile.visible;
                // While the game runs, a slot of the figure lies face up
                // exactly when the cover rule has freed it.
                if (s <= 23 && tile.visible && game.phase() == GamePhase::Running) {
                    QCOMPARE(tile.enabled, game.turnedUp(s));
                    QCOMPARE(game.turnedUp(s), BoardFigure::isFreed(s, gone));
                    QCOMPARE(tile.picture, game.turnedUp(s) ? TilePicture::Face : TilePicture::Back);
                }
                if (tile.visible)
                    QCOMPARE(tile.showHint, s >= 24 || game.turnedUp(s));
            }
            QCOMPARE(onBoard, game.dominoesLeft());
        }
        QCOMPARE(board.recorder.gameOvers, 1);
        if (game.dominoesLeft() == 0)
            ++won;
        else
            QCOMPARE(game.variants(), 0);
        for (int s = 1; s <= 28; ++s) {
            QVERIFY(!game.isPlayable(s));
            game.click(s);
        }
        QCOMPARE(board.recorder.gameOvers, 1);
    }
    qInfo("scripted player won %d of 3000 games", won);
}

QTEST_APPLESS_MAIN(GameRulesTest)
#include "tst_game_rules.moc"
