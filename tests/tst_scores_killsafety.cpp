// A writer of the scores file killed at any moment leaves the file whole:
// the old contents or the new, never a torn or empty file.

#include "platform/ProfileDocument.h"
#include "scores/ScoresFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

const QString GameSection = QStringLiteral("Kelvor");
const QString FamilySection = QStringLiteral("Tolvane...");

QStringList counterKeys()
{
    return {QStringLiteral("GamesWas"), QStringLiteral("GamesSucc"), QStringLiteral("GamesEnd")};
}

QStringList gameKeys()
{
    QStringList keys = counterKeys();
    for (int n = 1; n <= 13; ++n)
        for (const char *word : {"Name", "DomLeft", "Time"})
            keys << QString::number(n) + QLatin1String(word);
    return keys;
}

// Whether the file holds exactly one whole write of the writer: its 45 keys,
// every number the same count and every name "Writer<count>". The count is
// returned in `count`.
bool isWholeWrite(const QString &path, int &count, QString &why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("the file is missing");
        return false;
    }
    const ProfileDocument document = ProfileDocument::fromBytes(file.readAll());
    if (document.readSectionKeys(FamilySection) != counterKeys()
        || document.readSectionKeys(GameSection) != gameKeys()) {
        why = QStringLiteral("keys missing or out of order");
        return false;
    }
    bool ok = false;
    count = document.readString(GameSection, QStringLiteral("GamesWas"), QString()).toInt(&ok);
    if (!ok || count < 1) {
        why = QStringLiteral("no count");
        return false;
    }
    const QString number = QString::number(count);
    const QString name = QStringLiteral("Writer") + number;
    for (const QString &key : counterKeys())
        if (document.readString(FamilySection, key, QString()) != number) {
            why = FamilySection + '/' + key + QStringLiteral(" is not ") + number;
            return false;
        }
    for (const QString &key : gameKeys()) {
        const QString expected = key.endsWith(QLatin1String("Name")) ? name : number;
        if (document.readString(GameSection, key, QString()) != expected) {
            why = key + QStringLiteral(" is not ") + expected;
            return false;
        }
    }
    return true;
}

} // namespace

class ScoresKillSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void killedWriterLeavesAWholeFile();
    void twoCopiesCountEveryGame();
    void aStalledCopyNeitherHoldsUpNorUndoesAnother();
};

void ScoresKillSafetyTest::killedWriterLeavesAWholeFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("scores.ini"));
    const QString writer = QStringLiteral(KELVOR_SCORES_WRITER);
    QVERIFY2(QFileInfo(writer).isExecutable(), qPrintable(writer));

    // The first run goes on until the file is there.
    {
        QProcess process;
        process.start(writer, {path});
        QVERIFY(process.waitForStarted());
        QVERIFY(process.waitForReadyRead(30000));
        QCOMPARE(process.state(), QProcess::Running);
        process.kill();
        QVERIFY(process.waitForFinished());
    }
    int count = 0;
    QString why;
    QVERIFY2(isWholeWrite(path, count, why), qPrintable(why));
    const int firstCount = count;

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    int runsThatWrote = 0;
    for (int run = 1; run <= 40; ++run) {
        const int delay = random.bounded(0, 30);
        const QByteArray context = QStringLiteral("run %1, killed after %2 ms, seed %3")
                                       .arg(run)
                                       .arg(delay)
                                       .arg(seed)
                                       .toLocal8Bit();
        QProcess process;
        process.start(writer, {path});
        QVERIFY2(process.waitForStarted(), context.constData());
        // The delay counts from the writer's first whole save, however long
        // a slow or checked build takes to get there.
        QVERIFY2(process.waitForReadyRead(30000), context.constData());
        QThread::msleep(delay);
        QVERIFY2(process.state() == QProcess::Running,
                 (context + ": the writer stopped: " + process.readAllStandardError()).constData());
        process.kill();
        QVERIFY2(process.waitForFinished(), context.constData());
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);

        int now = 0;
        QVERIFY2(isWholeWrite(path, now, why), (context + ": " + why.toLocal8Bit()).constData());
        QVERIFY2(now >= count, context.constData());
        QVERIFY2(now > count, context.constData()); // each run saved at least once
        if (now > count + 1)
            ++runsThatWrote;
        count = now;

        // The game's own reader takes the file, not a leftover beside it.
        CapturedMessages messages;
        ScoresRecord record;
        QVERIFY2(ScoresFile(path, &messages).read(record), context.constData());
        QCOMPARE(record.family.gamesEnd, count);
        QCOMPARE(record.bestPlayers[12].name, QStringLiteral("Writer%1").arg(count));
    }
    // The kills did land among the writes, not only after the first.
    QVERIFY(runsThatWrote > 0);
    QVERIFY(count > firstCount);

    // A write killed between naming its new file and renaming it over the
    // old one leaves that new file beside it, under a name of its own that
    // the game never reads. That window is short: such leftovers stay rare
    // and do not pile up with every kill.
    const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                           | QDir::NoDotAndDotDot);
    QVERIFY(entries.contains(QStringLiteral("scores.ini")));
    const QRegularExpression leftover(QStringLiteral("^scores\\.ini\\.[A-Za-z0-9]{6}$"));
    int leftovers = 0;
    for (const QString &entry : entries) {
        if (entry == QLatin1String("scores.ini"))
            continue;
        QVERIFY2(leftover.match(entry).hasMatch(), qPrintable(entry));
        ++leftovers;
    }
    QVERIFY2(leftovers <= 10, qPrintable(entries.join(u' ')));
}

// Two copies deal games as fast as they can into one file: every game is
// counted, in both sections, none lost to the other's save.
void ScoresKillSafetyTest::twoCopiesCountEveryGame()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scores.ini"));
    writeFileBytes(path, "[Tolvane...]\r\nGamesWas=1\r\n");
    const QString games = QStringLiteral("400");
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(KELVOR_SCORES_WRITER), {QStringLiteral("--new-games"), games, path});
    second.start(QStringLiteral(KELVOR_SCORES_WRITER), {QStringLiteral("--new-games"), games, path});
    for (QProcess *process : {&first, &second}) {
        QVERIFY(process->waitForFinished(300000));
        QCOMPARE(process->exitCode(), 0);
        QCOMPARE(process->readAllStandardError(), QByteArray());
    }
    CapturedMessages messages;
    ScoresRecord record;
    QVERIFY(ScoresFile(path, &messages).read(record));
    QCOMPARE(record.game.gamesWas, 800);
    QCOMPARE(record.family.gamesWas, 801);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"scores.ini"});
}

// A copy whose save stalls with the lock held (a slow disk, a stopped
// process) does not hold up another copy's save, and when it goes on it does
// not put its older file over the other's: both games are counted.
void ScoresKillSafetyTest::aStalledCopyNeitherHoldsUpNorUndoesAnother()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scores.ini"));
    writeFileBytes(path, "[Tolvane...]\r\nGamesWas=5\r\n");
    QProcess stalled;
    stalled.start(QStringLiteral(KELVOR_SCORES_WRITER), {"--slow-save", "4000", "--new-games", "1", path});
    QVERIFY(stalled.waitForReadyRead(30000));

    // The other copy deals a game meanwhile, as the game does.
    CapturedMessages messages;
    ScoresFile file(path, &messages);
    ScoresRecord record;
    QVERIFY(file.read(record));
    ++record.game.gamesWas;
    ++record.family.gamesWas;
    QVERIFY(file.write(record));
    QCOMPARE(stalled.state(), QProcess::Running); // saved while the first was still stalled

    QVERIFY(stalled.waitForFinished(60000));
    QCOMPARE(stalled.exitCode(), 0);
    QVERIFY(file.read(record));
    QCOMPARE(record.game.gamesWas, 2);
    QCOMPARE(record.family.gamesWas, 7);
    QVERIFY(messages.messages.isEmpty());
}

QTEST_GUILESS_MAIN(ScoresKillSafetyTest)
#include "tst_scores_killsafety.moc"
