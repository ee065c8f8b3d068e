#include "ProfileFile.h"

#include "FolderLock.h"
#include "MessageSink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Links followed in a row before a save gives up, as the kernel's limit.
constexpr int MaxLinks = 40;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

ProfileFile::Wait &tornReadWait()
{
    static ProfileFile::Wait wait = [](int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); };
    return wait;
}

} // namespace

ProfileFile::ProfileFile(QString path, MessageSink *sink, Sharing sharing)
    : m_path(std::move(path))
    , m_sink(sink)
{
    if (sharing == Sharing::Shared)
        m_seen.emplace();
}

ProfileFile::Wait ProfileFile::setTornReadWait(Wait wait)
{
    return std::exchange(tornReadWait(), std::move(wait));
}

ProfileFile::State ProfileFile::read(ProfileDocument &document) const
{
    document = ProfileDocument();
    QByteArray bytes;
    State state = readBytes(bytes);
    if (state == State::Missing && m_seen)
        m_seen->remember(document); // taken away, not torn: nothing to keep
    if (state != State::Read)
        return state;
    document = ProfileDocument::fromBytes(bytes);
    if (!m_seen)
        return state;
    // Caught while another game rewrites the file in place: it will have
    // written the rest in a moment.
    for (int retry = 0; retry < TornReadRetries && m_seen->looksTorn(bytes, document); ++retry) {
        if (tornReadWait())
            tornReadWait()(TornReadPauseMs);
        state = readBytes(bytes);
        if (state != State::Read) {
            document = ProfileDocument();
            return state;
        }
        document = ProfileDocument::fromBytes(bytes);
    }
    if (m_seen->looksTorn(bytes, document))
        document = m_seen->mend(bytes);
    m_seen->remember(document);
    return state;
}

ProfileFile::State ProfileFile::readBytes(QByteArray &bytes) const
{
    bytes.clear();
    // Never opened when it is not a regular file: opening a FIFO waits for a
    // writer, and opening a device may do things.
    struct stat info {};
    if (::stat(nativePath(m_path).constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? State::Missing : State::Unreadable;
    if (!S_ISREG(info.st_mode) || info.st_size > ProfileFile::MaxFileSize)
        return State::Unreadable;
    // Non-blocking and checked again: the file may have been swapped since.
    const int fd = ::open(nativePath(m_path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? State::Missing : State::Unreadable;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > MaxFileSize) {
        ::close(fd);
        return State::Unreadable;
    }
    bytes = QByteArray(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype size = 0;
    for (;;) {
        if (size == bytes.size()) {
            // Grown since fstat: read on, within the limit.
            if (size > MaxFileSize) {
                ::close(fd);
                return State::Unreadable;
            }
            bytes.resize(size * 2 + 1);
        }
        const ssize_t got = ::read(fd, bytes.data() + size, std::size_t(bytes.size() - size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return State::Unreadable;
        }
        if (got == 0)
            break;
        size += got;
    }
    ::close(fd);
    bytes.truncate(size);
    return State::Read;
}

ProfileDocument ProfileFile::load() const
{
    ProfileDocument document;
    read(document);
    return document;
}

QString ProfileFile::saveTarget() const
{
    QString target = QFileInfo(m_path).absoluteFilePath();
    for (int hop = 0; hop < MaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(nativePath(target).constData(), &info) != 0)
            return errno == ENOENT ? target : QString();
        if (!S_ISLNK(info.st_mode))
            return target;
        if (info.st_uid != ::geteuid())
            return QString(); // somebody else's link
        const QString link = QFile::symLinkTarget(target);
        if (link.isEmpty())
            return QString();
        target = QDir::cleanPath(link);
    }
    return QString();
}

bool ProfileFile::save(const ProfileDocument &document)
{
    const QString target = saveTarget();
    if (target.isEmpty())
        return fail();
    FolderLock lock(QFileInfo(target).path());
    if (!write(target, document))
        return false;
    if (m_seen)
        m_seen->remember(document);
    return true;
}

bool ProfileFile::update(const std::function<void(ProfileDocument &)> &change)
{
    const QString target = saveTarget();
    if (target.isEmpty())
        return fail();
    FolderLock lock(QFileInfo(target).path());
    ProfileDocument document;
    if (read(document) == State::Unreadable)
        return fail();
    change(document);
    if (!write(target, document))
        return false;
    if (m_seen)
        m_seen->remember(document);
    return true;
}

bool ProfileFile::update(const std::function<void(ProfileDocument &)> &change, MessageSink *sink)
{
    MessageSink *const own = std::exchange(m_sink, sink);
    const bool updated = update(change);
    m_sink = own;
    return updated;
}

bool ProfileFile::write(const QString &target, const ProfileDocument &document)
{
    // A file that exists but cannot be read has been loaded as an empty one;
    // saving would replace all it holds, so it is left alone. (QSaveFile
    // itself refuses a read-only file and a folder that cannot be written.)
    struct stat old {};
    const bool exists = ::stat(nativePath(target).constData(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || old.st_size > MaxFileSize
                   || ::access(nativePath(target).constData(), R_OK) != 0))
        return fail();
    if (!exists && errno != ENOENT)
        return fail();

    // Unbuffered, so that a short write (a full disk) shows in write()'s
    // count: a buffered QSaveFile lets a short write at its final flush pass
    // and commits a truncated file.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail();
    if (exists) {
        // The replaced file's mode, and its owner and group where allowed.
        const int fd = file.handle();
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
            // Not a member of the group: the new file keeps the user's own.
        }
        ::fchmod(fd, old.st_mode & 07777);
    }
    const QByteArray bytes = document.toBytes();
    // Without commit() the new contents are thrown away and the file stays.
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail();
    return true;
}

bool ProfileFile::fail()
{
    if (m_sink)
        m_sink->unableToWrite(m_path);
    return false;
}

QString ProfileFile::readString(const QString &section, const QString &key,
                                const QString &defaultValue) const
{
    return load().readString(section, key, defaultValue);
}

bool ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    return update([&](ProfileDocument &document) { document.writeString(section, key, value); });
}

QStringList ProfileFile::readSection(const QString &section) const
{
    return load().readSection(section);
}

QStringList ProfileFile::readSectionKeys(const QString &section) const
{
    return load().readSectionKeys(section);
}
