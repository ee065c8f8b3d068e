#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Reads a whole file that players or skin authors bring, as the game and its
// tools read them: only a regular file (a FIFO would wait for a writer for
// ever, /dev/zero never ends, a device may do things when opened), and only
// up to a size limit, decided on the file that is open, so that a file
// swapped for another in between is judged as what is read.
class RegularFile
{
public:
    enum class Outcome { Read, Missing, NotRegular, TooLarge, Unreadable };

    // Reads the file at `path` into `bytes` when it is a regular file (or a
    // link to one) of at most `maxSize` bytes; `bytes` is empty otherwise.
    static Outcome read(const QString &path, qint64 maxSize, QByteArray &bytes);
    // Opens the file at `path` for reading into `file` by the same rules,
    // for a reader that takes only what it needs of it.
    static Outcome open(const QString &path, qint64 maxSize, QFile &file);

    // Why a file was not read, for a message after its name ("not a regular
    // file", "larger than 64 MB", ...); empty for Outcome::Read.
    static QString reason(Outcome outcome, qint64 maxSize);
};
