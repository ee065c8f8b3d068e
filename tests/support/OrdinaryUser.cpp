#include "OrdinaryUser.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Ids
{
    uid_t uid;
    gid_t gid;
};

Ids ordinaryIds()
{
    if (::geteuid() != 0)
        return {::geteuid(), ::getegid()};
    const passwd *nobody = ::getpwnam("nobody");
    return nobody ? Ids{nobody->pw_uid, nobody->pw_gid} : Ids{65534, 65534};
}

// Drops every right of root for good: to the user `ids`, with the
// supplementary groups of the user `name` or with none.
bool dropTo(const Ids &ids, const char *name)
{
    const bool groups = name ? ::initgroups(name, ids.gid) == 0 : ::setgroups(0, nullptr) == 0;
    return groups && ::setgid(ids.gid) == 0 && ::setuid(ids.uid) == 0 && ::geteuid() == ids.uid
           && (ids.uid == 0 || ::setuid(0) != 0);
}

// In the child: drop every right of root for good.
bool dropToOrdinaryUser()
{
    return ::geteuid() != 0 || dropTo(ordinaryIds(), nullptr);
}

} // namespace

bool OrdinaryUser::isRoot()
{
    return ::geteuid() == 0;
}

uid_t OrdinaryUser::uid()
{
    return ordinaryIds().uid;
}

gid_t OrdinaryUser::gid()
{
    return ordinaryIds().gid;
}

void OrdinaryUser::give(const QString &path)
{
    if (isRoot() && ::lchown(QFile::encodeName(path).constData(), uid(), gid()) != 0)
        qWarning("could not give %s to the ordinary user", qPrintable(path));
}

std::optional<QByteArray> OrdinaryUser::run(const std::function<QByteArray()> &part)
{
    if (!isRoot())
        return part();
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (!dropToOrdinaryUser())
            ::_exit(2);
        const QByteArray result = part();
        for (qsizetype done = 0; done < result.size();) {
            const ssize_t put = ::write(pipeEnds[1], result.constData() + done, std::size_t(result.size() - done));
            if (put <= 0)
                ::_exit(3);
            done += put;
        }
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    QByteArray result;
    char buffer[4096];
    for (ssize_t got; child > 0 && (got = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            result.append(buffer, got);
        else if (errno != EINTR)
            break;
    }
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return result;
}

pid_t OrdinaryUser::start(const std::function<void()> &part)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (!dropToOrdinaryUser())
            ::_exit(2);
        part();
        ::_exit(0);
    }
    return child;
}

void OrdinaryUser::stop(pid_t child)
{
    if (child <= 0)
        return;
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

bool OrdinaryUser::become(const QByteArray &name)
{
    const passwd *user = ::getpwnam(name.constData());
    return user && isRoot() && dropTo(Ids{user->pw_uid, user->pw_gid}, name.constData());
}
