#include "TForm1.h"

#include "Environment.h"
#include "SpeedButton.h"
#include "StatusBar.h"
#include "TileImage.h"
#include "language/TextTable.h"
#include "platform/DesktopFonts.h"
#include "platform/MessageSink.h"
#include "platform/ResourceModule.h"
#include "scores/Statistics.h"
#include "scores/TEnter2HSC.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

namespace {

struct ButtonDesign
{
    const char *name;
    int x;
    bool toggle;
    const char *hint;
};

constexpr ButtonDesign toolbar[] = {
    {"NewGame", 3, false, "Start new game (F2)"},   {"Pause", 28, true, "Pause/Resume game (F4)"},
    {"Options", 53, true, "Game options (F3)"},     {"Stats", 78, true, "Game statistics (F5)"},
    {"About", 103, true, "About Brindlewick"},      {"Help", 128, false, "Game Help (F1)"},
};

enum ButtonIndex { NewGameButton, PauseButton, OptionsButton, StatsButton, AboutButton, HelpButton };

} // namespace

TForm1::TForm1(const Environment &environment, TextTable &texts, const ResourceModule &programResources,
               QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_environment(environment), m_texts(texts)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tolvane: Kelvor"));
    setProperty("helpContext", 2);
    setFont(DesktopFonts::sansSerif(11));
    setFixedSize(ClientWidth, ClientHeight);
    setFocusPolicy(Qt::StrongFocus);

    createToolbar();

    m_statusBar = new StatusBar(this);
    m_statusBar->setGeometry(0, ClientHeight - 16, ClientWidth, 16);
    m_statusBar->setProperty("helpContext", 3);
    m_statusBar->setWidthsFor(width());

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    move(0, 0);

    createTiles();
    m_selectedMark = programResources.bitmap(QStringLiteral("selected")).convertToFormat(QImage::Format_RGB32);
    m_game.setObserver(this);
    m_game.setPhase(GamePhase::Stopped);

    m_boardBackground = QImage(ClientWidth, ClientHeight, QImage::Format_RGB16);
    m_boardBackground.fill(Qt::black);
}

TForm1::~TForm1()
{
    m_game.setObserver(nullptr);
}

void TForm1::createToolbar()
{
    m_panel1 = new QFrame(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel1->setLineWidth(1);
    m_panel1->setAutoFillBackground(true);
    m_panel1->setGeometry(0, 0, ClientWidth, 30);
    m_panel1->setProperty("helpContext", 3);

    for (int i = 0; i < 6; ++i) {
        const ButtonDesign &design = toolbar[i];
        auto *button = new SpeedButton(QString::fromLatin1(design.name), design.toggle, m_panel1);
        button->setGeometry(design.x, 3, 24, 24);
        button->setToolTip(QString::fromLatin1(design.hint));
        m_buttons[i] = button;
    }
    connect(m_buttons[NewGameButton], &QAbstractButton::clicked, this, &TForm1::NewGameClick);
    connect(m_buttons[PauseButton], &QAbstractButton::clicked, this, &TForm1::PauseClick);
    connect(m_buttons[OptionsButton], &QAbstractButton::clicked, this, &TForm1::OptionsClick);
    connect(m_buttons[StatsButton], &QAbstractButton::clicked, this, &TForm1::StatsClick);
    connect(m_buttons[AboutButton], &QAbstractButton::clicked, this, &TForm1::AboutClick);
    connect(m_buttons[HelpButton], &QAbstractButton::clicked, this, &TForm1::HelpClick);
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

SpeedButton *TForm1::button(const QString &name) const
{
    for (SpeedButton *button : m_buttons)
        if (button->objectName() == name)
            return button;
    return nullptr;
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
    m_skin = skin;
    m_backName = backName;
    // Pictures from another skin or back must be loaded afresh.
    m_shown.fill({});
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

// ---------------------------------------------------------------------------
// Pictures of the tiles

QImage TForm1::loadBitmap(const QString &name) const
{
    QImage image = m_skin ? m_skin->bitmap(name) : QImage();
    if (image.isNull() && m_environment.messages)
        m_environment.messages->showError(QStringLiteral("Resource %1 not found").arg(name));
    return image;
}

void TForm1::loadTilePicture(SlotNumber s, TilePicture picture)
{
    const DominoId domino = m_game.slotDomino(s);
    Shown &shown = m_shown[s - 1];
    if (shown.picture == picture && (picture == TilePicture::Back || shown.domino == domino))
        return;
    QImage image;
    if (picture == TilePicture::Back) {
        image = loadBitmap(m_backName);
    } else if (picture != TilePicture::None) {
        image = loadBitmap(QString::fromLatin1(DominoSet::bitmapName(domino)));
        if (picture == TilePicture::MarkedFace && !image.isNull()) {
            // The mark is combined with the face by AND: its black squares
            // darken every other pixel, its white squares leave the face.
            image = image.convertToFormat(QImage::Format_RGB32);
            const int rows = qMin(image.height(), m_selectedMark.height());
            const int columns = qMin(image.width(), m_selectedMark.width());
            for (int y = 0; y < rows; ++y) {
                auto *face = reinterpret_cast<QRgb *>(image.scanLine(y));
                const auto *mark = reinterpret_cast<const QRgb *>(m_selectedMark.constScanLine(y));
                for (int x = 0; x < columns; ++x)
                    face[x] &= mark[x];
            }
        }
    }
    if (image.isNull() && picture != TilePicture::None)
        return; // the tile keeps what it showed
    shown = {picture, domino};
    m_tiles[s - 1]->setPicture(image);
}

void TForm1::tileChanged(SlotNumber s)
{
    const TileState &state = m_game.tile(s);
    TileImage *tile = m_tiles[s - 1];
    if (state.visible)
        loadTilePicture(s, state.picture);
    tile->setEnabled(state.enabled);
    tile->setToolTip(state.showHint ? QString::number(m_game.pipTotalAt(s)) : QString());
    tile->setVisible(state.visible);
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
    m_buttons[PauseButton]->setDown(false);
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
    SpeedButton *pause = m_buttons[PauseButton];
    if (m_dealing) {
        // The deal lets messages through; a pause would hide a board that
        // is still being laid out.
        pause->setDown(false);
        return;
    }
    if (m_game.phase() == GamePhase::Running) {
        m_game.hideBoard();
        m_timer1->stop();
        setStatusText(MessagePanel, m_texts.variable(TextTable::Pause));
        m_game.setPhase(GamePhase::Paused);
        pause->setDown(true);
    } else if (m_game.phase() == GamePhase::Paused) {
        m_game.showHiddenTiles();
        m_game.setPhase(GamePhase::Running);
        m_timer1->start();
        setStatusText(MessagePanel, m_texts.variable(TextTable::LetsPlay));
        pause->setDown(false);
    }
    if (m_game.phase() == GamePhase::Stopped)
        pause->setDown(false);
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

void TForm1::minimizeProgram()
{
    // All the program's windows go with the main window. A modal dialog is
    // minimized, not hidden: hiding it would end it as if the player had
    // closed it. The others are hidden, as tool windows cannot minimize.
    m_windowsSetAside.clear();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window == this || !window->isVisible())
            continue;
        const bool modal = window->isModal();
        m_windowsSetAside.append({window, !modal});
        if (modal)
            window->setWindowState(window->windowState() | Qt::WindowMinimized);
        else
            window->hide();
    }
    Minimize();
}

void TForm1::restoreProgram()
{
    QWidget *modal = nullptr;
    for (const SetAside &aside : std::as_const(m_windowsSetAside)) {
        if (!aside.window)
            continue;
        if (aside.hidden) {
            aside.window->show();
        } else {
            aside.window->setWindowState(aside.window->windowState() & ~Qt::WindowMinimized);
            modal = aside.window;
        }
    }
    m_windowsSetAside.clear();
    if (modal)
        modal->activateWindow();
    else
        activateWindow();
    Restore();
}

void TForm1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const bool minimized = windowState() & Qt::WindowMinimized;
        if (minimized && !m_minimized) {
            m_minimized = true;
            minimizeProgram();
        } else if (!minimized && m_minimized) {
            m_minimized = false;
            restoreProgram();
        }
    }
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------
// The other buttons

void TForm1::OptionsClick()
{
    SpeedButton *options = m_buttons[OptionsButton];
    if (m_dealing) {
        options->setDown(false);
        return;
    }
    options->setDown(true);
    if (m_setupDialog)
        m_setupDialog->exec();
    options->setDown(false);
}

void TForm1::StatsClick()
{
    SpeedButton *stats = m_buttons[StatsButton];
    if (m_statisticsWindow && m_statisticsWindow->isVisible()) {
        m_statisticsWindow->close();
        stats->setDown(false);
    } else if (m_statisticsWindow) {
        m_statisticsWindow->show();
        stats->setDown(true);
    } else {
        stats->setDown(false);
    }
    show();
    raise();
    activateWindow();
}

void TForm1::AboutClick()
{
    SpeedButton *about = m_buttons[AboutButton];
    if (m_dealing) {
        about->setDown(false);
        return;
    }
    about->setDown(true);
    if (m_aboutWindow)
        m_aboutWindow->exec();
    about->setDown(false);
}

void TForm1::HelpClick()
{
    // The program has no help file to open yet: the button only springs back.
}

// ---------------------------------------------------------------------------
// Keys, painting, closing

void TForm1::keyReleaseEvent(QKeyEvent *event)
{
    // Keys act on release, so a key held down acts once.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    switch (event->key()) {
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
    event->accept();
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
