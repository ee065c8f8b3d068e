#pragma once

#include "ScoresFile.h"
#include "ScoresRecord.h"

#include <optional>

// Told whenever the record has changed in a way worth showing.
class StatisticsObserver
{
public:
    virtual ~StatisticsObserver() = default;
    virtual void statisticsChanged(const ScoresRecord &record) = 0;
};

// The program's scores: the record in memory and the file it comes from and
// goes to. A window that shows them observes it.
class Statistics
{
public:
    explicit Statistics(ScoresFile file) : m_file(std::move(file)) {}

    ScoresRecord &record() { return m_record; }
    const ScoresRecord &record() const { return m_record; }
    void setObserver(StatisticsObserver *observer) { m_observer = observer; }

    // Replaces the record by the file's contents. A value that is not a
    // number has been reported and replaced by its default.
    bool ReadScores() { return m_file.read(m_record); }
    // Writes the whole record; a failure has been reported and the file
    // left as it was.
    bool WriteScores() { return m_file.write(m_record); }
    // Tells the observer of the record as it is now.
    void RefreshStatistics();

    // A new game is dealt: what other games of the family counted meanwhile
    // is read first, then the game is counted here and for the family.
    void countNewGame();
    // A game has ended with `dominoesLeft` after `seconds`. A best result
    // the player has given a name goes to the spare entry 13 and counts as
    // a successful game; a cleared board counts as won; the list is sorted,
    // shown and saved.
    void recordResult(int dominoesLeft, int seconds, const std::optional<QString> &name);

private:
    ScoresFile m_file;
    ScoresRecord m_record;
    StatisticsObserver *m_observer = nullptr;
};
