// The language loader against packs written as the players' translators
// write them, on stand-ins of every window of the program. A pack is the
// first language of the run unless a test loads English before it.

#include "language/LanguageList.h"
#include "language/TextTable.h"
#include "language/windows/LanguageLoader.h"
#include "platform/ProgramFolder.h"
#include "support/StandInWindows.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class LanguageLoaderTest : public QObject
{
    Q_OBJECT

    struct Fixture
    {
        QTemporaryDir folder;
        TextTable texts;
        CapturedMessages messages;
        LanguageLoader loader{folder.path(), texts, &messages};
        StandInWindows windows;

        void writePack(const QString &name, const QByteArray &text, const QString &lngFolder = QStringLiteral("LNG"))
        {
            QDir(folder.path()).mkpath(lngFolder);
            writeFileBytes(folder.path() + u'/' + lngFolder + u'/' + name, text);
        }
        void load(const QString &langPack) { loader.loadLanguage(langPack, windows.windows()); }
        QString text(const QString &window, const QString &control, const QString &property) const
        {
            return textOf(control.isEmpty() ? windows.window(window) : windows.control(window, control), property);
        }
    };

private slots:
    void packLine_data()
    {
        QTest::addColumn<QByteArray>("pack");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("expected");

        auto row = [](const char *name, const QByteArray &pack, const char *window, const char *control,
                      const char *property, const QString &expected) {
            QTest::newRow(name) << pack << QString::fromLatin1(window) << QString::fromLatin1(control)
                                << QString::fromLatin1(property) << expected;
        };
        row("caption", "[Application]\nSetup.caption=Einstellungen", "Setup", "", "caption", "Einstellungen");
        row("Caption", "[Application]\nSetup.Caption=Einstellungen", "Setup", "", "caption", "Einstellungen");
        row("CAPTION", "[Application]\nSETUP.CAPTION=Einstellungen", "Setup", "", "caption", "Einstellungen");
        row("%0A in a label", "[Application]\nScoresForm.L10.Caption=Dominos%0Aleft", "ScoresForm", "L10",
            "Caption", "Dominos\r\nleft");
        row("%0A in a title", "[Application]\nScoresForm.caption=Game%0Astatistics", "ScoresForm", "", "caption",
            "Game%0Astatistics");
        row("%0a is no break", "[Application]\nScoresForm.L7.Caption=a%0ab", "ScoresForm", "L7", "Caption", "a%0ab");
        row("protected about window", "[Application]\nAboutMe.Label3.Caption=X", "AboutMe", "Label3", "Caption", "");
        row("protected splash window", "[Application]\nSplashForm.Info.Caption=X", "SplashForm", "Info", "Caption",
            "");
        row("protected panel", "[Application]\nScoresForm.Panel1.Hint=X", "ScoresForm", "Panel1", "Hint", "");
        row("label in a protected panel", "[Application]\nScoresForm.L1.Caption=Played:", "ScoresForm", "L1",
            "Caption", "Played:");
        row("tooltip", "[Kelvor]\nForm1.NewGame.Hint=Neu (F2)", "Form1", "NewGame", "Hint", "Neu (F2)");
        row("unknown control, then a good line", "[Kelvor]\nForm1.Nothing.Caption=X\nForm1.Help.Hint=Hilfe",
            "Form1", "Help", "Hint", "Hilfe");
        row("Kelvor after Application", "[Kelvor]\nForm1.caption=B\n[Application]\nForm1.caption=A", "Form1", "",
            "caption", "B");
        row("first of two equal keys", "[Kelvor]\nForm1.caption=A\nFORM1.CAPTION=B", "Form1", "", "caption", "A");
        row("empty value", "[Kelvor]\nForm1.caption=", "Form1", "", "caption", "Tolvane: Kelvor");
        row("long s is no s", "[Kelvor]\nForm1.Stat\xC5\xBF.Hint=X", "Form1", "Stats", "Hint",
            "Game statistics (F5)");
        row("no caption on a toolbar button", "[Kelvor]\nForm1.Pause.Caption=X", "Form1", "Pause", "Caption", "");
        row("value cut to 1023", "[Kelvor]\nForm1.caption=" + QByteArray(1500, 'x'), "Form1", "", "caption",
            QString(1023, u'x'));
        row("file dialog title", "[Application]\nSetup.OpenDialog.Title=Bild", "Setup", "OpenDialog", "Title",
            "Bild");
        row("edit text", "[Application]\nEnter2HSC.Edit1.Text=Anna", "Enter2HSC", "Edit1", "Text", "Anna");
        row("page tab", "[Application]\nSetup.Screen.Caption=Bildschirm", "Setup", "Screen", "Caption",
            "Bildschirm");
        row("Windows-1252 line", "[Application]\nSetup.Cancel.Caption=Schlie\xDF" "en", "Setup", "Cancel", "Caption",
            QStringLiteral("Schließen"));
        row("quotes keep a trailing blank", "[Application]\nEnter2HSC.L3.Caption=\"Ihr Name: \"", "Enter2HSC", "L3",
            "Caption", "Ihr Name: ");
        QByteArray crowded = "[Kelvor]\n";
        for (int i = 0; i < 1000; ++i)
            crowded += "Form1.Junk" + QByteArray::number(1000 + i) + ".Hint=x\n";
        row("key beyond the key list", crowded + "Form1.caption=Late", "Form1", "", "caption", "Tolvane: Kelvor");
    }

    void packLine()
    {
        QFETCH(QByteArray, pack);
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, property);
        QFETCH(QString, expected);
        Fixture f;
        f.writePack(QStringLiteral("test.lng"), pack);
        f.load(QStringLiteral("test"));
        QCOMPARE(f.text(window, control, property), expected);
    }

    void variables_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("expected");
        QTest::newRow("key 0") << QByteArray("0=Zero") << 1 << "Variants:";
        QTest::newRow("key 11") << QByteArray("11=Eleven\n10=Ten") << 10 << "Ten";
        QTest::newRow("60 characters") << "3=" + QByteArray(50, 'a') + "bbbbbbbbbb" << 3 << QString(50, u'a');
        QTest::newRow("not a number") << QByteArray("x=1\n1.5=2\n4=Fin") << 4 << "Fin";
        QTest::newRow("empty value") << QByteArray("6=") << 6 << "Pause";
        QTest::newRow("slot 9") << QByteArray("09=Nine") << 9 << "Nine";
    }

    void variables()
    {
        QFETCH(QByteArray, section);
        QFETCH(int, slot);
        QFETCH(QString, expected);
        Fixture f;
        f.writePack(QStringLiteral("test.lng"), "[Variables]\n" + section);
        f.load(QStringLiteral("english"));
        QSignalSpy labels(&f.loader, &LanguageLoader::statusLabelsChanged);
        f.load(QStringLiteral("test"));
        QCOMPARE(f.texts.variable(slot), expected);
        QCOMPARE(labels.count(), 1);
    }

    void helpFileFollowsSlot8()
    {
        Fixture later;
        later.writePack(QStringLiteral("nohelp.lng"), "[Variables]\n1=Varianten:");
        later.load(QStringLiteral("english"));
        later.load(QStringLiteral("nohelp"));
        QVERIFY(later.loader.helpFile().endsWith(QLatin1String("/LNG/Tolvane_eng.hlp")));

        Fixture first;
        first.writePack(QStringLiteral("nohelp.lng"), "[Variables]\n1=Varianten:");
        first.load(QStringLiteral("nohelp"));
        QCOMPARE(first.loader.helpFile(), first.folder.path() + QStringLiteral("/LNG/Tolvane_.hlp"));
    }

    void helpFileStaysInLng()
    {
        Fixture f;
        f.writePack(QStringLiteral("away.lng"), "[Variables]\n8=/../../secret");
        f.load(QStringLiteral("away"));
        QCOMPARE(QFileInfo(f.loader.helpFile()).absolutePath(), f.folder.path() + QStringLiteral("/LNG"));
        QCOMPARE(f.loader.findHelpFile(), QString());
    }

    void packOverTheSizeLimitLeavesEnglish()
    {
        Fixture f;
        f.writePack(QStringLiteral("deutsch.lng"), "[Kelvor]\nForm1.caption=Deutsch\n[Variables]\n8=deu");
        f.writePack(QStringLiteral("huge.lng"), "[Kelvor]\nForm1.caption=Huge\n[Variables]\n3=Huge\n;"
                                                    + QByteArray(1024 * 1024, 'x'));
        f.load(QStringLiteral("deutsch"));
        f.load(QStringLiteral("huge"));
        QCOMPARE(f.messages.messages,
                 QStringList(QStringLiteral("The language pack ") + f.folder.path()
                             + QStringLiteral("/LNG/huge.lng is bigger than 1024 KB; the game stays in English.")));
        QCOMPARE(f.text("Form1", "", "caption"), QStringLiteral("Tolvane: Kelvor"));
        QCOMPARE(f.texts.variable(TextTable::PressF2ToStart), QStringLiteral("Press F2 to start"));
        QVERIFY(f.loader.helpFile().endsWith(QLatin1String("/LNG/Tolvane_eng.hlp")));
    }

    void descriptionLines_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("key written twice") << QByteArray("2=b\n1=a\n1=again") << QStringList{"a", "b"};
        QTest::newRow("in other letter case") << QByteArray("x=a\nX=b") << QStringList{"a"};
        QTest::newRow("empty value") << QByteArray("1=a\n2=\n3=c\n4") << QStringList{"a", "c"};
    }

    void descriptionLines()
    {
        QFETCH(QByteArray, section);
        QFETCH(QStringList, lines);
        Fixture f;
        f.writePack(QStringLiteral("info.lng"), "[LangInfo]\n" + section);
        QCOMPARE(LanguageList::ShowLanguageInfo(ProgramFolder(f.folder.path()), QStringLiteral("info")), lines);
    }

    void englishResetsItsOwnTextsOnly()
    {
        Fixture f;
        f.writePack(QStringLiteral("deutsch.lng"), "[Kelvor]\nForm1.caption=Kelvor auf Deutsch\n"
                                                   "ScoresForm.L8.Caption=Nr.\n[Variables]\n1=Varianten:\n9=Neun");
        f.load(QStringLiteral("deutsch"));
        f.load(QStringLiteral("English"));
        QCOMPARE(f.text("Form1", "", "caption"), QStringLiteral("Tolvane: Kelvor"));
        QCOMPARE(f.text("ScoresForm", "L10", "Caption"), QStringLiteral("Dominoes\n\r left"));
        QCOMPARE(f.text("ScoresForm", "L8", "Caption"), QStringLiteral("Nr."));
        QCOMPARE(f.texts.variable(TextTable::VariantsLabel), QStringLiteral("Variants:"));
        QCOMPARE(f.texts.variable(9), QStringLiteral("Neun"));
    }

    void packFileFound_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("langPack");
        QTest::addColumn<QString>("title");
        QTest::newRow("as named") << "LNG" << "deutsch.lng" << "deutsch" << "Deutsch";
        QTest::newRow("LangPack in capitals") << "LNG" << "deutsch.lng" << "DEUTSCH" << "Deutsch";
        QTest::newRow("folder in small letters") << "lng" << "Deutsch.LNG" << "deutsch" << "Deutsch";
        QTest::newRow("English.lng is the built-in English") << "LNG" << "English.lng" << "English"
                                                             << "Tolvane: Kelvor";
        QTest::newRow("a path leads nowhere") << "LNG" << "deutsch.lng" << "../LNG/deutsch" << "Tolvane: Kelvor";
        QTest::newRow("missing pack") << "LNG" << "deutsch.lng" << "francais" << "Tolvane: Kelvor";
    }

    void packFileFound()
    {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, langPack);
        QFETCH(QString, title);
        Fixture f;
        f.writePack(file, "[Kelvor]\nForm1.caption=Deutsch", folder);
        f.load(langPack);
        QCOMPARE(f.text("Form1", "", "caption"), title);
    }

    void decodeLineBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one") << "a%0Ab" << "a\r\nb";
        QTest::newRow("small a") << "a%0ab" << "a%0ab";
        QTest::newRow("two in a row") << "%0A%0A" << "\r\n\r\n";
        QTest::newRow("percent before") << "%%0A" << "%\r\n";
        QTest::newRow("cut short") << "a%0" << "a%0";
    }

    void decodeLineBreaks()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(LanguageLoader::decodeLineBreaks(text), expected);
    }
};

QTEST_MAIN(LanguageLoaderTest)
#include "tst_language_loader.moc"
