#pragma once

#include <QString>

class MessageSink;
class ProfileDocument;

// Reads the whole numbers of one loaded profile file (the scores, the
// settings). A value that is not a whole number gives its key's default,
// and the first such value of a read is reported: "'<text>' is not a valid
// integer value". The file's owner keeps the value reported last between
// reads: it is not reported again until a write or a read without a bad
// value shows the file repaired, so the player is told once, not at every
// read of a file left as it was.
class WholeNumberReader
{
public:
    // `messages` may be null: nothing is reported.
    WholeNumberReader(const ProfileDocument &document, MessageSink *messages, QString &lastReported);
    // A read that met no bad value forgets the one reported last.
    ~WholeNumberReader();
    WholeNumberReader(const WholeNumberReader &) = delete;
    WholeNumberReader &operator=(const WholeNumberReader &) = delete;

    int read(const QString &section, const QString &key, int defaultValue);
    // Whether every number read so far was a whole number.
    bool clean() const { return m_clean; }

private:
    const ProfileDocument &m_document;
    MessageSink *m_messages;
    QString &m_lastReported;
    bool m_clean = true;
};
