#include "Statistics.h"

namespace {

// Counters wrap round at the top of their range, as they always have in the
// family's files, rather than overflow.
void count(int &counter)
{
    counter = static_cast<int>(static_cast<unsigned>(counter) + 1u);
}

} // namespace

void Statistics::RefreshStatistics()
{
    if (m_observer)
        m_observer->statisticsChanged(m_record);
}

void Statistics::countNewGame()
{
    ReadScores();
    count(m_record.game.gamesWas);
    count(m_record.family.gamesWas);
    WriteScores();
    RefreshStatistics();
}

void Statistics::recordResult(int dominoesLeft, int seconds, const std::optional<QString> &name)
{
    if (name) {
        m_record.bestPlayers[ScoresRecord::EntryCount - 1] = {name->left(ScoresRecord::NameLength), dominoesLeft,
                                                              seconds};
        count(m_record.game.gamesSucc);
        count(m_record.family.gamesSucc);
    }
    if (dominoesLeft == 0) {
        count(m_record.game.gamesEnd);
        count(m_record.family.gamesEnd);
    }
    sortBestPlayers(m_record);
    RefreshStatistics();
    WriteScores();
}
