// Runs a program as one of the players of a shared game folder, for the
// end-to-end test of that folder:
//
//   kelvor_as_player USER UMASK PROGRAM [ARGUMENTS...]
//
// becomes USER for good, with the user's groups (OrdinaryUser::become), sets
// the umask (octal, "022") and runs PROGRAM in this process, so its process
// id is this one's. Exit status 77 when not run as root, 126 when the user
// cannot be taken on or the program cannot be run, 2 on wrong use.

#include "support/OrdinaryUser.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s USER UMASK PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    char *end = nullptr;
    const long mask = std::strtol(argv[2], &end, 8);
    if (*end || mask < 0 || mask > 0777) {
        std::fprintf(stderr, "%s: the umask is an octal number, not %s\n", argv[0], argv[2]);
        return 2;
    }
    if (!OrdinaryUser::isRoot()) {
        std::fprintf(stderr, "%s: only root can become another user\n", argv[0]);
        return 77;
    }
    if (!OrdinaryUser::become(argv[1])) {
        std::fprintf(stderr, "%s: cannot become %s\n", argv[0], argv[1]);
        return 126;
    }
    ::umask(mode_t(mask));
    ::execv(argv[3], argv + 3);
    std::fprintf(stderr, "%s: cannot run %s (errno %d)\n", argv[0], argv[3], errno);
    return 126;
}
