#pragma once

#include <QString>

#include <array>

// One result in the best list.
struct ScoreEntry
{
    QString name;         // as typed, at most 18 characters
    int dominoesLeft = 0; // dominoes on the board when the game ended
    int time = 0;         // whole seconds of play
};

// Three counters, kept for this game and summed over the family.
struct GameCounters
{
    int gamesWas = 0;  // games dealt
    int gamesSucc = 0; // results entered into the best list
    int gamesEnd = 0;  // games won: the board cleared
};

// The program's copy of the scores file. Everything is zero and empty until
// the first read.
struct ScoresRecord
{
    static constexpr int EntryCount = 13;
    // Entries 1 to 12 are shown; entry 13 is the spare place for a new result.
    static constexpr int ShownEntries = 12;
    static constexpr int NameLength = 18;

    GameCounters game;
    GameCounters family;
    // bestPlayers[0] is entry 1, the best result.
    std::array<ScoreEntry, EntryCount> bestPlayers;
};
