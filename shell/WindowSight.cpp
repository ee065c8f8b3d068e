#include "WindowSight.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

// Qt gives up waiting for a frame after 100 ms.
constexpr int UnexposedFor = 500;
constexpr int RefusedAfter = 1500;

} // namespace

WindowSight::WindowSight(QWidget &window) : QObject(&window), m_widget(window)
{
    window.winId();
    m_window = window.windowHandle();
    m_window->installEventFilter(this);
    window.installEventFilter(this);
    connect(m_window, &QWindow::windowStateChanged, this, &WindowSight::stateChanged);
    m_unexposed.setSingleShot(true);
    m_unexposed.setInterval(UnexposedFor);
    connect(&m_unexposed, &QTimer::timeout, this, [this] {
        if (!m_window->isExposed() && m_widget.isVisible())
            goOut();
    });
    m_refused.setSingleShot(true);
    m_refused.setInterval(RefusedAfter);
    connect(&m_refused, &QTimer::timeout, this, [this] {
        if (seen())
            comeBack();
    });
}

bool WindowSight::seen() const
{
    return m_window->isExposed() && m_widget.isVisible();
}

void WindowSight::stateChanged(Qt::WindowState state)
{
    if (state != Qt::WindowMinimized)
        return;
    goOut();
    // A new frame, which the compositor answers only if the window is
    // still on the screen.
    m_widget.update();
    m_refused.start();
}

bool WindowSight::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Expose) {
        if (m_window->isExposed()) {
            m_unexposed.stop();
            if (!m_refused.isActive())
                comeBack();
        } else if (!m_out) {
            m_unexposed.start();
        }
    } else if (watched == &m_widget && event->type() == QEvent::WindowActivate && !m_refused.isActive()) {
        comeBack();
    }
    return false;
}

void WindowSight::goOut()
{
    if (m_out)
        return;
    m_out = true;
    emit outOfSight();
}

void WindowSight::comeBack()
{
    m_refused.stop();
    if (!m_out)
        return;
    m_out = false;
    emit backInSight();
}
