#include "DesktopHints.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return value;
}

// Adds _NET_WM_STATE_SKIP_TASKBAR to the states of the unmapped window.
void skipTaskbar(xcb_connection_t *connection, xcb_window_t window)
{
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE)
        return;
    std::vector<xcb_atom_t> states;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (reply && reply->type == XCB_ATOM_ATOM && reply->format == 32) {
        const auto *values = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        states.assign(values, values + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
    }
    std::free(reply);
    for (xcb_atom_t each : states)
        if (each == skip)
            return;
    states.push_back(skip);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.data());
}

// The Motif window manager hints: which functions and decorations a window
// asks for.
enum : uint32_t {
    MotifFunctions = 1 << 0,
    MotifDecorations = 1 << 1,
    MotifMove = 1 << 2,
    MotifClose = 1 << 5,
    MotifBorder = 1 << 1,
    MotifTitle = 1 << 3,
};

} // namespace

DesktopHints::DesktopHints(QWidget *window, Apply apply) : QObject(window), m_apply(std::move(apply))
{
    window->installEventFilter(this);
}

void DesktopHints::offTaskbar(QWidget *window)
{
    new DesktopHints(window, skipTaskbar);
}

void DesktopHints::taskbarName(QWidget *window, const QString &text)
{
    window->setWindowIconText(text);
    new DesktopHints(window, [name = text.toLatin1()](xcb_connection_t *connection, xcb_window_t id) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_ICON_NAME, XCB_ATOM_STRING, 8,
                            uint32_t(name.size()), name.constData());
    });
}

void DesktopHints::titleBar(QWidget *window, TitleBar buttons)
{
    // Moved, not resized: the windows have a fixed size.
    const uint32_t functions = MotifMove | (buttons == TitleBar::CloseBoxOnly ? uint32_t(MotifClose) : 0u);
    new DesktopHints(window, [functions](xcb_connection_t *connection, xcb_window_t id) {
        const xcb_atom_t hints = atom(connection, "_MOTIF_WM_HINTS");
        const uint32_t values[5] = {MotifFunctions | MotifDecorations, functions, MotifBorder | MotifTitle, 0, 0};
        if (hints != XCB_ATOM_NONE)
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, hints, hints, 32, 5, values);
        // A floating toolbar first, as Windows means its tool windows, then
        // the utility window Qt names it.
        const xcb_atom_t type = atom(connection, "_NET_WM_WINDOW_TYPE");
        const xcb_atom_t types[2] = {atom(connection, "_NET_WM_WINDOW_TYPE_TOOLBAR"),
                                     atom(connection, "_NET_WM_WINDOW_TYPE_UTILITY")};
        if (type != XCB_ATOM_NONE && types[0] != XCB_ATOM_NONE && types[1] != XCB_ATOM_NONE)
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, type, XCB_ATOM_ATOM, 32, 2, types);
    });
}

bool DesktopHints::eventFilter(QObject *watched, QEvent *event)
{
    // A window's show event comes after Qt has created its X window and
    // before it maps it.
    if (event->type() == QEvent::Show) {
        // The offscreen platform answers as an X11 application too, without
        // a connection.
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t *connection = x11 && QGuiApplication::platformName() == QLatin1String("xcb")
                                           ? x11->connection()
                                           : nullptr;
        auto *window = static_cast<QWidget *>(watched);
        if (connection && window->isWindow() && window->windowHandle())
            m_apply(connection, xcb_window_t(window->winId()));
    }
    return QObject::eventFilter(watched, event);
}
