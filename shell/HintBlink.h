#pragma once

#include "game/Game.h"

#include <QImage>
#include <QObject>
#include <QTimer>
#include <array>

class BoardTiles;

// The hint on the board: the two dominoes of a pair show the selection mark
// twice, a quarter of a second on, a quarter off, on and off again, and then
// show what they showed before, a selected one its mark. The game's
// selection is not touched. A change of the board or of the game's flow
// ends the blink at once.
class HintBlink : public QObject
{
    Q_OBJECT
public:
    static constexpr int Interval = 250; // milliseconds of each phase
    static constexpr int Phases = 4;     // on, off, on, off

    HintBlink(BoardTiles &board, const Game &game, QObject *parent);

    void start(SlotNumber first, SlotNumber second);
    // The next phase; after the last the board shows the game again. The
    // timer calls it every Interval.
    void step();
    void stop();
    bool running() const { return m_phase > 0; }
    const QTimer &timer() const { return m_timer; }

private:
    void show();

    BoardTiles &m_board;
    const Game &m_game;
    QTimer m_timer;
    std::array<SlotNumber, 2> m_slots{};
    // Their faces, loaded once for the whole blink: plain and marked.
    std::array<std::array<QImage, 2>, 2> m_faces;
    int m_phase = 0; // 1 to Phases while it blinks
};
