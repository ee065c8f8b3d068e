#pragma once

#include "shell/KeyTaps.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

// Key events as the X server sends them: each with its server time.
inline void sendKey(QWidget *window, QEvent::Type type, Qt::Key key, unsigned long time,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
{
    QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
    event.setTimestamp(time);
    QApplication::sendEvent(window, &event);
}

// Waits until the window has acted on a key let go (or found it a repeat).
inline void waitForKeys(QWidget *window)
{
    const KeyTaps *taps = window->findChild<KeyTaps *>();
    QVERIFY(taps);
    QVERIFY(QTest::qWaitFor([taps] { return !taps->waiting(); }, 5000));
}

// A key pressed and let go, then the moment the window waits for a repeat.
inline void release(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    static unsigned long time = 1000;
    time += 100;
    sendKey(window, QEvent::KeyPress, key, time, modifiers);
    sendKey(window, QEvent::KeyRelease, key, time + 50, modifiers);
    waitForKeys(window);
}
