#include "Statistics.h"

#include "TScoresForm.h"

void Statistics::RefreshStatistics()
{
    if (m_window)
        m_window->RefreshStatistics(m_record);
}

void Statistics::countNewGame()
{
    ReadScores();
    ++m_record.game.gamesWas;
    ++m_record.family.gamesWas;
    WriteScores();
    RefreshStatistics();
}

void Statistics::enterResult(const QString &name, int dominoesLeft, int seconds)
{
    m_record.bestPlayers[ScoresRecord::EntryCount - 1] = {name.left(ScoresRecord::NameLength), dominoesLeft,
                                                          seconds};
    ++m_record.game.gamesSucc;
    ++m_record.family.gamesSucc;
}

void Statistics::finishGame(int dominoesLeft)
{
    if (dominoesLeft == 0) {
        ++m_record.game.gamesEnd;
        ++m_record.family.gamesEnd;
    }
    sortBestPlayers(m_record);
    RefreshStatistics();
    WriteScores();
}
