#include "HelpWindow.h"

#include "language/LanguageLoader.h"
#include "platform/MessageSink.h"

#include <QApplication>
#include <QDateTime>
#include <QScrollBar>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const LanguageLoader &language, MessageSink *messages)
    : QWidget(nullptr, Qt::Window), m_language(language), m_messages(messages), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    resize(560, 620);
    m_browser->setObjectName(QStringLiteral("HelpText"));
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    qApp->installEventFilter(this);
}

HelpWindow::~HelpWindow()
{
    qApp->removeEventFilter(this);
}

int HelpWindow::helpContextOf(const QWidget *widget)
{
    for (; widget; widget = widget->parentWidget()) {
        const int context = widget->property("helpContext").toInt();
        if (context > 0)
            return context;
        // A window's topic is its own: a dialog does not take the one of
        // the window it stands over.
        if (widget->isWindow())
            break;
    }
    return 0;
}

void HelpWindow::showContents()
{
    open(QString::fromLatin1(ContentsAnchor));
}

void HelpWindow::showTopic(int helpContext)
{
    open(helpContext > 0 ? QString::number(helpContext) : QString::fromLatin1(ContentsAnchor));
}

void HelpWindow::open(const QString &anchor)
{
    const QString file = m_language.findHelpFile();
    if (file.isEmpty()) {
        if (m_messages)
            m_messages->helpFileNotFound(m_language.helpFile());
        return;
    }
    // A file that changed on disk (another language, a translator's edit)
    // is read afresh.
    const QString stamp = file + QFileInfo(file).lastModified().toString(Qt::ISODateWithMs);
    if (stamp != m_shownFile) {
        m_browser->clearHistory();
        m_browser->setSource(QUrl(), QTextDocument::HtmlResource);
        m_browser->setSource(QUrl::fromLocalFile(file), QTextDocument::HtmlResource);
        m_shownFile = stamp;
    }
    m_topic = anchor;
    if (anchor == QLatin1String(ContentsAnchor))
        m_browser->verticalScrollBar()->setValue(0);
    m_browser->scrollToAnchor(anchor);

    const QString title = m_browser->documentTitle();
    const QString heading = headingAt(anchor);
    setWindowTitle(heading.isEmpty() || heading == title ? title : title + QStringLiteral(" - ") + heading);

    // Over a modal dialog the window must belong to that dialog, or the
    // dialog would keep the player from scrolling and clicking in it.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == this)
        modal = nullptr;
    if (modal != parentWidget()) {
        if (m_modal)
            m_modal->removeEventFilter(this);
        setParent(modal, Qt::Window);
        m_modal = modal;
        if (modal)
            modal->installEventFilter(this);
    }
    show();
    raise();
    activateWindow();
}

QString HelpWindow::headingAt(const QString &anchor) const
{
    const QTextDocument *document = m_browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().anchorNames().contains(anchor))
                return block.text().trimmed();
        }
    }
    return {};
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_modal && event->type() == QEvent::Hide) {
        // The dialog closes: the help stays, as a window of its own again.
        m_modal->removeEventFilter(this);
        m_modal = nullptr;
        const bool shown = isVisible();
        setParent(nullptr, Qt::Window);
        if (shown)
            show();
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier && !key->isAutoRepeat()) {
            // The key reaches the window's handle first, then the window's
            // focused control, or the window itself when none has the focus
            // (the about window has no control that takes it): it is
            // answered there. A focus left behind in another window, one
            // that has closed, does not count.
            QWidget *focused = qobject_cast<QWidget *>(watched);
            if (!focused)
                return false;
            QWidget *focus = QApplication::focusWidget();
            if (focus && focus->window() == focused->window())
                focused = focus;
            if (focused && focused->window() == this)
                return false;
            showTopic(helpContextOf(focused));
            return true;
        }
    }
    return false;
}
