#include "HintBlink.h"

#include "BoardTiles.h"

HintBlink::HintBlink(BoardTiles &board, const Game &game, QObject *parent)
    : QObject(parent), m_board(board), m_game(game)
{
    m_timer.setInterval(Interval);
    connect(&m_timer, &QTimer::timeout, this, &HintBlink::step);
}

void HintBlink::start(SlotNumber first, SlotNumber second)
{
    stop();
    m_slots = {first, second};
    for (int i = 0; i < 2; ++i) {
        const QImage face = m_board.face(m_game, m_slots[i]);
        m_faces[i] = {face, face.isNull() ? face : m_board.marked(face)};
    }
    m_phase = 1;
    show();
    m_timer.start();
}

void HintBlink::step()
{
    if (!m_phase)
        return;
    if (++m_phase > Phases)
        stop();
    else
        show();
}

void HintBlink::show()
{
    // The odd phases show the mark.
    for (int i = 0; i < 2; ++i)
        m_board.flash(m_slots[i], m_faces[i][m_phase % 2]);
}

void HintBlink::stop()
{
    m_timer.stop();
    if (!m_phase)
        return;
    m_phase = 0;
    for (SlotNumber s : m_slots)
        m_board.flash(s, QImage());
}
