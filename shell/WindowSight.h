#pragma once

#include <QObject>
#include <QTimer>

class QWidget;
class QWindow;

// Whether the player can see a window, on a desktop that does not tell a
// program that its window was minimized (Wayland). Two things tell it all
// the same: the program asked for the minimize itself (the window's own
// title-bar button, which Qt draws there), and the compositor stops
// answering the window's frames once it is off the screen, which Qt
// reports as the window no longer being exposed. The window is back in
// sight when it is exposed or activated again.
class WindowSight : public QObject
{
    Q_OBJECT
public:
    explicit WindowSight(QWidget &window);

signals:
    void outOfSight();
    void backInSight();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void stateChanged(Qt::WindowState state);
    void goOut();
    void comeBack();
    bool seen() const;

    QWidget &m_widget;
    QWindow *m_window = nullptr;
    bool m_out = false;
    // A window unexposed for a moment on a busy desktop has not gone: it is
    // out of sight once it stays so.
    QTimer m_unexposed;
    // A desktop may refuse to minimize (some tiling ones do): a window
    // still exposed a while after the request is still in sight.
    QTimer m_refused;
};
