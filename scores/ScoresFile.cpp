#include "ScoresFile.h"

#include "game/Family.h"
#include "platform/Characters.h"
#include "platform/ProfileFile.h"
#include "platform/WholeNumberReader.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

const QString gameSection = QStringLiteral("Kelvor");
const QString familySection = QString::fromLatin1(Family::Name);

const QString keyGamesWas = QStringLiteral("GamesWas");
const QString keyGamesSucc = QStringLiteral("GamesSucc");
const QString keyGamesEnd = QStringLiteral("GamesEnd");

constexpr int defaultCounter = 0;
const QString defaultName = QStringLiteral("Somebody");
constexpr int defaultDominoesLeft = 24;
constexpr int defaultTime = 999;

QString nameKey(int entry) { return QString::number(entry) + QStringLiteral("Name"); }
QString dominoesLeftKey(int entry) { return QString::number(entry) + QStringLiteral("DomLeft"); }
QString timeKey(int entry) { return QString::number(entry) + QStringLiteral("Time"); }

void readCounters(WholeNumberReader &reader, const QString &section, GameCounters &counters)
{
    counters.gamesWas = reader.read(section, keyGamesWas, defaultCounter);
    counters.gamesSucc = reader.read(section, keyGamesSucc, defaultCounter);
    counters.gamesEnd = reader.read(section, keyGamesEnd, defaultCounter);
}

void writeCounters(ProfileDocument &document, const QString &section, const GameCounters &counters)
{
    document.writeString(section, keyGamesWas, QString::number(counters.gamesWas));
    document.writeString(section, keyGamesSucc, QString::number(counters.gamesSucc));
    document.writeString(section, keyGamesEnd, QString::number(counters.gamesEnd));
}

bool isBetter(const ScoreEntry &a, const ScoreEntry &b)
{
    return a.dominoesLeft < b.dominoesLeft
           || (a.dominoesLeft == b.dominoesLeft && a.time < b.time);
}

bool sameEntry(const ScoreEntry &a, const ScoreEntry &b)
{
    return a.name == b.name && a.dominoesLeft == b.dominoesLeft && a.time == b.time;
}

// Reads the whole record from a loaded file.
void readRecord(const ProfileDocument &document, WholeNumberReader &reader, ScoresRecord &record)
{
    readCounters(reader, gameSection, record.game);
    readCounters(reader, familySection, record.family);
    for (int n = 1; n <= ScoresRecord::EntryCount; ++n) {
        ScoreEntry &entry = record.bestPlayers[n - 1];
        entry.name = leftCharacters(document.readString(gameSection, nameKey(n), defaultName),
                                    ScoresRecord::NameLength);
        entry.dominoesLeft = reader.read(gameSection, dominoesLeftKey(n), defaultDominoesLeft);
        entry.time = reader.read(gameSection, timeKey(n), defaultTime);
    }
}

void writeRecord(ProfileDocument &document, const ScoresRecord &record)
{
    writeCounters(document, familySection, record.family);
    writeCounters(document, gameSection, record.game);
    for (int n = 1; n <= ScoresRecord::EntryCount; ++n) {
        const ScoreEntry &entry = record.bestPlayers[n - 1];
        document.writeString(gameSection, nameKey(n), entry.name);
        document.writeString(gameSection, dominoesLeftKey(n), QString::number(entry.dominoesLeft));
        document.writeString(gameSection, timeKey(n), QString::number(entry.time));
    }
}

// The file's counter plus what this run counted since `base`; counters wrap
// round at the top of their range.
int raised(int now, int mine, int base)
{
    return static_cast<int>(static_cast<unsigned>(now) + (static_cast<unsigned>(mine) - static_cast<unsigned>(base)));
}

GameCounters raised(const GameCounters &now, const GameCounters &mine, const GameCounters &base)
{
    return {raised(now.gamesWas, mine.gamesWas, base.gamesWas),
            raised(now.gamesSucc, mine.gamesSucc, base.gamesSucc),
            raised(now.gamesEnd, mine.gamesEnd, base.gamesEnd)};
}

} // namespace

ScoresFile::ScoresFile(QString path, MessageSink *sink)
    : m_file(std::move(path), sink, ProfileFile::Sharing::Shared)
    , m_sink(sink)
{
}

bool ScoresFile::read(ScoresRecord &record) const
{
    const ProfileDocument document = m_file.load();
    WholeNumberReader reader(document, m_sink, m_lastReported);
    ScoresRecord now;
    readRecord(document, reader, now);
    // What a save that failed could not write (the file was busy or out of
    // reach) stays counted on top of the file, for the next save.
    record = m_unsaved ? merged(record, now) : now;
    m_base = now;
    return reader.clean();
}

ScoresRecord ScoresFile::merged(const ScoresRecord &record, const ScoresRecord &now) const
{
    ScoresRecord result;
    result.game = raised(now.game, record.game, m_base.game);
    result.family = raised(now.family, record.family, m_base.family);

    // A list this run left as it was is the file's, in the file's order.
    result.bestPlayers = now.bestPlayers;
    if (std::equal(record.bestPlayers.begin(), record.bestPlayers.end(), m_base.bestPlayers.begin(), sameEntry))
        return result;

    // This run's changes to the list: the record's entries that the base did
    // not hold are its new results; the base's entries that the record no
    // longer holds were given up (the spare entry 13 that a new result
    // took). Each entry of one accounts for one equal entry of the other.
    std::vector<bool> kept(ScoresRecord::EntryCount, false);
    std::vector<ScoreEntry> added;
    for (const ScoreEntry &entry : record.bestPlayers) {
        bool known = false;
        for (int i = 0; i < ScoresRecord::EntryCount && !known; ++i) {
            if (!kept[i] && sameEntry(m_base.bestPlayers[i], entry))
                kept[i] = known = true;
        }
        if (!known)
            added.push_back(entry);
    }
    std::vector<ScoreEntry> list(now.bestPlayers.begin(), now.bestPlayers.end());
    for (int i = 0; i < ScoresRecord::EntryCount; ++i) {
        if (kept[i])
            continue;
        // Given up here: gone from the file too, unless another game has
        // already pushed it out. The spare place is at the end.
        const auto given = std::find_if(list.rbegin(), list.rend(), [&](const ScoreEntry &entry) {
            return sameEntry(entry, m_base.bestPlayers[i]);
        });
        if (given != list.rend())
            list.erase(std::next(given).base());
    }
    list.insert(list.end(), added.begin(), added.end());
    // Sorted as this run sorted its own list; new results behind the file's
    // entries, so that one equal to an entry on file goes after it, as the
    // list's own sort places it.
    std::stable_sort(list.begin(), list.end(), isBetter);
    std::copy_n(list.begin(), ScoresRecord::EntryCount, result.bestPlayers.begin());
    return result;
}

bool ScoresFile::write(const ScoresRecord &record)
{
    ScoresRecord copy = record;
    return write(copy);
}

bool ScoresFile::write(ScoresRecord &record)
{
    ScoresRecord result;
    const bool saved = m_file.update([&](ProfileDocument &document) {
        // What the file holds now; a value that is not a number was reported
        // when read and is repaired by this write.
        QString unreported;
        WholeNumberReader reader(document, nullptr, unreported);
        ScoresRecord now;
        readRecord(document, reader, now);
        result = merged(record, now);
        writeRecord(document, result);
    });
    if (!saved) {
        m_unsaved = true;
        return false;
    }
    m_unsaved = false;
    m_base = result;
    record = result;
    m_lastReported.clear();
    return true;
}

void sortBestPlayers(ScoresRecord &record)
{
    auto &entries = record.bestPlayers;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
            if (isBetter(entries[i + 1], entries[i])) {
                std::swap(entries[i], entries[i + 1]);
                swapped = true;
            }
        }
    }
}

bool qualifies(const ScoresRecord &record, int dominoesLeft, int seconds)
{
    return isBetter(ScoreEntry{QString(), dominoesLeft, seconds},
                    record.bestPlayers[ScoresRecord::ShownEntries - 1]);
}
