// What a screen reader finds in the program's windows, offscreen: the
// dominoes as buttons named by what and where they are, the toolbar, the
// status panels, the best players and the name entry.
// (Qt delivers no accessibility events where no screen reader listens, so
// the events a change raises are not seen here.)

#include "game/DominoSet.h"
#include "scores/windows/TEnter2HSC.h"
#include "scores/windows/TScoresForm.h"
#include "shell/Announcer.h"
#include "shell/Program.h"
#include "shell/SpeedButton.h"
#include "shell/StatusBar.h"
#include "shell/TForm1.h"
#include "shell/TileAccessible.h"
#include "shell/TileImage.h"
#include "support/Deals.h"
#include "support/ProgramStart.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
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
    void onePipIsNotPips();
    void placesAsThePlayerSeesThem_data();
    void placesAsThePlayerSeesThem();
    void coveredDominoesDoNotShow_data();
    void coveredDominoesDoNotShow();
    void removedAndPausedTilesAreNotExposed();
    void pressThatEndsTheGameReturnsAtOnce();
    void toolbarAndStatusPanels();
    void hintIsSpoken();
    void bestPlayersReadRowByRow();
    void nameFieldIsNamedByItsLabel();

private:
    QAccessibleInterface *tile(SlotNumber s) const { return QAccessible::queryAccessibleInterface(m_window->tile(s)); }
    void click(SlotNumber s) { QTest::mouseClick(m_window->tile(s), Qt::LeftButton); }
    // The domino a player sees at `point` of the board.
    QAccessibleInterface *tileAt(QPoint point) const
    {
        return QAccessible::queryAccessibleInterface(m_window->childAt(point));
    }

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

    QTest::newRow("face up") << QList<int>{} << 24 << "Domino 0-6, 6 pips, face up, top" << true << false;
    QTest::newRow("face down") << QList<int>{} << 1 << "Face-down domino, block, column 1, row 4" << false << false;
    QTest::newRow("selected") << QList<int>{24} << 24 << "Domino 0-6, 6 pips, face up, top" << true << true;
    QTest::newRow("selection moved off") << QList<int>{24, 26} << 24 << "Domino 0-6, 6 pips, face up, top" << true
                                         << false;
    QTest::newRow("selection moved on") << QList<int>{24, 26} << 26 << "Domino 2-5, 7 pips, face up, bar, column 2"
                                        << true << true;
    QTest::newRow("let go") << QList<int>{24, 24} << 24 << "Domino 0-6, 6 pips, face up, top" << true << false;
    // After a pause the selected domino shows no mark, and is still the selection.
    QTest::newRow("after a pause") << QList<int>{24, -1, -1} << 24 << "Domino 0-6, 6 pips, face up, top" << true
                                   << true;
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

void AccessibilityTest::onePipIsNotPips()
{
    QStringList names;
    for (DominoId id = 1; id <= DominoSet::Count; ++id)
        if (DominoSet::domino(id).pips <= 2)
            names.append(TileAccessible::name(id, true));
    names.sort();
    QCOMPARE(names, (QStringList{"Domino 0-0, 0 pips, face up", "Domino 0-1, 1 pip, face up",
                                 "Domino 0-2, 2 pips, face up", "Domino 1-1, 2 pips, face up"}));
}

void AccessibilityTest::placesAsThePlayerSeesThem_data()
{
    // Points of the board and the domino a player sees there: the one on
    // top where two overlap.
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QString>("place");
    QTest::newRow("lying across the top row") << QPoint(145, 40) << "top";
    QTest::newRow("top row, left half left open") << QPoint(120, 40) << "top row, left";
    QTest::newRow("top row, right") << QPoint(170, 88) << "top row, right";
    QTest::newRow("row of two below it") << QPoint(120, 100) << "second row, left";
    QTest::newRow("row of three, middle") << QPoint(145, 160) << "third row, middle";
    QTest::newRow("row of three, right") << QPoint(185, 200) << "third row, right";
    QTest::newRow("block, top left") << QPoint(90, 220) << "block, column 1, row 1";
    QTest::newRow("block, above the bar") << QPoint(120, 280) << "block, column 2, row 2";
    QTest::newRow("bar") << QPoint(150, 340) << "bar, column 3";
    QTest::newRow("block, below the bar") << QPoint(120, 380) << "block, column 2, row 3";
    QTest::newRow("block, bottom right") << QPoint(200, 450) << "block, column 4, row 4";
}

void AccessibilityTest::placesAsThePlayerSeesThem()
{
    QFETCH(QPoint, point);
    QFETCH(QString, place);
    QAccessibleInterface *iface = tileAt(point);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    const QString name = iface->text(QAccessible::Name);
    QVERIFY2(name.endsWith(QStringLiteral(", ") + place), qPrintable(name));
    QVERIFY2(name.startsWith(QStringLiteral("Domino ")) || name.startsWith(QStringLiteral("Face-down domino, ")),
             qPrintable(name));
}

void AccessibilityTest::coveredDominoesDoNotShow_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("shows");
    // The deal's one pair is bar, column 3 and bar, column 1.
    QTest::newRow("under the top") << QList<int>{} << QPoint(120, 40) << false;
    QTest::newRow("below the bar") << QList<int>{} << QPoint(120, 380) << false;
    QTest::newRow("above the bar") << QList<int>{} << QPoint(180, 280) << false;
    QTest::newRow("face down, free") << QList<int>{} << QPoint(120, 100) << true;
    QTest::newRow("block, bottom row") << QList<int>{} << QPoint(120, 420) << true;
    QTest::newRow("on top") << QList<int>{} << QPoint(150, 340) << true;
    QTest::newRow("bar gone above") << QList<int>{27, 25} << QPoint(90, 280) << true;
    QTest::newRow("bar gone below") << QList<int>{27, 25} << QPoint(150, 350) << true;
    QTest::newRow("bar beside gone") << QList<int>{27, 25} << QPoint(120, 380) << false;
}

void AccessibilityTest::coveredDominoesDoNotShow()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QPoint, point);
    for (int s : clicks)
        click(s);
    const QAccessible::State state = tileAt(point)->state();
    QTEST(!state.invisible, "shows");
    QTEST(!state.offscreen, "shows");
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
    int covered = 0;
    for (int i = 0; i < board->childCount(); ++i) {
        QCOMPARE(board->indexOfChild(board->child(i)), i);
        covered += board->child(i)->state().invisible;
    }
    // The top row's two under the top, two under each of the bar's two left.
    QCOMPARE(covered, 6);

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
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Game over"));
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
    // The pairs and the message are spoken as they change, the message with
    // the pairs; the clock is not spoken every second.
    QCOMPARE(bar->child(0)->role(), QAccessible::Notification);
    QCOMPARE(bar->child(1)->role(), QAccessible::StaticText);
    QCOMPARE(bar->child(2)->role(), QAccessible::Notification);
    QCOMPARE(bar->child(2)->text(QAccessible::Description), QStringLiteral("Variants: 1"));
    m_window->Timer1Timer();
    QCOMPARE(bar->child(1)->text(QAccessible::Name), QStringLiteral("Time: 1"));
}

void AccessibilityTest::hintIsSpoken()
{
    // The deal's one pair, 1-2 and 4-5 on the bar, as a notification; the
    // status bar stays as it was. A new game has nothing to say yet.
    QAccessibleInterface *notice = QAccessible::queryAccessibleInterface(m_window->announcer());
    m_window->GiveHint();
    QCOMPARE(notice->role(), QAccessible::Notification);
    QCOMPARE(notice->text(QAccessible::Name), QStringLiteral("Hint: Domino 1-2, 3 pips, face up, bar, column 1; "
                                                             "Domino 4-5, 9 pips, face up, bar, column 3"));
    QVERIFY(QAccessible::queryAccessibleInterface(m_window)->indexOfChild(notice) >= 0);
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Let's play..."));
    m_window->NewGameClick();
    QCOMPARE(QAccessible::queryAccessibleInterface(m_window)->indexOfChild(notice), -1);
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

void AccessibilityTest::nameFieldIsNamedByItsLabel()
{
    TEnter2HSC &entry = m_program->nameEntry();
    QAccessibleInterface *dialog = QAccessible::queryAccessibleInterface(&entry);
    QCOMPARE(dialog->text(QAccessible::Name), QStringLiteral("Congratulations!!!"));
    QVERIFY(!dialog->text(QAccessible::Description).isEmpty());
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(entry.nameField());
    QCOMPARE(field->text(QAccessible::Name).trimmed(), QStringLiteral("Your name:"));
    QAccessibleInterface *label = QAccessible::queryAccessibleInterface(entry.label(QStringLiteral("L3")));
    const auto labelledBy = field->relations(QAccessible::Label);
    QVERIFY(std::any_of(labelledBy.begin(), labelledBy.end(), [&](const auto &r) { return r.first == label; }));
    // A language pack changes the label, and the field's name follows.
    entry.label(QStringLiteral("L3"))->setText(QStringLiteral("Ihr Name:"));
    QCOMPARE(field->text(QAccessible::Name), QStringLiteral("Ihr Name:"));
}

QTEST_MAIN(AccessibilityTest)
#include "tst_shell_accessibility.moc"
