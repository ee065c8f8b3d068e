#pragma once

#include <QString>

// A short advisory lock on a folder, held by copies of this program for the
// moment of one read-change-write of a shared file in it (the scores or the
// settings file), so that two copies never save over each other's changes.
//
// It locks the open folder itself (flock), so it leaves no lock file behind,
// and the kernel lets it go when its holder ends, even by a crash: a copy
// that died never blocks the next one. Taking a free lock does not wait.
// A holder that keeps it longer than the patience given (a stopped process)
// is not waited for: the write goes ahead without the lock, as writes of the
// family's other games always do.
class FolderLock
{
public:
    explicit FolderLock(const QString &folder, int patienceMs = 2000);
    // The folder already open as `folderHandle` (which stays open).
    explicit FolderLock(int folderHandle, int patienceMs = 2000);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    bool isLocked() const { return m_locked; }

private:
    void lock(int patienceMs);

    int m_fd = -1;
    bool m_locked = false;
};
