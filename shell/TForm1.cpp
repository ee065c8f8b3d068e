#include "TForm1.h"

#include "Announcer.h"
#include "BoardKeys.h"
#include "Environment.h"
#include "HintBlink.h"
#include "MainWindowKeys.h"
#include "SpeedButton.h"
#include "TileImage.h"
#include "ToolWindows.h"
#include "language/TextTable.h"
#include "language/windows/HelpTopic.h"
#include "language/windows/LanguageLoader.h"
#include "platform/DesktopFonts.h"
#include "platform/MessageSink.h"
#include "platform/ResourceModule.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

TForm1::TForm1(const Environment &environment, TextTable &texts, const ResourceModule &programResources,
               QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_environment(environment)
{
    setObjectName(QStringLiteral("Form1"));
    // The title and the hints come from the text table, as the last step.
    HelpTopics::set(this, HelpTopic::MainWindow);
    setFont(DesktopFonts::sansSerif(11));
    setFixedSize(ClientWidth, ClientHeight);
    setFocusPolicy(Qt::StrongFocus);

    m_toolbar = new Toolbar(ClientWidth, this);
    for (int i = 0; i < Toolbar::ButtonCount; ++i)
        connect(m_toolbar->button(Toolbar::Button(i)), &QAbstractButton::clicked, this,
                [this, i] { buttonClicked(Toolbar::Button(i)); });
    m_toolWindows = new ToolWindows(*this, *m_toolbar, m_game);

    m_statusBar = new StatusBar(texts, this);
    m_statusBar->setGeometry(0, ClientHeight - StatusBar::Height, ClientWidth, StatusBar::Height);
    HelpTopics::set(m_statusBar, HelpTopic::ToolbarAndStatus);
    m_statusBar->setWidthsFor(width());

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

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
    // After the window, so that the board's focus settles on what it shows.
    m_keys = new MainWindowKeys(*this, *m_board, m_game);
    connect(m_keys, &MainWindowKeys::buttonKey, this, &TForm1::buttonClicked);
    connect(m_keys, &MainWindowKeys::hintKey, this, &TForm1::GiveHint);

    m_boardBackground = QImage(ClientWidth, ClientHeight, QImage::Format_RGB16);
    m_boardBackground.fill(Qt::black);
    LanguageLoader::applyDesignTexts(this);
}

TForm1::~TForm1()
{
    m_game.setObserver(nullptr);
}

void TForm1::setSkin(const ResourceModule *skin, const QString &backName)
{
    m_board->setSkin(skin, backName);
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
    m_statusBar->showVariants(variants);
}

void TForm1::secondsCounted(int seconds)
{
    m_statusBar->showSeconds(seconds);
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
    m_statusBar->showMessage(m_game.message());
}

// ---------------------------------------------------------------------------
// A game

void TForm1::NewGameClick()
{
    // The deal lets pending messages through, so that each attempt is
    // painted before its pairs are counted.
    m_keys->board().startAfresh();
    m_announcer->clear();
    m_game.newGame(m_environment.timeOfDay, [] { QCoreApplication::processEvents(); });
}

void TForm1::ImageClick(SlotNumber slot)
{
    m_keys->board().play(slot);
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
// Buttons and keys

void TForm1::buttonClicked(Toolbar::Button button)
{
    switch (button) {
    case Toolbar::NewGame: return NewGameClick();
    case Toolbar::Pause: return PauseClick();
    case Toolbar::Options: return m_toolWindows->options();
    case Toolbar::Stats: return m_toolWindows->stats();
    case Toolbar::About: return m_toolWindows->about();
    case Toolbar::Help: return m_toolWindows->help();
    case Toolbar::ButtonCount: break;
    }
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    if (m_keys->press(*event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void TForm1::keyReleaseEvent(QKeyEvent *event)
{
    m_keys->release(*event);
    event->accept();
}

bool TForm1::focusNextPrevChild(bool next)
{
    m_keys->focusNextPrevious(next);
    return true;
}

// ---------------------------------------------------------------------------
// Painting, closing

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
