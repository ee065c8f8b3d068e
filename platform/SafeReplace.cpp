#include "SafeReplace.h"

#include "SharedFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <functional>
#include <limits>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The names of a path, without the empty ones that "//" and a leading or
// trailing "/" make.
QList<QByteArray> namesOf(const QByteArray &path)
{
    QList<QByteArray> names = path.split('/');
    names.removeAll(QByteArray());
    return names;
}

void replaceHandle(int &handle, int other)
{
    if (handle >= 0)
        ::close(handle);
    handle = other;
}

enum class Link { Read, NotALink, Failed };

// What the link `name` in `folder` says and who owns it, both taken from the
// one link opened (so the owner is that of the words read).
Link readLink(int folder, const QByteArray &name, uid_t &owner, QByteArray &target)
{
    const int fd = ::openat(folder, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? Link::NotALink : Link::Failed;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISLNK(info.st_mode)) {
        ::close(fd);
        return Link::NotALink;
    }
    owner = info.st_uid;
    target.resize(PATH_MAX);
    const ssize_t size = ::readlinkat(fd, "", target.data(), std::size_t(target.size()));
    ::close(fd);
    if (size <= 0 || size >= target.size())
        return Link::Failed;
    target.truncate(size);
    return Link::Read;
}

SafeReplace::Hook &beforeReplace()
{
    static SafeReplace::Hook hook;
    return hook;
}

enum class Lock { Taken, NotHonoured, Busy };

// One byte's open-file write lock on `fd`, the copies' way of taking turns.
// Only a player who may write the file can hold one; a read lock (anyone
// who may read the file can take one) is not honoured.
Lock tryLock(int fd, off_t byte)
{
    if (fd < 0)
        return Lock::NotHonoured;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0)
        return Lock::Taken;
    // EBADF: opened for reading only, the user may not write the file.
    if (errno != EAGAIN && errno != EACCES && errno != EINTR)
        return Lock::NotHonoured;
    struct flock holder = lock;
    if (::fcntl(fd, F_OFD_GETLK, &holder) != 0 || holder.l_type == F_RDLCK)
        return Lock::NotHonoured;
    return Lock::Busy; // by a writer, or let go just now
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

SafeReplace::Hook SafeReplace::setBeforeReplace(Hook hook)
{
    return std::exchange(beforeReplace(), std::move(hook));
}

SafeReplace::SafeReplace(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const qsizetype slash = native.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : native.left(slash);
    if (!resolve(folder, native.mid(slash + 1)))
        replaceHandle(m_folder, -1);
}

SafeReplace::SafeReplace(const QString &folder, const QString &relativePath)
{
    if (!resolve(QFile::encodeName(folder), QFile::encodeName(relativePath)))
        replaceHandle(m_folder, -1);
}

SafeReplace::~SafeReplace()
{
    closeCurrent();
    replaceHandle(m_folder, -1);
}

void SafeReplace::closeCurrent()
{
    // Closing lets the lock go.
    replaceHandle(m_current, -1);
    m_locked = false;
    m_read.reset();
}

bool SafeReplace::resolve(const QByteArray &folder, const QByteArray &relativePath)
{
    // The game folder itself is where the program lives: its path is taken
    // as it is. From there on every name is looked at before it is used.
    m_folder = ::open(folder.isEmpty() ? "." : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folder < 0 || relativePath.startsWith('/') || relativePath.endsWith('/'))
        return false;
    QList<QByteArray> rest = namesOf(relativePath);
    if (rest.isEmpty())
        return false;

    const uid_t user = ::geteuid();
    int links = 0;
    while (!rest.isEmpty()) {
        const QByteArray name = rest.takeFirst();
        const bool last = rest.isEmpty();
        if (name == "." || name == "..") {
            if (last)
                return false; // a folder, not a file
            if (name == "..")
                replaceHandle(m_folder, ::openat(m_folder, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (m_folder < 0)
                return false;
            continue;
        }
        struct stat info {};
        if (::fstatat(m_folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (last && errno == ENOENT) {
                m_name = name; // a new file
                return true;
            }
            return false;
        }
        if (S_ISLNK(info.st_mode)) {
            if (++links > MaxLinks)
                return false;
            uid_t owner = 0;
            QByteArray target;
            switch (readLink(m_folder, name, owner, target)) {
            case Link::NotALink:
                rest.prepend(name); // changed under us: look again
                continue;
            case Link::Failed:
                return false;
            case Link::Read:
                break;
            }
            // The file's own place follows only the user's links; a folder
            // on the way also root's, who may write anywhere anyway.
            if (owner != user && (last || owner != 0))
                return false;
            if (last && target.endsWith('/'))
                return false;
            if (target.startsWith('/'))
                replaceHandle(m_folder, ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (m_folder < 0)
                return false;
            rest = namesOf(target) + rest;
            continue;
        }
        if (last) {
            m_name = name;
            return true;
        }
        // A folder on the way, opened as the folder just looked at: if it
        // has become a link since, this fails rather than follow it.
        replaceHandle(m_folder, ::openat(m_folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (m_folder < 0)
            return false;
    }
    return false;
}

SafeReplace::Current SafeReplace::openCurrent(qint64 maxSize)
{
    closeCurrent();
    m_maxSize = maxSize;
    if (m_folder < 0)
        return *(m_state = Current::Unusable);
    // Only a regular file is opened: opening a device may do things. Never a
    // link (one swapped in since the place was decided), never waiting on a
    // FIFO, never a terminal; for writing too, so a file the user may not
    // write is not replaced. In a shared folder (SharedFolder) a file that
    // another player made is replaced as the folder lets it be, when the
    // user may read it: nothing of it is lost.
    struct stat before {};
    if (::fstatat(m_folder, m_name.constData(), &before, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(before.st_mode))
        return *(m_state = Current::Unusable);
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    m_current = ::openat(m_folder, m_name.constData(), O_RDWR | flags);
    struct stat folder {};
    if (m_current < 0 && errno == EACCES && ::fstat(m_folder, &folder) == 0 && SharedFolder::isShared(folder))
        m_current = ::openat(m_folder, m_name.constData(), O_RDONLY | flags);
    if (m_current < 0)
        return *(m_state = errno == ENOENT ? Current::Missing : Current::Unusable);
    // A file without its owner's write bit is read-only on purpose, as a
    // read-only file is to the family's Windows games: never replaced, by
    // root neither.
    if (::fstat(m_current, &m_currentInfo) != 0 || !S_ISREG(m_currentInfo.st_mode)
        || m_currentInfo.st_size > maxSize || !(m_currentInfo.st_mode & S_IWUSR)) {
        closeCurrent();
        return *(m_state = Current::Unusable);
    }
    return *(m_state = Current::Regular);
}

SafeReplace::Current SafeReplace::readCurrent(qint64 maxSize, QByteArray &bytes)
{
    bytes.clear();
    const Current current = m_state ? *m_state : openCurrent(maxSize);
    if (current != Current::Regular)
        return current;
    m_read.reset();
    // One byte more than the limit shows a file grown past it since fstat.
    bytes.resize(qsizetype(maxSize) + 1);
    qsizetype size = 0;
    while (size < bytes.size()) {
        const ssize_t got = ::pread(m_current, bytes.data() + size, std::size_t(bytes.size() - size), size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            bytes.clear();
            return Current::Unusable;
        }
        if (got == 0)
            break;
        size += got;
    }
    if (size > maxSize) {
        bytes.clear();
        return Current::Unusable;
    }
    bytes.truncate(size);
    m_read = bytes;
    return Current::Regular;
}

bool SafeReplace::lockCurrent(int patienceMs)
{
    m_overtaken = false;
    m_patienceMs = patienceMs;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (m_state != Current::Regular)
            return false;
        switch (tryLock(m_current, SaveByte)) {
        case Lock::Taken: {
            // A file renamed away while this waited is no longer the one a
            // save replaces: its lock guards nothing.
            struct stat now {};
            if (::fstatat(m_folder, m_name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(now, m_currentInfo))
                return m_locked = true;
            // Let go by the copy that replaced it just now: its file is the
            // one to lock, before that copy's next save does.
            if (openCurrent(m_maxSize) != Current::Regular) {
                m_overtaken = true;
                return false;
            }
            continue;
        }
        case Lock::NotHonoured:
            return false;
        case Lock::Busy:
            if (waited.elapsed() >= patienceMs)
                return false;
            ::usleep(200);
        }
    }
}

bool SafeReplace::lockReplacement()
{
    // Held from the last look at the file to its replacement, so that of two
    // copies, even one that did not wait for the other's lock, the second
    // to replace it sees what the first did. Held for a moment only.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        switch (tryLock(m_current, ReplaceByte)) {
        case Lock::Taken:
        case Lock::NotHonoured:
            return true;
        case Lock::Busy:
            if (waited.elapsed() >= m_patienceMs)
                return false;
            ::usleep(200);
        }
    }
}

bool SafeReplace::stillAsRead() const
{
    struct stat now {};
    const bool there = ::fstatat(m_folder, m_name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0;
    if (m_state == Current::Missing)
        return !there;
    if (!there || m_current < 0 || !sameFile(now, m_currentInfo))
        return false;
    if (!m_read)
        return true;
    // Rewritten in place (as the family's games write): other bytes.
    QByteArray bytes(m_read->size() + 1, Qt::Uninitialized);
    qsizetype size = 0;
    while (size < bytes.size()) {
        const ssize_t got = ::pread(m_current, bytes.data() + size, std::size_t(bytes.size() - size), size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        size += got;
    }
    bytes.truncate(size);
    return bytes == *m_read;
}

bool SafeReplace::renameIntoPlace(const QByteArray &temp)
{
    if (m_state != Current::Missing)
        return ::renameat(m_folder, temp.constData(), m_folder, m_name.constData()) == 0;
    // Where there was no file, one that has come since is not replaced.
    if (::renameat2(m_folder, temp.constData(), m_folder, m_name.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system without it: a link is refused as well when the name is taken.
        if (::linkat(m_folder, temp.constData(), m_folder, m_name.constData(), 0) == 0) {
            ::unlinkat(m_folder, temp.constData(), 0);
            return true;
        }
    }
    m_overtaken = errno == EEXIST;
    return false;
}

bool SafeReplace::commit(const QByteArray &bytes)
{
    m_overtaken = false;
    if (!m_state)
        openCurrent(std::numeric_limits<qint64>::max());
    if (m_folder < 0 || m_state == Current::Unusable)
        return false;

    // The new file is made without a name where the file system allows, so
    // a game killed while writing leaves nothing behind; it is named just
    // before it is renamed over the old one.
    // (The name is given through /proc, which must be there for that.)
    int fd = ::access("/proc/self/fd", X_OK) == 0 ? ::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666) : -1;
    const bool unnamed = fd >= 0;
    QByteArray temp;
    const auto nameTemp = [&](const std::function<bool(const char *)> &make) {
        static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            temp = m_name.left(240) + '.';
            for (int i = 0; i < 6; ++i)
                temp += letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
            if (make(temp.constData()))
                return true;
            if (errno != EEXIST)
                return false;
        }
        return false;
    };
    if (!unnamed && !nameTemp([&](const char *name) {
            fd = ::openat(m_folder, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            return fd >= 0;
        }))
        return false;

    if (m_current >= 0) {
        // The replaced file's mode, and its owner and group where allowed.
        if (::fchown(fd, m_currentInfo.st_uid, m_currentInfo.st_gid) != 0
            && ::fchown(fd, uid_t(-1), m_currentInfo.st_gid) != 0) {
            // Not a member of the group: the new file keeps the user's own.
        }
        ::fchmod(fd, m_currentInfo.st_mode & 07777);
    }
    // A folder shared by a group: the group may read and write what the game
    // creates or replaces there, whatever the user's umask.
    struct stat folder {};
    if (::fstat(m_folder, &folder) == 0)
        SharedFolder::adopt(fd, folder);

    bool written = true;
    for (qsizetype done = 0; written && done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        written = put > 0;
        done += std::max<ssize_t>(put, 0);
    }
    written = written && ::fdatasync(fd) == 0;
    if (written && unnamed) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        written = nameTemp([&](const char *name) {
            return ::linkat(AT_FDCWD, self.constData(), m_folder, name, AT_SYMLINK_FOLLOW) == 0;
        });
        if (!written)
            temp.clear();
    }
    written = ::close(fd) == 0 && written;
    if (written && beforeReplace())
        beforeReplace()();
    // Looked at again as late as can be: a file that another copy or game
    // wrote since it was read is not written over. A copy that holds the
    // lock around its own replacement for longer than a moment is stopped
    // right there: this save is given up rather than tried again and again.
    if (written && !lockReplacement())
        written = false;
    else if (written && !stillAsRead()) {
        written = false;
        m_overtaken = true;
    }
    if (!written || !renameIntoPlace(temp)) {
        if (!temp.isEmpty())
            ::unlinkat(m_folder, temp.constData(), 0);
        return false;
    }
    closeCurrent();
    m_state.reset();
    return true;
}
