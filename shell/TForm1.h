#pragma once

#include "BoardTiles.h"
#include "Toolbar.h"
#include "game/Game.h"

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>


class QTimer;
class ResourceModule;
class HelpWindow;
class ScoresRecorder;
class Statistics;
class TEnter2HSC;
class SpeedButton;
class StatusBar;
class TextTable;
class TileImage;
class KeyTaps;
class BoardKeys;
class HintBlink;
class Announcer;
struct Environment;

// The main window: the toolbar of six buttons, the board of 28 tiles and the
// status bar of five panels. It shows the game that it owns and hands it
// the player's clicks and keys; the game decides the flow, and the window
// shows it in its clock, its pause button and its message panel. A minimize
// of the window it reports to the program, which minimizes all its windows.
class TForm1 : public QWidget, private GameObserver
{
    Q_OBJECT
public:
    // The client area is the one the board figure is laid out for.
    static constexpr int ClientWidth = BoardFigure::DesignWidth;
    static constexpr int ClientHeight = BoardFigure::DesignHeight;
    // Status bar panels.
    enum Panel { VariantsLabelPanel = 0, VariantsPanel = 1, TimeLabelPanel = 2, TimePanel = 3, MessagePanel = 4 };

    TForm1(const Environment &environment, TextTable &texts, const ResourceModule &programResources,
           QWidget *parent = nullptr);
    ~TForm1() override;

    // --- what the program around it uses ---
    Game &game() { return m_game; }
    const Game &game() const { return m_game; }
    TileImage *tile(SlotNumber s) const { return m_board->tile(s); }
    SpeedButton *button(const QString &name) const { return m_toolbar->button(name); }
    StatusBar *statusBar() const { return m_statusBar; }
    QTimer *timer() const { return m_timer1; }
    HintBlink *hintBlink() const { return m_hintBlink; }
    Announcer *announcer() const { return m_announcer; }
    void setStatusText(int panel, const QString &text);
    QString statusText(int panel) const;

    // The skin from which faces and backs are loaded, and the back's name.
    void setSkin(const ResourceModule *skin, const QString &backName);
    // Puts the back on all 28 tiles (start-up, before the first game).
    void showBacksOnAllTiles();
    // Shows the texts of the current language that live in the window
    // itself: the labels of status panels 0 and 2.
    void applyStatusLabels();

    // The scores, and the name entry for a new best result.
    void setStatistics(Statistics *statistics, TEnter2HSC *nameEntry);
    // At the end of the session: a game that has ended and waits in the name
    // entry is recorded now, with the name as the field holds it.
    void recordFinishedGame();
    // The windows the toolbar opens, when the program has them.
    void setSetupDialog(QDialog *dialog) { m_setupDialog = dialog; }
    void setStatisticsWindow(QWidget *window) { m_statisticsWindow = window; }
    void setAboutWindow(QDialog *window) { m_aboutWindow = window; }
    void setHelpWindow(HelpWindow *window) { m_helpWindow = window; }

    // The image painted behind the board.
    const QImage &boardBackground() const { return m_boardBackground; }
    void setBoardBackground(const QImage &background);

    // The setup dialog opens: a running or ended game's board is hidden, as
    // the pause hides it, and the clock stands still.
    void hideBoardForSetup();
    // The setup dialog has closed: the background is painted at once, the
    // hidden tiles come back with the current skin and back, and a game that
    // was running or paused goes on.
    void showBoardAfterSetup(const QImage &background, const ResourceModule *skin, const QString &backName);

    // --- handlers ---
    void NewGameClick();
    void PauseClick();
    void OptionsClick();
    void StatsClick();
    void AboutClick();
    void HelpClick();
    // H: the pair that keeps the best result within reach blinks and a
    // screen reader hears it; the game then counts as hinted.
    void GiveHint();
    void Timer1Timer();
    // The program was minimized / restored.
    void Minimize();
    void Restore();

signals:
    // FormCloseQuery: the window closes and the program ends; the settings
    // and the scores are to be saved now.
    void closing();
    // The player minimized the window, or brought it back.
    void minimizedByPlayer();
    void restoredByPlayer();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Tab and Shift+Tab step through the playable dominoes.
    bool focusNextPrevChild(bool next) override;

private:
    void ImageClick(SlotNumber slot);
    void ImageMouseMove();
    void runModal(Toolbar::Button button, QDialog *dialog);
    void keyTapped(int key);

    // GameObserver
    void tileChanged(SlotNumber slot) override;
    void variantsCounted(int variants) override;
    void secondsCounted(int seconds) override;
    void flowChanged() override;

    const Environment &m_environment;
    TextTable &m_texts;
    Game m_game;

    Toolbar *m_toolbar = nullptr;
    std::unique_ptr<BoardTiles> m_board;
    StatusBar *m_statusBar = nullptr;
    QTimer *m_timer1 = nullptr;
    KeyTaps *m_keys = nullptr;
    BoardKeys *m_boardKeys = nullptr;
    HintBlink *m_hintBlink = nullptr;
    Announcer *m_announcer = nullptr;
    QImage m_boardBackground;

    std::unique_ptr<ScoresRecorder> m_recorder;
    QPointer<QDialog> m_setupDialog;
    QPointer<QWidget> m_statisticsWindow;
    QPointer<QDialog> m_aboutWindow;
    HelpWindow *m_helpWindow = nullptr;
    bool m_inMouseMove = false;
    bool m_minimized = false;
};
