#include "ScoresFile.h"

#include "platform/Characters.h"
#include "platform/MessageSink.h"
#include "platform/ProfileFile.h"

#include <limits>

namespace {

const QString gameSection = QStringLiteral("Kelvor");
const QString familySection = QStringLiteral("Tolvane...");

const QString keyGamesWas = QStringLiteral("GamesWas");
const QString keyGamesSucc = QStringLiteral("GamesSucc");
const QString keyGamesEnd = QStringLiteral("GamesEnd");

const QString defaultCounter = QStringLiteral("0");
const QString defaultName = QStringLiteral("Somebody");
const QString defaultDominoesLeft = QStringLiteral("24");
const QString defaultTime = QStringLiteral("999");

QString nameKey(int entry) { return QString::number(entry) + QStringLiteral("Name"); }
QString dominoesLeftKey(int entry) { return QString::number(entry) + QStringLiteral("DomLeft"); }
QString timeKey(int entry) { return QString::number(entry) + QStringLiteral("Time"); }

// Reads numbers from one loaded file; the first bad number is reported.
class NumberReader
{
public:
    NumberReader(const ProfileDocument &document, MessageSink *sink, QString &lastReported)
        : m_document(document)
        , m_sink(sink)
        , m_lastReported(lastReported)
    {
    }

    int read(const QString &section, const QString &key, const QString &defaultValue)
    {
        const QString text = m_document.readString(section, key, defaultValue);
        int value = 0;
        if (parseScoreNumber(text, value))
            return value;
        // One message a read, and none for a value already reported that no
        // write has repaired yet.
        if (m_clean && m_sink && text != m_lastReported)
            m_sink->showError(QStringLiteral("'%1' is not a valid integer value").arg(text));
        if (m_clean)
            m_lastReported = text;
        m_clean = false;
        parseScoreNumber(defaultValue, value);
        return value;
    }

    bool clean() const { return m_clean; }

private:
    const ProfileDocument &m_document;
    MessageSink *m_sink;
    QString &m_lastReported;
    bool m_clean = true;
};

void readCounters(NumberReader &reader, const QString &section, GameCounters &counters)
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

} // namespace

ScoresFile::ScoresFile(QString path, MessageSink *sink)
    : m_path(std::move(path))
    , m_sink(sink)
{
}

bool ScoresFile::read(ScoresRecord &record) const
{
    const ProfileDocument document = ProfileFile(m_path, m_sink).load();
    NumberReader reader(document, m_sink, m_lastReported);
    readCounters(reader, gameSection, record.game);
    readCounters(reader, familySection, record.family);
    for (int n = 1; n <= ScoresRecord::EntryCount; ++n) {
        ScoreEntry &entry = record.bestPlayers[n - 1];
        entry.name = leftCharacters(document.readString(gameSection, nameKey(n), defaultName),
                                    ScoresRecord::NameLength);
        entry.dominoesLeft = reader.read(gameSection, dominoesLeftKey(n), defaultDominoesLeft);
        entry.time = reader.read(gameSection, timeKey(n), defaultTime);
    }
    return reader.clean();
}

bool ScoresFile::write(const ScoresRecord &record)
{
    ProfileFile file(m_path, m_sink);
    ProfileDocument document = file.load();
    writeCounters(document, familySection, record.family);
    writeCounters(document, gameSection, record.game);
    for (int n = 1; n <= ScoresRecord::EntryCount; ++n) {
        const ScoreEntry &entry = record.bestPlayers[n - 1];
        document.writeString(gameSection, nameKey(n), entry.name);
        document.writeString(gameSection, dominoesLeftKey(n), QString::number(entry.dominoesLeft));
        document.writeString(gameSection, timeKey(n), QString::number(entry.time));
    }
    if (!file.save(document))
        return false;
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

bool parseScoreNumber(const QString &text, int &value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    // Magnitude up to 2^31, which only a negative number may reach.
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > limit)
            return false;
    }
    if (!negative && magnitude == limit)
        return false;
    value = int(negative ? -magnitude : magnitude);
    return true;
}
