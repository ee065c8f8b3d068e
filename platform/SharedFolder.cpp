#include "SharedFolder.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool SharedFolder::isShared(const struct stat &folder)
{
    return S_ISDIR(folder.st_mode) && (folder.st_mode & (S_IWGRP | S_IXGRP)) == (S_IWGRP | S_IXGRP)
           && !(folder.st_mode & S_ISVTX);
}

void SharedFolder::adopt(int handle, const struct stat &folder)
{
    if (!isShared(folder))
        return;
    if (::fchown(handle, uid_t(-1), folder.st_gid) != 0) {
        // Not a member of the folder's group: what it made stays the user's.
    }
    struct stat made {};
    if (::fstat(handle, &made) != 0 || made.st_gid != folder.st_gid)
        return;
    const mode_t group = S_IRGRP | S_IWGRP | (S_ISDIR(made.st_mode) ? S_IXGRP : 0);
    if ((made.st_mode & group) != group && ::fchmod(handle, (made.st_mode | group) & 07777) != 0) {
        // Another user's: the owner decides.
    }
}

bool SharedFolder::makeFolder(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const qsizetype slash = native.lastIndexOf('/');
    const QByteArray parentPath = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : native.left(slash);
    const QByteArray name = native.mid(slash + 1);
    if (name.isEmpty() || name == "." || name == "..")
        return false;
    const int parent = ::open(parentPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0)
        return false;
    // Made as the umask says, then given the group's rights; never through
    // a link in its place.
    bool there = ::mkdirat(parent, name.constData(), 0777) == 0 || errno == EEXIST;
    const int made = there ? ::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
    there = made >= 0;
    struct stat parentInfo {};
    struct stat madeInfo {};
    if (there && ::fstat(parent, &parentInfo) == 0 && ::fstat(made, &madeInfo) == 0 && madeInfo.st_uid == ::geteuid())
        adopt(made, parentInfo);
    if (made >= 0)
        ::close(made);
    ::close(parent);
    return there;
}
