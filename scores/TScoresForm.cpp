#include "TScoresForm.h"

#include "LinesLabel.h"
#include "Statistics.h"
#include "TextRowsAccessible.h"
#include "language/LanguageLoader.h"
#include "language/TextTable.h"
#include "platform/DesktopFonts.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

TScoresForm::TScoresForm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ScoresForm"));
    // The texts of the text table are set from it as the last step here;
    // the design keeps only those the table does not name ("#").
    setProperty("helpContext", 5);
    setFont(DesktopFonts::sansSerif(11));
    setFixedSize(ClientWidth, ClientHeight);

    static const char *const familyLabels[6] = {"LL1", "LL2", "LL3", "LL4", "LL5", "LL6"};
    static const char *const gameLabels[6] = {"L1", "L2", "L3", "L4", "L5", "L6"};
    addPanel("Panel2", {2, 13, 320, 89}, "ScoresAllGames", familyLabels);
    addPanel("Panel1", {2, 113, 320, 89}, "ScoresGame", gameLabels);

    addLabel(this, "L7", {5, 210, 316, 17}, Qt::AlignHCenter, "", true);
    addLine("Bevel1", {5, 227, 316, 2}, false);
    addLabel(this, "L8", {12, 242, 17, 13}, Qt::AlignHCenter, "#");
    addLabel(this, "L9", {48, 242, 121, 13}, Qt::AlignHCenter, "");
    addLabel(this, "L10", {184, 234, 65, 26}, Qt::AlignHCenter, "");
    addLabel(this, "L11", {264, 242, 57, 13}, Qt::AlignHCenter, "");
    addLine("Bevel3", {5, 265, 316, 2}, false);
    addLine("Bevel2", {40, 229, 2, 210}, true);
    addLine("Bevel4", {176, 229, 2, 210}, true);
    addLine("Bevel5", {256, 229, 2, 210}, true);

    QString numbers;
    for (int row = 1; row <= 12; ++row)
        numbers += QString::number(row) + QStringLiteral("\n\r");
    addLabel(this, "L12", {5, 274, 30, 160}, Qt::AlignHCenter, "")->setText(numbers);
    addLabel(this, "LName", {48, 274, 121, 160}, Qt::AlignLeft, "");
    addLabel(this, "LDomLeft", {184, 274, 65, 160}, Qt::AlignHCenter, "");
    addLabel(this, "LTime", {264, 274, 56, 160}, Qt::AlignHCenter, "");
    addLine("Bevel6", {5, 439, 316, 2}, false);

    m_closeButt = new QPushButton(this);
    m_closeButt->setObjectName(QStringLiteral("CloseButt"));
    m_closeButt->setGeometry(5, 445, 316, 25);
    m_closeButt->setFocus();
    connect(m_closeButt, &QPushButton::clicked, this, &QWidget::close);
    LanguageLoader::applyDesignTexts(this);
}

TScoresForm::~TScoresForm()
{
    if (m_statistics)
        m_statistics->setObserver(nullptr);
}

QLabel *TScoresForm::addLabel(QWidget *parent, const char *name, QRect geometry, Qt::Alignment alignment,
                              const char *text, bool bold)
{
    auto *label = new LinesLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setText(QString::fromLatin1(text));
    if (bold) {
        QFont boldFont = label->font();
        boldFont.setBold(true);
        label->setFont(boldFont);
    }
    return label;
}

void TScoresForm::addLine(const char *name, QRect geometry, bool vertical)
{
    auto *line = new QFrame(this);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameStyle((vertical ? QFrame::VLine : QFrame::HLine) | QFrame::Sunken);
    line->setGeometry(geometry);
}

QWidget *TScoresForm::addPanel(const char *name, QRect geometry, const char *headingName,
                               const char *const labelNames[6])
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(geometry);
    // The panels themselves keep their design; the labels in them follow
    // the language.
    TextTable::setTag(panel, TextTable::FixedTextTag);

    addLabel(panel, headingName, {3, 3, 314, 14}, Qt::AlignHCenter, "", true);
    static const QRect captions[3] = {{100, 22, 61, 13}, {74, 46, 89, 13}, {103, 70, 59, 13}};
    for (int i = 0; i < 3; ++i) {
        addLabel(panel, labelNames[i], captions[i], Qt::AlignRight, "");
        addLabel(panel, labelNames[i + 3], {168, captions[i].top(), 0, 13}, Qt::AlignLeft, "");
    }
    return panel;
}

QLabel *TScoresForm::label(const QString &name) const
{
    return findChild<QLabel *>(name);
}

QString TScoresForm::bestPlayerRow(int row) const
{
    QStringList cells;
    for (const char *column : {"LName", "LDomLeft", "LTime"}) {
        const QStringList lines = LinesLabel::splitLines(label(QString::fromLatin1(column))->text());
        if (row < lines.size() && !lines.at(row).isEmpty())
            cells.append(lines.at(row));
    }
    return cells.join(QStringLiteral(", "));
}

QRect TScoresForm::bestPlayerRowRect(int row) const
{
    const QRect names = label(QStringLiteral("LName"))->geometry();
    return QRect(label(QStringLiteral("L12"))->x(), names.y() + row * LinesLabel::RowHeight,
                 label(QStringLiteral("LTime"))->geometry().right() - label(QStringLiteral("L12"))->x() + 1,
                 LinesLabel::RowHeight);
}

void TScoresForm::FormCreate(Statistics &statistics, const QWidget &mainWindow)
{
    m_statistics = &statistics;
    statistics.setObserver(this);
    statistics.ReadScores();
    statistics.RefreshStatistics();
    m_mainWindow = &mainWindow;
    placeBeside(mainWindow);
}

void TScoresForm::placeBeside(const QWidget &mainWindow)
{
    const QRect main = mainWindow.frameGeometry();
    move(main.left() + main.width(), main.top());
}

void TScoresForm::setVisible(bool visible)
{
    if (visible && !m_placed && m_mainWindow) {
        placeBeside(*m_mainWindow);
        m_placed = true;
    }
    QWidget::setVisible(visible);
    emit showingChanged(isShowing());
}

void TScoresForm::RefreshStatistics(const ScoresRecord &record)
{
    // Every row ends with LF CR, the row break of the family's files.
    const QString rowEnd = QStringLiteral("\n\r");
    QString names, dominoes, times;
    for (int entry = 0; entry < ScoresRecord::ShownEntries; ++entry) {
        const ScoreEntry &e = record.bestPlayers[entry];
        names += e.name + rowEnd;
        dominoes += QString::number(e.dominoesLeft) + rowEnd;
        times += QString::number(e.time) + rowEnd;
    }
    label(QStringLiteral("LName"))->setText(names);
    label(QStringLiteral("LDomLeft"))->setText(dominoes);
    label(QStringLiteral("LTime"))->setText(times);
    for (int row = 0; row < BestPlayerRows; ++row)
        TextRowsAccessible::rowChanged(label(QStringLiteral("LName")), row);

    const GameCounters *counters[2] = {&record.game, &record.family};
    const char *const prefixes[2] = {"L", "LL"};
    for (int i = 0; i < 2; ++i) {
        const int values[3] = {counters[i]->gamesWas, counters[i]->gamesSucc, counters[i]->gamesEnd};
        for (int k = 0; k < 3; ++k) {
            QLabel *value = label(QString::fromLatin1(prefixes[i]) + QString::number(k + 4));
            value->setText(QString::number(values[k]));
            // Sized to its text.
            value->resize(value->fontMetrics().horizontalAdvance(value->text()) + 2, 13);
        }
    }
}

void TScoresForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        emit showingChanged(isShowing());
}
