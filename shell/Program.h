#pragma once

#include "Environment.h"
#include "OnceEachFileSink.h"
#include "PixelPointer.h"
#include "language/TextTable.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

class BuiltinSkin;
class QWidget;
class HelpWindow;
class LanguageLoader;
class ProgramResources;
class ScoresRecorder;
class SetupModel;
class TSetup;
class Statistics;
class TAboutMe;
class TEnter2HSC;
class TForm1;
class TScoresForm;
class TSplashForm;
class ToolkitTexts;

// The program as a whole: it creates the windows once, runs the start-up
// behind the splash window and keeps everything alive until the main window
// closes, when it saves the settings and the scores.
class Program
{
public:
    // Creates the windows in the family's order; only the splash window
    // shows. Its timer runs the start-up once the message loop runs.
    explicit Program(const Environment &environment);
    ~Program();

    // Runs the start-up now, if it has not run yet (the splash window's
    // timer calls this too): the board is laid face down and waits for F2.
    void start();
    // Saves the settings, then the scores; only the first call saves. The
    // main window's closing, the end of the desktop session and a signal to
    // end all come here. An open setup dialog is closed as by Cancel first,
    // so only applied choices are saved; an open name entry is confirmed
    // with the name its field holds, so the finished game is recorded.
    void saveAtEnd();
    // The same at the end of the desktop session: a failed save is told on
    // the standard error stream, not in a box that would hold up the end.
    void saveWithoutPlayer();
    // Ended from outside (a signal): the saves as above, then the end.
    void endFromOutside();

    TSplashForm &splash() const { return *m_splash; }
    TForm1 &mainWindow() const { return *m_mainWindow; }
    TEnter2HSC &nameEntry() const { return *m_nameEntry; }
    TScoresForm &scoresForm() const { return *m_scoresForm; }
    TSetup &setupDialog() const { return *m_setup; }
    SetupModel &settings() const { return *m_settings; }
    TAboutMe &aboutWindow() const { return *m_aboutWindow; }
    Statistics &statistics() const { return *m_statistics; }
    TextTable &texts() { return m_texts; }
    LanguageLoader &language() const { return *m_language; }
    HelpWindow &helpWindow() const { return *m_helpWindow; }
    // The windows a language puts its texts into.
    QList<QWidget *> windows() const;
    // The start counter as this start left it.
    int launches() const;

    // The version shown in the splash and about windows.
    static QString programVersion();

    // All the program's windows go to the taskbar with the main window, and
    // come back with it.
    void minimizeAllWindows();
    void restoreAllWindows();

private:
    // The steps of the start-up, in their order.
    void stopSplashTimer();
    void showLoadingPreferences();
    void readSettings();
    void showVersionLine();
    void putBacksOnTiles();
    void waitAMoment();
    void showLoadingScores();
    void readScoresAndShowThem();
    void showChangingLanguages();
    // The language chosen in the settings, on every window.
    void LoadLanguage();
    void showPressF2();
    void countThisStart();
    void hideSplash();
    void showMainWindow();
    void openSetupAtFirstStart();
    static const std::array<void (Program::*)(), 17> startUpSteps;

    // On a native Wayland desktop: the statistics window beside the board
    // and the clock stopped while the board is out of sight.
    void keepWindowsWithBoardOnWayland();

    // The setup dialog and the settings file, "Tolvane.ini", behind it.
    void createSetupDialog();
    void writeSettings();

    Environment m_environment;
    // Qt's own texts in the desktop's language, and clicks on the pixel
    // under the pointer, for every window.
    std::unique_ptr<ToolkitTexts> m_toolkitTexts;
    PixelPointer m_pixelPointer;
    // The sink of the saves the game makes by itself; the rest, and what
    // the player asks for, report to the environment's.
    OnceEachFileSink m_messages;
    TextTable m_texts;
    std::unique_ptr<ProgramResources> m_programResources;
    std::unique_ptr<BuiltinSkin> m_builtinSkin;
    std::unique_ptr<Statistics> m_statistics;
    std::unique_ptr<TSplashForm> m_splash;
    std::unique_ptr<TForm1> m_mainWindow;
    std::unique_ptr<TEnter2HSC> m_nameEntry;
    std::unique_ptr<SetupModel> m_settings;
    std::unique_ptr<TSetup> m_setup;
    std::unique_ptr<TScoresForm> m_scoresForm;
    std::unique_ptr<LanguageLoader> m_language;
    std::unique_ptr<TAboutMe> m_aboutWindow;
    std::unique_ptr<ScoresRecorder> m_recorder;
    bool m_windowsCreated = false;
    bool m_startUpDue = false;
    bool m_settingsRead = false;
    bool m_started = false;
    bool m_saved = false;
    bool m_ended = false;
    bool m_nativeWayland = false;

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
