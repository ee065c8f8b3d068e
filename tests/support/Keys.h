#pragma once

#include "shell/KeyTaps.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

// 12:34:56.789 deals one pair on top, 1-2 in slot 25 and 4-5 in slot 27;
// taking it leaves no pair, so the game ends with 26 dominoes left. The
// other three on top are 0-6 (24), 2-5 (26) and 3-5 (28).
constexpr std::uint32_t OnePairSeed = 45296789;
// Midnight deals no pair on top.
constexpr std::uint32_t NoPairSeed = 0;

// Key events as the X server sends them: each with its server time.
inline void sendKey(QWidget *window, QEvent::Type type, Qt::Key key, unsigned long time,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
{
    QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
    event.setTimestamp(time);
    QApplication::sendEvent(window, &event);
}

// A key pressed and let go, then the moment the window waits for a repeat.
inline void release(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    static unsigned long time = 1000;
    time += 100;
    sendKey(window, QEvent::KeyPress, key, time, modifiers);
    sendKey(window, QEvent::KeyRelease, key, time + 50, modifiers);
    QTest::qWait(KeyTaps::RepeatWait + 20);
}
