// Prints how fast the shared profile files are read and saved, and how much
// memory a big one takes. Run it from the build folder:
// tests/kelvor_profile_bench.

#include "platform/MessageSink.h"
#include "platform/ProfileFile.h"
#include "scores/ScoresFile.h"
#include "settings/SettingsFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <ctime>
#include <sys/resource.h>

namespace {

struct NoMessages : MessageSink
{
    void showError(const QString &) override {}
};

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// A file of `size` bytes of short key lines, the game's sections at its end.
QByteArray shortLines(qint64 size)
{
    QByteArray bytes = "[Other]\r\n";
    for (int i = 0; bytes.size() < size - 64; ++i)
        bytes += "k" + QByteArray::number(i % 1000) + "=1\r\n";
    return bytes + "[Kelvor]\r\nGamesWas=5\r\n";
}

// A file of many small sections after the game's own, of at most `size`
// bytes, as any player who may write the shared folder can leave.
QByteArray manySections(qint64 size, const QByteArray &own, int &sections)
{
    QByteArray bytes = own;
    for (sections = 0;; ++sections) {
        const QByteArray block = "[S" + QByteArray::number(sections) + "]\r\nk=1\r\n";
        if (bytes.size() + block.size() > size)
            return bytes;
        bytes += block;
    }
}

double processMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The time the work takes, and the processor time it takes (less than the
// time on a busy machine, more when the disk waits).
QString millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    const double cpu = processMilliseconds();
    timer.start();
    work();
    return QStringLiteral("%1 ms (cpu %2)").arg(timer.nsecsElapsed() / 1e6, 0, 'f', 1).arg(processMilliseconds() - cpu, 0, 'f', 1);
}

} // namespace

int main()
{
    NoMessages messages;
    QTemporaryDir folder;
    const QString path = folder.filePath("scores.ini");
    std::printf("Kelvor profile file benchmarks\n");

    // A normal scores file: a new game reads it and saves it, flushed.
    {
        ScoresFile file(path, &messages);
        ScoresRecord record;
        file.read(record);
        file.write(record);
        const int runs = 200;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < runs; ++i) {
            file.read(record);
            ++record.game.gamesWas;
            file.write(record);
        }
        std::printf("%-60s %8.2f ms  (%d runs, %lld bytes)\n", "new game on a normal scores file (read, locked save)",
                    timer.nsecsElapsed() / 1e6 / runs, runs, QFile(path).size());
    }

    // The biggest file that is read, of short lines: open and a new game.
    const qint64 sizes[] = {ProfileFile::MaxFileSize / 4, ProfileFile::MaxFileSize};
    for (const qint64 size : sizes) {
        writeFile(path, shortLines(size));
        const long before = peakKilobytes();
        QElapsedTimer timer;
        timer.start();
        const ProfileDocument document = ProfileFile(path, &messages).load();
        const double openMs = timer.nsecsElapsed() / 1e6;
        const long grown = peakKilobytes() - before;
        timer.restart();
        ScoresFile file(path, &messages);
        ScoresRecord record;
        file.read(record);
        ++record.game.gamesWas;
        file.write(record);
        std::printf("%-60s %8.2f ms open, %8.2f ms new game, peak memory +%ld KB (%.1f x size)\n",
                    qPrintable(QStringLiteral("file of short lines, %1 bytes").arg(size)), openMs,
                    timer.nsecsElapsed() / 1e6, grown, grown * 1024.0 / size);
    }

    // A scores and a settings file of many sections up to the limit: a read,
    // a new game's merge and save, and the reads and the save of a start.
    {
        int sections = 0;
        const QString settingsPath = folder.filePath(SettingsFile::FileName);
        writeFile(path, manySections(ProfileFile::MaxFileSize, "[Kelvor]\r\nGamesWas=5\r\n", sections));
        writeFile(settingsPath, manySections(ProfileFile::MaxFileSize, "[Tolvane...]\r\nLaunches=3\r\n", sections));
        const QString readMs = millisecondsOf([&] { ProfileFile(path, &messages).load(); });
        ScoresFile scores(path, &messages);
        ScoresRecord record;
        const QString mergeMs = millisecondsOf([&] {
            scores.read(record);
            ++record.game.gamesWas;
            scores.write(record);
        });
        // Start-up reads the settings as the setup dialog is made and again
        // for "Loading preferences", then the scores, and saves the settings.
        const QString startMs = millisecondsOf([&] {
            SettingsFile settings(settingsPath, &messages);
            settings.read();
            StoredSettings stored = settings.read();
            ScoresFile(path, &messages).read(record);
            ++stored.launches;
            settings.write(stored);
        });
        std::printf("%-60s read %s, new game (merge, save) %s, start-up reads and save %s\n",
                    qPrintable(QStringLiteral("%1 sections of a %2-byte file").arg(sections).arg(QFile(path).size())),
                    qPrintable(readMs), qPrintable(mergeMs), qPrintable(startMs));
    }

    // Over the limit: refused at once, never read.
    writeFile(path, QByteArray());
    QFile::resize(path, 64 * 1024 * 1024);
    QElapsedTimer timer;
    timer.start();
    ProfileFile(path, &messages).load();
    std::printf("%-60s %8.2f ms\n", "64 MB file (over the limit, not read)", timer.nsecsElapsed() / 1e6);
    return 0;
}
