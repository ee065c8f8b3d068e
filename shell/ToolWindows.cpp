#include "ToolWindows.h"

#include "HelpWindow.h"
#include "TAboutMe.h"
#include "game/Game.h"
#include "scores/windows/TScoresForm.h"

#include <QDialog>

ToolWindows::ToolWindows(QWidget &mainWindow, Toolbar &toolbar, const Game &game)
    : QObject(&mainWindow), m_mainWindow(mainWindow), m_toolbar(toolbar), m_game(game)
{
}

void ToolWindows::setStatisticsWindow(TScoresForm *window)
{
    m_statisticsWindow = window;
    connect(window, &TScoresForm::showingChanged, this,
            [this](bool showing) { m_toolbar.setDown(Toolbar::Stats, showing); });
}

void ToolWindows::setAboutWindow(TAboutMe *window)
{
    m_aboutWindow = window;
    connect(window, &TAboutMe::closed, this, [this] { m_toolbar.setDown(Toolbar::About, false); });
}

void ToolWindows::runModal(Toolbar::Button button, QDialog *dialog)
{
    if (m_game.dealing()) {
        m_toolbar.setDown(button, false);
        return;
    }
    m_toolbar.runModal(button, dialog);
}

void ToolWindows::options()
{
    // F3 while the setup dialog shows does nothing.
    if (m_setupDialog && m_setupDialog->isVisible())
        return;
    runModal(Toolbar::Options, m_setupDialog);
}

void ToolWindows::stats()
{
    QWidget *window = m_statisticsWindow;
    const bool showing = window && window->isVisible() && !window->isMinimized();
    if (showing) {
        window->close();
    } else if (window) {
        // A window the window manager minimized comes back as it was.
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
    }
    m_toolbar.setDown(Toolbar::Stats, window && !showing);
    m_mainWindow.show();
    m_mainWindow.raise();
    m_mainWindow.activateWindow();
}

void ToolWindows::about()
{
    runModal(Toolbar::About, m_aboutWindow);
}

void ToolWindows::help()
{
    if (m_helpWindow)
        m_helpWindow->showContents();
}
