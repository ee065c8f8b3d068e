#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// The splash window: black, borderless, centred on the screen, the family's
// logo over the text of the start-up step and the version line. It is shown
// as soon as it is created; its one-shot timer starts the start-up, and after
// the start-up it is hidden, never closed. Language packs leave its texts
// alone.
class TSplashForm : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 190;
    static constexpr int ClientHeight = 120;

    // `title` is the program's title, which the desktop shows for it.
    explicit TSplashForm(const QString &title, QWidget *parent = nullptr);

    QLabel *logo() const { return m_logo; }
    QLabel *info() const { return m_info; }
    QLabel *versionLabel() const { return m_verLabel; }
    QTimer *timer() const { return m_timer1; }

    // The text of a start-up step, painted at once: the start-up lets no
    // message through until it ends. The first step waits, a moment at most,
    // for the window to be on the screen.
    void showStep(const QString &text);
    // Where the window stands centred on a screen of the given size.
    static QPoint centredOn(const QRect &screen);

signals:
    // Timer1Timer: the timer has fired (once) and the start-up is due.
    void startUpDue();

private:
    void Timer1Timer();
    void waitUntilOnScreen();

    QLabel *m_logo = nullptr;
    QLabel *m_info = nullptr;
    QLabel *m_verLabel = nullptr;
    QTimer *m_timer1 = nullptr;
    bool m_waitedForScreen = false;
};
