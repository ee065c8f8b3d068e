#include "MainWindowKeys.h"

#include "BoardKeys.h"
#include "KeyTaps.h"

#include <QKeyEvent>
#include <QWidget>

namespace {

// The window's own keys and the buttons they click.
constexpr struct
{
    Qt::Key key;
    Toolbar::Button button;
} functionKeys[] = {{Qt::Key_F2, Toolbar::NewGame},
                    {Qt::Key_F3, Toolbar::Options},
                    {Qt::Key_F4, Toolbar::Pause},
                    {Qt::Key_F5, Toolbar::Stats}};

} // namespace

MainWindowKeys::MainWindowKeys(QWidget &window, BoardTiles &board, Game &game)
    : QObject(&window), m_game(game), m_taps(new KeyTaps(this)), m_boardKeys(new BoardKeys(window, board, game))
{
    QList<int> keys;
    for (const auto &each : functionKeys)
        keys.append(each.key);
    m_taps->setFunctionKeys(keys);
    connect(m_taps, &KeyTaps::tapped, this, &MainWindowKeys::tapped);
}

bool MainWindowKeys::press(const QKeyEvent &event)
{
    m_taps->press(event);
    // The arrows move the focus on the board as they are pressed, and again
    // as the key repeats.
    const bool bare = !(event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier
                                             | Qt::MetaModifier));
    return bare && m_boardKeys->arrowPressed(event.key());
}

void MainWindowKeys::release(const QKeyEvent &event)
{
    // A key let go while the deal lets messages through counts for nothing.
    if (m_game.dealing())
        m_taps->forget(event.key());
    else
        m_taps->release(event);
}

void MainWindowKeys::focusNextPrevious(bool next)
{
    // A Space let go just before Tab or Shift+Tab acts first, on the domino
    // it was meant for.
    if (!m_boardKeys->focusLeavingTile())
        m_taps->actNow();
    m_boardKeys->focusNextPrevious(next);
}

void MainWindowKeys::tapped(int key)
{
    if (m_game.dealing())
        return;
    // Space, Enter and Esc on the board.
    if (m_boardKeys->keyTapped(key))
        return;
    if (key == Qt::Key_H)
        emit hintKey();
    for (const auto &each : functionKeys)
        if (each.key == key)
            emit buttonKey(each.button);
}
