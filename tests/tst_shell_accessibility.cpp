// What a screen reader finds in the program's windows, offscreen: the
// dominoes as buttons, the toolbar, the status panels and the best players.
// (Qt delivers no accessibility events where no screen reader listens, so
// the events a change raises are not seen here.)

#include "scores/windows/TEnter2HSC.h"
#include "scores/windows/TScoresForm.h"
#include "shell/Program.h"
#include "shell/SpeedButton.h"
#include "shell/StatusBar.h"
#include "shell/TForm1.h"
#include "shell/TileImage.h"
#include "support/Deals.h"
#include "support/ProgramStart.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QLabel>
#include <QTimer>
#include <QtTest>

namespace {

QStringList childNames(QAccessibleInterface *iface)
{
    QStringList names;
    for (int i = 0; i < iface->childCount(); ++i)
        names.append(iface->child(i)->text(QAccessible::Name));
    return names;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tiles_data();
    void tiles();
    void removedAndPausedTilesAreNotExposed();
    void pressThatEndsTheGameReturnsAtOnce();
    void toolbarAndStatusPanels();
    void bestPlayersReadRowByRow();

private:
    QAccessibleInterface *tile(SlotNumber s) const { return QAccessible::queryAccessibleInterface(m_window->tile(s)); }
    void click(SlotNumber s) { QTest::mouseClick(m_window->tile(s), Qt::LeftButton); }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Program> m_program;
    TForm1 *m_window = nullptr;
};

void AccessibilityTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_env->times = {OnePairSeed};
    m_program = std::make_unique<Program>(m_env->environment);
    startPastFirstStartDialog(*m_program);
    m_window = &m_program->mainWindow();
    m_window->NewGameClick();
}

void AccessibilityTest::cleanup()
{
    m_program.reset();
    m_env.reset();
}

void AccessibilityTest::tiles_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("selected");

    QTest::newRow("face up") << QList<int>{} << 24 << "Domino 0-6, 6 pips, face up" << true << false;
    QTest::newRow("face down") << QList<int>{} << 1 << "Face-down domino" << false << false;
    QTest::newRow("selected") << QList<int>{24} << 24 << "Domino 0-6, 6 pips, face up" << true << true;
    QTest::newRow("selection moved off") << QList<int>{24, 26} << 24 << "Domino 0-6, 6 pips, face up" << true
                                         << false;
    QTest::newRow("selection moved on") << QList<int>{24, 26} << 26 << "Domino 2-5, 7 pips, face up" << true << true;
    QTest::newRow("let go") << QList<int>{24, 24} << 24 << "Domino 0-6, 6 pips, face up" << true << false;
    // After a pause the selected domino shows no mark, and is still the selection.
    QTest::newRow("after a pause") << QList<int>{24, -1, -1} << 24 << "Domino 0-6, 6 pips, face up" << true << true;
}

void AccessibilityTest::tiles()
{
    QFETCH(QList<int>, clicks);
    QFETCH(int, slot);
    for (int s : clicks)
        s < 0 ? m_window->PauseClick() : click(s);
    QAccessibleInterface *iface = tile(slot);
    QCOMPARE(iface->role(), QAccessible::Button);
    QTEST(iface->text(QAccessible::Name), "name");
    QTEST(!iface->state().disabled, "enabled");
    QTEST(bool(iface->state().selected), "selected");
    QCOMPARE(m_window->game().selectionActive() && m_window->game().selectedSlot() == slot,
             bool(iface->state().selected));
}

void AccessibilityTest::removedAndPausedTilesAreNotExposed()
{
    QAccessibleInterface *board = QAccessible::queryAccessibleInterface(m_window);
    const int before = board->childCount();
    QVERIFY(board->indexOfChild(tile(25)) >= 0);
    click(27);
    click(25);
    QCOMPARE(board->childCount(), before - 2);
    QCOMPARE(board->indexOfChild(tile(25)), -1);
    for (int i = 0; i < board->childCount(); ++i) {
        QCOMPARE(board->indexOfChild(board->child(i)), i);
        QVERIFY(!board->child(i)->state().invisible);
    }

    m_env->times = {OnePairSeed};
    m_window->NewGameClick();
    m_window->PauseClick();
    QCOMPARE(board->childCount(), before - BoardFigure::SlotCount);
    // A screen reader's press is a click: it takes the pair.
    m_window->PauseClick();
    tile(27)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    tile(25)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(!m_window->tile(25)->isVisible());
    QVERIFY(tile(1)->actionInterface()->actionNames().isEmpty());
}

void AccessibilityTest::pressThatEndsTheGameReturnsAtOnce()
{
    // A best list that the deal's end, 26 dominoes left, enters.
    writeFileBytes(m_env->folder.filePath(QStringLiteral("scores.ini")), "[Kelvor]\r\n12DomLeft=28\r\n");
    m_env->times = {OnePairSeed};
    m_window->NewGameClick();
    QWidget &entry = m_program->nameEntry();
    bool returned = false;
    bool opened = false;
    bool openedAfterReturn = false;
    // The name entry is closed again as soon as it shows, as a player would.
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, &entry, [&] {
        if (!entry.isVisible())
            return;
        opened = true;
        openedAfterReturn = returned;
        entry.close();
    });
    poll.start();
    // The screen reader waits for its press to return: it must not wait
    // for the player to enter a name.
    tile(27)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    tile(25)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    returned = true;
    QTRY_VERIFY(opened);
    QVERIFY(openedAfterReturn);
    QCOMPARE(m_window->statusText(TForm1::MessagePanel), QStringLiteral("Game over"));
}

void AccessibilityTest::toolbarAndStatusPanels()
{
    for (const char *name : {"NewGame", "Pause", "Options", "Stats", "About", "Help"}) {
        SpeedButton *button = m_window->button(QString::fromLatin1(name));
        QVERIFY(!button->toolTip().isEmpty());
        QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), button->toolTip());
    }
    // A language changes the hints, and the names follow.
    m_window->button(QStringLiteral("Help"))->setToolTip(QStringLiteral("Spielhilfe (F1)"));
    QCOMPARE(QAccessible::queryAccessibleInterface(m_window->button(QStringLiteral("Help")))->text(QAccessible::Name),
             QStringLiteral("Spielhilfe (F1)"));

    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(m_window->statusBar());
    QCOMPARE(bar->role(), QAccessible::StatusBar);
    QCOMPARE(childNames(bar), (QStringList{"Variants: 1", "Time: 0", "Let's play..."}));
    m_window->Timer1Timer();
    QCOMPARE(bar->child(1)->text(QAccessible::Name), QStringLiteral("Time: 1"));
}

void AccessibilityTest::bestPlayersReadRowByRow()
{
    TScoresForm &stats = m_program->scoresForm();
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&stats);
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(stats.label(QStringLiteral("LName")));
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Best players"));
    QCOMPARE(childNames(list), QStringList(12, QStringLiteral("Somebody, 24, 999")));
    // The columns are read within the rows, not again on their own.
    QVERIFY(window->indexOfChild(list) >= 0);
    QCOMPARE(window->indexOfChild(QAccessible::queryAccessibleInterface(stats.label(QStringLiteral("LTime")))), -1);
}

QTEST_MAIN(AccessibilityTest)
#include "tst_shell_accessibility.moc"
