#pragma once

#include <QString>

// The layout of a language pack, shared by the game that loads packs, the
// setup dialog that lists them and kelvor-lngcheck that checks them: a file
// "<name>.lng" in the game's folder "LNG" with the sections below, and a
// help file beside it named by the pack's run-time text 8.
namespace LanguagePack {

// The built-in language, which needs no pack.
inline const QString English = QStringLiteral("english");

inline const QString Folder = QStringLiteral("LNG");
inline const QString Extension = QStringLiteral(".lng");

// Texts of the windows and controls by key ("ScoresForm.L7.Caption").
inline const QString ApplicationSection = QStringLiteral("Application");
// The same for this game's own controls, applied after the first.
inline const QString GameSection = QStringLiteral("Kelvor");
// The run-time texts by their number.
inline const QString VariablesSection = QStringLiteral("Variables");
// The description the setup dialog shows for the pack.
inline const QString InfoSection = QStringLiteral("LangInfo");

// The help file's name in the folder for the language part `language`
// (run-time text 8): "Tolvane_<language>.hlp". A separator in the text
// becomes '_', so that the name never leads out of the folder.
inline QString helpFileName(QString language)
{
    language.replace(u'/', u'_').replace(u'\\', u'_').remove(QChar(0));
    return QStringLiteral("Tolvane_") + language + QStringLiteral(".hlp");
}

} // namespace LanguagePack
