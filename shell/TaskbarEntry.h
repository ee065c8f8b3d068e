#pragma once

#include <QByteArray>
#include <QObject>

class QWidget;

// The program has one taskbar button, the main window's, and it reads the
// program's title; every other window stays off the taskbar. Qt names no
// such state for an X11 window, so the window's _NET_WM_STATE gets
// _NET_WM_STATE_SKIP_TASKBAR each time it is about to be mapped: a window
// manager drops the state when the window is withdrawn, and Qt adds its own
// states to what it finds there as it maps the window. Qt gives the icon
// name only as _NET_WM_ICON_NAME; older taskbars read WM_ICON_NAME, which is
// set beside it. Off X11 (Wayland, offscreen) only Qt's part is done.
class TaskbarEntry : public QObject
{
    Q_OBJECT
public:
    // Keeps WINDOW off the taskbar for as long as it lives.
    static void leaveOut(QWidget *window);
    // WINDOW's taskbar button reads TEXT.
    static void name(QWidget *window, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TaskbarEntry(QWidget *window, const QString &text);

    QByteArray m_text; // empty: no button
};
