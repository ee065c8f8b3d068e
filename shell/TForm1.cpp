#include "TForm1.h"

#include "Environment.h"
#include "HelpWindow.h"
#include "KeyTaps.h"
#include "SpeedButton.h"
#include "StatusBar.h"
#include "TileAccessible.h"
#include "TileImage.h"
#include "language/LanguageLoader.h"
#include "language/TextTable.h"
#include "platform/DesktopFonts.h"
#include "platform/MessageSink.h"
#include "platform/ResourceModule.h"
#include "scores/Statistics.h"
#include "scores/TEnter2HSC.h"
#include "settings/SetupModel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

TForm1::TForm1(const Environment &environment, TextTable &texts, const ResourceModule &programResources,
               QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_environment(environment), m_texts(texts),
      m_pictures(programResources.bitmap(QStringLiteral("selected")), environment.messages)
{
    setObjectName(QStringLiteral("Form1"));
    // The title and the hints come from the text table, as the last step.
    setProperty("helpContext", 2);
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
    m_statusBar->setProperty("helpContext", 3);
    m_statusBar->setWidthsFor(width());

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    m_keys = new KeyTaps(this);
    connect(m_keys, &KeyTaps::tapped, this, &TForm1::keyTapped);

    move(0, 0);

    createTiles();
    m_game.setObserver(this);
    m_game.setPhase(GamePhase::Stopped);

    m_boardBackground = QImage(ClientWidth, ClientHeight, QImage::Format_RGB16);
    m_boardBackground.fill(Qt::black);
    LanguageLoader::applyDesignTexts(this);
}

TForm1::~TForm1()
{
    m_game.setObserver(nullptr);
}

QPoint TForm1::figureOffset(QSize clientSize)
{
    return {static_cast<int>((clientSize.width() - BoardFigure::DesignWidth) * 0.5),
            static_cast<int>((clientSize.height() - BoardFigure::DesignHeight) * 0.5)};
}

void TForm1::createTiles()
{
    const QPoint offset = figureOffset(size());
    for (SlotNumber s = 1; s <= BoardFigure::SlotCount; ++s) {
        auto *tile = new TileImage(s, this);
        const BoardFigure::Point at = BoardFigure::position(s);
        tile->move(at.x + offset.x(), at.y + offset.y());
        tile->setEnabled(false);
        connect(tile, &TileImage::clicked, this, &TForm1::ImageClick);
        connect(tile, &TileImage::mouseMoved, this, &TForm1::ImageMouseMove);
        // Where tiles overlap, the higher slot lies on top.
        tile->raise();
        m_tiles[s - 1] = tile;
    }
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
    m_pictures.setSkin(skin, backName);
}

void TForm1::setStatistics(Statistics *statistics, TEnter2HSC *nameEntry)
{
    m_statistics = statistics;
    m_nameEntry = nameEntry;
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
    // A paused game's tiles are hidden already, and stay in the pause's list.
    if (m_game.phase() == GamePhase::Paused)
        return;
    m_game.hideBoard();
    m_timer1->stop();
    setStatusText(MessagePanel, m_texts.variable(TextTable::Pause));
}

void TForm1::showBoardAfterSetup(const QImage &background, const ResourceModule *skin, const QString &backName)
{
    setBoardBackground(background);
    repaint();
    setSkin(skin, backName);
    m_game.showHiddenTiles();
    if (m_game.phase() == GamePhase::Running || m_game.phase() == GamePhase::Paused) {
        m_game.setPhase(GamePhase::Running);
        m_timer1->start();
        m_toolbar->setDown(Toolbar::Pause, false);
        setStatusText(MessagePanel, m_texts.variable(TextTable::LetsPlay));
    } else {
        setStatusText(MessagePanel, m_texts.variable(TextTable::PressF2ToStart));
    }
}

// ---------------------------------------------------------------------------
// Pictures of the tiles

void TForm1::tileChanged(SlotNumber s)
{
    const TileState &state = m_game.tile(s);
    TileImage *tile = m_tiles[s - 1];
    if (state.visible) {
        if (const std::optional<QImage> picture = m_pictures.pictureFor(s, state.picture, m_game.slotDomino(s)))
            tile->setPicture(*picture);
    }
    tile->setEnabled(state.enabled);
    tile->setToolTip(state.showHint ? QString::number(m_game.pipTotalAt(s)) : QString());
    tile->setVisible(state.visible);
    describeTile(s);
}

void TForm1::describeTile(SlotNumber s)
{
    // What a screen reader reads; setting a name, or the selection, tells it
    // of the change.
    const TilePicture picture = m_game.tile(s).picture;
    const bool faceUp = picture == TilePicture::Face || picture == TilePicture::MarkedFace;
    const QString name = TileAccessible::name(m_game.slotDomino(s), faceUp);
    TileImage *tile = m_tiles[s - 1];
    if (tile->accessibleName() != name)
        tile->setAccessibleName(name);
    // The selection can leave a tile whose picture stays as it was.
    for (TileImage *each : m_tiles)
        each->setSelected(m_game.selectionActive() && m_game.selectedSlot() == each->slot());
}

void TForm1::variantsCounted(int variants)
{
    setStatusText(VariantsPanel, QString::number(variants));
}

// ---------------------------------------------------------------------------
// A game

void TForm1::NewGameClick()
{
    if (m_dealing)
        return;
    Deal();
    m_game.start();
    setStatusText(MessagePanel, m_texts.variable(TextTable::LetsPlay));
    m_timer1->start();
    setStatusText(TimePanel, QString::number(m_game.elapsedSeconds()));
}

void TForm1::Deal()
{
    m_dealing = true;
    m_toolbar->setDown(Toolbar::Pause, false);
    // Counted once per new game, however many attempts the deal takes.
    if (m_statistics)
        m_statistics->countNewGame();
    // Each attempt is seeded from the clock afresh; an attempt whose five
    // face-up dominoes hold no pair is dealt again.
    do {
        m_game.layOutDeal(m_environment.timeOfDay());
        QCoreApplication::processEvents();
    } while (m_game.countVariants() == 0);
    m_game.finishDeal();
    m_dealing = false;
}

void TForm1::ImageClick(SlotNumber slot)
{
    if (m_dealing)
        return;
    m_game.click(slot);
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

void TForm1::gameOver()
{
    m_timer1->stop();
    setStatusText(MessagePanel, m_texts.variable(TextTable::GameOver));
    RecordResult();
}

void TForm1::RecordResult()
{
    const int left = m_game.dominoesLeft();
    const int seconds = m_game.elapsedSeconds();
    if (m_statistics) {
        if (m_nameEntry && qualifies(m_statistics->record(), left, seconds)) {
            m_nameEntry->prepare(seconds, left);
            m_nameEntry->move(TEnter2HSC::centredOver(frameGeometry(), m_nameEntry->outerSize(*this)));
            m_nameEntry->exec();
        }
        m_statistics->finishGame(left);
    }
    // Panel 3 keeps showing the game's final time.
    m_game.resetElapsed();
}

// ---------------------------------------------------------------------------
// Clock and pause

void TForm1::Timer1Timer()
{
    m_game.tick();
    setStatusText(TimePanel, QString::number(m_game.elapsedSeconds()));
}

void TForm1::PauseClick()
{
    if (m_dealing) {
        // The deal lets messages through; a pause would hide a board that
        // is still being laid out.
        m_toolbar->setDown(Toolbar::Pause, false);
        return;
    }
    if (m_game.pause()) {
        m_timer1->stop();
        setStatusText(MessagePanel, m_texts.variable(TextTable::Pause));
        m_toolbar->setDown(Toolbar::Pause, true);
    } else if (m_game.resume()) {
        m_timer1->start();
        setStatusText(MessagePanel, m_texts.variable(TextTable::LetsPlay));
        m_toolbar->setDown(Toolbar::Pause, false);
    }
    if (m_game.phase() == GamePhase::Stopped)
        m_toolbar->setDown(Toolbar::Pause, false);
}

void TForm1::Minimize()
{
    m_timer1->stop();
}

void TForm1::Restore()
{
    if (m_game.phase() == GamePhase::Running)
        m_timer1->start();
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
    if (m_dealing) {
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
    QWidget::keyPressEvent(event);
}

void TForm1::keyReleaseEvent(QKeyEvent *event)
{
    // Keys act on release, once per press of a bare key (KeyTaps). A key
    // let go while the deal lets messages through counts for nothing.
    if (m_dealing)
        m_keys->forget(event->key());
    else
        m_keys->release(*event);
    event->accept();
}

void TForm1::keyTapped(int key)
{
    if (m_dealing)
        return;
    switch (key) {
    case Qt::Key_F2:
        NewGameClick();
        break;
    case Qt::Key_F3:
        if (!m_setupDialog || !m_setupDialog->isVisible())
            OptionsClick();
        break;
    case Qt::Key_F4:
        PauseClick();
        break;
    case Qt::Key_F5:
        StatsClick();
        break;
    default:
        break;
    }
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
    // been reported and does not keep the window open.
    m_timer1->stop();
    emit closing();
    event->accept();
    QCoreApplication::quit();
}
