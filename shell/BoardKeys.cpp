#include "BoardKeys.h"

#include "BoardTiles.h"
#include "TileImage.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <algorithm>
#include <cstdlib>

namespace {

// Where a slot's tile lies; every tile has the same size, so its corner
// stands for its centre.
BoardFigure::Point at(SlotNumber s)
{
    return BoardFigure::position(s);
}

} // namespace

BoardKeys::BoardKeys(QWidget &window, BoardTiles &board, Game &game)
    : QObject(&window), m_window(window), m_board(board), m_game(game)
{
    // A mouse press anywhere in the window hides the focus frame, as the
    // desktop hides focus cues from a player who uses the mouse.
    QCoreApplication::instance()->installEventFilter(this);
    m_game.addObserver(this);
}

std::vector<SlotNumber> BoardKeys::readingOrder(const Game &game)
{
    std::vector<SlotNumber> order;
    for (SlotNumber s = 1; s <= BoardFigure::SlotCount; ++s)
        if (game.isPlayable(s))
            order.push_back(s);
    std::stable_sort(order.begin(), order.end(), [](SlotNumber a, SlotNumber b) {
        return at(a).y != at(b).y ? at(a).y < at(b).y : at(a).x < at(b).x;
    });
    return order;
}

SlotNumber BoardKeys::step(const Game &game, SlotNumber from, bool forward)
{
    const std::vector<SlotNumber> order = readingOrder(game);
    if (order.empty())
        return 0;
    const auto here = std::find(order.begin(), order.end(), from);
    if (here == order.end())
        return forward ? order.front() : order.back();
    const int count = int(order.size());
    const int index = int(here - order.begin());
    return order[(index + (forward ? 1 : count - 1)) % count];
}

SlotNumber BoardKeys::toward(const Game &game, SlotNumber from, Direction direction)
{
    SlotNumber best = from;
    int bestScore = 0;
    int bestAside = 0;
    for (SlotNumber s : readingOrder(game)) {
        const int dx = at(s).x - at(from).x;
        const int dy = at(s).y - at(from).y;
        int ahead = 0;
        int aside = 0;
        switch (direction) {
        case Direction::Left: ahead = -dx; aside = std::abs(dy); break;
        case Direction::Right: ahead = dx; aside = std::abs(dy); break;
        case Direction::Up: ahead = -dy; aside = std::abs(dx); break;
        case Direction::Down: ahead = dy; aside = std::abs(dx); break;
        }
        if (ahead <= 0 || aside > ahead)
            continue;
        // Straight ahead counts for more than off to the side; of two alike,
        // the one more in line, then the first in reading order.
        const int score = ahead + 2 * aside;
        if (best == from || score < bestScore || (score == bestScore && aside < bestAside)) {
            best = s;
            bestScore = score;
            bestAside = aside;
        }
    }
    return best;
}

SlotNumber BoardKeys::nearestTo(const Game &game, SlotNumber slot)
{
    SlotNumber best = 0;
    int bestDistance = 0;
    for (SlotNumber s : readingOrder(game)) {
        const int dx = at(s).x - at(slot).x;
        const int dy = at(s).y - at(slot).y;
        const int distance = dx * dx + dy * dy;
        if (!best || distance < bestDistance) {
            best = s;
            bestDistance = distance;
        }
    }
    return best;
}

SlotNumber BoardKeys::focusedSlot() const
{
    const auto *tile = qobject_cast<const TileImage *>(m_window.focusWidget());
    return tile && m_board.tile(tile->slot()) == tile ? tile->slot() : 0;
}

bool BoardKeys::focusLeavingTile() const
{
    const SlotNumber now = focusedSlot();
    return now && (!m_board.tile(now)->isVisible() || !m_board.tile(now)->isEnabled());
}

void BoardKeys::focusNextPrevious(bool forward)
{
    if (focusLeavingTile()) {
        // The focused domino has left the board or the game has ended: the
        // window holds the focus until the board settles.
        m_window.setFocus(Qt::OtherFocusReason);
        return;
    }
    const SlotNumber now = focusedSlot();
    setCues(true);
    if (m_game.dealing())
        return;
    if (!now && m_last && m_game.isPlayable(m_last))
        focusSlot(m_last);
    else if (const SlotNumber next = step(m_game, now, forward))
        focusSlot(next);
}

bool BoardKeys::arrowPressed(int key)
{
    static constexpr struct
    {
        Qt::Key key;
        Direction direction;
    } arrows[] = {{Qt::Key_Left, Direction::Left},
                  {Qt::Key_Right, Direction::Right},
                  {Qt::Key_Up, Direction::Up},
                  {Qt::Key_Down, Direction::Down}};
    for (const auto &arrow : arrows) {
        if (arrow.key != key)
            continue;
        setCues(true);
        if (m_game.dealing())
            return true;
        const SlotNumber now = focusedSlot();
        const SlotNumber next = now && m_game.isPlayable(now)        ? toward(m_game, now, arrow.direction)
                                : m_last && m_game.isPlayable(m_last) ? m_last
                                                                      : step(m_game, 0, true);
        if (next)
            focusSlot(next);
        return true;
    }
    return false;
}

bool BoardKeys::keyTapped(int key)
{
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        setCues(true);
        if (const SlotNumber slot = focusedSlot())
            play(slot);
        return true;
    case Qt::Key_Escape:
        setCues(true);
        // The selected domino clicked again: its mark goes, as by the mouse.
        if (m_game.selectionActive())
            m_game.click(m_game.selectedSlot());
        settle();
        return true;
    default:
        return false;
    }
}

void BoardKeys::play(SlotNumber slot)
{
    // A click that comes while the deal lets messages through counts for
    // nothing, and the new game's focus starts at its first domino.
    if (m_game.dealing())
        return;
    m_last = slot;
    m_game.click(slot);
    settle();
}

void BoardKeys::settle()
{
    if (m_game.dealing())
        return;
    const std::vector<SlotNumber> order = readingOrder(m_game);
    if (order.empty()) {
        if (focusedSlot())
            m_window.setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!m_last)
        focusSlot(order.front());
    else if (m_game.isPlayable(m_last))
        focusSlot(m_last);
    else
        focusSlot(nearestTo(m_game, m_last));
}

void BoardKeys::focusSlot(SlotNumber slot)
{
    m_last = slot;
    m_board.tile(slot)->setFocus(Qt::OtherFocusReason);
}

void BoardKeys::setCues(bool shown)
{
    if (m_cues == shown)
        return;
    m_cues = shown;
    for (TileImage *tile : m_board.tiles())
        tile->setFocusCue(shown);
}

bool BoardKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (m_cues && event->type() == QEvent::MouseButtonPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == &m_window)
        setCues(false);
    return false;
}
