#include "TScoresForm.h"

#include "access/TextRowsAccessible.h"
#include "language/TextFit.h"
#include "language/TextTable.h"
#include "language/windows/HelpTopic.h"
#include "language/windows/LanguageLoader.h"
#include "language/windows/LinesLabel.h"
#include "scores/Statistics.h"

#include <QApplication>
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
    HelpTopics::set(this, HelpTopic::Statistics);
    setFont(TextFit::windowFont());
    setFixedSize(ClientWidth, ClientHeight);
    // F5 shows the window beside the board and the board keeps the keyboard,
    // so that F2, F4 and F5 go on working. Shown and then handed back, the
    // focus stays here under a window manager that refuses to take it from
    // a window it has just given it (xfwm4's focus-stealing prevention).
    setAttribute(Qt::WA_ShowWithoutActivating);

    static const char *const familyLabels[6] = {"LL1", "LL2", "LL3", "LL4", "LL5", "LL6"};
    static const char *const gameLabels[6] = {"L1", "L2", "L3", "L4", "L5", "L6"};
    addPanel("Panel2", "ScoresAllGames", familyLabels);
    addPanel("Panel1", "ScoresGame", gameLabels);

    addLabel(this, "L7", "");
    addLine("Bevel1", false);
    addLabel(this, "L8", "#");
    addLabel(this, "L9", "");
    addLabel(this, "L10", "");
    addLabel(this, "L11", "");
    addLine("Bevel3", false);
    addLine("Bevel2", true);
    addLine("Bevel4", true);
    addLine("Bevel5", true);

    QString numbers;
    for (int row = 1; row <= 12; ++row)
        numbers += QString::number(row) + QStringLiteral("\n\r");
    addLabel(this, "L12", "")->setText(numbers);
    addLabel(this, "LName", "");
    addLabel(this, "LDomLeft", "");
    addLabel(this, "LTime", "");
    addLine("Bevel6", false);

    m_closeButt = new QPushButton(this);
    m_closeButt->setObjectName(QStringLiteral("CloseButt"));
    m_closeButt->setGeometry(TextFit::bounds(TextTargets::control("ScoresForm", "CloseButt")));
    m_closeButt->setFocus();
    connect(m_closeButt, &QPushButton::clicked, this, &QWidget::close);
    LanguageLoader::applyDesignTexts(this);
}

TScoresForm::~TScoresForm()
{
    if (m_statistics)
        m_statistics->setObserver(nullptr);
}

QLabel *TScoresForm::addLabel(QWidget *parent, const char *name, const char *text)
{
    auto *label = new LinesLabel(TextTargets::control("ScoresForm", name), parent);
    label->setText(QString::fromLatin1(text));
    label->fitText();
    return label;
}

void TScoresForm::addLine(const char *name, bool vertical)
{
    auto *line = new QFrame(this);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameStyle((vertical ? QFrame::VLine : QFrame::HLine) | QFrame::Sunken);
    line->setGeometry(TextFit::bounds(TextTargets::control("ScoresForm", name)));
}

QWidget *TScoresForm::addPanel(const char *name, const char *headingName, const char *const labelNames[6])
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(TextFit::bounds(TextTargets::control("ScoresForm", name)));
    // The panels themselves keep their design; the labels in them follow
    // the language.
    TextTable::setTag(panel, TextTable::FixedTextTag);

    addLabel(panel, headingName, "");
    for (int i = 0; i < 3; ++i) {
        addLabel(panel, labelNames[i], "");
        addLabel(panel, labelNames[i + 3], "");
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
    if (visible && !isVisible()) {
        m_keyboardOwner = QApplication::activeWindow();
        m_shown.start();
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
            static_cast<LinesLabel *>(value)->fitText();
        }
    }
}

void TScoresForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        emit showingChanged(isShowing());
    // A window manager that activates every window it maps (weston's for
    // X11 programs) gives this one the keyboard all the same, a moment after
    // it shows: it goes back to the window that had it, so that F2, F4 and
    // F5 go on working on the board.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_keyboardOwner && m_shown.isValid()
        && m_shown.elapsed() < HandBackMs) {
        m_shown.invalidate();
        m_keyboardOwner->activateWindow();
    }
}
