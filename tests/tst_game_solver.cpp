// The hint's search on boards whose best result a player can work out by
// hand from the pip totals and the cover rule, and when the game gives a
// hint.

#include "game/BoardSolver.h"
#include "game/DealGenerator.h"
#include "support/Deals.h"

#include <QtTest>

namespace {

// "24=0-5 25=1-6": the slots still on the board and the domino in each.
std::array<DominoId, 28> board(const QString &text, SlotSet &onBoard)
{
    std::map<SlotNumber, DominoId> placed;
    onBoard = 0;
    for (const QString &each : text.split(u' ')) {
        const SlotNumber slot = each.section(u'=', 0, 0).toInt();
        const QString halves = each.section(u'=', 1);
        for (DominoId id = 1; id <= DominoSet::Count; ++id)
            if (DominoSet::domino(id).upper == halves[0].digitValue()
                && DominoSet::domino(id).lower == halves[2].digitValue())
                placed[slot] = id;
        onBoard |= slotBit(slot);
    }
    return dealWith(placed);
}

} // namespace

class GameSolverTest : public QObject
{
    Q_OBJECT

private slots:
    void bestResult_data();
    void bestResult();
    void hintOnlyWhileAGameRuns_data();
    void hintOnlyWhileAGameRuns();
};

void GameSolverTest::bestResult_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<int>("fewestLeft");
    QTest::addColumn<QStringList>("bestPairs"); // every first pair that keeps the best
    // 6-6 and 0-0 on top free both under the top one, 0-6 and 3-3.
    QTest::newRow("cleared") << "24=6-6 25=0-0 22=0-6 23=3-3" << 0 << QStringList{"24+25"};
    // 24 and 26 (5 and 7 pips) or 25 and 26 (7 and 5); slot 1 waits for the
    // whole bar, so the 0-5 with the 2-5 leaves the 1-4 and the 1-6 on it.
    QTest::newRow("only the bar's pair clears") << "24=0-5 25=1-6 26=1-4 1=2-5" << 0 << QStringList{"25+26"};
    // Both 7s pair only with the 0-5; the 1-4 lies under the other.
    QTest::newRow("two left whatever the pair") << "24=0-5 25=1-6 26=2-5 1=1-4" << 2
                                                  << QStringList{"24+25", "24+26"};
    // The 2-5 and the 1-6 on the bar make 7 + 7: no pair.
    QTest::newRow("no pair") << "25=1-6 26=2-5 1=0-5 2=1-4" << 4 << QStringList{};
    // A player's whole board: this deal's one pair leaves none (Deals.h).
    QTest::newRow("a deal ended by its one pair") << QString() << 26 << QStringList{"25+27"};
}

void GameSolverTest::bestResult()
{
    QFETCH(QString, position);
    QFETCH(int, fewestLeft);
    QFETCH(QStringList, bestPairs);
    SlotSet onBoard = BoardSolver::WholeBoard;
    const auto deal = position.isEmpty() ? DealGenerator::drawDeal(OnePairSeed) : board(position, onBoard);
    const BoardSolver::Outcome best = BoardSolver(deal).solve(onBoard);
    QCOMPARE(best.fewestLeft, fewestLeft);
    QCOMPARE(best.canClear(), fewestLeft == 0);
    const QString pair = best.first ? QStringLiteral("%1+%2").arg(best.first).arg(best.second) : QString();
    QVERIFY2(bestPairs.isEmpty() ? pair.isEmpty() : bestPairs.contains(pair), qPrintable(pair));
}

void GameSolverTest::hintOnlyWhileAGameRuns_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("given");
    QTest::newRow("no game yet") << QStringList{} << false;
    QTest::newRow("a game runs") << QStringList{"new"} << true;
    QTest::newRow("paused") << QStringList{"new", "pause"} << false;
    QTest::newRow("setup open") << QStringList{"new", "setup"} << false;
    QTest::newRow("game over") << QStringList{"new", "lose"} << false;
}

void GameSolverTest::hintOnlyWhileAGameRuns()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, given);
    Game game;
    for (const QString &step : steps) {
        if (step == u"new")
            game.newGame([] { return OnePairSeed; }, nullptr);
        else if (step == u"pause")
            game.pauseOrResume();
        else if (step == u"setup")
            game.openSetup();
        else if (step == u"lose")
            game.click(25), game.click(27);
    }
    const auto hint = game.hint();
    QCOMPARE(bool(hint), given);
    QCOMPARE(game.hinted(), given);
    if (given)
        QCOMPARE(*hint, (std::pair<SlotNumber, SlotNumber>{25, 27}));
    // The board is as it was: nothing selected.
    QVERIFY(!game.selectionActive());
}

QTEST_GUILESS_MAIN(GameSolverTest)
#include "tst_game_solver.moc"
