// kelvor-lngcheck's findings: the shipped packs are complete, and each kind
// of fault a translator can make is reported at its line.

#include "language/PackChecker.h"
#include "support/TestSupport.h"

#include <QDir>
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
        QVERIFY2(!PackChecker::hasError(findings), qPrintable(PackChecker::report(pack, findings)));
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

    void sectionWrittenTwiceCountsOnce()
    {
        // The game reads the first [Kelvor] only: the second one's lines
        // are neither duplicates nor lines the key list passes over.
        QTemporaryDir folder;
        writeFileBytes(folder.filePath(QStringLiteral("x.lng")),
                       "[Kelvor]\nForm1.caption=A\n[Kelvor]\nForm1.caption=B\nForm1.Junk.Hint=C\n");
        const QString report =
            PackChecker::report(QStringLiteral("x.lng"), PackChecker::check(folder.filePath(QStringLiteral("x.lng"))));
        QVERIFY2(!report.contains(QLatin1String("x.lng:4")) && !report.contains(QLatin1String("x.lng:5")),
                 qPrintable(report));
    }
};

QTEST_MAIN(PackCheckerTest)
#include "tst_language_checker.moc"
