#pragma once

#include "game/Game.h"

#include <optional>

class QWidget;
class Statistics;
class TEnter2HSC;

// What a game counts and records in the program's scores: a new game is
// counted as played; at its end a result good enough for the best list
// opens the name entry over the main window (not after a hint), then the
// game is counted and the scores are saved.
class ScoresRecorder : public GameRecorder
{
public:
    ScoresRecorder(Statistics &statistics, TEnter2HSC *nameEntry, const QWidget &mainWindow)
        : m_statistics(statistics), m_nameEntry(nameEntry), m_mainWindow(mainWindow)
    {
    }

    void countNewGame() override;
    void recordResult(int dominoesLeft, int seconds, bool hinted) override;
    // A game that has ended and is not recorded yet (its name entry is open
    // when the session ends) is recorded now: the name entry is confirmed
    // with the name its field holds, then the result is recorded by one
    // call, with the name or without.
    void finishPending();

private:
    struct Result
    {
        int dominoesLeft;
        int seconds;
        bool nameAsked; // the name entry was shown for it
    };

    Statistics &m_statistics;
    TEnter2HSC *m_nameEntry;
    const QWidget &m_mainWindow;
    // The game that has ended and is not recorded yet.
    std::optional<Result> m_pending;
};
