#pragma once

#include <cstring>
#include <string>
#include <vector>

// libFuzzer reads its options after LLVMFuzzerInitialize(): a target calls
// this there with the size the game reads of its kind of file, so that its
// inputs may grow to what players' files can be, in the long runs and in the
// corpus replay alike, and not only to its largest seed. A -max_len given on
// the command line stands.
inline void fuzzUpTo(int *argc, char ***argv, long long gameReads)
{
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp((*argv)[i], "-max_len=", 9) == 0)
            return;
    }
    static std::string option;
    static std::vector<char *> args;
    option = "-max_len=" + std::to_string(gameReads);
    args.assign(*argv, *argv + *argc);
    args.push_back(option.data());
    args.push_back(nullptr);
    *argv = args.data();
    ++*argc;
}
