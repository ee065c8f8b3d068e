#pragma once

#include "Toolbar.h"

#include <QObject>
#include <QPointer>

class Game;
class HelpWindow;
class QDialog;
class QWidget;
class TAboutMe;
class TScoresForm;

// The windows the toolbar opens beside the board, and their buttons' down
// state. The setup dialog and the about window run modally, their button
// held down while they show; during a deal they do not open. The
// statistics window comes and goes at its button (and F5), which is down
// exactly while the player sees the window, however it came or went. The
// help button shows the help's contents.
class ToolWindows : public QObject
{
    Q_OBJECT
public:
    ToolWindows(QWidget &mainWindow, Toolbar &toolbar, const Game &game);

    // The windows, when the program has them.
    void setSetupDialog(QDialog *dialog) { m_setupDialog = dialog; }
    void setStatisticsWindow(TScoresForm *window);
    void setAboutWindow(TAboutMe *window);
    void setHelpWindow(HelpWindow *window) { m_helpWindow = window; }

    // What their buttons do.
    void options();
    void stats();
    void about();
    void help();

private:
    void runModal(Toolbar::Button button, QDialog *dialog);

    QWidget &m_mainWindow;
    Toolbar &m_toolbar;
    const Game &m_game;
    QPointer<QDialog> m_setupDialog;
    QPointer<QWidget> m_statisticsWindow;
    QPointer<QDialog> m_aboutWindow;
    HelpWindow *m_helpWindow = nullptr;
};
