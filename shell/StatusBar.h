#pragma once

#include <QWidget>
#include <array>

// The main window's status bar: five panels side by side, labels on the
// plain panels and values in the lowered ones.
class StatusBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PanelCount = 5;
    static constexpr int Height = 16;

    explicit StatusBar(QWidget *parent);

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

    int m_unannouncedRows = 0; // a bit for each row changed since the last announcement
    struct Panel
    {
        QString text;
        int width;
        Qt::Alignment alignment;
        bool lowered;
    };
    std::array<Panel, PanelCount> m_panels;
};
