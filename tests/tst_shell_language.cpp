// The language and the help in the real program, offscreen: the windows
// answer to the list that packs and kelvor-lngcheck name them by, the
// shipped German pack reaches every text it names, and F1 and the help
// button open the help of the language.

#include "language/TextTable.h"
#include "language/TextTargets.h"
#include "language/windows/LanguageLoader.h"
#include "platform/ProfileDocument.h"
#include "scores/windows/TScoresForm.h"
#include "settings/SetupModel.h"
#include "settings/windows/TSetup.h"
#include "shell/HelpWindow.h"
#include "shell/Program.h"
#include "shell/SpeedButton.h"
#include "shell/StatusBar.h"
#include "shell/TForm1.h"
#include "shell/ToolkitTexts.h"
#include "support/ProgramStart.h"
#include "support/StandInWindows.h"
#include "support/TestEnvironment.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTextBrowser>
#include <QtTest>

namespace {

void pressF1(QWidget *widget)
{
    widget->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

} // namespace

class ShellLanguageTest : public QObject
{
    Q_OBJECT

    struct Game
    {
        TestEnvironment env;
        std::unique_ptr<Program> program;

        explicit Game(const QByteArray &settings = {}, bool withLng = true, const QByteArray &packV = {})
        {
            if (withLng)
                copyShippedLng(env.folder.path());
            if (!packV.isEmpty()) {
                QDir(env.folder.path()).mkdir(QStringLiteral("LNG"));
                writeFileBytes(env.folder.filePath(QStringLiteral("LNG/v.lng")), packV);
            }
            if (!settings.isEmpty())
                writeFileBytes(env.folder.filePath(QStringLiteral("Tolvane.ini")), settings);
            program = std::make_unique<Program>(env.environment);
            startPastFirstStartDialog(*program);
        }
        QWidget *window(const char *name) const
        {
            for (QWidget *window : program->windows())
                if (window->objectName() == QLatin1String(name))
                    return window;
            return nullptr;
        }
    };

private slots:
    void windowsAnswerToTheList()
    {
        Game game;
        for (QWidget *window : game.program->windows()) {
            const TextTargets::Window *design = TextTargets::findWindow(window->objectName());
            QVERIFY2(design, qPrintable(window->objectName()));
            QCOMPARE(TextTable::tag(window) == TextTable::FixedTextTag, design->fixed);
            for (const TextTargets::Control &control : TextTargets::controls()) {
                if (window->objectName() != QLatin1String(control.window))
                    continue;
                QObject *found = window->findChild<QObject *>(QString::fromLatin1(control.name));
                QVERIFY2(found, control.name);
                QCOMPARE(TextTable::tag(found) == TextTable::FixedTextTag, control.fixed);
            }
        }
    }

    void germanPackReachesEveryText()
    {
        Game game("[Tolvane...]\r\nLangPack=DEUTSCH\r\n");
        const ProfileDocument pack = ProfileDocument::fromBytes(
            readFileBytes(QStringLiteral(KELVOR_LNG_DIR "/deutsch.lng")));
        int checked = 0;
        for (const QString &section : {QStringLiteral("Application"), QStringLiteral("Kelvor")}) {
            for (const auto &[key, value] : pack.readSectionValues(section)) {
                const QStringList parts = key.split(u'.');
                QWidget *window = game.window(qPrintable(parts[0]));
                if (!window)
                    continue; // a window this program does not have yet
                QObject *target = parts.size() == 2 ? window : window->findChild<QObject *>(parts[1]);
                const QString shown = textOf(target, parts.size() == 2 ? QStringLiteral("caption") : parts[2]);
                QCOMPARE(shown, parts.size() == 2 ? value : LanguageLoader::decodeLineBreaks(value));
                ++checked;
            }
        }
        QVERIFY(checked > 20);
        TForm1 &main = game.program->mainWindow();
        QCOMPARE(main.statusText(StatusBar::VariantsLabelPanel), QStringLiteral("Varianten:"));
        QCOMPARE(main.statusText(StatusBar::MessagePanel), QStringLiteral("F2: neues Spiel"));
        QVERIFY(game.program->language().helpFile().endsWith(QLatin1String("/LNG/Tolvane_deu.hlp")));
    }

    void partialPackFirstKeepsEveryDesignText()
    {
        Game game("[Tolvane...]\r\nLangPack=v\r\n", false, "[Variables]\r\n3=x\r\n");
        QCOMPARE(game.program->mainWindow().statusText(StatusBar::MessagePanel), QStringLiteral("x"));
        QCOMPARE(game.program->mainWindow().windowTitle(), QStringLiteral("Tolvane: Kelvor"));
        int checked = 0;
        for (const TextTable::Entry &entry : TextTable::englishTexts()) {
            if (!entry.key)
                continue;
            const QStringList parts = QString::fromLatin1(entry.key).split(u'.');
            QWidget *window = game.window(qPrintable(parts[0]));
            QObject *target = parts.size() == 2 ? window : window->findChild<QObject *>(parts[1]);
            QCOMPARE(textOf(target, parts.size() == 2 ? QStringLiteral("caption") : parts[2]), entry.text);
            ++checked;
        }
        QCOMPARE(checked, 43);
    }

    void f1OpensTheTopicOfEachWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("topic");
        QTest::newRow("main window") << "Form1" << "" << "2";
        QTest::newRow("toolbar button") << "Form1" << "Stats" << "3";
        QTest::newRow("status bar") << "Form1" << "StatusBar" << "3";
        QTest::newRow("setup dialog") << "Setup" << "Cancel" << "4";
        QTest::newRow("wallpaper") << "Setup" << "PicsBox" << "10";
        QTest::newRow("language page") << "Setup" << "LangBox" << "11";
        QTest::newRow("skin") << "Setup" << "SetBox" << "12";
        QTest::newRow("statistics window") << "ScoresForm" << "CloseButt" << "5";
        // The name entry has no topic of its own.
        QTest::newRow("name entry") << "Enter2HSC" << "Edit1" << "contents";
        // No control of it takes the focus.
        QTest::newRow("about window") << "AboutMe" << "" << "40";
        QTest::newRow("splash window") << "SplashForm" << "" << "1";
    }

    // F1 as the desktop delivers it: to the active window's handle first,
    // then to its focused control, or to the window when none has the focus.
    void f1OpensTheTopicOfEachWindow()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        Game game;
        QWidget *top = game.window(qPrintable(window));
        QVERIFY(top);
        top->show();
        top->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(top));
        if (!control.isEmpty()) {
            QWidget *focused = top->findChild<QWidget *>(control);
            QVERIFY(focused);
            if (auto *pages = top->findChild<QTabWidget *>(QStringLiteral("PageControl1"))) {
                for (int i = 0; i < pages->count(); ++i)
                    if (pages->widget(i)->isAncestorOf(focused))
                        pages->setCurrentIndex(i);
            }
            focused->setFocus();
        }
        QTest::keyClick(top->windowHandle(), Qt::Key_F1);
        HelpWindow &help = game.program->helpWindow();
        QVERIFY(help.isVisible());
        QTEST(help.topic(), "topic");
    }

    void f1OpensTheTopicOfTheFocusedWindow()
    {
        Game game("[Tolvane...]\r\nLangPack=deutsch\r\n");
        TForm1 &main = game.program->mainWindow();
        main.show();
        pressF1(&main);
        HelpWindow &help = game.program->helpWindow();
        QVERIFY(help.isVisible());
        QCOMPARE(help.topic(), QStringLiteral("2"));
        QCOMPARE(help.windowTitle(), QStringLiteral("Kelvor-Hilfe - Das Hauptfenster"));

        main.button(QStringLiteral("Help"))->click();
        QCOMPARE(help.topic(), QStringLiteral("contents"));
        QVERIFY(game.env.messages.messages.isEmpty());
    }

    void applyInTheSetupDialogChangesTheLanguage()
    {
        Game game;
        TForm1 &main = game.program->mainWindow();
        main.show();
        HelpWindow &help = game.program->helpWindow();
        QWidget *helpParentInDialog = &help;
        QTimer::singleShot(0, &main, [&] {
            TSetup &setup = game.program->setupDialog();
            game.program->settings().chooseLanguage(game.program->settings().languages().indexOf(u"deutsch"));
            // F1 over the modal dialog: the page's topic, in a window the
            // player can still use.
            pressF1(setup.findChild<QWidget *>(QStringLiteral("LangBox")));
            QCOMPARE(help.topic(), QStringLiteral("11"));
            helpParentInDialog = help.parentWidget();
            setup.findChild<QPushButton *>(QStringLiteral("Apply"))->click();
        });
        main.button(QStringLiteral("Options"))->click();
        QCOMPARE(helpParentInDialog, &game.program->setupDialog());
        QCOMPARE(main.windowTitle(), QStringLiteral("Tolvane: Kelvor - Domino"));
        QCOMPARE(main.statusText(StatusBar::MessagePanel), QStringLiteral("F2: neues Spiel"));
        QCOMPARE(game.program->setupDialog().findChild<QPushButton *>(QStringLiteral("Cancel"))->text(),
                 QStringLiteral("Abbrechen"));
        // The dialog closed; the help stays, a window of its own again.
        QVERIFY(help.isVisible());
        QCOMPARE(help.parentWidget(), nullptr);
    }

    void missingHelpFileIsNamed()
    {
        Game game({}, false);
        game.program->mainWindow().button(QStringLiteral("Help"))->click();
        QCOMPARE(game.env.messages.messages,
                 QStringList(QStringLiteral("Cannot find the help file ") + game.env.folder.path()
                             + QStringLiteral("/LNG/Tolvane_eng.hlp")));
        QVERIFY(!game.program->helpWindow().isVisible());
    }

    // The texts Qt draws itself follow the desktop's language, whatever the
    // pack: "Look in:" and "Cancel" of the picture dialog behind "Browse...",
    // and "Copy" of its name field's menu, as Qt's translations have them.
    void toolkitTextsFollowTheDesktop_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("German") << "de_DE" << QStringList{"Suchen in:", "Abbrechen", "&Kopieren\tStrg+C"};
        QTest::newRow("French") << "fr_FR" << QStringList{"Voir dans :", "Annuler", "Cop&ier\tCtrl+C"};
    }
    void toolkitTextsFollowTheDesktop()
    {
        QFETCH(QString, desktop);
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_" + desktop.left(2) + ".qm"))
            QSKIP("Qt's own translations are not installed (Debian: qt6-translations-l10n)");
        Game game;
        const ToolkitTexts toolkit{QLocale(desktop)};
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        auto *browse = game.program->setupDialog().findChild<QFileDialog *>(QStringLiteral("OpenDialog"));
        const std::unique_ptr<QMenu> menu(browse->findChild<QLineEdit *>()->createStandardContextMenu());
        QTEST((QStringList{browse->findChild<QLabel *>(QStringLiteral("lookInLabel"))->text(),
                           browse->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->text(),
                           menu->actions().at(4)->text()}),
              "texts");
    }
};

QTEST_MAIN(ShellLanguageTest)
#include "tst_shell_language.moc"
