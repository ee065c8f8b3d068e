#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <functional>

class HelpBrowser;
class LanguageLoader;
class MessageSink;
class QAction;
class QTextBrowser;

// The program's help: the help file of the current language (HTML, its
// topics anchored by the help contexts of the windows: <a name="2">) shown
// in a window of its own beside the game. The help button opens its
// contents; F1 anywhere in the program opens the topic of the focused
// control or window: the nearest "helpContext" up its parent chain. Above
// the text stand back, forward and the contents (Alt+Left, Alt+Right,
// Alt+Home); Esc closes the window. When the language changes, an open help
// window shows the same topic in the new language's help.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    // The anchor of the table of contents.
    static constexpr const char *ContentsAnchor = "contents";

    // Web and mail links of the help go to `openUrl`, the desktop's shell.
    HelpWindow(const LanguageLoader &language, MessageSink *messages,
               std::function<void(const QUrl &)> openUrl = {});
    ~HelpWindow() override;

    void showContents();
    void showTopic(int helpContext);

    // The help context of a widget: its own "helpContext" property or that
    // of its nearest parent in its window that has one; 0 when none has.
    static int helpContextOf(const QWidget *widget);

    // The topic shown now ("2", "contents").
    QString topic() const { return m_topic; }
    QTextBrowser *browser() const;
    // Back, forward and the contents, as the window's buttons hold them.
    QAction *backAction() const { return m_back; }
    QAction *forwardAction() const { return m_forward; }
    QAction *contentsAction() const { return m_contents; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void open(const QString &anchor);
    // Shows the topic in the current language's help file; false when the
    // language has no help file.
    // (A copy: showing a topic changes m_topic, which may be the anchor.)
    bool load(QString anchor);
    void followLanguage();
    void topicShown(const QUrl &url);
    QString headingAt(const QString &anchor) const;

    const LanguageLoader &m_language;
    MessageSink *m_messages;
    HelpBrowser *m_browser;
    QAction *m_back;
    QAction *m_forward;
    QAction *m_contents;
    QString m_topic;
    // The modal dialog the window stands over while that dialog is open.
    QPointer<QWidget> m_modal;
};
