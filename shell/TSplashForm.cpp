#include "TSplashForm.h"

#include "language/TextTable.h"
#include "language/windows/HelpTopic.h"
#include "platform/DesktopFonts.h"
#include "resources/ProgramResources.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

struct LabelDesign
{
    const char *name;
    QRect place;
    int pixelHeight;
    QColor colour;
};

const LabelDesign infoDesign{"Info", {0, 90, 190, 16}, 13, QColor(0, 255, 0)};
const LabelDesign versionDesign{"VerLabel", {0, 106, 190, 13}, 11, QColor(255, 255, 0)};

QLabel *addLabel(QWidget *parent, const LabelDesign &design)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(design.name));
    label->setGeometry(design.place);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFont(DesktopFonts::sansSerif(design.pixelHeight, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, design.colour);
    label->setPalette(palette);
    TextTable::setTag(label, TextTable::FixedTextTag);
    return label;
}

} // namespace

TSplashForm::TSplashForm(const QString &title, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(title);
    HelpTopics::set(this, HelpTopic::Start);
    TextTable::setTag(this, TextTable::FixedTextTag);
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);

    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("Logo"));
    m_logo->setGeometry(0, 0, ClientWidth, 90);
    m_logo->setAlignment(Qt::AlignCenter);
    m_logo->setPixmap(QPixmap::fromImage(ProgramResources::logo(devicePixelRatioF())));
    m_logo->setToolTip(QStringLiteral("Wait..."));
    TextTable::setTag(m_logo, TextTable::FixedTextTag);

    m_info = addLabel(this, infoDesign);
    m_verLabel = addLabel(this, versionDesign);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(100);
    m_timer1->setSingleShot(true);
    connect(m_timer1, &QTimer::timeout, this, &TSplashForm::Timer1Timer);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(centredOn(screen->geometry()));
    m_timer1->start();
}

QPoint TSplashForm::centredOn(const QRect &screen)
{
    return {screen.left() + (screen.width() - ClientWidth) / 2, screen.top() + (screen.height() - ClientHeight) / 2};
}

void TSplashForm::showStep(const QString &text)
{
    m_info->setText(text);
    if (!isVisible())
        return;
    waitUntilOnScreen();
    // Painted now, not when the message loop next runs.
    repaint();
}

void TSplashForm::waitUntilOnScreen()
{
    // Under a window manager the window is mapped a while after show(), and
    // a repaint before its first expose paints nothing: the start-up's
    // blocking waits would leave it blank. The player's input waits
    // meanwhile. A display that never exposes it holds the start-up up
    // once, for a moment, not at every step.
    constexpr int LongestWait = 1000;
    if (m_waitedForScreen)
        return;
    m_waitedForScreen = true;
    const auto onScreen = [this] { return windowHandle() && windowHandle()->isExposed(); };
    if (onScreen())
        return;
    QElapsedTimer waited;
    waited.start();
    QEventLoop loop;
    QTimer check;
    connect(&check, &QTimer::timeout, &loop, [&] {
        if (onScreen() || waited.elapsed() >= LongestWait)
            loop.quit();
    });
    check.start(5);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void TSplashForm::Timer1Timer()
{
    m_timer1->stop();
    emit startUpDue();
}
