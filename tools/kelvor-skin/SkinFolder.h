#pragma once

#include "tools/kelvor-skin/SkinText.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// A folder a skin author made: the 28 faces and the backs as BMP or PNG
// files named after their resources in any letter case ("00bmp.bmp",
// "BACK001.png"), and "skin.txt" with the texts. Reading it checks what the
// game needs and refuses, naming the file, what would not work.
class SkinFolder
{
public:
    // Reads the folder; on a refusal returns false with the message in
    // `error`.
    bool read(const QString &folder, QString &error);

    // The library's bitmaps (upper-case name -> DIB) and numbered texts,
    // laid out as the game reads them.
    QMap<QString, QByteArray> bitmaps;
    QMap<int, QString> strings;
};
