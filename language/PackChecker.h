#pragma once

#include <QList>
#include <QString>

class ProfileDocument;

// Reads a language pack as the game's loader reads it and tells a
// translator, line by line, what the game will make of it: keys that name
// nothing of the program, keys on protected windows and controls, keys and
// sections written twice, values that are cut or ignored, texts that would
// not show whole in their controls (measured by TextFit, as the windows
// size them), description lines the setup dialog passes over, texts of the
// English table that the pack leaves out, and the help file that the pack
// names.
class PackChecker
{
public:
    struct Finding
    {
        int line; // 0 when the finding belongs to no line
        bool error;
        QString text;
    };

    // Checks the pack file; its help file is looked for in the pack's own
    // folder (LNG), in any letter case.
    // A pack over the game's size limit is reported as such, unread.
    static QList<Finding> check(const QString &packPath);
    // Checks a pack already read, its help file looked for in packFolder.
    static QList<Finding> check(const ProfileDocument &pack, const QString &packFolder);

    static bool hasError(const QList<Finding> &findings);
    // "deutsch.lng:12: error: ..." lines, sorted by line.
    static QString report(const QString &packName, const QList<Finding> &findings);
};
