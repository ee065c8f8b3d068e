// A whole board played by keys on the main window offscreen: the focus on
// the playable dominoes in reading order, the arrows, Space and Enter as a
// click, Esc, keys with a modifier, the focus frame, and where the focus
// goes at a pause, the setup dialog, the statistics and the end of a game.

#include "shell/BoardKeys.h"
#include "shell/HelpWindow.h"
#include "shell/HintBlink.h"
#include "shell/Program.h"
#include "shell/SpeedButton.h"
#include "shell/TForm1.h"
#include "shell/TileImage.h"
#include "support/Deals.h"
#include "support/Keys.h"
#include "support/ProgramStart.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QKeySequence>
#include <QtTest>

namespace {

// Closes each modal window (the setup dialog, the name entry) as it shows,
// after `check` has looked at the main window behind it.
class ModalCloser
{
public:
    explicit ModalCloser(std::function<void()> check = {})
    {
        QObject::connect(&m_timer, &QTimer::timeout, [check] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                if (check)
                    check();
                modal->close();
            }
        });
        m_timer.start(20);
    }

private:
    QTimer m_timer;
};

} // namespace

class KeyboardPlayTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keysPlayTheBoard_data();
    void keysPlayTheBoard();
    void spaceActsBeforeTheNextKey_data();
    void spaceActsBeforeTheNextKey();
    void focusFrameOnlyAfterKeys();
    void focusLeavesTheBoardAndComesBack();
    void f1OnADominoOpensTheMainWindowTopic();
    void hBlinksAPairAndLeavesTheBoard();

private:
    void activate();
    SlotNumber focused() const;
    void pressKeys(const QString &keys);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Program> m_program;
    TForm1 *m_window = nullptr;
};

void KeyboardPlayTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_program = std::make_unique<Program>(m_env->environment);
    startPastFirstStartDialog(*m_program);
    m_window = &m_program->mainWindow();
    activate();

    // A board with six dominoes face up, taken by the mouse to that point:
    // 6-6 and 0-0 (24 and 25), 0-6 and 3-3 (26 and 27), then 3-6 and 0-3
    // (28 and 22). The bar gone, the bottom row of the block turns up: 5-6,
    // 0-1, 5-5, 0-2 (slots 1 to 4); with 22 gone, 20 (4-4) turns up; 23 is
    // 4-6. Read as a player reads the board: 23 at the top, 20 below it,
    // then the bottom row from left to right.
    Game &game = m_window->game();
    game.layOutDeal(dealWith({{24, 28}, {25, 1}, {26, 7}, {27, 19}, {28, 22}, {22, 4},
                              {1, 27}, {2, 2}, {3, 26}, {4, 3}}));
    game.countVariants();
    game.finishDeal();
    game.start();
    for (SlotNumber s : {24, 25, 26, 27, 28, 22})
        QTest::mouseClick(m_window->tile(s), Qt::LeftButton);
    QVERIFY(game.selectionActive() == false);
    QCOMPARE(game.dominoesLeft(), 22);
}

void KeyboardPlayTest::cleanup()
{
    m_program.reset();
    m_env.reset();
}

// The main window takes the keys: the offscreen platform leaves a closed
// dialog the active window.
void KeyboardPlayTest::activate()
{
    m_window->windowHandle()->requestActivate();
    QVERIFY(QTest::qWaitFor([this] { return QApplication::activeWindow() == m_window; }));
}

SlotNumber KeyboardPlayTest::focused() const
{
    const auto *tile = qobject_cast<TileImage *>(QApplication::focusWidget());
    return tile && tile->window() == m_window ? tile->slot() : 0;
}

// Keys by name, as QKeySequence writes them ("Tab", "Shift+Backtab"),
// each pressed and let go.
void KeyboardPlayTest::pressKeys(const QString &keys)
{
    for (const QString &name : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QKeyCombination key = QKeySequence::fromString(name)[0];
        QVERIFY2(key.key() != Qt::Key_unknown, qPrintable(name));
        release(m_window, key.key(), key.keyboardModifiers());
    }
}

void KeyboardPlayTest::keysPlayTheBoard_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<int>>("focus"); // the focused slot after each key
    QTest::addColumn<int>("selected");     // 0: nothing selected
    QTest::addColumn<QList<int>>("gone");  // the slots the keys took away

    QTest::newRow("Tab runs in reading order and wraps round")
        << "Tab Tab Tab Tab Tab Tab" << QList<int>{20, 1, 2, 3, 4, 23} << 0 << QList<int>{};
    QTest::newRow("Shift+Tab runs back and wraps round")
        << "Shift+Backtab Shift+Backtab Shift+Backtab" << QList<int>{4, 3, 2} << 0 << QList<int>{};
    QTest::newRow("arrows go to the nearest domino in their direction, or stay")
        << "Down Down Right Right Right Left Left Up Up Left"
        << QList<int>{20, 2, 3, 4, 4, 3, 2, 20, 23, 23} << 0 << QList<int>{};
    QTest::newRow("Space selects, Enter on its partner takes the pair, the focus goes next door")
        << "Tab Tab Space Right Return" << QList<int>{20, 1, 1, 2, 3} << 0 << QList<int>{1, 2};
    QTest::newRow("Space on a domino that makes no pair moves the selection")
        << "Space Tab Space" << QList<int>{23, 20, 20} << 20 << QList<int>{};
    QTest::newRow("Space on the selected domino lets it go")
        << "Space Space" << QList<int>{23, 23} << 0 << QList<int>{};
    QTest::newRow("Esc lets the selection go where the focus is elsewhere")
        << "Space Down Escape" << QList<int>{23, 20, 20} << 0 << QList<int>{};
    QTest::newRow("keys with Ctrl, Alt or Shift do nothing")
        << "Space Ctrl+Tab Ctrl+Down Alt+Left Shift+Right Shift+Space Ctrl+Return Alt+Space Shift+Escape"
        << QList<int>{23, 23, 23, 23, 23, 23, 23, 23, 23} << 23 << QList<int>{};
}

void KeyboardPlayTest::keysPlayTheBoard()
{
    QFETCH(QString, keys);
    QFETCH(QList<int>, focus);
    QFETCH(int, selected);
    QFETCH(QList<int>, gone);
    // After the pair the mouse took last, the focus is on the domino
    // nearest to the one the mouse clicked last: 23, beside 22.
    QCOMPARE(focused(), 23);

    const QStringList names = keys.split(QLatin1Char(' '));
    for (int i = 0; i < names.size(); ++i) {
        pressKeys(names[i]);
        QVERIFY2(focused() == focus[i], qPrintable(QStringLiteral("after %1: slot %2").arg(names[i]).arg(focused())));
    }
    const Game &game = m_window->game();
    QCOMPARE(game.selectionActive() ? game.selectedSlot() : 0, selected);
    for (SlotNumber s = 1; s <= 28; ++s) {
        if (game.isPlayable(s))
            QCOMPARE(game.tile(s).picture, s == selected ? TilePicture::MarkedFace : TilePicture::Face);
    }
    for (SlotNumber s : gone)
        QVERIFY(!m_window->tile(s)->isVisible());
    QCOMPARE(game.dominoesLeft(), 22 - int(gone.size()));
}

void KeyboardPlayTest::spaceActsBeforeTheNextKey_data()
{
    QTest::addColumn<Qt::Key>("next");
    QTest::newRow("Tab") << Qt::Key_Tab;
    QTest::newRow("Down") << Qt::Key_Down;
}

void KeyboardPlayTest::spaceActsBeforeTheNextKey()
{
    // Space acts as it is let go, once the window knows it was no repeat; a
    // key that comes meanwhile comes after it.
    QFETCH(Qt::Key, next);
    sendKey(m_window, QEvent::KeyPress, Qt::Key_Space, 5000);
    sendKey(m_window, QEvent::KeyRelease, Qt::Key_Space, 5050);
    sendKey(m_window, QEvent::KeyPress, next, 5060);
    sendKey(m_window, QEvent::KeyRelease, next, 5100);
    waitForKeys(m_window);
    QCOMPARE(m_window->game().selectedSlot(), 23);
    QVERIFY(m_window->game().selectionActive());
    QCOMPARE(focused(), 20);
}

void KeyboardPlayTest::focusFrameOnlyAfterKeys()
{
    // What the tile shows against its own picture.
    const auto framed = [](TileImage *tile) {
        const QImage shown = tile->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return shown != tile->picture().convertToFormat(QImage::Format_RGB32);
    };
    TileImage *top = m_window->tile(23);
    TileImage *below = m_window->tile(20);
    QCOMPARE(focused(), 23);
    QVERIFY(!framed(top));

    pressKeys(QStringLiteral("Tab"));
    QCOMPARE(focused(), 20);
    QVERIFY(framed(below));
    QVERIFY(!framed(top));
    // The frame lies on the tile's outer two pixels in yellow and black; the
    // face inside is untouched and can't be taken for the selection.
    const QImage shown = below->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage face = below->picture().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.copy(2, 2, 26, 56), face.copy(2, 2, 26, 56));
    bool yellow = false;
    for (int y = 0; y < 60; ++y)
        yellow = yellow || shown.pixel(0, y) == qRgb(255, 255, 0);
    QVERIFY(yellow);

    // A mouse click on the board's background hides it; the next key
    // brings it back where it was, and the one after moves it.
    QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(20, 200));
    QVERIFY(!framed(below));
    pressKeys(QStringLiteral("Down"));
    QCOMPARE(focused(), 20);
    QVERIFY(framed(below));
    pressKeys(QStringLiteral("Down"));
    QCOMPARE(focused(), 2);
    QVERIFY(framed(m_window->tile(2)));
    // A click on a domino plays it and takes the focus there, unframed.
    QTest::mouseClick(m_window->tile(3), Qt::LeftButton);
    QCOMPARE(focused(), 3);
    QVERIFY(!framed(m_window->tile(3)));
    QVERIFY(!framed(m_window->tile(2)));
}

void KeyboardPlayTest::focusLeavesTheBoardAndComesBack()
{
    pressKeys(QStringLiteral("Tab"));
    QCOMPARE(focused(), 20);

    // Paused, the board is hidden and the focus is on none of it; resumed,
    // it is back on the same domino.
    pressKeys(QStringLiteral("F4"));
    QCOMPARE(m_window->game().phase(), GamePhase::Paused);
    QCOMPARE(focused(), 0);
    pressKeys(QStringLiteral("F4"));
    QCOMPARE(focused(), 20);

    // The same for the setup dialog.
    SlotNumber whileOpen = -1;
    {
        ModalCloser closer([&] { whileOpen = focused(); });
        pressKeys(QStringLiteral("F3"));
    }
    QCOMPARE(whileOpen, 0);
    activate();
    QCOMPARE(focused(), 20);

    // F5 shows the statistics beside the board and hides them again; the
    // focus stays on the domino.
    pressKeys(QStringLiteral("F5"));
    QVERIFY(m_window->button(QStringLiteral("Stats"))->isDown());
    activate();
    QCOMPARE(focused(), 20);
    pressKeys(QStringLiteral("F5"));
    QVERIFY(!m_window->button(QStringLiteral("Stats"))->isDown());
    QCOMPARE(focused(), 20);

    // F2 deals afresh: the focus is on the first domino, the one at the top.
    // Taking 1-2 and 4-5 (25 and 27) ends the game, with the focus off the
    // board.
    m_env->times = {OnePairSeed};
    pressKeys(QStringLiteral("F2"));
    QCOMPARE(focused(), 24);
    {
        ModalCloser closer;
        pressKeys(QStringLiteral("Tab Space Tab Tab Space"));
    }
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Game over"));
    activate();
    QCOMPARE(focused(), 0);
    QCOMPARE(QApplication::focusWidget(), m_window);
    pressKeys(QStringLiteral("Tab Down Space"));
    QCOMPARE(focused(), 0);
    QCOMPARE(m_window->game().dominoesLeft(), 26);
}

void KeyboardPlayTest::f1OnADominoOpensTheMainWindowTopic()
{
    QDir(m_env->environment.programFolder).mkdir(QStringLiteral("LNG"));
    const QDir shipped(QStringLiteral(KELVOR_LNG_DIR));
    for (const QString &name : shipped.entryList(QDir::Files))
        QFile::copy(shipped.filePath(name), m_env->environment.programFolder + QStringLiteral("/LNG/") + name);
    pressKeys(QStringLiteral("Tab"));
    QCOMPARE(focused(), 20);
    QTest::keyClick(m_window->windowHandle(), Qt::Key_F1);
    HelpWindow &help = m_program->helpWindow();
    QVERIFY(help.isVisible());
    QCOMPARE(help.topic(), QStringLiteral("2"));
}

void KeyboardPlayTest::hBlinksAPairAndLeavesTheBoard()
{
    const auto painted = [this](SlotNumber s) { return m_window->tile(s)->grab().toImage(); };
    Game &game = m_window->game();
    pressKeys(QStringLiteral("Space")); // the player's own selection: 23
    std::map<SlotNumber, QImage> before, on;
    for (SlotNumber s : BoardKeys::readingOrder(game))
        before[s] = painted(s);
    pressKeys(QStringLiteral("H"));
    for (auto &[s, image] : before)
        on[s] = painted(s);
    m_window->hintBlink()->step();
    // The two that blink make a pair (the end-to-end games see the mark).
    QList<SlotNumber> blinking;
    for (auto &[s, image] : on)
        if (painted(s) != image)
            blinking << s;
    QCOMPARE(blinking.size(), 2);
    QCOMPARE(game.pipTotalAt(blinking[0]) + game.pipTotalAt(blinking[1]), DominoSet::PairTotal);
    // On, off, and then the board as it was, the selection with it.
    for (int phase = 2; phase <= HintBlink::Phases; ++phase)
        m_window->hintBlink()->step();
    QVERIFY(!m_window->hintBlink()->running());
    for (auto &[s, image] : before)
        QCOMPARE(painted(s), image);
    QCOMPARE(game.selectedSlot(), 23);
    QCOMPARE(game.dominoesLeft(), 22);
}

QTEST_MAIN(KeyboardPlayTest)
#include "tst_shell_keyboard.moc"
