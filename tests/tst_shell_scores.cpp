// The statistics window, the name entry for a best result and the scores
// file, driven through the whole program offscreen.

#include "language/windows/LinesLabel.h"
#include "platform/ProfileDocument.h"
#include "scores/Statistics.h"
#include "scores/windows/TEnter2HSC.h"
#include "scores/windows/TScoresForm.h"
#include "shell/EndSignals.h"
#include "shell/Program.h"
#include "shell/SpeedButton.h"
#include "shell/TForm1.h"
#include "shell/TileImage.h"
#include "support/Deals.h"
#include "support/Keys.h"
#include "support/ProgramStart.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <csignal>
#include <functional>

namespace {

// The game of OnePairSeed ends with 26 dominoes left.
constexpr int SeedGameDominoesLeft = 26;

const QString GameSection = QStringLiteral("Kelvor");
const QString FamilySection = QStringLiteral("Tolvane...");
const QString RowEnd = QStringLiteral("\n\r");

// A best list written by hand: entry n is (name, dominoes left, time).
struct Entry
{
    const char *name;
    int dominoesLeft;
    int time;
};

QByteArray bestList(const QList<Entry> &entries)
{
    QByteArray text;
    for (int n = 1; n <= entries.size(); ++n) {
        const QByteArray k = QByteArray::number(n);
        const Entry &e = entries[n - 1];
        text += k + "Name=" + e.name + "\r\n" + k + "DomLeft=" + QByteArray::number(e.dominoesLeft) + "\r\n" + k
                + "Time=" + QByteArray::number(e.time) + "\r\n";
    }
    return text;
}

// What a name entry looked like while it was open.
struct DialogSeen
{
    bool opened = false;
    bool modal = false;
    bool leftOpen = false;
    QString time;
    QString dominoesLeft;
    QString name;
    bool nameEnabled = false;
    QPoint position;
    QSize outerSize;
};


// Whether a widget stands where the design put it. A label sizes itself to
// its text and keeps only its anchor: its left edge, its right edge when
// right-aligned, its centre when centred, and its top.
bool standsAt(const QWidget *widget, const QRect &design)
{
    const auto *label = qobject_cast<const QLabel *>(widget);
    if (!label)
        return widget->geometry() == design;
    const QRect at = widget->geometry();
    const Qt::Alignment horizontal = label->alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal == Qt::AlignRight)
        return at.top() == design.top() && at.right() == design.right();
    if (horizontal == Qt::AlignHCenter)
        return at.top() == design.top() && qAbs(at.left() + at.right() - design.left() - design.right()) <= 1;
    return at.topLeft() == design.topLeft();
}

} // namespace

class ShellScoresTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    // The statistics window
    void statisticsWindowLayout();
    void statisticsWindowEnglishTexts();
    void noScoresFileShowsDefaults();
    void numbersShowAsPlainIntegers();
    void statisticsWindowStandsRightOfTheMainWindow();
    void f5AndTheButtonToggleTheWindow();
    void closingTheWindowReleasesTheButton_data();
    void closingTheWindowReleasesTheButton();
    void openWindowFollowsANewGame();

    // The name entry
    void nameEntryLayout();
    void centredOver_data();
    void centredOver();
    void qualifyingResultIsEnteredAndSorted();
    void nameIsCutAndEnterConfirmsOnce_data();
    void nameIsCutAndEnterConfirmsOnce();
    void emptyNameIsAnEmptyRow();
    void unconfirmedResultIsNotRecorded_data();
    void unconfirmedResultIsNotRecorded();
    void wonGameCountsInBothSections_data();
    void wonGameCountsInBothSections();
    void minimizingKeepsTheNameEntryOpen();

    // The scores file through the game
    void firstGameCreatesTheFile();
    void abandonedGameCountsOnlyItsStart();
    void countersWrapRound();
    void redealsCountOnce();
    void spareEntryBetterThanTwelveMovesIn();
    void otherGamesKeysSurviveEveryWrite();
    void closingTheMainWindowWritesTheScores();
    void unwritableFolderLeavesTheGamePlayable_data();
    void unwritableFolderLeavesTheGamePlayable();
    void notANumberIsReportedOnceUntilRepaired();

private:
    void startProgram();
    QString scoresPath() const { return m_env->folder.filePath(QStringLiteral("scores.ini")); }
    QString fileValue(const QString &section, const QString &key) const;
    QLabel *statsLabel(const char *name) const;
    QStringList rows(const char *label) const;
    DialogSeen playSeedGame(int seconds, const std::function<void(TEnter2HSC &)> &onDialog = {}, bool win = false,
                            bool hint = false);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Program> m_program;
    TForm1 *m_window = nullptr;
    TScoresForm *m_stats = nullptr;
};

void ShellScoresTest::startProgram()
{
    if (!m_env)
        m_env = std::make_unique<TestEnvironment>();
    m_program = std::make_unique<Program>(m_env->environment);
    startPastFirstStartDialog(*m_program);
    m_window = &m_program->mainWindow();
    m_stats = &m_program->scoresForm();
}

void ShellScoresTest::cleanup()
{
    m_program.reset();
    m_env.reset();
    m_window = nullptr;
    m_stats = nullptr;
}

QString ShellScoresTest::fileValue(const QString &section, const QString &key) const
{
    return ProfileDocument::fromBytes(readFileBytes(scoresPath())).readString(section, key, QStringLiteral("<missing>"));
}

QLabel *ShellScoresTest::statsLabel(const char *name) const
{
    return m_stats->findChild<QLabel *>(QString::fromLatin1(name));
}

QStringList ShellScoresTest::rows(const char *label) const
{
    return LinesLabel::splitLines(statsLabel(label)->text());
}

// Deals the seed game, lets `seconds` of play pass and takes the one pair,
// which ends the game; or, to `win`, deals a game that can be won and clears
// the board; with `hint`, after H. When the name entry opens, `onDialog`
// runs in it and should close it; a dialog left open is rejected here.
DialogSeen ShellScoresTest::playSeedGame(int seconds, const std::function<void(TEnter2HSC &)> &onDialog, bool win,
                                         bool hint)
{
    DialogSeen seen;
    m_env->times = {win ? WinnableSeed : OnePairSeed};
    release(m_window, Qt::Key_F2);
    if (hint)
        release(m_window, Qt::Key_H);
    const std::vector<Move> moves = win ? clearingMoves(m_window->game()) : std::vector<Move>{{27, 25}};
    if (moves.empty())
        QTest::qFail("the game to win cannot be won", __FILE__, __LINE__);
    for (int i = 0; i < seconds; ++i)
        m_window->Timer1Timer();

    TEnter2HSC &dialog = m_program->nameEntry();
    QTimer driver;
    driver.setInterval(0);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (seen.opened || !dialog.isVisible())
            return;
        seen.opened = true;
        seen.modal = QApplication::activeModalWidget() == &dialog;
        seen.time = dialog.label(QStringLiteral("L4"))->text();
        seen.dominoesLeft = dialog.label(QStringLiteral("L5"))->text();
        seen.name = dialog.nameField()->text();
        seen.nameEnabled = dialog.nameField()->isEnabled();
        seen.position = dialog.pos();
        seen.outerSize = dialog.frameGeometry().size();
        if (onDialog)
            onDialog(dialog);
        if (dialog.isVisible()) {
            seen.leftOpen = true;
            dialog.reject();
        }
    });
    driver.start();
    for (auto [first, second] : moves) {
        QTest::mouseClick(m_window->tile(first), Qt::LeftButton);
        QTest::mouseClick(m_window->tile(second), Qt::LeftButton);
    }
    driver.stop();

    if (m_window->game().phase() != GamePhase::Stopped
        || m_window->game().dominoesLeft() != (win ? 0 : SeedGameDominoesLeft))
        QTest::qFail("the game did not end as planned", __FILE__, __LINE__);
    return seen;
}

// ---------------------------------------------------------------------------
// The statistics window

void ShellScoresTest::statisticsWindowLayout()
{
    startProgram();
    QCOMPARE(m_stats->objectName(), QStringLiteral("ScoresForm"));
    QCOMPARE(m_stats->size(), QSize(323, 473));
    QCOMPARE(m_stats->minimumSize(), QSize(323, 473));
    QCOMPARE(m_stats->maximumSize(), QSize(323, 473));
    QVERIFY(!m_stats->isVisible());
    const Qt::WindowFlags flags = m_stats->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    const struct
    {
        const char *name;
        const char *parent;
        QRect geometry;
    } controls[] = {
        {"Panel2", "ScoresForm", {2, 13, 320, 89}},     {"ScoresAllGames", "Panel2", {3, 3, 314, 14}},
        {"LL1", "Panel2", {100, 22, 61, 13}},           {"LL2", "Panel2", {74, 46, 89, 13}},
        {"LL3", "Panel2", {103, 70, 59, 13}},           {"Panel1", "ScoresForm", {2, 113, 320, 89}},
        {"ScoresGame", "Panel1", {3, 3, 314, 14}},      {"L1", "Panel1", {100, 22, 61, 13}},
        {"L2", "Panel1", {74, 46, 89, 13}},             {"L3", "Panel1", {103, 70, 59, 13}},
        {"L7", "ScoresForm", {5, 210, 316, 17}},        {"Bevel1", "ScoresForm", {5, 227, 316, 2}},
        {"L8", "ScoresForm", {12, 242, 17, 13}},        {"L9", "ScoresForm", {48, 242, 121, 13}},
        {"L10", "ScoresForm", {184, 234, 65, 26}},      {"L11", "ScoresForm", {264, 242, 57, 13}},
        {"Bevel3", "ScoresForm", {5, 265, 316, 2}},     {"Bevel2", "ScoresForm", {40, 229, 2, 210}},
        {"Bevel4", "ScoresForm", {176, 229, 2, 210}},   {"Bevel5", "ScoresForm", {256, 229, 2, 210}},
        {"L12", "ScoresForm", {5, 274, 30, 160}},       {"LName", "ScoresForm", {48, 274, 121, 160}},
        {"LDomLeft", "ScoresForm", {184, 274, 65, 160}}, {"LTime", "ScoresForm", {264, 274, 56, 160}},
        {"Bevel6", "ScoresForm", {5, 439, 316, 2}},     {"CloseButt", "ScoresForm", {5, 445, 316, 25}},
    };
    for (const auto &c : controls) {
        const QList<QWidget *> found = m_stats->findChildren<QWidget *>(QString::fromLatin1(c.name));
        QVERIFY2(found.size() == 1, c.name);
        QCOMPARE(found.first()->parentWidget()->objectName(), QString::fromLatin1(c.parent));
        QVERIFY2(standsAt(found.first(), c.geometry), c.name);
    }

    // The counters stand at left 168, one beside each caption, and are
    // wide enough for their numbers.
    const int tops[] = {22, 46, 70};
    for (const char *prefix : {"L", "LL"}) {
        for (int i = 0; i < 3; ++i) {
            const QByteArray name = prefix + QByteArray::number(i + 4);
            QLabel *value = statsLabel(name.constData());
            QVERIFY2(value, name.constData());
            QCOMPARE(value->parentWidget()->objectName(), QString::fromLatin1(prefix[1] ? "Panel2" : "Panel1"));
            QCOMPARE(value->geometry().topLeft(), QPoint(168, tops[i]));
            QCOMPARE(value->height(), 13);
            QVERIFY(value->width() >= value->fontMetrics().horizontalAdvance(value->text()));
        }
    }

    // The four columns of the best list take LF CR as one break and line
    // up row for row.
    for (const char *name : {"L12", "LName", "LDomLeft", "LTime"})
        QVERIFY2(qobject_cast<LinesLabel *>(statsLabel(name)), name);
}

void ShellScoresTest::statisticsWindowEnglishTexts()
{
    startProgram();
    QCOMPARE(m_stats->windowTitle(), QStringLiteral("Game statistics"));
    const struct
    {
        const char *name;
        const char *text;
    } texts[] = {
        {"ScoresAllGames", "All 'Tolvane...' Games"},
        {"ScoresGame", "Tolvane: Kelvor"},
        {"LL1", "Total games:"},
        {"LL2", "Successfuly games:"},
        {"LL3", "Games won:"},
        {"L1", "Total games:"},
        {"L2", "Successfuly games:"},
        {"L3", "Games won:"},
        {"L7", "Best players"},
        {"L8", "#"},
        {"L9", "Name / Nickname"},
        {"L10", "Dominoes\n\r left"},
        {"L11", "Time"},
    };
    for (const auto &t : texts)
        QCOMPARE(statsLabel(t.name)->text(), QString::fromLatin1(t.text));
    QCOMPARE(m_stats->findChild<QPushButton *>(QStringLiteral("CloseButt"))->text(), QStringLiteral("Close"));
    // The heading shows on two lines.
    QCOMPARE(rows("L10"), (QStringList{QStringLiteral("Dominoes"), QStringLiteral(" left")}));
}

void ShellScoresTest::noScoresFileShowsDefaults()
{
    startProgram();
    for (const char *name : {"L4", "L5", "L6", "LL4", "LL5", "LL6"})
        QCOMPARE(statsLabel(name)->text(), QStringLiteral("0"));
    QCOMPARE(statsLabel("LName")->text(), QStringLiteral("Somebody\n\r").repeated(12));
    QCOMPARE(statsLabel("LDomLeft")->text(), QStringLiteral("24\n\r").repeated(12));
    QCOMPARE(statsLabel("LTime")->text(), QStringLiteral("999\n\r").repeated(12));
    QString numbers;
    for (int row = 1; row <= 12; ++row)
        numbers += QString::number(row) + RowEnd;
    QCOMPARE(statsLabel("L12")->text(), numbers);
    // Reading creates nothing.
    QVERIFY(!QFile::exists(scoresPath()));
    QVERIFY(m_env->messages.messages.isEmpty());
}

void ShellScoresTest::numbersShowAsPlainIntegers()
{
    // A locale that groups digits must not show in the window.
    const QLocale savedLocale;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    auto restore = qScopeGuard([&] { QLocale::setDefault(savedLocale); });

    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Tolvane...]\r\nGamesWas=1234567\r\nGamesSucc=23456\r\nGamesEnd=3456\r\n"
                            "[Kelvor]\r\nGamesWas=12345\r\nGamesSucc=2345\r\nGamesEnd=345\r\n"
                            + bestList({{"Ann", 0, 12345}, {"Bob", 1, -5}}) + "13Name=Hidden\r\n13Time=1\r\n");
    startProgram();
    QCOMPARE(statsLabel("L4")->text(), QStringLiteral("12345"));
    QCOMPARE(statsLabel("L5")->text(), QStringLiteral("2345"));
    QCOMPARE(statsLabel("L6")->text(), QStringLiteral("345"));
    QCOMPARE(statsLabel("LL4")->text(), QStringLiteral("1234567"));
    QCOMPARE(statsLabel("LL5")->text(), QStringLiteral("23456"));
    QCOMPARE(statsLabel("LL6")->text(), QStringLiteral("3456"));
    for (const char *name : {"LL4", "L4"})
        QVERIFY(statsLabel(name)->width() >= statsLabel(name)->fontMetrics().horizontalAdvance(statsLabel(name)->text()));

    const QStringList names = rows("LName");
    const QStringList dominoes = rows("LDomLeft");
    const QStringList times = rows("LTime");
    QCOMPARE(names.size(), 12);
    QCOMPARE(names.mid(0, 3), (QStringList{"Ann", "Bob", "Somebody"}));
    QCOMPARE(dominoes.mid(0, 3), (QStringList{"0", "1", "24"}));
    QCOMPARE(times.mid(0, 3), (QStringList{"12345", "-5", "999"}));
    // Entry 13 is not shown.
    QVERIFY(!statsLabel("LName")->text().contains(QStringLiteral("Hidden")));
}

void ShellScoresTest::statisticsWindowStandsRightOfTheMainWindow()
{
    startProgram();
    release(m_window, Qt::Key_F5);
    const QRect main = m_window->frameGeometry();
    QCOMPARE(m_stats->pos().y(), main.top());
    // Beside the main window's frame, with no gap.
    QCOMPARE(m_stats->pos().x(), main.left() + main.width());
    // Placed once: moving the main window does not move it, nor does
    // showing it again.
    const QPoint placed = m_stats->pos();
    release(m_window, Qt::Key_F5);
    m_window->move(40, 30);
    release(m_window, Qt::Key_F5);
    QCOMPARE(m_stats->pos(), placed);
}

void ShellScoresTest::f5AndTheButtonToggleTheWindow()
{
    startProgram();
    SpeedButton *stats = m_window->button(QStringLiteral("Stats"));
    QVERIFY(!stats->isDown());

    release(m_window, Qt::Key_F5);
    QVERIFY(m_stats->isVisible());
    QVERIFY(stats->isDown());
    QVERIFY(m_window->isVisible());
    release(m_window, Qt::Key_F5);
    QVERIFY(!m_stats->isVisible());
    QVERIFY(!stats->isDown());

    QTest::mouseClick(stats, Qt::LeftButton);
    QVERIFY(m_stats->isVisible());
    QVERIFY(stats->isDown());
    QTest::mouseClick(stats, Qt::LeftButton);
    QVERIFY(!m_stats->isVisible());
    QVERIFY(!stats->isDown());

    // Key and mouse mixed.
    release(m_window, Qt::Key_F5);
    QTest::mouseClick(stats, Qt::LeftButton);
    QVERIFY(!m_stats->isVisible());
    QVERIFY(!stats->isDown());
}

void ShellScoresTest::closingTheWindowReleasesTheButton_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Close button") << QStringLiteral("button");
    QTest::newRow("close box") << QStringLiteral("close box");
    QTest::newRow("minimized by the window manager") << QStringLiteral("minimize");
}

void ShellScoresTest::closingTheWindowReleasesTheButton()
{
    QFETCH(QString, how);
    startProgram();
    SpeedButton *stats = m_window->button(QStringLiteral("Stats"));
    release(m_window, Qt::Key_F5);
    QVERIFY(stats->isDown());
    if (how == QLatin1String("button"))
        QTest::mouseClick(m_stats->findChild<QPushButton *>(QStringLiteral("CloseButt")), Qt::LeftButton);
    else if (how == QLatin1String("close box"))
        QVERIFY(m_stats->close());
    else
        m_stats->setWindowState(Qt::WindowMinimized);
    QVERIFY(!m_stats->isShowing());
    QVERIFY(!stats->isDown());
    // The next F5 shows it again rather than closing it.
    release(m_window, Qt::Key_F5);
    QVERIFY(m_stats->isShowing());
    QVERIFY(stats->isDown());
    // Minimized and restored by the window manager, the button follows.
    m_stats->setWindowState(Qt::WindowMinimized);
    QVERIFY(!stats->isDown());
    m_stats->setWindowState(Qt::WindowNoState);
    QVERIFY(stats->isDown());
}

void ShellScoresTest::openWindowFollowsANewGame()
{
    startProgram();
    release(m_window, Qt::Key_F5);
    QVERIFY(m_stats->isVisible());
    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2);
    QCOMPARE(statsLabel("L4")->text(), QStringLiteral("1"));
    QCOMPARE(statsLabel("LL4")->text(), QStringLiteral("1"));
    QCOMPARE(statsLabel("L5")->text(), QStringLiteral("0"));
    QVERIFY(m_stats->isVisible());
}

// ---------------------------------------------------------------------------
// The name entry

void ShellScoresTest::nameEntryLayout()
{
    startProgram();
    TEnter2HSC &dialog = m_program->nameEntry();
    QCOMPARE(dialog.objectName(), QStringLiteral("Enter2HSC"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Congratulations!!!"));
    QCOMPARE(dialog.size(), QSize(240, 100));
    QCOMPARE(dialog.minimumSize(), QSize(240, 100));
    QCOMPARE(dialog.maximumSize(), QSize(240, 100));
    QVERIFY(dialog.isModal());
    QVERIFY(!dialog.isVisible());
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));

    const struct
    {
        const char *name;
        QRect geometry;
        const char *text;
        Qt::Alignment alignment;
    } labels[] = {
        {"L1", {0, 10, 123, 13}, "Your time:", Qt::AlignRight},
        {"L2", {0, 30, 123, 13}, "Dominoes left:", Qt::AlignRight},
        {"L3", {0, 50, 123, 13}, "Your name: ", Qt::AlignRight},
        {"L4", {128, 10, 30, 13}, nullptr, Qt::AlignHCenter},
        {"L5", {128, 30, 30, 13}, nullptr, Qt::AlignHCenter},
    };
    for (const auto &l : labels) {
        QLabel *label = dialog.label(QString::fromLatin1(l.name));
        QVERIFY2(label, l.name);
        QVERIFY2(standsAt(label, l.geometry), l.name);
        QVERIFY2(label->font().bold(), l.name);
        QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, l.alignment);
        if (l.text)
            QCOMPARE(label->text(), QString::fromLatin1(l.text));
    }

    QLineEdit *edit = dialog.nameField();
    QCOMPARE(edit->objectName(), QStringLiteral("Edit1"));
    QCOMPARE(edit->geometry(), QRect(122, 48, 116, 19));
    QCOMPARE(edit->maxLength(), 18);
    QPushButton *button = dialog.confirmButton();
    QCOMPARE(button->objectName(), QStringLiteral("Button1"));
    QCOMPARE(button->geometry(), QRect(8, 72, 225, 25));
    QCOMPARE(button->text(), QStringLiteral("Add me to CHAMPIONS!!!"));
    // Tab order: the name field first, then the button.
    QList<QWidget *> tabOrder;
    for (QWidget *w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            tabOrder.append(w);
    QCOMPARE(tabOrder, (QList<QWidget *>{edit, button}));

    // The name field and the button write every character equally wide;
    // the labels do not.
    for (QWidget *fixed : {static_cast<QWidget *>(edit), static_cast<QWidget *>(button)}) {
        const QFontMetrics metrics(fixed->font());
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("iiiiii")), metrics.horizontalAdvance(QStringLiteral("WWWWWW")));
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("......")), metrics.horizontalAdvance(QStringLiteral("MMMMMM")));
    }
    const QFontMetrics labelMetrics(dialog.label(QStringLiteral("L1"))->font());
    QVERIFY(labelMetrics.horizontalAdvance(QStringLiteral("iiiiii")) != labelMetrics.horizontalAdvance(QStringLiteral("WWWWWW")));
}

void ShellScoresTest::centredOver_data()
{
    QTest::addColumn<QRect>("over");
    QTest::addColumn<QSize>("dialog");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("main window at the origin") << QRect(0, 0, 290, 470) << QSize(240, 100) << QPoint(25, 185);
    QTest::newRow("odd surplus is cut") << QRect(100, 50, 291, 471) << QSize(240, 100) << QPoint(125, 235);
    QTest::newRow("smaller window: negative offset") << QRect(10, 20, 100, 50) << QSize(240, 100) << QPoint(-60, -5);
    // -139 / 2 and -49 / 2 are cut towards zero, not rounded down.
    QTest::newRow("odd negative offset is cut towards zero")
        << QRect(0, 0, 101, 51) << QSize(240, 100) << QPoint(-69, -24);
    QTest::newRow("window off the screen's left") << QRect(-300, -10, 294, 474) << QSize(244, 104)
                                                  << QPoint(-275, 175);
}

void ShellScoresTest::centredOver()
{
    QFETCH(QRect, over);
    QFETCH(QSize, dialog);
    QFETCH(QPoint, expected);
    QCOMPARE(TEnter2HSC::centredOver(over, dialog), expected);
}

void ShellScoresTest::qualifyingResultIsEnteredAndSorted()
{
    // Entry 12 is worse than the seed game's 26 dominoes left; entry 3 ties
    // with it in both, entry 4 only in dominoes.
    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Tolvane...]\r\nGamesWas=100\r\nGamesSucc=30\r\nGamesEnd=20\r\n"
                            "[Kelvor]\r\nGamesWas=10\r\nGamesSucc=3\r\nGamesEnd=2\r\n"
                            + bestList({{"Ann", 20, 100},
                                        {"Bob", 22, 50},
                                        {"Cy", 26, 7},
                                        {"Dee", 26, 8},
                                        {"E5", 27, 1},
                                        {"E6", 27, 2},
                                        {"E7", 28, 1},
                                        {"E8", 28, 2},
                                        {"E9", 29, 1},
                                        {"E10", 29, 2},
                                        {"E11", 29, 3},
                                        {"Last", 30, 999},
                                        {"Spare", 31, 999}}));
    startProgram();
    release(m_window, Qt::Key_F5); // the window is open while the game ends

    const DialogSeen seen = playSeedGame(7, [](TEnter2HSC &dialog) {
        QTest::keyClicks(dialog.nameField(), QStringLiteral("Zed"));
        QTest::keyClick(dialog.nameField(), Qt::Key_Return);
    });
    QVERIFY(seen.opened);
    QVERIFY(!seen.leftOpen);
    QVERIFY(seen.modal);
    QCOMPARE(seen.time, QStringLiteral("7"));
    QCOMPARE(seen.dominoesLeft, QStringLiteral("26"));
    QCOMPARE(seen.name, QString()); // the first entry of the run
    QVERIFY(seen.nameEnabled);
    QVERIFY(!m_program->nameEntry().isVisible());

    // Behind the entry it ties with, ahead of the one with a longer time;
    // the old entry 12 drops out of view.
    const QStringList expectedNames{"Ann", "Bob", "Cy", "Zed", "Dee", "E5", "E6", "E7", "E8", "E9", "E10", "E11"};
    QCOMPARE(rows("LName"), expectedNames);
    QCOMPARE(rows("LDomLeft"), (QStringList{"20", "22", "26", "26", "26", "27", "27", "28", "28", "29", "29", "29"}));
    QCOMPARE(rows("LTime"), (QStringList{"100", "50", "7", "7", "8", "1", "2", "1", "2", "1", "2", "3"}));
    QCOMPARE(statsLabel("L4")->text(), QStringLiteral("11"));
    QCOMPARE(statsLabel("L5")->text(), QStringLiteral("4"));
    QCOMPARE(statsLabel("L6")->text(), QStringLiteral("2")); // not won: dominoes are left
    QCOMPARE(statsLabel("LL4")->text(), QStringLiteral("101"));
    QCOMPARE(statsLabel("LL5")->text(), QStringLiteral("31"));
    QCOMPARE(statsLabel("LL6")->text(), QStringLiteral("20"));

    // Saved as shown, the old entry 12 in the spare place.
    for (int n = 1; n <= 12; ++n)
        QCOMPARE(fileValue(GameSection, QString::number(n) + "Name"), expectedNames[n - 1]);
    QCOMPARE(fileValue(GameSection, "4DomLeft"), QStringLiteral("26"));
    QCOMPARE(fileValue(GameSection, "4Time"), QStringLiteral("7"));
    QCOMPARE(fileValue(GameSection, "13Name"), QStringLiteral("Last"));
    QCOMPARE(fileValue(GameSection, "13DomLeft"), QStringLiteral("30"));
    QCOMPARE(fileValue(GameSection, "GamesWas"), QStringLiteral("11"));
    QCOMPARE(fileValue(GameSection, "GamesSucc"), QStringLiteral("4"));
    QCOMPARE(fileValue(GameSection, "GamesEnd"), QStringLiteral("2"));
    QCOMPARE(fileValue(FamilySection, "GamesWas"), QStringLiteral("101"));
    QCOMPARE(fileValue(FamilySection, "GamesSucc"), QStringLiteral("31"));
    QCOMPARE(fileValue(FamilySection, "GamesEnd"), QStringLiteral("20"));
    QCOMPARE(m_program->nameEntry().lastPlayerName(), QStringLiteral("Zed"));
    // The clock starts again from 0; the status bar keeps the final time.
    QCOMPARE(m_window->game().elapsedSeconds(), 0);
    QCOMPARE(m_window->statusText(StatusBar::TimePanel), QStringLiteral("7"));

    // The next qualifying game of the run offers the name last entered, at
    // the dialog's place centred over the main window.
    m_window->move(100, 40);
    const DialogSeen again = playSeedGame(3, [](TEnter2HSC &dialog) { dialog.confirmButton()->click(); });
    QVERIFY(again.opened);
    QCOMPARE(again.name, QStringLiteral("Zed"));
    QCOMPARE(again.time, QStringLiteral("3"));
    QCOMPARE(again.position, TEnter2HSC::centredOver(m_window->frameGeometry(), again.outerSize));
    QCOMPARE(rows("LName").mid(2, 3), (QStringList{"Zed", "Cy", "Zed"}));
    QCOMPARE(rows("LTime").mid(2, 3), (QStringList{"3", "7", "7"}));
    QCOMPARE(statsLabel("L5")->text(), QStringLiteral("5"));
    QCOMPARE(fileValue(GameSection, "13Name"), QStringLiteral("E11"));
    QVERIFY(m_env->messages.messages.isEmpty());
}

void ShellScoresTest::nameIsCutAndEnterConfirmsOnce_data()
{
    QTest::addColumn<bool>("onButton");
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("Enter in the name field") << false << Qt::Key_Return;
    QTest::newRow("Enter on the button") << true << Qt::Key_Return;
    QTest::newRow("keypad Enter on the button") << true << Qt::Key_Enter;
}

void ShellScoresTest::nameIsCutAndEnterConfirmsOnce()
{
    QFETCH(bool, onButton);
    QFETCH(Qt::Key, key);
    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Kelvor]\r\n12DomLeft=30\r\n");
    startProgram();
    const DialogSeen seen = playSeedGame(0, [&](TEnter2HSC &dialog) {
        QTest::keyClicks(dialog.nameField(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        QWidget *focused = dialog.nameField();
        if (onButton) {
            focused = dialog.confirmButton();
            focused->setFocus();
        }
        QTest::keyClick(focused, key);
        QTest::keyClick(focused, key);
    });
    QVERIFY(seen.opened);
    QVERIFY(!seen.leftOpen);
    // The dialog stands over the middle of the main window.
    QCOMPARE(seen.position, TEnter2HSC::centredOver(m_window->frameGeometry(), seen.outerSize));

    QCOMPARE(m_program->statistics().record().game.gamesSucc, 1);
    QCOMPARE(m_program->statistics().record().family.gamesSucc, 1);
    QCOMPARE(fileValue(GameSection, "GamesSucc"), QStringLiteral("1"));
    QCOMPARE(fileValue(FamilySection, "GamesSucc"), QStringLiteral("1"));
    // The default entries have fewer dominoes left: the new one is 12th.
    QCOMPARE(rows("LName").at(11), QStringLiteral("ABCDEFGHIJKLMNOPQR"));
    QCOMPARE(fileValue(GameSection, "12Name"), QStringLiteral("ABCDEFGHIJKLMNOPQR"));
    QCOMPARE(fileValue(GameSection, "12DomLeft"), QStringLiteral("26"));
    QCOMPARE(fileValue(GameSection, "12Time"), QStringLiteral("0"));
    // The field stays dead until the dialog shows again.
    QVERIFY(!m_program->nameEntry().nameField()->isEnabled());
}

void ShellScoresTest::emptyNameIsAnEmptyRow()
{
    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Kelvor]\r\n" + bestList({{"Ann", 1, 1}, {"Bob", 2, 2}, {"Cy", 30, 3}}) + "12DomLeft=30\r\n");
    startProgram();
    const DialogSeen seen = playSeedGame(5, [](TEnter2HSC &dialog) {
        QTest::keyClick(dialog.nameField(), Qt::Key_Return);
    });
    QVERIFY(seen.opened);
    QCOMPARE(m_program->statistics().record().game.gamesSucc, 1);

    // Ann, Bob, eight defaults, the new entry, then Cy: the names' row is
    // empty and the rows after it stay level with their numbers.
    const QString names = statsLabel("LName")->text();
    QCOMPARE(names, "Ann\n\rBob\n\r" + QStringLiteral("Somebody\n\r").repeated(8) + "\n\rCy\n\r");
    const QStringList nameRows = rows("LName");
    QCOMPARE(nameRows.size(), 12);
    QCOMPARE(nameRows.at(10), QString());
    QCOMPARE(rows("LDomLeft").at(10), QStringLiteral("26"));
    QCOMPARE(rows("LTime").at(10), QStringLiteral("5"));
    QCOMPARE(rows("L12").at(10), QStringLiteral("11"));
    QCOMPARE(fileValue(GameSection, "11Name"), QString());
    QCOMPARE(fileValue(GameSection, "11DomLeft"), QStringLiteral("26"));
}

void ShellScoresTest::unconfirmedResultIsNotRecorded_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("reject") << false;
    QTest::newRow("Escape, then closed by the window manager") << true;
}

void ShellScoresTest::unconfirmedResultIsNotRecorded()
{
    QFETCH(bool, escape);
    // Entry 1 stands out of order and the spare entry is better than entry
    // 12: only sorting at the end of the game puts them in place.
    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Kelvor]\r\n" + bestList({{"Slow", 27, 1}}) + "12Name=Last\r\n12DomLeft=30\r\n"
                                + "13Name=Spare\r\n13DomLeft=25\r\n13Time=4\r\n");
    startProgram();
    release(m_window, Qt::Key_F5);
    QCOMPARE(rows("LName").at(0), QStringLiteral("Slow"));
    const DialogSeen seen = playSeedGame(2, [escape](TEnter2HSC &dialog) {
        QTest::keyClicks(dialog.nameField(), QStringLiteral("Nobody"));
        if (escape) {
            // Escape is no way out of a dialog without a cancel button.
            QTest::keyClick(dialog.nameField(), Qt::Key_Escape);
            QVERIFY(dialog.isVisible());
            dialog.close();
        } else
            dialog.reject();
    });
    QVERIFY(seen.opened);
    QVERIFY(!seen.leftOpen);
    QCOMPARE(m_program->statistics().record().game.gamesSucc, 0);
    QCOMPARE(m_program->statistics().record().family.gamesSucc, 0);
    QCOMPARE(m_program->nameEntry().lastPlayerName(), QString());

    // Sorted, shown and saved all the same: ten defaults, the spare entry,
    // the slow one; the worst drops to the spare place.
    const QStringList expected = QStringList(10, QStringLiteral("Somebody")) << "Spare" << "Slow";
    QCOMPARE(rows("LName"), expected);
    QVERIFY(!statsLabel("LName")->text().contains(QStringLiteral("Nobody")));
    QCOMPARE(fileValue(GameSection, "11Name"), QStringLiteral("Spare"));
    QCOMPARE(fileValue(GameSection, "12Name"), QStringLiteral("Slow"));
    QCOMPARE(fileValue(GameSection, "13Name"), QStringLiteral("Last"));
    QCOMPARE(fileValue(GameSection, "GamesSucc"), QStringLiteral("0"));
    QCOMPARE(fileValue(GameSection, "GamesWas"), QStringLiteral("1"));
    QVERIFY(!readFileBytes(scoresPath()).contains("Nobody"));
}

enum class NameEntryEnd { Confirmed, Closed, SessionEnds, NotAsked };

void ShellScoresTest::wonGameCountsInBothSections_data()
{
    QTest::addColumn<NameEntryEnd>("end");
    QTest::newRow("name confirmed") << NameEntryEnd::Confirmed;
    QTest::newRow("name entry closed") << NameEntryEnd::Closed;
    // SIGHUP: as a confirmation would, with the name as typed so far.
    QTest::newRow("the session ends") << NameEntryEnd::SessionEnds;
    // The best list is for games played without a hint: no name is asked.
    QTest::newRow("after a hint") << NameEntryEnd::NotAsked;
}

void ShellScoresTest::wonGameCountsInBothSections()
{
    QFETCH(NameEntryEnd, end);
    const bool confirmed = end == NameEntryEnd::Confirmed || end == NameEntryEnd::SessionEnds;
    // The signals that end the game, and what they do (but for its last
    // step, the end of the program's event loop).
    EndSignals endSignals;
    connect(&endSignals, &EndSignals::endRequested, this, [this] { m_program->saveWithoutPlayer(); });
    const bool hint = end == NameEntryEnd::NotAsked;
    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Tolvane...]\r\nGamesEnd=20\r\n[Kelvor]\r\nGamesEnd=2\r\n");
    startProgram();
    const DialogSeen seen = playSeedGame(
        9,
        [&](TEnter2HSC &dialog) {
            QTest::keyClicks(dialog.nameField(), QStringLiteral("Ann"));
            if (end == NameEntryEnd::Confirmed)
                dialog.confirmButton()->click();
            else if (end == NameEntryEnd::Closed)
                dialog.reject();
            else {
                ::raise(SIGHUP);
                QTRY_VERIFY(!dialog.isVisible());
            }
        },
        true, hint);
    QCOMPARE(seen.opened, !hint);
    QVERIFY(!seen.leftOpen);
    QCOMPARE(fileValue(GameSection, "1Name"), confirmed ? QStringLiteral("Ann") : QStringLiteral("Somebody"));
    if (seen.opened)
        QCOMPARE(seen.dominoesLeft, QStringLiteral("0"));
    QCOMPARE(fileValue(GameSection, "GamesEnd"), QStringLiteral("3"));
    QCOMPARE(fileValue(FamilySection, "GamesEnd"), QStringLiteral("21"));
    QCOMPARE(statsLabel("L6")->text(), QStringLiteral("3"));
    QCOMPARE(fileValue(GameSection, "GamesSucc"), confirmed ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(rows("LDomLeft").at(0), confirmed ? QStringLiteral("0") : QStringLiteral("24"));
    // The last pair ended the game: no count of pairs followed it, so panel
    // 1 keeps the count from before it.
    QCOMPARE(m_window->statusText(StatusBar::VariantsPanel), QStringLiteral("1"));
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Game over"));
    QCOMPARE(m_window->statusText(StatusBar::TimePanel), QStringLiteral("9"));
}

void ShellScoresTest::minimizingKeepsTheNameEntryOpen()
{
    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Kelvor]\r\n12DomLeft=30\r\n");
    startProgram();
    release(m_window, Qt::Key_F5);
    bool openWhileMinimized = false;
    const DialogSeen seen = playSeedGame(4, [&](TEnter2HSC &dialog) {
        m_window->setWindowState(Qt::WindowMinimized);
        openWhileMinimized = dialog.isVisible() && QApplication::activeModalWidget() == &dialog;
        QVERIFY(!m_stats->isVisible());
        m_window->setWindowState(Qt::WindowNoState);
        QVERIFY(m_stats->isVisible());
        QVERIFY(!(dialog.windowState() & Qt::WindowMinimized));
        QTest::keyClicks(dialog.nameField(), QStringLiteral("Kept"));
        QTest::keyClick(dialog.nameField(), Qt::Key_Return);
    });
    QVERIFY(openWhileMinimized);
    QVERIFY(!seen.leftOpen);
    // The result was entered, sorted and saved as usual: behind the eleven
    // defaults of 24 dominoes left.
    QCOMPARE(rows("LName").at(11), QStringLiteral("Kept"));
    QCOMPARE(fileValue(GameSection, "12Name"), QStringLiteral("Kept"));
    QCOMPARE(fileValue(GameSection, "GamesSucc"), QStringLiteral("1"));
}

// ---------------------------------------------------------------------------
// The scores file through the game

void ShellScoresTest::firstGameCreatesTheFile()
{
    startProgram();
    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2);
    QCOMPARE(readFileBytes(scoresPath()),
             "[Tolvane...]\r\nGamesWas=1\r\nGamesSucc=0\r\nGamesEnd=0\r\n" + defaultScoresSection(1));
    QVERIFY(m_env->messages.messages.isEmpty());
}

void ShellScoresTest::countersWrapRound()
{
    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Kelvor]\r\nGamesWas=2147483647\r\n");
    startProgram();
    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2);
    QCOMPARE(fileValue(GameSection, "GamesWas"), QStringLiteral("-2147483648"));
    QCOMPARE(fileValue(QStringLiteral("Tolvane..."), "GamesWas"), QStringLiteral("1"));
}

void ShellScoresTest::abandonedGameCountsOnlyItsStart()
{
    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Kelvor]\r\n12DomLeft=30\r\n");
    startProgram();
    m_env->times = {OnePairSeed, OnePairSeed};
    release(m_window, Qt::Key_F2);
    m_window->Timer1Timer();
    QTest::mouseClick(m_window->tile(27), Qt::LeftButton); // selected, not played out
    release(m_window, Qt::Key_F2);
    QVERIFY(!m_program->nameEntry().isVisible());
    QCOMPARE(fileValue(GameSection, "GamesWas"), QStringLiteral("2"));
    QCOMPARE(fileValue(FamilySection, "GamesWas"), QStringLiteral("2"));
    for (const QString &key : {QStringLiteral("GamesSucc"), QStringLiteral("GamesEnd")}) {
        QCOMPARE(fileValue(GameSection, key), QStringLiteral("0"));
        QCOMPARE(fileValue(FamilySection, key), QStringLiteral("0"));
    }
    QCOMPARE(fileValue(GameSection, "12DomLeft"), QStringLiteral("30"));
    QCOMPARE(statsLabel("L4")->text(), QStringLiteral("2"));
}

void ShellScoresTest::redealsCountOnce()
{
    startProgram();
    m_env->times = {NoPairSeed, NoPairSeed, 1, OnePairSeed};
    release(m_window, Qt::Key_F2);
    QCOMPARE(m_env->clockReadings, 4);
    QCOMPARE(fileValue(GameSection, "GamesWas"), QStringLiteral("1"));
    QCOMPARE(fileValue(FamilySection, "GamesWas"), QStringLiteral("1"));
}

void ShellScoresTest::spareEntryBetterThanTwelveMovesIn()
{
    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Kelvor]\r\n13Name=Edited\r\n13DomLeft=5\r\n13Time=50\r\n");
    startProgram();
    QVERIFY(!statsLabel("LName")->text().contains(QStringLiteral("Edited")));
    // The seed game's 26 dominoes left do not qualify against 24.
    const DialogSeen seen = playSeedGame(1);
    QVERIFY(!seen.opened);
    QCOMPARE(rows("LName").at(0), QStringLiteral("Edited"));
    QCOMPARE(rows("LDomLeft").at(0), QStringLiteral("5"));
    QCOMPARE(fileValue(GameSection, "1Name"), QStringLiteral("Edited"));
    QCOMPARE(fileValue(GameSection, "13Name"), QStringLiteral("Somebody"));
    QCOMPARE(fileValue(GameSection, "GamesSucc"), QStringLiteral("0"));
}

void ShellScoresTest::otherGamesKeysSurviveEveryWrite()
{
    m_env = std::make_unique<TestEnvironment>();
    const QByteArray before = "; shared by the family\r\n[Zolvar]\r\nGamesWas=9\r\n  1Name = Zed  \r\n\r\n"
                              "[Tolvane...]\r\nOther=7\r\n";
    const QByteArray after = "[Yarrow]\r\nbest=1\r\n;end\r\n";
    // The family's counter keeps the spelling another game gave its key.
    writeFileBytes(scoresPath(), before + "gameswas=5\r\n" + after);
    startProgram();

    auto foreignKept = [&](const char *moment) {
        const QByteArray text = readFileBytes(scoresPath());
        QVERIFY2(text.startsWith(before), moment);
        QVERIFY2(text.contains("\r\ngameswas="), moment);
        QVERIFY2(text.contains("\r\n" + after), moment);
    };
    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2);
    QCOMPARE(readFileBytes(scoresPath()), before + "gameswas=6\r\nGamesSucc=0\r\nGamesEnd=0\r\n" + after
                                         + defaultScoresSection(1));
    // An entry 13 better than all makes the end of the next game write a
    // file of its own.
    writeFileBytes(scoresPath(), readFileBytes(scoresPath()).replace("13DomLeft=24", "13DomLeft=5"));
    playSeedGame(1);
    QCOMPARE(fileValue(GameSection, "1DomLeft"), QStringLiteral("5"));
    foreignKept("end of a game");
    // Another copy counts meanwhile: closing keeps its count.
    writeFileBytes(scoresPath(), readFileBytes(scoresPath()).replace("[Kelvor]\r\nGamesWas=2", "[Kelvor]\r\nGamesWas=77"));
    QVERIFY(m_window->close());
    QCOMPARE(fileValue(GameSection, "GamesWas"), QStringLiteral("77"));
    foreignKept("closing");
}

void ShellScoresTest::closingTheMainWindowWritesTheScores()
{
    startProgram();
    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2);
    m_window->Timer1Timer();
    // Another copy writes meanwhile; closing keeps what it wrote, adds
    // nothing this run has not counted since its last write, and does not
    // record the running game as finished.
    const QByteArray counted = QByteArray(readFileBytes(scoresPath()))
                                   .replace("[Kelvor]\r\nGamesWas=1\r\n", "[Kelvor]\r\nGamesWas=50\r\n");
    QVERIFY(counted.contains("GamesWas=50"));
    writeFileBytes(scoresPath(), counted);
    QVERIFY(m_window->close());
    QCOMPARE(readFileBytes(scoresPath()), counted);
    QVERIFY(m_env->messages.messages.isEmpty());
}

void ShellScoresTest::unwritableFolderLeavesTheGamePlayable_data()
{
    QTest::addColumn<bool>("scoresIsAFolder");
    QTest::newRow("program folder under a file") << false;
    QTest::newRow("scores.ini is a folder") << true;
}

void ShellScoresTest::unwritableFolderLeavesTheGamePlayable()
{
    QFETCH(bool, scoresIsAFolder);
    // Tests run as root, who may write anywhere: a folder that cannot exist
    // or a folder in the file's place stands in for a read-only one.
    m_env = std::make_unique<TestEnvironment>();
    QString folder = m_env->folder.path();
    if (scoresIsAFolder) {
        QVERIFY(QDir(folder).mkdir(QStringLiteral("scores.ini")));
    } else {
        writeFileBytes(m_env->folder.filePath(QStringLiteral("file")), "not a folder");
        folder = m_env->folder.filePath(QStringLiteral("file/game"));
    }
    m_env->environment.programFolder = folder;
    const QString path = folder + QStringLiteral("/scores.ini");
    const QString unable = QStringLiteral("Unable to write to ") + path;
    // Each file the game cannot write is named once a run: the settings at
    // the start (when the whole folder is out of reach), the scores at the
    // first new game.
    QStringList named{unable};
    if (!scoresIsAFolder)
        named.prepend(QStringLiteral("Unable to write to ") + folder + QStringLiteral("/Tolvane.ini"));

    startProgram();
    QCOMPARE(m_env->messages.messages, named.mid(0, named.size() - 1));
    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2);
    QCOMPARE(m_env->messages.messages, named);
    QCOMPARE(m_window->game().phase(), GamePhase::Running);
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Let's play..."));
    QVERIFY(m_window->tile(27)->isEnabled());

    QVERIFY(!playSeedGame(0).opened);
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Game over"));
    QVERIFY(m_window->close());
    QCOMPARE(m_env->messages.messages, named);
    QCOMPARE(QFileInfo(path).isDir(), scoresIsAFolder);
}

// The program reads the scores file at start-up, at every new game and at
// its close: a value that is not a number is told once, not at each read of
// the file left as it was, and anew when it comes back after a repair.
void ShellScoresTest::notANumberIsReportedOnceUntilRepaired()
{
    m_env = std::make_unique<TestEnvironment>();
    writeFileBytes(scoresPath(), "[Tolvane...]\r\nGamesWas=abc\r\n");
    startProgram();
    QStringList told{"'abc' is not a valid integer value"};
    QCOMPARE(m_env->messages.messages, told);
    QCOMPARE(statsLabel("LL4")->text(), QStringLiteral("0"));

    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2); // read again before any write: not told again
    QCOMPARE(m_env->messages.messages, told);
    QCOMPARE(fileValue(FamilySection, "GamesWas"), QStringLiteral("1"));

    // Written while the program runs, by hand or by another game. Only the
    // first bad value of a read is told; the good ones after it are read.
    const QByteArray broken = "[Kelvor]\r\nGamesWas=x1\r\nGamesSucc=4\r\n1DomLeft=2147483648\r\n";
    writeFileBytes(scoresPath(), broken);
    release(m_window, Qt::Key_F2);
    told << QStringLiteral("'x1' is not a valid integer value");
    QCOMPARE(m_env->messages.messages, told);
    QCOMPARE(m_window->game().phase(), GamePhase::Running);
    QCOMPARE(fileValue(GameSection, "GamesWas"), QStringLiteral("1")); // counted from the default
    QCOMPARE(fileValue(GameSection, "GamesSucc"), QStringLiteral("4"));
    QCOMPARE(fileValue(GameSection, "1DomLeft"), QStringLiteral("24"));

    release(m_window, Qt::Key_F2);
    QCOMPARE(m_env->messages.messages, told);
    QCOMPARE(fileValue(GameSection, "GamesWas"), QStringLiteral("2"));

    writeFileBytes(scoresPath(), broken);
    release(m_window, Qt::Key_F2);
    told << QStringLiteral("'x1' is not a valid integer value");
    QCOMPARE(m_env->messages.messages, told);
}

QTEST_MAIN(ShellScoresTest)
#include "tst_shell_scores.moc"
