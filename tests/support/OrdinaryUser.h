#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <sys/types.h>

// A user who may not do what root may: the user running the tests, or, when
// that is root (as on CI), "nobody", to whom a part of a test is handed in a
// child process. So a test of a file the player may not write runs as root
// too, rather than being skipped. A test that needs players of its own (the
// family sharing one game folder) makes them and hands each a process by
// name (become()).
class OrdinaryUser
{
public:
    static bool isRoot();
    // The ordinary user's ids: nobody's when running as root.
    static uid_t uid();
    static gid_t gid();
    // Gives the file or folder to the ordinary user (when running as root).
    static void give(const QString &path);
    // Runs `part` as the ordinary user and gives what it returned: in a
    // child process that has dropped to "nobody" when running as root.
    // Nothing when the child could not drop to that user or did not finish.
    static std::optional<QByteArray> run(const std::function<QByteArray()> &part);
    // Starts `part` as the ordinary user in a child process that runs until
    // stop() (or until `part` returns); -1 when it cannot be started.
    static pid_t start(const std::function<void()> &part);
    static void stop(pid_t child);
    // Makes this process the user `name` for good, with that user's group
    // and supplementary groups (so a player in the game folder's group is
    // in it), as a child does before it runs a part; root only. False when
    // that cannot be done.
    static bool become(const QByteArray &name);
};
