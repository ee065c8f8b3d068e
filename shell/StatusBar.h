#pragma once

#include "game/Game.h"

#include <QWidget>
#include <array>

class TextTable;

// The main window's status bar: five panels side by side, labels on the
// plain panels and values in the lowered ones: "Variants:" and the pairs
// playable now, "Time:" and the game's seconds, and the game's message.
class StatusBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PanelCount = 5;
    static constexpr int Height = 16;
    enum Panel { VariantsLabelPanel = 0, VariantsPanel = 1, TimeLabelPanel = 2, TimePanel = 3, MessagePanel = 4 };

    // Its texts come from `texts`, in the current language.
    StatusBar(const TextTable &texts, QWidget *parent);

    // The labels of the current language.
    void showLabels();
    void showVariants(int variants) { setPanelText(VariantsPanel, QString::number(variants)); }
    void showSeconds(int seconds) { setPanelText(TimePanel, QString::number(seconds)); }
    void showMessage(GameMessage message);

    // Sets the widths of panels 0 to 3 from the client width: 25, 9, 17 and
    // 10 per cent, each cut to a whole pixel; the last panel takes the rest.
    void setWidthsFor(int clientWidth);

    QString panelText(int panel) const { return m_panels.at(panel).text; }
    void setPanelText(int panel, const QString &text);
    int panelWidth(int panel) const;
    Qt::Alignment panelAlignment(int panel) const { return m_panels.at(panel).alignment; }
    bool panelLowered(int panel) const { return m_panels.at(panel).lowered; }
    QRect panelRect(int panel) const;

    // What a screen reader reads, row by row: each label with the value
    // beside it ("Variants: 3", "Time: 12"), then the message.
    // A screen reader speaks the pairs' row and the message as they change,
    // one at a time: where both change at once (a deal, the end of a game)
    // the message is spoken, with the pairs as its description.
    static constexpr int ReadingRowCount = 3;
    static bool readingRowAnnounced(int row);
    QString readingRowDescription(int row) const;
    QString readingRow(int row) const;
    QRect readingRowRect(int row) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void announce();

    const TextTable &m_texts;
    int m_unannouncedRows = 0; // a bit for each row changed since the last announcement
    struct PanelState
    {
        QString text;
        int width;
        Qt::Alignment alignment;
        bool lowered;
    };
    std::array<PanelState, PanelCount> m_panels;
};
