#pragma once

#include "platform/MessageSink.h"

#include <QSet>

// The sink of the saves the game makes by itself (the settings at the end of
// the start-up and at the close, the scores at each new game, at the end of
// a game and at the close): a file it cannot write is named once a run, as
// in a game folder the player may not write the scores would otherwise be
// reported at every new game. Every other message passes on to the sink
// behind it. What the player asks for ("Apply", "Browse...") reports to that
// sink directly, and is answered every time.
class OnceEachFileSink : public MessageSink
{
public:
    explicit OnceEachFileSink(MessageSink *next) : m_next(next) {}

    void unableToWrite(const QString &path) override;
    void notValidInteger(const QString &text) override;
    void resourceNotFound(const QString &name) override;
    void notValidBitmap(const QString &path) override;
    void helpFileNotFound(const QString &path) override;
    void showError(const QString &text) override;
    // Ended from outside, the program has no player to answer a message:
    // from now on messages go to the standard error stream only.
    void sendToLog() { m_toLog = true; }

private:
    // The sink behind, or none when messages go to the log: then the
    // message is worded here and logged.
    MessageSink *next() const { return m_toLog ? nullptr : m_next; }

    MessageSink *m_next;
    bool m_toLog = false;
    // The full paths already named.
    QSet<QString> m_named;
};
