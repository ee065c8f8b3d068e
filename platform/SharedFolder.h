#pragma once

#include <QString>

#include <sys/stat.h>

// A game folder that a group of players shares: installed for a family, the
// folder is given to a group (such as "games"), made group-writable and
// setgid, and the players are put in that group.
//
// The rule: a folder is shared with its group when that group may write in
// it and enter it (g+wx) and it has no sticky bit. Every member may then
// rename and remove any file there, whoever made it, and renaming a new file
// over the old one is all a save needs. The setgid bit is not needed: the
// game gives what it makes to the folder's group itself, so a start by root,
// or by a player in a folder whose setgid bit was forgotten, leaves nothing
// the group cannot use. A sticky folder lets a player replace only the
// player's own files, so it cannot be shared that way; in it, as in any
// other folder, files are made as the player's umask says.
//
// In a shared folder each file and folder the game creates or replaces
// belongs to the folder's group, and the group may read and write it (and
// enter a folder), whatever the player's umask, root included. The owner's
// and the others' permission bits stay as they would be; a file whose owner
// took away the owner's write bit is read-only on purpose and is not
// replaced at all (SafeReplace).
class SharedFolder
{
public:
    static bool isShared(const struct stat &folder);

    // Gives the file or folder open as `handle`, which is in `folder`, to
    // the folder's group and lets that group read and write it (and enter
    // it, for a folder), when `folder` is shared; what the user may not
    // change stays as it is.
    static void adopt(int handle, const struct stat &folder);

    // Makes the folder at `path` ("<game folder>/GFX") when it is missing,
    // under the rule of the folder it is in; an existing one of the user's
    // own is adopted. True when a folder is there.
    static bool makeFolder(const QString &path);
};
