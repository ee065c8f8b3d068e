#pragma once

#include "language/TextTable.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <memory>

class BuiltinSkin;
class QWidget;
class HelpWindow;
class LanguageLoader;
class ProgramResources;
class SetupModel;
class TSetup;
class Statistics;
class TEnter2HSC;
class TForm1;
class TScoresForm;
struct Environment;

// The program as a whole: it creates the windows once, runs the start-up and
// keeps everything alive until the main window closes.
class Program
{
public:
    explicit Program(const Environment &environment);
    ~Program();

    // Runs the start-up: the board is laid face down and waits for F2.
    void start();

    TForm1 &mainWindow() const { return *m_mainWindow; }
    TEnter2HSC &nameEntry() const { return *m_nameEntry; }
    TScoresForm &scoresForm() const { return *m_scoresForm; }
    TSetup &setupDialog() const { return *m_setup; }
    SetupModel &settings() const { return *m_settings; }
    Statistics &statistics() const { return *m_statistics; }
    TextTable &texts() { return m_texts; }
    LanguageLoader &language() const { return *m_language; }
    HelpWindow &helpWindow() const { return *m_helpWindow; }
    // The windows a language puts its texts into.
    QList<QWidget *> windows() const;
    // Applies the language `langPack` to every window ("english" is the
    // built-in one); the help follows it.
    void loadLanguage(const QString &langPack);

    // The title of the program's taskbar button and of its message boxes.
    static QString applicationTitle();

    // All the program's windows go to the taskbar with the main window, and
    // come back with it.
    void minimizeAllWindows();
    void restoreAllWindows();

private:
    // The language chosen in the settings on every window (English until
    // the language packs are read).
    void LoadLanguage();
    void createSetupDialog();

    const Environment &m_environment;
    TextTable m_texts;
    std::unique_ptr<ProgramResources> m_programResources;
    std::unique_ptr<BuiltinSkin> m_builtinSkin;
    std::unique_ptr<Statistics> m_statistics;
    std::unique_ptr<TForm1> m_mainWindow;
    std::unique_ptr<TEnter2HSC> m_nameEntry;
    std::unique_ptr<SetupModel> m_settings;
    std::unique_ptr<TSetup> m_setup;
    std::unique_ptr<TScoresForm> m_scoresForm;
    std::unique_ptr<LanguageLoader> m_language;

    // The other windows that went with a minimize of the main window.
    struct SetAside
    {
        QPointer<QWidget> window;
        bool hidden; // else minimized
    };
    QList<SetAside> m_windowsSetAside;

    // Last, so that it goes first: it may stand over a dialog as its child.
    std::unique_ptr<HelpWindow> m_helpWindow;
};
