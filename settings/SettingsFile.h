#pragma once

#include "platform/ProfileFile.h"

#include <QHash>
#include <QString>

class MessageSink;

// The texts of the seven keys the game keeps in the family's settings file,
// "Tolvane.ini", section "Tolvane...". The numbers are read as numbers; the
// rest is read as text and interpreted where the choices live.
struct StoredSettings
{
    int launches = 0;
    QString picture;  // "*none*" or a picture's file name
    QString position; // "center" or "tile"
    int backColor = 0;
    QString langPack;
    QString backSet;  // "back" and three digits
    QString setPack;  // "*standart*" or a skin library's file name
};

// Reads and writes those seven keys, one read and one save each time, so
// every other key, section, comment and blank line of the file keeps its
// bytes, and what other games of the family wrote in between is kept.
//
// The file is shared with other copies of this game and with the family's
// other games, running at the same moment. So a write puts into the file as
// it is now only what this run changed: each of the six appearance keys whose
// text differs from what this run last read or wrote there (a key the file
// lacked counts as changed), and "Launches" as the file's count raised by
// the starts this run counted. Another copy's choices stay as it made them.
class SettingsFile
{
public:
    static const QString FileName;
    static const QString Section;
    // The marker values, compared exactly.
    static const QString NoPicture;       // "*none*"
    static const QString Centered;        // "center"
    static const QString Tiled;           // "tile"
    static const QString StandardSkin;    // "*standart*"
    static const QString English;         // "english"

    SettingsFile(const QString &path, MessageSink *messages);

    const QString &path() const { return m_file.path(); }

    // Missing file, section or keys give the defaults; a file there that
    // cannot be read (too big, say) gives them too, but as a later start:
    // "Launches" 1. A "Launches" or
    // "BackColor" that is not a whole number gives its default and the
    // message "'<text>' is not a valid integer value": the first such text
    // of a read is reported, and not again until a write has replaced it.
    StoredSettings read();

    // Writes this run's changes, in the keys' order: "Launches" as the
    // file's number plus settings.launches less the count last read or
    // written (a file's count that is not a number counts as 0 and is
    // repaired), and each appearance key whose text is not the one last
    // read or written. A failure shows "Unable to write to <path>", leaves
    // the file as it was and gives false.
    bool write(const StoredSettings &settings);
    // The same, with a failure told to `messages`.
    bool write(const StoredSettings &settings, MessageSink *messages);

private:
    ProfileFile m_file;
    MessageSink *m_messages;
    QString m_lastReported;
    // What this run last read or wrote: the start count, and the texts of
    // the appearance keys the file held (a missing key is not here).
    int m_launches = 0;
    QHash<QString, QString> m_texts;
};
