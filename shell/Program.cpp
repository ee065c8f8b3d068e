#include "Program.h"

#include "AccessibleFactory.h"
#include "Environment.h"
#include "HelpWindow.h"
#include "language/LanguageLoader.h"
#include "platform/ProfileFile.h"
#include "TForm1.h"
#include "resources/BuiltinSkin.h"
#include "resources/ProgramResources.h"
#include "scores/Statistics.h"
#include "scores/TEnter2HSC.h"
#include "scores/TScoresForm.h"
#include "settings/SetupModel.h"
#include "settings/TSetup.h"
#include "shell/SpeedButton.h"

#include <QApplication>
#include <QFileInfo>

QString Program::applicationTitle()
{
    return QStringLiteral("Tolvane: Kelvor - hard");
}

Program::Program(const Environment &environment)
    : m_environment(environment), m_programResources(std::make_unique<ProgramResources>()),
      m_builtinSkin(std::make_unique<BuiltinSkin>()),
      m_statistics(std::make_unique<Statistics>(
          ScoresFile(m_environment.programFolder + QStringLiteral("/scores.ini"), m_environment.messages)))
{
    installAccessibleFactory();
    m_language = std::make_unique<LanguageLoader>(m_environment.programFolder, m_texts);
    // The windows, in the order the program has always created them.
    m_mainWindow = std::make_unique<TForm1>(m_environment, m_texts, *m_programResources);
    m_mainWindow->setWindowIcon(ProgramResources::windowIcon());
    m_nameEntry = std::make_unique<TEnter2HSC>(*m_statistics, m_mainWindow.get());
    createSetupDialog();
    m_scoresForm = std::make_unique<TScoresForm>();
    m_scoresForm->FormCreate(*m_statistics, *m_mainWindow);

    m_mainWindow->setStatistics(m_statistics.get(), m_nameEntry.get());
    m_mainWindow->setStatisticsWindow(m_scoresForm.get());
    SpeedButton *stats = m_mainWindow->button(QStringLiteral("Stats"));
    // Stats is down exactly while the player sees the window, however it
    // came or went.
    QObject::connect(m_scoresForm.get(), &TScoresForm::showingChanged, stats, &SpeedButton::setDown);
    QObject::connect(m_mainWindow.get(), &TForm1::minimizedByPlayer, m_mainWindow.get(),
                     [this] { minimizeAllWindows(); });
    QObject::connect(m_mainWindow.get(), &TForm1::restoredByPlayer, m_mainWindow.get(),
                     [this] { restoreAllWindows(); });

    TForm1 *mainWindow = m_mainWindow.get();
    QObject::connect(m_language.get(), &LanguageLoader::statusLabelsChanged, mainWindow,
                     [mainWindow] { mainWindow->applyStatusLabels(); });
    m_helpWindow = std::make_unique<HelpWindow>(*m_language, m_environment.messages);
    m_mainWindow->setHelpWindow(m_helpWindow.get());
}

Program::~Program() = default;

void Program::start()
{
    m_mainWindow->setSkin(&m_settings->currentSkin(), m_settings->currentBackName());
    m_mainWindow->showBacksOnAllTiles();
    LoadLanguage();
    m_mainWindow->setStatusText(TForm1::MessagePanel, m_texts.variable(TextTable::PressF2ToStart));
    m_mainWindow->show();
    m_mainWindow->activateWindow();
}

void Program::createSetupDialog()
{
    m_settings = std::make_unique<SetupModel>(ProgramFolder(m_environment.programFolder), *m_builtinSkin, m_texts,
                                              m_environment.messages);
    m_settings->setClientSize(m_mainWindow->size());
    m_setup = std::make_unique<TSetup>(*m_settings, m_mainWindow.get());
    m_mainWindow->setSetupDialog(m_setup.get());
    m_mainWindow->setSettings(m_settings.get());

    TForm1 *window = m_mainWindow.get();
    SetupModel *settings = m_settings.get();
    // While the dialog is open every new composition shows behind the board.
    QObject::connect(settings, &SetupModel::backgroundChanged, window, &TForm1::setBoardBackground);
    QObject::connect(m_setup.get(), &TSetup::boardToHide, window, &TForm1::hideBoardForSetup);
    QObject::connect(m_setup.get(), &TSetup::boardToShow, window, [window, settings] {
        window->showBoardAfterSetup(settings->boardBackground(), &settings->currentSkin(),
                                    settings->currentBackName());
    });
    QObject::connect(m_setup.get(), &TSetup::languageToApply, window, [this] { LoadLanguage(); });
    // The settings as stored, and the first background in place of the
    // window's blank one.
    m_setup->FormCreate();
}

QList<QWidget *> Program::windows() const
{
    return {m_mainWindow.get(), m_nameEntry.get(), m_setup.get(), m_scoresForm.get()};
}

void Program::LoadLanguage()
{
    loadLanguage(m_settings->langPack());
}

void Program::loadLanguage(const QString &langPack)
{
    m_language->loadLanguage(langPack, windows());
}

void Program::minimizeAllWindows()
{
    // A modal dialog is minimized, not hidden: hiding it would end it as if
    // the player had closed it. The others are hidden, as tool windows
    // cannot minimize.
    m_windowsSetAside.clear();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window == m_mainWindow.get() || !window->isVisible())
            continue;
        const bool modal = window->isModal();
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
