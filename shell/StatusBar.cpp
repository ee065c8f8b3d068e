#include "StatusBar.h"

#include "access/TextRowsAccessible.h"
#include "language/TextFit.h"
#include "language/TextTable.h"

#include <QPainter>
#include <qdrawutil.h>

StatusBar::StatusBar(const TextTable &texts, QWidget *parent) : QWidget(parent), m_texts(texts)
{
    setObjectName(QStringLiteral("StatusBar"));
    m_panels = {{
        {{}, 0, Qt::AlignRight | Qt::AlignVCenter, false},
        {{}, 0, Qt::AlignCenter, true},
        {{}, 0, Qt::AlignRight | Qt::AlignVCenter, false},
        {{}, 0, Qt::AlignCenter, true},
        {{}, 0, Qt::AlignCenter, true},
    }};
    setFont(TextFit::statusFont());
}

namespace {

// The first and last panel of each reading row, and whether a screen
// reader speaks it as it changes (not the clock, every second).
struct ReadingRow
{
    int first;
    int last;
    bool announced;
};
constexpr ReadingRow readingRows[StatusBar::ReadingRowCount] = {{0, 1, true}, {2, 3, false}, {4, 4, true}};

} // namespace

void StatusBar::setWidthsFor(int clientWidth)
{
    for (int i = 0; i < PanelCount - 1; ++i)
        m_panels[i].width = TextFit::statusPanelWidth(i, clientWidth);
    update();
}

void StatusBar::showLabels()
{
    setPanelText(VariantsLabelPanel, m_texts.variable(TextTable::VariantsLabel));
    setPanelText(TimeLabelPanel, m_texts.variable(TextTable::TimeLabel));
}

void StatusBar::showMessage(GameMessage message)
{
    // In the order of GameMessage.
    static constexpr TextTable::Slot messages[] = {TextTable::PressF2ToStart, TextTable::LetsPlay,
                                                   TextTable::Pause, TextTable::GameOver};
    setPanelText(MessagePanel, m_texts.variable(messages[int(message)]));
}

int StatusBar::panelWidth(int panel) const
{
    if (panel < PanelCount - 1)
        return m_panels.at(panel).width;
    int used = 0;
    for (int i = 0; i < PanelCount - 1; ++i)
        used += m_panels[i].width;
    return qMax(0, width() - used);
}

QRect StatusBar::panelRect(int panel) const
{
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += panelWidth(i);
    return QRect(left, 0, panelWidth(panel), height());
}

void StatusBar::setPanelText(int panel, const QString &text)
{
    if (m_panels.at(panel).text == text)
        return;
    m_panels[panel].text = text;
    update(panelRect(panel));
    for (int row = 0; row < ReadingRowCount; ++row) {
        if (panel < readingRows[row].first || panel > readingRows[row].last)
            continue;
        TextRowsAccessible::rowChanged(this, row);
        if (!readingRows[row].announced)
            continue;
        // Announced once the program is done with its changes, as one.
        if (!m_unannouncedRows)
            QMetaObject::invokeMethod(this, &StatusBar::announce, Qt::QueuedConnection);
        m_unannouncedRows |= 1 << row;
    }
}

void StatusBar::announce()
{
    // The reader speaks one announcement at a time, each cutting off the one
    // before: the last row changed speaks, the others in its description.
    for (int row = ReadingRowCount - 1; row >= 0; --row)
        if (m_unannouncedRows & (1 << row)) {
            TextRowsAccessible::rowAnnounced(this, row);
            break;
        }
    m_unannouncedRows = 0;
}

QString StatusBar::readingRowDescription(int row) const
{
    QStringList before;
    for (int other = 0; other < row; ++other)
        if (readingRows[other].announced && readingRows[row].announced)
            before.append(readingRow(other));
    return before.join(QLatin1Char(' '));
}

QString StatusBar::readingRow(int row) const
{
    QStringList texts;
    for (int panel = readingRows[row].first; panel <= readingRows[row].last; ++panel)
        if (!m_panels[panel].text.isEmpty())
            texts.append(m_panels[panel].text);
    return texts.join(QLatin1Char(' '));
}

bool StatusBar::readingRowAnnounced(int row)
{
    return readingRows[row].announced;
}

QRect StatusBar::readingRowRect(int row) const
{
    return panelRect(readingRows[row].first).united(panelRect(readingRows[row].last));
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    for (int i = 0; i < PanelCount; ++i) {
        // Panels sit two pixels apart, the frame of a lowered one inside.
        const QRect cell = panelRect(i).adjusted(0, 2, -2, 0);
        if (m_panels[i].lowered)
            qDrawShadePanel(&painter, cell, palette(), true, 1);
        painter.setPen(palette().windowText().color());
        painter.drawText(TextFit::statusTextRect(panelRect(i), m_panels[i].lowered), int(m_panels[i].alignment) | Qt::TextSingleLine, m_panels[i].text);
    }
}
