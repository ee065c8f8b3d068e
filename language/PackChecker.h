#pragma once

#include <QList>
#include <QString>

// Reads a language pack as the game's loader reads it and tells a
// translator, line by line, what the game will make of it: keys that name
// nothing of the program, keys on protected windows and controls, keys
// written twice, values that are cut or ignored, texts of the English table
// that the pack leaves out, and the help file that the pack names.
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
    static QList<Finding> check(const QString &packPath);

    static bool hasError(const QList<Finding> &findings);
    // "deutsch.lng:12: error: ..." lines, sorted by line.
    static QString report(const QString &packName, const QList<Finding> &findings);
};
