#include "FolderLock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderLock::FolderLock(const QString &folder, int patienceMs)
{
    m_fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    lock(patienceMs);
}

FolderLock::FolderLock(int folderHandle, int patienceMs)
{
    // A lock of its own on the folder: an flock belongs to the opening.
    m_fd = ::openat(folderHandle, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    lock(patienceMs);
}

void FolderLock::lock(int patienceMs)
{
    if (m_fd < 0)
        return; // a folder that cannot be opened cannot be written either
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            m_locked = true;
            return;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited.elapsed() >= patienceMs)
            return;
        // Another copy is writing; a save takes a few milliseconds.
        QThread::usleep(500);
    }
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing lets the lock go
}
