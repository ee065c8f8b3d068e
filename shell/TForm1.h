#pragma once

#include "game/Game.h"

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>


class QFrame;
class QTimer;
class ResourceModule;
class Statistics;
class TEnter2HSC;
class SpeedButton;
class StatusBar;
class TextTable;
class TileImage;
struct Environment;

// The main window: the toolbar of six buttons, the board of 28 tiles and the
// status bar of five panels. It shows the game that it owns, turns the
// player's clicks and keys into moves, runs the clock and the pause, and
// minimizes the whole program with itself.
class TForm1 : public QWidget, private GameObserver
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 290;
    static constexpr int ClientHeight = 470;
    // Status bar panels.
    enum Panel { VariantsLabelPanel = 0, VariantsPanel = 1, TimeLabelPanel = 2, TimePanel = 3, MessagePanel = 4 };

    TForm1(const Environment &environment, TextTable &texts, const ResourceModule &programResources,
           QWidget *parent = nullptr);
    ~TForm1() override;

    // --- what the program around it uses ---
    Game &game() { return m_game; }
    const Game &game() const { return m_game; }
    TileImage *tile(SlotNumber s) const { return m_tiles[s - 1]; }
    SpeedButton *button(const QString &name) const;
    StatusBar *statusBar() const { return m_statusBar; }
    QTimer *timer() const { return m_timer1; }
    void setStatusText(int panel, const QString &text);
    QString statusText(int panel) const;

    // The skin from which faces and backs are loaded, and the back's name.
    void setSkin(const ResourceModule *skin, const QString &backName);
    // Puts the back on all 28 tiles (start-up, before the first game).
    void showBacksOnAllTiles();
    // Shows the texts of the current language that live in the window
    // itself: the labels of status panels 0 and 2.
    void applyStatusLabels();
    // Offset of the board figure in a client area of the given size: half
    // the surplus over the designed size in each direction, cut to a pixel.
    static QPoint figureOffset(QSize clientSize);

    // The scores, and the name entry for a new best result.
    void setStatistics(Statistics *statistics, TEnter2HSC *nameEntry);
    // The windows the toolbar opens, when the program has them.
    void setSetupDialog(QDialog *dialog) { m_setupDialog = dialog; }
    void setStatisticsWindow(QWidget *window) { m_statisticsWindow = window; }
    void setAboutWindow(QDialog *window) { m_aboutWindow = window; }

    // The image painted behind the board.
    const QImage &boardBackground() const { return m_boardBackground; }
    void setBoardBackground(const QImage &background);

    // --- handlers ---
    void NewGameClick();
    void PauseClick();
    void OptionsClick();
    void StatsClick();
    void AboutClick();
    void HelpClick();
    void Timer1Timer();
    // The program was minimized / restored.
    void Minimize();
    void Restore();

signals:
    // FormCloseQuery: the window closes and the program ends; the settings
    // and the scores are to be saved now.
    void closing();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Deal();
    void ImageClick(SlotNumber slot);
    void ImageMouseMove();
    void RecordResult();
    void createToolbar();
    void createTiles();

    // GameObserver
    void tileChanged(SlotNumber slot) override;
    void variantsCounted(int variants) override;
    void gameOver() override;

    void loadTilePicture(SlotNumber slot, TilePicture picture);
    QImage loadBitmap(const QString &name) const;
    void minimizeProgram();
    void restoreProgram();

    const Environment &m_environment;
    TextTable &m_texts;
    const ResourceModule *m_skin = nullptr;
    QString m_backName;
    QImage m_selectedMark;
    Game m_game;

    QFrame *m_panel1 = nullptr;
    std::array<SpeedButton *, 6> m_buttons{};
    std::array<TileImage *, 28> m_tiles{};
    StatusBar *m_statusBar = nullptr;
    QTimer *m_timer1 = nullptr;
    QImage m_boardBackground;

    Statistics *m_statistics = nullptr;
    TEnter2HSC *m_nameEntry = nullptr;
    QPointer<QDialog> m_setupDialog;
    QPointer<QWidget> m_statisticsWindow;
    QPointer<QDialog> m_aboutWindow;

    // What each tile shows now, so that a change of its flags alone does
    // not load its picture again.
    struct Shown
    {
        TilePicture picture = TilePicture::None;
        DominoId domino = 0;
    };
    std::array<Shown, 28> m_shown{};

    // True while the deal lets pending messages through: clicks on tiles and
    // the buttons that would change the board are ignored until it ends.
    bool m_dealing = false;
    bool m_inMouseMove = false;
    bool m_minimized = false;
    // The other windows that went with a minimize of the main window.
    struct SetAside
    {
        QPointer<QWidget> window;
        bool hidden; // else minimized
    };
    QList<SetAside> m_windowsSetAside;
};
