#pragma once

#include "scores/Statistics.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;

// The statistics window: the family's and this game's counters and the
// twelve best players. A tool window beside the board, shown and hidden by
// the main window's statistics button and F5.
class TScoresForm : public QWidget, private StatisticsObserver
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 323;
    static constexpr int ClientHeight = 473;

    explicit TScoresForm(QWidget *parent = nullptr);
    ~TScoresForm() override;

    // Reads the scores and shows them. The window stands just right of the
    // main window with the top edges level: placed once, when it is first
    // shown, for only then is the main window's frame known.
    void FormCreate(Statistics &statistics, const QWidget &mainWindow);
    // Shows the record: the counters and entries 1 to 12, a row a line.
    void RefreshStatistics(const ScoresRecord &record);

    QLabel *label(const QString &name) const;

    // What a screen reader reads for the best player of row 0 to 11: the
    // name, the dominoes left and the time, and where that row is drawn.
    static constexpr int BestPlayerRows = 12;
    QString bestPlayerRow(int row) const;
    QRect bestPlayerRowRect(int row) const;

    void setVisible(bool visible) override;
    // Whether the player sees the window: shown and not minimized.
    bool isShowing() const { return isVisible() && !isMinimized(); }

signals:
    // The window came into view or went out of it: shown, closed by its
    // button or its close box, minimized or restored by the window manager.
    void showingChanged(bool showing);

protected:
    void changeEvent(QEvent *event) override;

private:
    QLabel *addLabel(QWidget *parent, const char *name, const char *text);
    void addLine(const char *name, bool vertical);
    QWidget *addPanel(const char *name, const char *headingName, const char *const labelNames[6]);

    void placeBeside(const QWidget &mainWindow);
    void statisticsChanged(const ScoresRecord &record) override { RefreshStatistics(record); }

    // How long after showing an activation is the window manager's, not the
    // player's.
    static constexpr int HandBackMs = 1000;

    QPushButton *m_closeButt = nullptr;
    const QWidget *m_mainWindow = nullptr;
    QPointer<QWidget> m_keyboardOwner;
    QElapsedTimer m_shown;
    Statistics *m_statistics = nullptr;
    bool m_placed = false;
};
