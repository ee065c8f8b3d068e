#pragma once

#include <QByteArray>

// Which of the desktop's window systems the game's windows go to. The game
// relies on what X11 gives a program: placing the statistics window beside
// the main window, minimizing all its windows together and knowing that it
// is minimized. In a Wayland session that also runs XWayland the game
// therefore asks Qt for X11 (xcb), and for Wayland only should XWayland
// refuse it; a player's own QT_QPA_PLATFORM wins, and a session with
// Wayland alone gets a native Wayland client.
class WindowSystem
{
public:
    // The Qt platform the game asks for, from the session's variables:
    // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE and DISPLAY. Empty
    // leaves the choice to Qt.
    static QByteArray platformFor(const QByteArray &playerPlatform, const QByteArray &waylandDisplay,
                                  const QByteArray &sessionType, const QByteArray &x11Display);

    // At the program's entry, before the application object: asks Qt for
    // the platform above. The programs the game opens later (the browser,
    // the mail program) get the session's variables as they were.
    WindowSystem();
    // Once the application object stands.
    void chosen();

private:
    bool m_set = false;
};
