// Every text of every window shows whole in the real program, offscreen:
// the shipped languages and the largest numbers the windows show, measured
// as kelvor-lngcheck measures them, in the places and fonts the windows
// were built with.

#include "language/TextFit.h"
#include "language/TextTable.h"
#include "language/TextTargets.h"
#include "language/windows/LinesLabel.h"
#include "scores/ScoresRecord.h"
#include "scores/windows/TEnter2HSC.h"
#include "scores/windows/TScoresForm.h"
#include "settings/windows/TSetup.h"
#include "shell/Program.h"
#include "shell/StatusBar.h"
#include "shell/TForm1.h"
#include "support/ProgramStart.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QTabWidget>
#include <QtTest>
#include <climits>

namespace {

// The face a widget draws in, as the font system resolves it.
QString faceOf(const QFont &font)
{
    const QFontInfo info(font);
    return QStringLiteral("%1 %2px%3").arg(info.family()).arg(info.pixelSize()).arg(info.bold() ? " bold" : "");
}

// What a control shows, as the player reads it.
QString shownText(QWidget *widget, const TextTargets::Control &control)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    if (auto *group = qobject_cast<QGroupBox *>(widget))
        return group->title();
    if (control.kind == TextTargets::Kind::Page) {
        auto *tabs = qobject_cast<QTabWidget *>(widget->parentWidget()->parentWidget());
        return tabs->tabText(tabs->indexOf(widget));
    }
    return {};
}

} // namespace

class TextFitTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextShowsWhole_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("cut");
        QTest::newRow("English") << "english" << "";
        QTest::newRow("German") << "deutsch" << "";
        QTest::newRow("French") << "francais" << "";
        // The measure sees what a player would miss.
        QTest::newRow("damaged") << "damaged" << "x 26 pixels, has 32 x 16 (over ColSel)";
    }

    void everyTextShowsWhole()
    {
        QFETCH(QString, language);
        QFETCH(QString, cut);
        TestEnvironment env;
        copyShippedLng(env.folder.path());
        QFile::copy(QStringLiteral(KELVOR_TEST_DATA_DIR "/damaged.lng"), env.folder.filePath(QStringLiteral("LNG/damaged.lng")));
        writeFileBytes(env.folder.filePath(QStringLiteral("Tolvane.ini")),
                       "[Tolvane...]\r\nLangPack=" + language.toLatin1() + "\r\n");
        Program program(env.environment);
        startPastFirstStartDialog(program);

        // The largest numbers: a day of play on the clock and in the best
        // list, counters at the most the scores file holds.
        ScoresRecord record;
        record.game = {INT_MAX, INT_MAX, INT_MAX};
        record.family = record.game;
        for (ScoreEntry &entry : record.bestPlayers)
            entry = {QStringLiteral("Somebody"), 28, 99999};
        program.scoresForm().RefreshStatistics(record);
        program.nameEntry().prepare(99999, 28);
        program.mainWindow().setStatusText(1, QStringLiteral("99"));
        program.mainWindow().setStatusText(3, QString::number(99999));

        QStringList faults;
        for (QWidget *window : program.windows()) {
            const TextTargets::Window *design = TextTargets::findWindow(window->objectName());
            if (!design || design->fixed)
                continue;
            window->show();
            QCoreApplication::processEvents();
            if (window->size() != QSize(design->width, design->height))
                faults << QStringLiteral("%1 is %2x%3").arg(design->name).arg(window->width()).arg(window->height());
            TextFit::Texts texts;
            for (const TextTargets::Control &control : TextTargets::controls()) {
                if (window->objectName() != QLatin1String(control.window) || control.fixed)
                    continue;
                auto *widget = window->findChild<QWidget *>(QString::fromLatin1(control.name));
                if (!widget)
                    continue;
                const QString name = QStringLiteral("%1.%2").arg(control.window, control.name);
                const QString text = shownText(widget, control);
                if (!text.isNull())
                    texts.insert(QString::fromLatin1(control.name), {text});
                // Built from the table: the place, the size a label takes
                // from its text, the face.
                QRect expected = TextFit::bounds(control);
                if (control.kind == TextTargets::Kind::Label)
                    expected = TextFit::labelRect(control, text);
                if (control.kind != TextTargets::Kind::Page && control.bounds.width + control.bounds.height > 0
                    && widget->geometry() != expected)
                    faults << QStringLiteral("%1 stands at %2,%3 %4x%5")
                                  .arg(name)
                                  .arg(widget->x())
                                  .arg(widget->y())
                                  .arg(widget->width())
                                  .arg(widget->height());
                const bool hasText = control.kind == TextTargets::Kind::Label
                                     || control.kind == TextTargets::Kind::Button
                                     || control.kind == TextTargets::Kind::RadioButton
                                     || control.kind == TextTargets::Kind::GroupBox;
                if (hasText && faceOf(widget->font()) != faceOf(TextFit::font(control)))
                    faults << name + QStringLiteral(" draws in ") + faceOf(widget->font());
            }
            if (auto *bar = window->findChild<StatusBar *>()) {
                QCOMPARE(faceOf(bar->font()), faceOf(TextFit::statusFont()));
                for (int panel = 0; panel < StatusBar::PanelCount; ++panel) {
                    QCOMPARE(bar->panelRect(panel), TextFit::statusPanelRect(panel, bar->width(), bar->height()));
                    texts[QStringLiteral("StatusBar.%1").arg(panel)] << bar->panelText(panel);
                }
                // The messages panel 4 shows in turn.
                for (int slot = TextTable::PressF2ToStart; slot <= TextTable::Pause; ++slot)
                    texts[QStringLiteral("StatusBar.4")] << program.texts().variable(slot);
            }
            for (const TextFit::Cut &cut : TextFit::cuts(*design, texts))
                faults << TextFit::describe(cut);
            window->hide();
        }
        if (cut.isEmpty())
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
        else
            QVERIFY2(faults.join(u'\n').contains(cut), qPrintable(faults.join(u'\n')));
    }

    void aLabelGrowsWithItsTextWhileShown()
    {
        TestEnvironment env;
        Program program(env.environment);
        startPastFirstStartDialog(program);
        TSetup &setup = program.setupDialog();
        setup.show();
        // The first start opens the dialog on its language page.
        auto *label = setup.findChild<QLabel *>(QStringLiteral("Label1"));
        QVERIFY(label->isVisible());
        label->setText(QStringLiteral("A longer position:\r\nover two lines"));
        QCoreApplication::processEvents();
        // From its left and top, as the design placed it.
        QCOMPARE(label->pos(), QPoint(8, 8));
        QCOMPARE(label->height(), 2 * TextFit::RowHeight);
        QCOMPARE(label->width(), QFontMetrics(label->font()).horizontalAdvance(QStringLiteral("A longer position:")));
        setup.hide();
    }
};

QTEST_MAIN(TextFitTest)
#include "tst_shell_textfit.moc"
