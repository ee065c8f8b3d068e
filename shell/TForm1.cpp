#include "TForm1.h"

#include "Announcer.h"
#include "BoardKeys.h"
#include "Environment.h"
#include "HelpWindow.h"
#include "HintBlink.h"
#include "KeyTaps.h"
#include "ScoresRecorder.h"
#include "SpeedButton.h"
#include "StatusBar.h"
#include "TileImage.h"
#include "language/TextTable.h"
#include "language/windows/HelpTopic.h"
#include "language/windows/LanguageLoader.h"
#include "platform/DesktopFonts.h"
#include "platform/MessageSink.h"
#include "platform/ResourceModule.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

namespace {

// The window's own keys and what they click.
constexpr struct
{
    Qt::Key key;
    void (TForm1::*handler)();
} functionKeys[] = {{Qt::Key_F2, &TForm1::NewGameClick},
                    {Qt::Key_F3, &TForm1::OptionsClick},
                    {Qt::Key_F4, &TForm1::PauseClick},
                    {Qt::Key_F5, &TForm1::StatsClick}};

} // namespace

TForm1::TForm1(const Environment &environment, TextTable &texts, const ResourceModule &programResources,
               QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_environment(environment), m_texts(texts)
{
    setObjectName(QStringLiteral("Form1"));
    // The title and the hints come from the text table, as the last step.
    HelpTopics::set(this, HelpTopic::MainWindow);
    setFont(DesktopFonts::sansSerif(11));
    setFixedSize(ClientWidth, ClientHeight);
    setFocusPolicy(Qt::StrongFocus);

    m_toolbar = new Toolbar(ClientWidth, this);
    using Handler = void (TForm1::*)();
    static constexpr Handler handlers[Toolbar::ButtonCount] = {
        &TForm1::NewGameClick, &TForm1::PauseClick, &TForm1::OptionsClick,
        &TForm1::StatsClick,   &TForm1::AboutClick, &TForm1::HelpClick,
    };
    for (int i = 0; i < Toolbar::ButtonCount; ++i)
        connect(m_toolbar->button(Toolbar::Button(i)), &QAbstractButton::clicked, this, handlers[i]);

    m_statusBar = new StatusBar(this);
    m_statusBar->setGeometry(0, ClientHeight - StatusBar::Height, ClientWidth, StatusBar::Height);
    HelpTopics::set(m_statusBar, HelpTopic::ToolbarAndStatus);
    m_statusBar->setWidthsFor(width());

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    m_keys = new KeyTaps(this);
    QList<int> keys;
    for (const auto &each : functionKeys)
        keys.append(each.key);
    m_keys->setFunctionKeys(keys);
    connect(m_keys, &KeyTaps::tapped, this, &TForm1::keyTapped);

    move(0, 0);

    m_board = std::make_unique<BoardTiles>(*this, programResources.bitmap(QStringLiteral("selected")),
                                           environment.messages);
    for (TileImage *tile : m_board->tiles()) {
        connect(tile, &TileImage::clicked, this, &TForm1::ImageClick);
        connect(tile, &TileImage::mouseMoved, this, &TForm1::ImageMouseMove);
    }
    m_hintBlink = new HintBlink(*m_board, m_game, this);
    m_announcer = new Announcer(this);
    m_game.setObserver(this);
    m_boardKeys = new BoardKeys(*this, *m_board, m_game);

    m_boardBackground = QImage(ClientWidth, ClientHeight, QImage::Format_RGB16);
    m_boardBackground.fill(Qt::black);
    LanguageLoader::applyDesignTexts(this);
}

TForm1::~TForm1()
{
    m_game.setObserver(nullptr);
}

void TForm1::setStatusText(int panel, const QString &text)
{
    m_statusBar->setPanelText(panel, text);
}

QString TForm1::statusText(int panel) const
{
    return m_statusBar->panelText(panel);
}

void TForm1::applyStatusLabels()
{
    setStatusText(VariantsLabelPanel, m_texts.variable(TextTable::VariantsLabel));
    setStatusText(TimeLabelPanel, m_texts.variable(TextTable::TimeLabel));
}

void TForm1::setSkin(const ResourceModule *skin, const QString &backName)
{
    m_board->setSkin(skin, backName);
}

void TForm1::setStatistics(Statistics *statistics, TEnter2HSC *nameEntry)
{
    m_recorder = statistics ? std::make_unique<ScoresRecorder>(*statistics, nameEntry, *this) : nullptr;
    m_game.setRecorder(m_recorder.get());
}

void TForm1::recordFinishedGame()
{
    if (m_recorder)
        m_recorder->finishPending();
}

void TForm1::showBacksOnAllTiles()
{
    m_game.showBacksOnAllTiles();
}

void TForm1::setBoardBackground(const QImage &background)
{
    m_boardBackground = background;
    update();
}

void TForm1::hideBoardForSetup()
{
    m_game.openSetup();
    m_boardKeys->settle();
}

void TForm1::showBoardAfterSetup(const QImage &background, const ResourceModule *skin, const QString &backName)
{
    setBoardBackground(background);
    repaint();
    setSkin(skin, backName);
    m_game.closeSetup();
    m_boardKeys->settle();
}

// ---------------------------------------------------------------------------
// What the game tells

void TForm1::tileChanged(SlotNumber s)
{
    // The board changes: a hint's blink ends, so that it shows the game.
    m_hintBlink->stop();
    m_board->show(m_game, s);
}

void TForm1::variantsCounted(int variants)
{
    setStatusText(VariantsPanel, QString::number(variants));
}

void TForm1::secondsCounted(int seconds)
{
    setStatusText(TimePanel, QString::number(seconds));
}

void TForm1::flowChanged()
{
    m_hintBlink->stop();
    // The clock starts afresh, a full second to its first tick.
    if (!m_game.clockRuns())
        m_timer1->stop();
    else if (!m_timer1->isActive())
        m_timer1->start();
    m_toolbar->setDown(Toolbar::Pause, m_game.pauseHeld());
    static constexpr TextTable::Slot messages[] = {TextTable::PressF2ToStart, TextTable::LetsPlay,
                                                   TextTable::Pause, TextTable::GameOver};
    setStatusText(MessagePanel, m_texts.variable(messages[int(m_game.message())]));
}

// ---------------------------------------------------------------------------
// A game

void TForm1::NewGameClick()
{
    // The deal lets pending messages through, so that each attempt is
    // painted before its pairs are counted.
    m_boardKeys->startAfresh();
    m_announcer->clear();
    m_game.newGame(m_environment.timeOfDay, [] { QCoreApplication::processEvents(); });
    m_boardKeys->settle();
}

void TForm1::ImageClick(SlotNumber slot)
{
    m_boardKeys->play(slot);
}

void TForm1::ImageMouseMove()
{
    // Lets pending messages through while the mouse travels over the board.
    if (m_inMouseMove)
        return;
    m_inMouseMove = true;
    QCoreApplication::processEvents();
    m_inMouseMove = false;
}

void TForm1::GiveHint()
{
    const auto pair = m_game.hint();
    if (!pair)
        return;
    m_hintBlink->start(pair->first, pair->second);
    // The dominoes as the reader names them, with where they lie.
    const auto name = [this](SlotNumber s) {
        return QAccessible::queryAccessibleInterface(tile(s))->text(QAccessible::Name);
    };
    m_announcer->announce(QStringLiteral("Hint: %1; %2").arg(name(pair->first), name(pair->second)));
}

// ---------------------------------------------------------------------------
// Clock and pause

void TForm1::Timer1Timer()
{
    m_game.tick();
}

void TForm1::PauseClick()
{
    m_game.pauseOrResume();
    m_boardKeys->settle();
}

void TForm1::Minimize()
{
    m_game.minimize();
}

void TForm1::Restore()
{
    m_game.restore();
}

void TForm1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const bool minimized = windowState() & Qt::WindowMinimized;
        if (minimized && !m_minimized) {
            m_minimized = true;
            emit minimizedByPlayer();
        } else if (!minimized && m_minimized) {
            m_minimized = false;
            emit restoredByPlayer();
        }
    }
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------
// The other buttons

void TForm1::runModal(Toolbar::Button button, QDialog *dialog)
{
    if (m_game.dealing()) {
        m_toolbar->setDown(button, false);
        return;
    }
    m_toolbar->runModal(button, dialog);
}

void TForm1::OptionsClick()
{
    runModal(Toolbar::Options, m_setupDialog);
}

void TForm1::StatsClick()
{
    QWidget *window = m_statisticsWindow;
    const bool showing = window && window->isVisible() && !window->isMinimized();
    if (showing) {
        window->close();
    } else if (window) {
        // A window the window manager minimized comes back as it was.
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
    }
    m_toolbar->setDown(Toolbar::Stats, window && !showing);
    show();
    raise();
    activateWindow();
}

void TForm1::AboutClick()
{
    runModal(Toolbar::About, m_aboutWindow);
}

void TForm1::HelpClick()
{
    if (m_helpWindow)
        m_helpWindow->showContents();
}

// ---------------------------------------------------------------------------
// Keys, painting, closing

void TForm1::keyPressEvent(QKeyEvent *event)
{
    m_keys->press(*event);
    // The arrows move the focus on the board as they are pressed, and again
    // as the key repeats.
    const bool bare = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier
                                              | Qt::MetaModifier));
    if (bare && m_boardKeys->arrowPressed(event->key()))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool TForm1::focusNextPrevChild(bool next)
{
    // Tab or Shift+Tab: a Space let go just before it acts first, on the
    // domino it was meant for.
    if (!m_boardKeys->focusLeavingTile())
        m_keys->actNow();
    m_boardKeys->focusNextPrevious(next);
    return true;
}

void TForm1::keyReleaseEvent(QKeyEvent *event)
{
    // Keys act on release, once per press (KeyTaps). A key
    // let go while the deal lets messages through counts for nothing.
    if (m_game.dealing())
        m_keys->forget(event->key());
    else
        m_keys->release(*event);
    event->accept();
}

void TForm1::keyTapped(int key)
{
    if (m_game.dealing())
        return;
    // F3 while the setup dialog shows does nothing.
    if (key == Qt::Key_F3 && m_setupDialog && m_setupDialog->isVisible())
        return;
    // Space, Enter and Esc on the board.
    if (m_boardKeys->keyTapped(key))
        return;
    if (key == Qt::Key_H) {
        GiveHint();
        return;
    }
    for (const auto &each : functionKeys)
        if (each.key == key)
            (this->*each.handler)();
}

void TForm1::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_boardBackground);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // FormCloseQuery: the settings and the scores are saved and the program
    // ends; a game in progress is not recorded as finished. A failed save has
    // been reported and does not keep the window open. No tick may come
    // while the saving shows a message.
    m_timer1->stop();
    emit closing();
    event->accept();
    QCoreApplication::quit();
}
