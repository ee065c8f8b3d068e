#pragma once

#include "ProfileDocument.h"

#include <QString>
#include <QStringList>

class MessageSink;

// One profile file on disk (the settings file, the scores file, a language
// pack), read and written with the semantics of ProfileDocument.
//
// The one-value operations load the file each time, and a write saves it
// again at once, so what other games of the family wrote in between is seen
// and kept. To read or write many values, load() the document once, work on
// it and save() it once.
//
// A missing or unreadable file reads as an empty one: every read gives its
// default. Saving is atomic: the new contents are written beside the file and
// renamed over it, so the file is either the old one or the new one, never a
// torn one. A save that cannot be done (missing folder, read-only file or
// folder, a file that exists but cannot be read, full disk) shows
// "Unable to write to <full path>" and leaves the file as it was.
class ProfileFile
{
public:
    ProfileFile(QString path, MessageSink *sink);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    bool writeString(const QString &section, const QString &key, const QString &value);
    QStringList readSection(const QString &section) const;
    QStringList readSectionKeys(const QString &section) const;

    ProfileDocument load() const;
    bool save(const ProfileDocument &document);

private:
    bool fail();

    QString m_path;
    MessageSink *m_sink;
};
