#include "TaskbarEntry.h"

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
    const xcb_atom_t value = reply ? reply->atom : XCB_ATOM_NONE;
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

} // namespace

TaskbarEntry::TaskbarEntry(QWidget *window, const QString &text) : QObject(window), m_text(text.toLatin1())
{
    window->installEventFilter(this);
}

void TaskbarEntry::leaveOut(QWidget *window)
{
    new TaskbarEntry(window, QString());
}

void TaskbarEntry::name(QWidget *window, const QString &text)
{
    window->setWindowIconText(text);
    new TaskbarEntry(window, text);
}

bool TaskbarEntry::eventFilter(QObject *watched, QEvent *event)
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
        if (connection && window->isWindow() && window->windowHandle()) {
            const auto id = xcb_window_t(window->winId());
            if (m_text.isEmpty())
                skipTaskbar(connection, id);
            else
                xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_ICON_NAME,
                                    XCB_ATOM_STRING, 8, uint32_t(m_text.size()), m_text.constData());
        }
    }
    return QObject::eventFilter(watched, event);
}
