#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The texts of a skin as its author writes them in "skin.txt": one
// "key: text" line each, in UTF-8.
//
//     author: Faces and backs by Ann
//     description: Ivory dominoes
//     back 1: Plain blue
//     record 1 first: anything      (reserved records, read past by the game)
//     record 1 second: anything
//
// Blank lines and lines starting with '#' are comments. The marker and the
// two counts are not written: the tool puts them in.
struct SkinText
{
    QString author;
    QString description;
    QStringList backTitles;                 // back 1 first
    QList<std::pair<QString, QString>> records;

    // Reads the file's text; on a fault returns false with `error` naming
    // the line ("line 3: ...").
    static bool parse(const QString &text, SkinText &result, QString &error);
    QString format() const;
};
