// The flow of the game without any window: new games and their deal loop,
// when the clock runs, pause, minimize and the setup dialog, and what the end
// of a game records.

#include "game/Game.h"
#include "support/Deals.h"

#include <QtTest>
#include <deque>

namespace {

// Plays the window's part: gives the deal its clock readings, and records
// what the game tells it and what it asks of the scores.
struct Player : GameObserver, GameRecorder
{
    Game game{this};
    std::deque<std::uint32_t> times;
    int clockReadings = 0;
    std::function<void()> duringDeal;
    QStringList events;
    int shownSeconds = -1;
    int newGamesCounted = 0;
    QList<QPair<int, int>> results; // dominoes left, seconds
    QList<bool> hintedResults;

    Player() { game.setRecorder(this); }

    // F2: every attempt reads the clock, which stands on its last reading.
    void newGame()
    {
        game.newGame(
            [this] {
                ++clockReadings;
                const std::uint32_t time = times.front();
                if (times.size() > 1)
                    times.pop_front();
                return time;
            },
            [this] {
                events << QStringLiteral("painted");
                if (duringDeal)
                    duringDeal();
            });
    }

    void tileChanged(SlotNumber) override {}
    void variantsCounted(int variants) override { events << QStringLiteral("counted %1").arg(variants); }
    void secondsCounted(int seconds) override { shownSeconds = seconds; }
    void countNewGame() override { ++newGamesCounted; }
    void recordResult(int dominoesLeft, int seconds, bool hinted) override
    {
        // The game is over before its result is recorded.
        QCOMPARE(game.phase(), GamePhase::Stopped);
        QVERIFY(!game.clockRuns());
        QCOMPARE(game.message(), GameMessage::GameOver);
        for (SlotNumber s = 1; s <= 28; ++s)
            QVERIFY(!game.isPlayable(s));
        results.append({dominoesLeft, seconds});
        hintedResults.append(hinted);
    }

    int tilesShown() const
    {
        int shown = 0;
        for (SlotNumber s = 1; s <= 28; ++s)
            shown += game.tile(s).visible;
        return shown;
    }
};

} // namespace

class GameFlowTest : public QObject
{
    Q_OBJECT

private slots:
    void flowFollowsThePlayer_data();
    void flowFollowsThePlayer();
    void dealIsDrawnAgainUntilAPairIsPossible();
    void pauseHidesAndRestoresTheBoard();
    void clockCountsSeconds();
    void endOfAGameIsRecordedOnce_data();
    void endOfAGameIsRecordedOnce();
    void boardSettlesWhereThePlayerMovedIt();
};

void GameFlowTest::flowFollowsThePlayer_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<GamePhase>("phase");
    QTest::addColumn<bool>("clockRuns");
    QTest::addColumn<bool>("pauseHeld");
    QTest::addColumn<GameMessage>("message");
    QTest::addColumn<int>("tilesShown");

    const GamePhase running = GamePhase::Running, paused = GamePhase::Paused, stopped = GamePhase::Stopped;
    const GameMessage start = GameMessage::PressF2ToStart, play = GameMessage::LetsPlay, pause = GameMessage::Pause,
                      over = GameMessage::GameOver;
    auto row = [](const char *name, const char *steps) -> QTestData & {
        return QTest::newRow(name) << QString::fromLatin1(steps).split(u' ', Qt::SkipEmptyParts);
    };
    row("before the first game", "") << stopped << false << false << start << 28;
    row("a new game", "new") << running << true << false << play << 28;
    row("pause", "new pause") << paused << false << true << pause << 0;
    row("resume", "new pause pause") << running << true << false << play << 28;
    row("pause with no game", "pause") << stopped << false << false << start << 28;
    row("a new game during a pause", "new pause new") << running << true << false << play << 28;
    row("minimized during a game", "new minimize") << running << false << false << play << 28;
    row("restored during a game", "new minimize restore") << running << true << false << play << 28;
    row("restored during a pause", "new pause minimize restore") << paused << false << true << pause << 0;
    row("a new game while minimized", "minimize new") << running << false << false << play << 28;
    row("restored after a new game", "minimize new restore") << running << true << false << play << 28;
    row("restored with no game", "minimize restore") << stopped << false << false << start << 28;
    row("setup open during a game", "new setup") << running << false << false << pause << 0;
    row("setup closed during a game", "new setup close") << running << true << false << play << 28;
    row("setup open with no game", "setup") << stopped << false << false << pause << 0;
    row("setup closed with no game", "setup close") << stopped << false << false << start << 28;
    row("setup open during a pause", "new pause setup") << paused << false << true << pause << 0;
    row("setup closed ends a pause", "new pause setup close") << running << true << false << play << 28;
    // The clock stands still as long as the dialog is open.
    row("restored while setup is open", "new setup minimize restore") << running << false << false << pause << 0;
    row("game over", "new lose") << stopped << false << false << over << 26;
    row("pause after the game", "new lose pause") << stopped << false << false << over << 26;
    row("setup closed after the game", "new lose setup close") << stopped << false << false << start << 26;
}

void GameFlowTest::flowFollowsThePlayer()
{
    QFETCH(QStringList, steps);
    Player player;
    player.times = {OnePairSeed};
    Game &game = player.game;
    for (const QString &step : steps) {
        if (step == u"new")
            player.newGame();
        else if (step == u"pause")
            game.pauseOrResume();
        else if (step == u"minimize")
            game.minimize();
        else if (step == u"restore")
            game.restore();
        else if (step == u"setup")
            game.openSetup();
        else if (step == u"close")
            game.closeSetup();
        else if (step == u"lose") {
            // The one pair of this deal; no pair is left after it.
            game.click(25);
            game.click(27);
        }
    }
    QTEST(game.phase(), "phase");
    QTEST(game.clockRuns(), "clockRuns");
    QTEST(game.pauseHeld(), "pauseHeld");
    QTEST(game.message(), "message");
    QTEST(player.tilesShown(), "tilesShown");
    // A hint only while the game runs: not before it, paused, in the setup
    // dialog or after it.
    QCOMPARE(bool(game.hint()), game.message() == GameMessage::LetsPlay);
    QCOMPARE(game.hinted(), game.message() == GameMessage::LetsPlay);
}

void GameFlowTest::boardSettlesWhereThePlayerMovedIt()
{
    // The board keys, a second observer, put the focus back where a deal, a
    // pause, its end or the setup dialog leave the board; a minimize, the
    // clock and the end of a game move no focus of their own.
    struct : GameObserver
    {
        int settled = 0;
        void boardSettled() override { ++settled; }
    } keys;
    Player player;
    player.times = {OnePairSeed};
    Game &game = player.game;
    game.addObserver(&keys);
    const auto settledBy = [&keys](const std::function<void()> &act) {
        const int before = keys.settled;
        act();
        return keys.settled - before;
    };
    // F2 during the deal is not a deal of its own.
    player.duringDeal = [&player] { player.newGame(); };
    QCOMPARE(settledBy([&] { player.newGame(); }), 1);
    QCOMPARE(settledBy([&] { game.minimize(), game.restore(), game.tick(); }), 0);
    QCOMPARE(settledBy([&] { game.pauseOrResume(), game.pauseOrResume(); }), 2);
    QCOMPARE(settledBy([&] { game.openSetup(), game.closeSetup(); }), 2);
    QCOMPARE(settledBy([&] { game.click(25), game.click(27); }), 0);
    QCOMPARE(game.phase(), GamePhase::Stopped);
}

void GameFlowTest::dealIsDrawnAgainUntilAPairIsPossible()
{
    // The same clock reading twice gives the same deal twice; the clock then
    // moves on to a deal with a pair.
    Player player;
    player.times = {NoPairSeed, NoPairSeed, 1, OnePairSeed};
    player.newGame();
    QCOMPARE(player.clockReadings, 4);
    // Each attempt is painted before its pairs are counted.
    QCOMPARE(player.events, QStringList({"painted", "counted 0", "painted", "counted 0", "painted", "counted 0",
                                         "painted", "counted 1"}));
    // Counted once, however many attempts.
    QCOMPARE(player.newGamesCounted, 1);
    QCOMPARE(player.game.slotDomino(24), 7);
    QCOMPARE(player.game.variants(), 1);
    QVERIFY(!player.game.dealing());
}

void GameFlowTest::pauseHidesAndRestoresTheBoard()
{
    Player player;
    player.times = {86399999};
    Game &game = player.game;
    player.newGame();
    game.click(24);
    QCOMPARE(game.tile(24).picture, TilePicture::MarkedFace);
    QVERIFY(!game.resume()); // only a paused game resumes
    QVERIFY(game.pause());
    QCOMPARE(game.phase(), GamePhase::Paused);
    QVERIFY(!game.pause());
    QCOMPARE(int(game.hiddenTiles().size()), 28);
    for (SlotNumber s = 1; s <= 28; ++s)
        QVERIFY(!game.isPlayable(s));
    QVERIFY(game.resume());
    QCOMPARE(game.phase(), GamePhase::Running);
    for (SlotNumber s = 1; s <= 28; ++s) {
        QVERIFY(game.tile(s).visible);
        QCOMPARE(game.tile(s).picture, s >= 24 ? TilePicture::Face : TilePicture::Back);
    }
    // Still selected, but shown without the mark until the selection changes.
    QVERIFY(game.selectionActive());
    QCOMPARE(game.selectedSlot(), 24);
}

void GameFlowTest::clockCountsSeconds()
{
    Player player;
    player.times = {OnePairSeed};
    Game &game = player.game;
    player.newGame();
    QCOMPARE(player.shownSeconds, 0);
    for (int i = 1; i <= 75; ++i)
        game.tick();
    QCOMPARE(player.shownSeconds, 75);
    QCOMPARE(game.elapsedSeconds(), 75);
    // A new game starts the count again.
    player.newGame();
    QCOMPARE(player.shownSeconds, 0);
    QCOMPARE(game.elapsedSeconds(), 0);
}

void GameFlowTest::endOfAGameIsRecordedOnce_data()
{
    QTest::addColumn<std::uint32_t>("seed");
    QTest::addColumn<int>("dominoesLeft");
    QTest::addColumn<bool>("hinted");
    QTest::newRow("no pair left") << OnePairSeed << 26 << false;
    QTest::newRow("board cleared") << WinnableSeed << 0 << false;
    QTest::newRow("board cleared after a hint") << WinnableSeed << 0 << true;
}

void GameFlowTest::endOfAGameIsRecordedOnce()
{
    QFETCH(std::uint32_t, seed);
    QFETCH(int, dominoesLeft);
    QFETCH(bool, hinted);
    Player player;
    player.times = {seed};
    Game &game = player.game;
    // A game dropped for a new one records nothing; a hint in it does not
    // follow the player into the next.
    player.newGame();
    game.tick();
    QVERIFY(game.hint());
    player.newGame();
    QVERIFY(!game.hinted());
    for (int i = 0; i < 7; ++i)
        game.tick();
    const std::vector<Move> moves = clearingMoves(game);
    if (dominoesLeft == 0)
        QVERIFY(!moves.empty());
    for (const Move &move : dominoesLeft ? std::vector<Move>{{25, 27}} : moves) {
        if (hinted && move == moves.back())
            QVERIFY(game.hint());
        game.click(move.first);
        game.click(move.second);
    }
    QCOMPARE(player.results, (QList<QPair<int, int>>{{dominoesLeft, 7}}));
    QCOMPARE(player.hintedResults, QList<bool>{hinted});
    QCOMPARE(player.newGamesCounted, 2);
    // The status bar keeps the final time; the count starts again at 0.
    QCOMPARE(player.shownSeconds, 7);
    QCOMPARE(game.elapsedSeconds(), 0);
}

QTEST_GUILESS_MAIN(GameFlowTest)
#include "tst_game_flow.moc"
