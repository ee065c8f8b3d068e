#pragma once

#include <QLocale>
#include <QTranslator>

// The texts Qt draws itself (the picture dialog behind "Browse...", the edit
// fields' menu, the standard buttons) in the desktop's language, whatever
// language pack the player chose: Qt's own translations as the system has
// them installed (Debian's qt6-translations-l10n). Without them, or for a
// language they lack, those texts stay English.
class ToolkitTexts
{
public:
    // Loads the translations for the locale's languages, in its order of
    // preference, and puts them in force for the application.
    // They stay in force while this lives.
    explicit ToolkitTexts(const QLocale &desktop = QLocale::system());

    // Whether a translation was found and is in force.
    bool loaded() const { return m_loaded; }

private:
    QTranslator m_translator;
    bool m_loaded = false;
};
