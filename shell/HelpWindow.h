#pragma once

#include <QPointer>
#include <QWidget>

class LanguageLoader;
class MessageSink;
class QTextBrowser;

// The program's help: the help file of the current language (HTML, its
// topics anchored by the help contexts of the windows: <a name="2">) shown
// in a window of its own beside the game. The help button opens its
// contents; F1 anywhere in the program opens the topic of the focused
// control or window: the nearest "helpContext" up its parent chain.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    // The anchor of the table of contents.
    static constexpr const char *ContentsAnchor = "contents";

    HelpWindow(const LanguageLoader &language, MessageSink *messages);
    ~HelpWindow() override;

    void showContents();
    void showTopic(int helpContext);

    // The help context of a widget: its own "helpContext" property or that
    // of its nearest parent in its window that has one; 0 when none has.
    static int helpContextOf(const QWidget *widget);

    // The topic shown now ("2", "contents").
    QString topic() const { return m_topic; }
    QTextBrowser *browser() const { return m_browser; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void open(const QString &anchor);
    QString headingAt(const QString &anchor) const;

    const LanguageLoader &m_language;
    MessageSink *m_messages;
    QTextBrowser *m_browser;
    QString m_shownFile;
    QString m_topic;
    // The modal dialog the window stands over while that dialog is open.
    QPointer<QWidget> m_modal;
};
