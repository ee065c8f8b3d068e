#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <sys/stat.h>

// Replaces one file of the game folder as a whole (the settings file, the
// scores file, a picture copied into GFX), so that nothing outside the places
// the game means to write is ever written, whoever plays with the folder.
//
// The file's place is decided once, on open folders, and everything after
// that is done in the folder found: the current file is opened there without
// following a link, the new contents are written beside it and renamed over
// it there. A symbolic link in the file's place is followed only when it
// belongs to the user running the game; a folder on the way that a link's
// target names is followed through links of that user or of root. A link
// swapped in after that decision is never followed: the rename replaces
// the link itself, and the file it points to stays as it was.
//
// The replacement is atomic: the old file stays whole until the new one is
// complete on disk. It replaces only the file that was read: right before the
// rename the file in the place is looked at again, and when it is another
// file now, or the same one with other bytes, or a file has come where none
// was, nothing is replaced (overtaken()), so the caller can read it again and
// merge its change into what is there now.
//
// Copies of this program take turns through advisory locks on the current
// file itself (open-file write locks on two of its bytes), which leave no
// file behind and which the kernel lets go when their holder ends: one from
// reading to replacing (lockCurrent(), waited for a short while only), one
// from the last look to the rename (a moment; so of two copies the second to
// replace the file always sees what the first did). Only a player who may
// write the file can take them; a read lock, which anyone who may read the
// file can hold, is not waited for.
//
// The new file keeps the mode of the file it replaces, and
// its owner and group where the user may set them. In a folder a group of
// players shares (SharedFolder), a file another player made is replaced too,
// and whatever the game creates or replaces there is the folder's group's to
// read and write. A file whose owner took away the owner's write bit is
// read-only on purpose and is never replaced.
class SafeReplace
{
public:
    // Links followed in a row before giving up, as the kernel's limit.
    static constexpr int MaxLinks = 40;

    // The file at `path`; its folder is taken as it is.
    explicit SafeReplace(const QString &path);
    // The file at `relativePath` inside `folder` ("GFX/sky.bmp" in the game
    // folder): the folders on the way are looked at as links are.
    SafeReplace(const QString &folder, const QString &relativePath);
    ~SafeReplace();
    SafeReplace(const SafeReplace &) = delete;
    SafeReplace &operator=(const SafeReplace &) = delete;

    // False when the file must not be replaced: its folder cannot be opened,
    // or the way to it leads through another user's link or too many links.
    bool isOpen() const { return m_folder >= 0; }
    // The open folder in which the file is replaced (for its lock).
    int folderHandle() const { return m_folder; }

    enum class Current { Missing, Regular, Unusable };
    // Opens what is now in the file's place, for reading and writing and
    // without following a link. Usable is only a regular file of at most
    // `maxSize` bytes that the user may read and write (in a shared folder:
    // read) and whose owner may write it; a missing file may be created. The
    // replacement takes the mode and owner of what this opens.
    Current openCurrent(qint64 maxSize);
    // openCurrent(), then the current file's bytes into `bytes` (empty when
    // it is missing).
    // Reads the file openCurrent() opened (opening it first if it has not)
    // from its start, and keeps what it read for the check before the
    // rename.
    Current readCurrent(qint64 maxSize, QByteArray &bytes);

    // Takes the copies' lock on the current file, waiting for another copy's
    // save at most `patienceMs` (a save takes a few milliseconds), never for
    // a lock that a player who may not write the file holds. False when the
    // lock is not held: no current file, one the user may only read, a
    // holder that did not let go in time. A file replaced while this waited
    // is opened again and its lock taken; when what replaced it is no file
    // that can be used, overtaken() says so. The save may go ahead
    // without the lock: commit() replaces only the file that was read. The
    // lock is let go when the current file is closed (by commit() or the
    // end).
    bool lockCurrent(int patienceMs);
    bool isLocked() const { return m_locked; }

    // Writes `bytes` as the new file and renames it over the old one in the
    // same folder. False, with the old file whole and no new file left
    // behind, when any step fails or openCurrent() found the place unusable
    // (called here, without a size limit, when it has not been).
    // When the file in the place is no longer the one read (or, for a
    // missing one, a file has come), nothing is replaced, false is given and
    // overtaken() is true. A copy that holds the lock around its own
    // replacement longer than the patience (stopped right there) makes the
    // save give up.
    bool commit(const QByteArray &bytes);
    bool overtaken() const { return m_overtaken; }

    // Called with the new file complete on disk, right before the file in
    // the place is looked at again and replaced: lets a test hold a save
    // there, as a slow disk or a stopped process would. Gives the one it
    // replaces.
    using Hook = std::function<void()>;
    static Hook setBeforeReplace(Hook hook);

private:
    bool resolve(const QByteArray &folder, const QByteArray &relativePath);
    void closeCurrent();
    // Whether the file in the place is still the one openCurrent() opened,
    // with the bytes readCurrent() read.
    bool stillAsRead() const;
    // The copies' lock from the last look to the replacement; false when a
    // copy holds it longer than the patience.
    bool lockReplacement();
    bool renameIntoPlace(const QByteArray &temp);

    // The bytes of the current file whose locks are the copies' turns to
    // save (from reading to replacing) and to replace.
    static constexpr off_t SaveByte = 0;
    static constexpr off_t ReplaceByte = 1;

    int m_folder = -1;
    QByteArray m_name;
    std::optional<Current> m_state; // what openCurrent() found
    int m_current = -1;             // the file in the place, when it found one
    struct stat m_currentInfo {};
    qint64 m_maxSize = 0;
    int m_patienceMs = 50;
    bool m_locked = false;
    std::optional<QByteArray> m_read; // what readCurrent() read
    bool m_overtaken = false;
};
