// Prints how fast the shared profile files are read and saved, and how much
// memory a big one takes. Run it from the build folder:
// tests/kelvor_profile_bench.

#include "platform/MessageSink.h"
#include "platform/ProfileFile.h"
#include "scores/ScoresFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
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

    // Over the limit: refused at once, never read.
    writeFile(path, QByteArray());
    QFile::resize(path, 64 * 1024 * 1024);
    QElapsedTimer timer;
    timer.start();
    ProfileFile(path, &messages).load();
    std::printf("%-60s %8.2f ms\n", "64 MB file (over the limit, not read)", timer.nsecsElapsed() / 1e6);
    return 0;
}
