#include "Program.h"

#include "AccessibleFactory.h"
#include "ApplicationTitle.h"
#include "DesktopHints.h"
#include "Environment.h"
#include "HelpWindow.h"
#include "ProgramVersion.h"
#include "ScoresRecorder.h"
#include "TAboutMe.h"
#include "TForm1.h"
#include "TSplashForm.h"
#include "ToolWindows.h"
#include "ToolkitTexts.h"
#include "WindowSight.h"
#include "language/windows/LanguageLoader.h"
#include "platform/ProfileFile.h"
#include "resources/BuiltinSkin.h"
#include "resources/ProgramResources.h"
#include "scores/ScoresFile.h"
#include "scores/Statistics.h"
#include "scores/windows/TEnter2HSC.h"
#include "scores/windows/TScoresForm.h"
#include "settings/SetupModel.h"
#include "settings/windows/TSetup.h"
#include "shell/SpeedButton.h"
#include "shell/StatusBar.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

namespace {

// How long each of the three steps of the splash window stays.
constexpr int StepPause = 700;

} // namespace

QString Program::programVersion()
{
    return QString::fromLatin1(ProgramVersion);
}

Program::Program(const Environment &environment)
    : m_environment(environment), m_toolkitTexts(std::make_unique<ToolkitTexts>()), m_messages(environment.messages),
      m_programResources(std::make_unique<ProgramResources>()), m_builtinSkin(std::make_unique<BuiltinSkin>())
{
    // The scores are only ever saved by the game itself.
    m_statistics = std::make_unique<Statistics>(
        ScoresFile(m_environment.programFolder + QStringLiteral("/scores.ini"), &m_messages));
    QGuiApplication::setWindowIcon(ProgramResources::windowIcon());
    QCoreApplication::instance()->installEventFilter(&m_pixelPointer);

    // The windows, in the order the family's games create them. The splash
    // window shows at once and stays the program's first window.
    m_splash = std::make_unique<TSplashForm>(applicationTitle());
    // Its timer may go off while a message box is open over the windows
    // being created (the box runs its own event loop): the start-up then
    // waits for the last window and runs as soon as the constructor is done.
    QObject::connect(m_splash.get(), &TSplashForm::startUpDue, m_splash.get(), [this] {
        if (m_windowsCreated)
            start();
        else
            m_startUpDue = true;
    });
    // The main window alone has a taskbar button.
    DesktopHints::offTaskbar(m_splash.get());
    m_splash->show();
    // On the screen now, while the other windows are being created; the
    // player's input waits until the start-up is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    installAccessibleFactory();
    m_language = std::make_unique<LanguageLoader>(m_environment.programFolder, m_texts, m_environment.messages);
    m_mainWindow = std::make_unique<TForm1>(m_environment, m_texts, *m_programResources);
    m_nameEntry = std::make_unique<TEnter2HSC>(m_mainWindow.get());
    createSetupDialog();
    m_scoresForm = std::make_unique<TScoresForm>();
    m_scoresForm->FormCreate(*m_statistics, *m_mainWindow);
    m_aboutWindow = std::make_unique<TAboutMe>(m_environment.openUrl);
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        keepWindowsWithBoardOnWayland();
    for (QWidget *window : std::initializer_list<QWidget *>{m_nameEntry.get(), m_setup.get(), m_scoresForm.get(),
                                                             m_aboutWindow.get()})
        DesktopHints::offTaskbar(window);
    // The tool windows' frames: a close box alone, none on the name entry.
    DesktopHints::titleBar(m_scoresForm.get(), DesktopHints::TitleBar::CloseBoxOnly);
    DesktopHints::titleBar(m_aboutWindow.get(), DesktopHints::TitleBar::CloseBoxOnly);
    DesktopHints::titleBar(m_nameEntry.get(), DesktopHints::TitleBar::NoButtons);
    // Its button reads the program's title where a desktop shows a window's
    // icon name there, as the family's games' button does.
    DesktopHints::taskbarName(m_mainWindow.get(), applicationTitle());

    // What a game counts and records in the scores.
    m_recorder = std::make_unique<ScoresRecorder>(*m_statistics, m_nameEntry.get(), *m_mainWindow);
    m_mainWindow->game().setRecorder(m_recorder.get());
    ToolWindows &tools = m_mainWindow->toolWindows();
    tools.setSetupDialog(m_setup.get());
    tools.setStatisticsWindow(m_scoresForm.get());
    tools.setAboutWindow(m_aboutWindow.get());
    QObject::connect(m_mainWindow.get(), &TForm1::closing, m_mainWindow.get(), [this] { saveAtEnd(); });
    QObject::connect(m_mainWindow.get(), &TForm1::minimizedByPlayer, m_mainWindow.get(),
                     [this] { minimizeAllWindows(); });
    QObject::connect(m_mainWindow.get(), &TForm1::restoredByPlayer, m_mainWindow.get(),
                     [this] { restoreAllWindows(); });

    StatusBar *statusBar = m_mainWindow->statusBar();
    QObject::connect(m_language.get(), &LanguageLoader::statusLabelsChanged, statusBar, &StatusBar::showLabels);
    m_helpWindow = std::make_unique<HelpWindow>(*m_language, m_environment.messages, m_environment.openUrl);
    tools.setHelpWindow(m_helpWindow.get());

    m_windowsCreated = true;
    if (m_startUpDue)
        QTimer::singleShot(0, m_splash.get(), [this] { start(); });
}

Program::~Program() = default;

// The start-up runs to its end without letting the player's input through:
// the splash window shows each step's text painted at once, and its waits
// let only the window system's messages through. Ended from outside in the
// middle, it stops there.
const std::array<void (Program::*)(), 17> Program::startUpSteps = {
    &Program::stopSplashTimer,
    &Program::showLoadingPreferences,
    &Program::readSettings,
    &Program::showVersionLine,
    &Program::putBacksOnTiles,
    &Program::waitAMoment,
    &Program::showLoadingScores,
    &Program::readScoresAndShowThem,
    &Program::waitAMoment,
    &Program::showChangingLanguages,
    &Program::LoadLanguage,
    &Program::showPressF2,
    &Program::waitAMoment,
    &Program::countThisStart,
    &Program::hideSplash,
    &Program::showMainWindow,
    &Program::openSetupAtFirstStart,
};

void Program::start()
{
    if (m_started)
        return;
    m_started = true;
    for (auto step : startUpSteps) {
        if (m_ended)
            return;
        (this->*step)();
    }
}

void Program::stopSplashTimer()
{
    m_splash->timer()->stop();
}

// The splash window's texts are English whatever the language.
void Program::showLoadingPreferences()
{
    m_splash->showStep(QStringLiteral("Loading preferences"));
}

void Program::showLoadingScores()
{
    m_splash->showStep(QStringLiteral("Loading scores"));
}

void Program::showChangingLanguages()
{
    m_splash->showStep(QStringLiteral("Changing languages"));
}

void Program::readSettings()
{
    // The stored choices, the chosen skin library and its back.
    m_settings->ReadSettings();
    m_settingsRead = true;
    m_mainWindow->setSkin(&m_settings->currentSkin(), m_settings->currentBackName());
}

void Program::showVersionLine()
{
    m_splash->versionLabel()->setText(QStringLiteral("Kelvor, version %1").arg(programVersion()));
}

void Program::putBacksOnTiles()
{
    m_mainWindow->showBacksOnAllTiles();
}

void Program::waitAMoment()
{
    if (m_environment.wait)
        m_environment.wait(StepPause);
}

void Program::readScoresAndShowThem()
{
    m_statistics->ReadScores();
    m_statistics->RefreshStatistics();
}

void Program::showPressF2()
{
    m_mainWindow->statusBar()->showMessage(GameMessage::PressF2ToStart);
}

void Program::countThisStart()
{
    // Counted round at the top of the range rather than overflowing. A
    // folder the player may not write has been reported, and the start-up
    // goes on: the game plays all the same.
    m_settings->setLaunches(static_cast<int>(static_cast<unsigned>(m_settings->launches()) + 1u));
    writeSettings();
}

void Program::hideSplash()
{
    m_splash->hide();
}

void Program::showMainWindow()
{
    m_mainWindow->show();
    m_mainWindow->activateWindow();
}

void Program::createSetupDialog()
{
    m_settings = std::make_unique<SetupModel>(ProgramFolder(m_environment.programFolder), *m_builtinSkin, m_texts,
                                              m_environment.messages);
    m_settings->setClientSize(m_mainWindow->size());
    m_setup = std::make_unique<TSetup>(*m_settings, m_mainWindow.get());

    TForm1 *window = m_mainWindow.get();
    SetupModel *settings = m_settings.get();
    // Every new composition shows behind the board as it is made, while the
    // dialog is open and as it closes.
    QObject::connect(settings, &SetupModel::backgroundChanged, window, &TForm1::setBoardBackground);
    // The dialog opens: a running or ended game's board is hidden, as the
    // pause hides it, and the clock stands still.
    QObject::connect(m_setup.get(), &TSetup::boardToHide, window, [window] { window->game().openSetup(); });
    // It has closed: the background is painted at once, the hidden tiles
    // come back with the current skin and back, and a game that was
    // running or paused goes on.
    QObject::connect(m_setup.get(), &TSetup::boardToShow, window, [window, settings] {
        window->repaint();
        window->setSkin(&settings->currentSkin(), settings->currentBackName());
        window->game().closeSetup();
    });
    QObject::connect(m_setup.get(), &TSetup::languageToApply, window, [this] { LoadLanguage(); });
    // The settings as stored, and the first background in place of the
    // window's blank one.
    m_setup->FormCreate();
}

void Program::keepWindowsWithBoardOnWayland()
{
    // A native Wayland client cannot place its windows, and the compositor
    // gives a new window the keyboard: the statistics window would come
    // over the board and keep F5 for itself. As a popup of the main window
    // it stands where the program puts it, beside the board, leaves the
    // keyboard to the main window and goes to the taskbar with it; it has
    // no frame of its own there, only its "Close" button.
    m_scoresForm->setParent(m_mainWindow.get(), Qt::ToolTip);
    // The about window stands over the main window, as the setup dialog
    // and the name entry do: a compositor that minimizes a window's
    // dialogs with it (KDE's, GNOME's; not weston) takes it along.
    m_aboutWindow->setParent(m_mainWindow.get(), m_aboutWindow->windowFlags());
    // The compositor does not say that the main window was minimized: the
    // other windows go and the clock stops while the board is out of sight.
    m_nativeWayland = true;
    auto *sight = new WindowSight(*m_mainWindow);
    QObject::connect(sight, &WindowSight::outOfSight, m_mainWindow.get(), [this] { minimizeAllWindows(); });
    QObject::connect(sight, &WindowSight::backInSight, m_mainWindow.get(), [this] { restoreAllWindows(); });
}

QList<QWidget *> Program::windows() const
{
    // The splash and about windows are among them, and protected as wholes.
    return {m_splash.get(), m_mainWindow.get(), m_nameEntry.get(), m_setup.get(), m_scoresForm.get(),
            m_aboutWindow.get()};
}

void Program::LoadLanguage()
{
    m_language->loadLanguage(m_settings->langPack(), windows());
}

int Program::launches() const
{
    return m_settings->launches();
}

void Program::openSetupAtFirstStart()
{
    if (launches() == 1)
        m_mainWindow->button(QStringLiteral("Options"))->click();
}

void Program::writeSettings()
{
    m_settings->WriteSettings(&m_messages);
}
void Program::saveAtEnd()
{
    if (m_saved)
        return;
    m_saved = true;
    // Open at the end of the session, the setup dialog closes as its Cancel
    // closes it: only what was applied is saved. A game that has ended and
    // waits in the name entry is recorded, as its confirmation would.
    if (m_setup && m_setup->isVisible())
        m_setup->reject();
    m_recorder->finishPending();
    // The settings, then the scores; a game still running is not recorded.
    // Ended before the start-up read the settings, the program has nothing
    // of its own to put into them.
    if (m_settingsRead)
        writeSettings();
    m_statistics->WriteScores();
}

void Program::saveWithoutPlayer()
{
    // A message box now would hold up the end that was asked for.
    m_messages.sendToLog();
    saveAtEnd();
}

void Program::endFromOutside()
{
    m_ended = true;
    saveWithoutPlayer();
    QCoreApplication::quit();
}

void Program::minimizeAllWindows()
{
    // A modal dialog is minimized, not hidden: hiding it would end it as if
    // the player had closed it. The others are hidden, as tool windows
    // cannot minimize.
    // On Wayland the compositor takes a dialog away with the main window it
    // stands over, and a program cannot bring back a minimized window.
    m_windowsSetAside.clear();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window == m_mainWindow.get() || !window->isVisible())
            continue;
        const bool modal = window->isModal();
        if (modal && m_nativeWayland)
            continue;
        m_windowsSetAside.append({window, !modal});
        if (modal)
            window->setWindowState(window->windowState() | Qt::WindowMinimized);
        else
            window->hide();
    }
    m_mainWindow->Minimize();
}

void Program::restoreAllWindows()
{
    QWidget *modal = nullptr;
    for (const SetAside &aside : std::as_const(m_windowsSetAside)) {
        if (!aside.window)
            continue;
        if (aside.hidden) {
            aside.window->show();
        } else {
            aside.window->setWindowState(aside.window->windowState() & ~Qt::WindowMinimized);
            modal = aside.window;
        }
    }
    m_windowsSetAside.clear();
    if (modal)
        modal->activateWindow();
    else
        m_mainWindow->activateWindow();
    m_mainWindow->Restore();
}
