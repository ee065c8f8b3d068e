#include "platform/WholeNumber.h"
#include "scores/ScoresFile.h"
#include "support/FamilyRewriter.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


namespace {

// Entries named A, B, C, ... with the given dominoes left and times.
ScoresRecord recordOf(const QList<int> &dominoes, const QList<int> &times)
{
    ScoresRecord record;
    for (int i = 0; i < ScoresRecord::EntryCount; ++i)
        record.bestPlayers[i] = {QString(QChar(u'A' + i)), dominoes.value(i, 24), times.value(i, 999)};
    return record;
}

QString namesOf(const ScoresRecord &record)
{
    QString names;
    for (const ScoreEntry &entry : record.bestPlayers)
        names += entry.name;
    return names;
}

// One copy of the game on the shared file, played as the game plays.
struct Copy
{
    Copy(const QString &path) : file(path, &messages) { file.read(record); }

    void newGame()
    {
        file.read(record);
        ++record.game.gamesWas;
        ++record.family.gamesWas;
        QVERIFY(file.write(record));
    }
    void finish(const QString &name, int left, int seconds)
    {
        if (qualifies(record, left, seconds)) {
            record.bestPlayers[ScoresRecord::EntryCount - 1] = {name, left, seconds};
            ++record.game.gamesSucc;
            ++record.family.gamesSucc;
        }
        if (left == 0) {
            ++record.game.gamesEnd;
            ++record.family.gamesEnd;
        }
        sortBestPlayers(record);
        QVERIFY(file.write(record));
    }

    CapturedMessages messages;
    ScoresFile file;
    ScoresRecord record;
};

} // namespace

class ScoresFileTest : public QObject
{
    Q_OBJECT

private slots:
    void noFileThenFirstGame();
    void readsEntriesAndCutsNames();
    void parseNumbers_data();
    void parseNumbers();
    void sort_data();
    void sort();
    void qualification_data();
    void qualification();
    void failedWriteKeepsTheFile();
    void copiesKeepEachOthersChanges_data();
    void copiesKeepEachOthersChanges();
    void tornRewriteLosesOnlyItsOwnChange_data();
    void tornRewriteLosesOnlyItsOwnChange();
};

void ScoresFileTest::noFileThenFirstGame()
{
    QTemporaryDir dir;
    CapturedMessages messages;
    ScoresFile file(dir.filePath("scores.ini"), &messages);
    ScoresRecord record;
    record.game.gamesEnd = 5; // a read replaces everything
    QVERIFY(file.read(record));
    QCOMPARE(record.game.gamesEnd, 0);
    for (const ScoreEntry &entry : record.bestPlayers) {
        QCOMPARE(entry.name, QString("Somebody"));
        QCOMPARE(entry.dominoesLeft, 24);
        QCOMPARE(entry.time, 999);
    }
    ++record.game.gamesWas;
    ++record.family.gamesWas;
    QVERIFY(file.write(record));
    QCOMPARE(readFileBytes(dir.filePath("scores.ini")),
             "[Tolvane...]\r\nGamesWas=1\r\nGamesSucc=0\r\nGamesEnd=0\r\n" + defaultScoresSection(1));
    QVERIFY(messages.messages.isEmpty());
}

void ScoresFileTest::readsEntriesAndCutsNames()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("scores.ini");
    writeFileBytes(path, "[kelvor]\nGAMESWAS=7\n1Name=Abcdefghijklmnopqrstuvwxyz\n10Name=Ten\n10DomLeft=4\n"
                   "13Time=-5\n1Time=\"88\"\n2Name=\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84"
                   "\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\n"
                   "[Tolvane...]\nGamesEnd=3\n");
    CapturedMessages messages;
    ScoresFile file(path, &messages);
    ScoresRecord record;
    QVERIFY(file.read(record));
    QCOMPARE(record.game.gamesWas, 7);
    QCOMPARE(record.family.gamesEnd, 3);
    QCOMPARE(record.bestPlayers[0].name, QString("Abcdefghijklmnopqr"));
    QCOMPARE(record.bestPlayers[0].time, 88);
    QCOMPARE(record.bestPlayers[1].name, QString(18, QChar(0xC4)));
    QCOMPARE(record.bestPlayers[9].name, QString("Ten"));
    QCOMPARE(record.bestPlayers[9].dominoesLeft, 4);
    QCOMPARE(record.bestPlayers[12].time, -5);

    QVERIFY(file.write(record));
    const QByteArray text = readFileBytes(path);
    QVERIFY(text.contains("\n1Name=Abcdefghijklmnopqr\n"));
    QVERIFY(text.contains("\n10DomLeft=4\n13Time=-5\n"));
    QVERIFY(text.contains("\n13Name=Somebody\n"));
}

void ScoresFileTest::parseNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "42" << true << 42;
    QTest::newRow("signs") << "-42" << true << -42;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("too small") << "-2147483649" << false << 0;
    QTest::newRow("huge") << "99999999999999999999999" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("fraction") << "1.5" << false << 0;
    QTest::newRow("inner blank") << "1 2" << false << 0;
    QTest::newRow("trailing letter") << "12a" << false << 0;
    QTest::newRow("Arabic-Indic digit") << "\u0663" << false << 0;
}

void ScoresFileTest::parseNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    int parsed = 0;
    QCOMPARE(WholeNumber::parse(text, parsed), valid);
    if (valid)
        QCOMPARE(parsed, value);
}

void ScoresFileTest::sort_data()
{
    QTest::addColumn<QList<int>>("dominoes");
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<QString>("order");
    const QList<int> dflt(13, 24);
    QList<int> times(13, 999);
    QTest::newRow("defaults stay") << dflt << times << "ABCDEFGHIJKLM";
    times[12] = 998;
    QTest::newRow("24 in 998 goes first") << dflt << times << "MABCDEFGHIJKL";
    QTest::newRow("equal result goes behind")
        << QList<int>{2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 8} << QList<int>(13, 100) << "ABCDMEFGHIJKL";
    QTest::newRow("time breaks a tie") << QList<int>{5, 5, 5, 0} << QList<int>{30, 10, 20, 40} << "DBCAEFGHIJKLM";
    QTest::newRow("negative numbers") << QList<int>{0, -1} << QList<int>{0, 0} << "BACDEFGHIJKLM";
    QTest::newRow("reverse order")
        << QList<int>{13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1} << QList<int>(13, 0) << "MLKJIHGFEDCBA";
}

void ScoresFileTest::sort()
{
    QFETCH(QList<int>, dominoes);
    QFETCH(QList<int>, times);
    QFETCH(QString, order);
    ScoresRecord record = recordOf(dominoes, times);
    sortBestPlayers(record);
    QCOMPARE(namesOf(record), order);
}

void ScoresFileTest::qualification_data()
{
    QTest::addColumn<int>("dominoes");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("enters");
    // Against the default entry 12: 24 dominoes left in 999 seconds.
    QTest::newRow("shorter time") << 24 << 998 << true;
    QTest::newRow("equal") << 24 << 999 << false;
    QTest::newRow("longer time") << 24 << 1000 << false;
    QTest::newRow("fewer dominoes, long time") << 22 << 5000 << true;
    QTest::newRow("more dominoes, no time") << 26 << 0 << false;
}

void ScoresFileTest::qualification()
{
    QFETCH(int, dominoes);
    QFETCH(int, seconds);
    QFETCH(bool, enters);
    // Entry 13 is better than all, and is not the one compared against.
    const ScoresRecord record = recordOf({}, QList<int>(12, 999) << 0);
    QCOMPARE(qualifies(record, dominoes, seconds), enters);
}

void ScoresFileTest::failedWriteKeepsTheFile()
{
    // A file size limit stops the write halfway, as a full disk would.
    QTemporaryDir dir;
    const QString path = dir.filePath("scores.ini");
    const QByteArray old = "[Kelvor]\r\nGamesWas=3\r\n";
    writeFileBytes(path, old);
    CapturedMessages messages;
    ScoresFile file(path, &messages);
    ScoresRecord record;
    QVERIFY(file.read(record));
    ++record.game.gamesWas;
    const bool written = writeWithFileSizeLimit(64, [&] { return file.write(record); });

    QVERIFY(!written);
    QCOMPARE(messages.messages, QStringList{"Unable to write to " + path});
    QCOMPARE(readFileBytes(path), old);
    // The game it could not save is saved with the next, which reads the
    // file first.
    QVERIFY(file.read(record));
    ++record.game.gamesWas;
    QVERIFY(file.write(record));
    QVERIFY(file.read(record));
    QCOMPARE(record.game.gamesWas, 5);
}

void ScoresFileTest::copiesKeepEachOthersChanges_data()
{
    // Steps: "a"/"b" deal a game in copy A/B; "A<name>"/"B<name>" end it
    // with that name, 0 dominoes left in as many seconds as the name's
    // length; "a."/"b." close the copy (a plain write).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("names");   // the best list's first names
    QTest::addColumn<QList<int>>("counts"); // game Was, Succ, End; family the same

    QTest::newRow("idle copy closes after the other's result")
        << QStringList{"b", "BBee", "b.", "a."} << "Bee" << QList<int>{1, 1, 1, 1, 1, 1};
    QTest::newRow("both enter results")
        << QStringList{"a", "b", "BBee", "AAnnabel", "a.", "b."} << "Bee,Annabel"
        << QList<int>{2, 2, 2, 2, 2, 2};
    QTest::newRow("closing copy after several games of the other")
        << QStringList{"a", "b", "BBo", "b", "BBoris", "b", "a.", "b."} << "Bo,Boris"
        << QList<int>{4, 2, 2, 4, 2, 2};
}

void ScoresFileTest::copiesKeepEachOthersChanges()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, names);
    QFETCH(QList<int>, counts);
    QTemporaryDir dir;
    const QString path = dir.filePath("scores.ini");
    // Another game of the family has counted already.
    writeFileBytes(path, "[Zolvar]\r\nGamesWas=3\r\n[Tolvane...]\r\nGamesWas=3\r\nGamesSucc=0\r\nGamesEnd=0\r\n");
    Copy a(path);
    Copy b(path);
    for (const QString &step : steps) {
        Copy &copy = step[0].toLower() == u'a' ? a : b;
        if (step.size() == 1)
            copy.newGame();
        else if (step.endsWith(u'.'))
            QVERIFY(copy.file.write(copy.record));
        else
            copy.finish(step.mid(1), 0, int(step.size()) - 1);
    }
    ScoresRecord record;
    QVERIFY(ScoresFile(path, nullptr).read(record));
    const QList<int> expected{counts[0], counts[1], counts[2], counts[3] + 3, counts[4], counts[5]};
    QCOMPARE((QList<int>{record.game.gamesWas, record.game.gamesSucc, record.game.gamesEnd,
                         record.family.gamesWas, record.family.gamesSucc, record.family.gamesEnd}),
             expected);
    const QStringList best = names.split(u',');
    for (int i = 0; i < best.size(); ++i)
        QCOMPARE(record.bestPlayers[i].name, best[i]);
    QCOMPARE(record.bestPlayers[best.size()].name, QStringLiteral("Somebody"));
    // The closing copy shows what is on file.
    QCOMPARE(a.record.bestPlayers[0].name, record.bestPlayers[0].name);
    QVERIFY(a.messages.messages.isEmpty() && b.messages.messages.isEmpty());
}

void ScoresFileTest::tornRewriteLosesOnlyItsOwnChange_data()
{
    QTest::addColumn<int>("cut");
    QTest::addColumn<QByteArray>("at");
    QTest::addColumn<bool>("finishes");

    const auto cuts = {std::make_tuple("emptied", FamilyRewriter::Cut::Empty, QByteArray()),
                       std::make_tuple("cut in a name", FamilyRewriter::Cut::InLine, QByteArray("7Name=Player 7")),
                       std::make_tuple("cut before this game's section", FamilyRewriter::Cut::BeforeLine,
                                       QByteArray("[Kelvor]"))};
    for (const auto &[name, cut, at] : cuts) {
        QTest::addRow("%s, then finished", name) << int(cut) << at << true;
        QTest::addRow("%s, and stalled", name) << int(cut) << at << false;
    }
}

void ScoresFileTest::tornRewriteLosesOnlyItsOwnChange()
{
    QFETCH(int, cut);
    QFETCH(QByteArray, at);
    QFETCH(bool, finishes);
    QTemporaryDir dir;
    const QString path = dir.filePath("scores.ini");
    QByteArray file = "[Tolvane...]\r\nGamesWas=150\r\nGamesSucc=40\r\nGamesEnd=20\r\n"
                      "[Ravendell]\r\nGamesWas=100\r\n1Name=Rhea\r\n"
                      "[Kelvor]\r\nGamesWas=50\r\nGamesSucc=13\r\nGamesEnd=5\r\n";
    for (int n = 1; n <= ScoresRecord::EntryCount; ++n)
        file += QStringLiteral("%1Name=Player %1\r\n%1DomLeft=%1\r\n%1Time=%2\r\n").arg(n).arg(100 + n).toLatin1();
    writeFileBytes(path, file);

    // Two copies press F2 beside Ravendell, which counts a game of its own.
    FamilyRewriter ravendell(path, finishes);
    Copy a(path);
    Copy b(path);
    b.newGame();
    a.newGame();
    ravendell.rewrite([](ProfileDocument &document) {
        document.writeString("Tolvane...", "GamesWas", "153");
        document.writeString("Ravendell", "GamesWas", "101");
    }, FamilyRewriter::Cut(cut), at);
    a.newGame();
    b.newGame();
    QVERIFY(a.file.write(a.record));
    QVERIFY(b.file.write(b.record));

    // Everything stays; Ravendell's game counts when its save ended, or
    // wrote its counters before it stalled.
    const bool counted = finishes || FamilyRewriter::Cut(cut) != FamilyRewriter::Cut::Empty;
    ScoresRecord record;
    QVERIFY(ScoresFile(path, nullptr).read(record));
    QCOMPARE(record.family.gamesWas, counted ? 155 : 154);
    QCOMPARE(record.game.gamesWas, 54);
    QCOMPARE((QList<int>{record.family.gamesSucc, record.family.gamesEnd, record.game.gamesSucc, record.game.gamesEnd}),
             (QList<int>{40, 20, 13, 5}));
    for (int n = 1; n <= ScoresRecord::EntryCount; ++n) {
        const ScoreEntry &entry = record.bestPlayers[n - 1];
        QCOMPARE(entry.name, QStringLiteral("Player %1").arg(n));
        QCOMPARE(entry.dominoesLeft, n);
        QCOMPARE(entry.time, 100 + n);
    }
    const ProfileDocument after = ProfileDocument::fromBytes(readFileBytes(path));
    QCOMPARE(after.readString("Ravendell", "GamesWas", "gone"), counted ? "101" : "100");
    QCOMPARE(after.readString("Ravendell", "1Name", "gone"), "Rhea");
    QVERIFY(a.messages.messages.isEmpty() && b.messages.messages.isEmpty());
    QVERIFY(ravendell.pauses > 0);
}

QTEST_GUILESS_MAIN(ScoresFileTest)
#include "tst_scores_file.moc"
