// Writes the scores file given as its argument over and over until it is
// killed. Each write sets every number of the record to the next count and
// every name to "Writer<count>", so a reader can tell one whole write from
// a mix of two. The count goes on from the one already in the file.

#include "platform/MessageSink.h"
#include "scores/ScoresFile.h"

#include <cstdio>

namespace {

class StderrSink : public MessageSink
{
public:
    void showError(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <scores.ini>\n", argv[0]);
        return 2;
    }
    StderrSink sink;
    ScoresFile file(QString::fromLocal8Bit(argv[1]), &sink);
    ScoresRecord record;
    file.read(record);
    for (int count = record.game.gamesWas + 1;; ++count) {
        record.game = {count, count, count};
        record.family = {count, count, count};
        for (ScoreEntry &entry : record.bestPlayers)
            entry = {QStringLiteral("Writer%1").arg(count), count, count};
        if (!file.write(record))
            return 1;
    }
}
