#pragma once

#include <QObject>

#include <functional>

class QWidget;

// What an X11 desktop shows of a window beyond what Qt tells it: the
// program has one taskbar button, the main window's, reading the program's
// title; the tool windows' title bars carry a close box alone or no button
// at all, and no window menu.
//
// Qt names no taskbar state, gives an icon name only as _NET_WM_ICON_NAME
// (older taskbars read WM_ICON_NAME), and always asks for a window menu
// beside a close box, or for the window manager's own title bar when a
// window has a title without buttons. It names a tool window a utility
// window, to which openbox gives minimize and maximize buttons whatever the
// Motif hints say (cutting the German name entry's title to make room for
// them); Windows means its tool windows as floating toolbars, and a toolbar
// window gets no minimize or maximize button from openbox, so the tool
// windows are named toolbars first. So the window's properties are set on
// Qt's own X connection each time the window is about to be mapped, after Qt
// has created its X window: a window manager drops _NET_WM_STATE when a
// window is withdrawn, Qt adds its own states to what it finds there as it
// maps the window, and Qt writes _MOTIF_WM_HINTS only as it creates one. Off
// X11 (Wayland, offscreen) only Qt's part is done.
class DesktopHints : public QObject
{
    Q_OBJECT
public:
    // WINDOW stays off the taskbar.
    static void offTaskbar(QWidget *window);
    // WINDOW's taskbar button reads TEXT.
    static void taskbarName(QWidget *window, const QString &text);
    enum class TitleBar { CloseBoxOnly, NoButtons };
    // WINDOW's title bar, with no window menu.
    static void titleBar(QWidget *window, TitleBar buttons);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Apply = std::function<void(struct xcb_connection_t *, unsigned window)>;
    DesktopHints(QWidget *window, Apply apply);

    Apply m_apply;
};
