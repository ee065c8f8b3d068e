#pragma once

#include "platform/MessageSink.h"

#include <QSet>

// Passes messages on to another sink, except that a file the program cannot
// write is named once a run: in a game folder the player may not write, the
// scores would otherwise be reported at every new game.
class OnceEachFileSink : public MessageSink
{
public:
    explicit OnceEachFileSink(MessageSink *next) : m_next(next) {}

    void showError(const QString &text) override;
    // Ended from outside, the program has no player to answer a message:
    // from now on messages go to the standard error stream only.
    void sendToLog() { m_toLog = true; }

private:
    MessageSink *m_next;
    bool m_toLog = false;
    QSet<QString> m_unwritable;
};
