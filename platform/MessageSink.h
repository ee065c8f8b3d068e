#pragma once

#include <QString>

// Where the program's error messages go. Each message is asked for by what
// it is about (a file, a value, a resource), and worded here once, with the
// toolkit's own texts: "Unable to write to %s", "'%s' is not a valid integer
// value", "Resource %s not found". The game shows them in the standard error
// box; tests capture them instead. A sink that holds some back decides by
// what a message is about, never by its wording.
class MessageSink
{
public:
    virtual ~MessageSink() = default;

    // "Unable to write to <full path>": a file could not be saved or copied.
    virtual void unableToWrite(const QString &path);
    // "'<text>' is not a valid integer value": a file's value that should
    // have been a whole number.
    virtual void notValidInteger(const QString &text);
    // "Resource <name> not found": a skin without the named bitmap.
    virtual void resourceNotFound(const QString &name);
    // "<path> is not a valid bitmap": a wallpaper that cannot be read.
    virtual void notValidBitmap(const QString &path);
    // "<path> is too big for a wallpaper: <limit>.", the limit as
    // "larger than 64 MB": a wallpaper the game does not read for its size.
    virtual void pictureTooBig(const QString &path, const QString &limit);
    // "<folder> holds files whose names are not UTF-8, which the game cannot
    // open: <names>. Renamed, they can be used.": files left out of a list.
    virtual void namesNotUsable(const QString &folder, const QStringList &names);
    // "Cannot find the help file <full path>".
    virtual void helpFileNotFound(const QString &path);
    // "<full path> is larger than <n> MB; the game neither reads nor
    // replaces it.": a settings or scores file over the size the game reads.
    virtual void fileTooBig(const QString &path, qint64 limitBytes);
    // A language pack over the size the game reads; the game stays English.
    virtual void packTooBig(const QString &path, qint64 limitBytes);

    // Shows a message as the player reads it.
    virtual void showError(const QString &text) = 0;
};
