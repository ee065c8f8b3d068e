#include "ProfileFile.h"

#include "MessageSink.h"
#include "SafeReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

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

ProfileFile::State ProfileFile::read(ProfileDocument &document, SafeReplace *place) const
{
    document = ProfileDocument();
    QByteArray bytes;
    State state = readBytes(bytes, place);
    if (state == State::Unreadable && isTooBig())
        state = State::TooBig;
    m_unreadable = state == State::Unreadable || state == State::TooBig;
    if (state == State::Read)
        m_tooBigReported = false;
    if (state == State::Missing && m_seen)
        m_seen->remember(document); // taken away, not torn: nothing to keep
    if (state != State::Read)
        return state;
    const ProfileDocument *unchanged = m_seen ? m_seen->documentOf(bytes) : nullptr;
    document = unchanged ? *unchanged : ProfileDocument::fromBytes(bytes);
    if (!m_seen)
        return state;
    // Caught while another game rewrites the file in place: it will have
    // written the rest in a moment.
    for (int retry = 0; retry < TornReadRetries && m_seen->looksTorn(bytes, document); ++retry) {
        if (tornReadWait())
            tornReadWait()(TornReadPauseMs);
        state = readBytes(bytes, place);
        if (state != State::Read) {
            document = ProfileDocument();
            m_unreadable = state == State::Unreadable;
            return state;
        }
        document = ProfileDocument::fromBytes(bytes);
    }
    if (m_seen->looksTorn(bytes, document))
        document = m_seen->mend(bytes);
    m_seen->remember(document);
    return state;
}

ProfileFile::State ProfileFile::readBytes(QByteArray &bytes, SafeReplace *place) const
{
    bytes.clear();
    if (place) {
        switch (place->readCurrent(MaxFileSize, bytes)) {
        case SafeReplace::Current::Missing:
            return State::Missing;
        case SafeReplace::Current::Regular:
            return State::Read;
        case SafeReplace::Current::Unusable:
            return State::Unreadable;
        }
    }
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
    if (read(document) == State::TooBig)
        reportTooBig();
    return document;
}

// Whether the file at the path is a regular file over the size the game
// reads: a file that could not be read is named with that reason.
bool ProfileFile::isTooBig() const
{
    struct stat info {};
    return ::stat(nativePath(m_path).constData(), &info) == 0 && S_ISREG(info.st_mode)
           && info.st_size > MaxFileSize;
}

void ProfileFile::reportTooBig() const
{
    if (m_sink && !m_tooBigReported)
        m_sink->fileTooBig(m_path, MaxFileSize);
    m_tooBigReported = true;
}

bool ProfileFile::save(const ProfileDocument &document)
{
    return update([&](ProfileDocument &current) { current = document; });
}

bool ProfileFile::update(const std::function<void(ProfileDocument &)> &change)
{
    // Told only once every file and lock of the save has been let go: a
    // message waits for the player, and another copy must not wait for it.
    State failure = State::Unreadable;
    return replace(change, failure) || fail(failure);
}

bool ProfileFile::replace(const std::function<void(ProfileDocument &)> &change, State &failure)
{
    for (int attempt = 1;; ++attempt) {
        // Read from the very file that is replaced, in the folder where it is.
        SafeReplace file(m_path);
        if (!file.isOpen())
            return false;
        // A file that exists but cannot be read would be replaced with
        // nothing known of what it holds, so it is left alone.
        if (file.openCurrent(MaxFileSize) == SafeReplace::Current::Unusable) {
            failure = isTooBig() ? State::TooBig : State::Unreadable;
            return false;
        }
        // Replaced by the copy this waited for: its file is the one to read.
        if (!file.lockCurrent(LockPatienceMs) && file.overtaken() && attempt < MaxMergeAttempts)
            continue;
        ProfileDocument document;
        const State state = read(document, &file);
        if (state == State::Unreadable || state == State::TooBig) {
            failure = state;
            return false;
        }
        change(document);
        if (file.commit(document.toBytes())) {
            if (m_seen)
                m_seen->remember(document);
            return true;
        }
        // Written since it was read (by a copy that did not wait for the
        // lock, or a game that takes none): merged again into what is there.
        if (!file.overtaken() || attempt == MaxMergeAttempts)
            return false;
    }
}

bool ProfileFile::update(const std::function<void(ProfileDocument &)> &change, MessageSink *sink)
{
    MessageSink *const own = std::exchange(m_sink, sink);
    const bool updated = update(change);
    m_sink = own;
    return updated;
}

bool ProfileFile::fail(State state)
{
    if (state == State::TooBig)
        reportTooBig();
    else if (m_sink)
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
