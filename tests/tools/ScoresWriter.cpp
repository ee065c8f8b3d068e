// Writes the scores file given as its last argument, for the tests that run
// writers as processes of their own.
//
//   kelvor_scores_writer <scores.ini>
//     writes over and over until it is killed. Each write sets every number
//     of the game's keys to the next count and every name to
//     "Writer<count>", so a reader can tell one whole write from a mix of two.
//     The count goes on from the one already in the file. After each whole
//     save it prints "saved <count>".
//   kelvor_scores_writer --new-games <n> <scores.ini>
//     deals n games as the game does: read, count one game in both sections,
//     write.
//   kelvor_scores_writer --slow-save <ms> <any of these>
//     its first save prints "replacing" and stops that long right before it
//     looks at the file again and replaces it, as on a busy disk.
//   kelvor_scores_writer --best <name> <dominoes left> <seconds> <scores.ini>
//     deals a game and ends it with that result as the game does, entering
//     the result under the name when it beats entry 12. Exit status 1 when
//     a write failed.

#include "platform/MessageSink.h"
#include "platform/ProfileFile.h"
#include "platform/SafeReplace.h"
#include "scores/ScoresFile.h"
#include "scores/Statistics.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

namespace {

class StderrSink : public MessageSink
{
public:
    void showError(const QString &text) override
    {
        shown = true;
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool shown = false;
};

int writeUntilKilled(const QString &path, MessageSink &sink)
{
    ProfileFile file(path, &sink);
    bool ok = false;
    int count = file.readString(QStringLiteral("Kelvor"), QStringLiteral("GamesWas"), QStringLiteral("0")).toInt(&ok);
    for (++count;; ++count) {
        const QString number = QString::number(count);
        const bool saved = file.update([&](ProfileDocument &document) {
            for (const char *section : {"Tolvane...", "Kelvor"})
                for (const char *key : {"GamesWas", "GamesSucc", "GamesEnd"})
                    document.writeString(QLatin1String(section), QLatin1String(key), number);
            for (int n = 1; n <= ScoresRecord::EntryCount; ++n) {
                document.writeString(QStringLiteral("Kelvor"), QStringLiteral("%1Name").arg(n), "Writer" + number);
                document.writeString(QStringLiteral("Kelvor"), QStringLiteral("%1DomLeft").arg(n), number);
                document.writeString(QStringLiteral("Kelvor"), QStringLiteral("%1Time").arg(n), number);
            }
        });
        if (!saved)
            return 1;
        std::printf("saved %d\n", count);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    StderrSink sink;
    if (argc > 3 && std::strcmp(argv[1], "--slow-save") == 0) {
        SafeReplace::setBeforeReplace([milliseconds = std::atoi(argv[2]), slowed = false]() mutable {
            if (std::exchange(slowed, true))
                return;
            std::puts("replacing");
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        });
        argc -= 2;
        argv += 2;
    }
    if (argc == 2)
        return writeUntilKilled(QString::fromLocal8Bit(argv[1]), sink);
    if (argc == 4 && std::strcmp(argv[1], "--new-games") == 0) {
        ScoresFile file(QString::fromLocal8Bit(argv[3]), &sink);
        ScoresRecord record;
        for (int n = std::atoi(argv[2]); n > 0; --n) {
            file.read(record);
            ++record.game.gamesWas;
            ++record.family.gamesWas;
            if (!file.write(record))
                return 1;
        }
        return 0;
    }
    if (argc == 6 && std::strcmp(argv[1], "--best") == 0) {
        Statistics statistics(ScoresFile(QString::fromLocal8Bit(argv[5]), &sink));
        const int dominoesLeft = std::atoi(argv[3]), seconds = std::atoi(argv[4]);
        statistics.countNewGame();
        std::optional<QString> name;
        if (qualifies(statistics.record(), dominoesLeft, seconds))
            name = QString::fromLocal8Bit(argv[2]);
        statistics.recordResult(dominoesLeft, seconds, name);
        return sink.shown ? 1 : 0;
    }
    std::fprintf(stderr, "usage: %s [--new-games <n> | --best <name> <left> <seconds>] <scores.ini>\n", argv[0]);
    return 2;
}
