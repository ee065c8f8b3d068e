// The main window offscreen: its layout, keys, clicks on tiles, and how it
// shows the game's flow (the clock, the pause button, the message panel).

#include "resources/BuiltinSkin.h"
#include "resources/ProgramResources.h"
#include "shell/Program.h"
#include "shell/SpeedButton.h"
#include "shell/StatusBar.h"
#include "shell/TForm1.h"
#include "shell/TileImage.h"
#include "support/Deals.h"
#include "support/ProgramStart.h"
#include "support/Keys.h"
#include "support/TestEnvironment.h"

#include <QtTest>

namespace {

QImage face(DominoId id)
{
    return BuiltinSkin().bitmap(QString::fromLatin1(DominoSet::bitmapName(id))).convertToFormat(QImage::Format_RGB32);
}

QImage back()
{
    return BuiltinSkin().bitmap(QStringLiteral("back001")).convertToFormat(QImage::Format_RGB32);
}

QImage shown(TileImage *tile)
{
    return tile->picture().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowLayout();
    void statusBarPanels();
    void boardBeforeTheFirstGame();
    void figureOffsetInALargerWindow();
    void higherSlotsLieOnTop();
    void f2DealsOnReleaseOnly();
    void keysWithoutServerTimeActEachPress();
    void heldKeyDealsOnce_data();
    void heldKeyDealsOnce();
    void functionKeysWithModifiers_data();
    void functionKeysWithModifiers();
    void clicksSelectMarkAndUnmark();
    void faceDownTilesTakeNoClick();
    void lastPairEndsTheGame();
    void pauseAndResume_data();
    void pauseAndResume();
    void pauseWithNoGameChangesNothing();
    void inputDuringTheDealIsIgnored();
    void minimizeStopsTheClock();
    void otherKeysDoNothing();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Program> m_program;
    TForm1 *m_window = nullptr;
};

void MainWindowTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_program = std::make_unique<Program>(m_env->environment);
    startPastFirstStartDialog(*m_program);
    m_window = &m_program->mainWindow();
}

void MainWindowTest::cleanup()
{
    m_program.reset();
    m_env.reset();
}

void MainWindowTest::windowLayout()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("Form1"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Tolvane: Kelvor"));
    QCOMPARE(m_window->size(), QSize(290, 470));
    QCOMPARE(m_window->minimumSize(), QSize(290, 470));
    QCOMPARE(m_window->maximumSize(), QSize(290, 470));
    QCOMPARE(m_window->pos(), QPoint(0, 0));
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(m_window->isVisible());

    auto *panel = m_window->findChild<QWidget *>(QStringLiteral("Panel1"));
    QVERIFY(panel);
    QCOMPARE(panel->geometry(), QRect(0, 0, 290, 30));

    const struct
    {
        const char *name;
        int x;
        bool toggle;
        const char *hint;
    } buttons[] = {
        {"NewGame", 3, false, "Start new game (F2)"}, {"Pause", 28, true, "Pause/Resume game (F4)"},
        {"Options", 53, true, "Game options (F3)"},   {"Stats", 78, true, "Game statistics (F5)"},
        {"About", 103, true, "About Brindlewick"},    {"Help", 128, false, "Game Help (F1)"},
    };
    for (const auto &b : buttons) {
        SpeedButton *button = m_window->button(QString::fromLatin1(b.name));
        QVERIFY2(button, b.name);
        QCOMPARE(button->parentWidget(), panel);
        QCOMPARE(button->geometry(), QRect(b.x, 3, 24, 24));
        QCOMPARE(button->toolTip(), QString::fromLatin1(b.hint));
        QCOMPARE(button->isToggle(), b.toggle);
        QVERIFY(!button->isDown());
    }
}

void MainWindowTest::statusBarPanels()
{
    StatusBar *bar = m_window->statusBar();
    QCOMPARE(bar->objectName(), QStringLiteral("StatusBar"));
    QCOMPARE(bar->geometry(), QRect(0, 454, 290, 16));
    QVERIFY(bar->font().bold());
    const int widths[] = {72, 26, 49, 29, 114};
    const bool lowered[] = {false, true, false, true, true};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(bar->panelWidth(i), widths[i]);
        QCOMPARE(bar->panelLowered(i), lowered[i]);
    }
    QCOMPARE(bar->panelAlignment(0) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(bar->panelAlignment(2) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(bar->panelAlignment(1) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(bar->panelText(0), QStringLiteral("Variants:"));
    QCOMPARE(bar->panelText(2), QStringLiteral("Time:"));
    QCOMPARE(bar->panelText(1), QString());
    QCOMPARE(bar->panelText(3), QString());
    QCOMPARE(bar->panelText(4), QStringLiteral("Press F2 to start"));
}

void MainWindowTest::boardBeforeTheFirstGame()
{
    const QImage backImage = back();
    for (SlotNumber s = 1; s <= 28; ++s) {
        TileImage *tile = m_window->tile(s);
        const BoardFigure::Point at = BoardFigure::position(s);
        QCOMPARE(tile->geometry(), QRect(at.x, at.y, 30, 60));
        QVERIFY(tile->isVisible());
        QVERIFY(!tile->isEnabled());
        QCOMPARE(tile->toolTip(), QString());
        QCOMPARE(tile->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(shown(tile), backImage);
    }
    QCOMPARE(m_window->game().phase(), GamePhase::Stopped);
    QVERIFY(!m_window->timer()->isActive());
    QCOMPARE(m_window->timer()->interval(), 1000);
}

void MainWindowTest::figureOffsetInALargerWindow()
{
    QCOMPARE(BoardTiles::figureOffset(QSize(290, 470)), QPoint(0, 0));
    QCOMPARE(BoardTiles::figureOffset(QSize(293, 471)), QPoint(1, 0));
    QCOMPARE(BoardTiles::figureOffset(QSize(300, 480)), QPoint(5, 5));
    QCOMPARE(BoardTiles::figureOffset(QSize(287, 467)), QPoint(-1, -1)); // cut towards zero
}

void MainWindowTest::higherSlotsLieOnTop()
{
    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2);
    // Slot 24 covers the right half of 22 and the left half of 23.
    QCOMPARE(m_window->childAt(135, 40), m_window->tile(24));
    QCOMPARE(m_window->childAt(120, 40), m_window->tile(22));
    QCOMPARE(m_window->childAt(170, 40), m_window->tile(23));
    // The bar covers the middle of each column.
    QCOMPARE(m_window->childAt(90, 310), m_window->tile(25));
    QCOMPARE(m_window->childAt(180, 360), m_window->tile(28));
    QCOMPARE(m_window->childAt(180, 365), m_window->tile(4 + 4));
}

void MainWindowTest::f2DealsOnReleaseOnly()
{
    m_env->times = {OnePairSeed};
    sendKey(m_window, QEvent::KeyPress, Qt::Key_F2, 10);
    QTest::qWait(KeyTaps::RepeatWait + 20);
    QCOMPARE(m_window->game().phase(), GamePhase::Stopped);
    sendKey(m_window, QEvent::KeyRelease, Qt::Key_F2, 20);
    waitForKeys(m_window);
    QCOMPARE(m_window->game().phase(), GamePhase::Running);
    QCOMPARE(m_env->clockReadings, 1);

    const Game &game = m_window->game();
    const QImage backImage = back();
    for (SlotNumber s = 1; s <= 28; ++s) {
        TileImage *tile = m_window->tile(s);
        const bool top = s >= 24;
        QCOMPARE(tile->isEnabled(), top);
        QCOMPARE(shown(tile), top ? face(game.slotDomino(s)) : backImage);
        QCOMPARE(tile->toolTip(), top ? QString::number(game.pipTotalAt(s)) : QString());
    }
    QCOMPARE(m_window->tile(24)->toolTip(), QStringLiteral("6")); // 0-6
    QCOMPARE(m_window->statusText(StatusBar::VariantsPanel), QStringLiteral("1"));
    QCOMPARE(m_window->statusText(StatusBar::TimePanel), QStringLiteral("0"));
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Let's play..."));
    QVERIFY(m_window->timer()->isActive());
}

void MainWindowTest::keysWithoutServerTimeActEachPress()
{
    // As a screen reader's bus hands them back: no time, repeats marked.
    m_env->times = {OnePairSeed};
    const auto tap = [this](Qt::Key key) {
        sendKey(m_window, QEvent::KeyPress, key, 0);
        sendKey(m_window, QEvent::KeyRelease, key, 0);
        waitForKeys(m_window);
    };
    tap(Qt::Key_F2);
    tap(Qt::Key_F4);
    QCOMPARE(m_window->game().phase(), GamePhase::Paused);
    tap(Qt::Key_F4);
    QCOMPARE(m_window->game().phase(), GamePhase::Running);
}

void MainWindowTest::heldKeyDealsOnce_data()
{
    QTest::addColumn<bool>("markedByQt");
    QTest::addColumn<int>("latePresses");
    // The X server repeats a held key as release and press pairs of one
    // server time; Qt marks them as repeats only when it has seen the press.
    QTest::newRow("repeats marked") << true << 0;
    QTest::newRow("repeats unmarked") << false << 0;
    QTest::newRow("repeat presses arriving late") << false << 3;
}

void MainWindowTest::heldKeyDealsOnce()
{
    QFETCH(bool, markedByQt);
    QFETCH(int, latePresses);
    m_env->times = {OnePairSeed};
    sendKey(m_window, QEvent::KeyPress, Qt::Key_F2, 1000);
    for (int i = 0; i < 10; ++i) {
        const unsigned long time = 1660 + 40 * i;
        sendKey(m_window, QEvent::KeyRelease, Qt::Key_F2, time, Qt::NoModifier, markedByQt);
        if (i < latePresses)
            waitForKeys(m_window);
        sendKey(m_window, QEvent::KeyPress, Qt::Key_F2, time, Qt::NoModifier, markedByQt);
    }
    waitForKeys(m_window);
    // A late press lets the first repeat act; otherwise nothing acts yet.
    QCOMPARE(m_env->clockReadings, latePresses ? 1 : 0);
    sendKey(m_window, QEvent::KeyRelease, Qt::Key_F2, 2100);
    waitForKeys(m_window);
    QCOMPARE(m_env->clockReadings, 1);
    QCOMPARE(m_window->game().phase(), GamePhase::Running);
}

void MainWindowTest::functionKeysWithModifiers_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("atPress");
    QTest::addColumn<Qt::KeyboardModifiers>("atRelease");
    QTest::addColumn<bool>("acts");
    const Qt::KeyboardModifiers none, alt(Qt::AltModifier), ctrl(Qt::ControlModifier), shift(Qt::ShiftModifier);
    // The game acts on the key let go whatever is held; a key let go with
    // Alt held is a system key release on Windows, which it never sees.
    QTest::newRow("Ctrl+F2") << Qt::Key_F2 << ctrl << ctrl << true;
    QTest::newRow("Shift+F2") << Qt::Key_F2 << shift << shift << true;
    QTest::newRow("Shift+F5") << Qt::Key_F5 << shift << shift << true;
    QTest::newRow("Ctrl let go before F5") << Qt::Key_F5 << ctrl << none << true;
    QTest::newRow("Alt let go before F4") << Qt::Key_F4 << alt << none << true;
    QTest::newRow("Alt+F2") << Qt::Key_F2 << alt << alt << false;
    QTest::newRow("Alt pressed after F5") << Qt::Key_F5 << none << alt << false;
    QTest::newRow("Ctrl+Alt+F2") << Qt::Key_F2 << (ctrl | alt) << (ctrl | alt) << false;
}

void MainWindowTest::functionKeysWithModifiers()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, atPress);
    QFETCH(Qt::KeyboardModifiers, atRelease);
    QFETCH(bool, acts);
    m_env->times = {OnePairSeed, OnePairSeed};
    m_window->NewGameClick();
    sendKey(m_window, QEvent::KeyPress, key, 5000, atPress);
    sendKey(m_window, QEvent::KeyRelease, key, 5100, atRelease);
    waitForKeys(m_window);
    const bool dealt = m_env->clockReadings == 2;
    const bool paused = m_window->game().phase() == GamePhase::Paused;
    const bool statistics = m_window->button(QStringLiteral("Stats"))->isDown();
    QCOMPARE(dealt, acts && key == Qt::Key_F2);
    QCOMPARE(paused, acts && key == Qt::Key_F4);
    QCOMPARE(statistics, acts && key == Qt::Key_F5);
}

void MainWindowTest::clicksSelectMarkAndUnmark()
{
    m_env->times = {OnePairSeed};
    m_window->NewGameClick();
    TileImage *tile24 = m_window->tile(24);
    TileImage *tile26 = m_window->tile(26);
    const QImage plain24 = face(7);

    QTest::mouseClick(tile24, Qt::LeftButton);
    QVERIFY(m_window->game().selectionActive());
    // The mark is the checkerboard ANDed into the face: pixels where x + y
    // is even turn black, the others stay as they were.
    const QImage marked = shown(tile24);
    QCOMPARE(marked.size(), QSize(30, 60));
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 30; ++x) {
            const QRgb expected = (x + y) % 2 == 0 ? qRgb(0, 0, 0) : plain24.pixel(x, y);
            QCOMPARE(marked.pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF);
        }

    // 0-6 then 2-5: no pair, the mark moves.
    QTest::mouseClick(tile26, Qt::LeftButton);
    QCOMPARE(m_window->game().selectedSlot(), 26);
    QCOMPARE(shown(tile24), plain24);
    QVERIFY(shown(tile26) != face(17));

    // Clicking the selected tile again takes the mark off.
    QTest::mouseClick(tile26, Qt::LeftButton);
    QVERIFY(!m_window->game().selectionActive());
    QCOMPARE(shown(tile26), face(17));
}

void MainWindowTest::faceDownTilesTakeNoClick()
{
    m_env->times = {OnePairSeed};
    m_window->NewGameClick();
    // The visible part of slot 22 (left of slot 24) and a block tile.
    QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(120, 40));
    QTest::mouseClick(m_window->tile(1), Qt::LeftButton);
    QVERIFY(!m_window->game().selectionActive());
    QCOMPARE(shown(m_window->tile(22)), back());
}

void MainWindowTest::lastPairEndsTheGame()
{
    m_env->times = {OnePairSeed};
    m_window->NewGameClick();
    for (int i = 0; i < 7; ++i)
        m_window->Timer1Timer();
    QTest::mouseClick(m_window->tile(27), Qt::LeftButton);
    QTest::mouseClick(m_window->tile(25), Qt::LeftButton);
    // Left on top: 0-6, 2-5 and 3-5, which make no pair.
    QVERIFY(!m_window->tile(25)->isVisible());
    QVERIFY(!m_window->tile(27)->isVisible());
    QCOMPARE(m_window->statusText(StatusBar::VariantsPanel), QStringLiteral("0"));
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Game over"));
    QCOMPARE(m_window->statusText(StatusBar::TimePanel), QStringLiteral("7"));
    QCOMPARE(m_window->game().phase(), GamePhase::Stopped);
    QVERIFY(!m_window->timer()->isActive());
    for (SlotNumber s = 1; s <= 28; ++s)
        QVERIFY(!m_window->tile(s)->isEnabled());
    // The tiles left keep their tool tips.
    QCOMPARE(m_window->tile(24)->toolTip(), QStringLiteral("6"));
    // Pause does nothing now.
    release(m_window, Qt::Key_F4);
    QVERIFY(!m_window->button(QStringLiteral("Pause"))->isDown());
    QVERIFY(m_window->tile(24)->isVisible());
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Game over"));
}

void MainWindowTest::pauseAndResume_data()
{
    QTest::addColumn<std::uint32_t>("seed");
    QTest::addColumn<int>("pairsTaken");
    QTest::newRow("fresh deal") << OnePairSeed << 0;
    QTest::newRow("after removals") << WinnableSeed << 5;
}

void MainWindowTest::pauseAndResume()
{
    QFETCH(std::uint32_t, seed);
    QFETCH(int, pairsTaken);
    m_env->times = {seed};
    m_window->NewGameClick();
    const std::vector<Move> moves = pairsTaken ? clearingMoves(m_window->game()) : std::vector<Move>{};
    for (int i = 0; i < pairsTaken; ++i) {
        QTest::mouseClick(m_window->tile(moves[i].first), Qt::LeftButton);
        QTest::mouseClick(m_window->tile(moves[i].second), Qt::LeftButton);
    }
    const Game &game = m_window->game();
    std::array<bool, 28> onBoard{};
    bool turnedUp = false;
    for (SlotNumber s = 1; s <= 28; ++s) {
        onBoard[s - 1] = m_window->tile(s)->isVisible();
        turnedUp = turnedUp || game.turnedUp(s);
    }
    QCOMPARE(turnedUp, pairsTaken > 0);
    // A playable tile selected.
    SlotNumber selected = 28;
    while (!game.isPlayable(selected))
        --selected;
    QTest::mouseClick(m_window->tile(selected), Qt::LeftButton);
    SpeedButton *pause = m_window->button(QStringLiteral("Pause"));

    release(m_window, Qt::Key_F4);
    QCOMPARE(game.phase(), GamePhase::Paused);
    QVERIFY(pause->isDown());
    QVERIFY(!m_window->timer()->isActive());
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Pause"));
    for (SlotNumber s = 1; s <= 28; ++s)
        QVERIFY(!m_window->tile(s)->isVisible());
    QCOMPARE(int(game.hiddenTiles().size()), game.dominoesLeft());

    // The mouse on the button resumes just as the key does.
    QTest::mouseClick(pause, Qt::LeftButton);
    QCOMPARE(game.phase(), GamePhase::Running);
    QVERIFY(!pause->isDown());
    QVERIFY(m_window->timer()->isActive());
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Let's play..."));
    // Removed tiles stay gone; face-up ones come back with their plain face
    // (the selected one too, still selected), covered ones with the back.
    for (SlotNumber s = 1; s <= 28; ++s) {
        TileImage *tile = m_window->tile(s);
        QCOMPARE(tile->isVisible(), onBoard[s - 1]);
        if (tile->isVisible())
            QCOMPARE(shown(tile), game.isPlayable(s) ? face(game.slotDomino(s)) : back());
    }
    QVERIFY(game.selectionActive());
    QCOMPARE(game.selectedSlot(), selected);

    // A pause by mouse, a resume by key.
    QTest::mouseClick(pause, Qt::LeftButton);
    QVERIFY(pause->isDown());
    release(m_window, Qt::Key_F4);
    QVERIFY(!pause->isDown());
}

void MainWindowTest::pauseWithNoGameChangesNothing()
{
    SpeedButton *pause = m_window->button(QStringLiteral("Pause"));
    release(m_window, Qt::Key_F4);
    QVERIFY(!pause->isDown());
    QTest::mouseClick(pause, Qt::LeftButton);
    QVERIFY(!pause->isDown());
    QCOMPARE(m_window->game().phase(), GamePhase::Stopped);
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Press F2 to start"));
    QVERIFY(m_window->tile(1)->isVisible());
}

void MainWindowTest::inputDuringTheDealIsIgnored()
{
    m_env->times = {OnePairSeed, NoPairSeed, OnePairSeed};
    m_window->NewGameClick();
    // Events that arrive while the deal lets messages through: F4, F2 and a
    // click on a face-up tile.
    unsigned long time = 100;
    for (Qt::Key key : {Qt::Key_F4, Qt::Key_F2})
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            auto *event = new QKeyEvent(type, key, Qt::NoModifier);
            event->setTimestamp(time += 10);
            QCoreApplication::postEvent(m_window, event);
        }
    TileImage *top = m_window->tile(24);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(top, new QMouseEvent(type, QPointF(15, 30), top->mapToGlobal(QPointF(15, 30)),
                                                         Qt::LeftButton, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                         Qt::NoModifier));
    // The clock of the game before stands still while the deal runs.
    bool seenDuringTheDeal = false;
    bool clockRanDuringTheDeal = true;
    QMetaObject::invokeMethod(
        m_window,
        [&] {
            seenDuringTheDeal = m_window->game().dealing();
            clockRanDuringTheDeal = m_window->timer()->isActive() || m_window->game().clockRuns();
        },
        Qt::QueuedConnection);
    QVERIFY(m_window->timer()->isActive());
    m_window->NewGameClick();
    waitForKeys(m_window);
    QVERIFY(seenDuringTheDeal);
    QVERIFY(!clockRanDuringTheDeal);
    QCOMPARE(m_env->clockReadings, 3); // one deal of two attempts, no second deal
    QCOMPARE(m_window->game().phase(), GamePhase::Running);
    QVERIFY(!m_window->button(QStringLiteral("Pause"))->isDown());
    QVERIFY(!m_window->game().selectionActive());
    for (SlotNumber s = 1; s <= 28; ++s)
        QVERIFY(m_window->tile(s)->isVisible());
    QCOMPARE(shown(top), face(7));
}

void MainWindowTest::minimizeStopsTheClock()
{
    m_env->times = {OnePairSeed};
    m_window->NewGameClick();
    for (int i = 0; i < 3; ++i)
        m_window->Timer1Timer();

    // Other windows of the program go with the main window.
    QWidget other;
    other.show();
    m_window->setWindowState(Qt::WindowMinimized);
    QVERIFY(!m_window->timer()->isActive());
    QVERIFY(!other.isVisible());
    QCOMPARE(m_window->game().phase(), GamePhase::Running);
    m_window->setWindowState(Qt::WindowNoState);
    QVERIFY(m_window->timer()->isActive());
    QVERIFY(other.isVisible());
    m_window->Timer1Timer();
    QCOMPARE(m_window->statusText(StatusBar::TimePanel), QStringLiteral("4"));
}

void MainWindowTest::otherKeysDoNothing()
{
    for (Qt::Key key : {Qt::Key_F1, Qt::Key_F6, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape, Qt::Key_A})
        release(m_window, key);
    QCOMPARE(m_window->game().phase(), GamePhase::Stopped);
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Press F2 to start"));
}

QTEST_MAIN(MainWindowTest)
#include "tst_shell_mainwindow.moc"
