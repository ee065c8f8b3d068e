#pragma once

#include "Toolbar.h"
#include "game/Game.h"

#include <QObject>

class BoardKeys;
class BoardTiles;
class KeyTaps;
class QKeyEvent;
class QWidget;

// The main window's keys. F2 to F5 act as their toolbar buttons, with Ctrl
// or Shift held or not, and H asks for a hint; Space, Enter, Esc, Tab and
// the arrows play on the board (BoardKeys), whose focus settles by itself
// where the game changes the board. Each key acts once per press, on its
// release (KeyTaps); one that comes while a game is being dealt counts for
// nothing.
class MainWindowKeys : public QObject
{
    Q_OBJECT
public:
    MainWindowKeys(QWidget &window, BoardTiles &board, Game &game);

    BoardKeys &board() const { return *m_boardKeys; }

    // The window's key events; press() says whether it took the key (an
    // arrow moved the focus on the board).
    bool press(const QKeyEvent &event);
    void release(const QKeyEvent &event);
    // Tab or Shift+Tab, or the toolkit moving the focus off a tile.
    void focusNextPrevious(bool next);

signals:
    // F2 to F5: the toolbar button the key stands for.
    void buttonKey(Toolbar::Button button);
    // H: the hint.
    void hintKey();

private:
    void tapped(int key);

    Game &m_game;
    KeyTaps *m_taps = nullptr;
    BoardKeys *m_boardKeys = nullptr;
};
