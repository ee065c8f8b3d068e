#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

class QKeyEvent;

// Turns the key events of a window into one tap per physical press and
// release. The X server repeats a held key as release and press pairs, and
// Qt's isAutoRepeat() only guesses which are repeats: it looks for the press
// in its queue, where it has often not arrived yet. A repeat's release and
// press carry the same server time, so a release is held back for a moment
// and dropped when a press of the same key and time follows. A key also acts
// only when its press was a real one, so a repeat that slips through still
// cannot act twice. The board's keys act only bare: with Shift, Ctrl, Alt or
// Meta held at the press or the release they do nothing. The window's
// function keys act whatever is held but Alt at the release: Windows, where
// the game comes from, turns a key let go with Alt held into a system key
// release, which the game never sees.
class KeyTaps : public QObject
{
    Q_OBJECT
public:
    // How long a release waits for the press of its repeat, in milliseconds:
    // the server sends the two together.
    static constexpr int RepeatWait = 40;

    explicit KeyTaps(QObject *parent = nullptr);

    // The keys that act with Ctrl, Shift or Meta held (F2 to F5).
    void setFunctionKeys(QList<int> keys) { m_functionKeys = std::move(keys); }

    void press(const QKeyEvent &event);
    void release(const QKeyEvent &event);
    // The key's current press counts for nothing (it arrived while the
    // window took no keys).
    void forget(int key);
    // Whether a release waits to see whether it was a repeat.
    bool waiting() const { return m_pendingKey != 0; }
    // A release that waits acts now: another key has come after it.
    void actNow() { actOnPendingRelease(); }

signals:
    // A key was pressed and let go, bare or as a function key.
    void tapped(int key);

private:
    void actOnPendingRelease();

    struct KeyState
    {
        bool armed = false; // pressed for real and not acted on yet
        bool released = false;
        unsigned long releaseTime = 0;
    };
    bool acts(int key, const QKeyEvent &event, bool release) const;

    QHash<int, KeyState> m_keys;
    QList<int> m_functionKeys;
    QTimer m_wait;
    int m_pendingKey = 0;
    unsigned long m_pendingTime = 0;
};
