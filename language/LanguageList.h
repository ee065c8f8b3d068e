#pragma once

#include <QString>
#include <QStringList>

class ProgramFolder;

// The languages the player can choose: the built-in English and every
// language pack "*.lng" in the folder "LNG", and the description each pack
// gives of itself.
class LanguageList
{
public:
    static const QString English; // "english", the built-in language

    // "english" first, then the packs' names without their extension, in
    // name order without regard to case. A pack "english.lng" is listed too.
    static QStringList ListLanguages(const ProgramFolder &folder);

    // The lines describing the list entry: for the built-in English two
    // lines of its own; for a pack the values of its section "LangInfo",
    // ordered by their whole "key=value" text without regard to case. A key
    // written twice gives one line, its first value; an empty value none.
    static QStringList ShowLanguageInfo(const ProgramFolder &folder, const QString &entry);
};
