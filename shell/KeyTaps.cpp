#include "KeyTaps.h"

#include <QKeyEvent>

namespace {

bool bare(const QKeyEvent &event)
{
    return !(event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// Whether the event carries the X server's time. Those a screen reader's
// bus hands back to the program after reading them (Qt's accessibility
// bridge, as Orca listens to the keys) come with none: each is a key of its
// own, and Qt still marks the repeats of a held one.
bool timed(const QKeyEvent &event)
{
    return event.timestamp() != 0;
}

} // namespace

KeyTaps::KeyTaps(QObject *parent) : QObject(parent)
{
    m_wait.setSingleShot(true);
    m_wait.setInterval(RepeatWait);
    connect(&m_wait, &QTimer::timeout, this, &KeyTaps::actOnPendingRelease);
}

void KeyTaps::press(const QKeyEvent &event)
{
    const int key = event.key();
    if (m_pendingKey == key && timed(event) && event.timestamp() == m_pendingTime) {
        // The release was the first half of a repeat: the key is still down.
        m_wait.stop();
        m_pendingKey = 0;
        return;
    }
    actOnPendingRelease();
    KeyState &state = m_keys[key];
    const bool repeat =
        event.isAutoRepeat() || (state.released && timed(event) && state.releaseTime == event.timestamp());
    if (!repeat)
        state.armed = acts(key, event, false);
}

bool KeyTaps::acts(int key, const QKeyEvent &event, bool release) const
{
    if (!m_functionKeys.contains(key))
        return bare(event);
    return !release || !(event.modifiers() & Qt::AltModifier);
}

void KeyTaps::release(const QKeyEvent &event)
{
    if (event.isAutoRepeat())
        return; // Qt saw the repeat's press already
    actOnPendingRelease();
    const int key = event.key();
    KeyState &state = m_keys[key];
    state.released = true;
    state.releaseTime = event.timestamp();
    if (!state.armed || !acts(key, event, true)) {
        state.armed = false;
        return;
    }
    m_pendingKey = key;
    m_pendingTime = event.timestamp();
    m_wait.start();
}

void KeyTaps::forget(int key)
{
    m_keys[key].armed = false;
    if (m_pendingKey == key) {
        m_wait.stop();
        m_pendingKey = 0;
    }
}

void KeyTaps::actOnPendingRelease()
{
    if (!m_pendingKey)
        return;
    m_wait.stop();
    const int key = m_pendingKey;
    m_pendingKey = 0;
    m_keys[key].armed = false;
    emit tapped(key);
}
