#pragma once

#include "BoardTiles.h"
#include "StatusBar.h"
#include "Toolbar.h"
#include "game/Game.h"

#include <QImage>
#include <QWidget>
#include <memory>


class QTimer;
class MainWindowKeys;
class ResourceModule;
class ToolWindows;
class SpeedButton;
class TextTable;
class TileImage;
class HintBlink;
class Announcer;
struct Environment;

// The main window: the toolbar of six buttons, the board of 28 tiles and the
// status bar of five panels. It shows the game that it owns and hands it
// the player's clicks and keys (MainWindowKeys); the game decides the flow,
// and the window shows it in its clock, its pause button and its status
// bar. The other windows its buttons open are ToolWindows'. A minimize of
// the window it reports to the program, which minimizes all its windows.
class TForm1 : public QWidget, private GameObserver
{
    Q_OBJECT
public:
    // The client area is the one the board figure is laid out for.
    static constexpr int ClientWidth = BoardFigure::DesignWidth;
    static constexpr int ClientHeight = BoardFigure::DesignHeight;

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
    ToolWindows &toolWindows() const { return *m_toolWindows; }
    void setStatusText(int panel, const QString &text) { m_statusBar->setPanelText(panel, text); }
    QString statusText(int panel) const { return m_statusBar->panelText(panel); }

    // The skin from which faces and backs are loaded, and the back's name.
    void setSkin(const ResourceModule *skin, const QString &backName);
    // Puts the back on all 28 tiles (start-up, before the first game).
    void showBacksOnAllTiles();

    // The image painted behind the board.
    const QImage &boardBackground() const { return m_boardBackground; }
    void setBoardBackground(const QImage &background);

    // --- handlers ---
    void NewGameClick();
    void PauseClick();
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
    // A toolbar button, clicked or its key tapped.
    void buttonClicked(Toolbar::Button button);

    // GameObserver
    void tileChanged(SlotNumber slot) override;
    void variantsCounted(int variants) override;
    void secondsCounted(int seconds) override;
    void flowChanged() override;

    const Environment &m_environment;
    Game m_game;

    Toolbar *m_toolbar = nullptr;
    std::unique_ptr<BoardTiles> m_board;
    StatusBar *m_statusBar = nullptr;
    QTimer *m_timer1 = nullptr;
    MainWindowKeys *m_keys = nullptr;
    ToolWindows *m_toolWindows = nullptr;
    HintBlink *m_hintBlink = nullptr;
    Announcer *m_announcer = nullptr;
    QImage m_boardBackground;
    bool m_inMouseMove = false;
    bool m_minimized = false;
};
