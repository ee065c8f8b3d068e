#pragma once

#include "ScoresFile.h"
#include "ScoresRecord.h"

class TScoresForm;

// The program's scores: the record in memory, the file it comes from and
// goes to, and the statistics window that shows it.
class Statistics
{
public:
    explicit Statistics(ScoresFile file) : m_file(std::move(file)) {}

    ScoresRecord &record() { return m_record; }
    const ScoresRecord &record() const { return m_record; }
    void setWindow(TScoresForm *window) { m_window = window; }

    // Replaces the record by the file's contents. A value that is not a
    // number has been reported and replaced by its default.
    bool ReadScores() { return m_file.read(m_record); }
    // Writes the whole record; a failure has been reported and the file
    // left as it was.
    bool WriteScores() { return m_file.write(m_record); }
    // Shows the record in the statistics window.
    void RefreshStatistics();

    // A new game is dealt: what other games of the family counted meanwhile
    // is read first, then the game is counted here and for the family.
    void countNewGame();
    // A confirmed best result goes to the spare entry 13 and counts as a
    // successful game.
    void enterResult(const QString &name, int dominoesLeft, int seconds);
    // The end of a game, after the name entry: a cleared board counts as
    // won; the list is sorted, shown and saved.
    void finishGame(int dominoesLeft);

private:
    ScoresFile m_file;
    ScoresRecord m_record;
    TScoresForm *m_window = nullptr;
};
