#pragma once

#include <QByteArray>
#include <QString>

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
// complete on disk. The new file keeps the mode of the file it replaces, and
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
    Current readCurrent(qint64 maxSize, QByteArray &bytes);

    // Writes `bytes` as the new file and renames it over the old one in the
    // same folder. False, with the old file whole and no new file left
    // behind, when any step fails or openCurrent() found the place unusable
    // (called here, without a size limit, when it has not been).
    bool commit(const QByteArray &bytes);

private:
    bool resolve(const QByteArray &folder, const QByteArray &relativePath);
    void closeCurrent();

    int m_folder = -1;
    QByteArray m_name;
    std::optional<Current> m_state; // what openCurrent() found
    int m_current = -1;             // the file in the place, when it found one
    struct stat m_currentInfo {};
};
