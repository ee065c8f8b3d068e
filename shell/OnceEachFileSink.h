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

private:
    MessageSink *m_next;
    QSet<QString> m_unwritable;
};
