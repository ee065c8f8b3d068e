// The help window with help files of a test's own: the way about in it
// (back, forward, contents, Esc), a change of language while it is open,
// and what a help file may make it read or open.

#include "language/TextTable.h"
#include "language/windows/LanguageLoader.h"
#include "platform/ProfileFile.h"
#include "shell/HelpBrowser.h"
#include "shell/HelpWindow.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// A help file of three topics, each a screen long, in the given language.
QByteArray helpFile(const char *title, const QByteArray &extra = {})
{
    QByteArray filler;
    for (int i = 0; i < 60; ++i)
        filler += "<p>Line " + QByteArray::number(i) + "</p>\n";
    return "<html><head><title>" + QByteArray(title) + "</title></head><body>\n"
           "<h1><a name=\"contents\"></a>" + title + "</h1>\n<p><a href=\"#2\">Main</a></p>\n" + extra + filler
           + "<h2><a name=\"2\"></a>" + title + " main window</h2>\n" + filler
           + "<h2><a name=\"5\"></a>" + title + " statistics</h2>\n" + filler + "</body></html>\n";
}

void pressKey(QWidget *widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(widget, Qt::Key(key), modifiers);
}

} // namespace

class ShellHelpTest : public QObject
{
    Q_OBJECT

    struct Help
    {
        QTemporaryDir folder;
        TextTable texts;
        LanguageLoader language{folder.path(), texts};
        std::vector<QUrl> opened;
        HelpWindow window{language, nullptr, [this](const QUrl &url) { opened.push_back(url); }};

        explicit Help(const QByteArray &english = helpFile("Help"))
        {
            QDir(folder.path()).mkdir(QStringLiteral("LNG"));
            write(QStringLiteral("LNG/Tolvane_eng.hlp"), english);
            language.loadLanguage(QStringLiteral("english"), {});
        }
        QString path(const QString &name) const { return folder.path() + u'/' + name; }
        void write(const QString &name, const QByteArray &bytes) const { writeFileBytes(path(name), bytes); }
        QString text() const { return window.browser()->toPlainText(); }
    };

private slots:
    void backForwardContentsAndEsc()
    {
        Help help;
        help.window.showTopic(2);
        QCOMPARE(help.window.windowTitle(), QStringLiteral("Help - Help main window"));
        QVERIFY(!help.window.backAction()->isEnabled());
        help.window.contentsAction()->trigger();
        QCOMPARE(help.window.topic(), QStringLiteral("contents"));
        QCOMPARE(help.window.contentsAction()->text(), QStringLiteral("Help"));
        help.window.backAction()->trigger();
        QCOMPARE(help.window.topic(), QStringLiteral("2"));
        QCOMPARE(help.window.windowTitle(), QStringLiteral("Help - Help main window"));
        help.window.forwardAction()->trigger();
        QCOMPARE(help.window.topic(), QStringLiteral("contents"));

        QVERIFY(QTest::qWaitForWindowExposed(&help.window));
        help.window.activateWindow();
        pressKey(help.window.browser(), Qt::Key_Escape);
        QVERIFY(!help.window.isVisible());
    }

    void noSidewaysScrollingAtItsSize_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("long listing and table")
            << helpFile("Help", "<pre>" + QByteArray(30, 'w') + ' ' + QByteArray(60, 'w') + "</pre>\n"
                                "<table border=\"1\"><tr><td>" + QByteArray(40, 'a') + "</td><td>"
                                + QByteArray("a long cell ").repeated(12) + "</td></tr></table>");
        for (const char *name : {"Tolvane_eng.hlp", "Tolvane_deu.hlp", "Tolvane_fra.hlp"})
            QTest::newRow(name) << readFileBytes(QStringLiteral(KELVOR_LNG_DIR "/") + QLatin1String(name));
    }

    void noSidewaysScrollingAtItsSize()
    {
        QFETCH(QByteArray, file);
        QVERIFY(!file.isEmpty());
        Help help(file);
        help.window.showContents();
        QVERIFY(QTest::qWaitForWindowExposed(&help.window));
        QCOMPARE(help.window.browser()->horizontalScrollBar()->maximum(), 0);
    }

    void followsALanguageChange()
    {
        Help help;
        help.write(QStringLiteral("LNG/deutsch.lng"), "[Variables]\n8=deu");
        help.write(QStringLiteral("LNG/Tolvane_deu.hlp"), helpFile("Hilfe"));
        help.window.showTopic(5);
        help.language.loadLanguage(QStringLiteral("deutsch"), {});
        QCOMPARE(help.window.topic(), QStringLiteral("5"));
        QCOMPARE(help.window.windowTitle(), QStringLiteral("Hilfe - Hilfe statistics"));
        QVERIFY(help.text().contains(QLatin1String("Hilfe main window")));

        // A language without help takes the window away, without a word.
        help.write(QStringLiteral("LNG/nohelp.lng"), "[Variables]\n8=none");
        help.language.loadLanguage(QStringLiteral("nohelp"), {});
        QVERIFY(!help.window.isVisible());
    }

    void linkLeadsWhereItMay_data()
    {
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("opened");
        QTest::newRow("a topic") << "#5" << "5" << "";
        QTest::newRow("web page") << "https://example.com/kelvor" << "contents" << "https://example.com/kelvor";
        QTest::newRow("mail") << "mailto:help@example.com" << "contents" << "mailto:help@example.com";
        QTest::newRow("file elsewhere") << "file://%1/outside.html" << "contents" << "";
        QTest::newRow("file beside it") << "beside.html" << "contents" << "";
        QTest::newRow("other scheme") << "ftp://example.com/x" << "contents" << "";
    }

    void linkLeadsWhereItMay()
    {
        QFETCH(QString, href);
        QFETCH(QString, topic);
        QFETCH(QString, opened);
        QTemporaryDir elsewhere;
        writeFileBytes(elsewhere.filePath(QStringLiteral("outside.html")), "<p>OUTSIDE</p>");
        const QByteArray link = "<a href=\"" + QString(href).replace(QLatin1String("%1"), elsewhere.path()).toUtf8() + "\">go</a>";
        Help help("<html><body><h1><a name=\"contents\"></a>Help</h1><p>" + link + "</p>"
                  "<h2><a name=\"5\"></a>Five</h2></body></html>");
        help.write(QStringLiteral("LNG/beside.html"), "<p>BESIDE</p>");
        help.window.showContents();
        QVERIFY(QTest::qWaitForWindowExposed(&help.window));
        // The player tabs to the one link and presses Enter.
        QTextBrowser *browser = help.window.browser();
        browser->setFocus();
        pressKey(browser, Qt::Key_Tab);
        pressKey(browser, Qt::Key_Return);
        QCOMPARE(help.window.topic(), topic);
        QVERIFY(!help.text().contains(QLatin1String("OUTSIDE")) && !help.text().contains(QLatin1String("BESIDE")));
        QCOMPARE(help.opened.empty() ? QString() : help.opened.front().toString(), opened);
    }

    void aPictureOnAFifoHoldsNothingUp()
    {
        QTemporaryDir elsewhere;
        const QByteArray fifo = QFile::encodeName(elsewhere.filePath(QStringLiteral("fifo")));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        // Anything that opens the FIFO to read is let go at once and
        // counted, so the fault shows as a failure rather than a hang.
        std::atomic<bool> stop = false;
        std::atomic<bool> fifoOpened = false;
        std::thread watch([&] {
            while (!stop) {
                const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    fifoOpened = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
        Help help(helpFile("Help", "<img src=\"file://" + fifo + "\">"));
        help.window.showTopic(2);
        QApplication::processEvents();
        stop = true;
        watch.join();
        QVERIFY(!fifoOpened);
        QCOMPARE(help.window.topic(), QStringLiteral("2"));
    }

    void readsRegularFilesOfItsFolderOnly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("read");
        QTest::newRow("beside the help file") << "LNG/pic.png" << true;
        QTest::newRow("a folder further") << "LNG/sub/pic.png" << false;
        QTest::newRow("the game folder") << "pic.png" << false;
        QTest::newRow("a link out of the folder") << "LNG/link.png" << false;
        QTest::newRow("a FIFO") << "LNG/fifo.png" << false;
        QTest::newRow("over the size limit") << "LNG/big.png" << false;
    }

    void readsRegularFilesOfItsFolderOnly()
    {
        QFETCH(QString, name);
        QFETCH(bool, read);
        Help help;
        QDir(help.folder.path()).mkpath(QStringLiteral("LNG/sub"));
        for (const char *picture : {"LNG/pic.png", "LNG/sub/pic.png", "pic.png"})
            help.write(QString::fromLatin1(picture), "picture");
        QVERIFY(QFile::link(help.path(QStringLiteral("pic.png")), help.path(QStringLiteral("LNG/link.png"))));
        QCOMPARE(::mkfifo(QFile::encodeName(help.path(QStringLiteral("LNG/fifo.png"))).constData(), 0600), 0);
        help.write(QStringLiteral("LNG/big.png"), QByteArray(ProfileFile::MaxFileSize + 1, 'x'));
        const QString helpFile = help.path(QStringLiteral("LNG/Tolvane_eng.hlp"));
        const QByteArray relative = HelpBrowser::readHelpResource(helpFile, QUrl(QStringLiteral("../") + name));
        const QByteArray absolute = HelpBrowser::readHelpResource(helpFile, QUrl::fromLocalFile(help.path(name)));
        QCOMPARE(relative, read ? QByteArray("picture") : QByteArray());
        QCOMPARE(absolute, relative);
    }
};

QTEST_MAIN(ShellHelpTest)
#include "tst_shell_help.moc"
