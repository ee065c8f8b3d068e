#pragma once

#include "ProfileDocument.h"
#include "ProfileSnapshot.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class MessageSink;
class SafeReplace;

// One profile file on disk (the settings file, the scores file, a language
// pack), read and written with the semantics of ProfileDocument.
//
// The settings and scores files are shared with other copies of this game and
// with the family's other games, which may be running at the same moment. So
// a change is made with update(): the file is read as it is now, the change
// is applied to that, and the result saved, all in one go; writeString() does
// that for one key. The result replaces only the file that was read: when the
// file has been written since (by another copy, or by one of the family's
// Windows games, which take no lock), it is read again and the change merged
// into what is there now, a few times at most. Copies of this program take
// turns through a short lock on the file itself (SafeReplace::lockCurrent()),
// which only a player who may write the file can hold; a copy that does not
// let go within LockPatienceMs (a stopped or very slow one) is not waited for
// longer: the save goes ahead, and whichever of the two replaces the file
// second merges again. So copies of this program never undo each other's
// changes; against the family's games the last write of a key wins.
//
// A shared file (Sharing::Shared) is also guarded against the family's
// games that rewrite it in place: a read that looks torn (ProfileSnapshot) is
// read again after a short wait, a few times, and what still lacks a section
// or a key that this run saw gets them back before anyone uses or saves it.
//
// A missing file reads as an empty one: every read gives its default. Only a
// regular file (or a link to one) of at most MaxFileSize bytes is read; a
// FIFO, device, socket or folder in its place, a bigger file or one without
// read permission is a file that cannot be read. It reads as empty, without
// ever waiting on it, and it is never replaced. A bigger file is named once,
// with its reason, "<full path> is larger than 1 MB; ...", the first time it
// is read or a save finds it, and a save that finds it says nothing more.
//
// Saving is atomic and stays in the game folder (SafeReplace): the new
// contents are written beside the file and renamed over it, so the file is
// either the old one or the new one, never a torn one. The new file keeps the
// mode of the file it replaces, and its owner and group where the user may set
// them; in a game folder a group of players shares (SharedFolder) another
// player's file is replaced too, and the group may write the new one. A save
// goes through a symbolic link only when the link belongs to the
// user running the game, decided on the folder it then writes in, so a link
// planted by someone else, even one swapped in at the last moment, never makes
// the game overwrite a file it should not touch. update() reads the very file
// it replaces.
//
// A save that cannot be done (missing folder, read-only file or folder, a file
// that cannot be read, another user's link, full disk, a file rewritten
// MaxMergeAttempts times in a row while it was being merged) shows
// "Unable to write to <full path>" and leaves the file as it was. The message
// comes after the lock and the file have been let go.
class ProfileFile
{
public:
    // Bigger files are files that cannot be read: a scores or settings file
    // holds about 2 KB, a language pack some 50 KB, and a file of a megabyte
    // of short lines takes a tenth of a second to read and some 30 MB.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    enum class Sharing { Private, Shared };
    // A torn-looking read of a shared file is read again this many times,
    // after a pause of TornReadPauseMs each: the family's games write their
    // few kilobytes in far less.
    static constexpr int TornReadRetries = 5;
    static constexpr int TornReadPauseMs = 20;
    // How long a save waits for another copy's lock: a save takes a few
    // milliseconds, and the window does not answer while it waits.
    static constexpr int LockPatienceMs = 50;
    // How often a save merges again into a file written since it was read.
    static constexpr int MaxMergeAttempts = 8;

    ProfileFile(QString path, MessageSink *sink, Sharing sharing = Sharing::Private);

    // The pause before reading a torn-looking file again (a plain sleep
    // unless set); gives the one it replaces.
    using Wait = std::function<void(int milliseconds)>;
    static Wait setTornReadWait(Wait wait);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    bool writeString(const QString &section, const QString &key, const QString &value);
    QStringList readSection(const QString &section) const;
    QStringList readSectionKeys(const QString &section) const;

    ProfileDocument load() const;
    // Whether the last read or save found a file there that it could not
    // read (too big, not a regular file, not readable): what it holds is
    // unknown, not missing.
    bool unreadable() const { return m_unreadable; }
    // Saves the document as the whole file: for a file of this program's own.
    bool save(const ProfileDocument &document);
    // Reads the file as it is now, lets `change` apply this run's changes to
    // it and saves the result (`change` runs again on a file written since).
    bool update(const std::function<void(ProfileDocument &)> &change);
    // The same, telling a failure to `sink` instead of the file's own.
    bool update(const std::function<void(ProfileDocument &)> &change, MessageSink *sink);

private:
    enum class State { Missing, Read, Unreadable, TooBig };

    // Reads the file at the path, or, for a save, the very file `place`
    // replaces (never through a link swapped in since its place was decided).
    State read(ProfileDocument &document, SafeReplace *place = nullptr) const;
    State readBytes(QByteArray &bytes, SafeReplace *place) const;
    // update() but for the message; `failure` tells why a file could not
    // be read.
    bool replace(const std::function<void(ProfileDocument &)> &change, State &failure);
    bool fail(State state = State::Unreadable);
    bool isTooBig() const;
    void reportTooBig() const;

    QString m_path;
    MessageSink *m_sink;
    // What a shared file held when this run last read or saved it.
    mutable std::optional<ProfileSnapshot> m_seen;
    mutable bool m_unreadable = false;
    // A file too big to read is named once, until it is read again.
    mutable bool m_tooBigReported = false;
};
