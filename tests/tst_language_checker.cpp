// kelvor-lngcheck's findings: the shipped packs are complete, and each kind
// of fault a translator can make is reported at its line.

#include "language/PackChecker.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class PackCheckerTest : public QObject
{
    Q_OBJECT

private slots:
    void shippedPacksHaveNoError_data()
    {
        QTest::addColumn<QString>("pack");
        QTest::newRow("deutsch") << "deutsch.lng";
        QTest::newRow("francais") << "francais.lng";
    }

    void shippedPacksHaveNoError()
    {
        QFETCH(QString, pack);
        const auto findings = PackChecker::check(QStringLiteral(KELVOR_LNG_DIR "/") + pack);
        // Not a warning either: the one note names the help file found.
        QVERIFY2(findings.size() == 1 && findings.first().text.endsWith(QLatin1String(", found")),
                 qPrintable(PackChecker::report(pack, findings)));
    }

    void shippedHelpHasEveryTopic_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("English") << "Tolvane_eng.hlp";
        QTest::newRow("German") << "Tolvane_deu.hlp";
        QTest::newRow("French") << "Tolvane_fra.hlp";
    }

    void shippedHelpHasEveryTopic()
    {
        QFETCH(QString, file);
        const QByteArray html = readFileBytes(QStringLiteral(KELVOR_LNG_DIR "/") + file);
        for (const char *topic : {"contents", "1", "2", "3", "4", "5", "10", "11", "12", "40"})
            QVERIFY2(html.contains(QByteArray("<a name=\"") + topic + "\">"), topic);
    }

    void fault_data()
    {
        QTest::addColumn<QByteArray>("pack");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no window") << QByteArray("[Application]\nForm2.caption=X")
                                   << "x.lng:2: error: \"Form2.caption\" names no window";
        QTest::newRow("no control") << QByteArray("[Kelvor]\n\nForm1.Board.Caption=X")
                                    << "x.lng:3: error: \"Form1.Board.Caption\" names no control of the window Form1";
        QTest::newRow("no property") << QByteArray("[Kelvor]\nForm1.Pause.Caption=X")
                                     << "x.lng:2: error: \"Form1.Pause.Caption\" names no text property of "
                                        "Form1.Pause (it has: Hint)";
        QTest::newRow("protected window") << QByteArray("[Application]\nAboutMe.caption=X")
                                          << "x.lng:2: error: \"AboutMe.caption\": the window AboutMe is protected";
        QTest::newRow("protected control") << QByteArray("[Application]\nScoresForm.Panel2.Hint=X")
                                           << "x.lng:2: error: \"ScoresForm.Panel2.Hint\": the control "
                                              "ScoresForm.Panel2 is protected";
        QTest::newRow("written twice") << QByteArray("[Kelvor]\nForm1.caption=A\nFORM1.CAPTION=B")
                                       << "x.lng:3: error: \"Form1.caption\" is written twice: the line 2 before wins";
        QTest::newRow("empty value") << QByteArray("[Kelvor]\nForm1.caption=")
                                     << "x.lng:2: error: \"Form1.caption\" has an empty value";
        QTest::newRow("long value") << "[Kelvor]\nForm1.caption=" + QByteArray(1024, 'x')
                                    << "x.lng:2: error: the value is cut to 1023 characters";
        QTest::newRow("long run-time text") << "[Variables]\n3=" + QByteArray(51, 'x')
                                            << "x.lng:2: error: the text of slot 3 is cut to 50 characters";
        QTest::newRow("slot 11") << QByteArray("[Variables]\n11=X")
                                 << "x.lng:2: error: \"11\" is ignored: [Variables] has the keys 1 to 10 only";
        QTest::newRow("left out") << QByteArray("[Kelvor]\nForm1.caption=X")
                                  << "x.lng: error: leaves out Setup.OpenDialog.Title (English: \"Select background image\")";
        QTest::newRow("slot left out") << QByteArray("[Variables]\n1=X")
                                       << "x.lng:1: error: leaves out [Variables] key 5 (English: \"Let's play...\")";
        QTest::newRow("help file missing") << QByteArray("[Variables]\n8=xx")
                                           << "x.lng: error: help file: LNG/Tolvane_xx.hlp does not exist";
        QByteArray crowded = "[Kelvor]\n";
        for (int i = 0; i < 800; ++i)
            crowded += "Form1.Junk" + QByteArray::number(1000 + i) + ".Hint=x\n";
        QTest::newRow("section twice") << QByteArray("[Kelvor]\nForm1.caption=A\n\n[kelvor]\nForm1.caption=B")
                                       << "x.lng:4: error: [kelvor] is written twice: the game reads the one at "
                                          "line 1 only, and passes over this one with its key line";
        QTest::newRow("label past the window's edge")
            << QByteArray("[Application]\nSetup.Label1.Caption=Choisissez la langue du jeu et de son aide ici, "
                          "parmi les paquets de langue que le jeu a trouv\xc3\xa9s")
            << "x.lng:2: error: cut in the game: Setup.Label1: \"Choisissez";
        QTest::newRow("label over its neighbour") << QByteArray("[Application]\nSetup.Label3.Caption=Colour%0A2nd")
                                                  << "x 26 pixels, has 32 x 16 (over ColSel)";
        QTest::newRow("button") << QByteArray("[Application]\nSetup.Apply.Caption=\xc3\x9c\x62\x65rnehmen!!")
                                << "x.lng:2: error: cut in the game: Setup.Apply: \"\xc3\x9c\x62\x65rnehmen!!\" needs ";
        QTest::newRow("status label") << QByteArray("[Variables]\n2=Verstrichene Zeit:")
                                      << "x.lng:2: error: cut in the game: Form1.StatusBar panel 2: "
                                         "\"Verstrichene Zeit:\"";
        QTest::newRow("description key twice") << QByteArray("[LangInfo]\n1=A\n1=B")
                                               << "x.lng:3: error: [LangInfo]: the key \"1\" repeats the line 2";
        QTest::newRow("description line empty") << QByteArray("[LangInfo]\n1=A\n2=")
                                                << "x.lng:3: error: [LangInfo]: \"2\" is empty";
        QTest::newRow("description line without key") << QByteArray("[LangInfo]\nA line\n1=A")
                                                      << "x.lng:2: error: [LangInfo]: the line holds no key";
        QTest::newRow("over the size limit") << QByteArray(1024 * 1024 + 1, ';')
                                             << "x.lng: error: the file has 1048577 bytes, more than the 1048576 "
                                                "the game reads";
        QTest::newRow("key list full") << crowded
                                       << "x.lng:411: error: [Kelvor] lists more key names than fit into 8192 bytes";
    }

    void fault()
    {
        QFETCH(QByteArray, pack);
        QFETCH(QString, expected);
        QTemporaryDir folder;
        writeFileBytes(folder.filePath(QStringLiteral("x.lng")), pack);
        const auto findings = PackChecker::check(folder.filePath(QStringLiteral("x.lng")));
        const QString report = PackChecker::report(QStringLiteral("x.lng"), findings);
        QVERIFY2(report.contains(expected), qPrintable(report.left(3000)));
        QVERIFY(PackChecker::hasError(findings));
    }

    void aPackOfAMegabyteIsCheckedInLinearTime()
    {
        // Lines the checker looks up one by one: the same key again and
        // again, and as many description lines. Looked up line by line
        // against the whole file, they took minutes; in one pass, a second
        // on a busy machine.
        QByteArray pack = "[Kelvor]\n";
        while (pack.size() < 500 * 1024)
            pack += "Form1.caption=Tolvane\n";
        pack += "[LangInfo]\n";
        for (int i = 0; pack.size() < 1000 * 1024; ++i)
            pack += QByteArray::number(i) + "=line\n";
        QTemporaryDir folder;
        writeFileBytes(folder.filePath(QStringLiteral("x.lng")), pack);
        PackChecker::check(QStringLiteral(KELVOR_LNG_DIR "/deutsch.lng")); // the fonts, loaded once
        QElapsedTimer timer;
        timer.start();
        const auto findings = PackChecker::check(folder.filePath(QStringLiteral("x.lng")));
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(PackChecker::hasError(findings));
    }

    void sectionWrittenTwiceCountsOnce()
    {
        // The game reads the first [Kelvor] only: the second one's lines
        // are neither duplicates nor lines the key list passes over.
        QTemporaryDir folder;
        writeFileBytes(folder.filePath(QStringLiteral("x.lng")),
                       "[Kelvor]\nForm1.caption=A\n[Kelvor]\nForm1.caption=B\nForm1.Junk.Hint=C\n");
        const QString report =
            PackChecker::report(QStringLiteral("x.lng"), PackChecker::check(folder.filePath(QStringLiteral("x.lng"))));
        QVERIFY2(!report.contains(QLatin1String("x.lng:4")) && !report.contains(QLatin1String("x.lng:5"))
                     && report.contains(QLatin1String("x.lng:3: error: [Kelvor] is written twice")),
                 qPrintable(report));
    }
};

QTEST_MAIN(PackCheckerTest)
#include "tst_language_checker.moc"
