#pragma once

#include "game/Game.h"

#include <QObject>
#include <vector>

class BoardTiles;
class QWidget;

// Play by keyboard on the board. The playable dominoes take the focus in
// reading order (top to bottom, then left to right, by where their tiles
// lie); Tab and Shift+Tab step through them, the arrow keys move to the
// nearest one in that direction, Space or Enter clicks the focused one and
// Esc lets the selection go. Where the game changes the board, the focus
// goes where a player looks next: after a pair to the nearest domino left,
// back to the same domino after a pause or the setup dialog, to the first
// after a deal, and off the board while it is hidden or the game is over.
// The focus frame shows once the player has used these keys, and hides at
// a mouse click in the window.
class BoardKeys : public QObject, private GameObserver
{
    Q_OBJECT
public:
    enum class Direction { Left, Right, Up, Down };

    BoardKeys(QWidget &window, BoardTiles &board, Game &game);

    // The playable slots in reading order.
    static std::vector<SlotNumber> readingOrder(const Game &game);
    // The playable slot after (or before) `from` in reading order, wrapping
    // round; the first (or last) when `from` is not playable. 0 when none is.
    static SlotNumber step(const Game &game, SlotNumber from, bool forward);
    // The nearest playable slot in that direction from `from`, within 45
    // degrees of it; `from` itself when there is none.
    static SlotNumber toward(const Game &game, SlotNumber from, Direction direction);
    // The playable slot nearest to where `slot` lies; 0 when none is.
    static SlotNumber nearestTo(const Game &game, SlotNumber slot);

    // The slot whose tile holds the window's focus, or 0.
    SlotNumber focusedSlot() const;
    bool cuesShown() const { return m_cues; }

    // Whether the focused tile has just left the board or stopped being
    // playable, so that the toolkit moves the focus off it.
    bool focusLeavingTile() const;
    // Tab (forward) or Shift+Tab, or the toolkit moving the focus off a
    // tile that has just left the board or stopped being playable. Where
    // the window holds the focus (a click on the background took it), the
    // first key brings it back to the domino that had it, as the arrows do.
    void focusNextPrevious(bool forward);
    // An arrow key pressed without Shift, Ctrl, Alt or Meta; false for other keys.
    bool arrowPressed(int key);
    // Space, Enter or Esc let go without a modifier; false for other keys.
    bool keyTapped(int key);
    // A click on a domino, by mouse, by key or by a screen reader.
    void play(SlotNumber slot);
    // A new game is being dealt: the focus starts afresh at its first domino.
    void startAfresh() { m_last = 0; }
    // The board has changed: the focus goes where the player looks next.
    // The game tells when it has dealt or hidden or shown the board; a
    // click on a domino settles here too.
    void settle();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void boardSettled() override { settle(); }
    void focusSlot(SlotNumber slot);
    void setCues(bool shown);

    QWidget &m_window;
    BoardTiles &m_board;
    Game &m_game;
    // The slot that had the focus last, or the one clicked last.
    SlotNumber m_last = 0;
    bool m_cues = false;
};
