#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <functional>

// The text of the help window: one help file of the folder "LNG" and what
// it shows from that folder. A help file is a file players bring, so it
// reads nothing but regular files of the help file's own folder, up to the
// size the game reads of a file: a picture named by a link to a FIFO, a
// device or a file elsewhere shows as a missing picture, and never holds up
// the game. Of the links the player clicks, those to a topic of the help
// file go there, web and mail links go to the desktop's browser or mail
// program, and every other link does nothing.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HelpBrowser(std::function<void(const QUrl &)> openUrl, QWidget *parent = nullptr);

    // Shows the topic of that anchor in the help file, reading the file
    // when it is not the one shown; the topic goes into the history.
    void showTopic(const QString &helpFile, const QString &anchor);
    // Forgets the file shown, so that the next showTopic() reads it again.
    void forgetFile();

    // The bytes of a file for the help file `helpFile`: a regular file in
    // the help file's own folder of at most the game's size limit; null for
    // any other.
    static QByteArray readHelpResource(const QString &helpFile, const QUrl &url);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    void followLink(const QUrl &link);

    std::function<void(const QUrl &)> m_openUrl;
    QString m_helpFile; // the file shown
    QString m_stamp;    // the file shown and its time of change, as read
};
