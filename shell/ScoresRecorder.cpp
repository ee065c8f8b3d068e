#include "ScoresRecorder.h"

#include "scores/Statistics.h"
#include "scores/windows/TEnter2HSC.h"

#include <utility>

void ScoresRecorder::countNewGame()
{
    m_statistics.countNewGame();
}

void ScoresRecorder::recordResult(int dominoesLeft, int seconds, bool hinted)
{
    m_pending = dominoesLeft;
    // The best list is for games played without a hint.
    if (!hinted && m_nameEntry && qualifies(m_statistics.record(), dominoesLeft, seconds)) {
        m_nameEntry->prepare(seconds, dominoesLeft);
        m_nameEntry->move(TEnter2HSC::centredOver(m_mainWindow.frameGeometry(), m_nameEntry->outerSize(m_mainWindow)));
        m_nameEntry->exec();
    }
    finishPending();
}

void ScoresRecorder::finishPending()
{
    if (!m_pending)
        return;
    if (m_nameEntry && m_nameEntry->isVisible() && !m_nameEntry->confirmed())
        m_nameEntry->Button1Click();
    m_statistics.finishGame(*std::exchange(m_pending, std::nullopt));
}
