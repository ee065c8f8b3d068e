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
    m_pending = Result{dominoesLeft, seconds, false};
    // The best list is for games played without a hint.
    if (!hinted && m_nameEntry && qualifies(m_statistics.record(), dominoesLeft, seconds)) {
        m_pending->nameAsked = true;
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
    const Result result = *std::exchange(m_pending, std::nullopt);
    std::optional<QString> name;
    if (result.nameAsked) {
        if (m_nameEntry->isVisible() && !m_nameEntry->confirmedName())
            m_nameEntry->Button1Click();
        name = m_nameEntry->confirmedName();
    }
    m_statistics.recordResult(result.dominoesLeft, result.seconds, name);
}
