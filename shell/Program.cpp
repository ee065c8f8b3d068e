#include "Program.h"

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
    // The windows, in the order the program has always created them.
    m_mainWindow = std::make_unique<TForm1>(m_environment, m_texts, *m_programResources);
    m_mainWindow->setWindowIcon(ProgramResources::windowIcon());
    m_nameEntry = std::make_unique<TEnter2HSC>(*m_statistics, m_mainWindow.get());
    m_scoresForm = std::make_unique<TScoresForm>();
    m_scoresForm->FormCreate(*m_statistics, *m_mainWindow);

    m_mainWindow->setStatistics(m_statistics.get(), m_nameEntry.get());
    m_mainWindow->setStatisticsWindow(m_scoresForm.get());
    SpeedButton *stats = m_mainWindow->button(QStringLiteral("Stats"));
    QObject::connect(m_scoresForm.get(), &TScoresForm::closed, stats, [stats] { stats->setDown(false); });

    m_language = std::make_unique<LanguageLoader>(m_environment.programFolder, m_texts);
    TForm1 *mainWindow = m_mainWindow.get();
    QObject::connect(m_language.get(), &LanguageLoader::statusLabelsChanged, mainWindow,
                     [mainWindow] { mainWindow->applyStatusLabels(); });
    m_helpWindow = std::make_unique<HelpWindow>(*m_language, m_environment.messages);
    m_mainWindow->setHelpWindow(m_helpWindow.get());
}

QList<QWidget *> Program::windows() const
{
    return {m_mainWindow.get(), m_nameEntry.get(), m_scoresForm.get()};
}

void Program::loadLanguage(const QString &langPack)
{
    m_language->loadLanguage(langPack, windows());
}

Program::~Program() = default;

void Program::start()
{
    m_mainWindow->setSkin(m_builtinSkin.get(), QStringLiteral("back001"));
    m_mainWindow->showBacksOnAllTiles();
    // Until the settings are read in full, the language setting is read
    // here on its own: the pack must exist in LNG, else English holds.
    const ProfileFile settings(m_environment.programFolder + QStringLiteral("/Tolvane.ini"), nullptr);
    QString langPack = settings.readString(QStringLiteral("Tolvane..."), QStringLiteral("LangPack"),
                                           QStringLiteral("english"));
    const QString pack = LanguageLoader::packFile(m_environment.programFolder, langPack);
    langPack = pack.isEmpty() || !QFileInfo(pack).isFile() ? QStringLiteral("english") : QFileInfo(pack).completeBaseName();
    loadLanguage(langPack);
    m_mainWindow->setStatusText(TForm1::MessagePanel, m_texts.variable(TextTable::PressF2ToStart));
    m_mainWindow->show();
    m_mainWindow->activateWindow();
}
