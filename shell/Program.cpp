#include "Program.h"

#include "Environment.h"
#include "TForm1.h"
#include "resources/BuiltinSkin.h"
#include "resources/ProgramResources.h"

#include <QApplication>

QString Program::applicationTitle()
{
    return QStringLiteral("Tolvane: Kelvor - hard");
}

Program::Program(const Environment &environment)
    : m_environment(environment), m_programResources(std::make_unique<ProgramResources>()),
      m_builtinSkin(std::make_unique<BuiltinSkin>())
{
    m_mainWindow = std::make_unique<TForm1>(m_environment, m_texts, *m_programResources);
    m_mainWindow->setWindowIcon(ProgramResources::windowIcon());
}

Program::~Program() = default;

void Program::start()
{
    m_mainWindow->setSkin(m_builtinSkin.get(), QStringLiteral("back001"));
    m_mainWindow->showBacksOnAllTiles();
    m_texts.applyEnglishTexts({m_mainWindow.get()});
    m_mainWindow->applyStatusLabels();
    m_mainWindow->setStatusText(TForm1::MessagePanel, m_texts.variable(TextTable::PressF2ToStart));
    m_mainWindow->show();
    m_mainWindow->activateWindow();
}
