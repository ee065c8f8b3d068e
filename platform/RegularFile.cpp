#include "platform/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes the descriptor on every way out.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

RegularFile::Outcome RegularFile::read(const QString &path, qint64 maxSize, QByteArray &bytes)
{
    bytes.clear();
    // Non-blocking, so that opening a FIFO returns at once; the kind of file
    // is then judged on what was opened.
    const Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return errno == ENOENT || errno == ENOTDIR ? Outcome::Missing : Outcome::Unreadable;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return Outcome::Unreadable;
    if (!S_ISREG(info.st_mode))
        return Outcome::NotRegular;
    if (info.st_size > maxSize)
        return Outcome::TooLarge;
    // Read to the end, however the file changes meanwhile, but never past
    // the limit.
    QByteArray read(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype size = 0;
    for (;;) {
        if (size == read.size()) {
            if (size > maxSize)
                return Outcome::TooLarge;
            read.resize(qsizetype(qMin<qint64>(maxSize + 1, qint64(size) * 2 + 1)));
        }
        const ssize_t got = ::read(fd.get(), read.data() + size, std::size_t(read.size() - size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Outcome::Unreadable;
        if (got == 0)
            break;
        size += got;
    }
    if (size > maxSize)
        return Outcome::TooLarge;
    read.truncate(size);
    bytes = read;
    return Outcome::Read;
}

RegularFile::Outcome RegularFile::open(const QString &path, qint64 maxSize, QFile &file)
{
    file.close();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? Outcome::Missing : Outcome::Unreadable;
    struct stat info {};
    Outcome outcome = Outcome::Read;
    if (::fstat(fd, &info) != 0)
        outcome = Outcome::Unreadable;
    else if (!S_ISREG(info.st_mode))
        outcome = Outcome::NotRegular;
    else if (info.st_size > maxSize)
        outcome = Outcome::TooLarge;
    if (outcome != Outcome::Read || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return outcome == Outcome::Read ? Outcome::Unreadable : outcome;
    }
    return outcome;
}

QString RegularFile::reason(Outcome outcome, qint64 maxSize)
{
    switch (outcome) {
    case Outcome::Read:
        return {};
    case Outcome::Missing:
        return QStringLiteral("missing");
    case Outcome::NotRegular:
        return QStringLiteral("not a regular file");
    case Outcome::TooLarge:
        if (maxSize % (1024 * 1024) == 0)
            return QStringLiteral("larger than %1 MB, more than the game reads").arg(maxSize / (1024 * 1024));
        return QStringLiteral("larger than %1 bytes, more than the game reads").arg(maxSize);
    case Outcome::Unreadable:
        break;
    }
    return QStringLiteral("cannot be read");
}
