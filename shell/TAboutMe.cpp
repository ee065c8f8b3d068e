#include "TAboutMe.h"

#include "ProgramVersion.h"
#include "language/TextTable.h"
#include "language/windows/HelpTopic.h"
#include "platform/DesktopFonts.h"
#include "resources/ProgramResources.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QUrlQuery>

namespace {

const QString webAddress = QStringLiteral("www.brindlewick.example.com");
const QString mailAddress = QStringLiteral("support@brindlewick.example.com");
// The links' two looks: pure blue, and pure red underlined under the mouse.
const QColor linkColour(0, 0, 255);
const QColor hotLinkColour(255, 0, 0);

} // namespace

TAboutMe::TAboutMe(std::function<void(const QUrl &)> openUrl, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_openUrl(std::move(openUrl))
{
    setObjectName(QStringLiteral("AboutMe"));
    setWindowTitle(QStringLiteral("About 'Tolvane...'"));
    HelpTopics::set(this, HelpTopic::About);
    setFont(DesktopFonts::sansSerif(11));
    setFixedSize(ClientWidth, ClientHeight);
    setModal(true);

    // Above the group box: the family's logo, the game's name and version.
    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Logo"));
    logo->setGeometry(69, 20, 190, 90);
    logo->setPixmap(QPixmap::fromImage(ProgramResources::logo(devicePixelRatioF())));
    QLabel *title = addLabel(this, "Label1", {0, 124, ClientWidth, 24}, QStringLiteral("Tolvane: Kelvor"));
    title->setFont(DesktopFonts::sansSerif(20, true));
    addLabel(this, "Label2", {0, 152, ClientWidth, 30},
             QStringLiteral("Version %1\nA domino solitaire: pairs that make twelve").arg(QLatin1String(ProgramVersion)));

    // A single "&" would mark a shortcut key; doubled, it shows as one.
    m_groupBox3 = new QGroupBox(QStringLiteral("About 'Tolvane...' && Brindlewick"), this);
    m_groupBox3->setObjectName(QStringLiteral("GroupBox3"));
    m_groupBox3->setGeometry(6, 192, 316, 177);

    addLabel(m_groupBox3, "Label3", {8, 16, 297, 26},
             QStringLiteral("Visit our home page for new games of the family,\nnew skins and new languages:"));
    m_label4 = addLabel(m_groupBox3, "Label4", {8, 47, 297, 20}, webAddress);
    m_label4->setToolTip(QStringLiteral("Visit Brindlewick Home page"));
    addLabel(m_groupBox3, "Label5", {8, 72, 297, 52},
             QStringLiteral("Would You like another domino game, or this one\nin Your own language? Write to us: we are glad\n"
                            "to hear of new games and we welcome every\ntranslator of the 'Tolvane...' games:"));
    m_label7 = addLabel(m_groupBox3, "Label7", {8, 126, 297, 20}, mailAddress);
    m_label7->setToolTip(QStringLiteral("Contact Brindlewick"));
    addLabel(m_groupBox3, "Label6", {8, 150, 297, 13},
             QStringLiteral("P.S.: If You've found a bug please contact US too."));
    for (QLabel *link : {m_label4, m_label7}) {
        link->setFont(DesktopFonts::sansSerif(16));
        link->setCursor(Qt::PointingHandCursor);
        highlight(link, false);
    }
    addLabel(this, "Label8", {0, 382, ClientWidth, 13}, QStringLiteral("Brindlewick, makers of the 'Tolvane...' games "),
             Qt::AlignRight);

    // The highlight follows the mouse inside the group box only.
    m_groupBox3->setMouseTracking(true);
    m_groupBox3->installEventFilter(this);
    TextTable::setTag(this, TextTable::FixedTextTag);
    TextTable::setTag(m_groupBox3, TextTable::FixedTextTag);
    TextTable::setTag(logo, TextTable::FixedTextTag);
}

QLabel *TAboutMe::addLabel(QWidget *parent, const char *name, QRect place, const QString &text,
                           Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setMouseTracking(true);
    label->installEventFilter(this);
    TextTable::setTag(label, TextTable::FixedTextTag);
    return label;
}

QLabel *TAboutMe::label(const QString &name) const
{
    return findChild<QLabel *>(name);
}

QUrl TAboutMe::webPage()
{
    return QUrl(QStringLiteral("http://") + webAddress + QLatin1Char('/'));
}

QUrl TAboutMe::supportMail()
{
    QUrl url(QStringLiteral("mailto:") + mailAddress);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Tech support"));
    url.setQuery(query);
    return url;
}

void TAboutMe::highlight(QLabel *link, bool on)
{
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, on ? hotLinkColour : linkColour);
    link->setPalette(palette);
    QFont font = link->font();
    font.setUnderline(on);
    link->setFont(font);
}

void TAboutMe::Label4MouseMove()
{
    highlight(m_label4, true);
}

void TAboutMe::Label7MouseMove()
{
    highlight(m_label7, true);
}

void TAboutMe::resetLinks()
{
    highlight(m_label4, false);
    highlight(m_label7, false);
}

void TAboutMe::Label4Click()
{
    // What the desktop answers is not examined: with no browser set up the
    // window simply stays open.
    if (m_openUrl)
        m_openUrl(webPage());
}

void TAboutMe::Label7Click()
{
    if (m_openUrl)
        m_openUrl(supportMail());
}

bool TAboutMe::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_label4)
            Label4MouseMove();
        else if (watched == m_label7)
            Label7MouseMove();
        else if (watched == m_groupBox3 || watched->parent() == m_groupBox3)
            resetLinks();
        else
            return false;
        // Handled here: the move does not go on to the group box as well.
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && (watched == m_label4 || watched == m_label7)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        auto *link = static_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton && link->rect().contains(mouse->position().toPoint())) {
            if (watched == m_label4)
                Label4Click();
            else
                Label7Click();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutMe::showEvent(QShowEvent *event)
{
    m_corrections = 3;
    centreOnScreen();
    QDialog::showEvent(event);
}

void TAboutMe::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    // The window manager frames the window after it was placed, and may
    // take the place given for that of the client area: once the frame is
    // known, the frame is put where it belongs (a few times at most).
    if (m_corrections > 0 && isVisible() && frameGeometry() != geometry()) {
        --m_corrections;
        centreOnScreen();
    }
}

QMargins TAboutMe::frameMargins(const QWidget &window)
{
    const QRect outer = window.frameGeometry(), inner = window.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void TAboutMe::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Once framed, a window's position is that of its frame. Before the
    // window manager has framed it, the position given is that of the
    // client area, and the frame is taken to be as thick as that of a
    // window of the game's that is framed already.
    const bool framed = frameGeometry() != geometry();
    QMargins frame = frameMargins(*this);
    if (!framed) {
        for (const QWidget *window : QApplication::topLevelWidgets())
            if (window != this && window->isVisible() && window->frameGeometry() != window->geometry()) {
                frame = frameMargins(*window);
                break;
            }
    }
    const QSize outer = size().grownBy(frame);
    const QRect area = screen->geometry();
    const QPoint corner(area.left() + (area.width() - outer.width()) / 2,
                        area.top() + (area.height() - outer.height()) / 2);
    if (framed && frameGeometry().topLeft() == corner) {
        m_corrections = 0;
        return;
    }
    move(framed ? corner : corner + QPoint(frame.left(), frame.top()));
}

void TAboutMe::done(int result)
{
    QDialog::done(result);
    emit closed();
}
