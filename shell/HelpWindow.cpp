#include "HelpWindow.h"

#include "HelpBrowser.h"
#include "language/windows/HelpTopic.h"
#include "language/windows/LanguageLoader.h"
#include "platform/MessageSink.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const LanguageLoader &language, MessageSink *messages,
                       std::function<void(const QUrl &)> openUrl)
    : QWidget(nullptr, Qt::Window), m_language(language), m_messages(messages),
      m_browser(new HelpBrowser(std::move(openUrl), this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    resize(560, 620);
    m_browser->setObjectName(QStringLiteral("HelpText"));

    // Pictures and key names only: the help file gives the words.
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("HelpBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto icon = [this](const QString &name, QStyle::StandardPixmap standard) {
        return QIcon::fromTheme(name, style()->standardIcon(standard));
    };
    m_back = bar->addAction(icon(QStringLiteral("go-previous"), QStyle::SP_ArrowBack), QString(), m_browser,
                            &QTextBrowser::backward);
    m_back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    m_forward = bar->addAction(icon(QStringLiteral("go-next"), QStyle::SP_ArrowForward), QString(), m_browser,
                               &QTextBrowser::forward);
    m_forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    m_contents = bar->addAction(icon(QStringLiteral("go-home"), QStyle::SP_DirHomeIcon), QString(), this,
                                &HelpWindow::showContents);
    m_contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    for (QAction *action : {m_back, m_forward, m_contents})
        action->setToolTip(action->shortcut().toString(QKeySequence::NativeText));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::topicShown);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    connect(&language, &LanguageLoader::languageLoaded, this, &HelpWindow::followLanguage);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_browser);
    qApp->installEventFilter(this);
}

HelpWindow::~HelpWindow()
{
    qApp->removeEventFilter(this);
}

QTextBrowser *HelpWindow::browser() const
{
    return m_browser;
}

int HelpWindow::helpContextOf(const QWidget *widget)
{
    for (; widget; widget = widget->parentWidget()) {
        const int context = int(HelpTopics::of(widget));
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

bool HelpWindow::load(QString anchor)
{
    const QString file = m_language.findHelpFile();
    if (file.isEmpty())
        return false;
    m_browser->showTopic(file, anchor);
    if (anchor == QLatin1String(ContentsAnchor))
        m_browser->verticalScrollBar()->setValue(0);
    topicShown(m_browser->source());
    return true;
}

void HelpWindow::open(const QString &anchor)
{
    if (!load(anchor)) {
        if (m_messages)
            m_messages->helpFileNotFound(m_language.helpFile());
        return;
    }

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

void HelpWindow::followLanguage()
{
    // Open, the window changes with the language; a language without help
    // takes the window away, since the player asked for none.
    if (isVisible() && !load(m_topic))
        hide();
}

void HelpWindow::topicShown(const QUrl &url)
{
    m_topic = url.fragment();
    if (m_topic.isEmpty())
        m_topic = QString::fromLatin1(ContentsAnchor);
    const QString title = m_browser->documentTitle();
    const QString heading = headingAt(m_topic);
    setWindowTitle(heading.isEmpty() || heading == title ? title : title + QStringLiteral(" - ") + heading);
    m_contents->setText(headingAt(QString::fromLatin1(ContentsAnchor)));
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
