// The start-up behind the splash window with waits that only count: the
// windows' order of creation, the step texts painted one by one, the first
// start against a later one, and what the end of the program saves.

#include "platform/ProfileDocument.h"
#include "shell/Program.h"
#include "shell/SpeedButton.h"
#include "shell/TForm1.h"
#include "shell/TSplashForm.h"
#include "shell/WindowSystem.h"
#include "support/PackTexts.h"
#include "support/ProgramStart.h"
#include "support/SkinFixture.h"
#include "support/TestEnvironment.h"

#include <QLabel>
#include <QtTest>

namespace {

// Records, by pointer, the order in which top-level windows are first seen
// and the text of the splash window's step label at each of its paints.
class Watcher : public QObject
{
public:
    QList<const QObject *> windows;
    QStringList painted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow() && !windows.contains(watched))
            windows.append(watched);
        if (event->type() == QEvent::Paint && watched->objectName() == QLatin1String("Info")
            && watched->parent() && watched->parent()->objectName() == QLatin1String("SplashForm"))
            painted.append(static_cast<QLabel *>(watched)->text());
        return false;
    }
};

QString launchesOnFile(const QString &folder)
{
    return ProfileDocument::fromBytes(readFileBytes(folder + QStringLiteral("/Tolvane.ini")))
        .readString(QStringLiteral("Tolvane..."), QStringLiteral("Launches"), QStringLiteral("<missing>"));
}

// Shows each message as the real box does: the box runs an event loop of
// its own until the player answers, and timers go off inside it.
class BoxLikeMessages : public MessageSink
{
public:
    void showError(const QString &text) override
    {
        messages.append(text);
        QEventLoop box;
        QTimer::singleShot(150, &box, &QEventLoop::quit);
        box.exec();
    }
    QStringList messages;
};

} // namespace

class StartUpTest : public QObject
{
    Q_OBJECT

private slots:
    void windowsAreCreatedInOrderWithOnlyTheSplashShowing();
    void stepTextsArePaintedInOrderBeforeEachWait();
    void firstStartOpensTheSetup_data();
    void firstStartOpensTheSetup();
    void fileTooBigIsNamedAndKept_data();
    void fileTooBigIsNamedAndKept();
    void startsAreCountedFromOneStartToTheNext();
    void theSplashTimerStartsItOnce();
    void messagesWhileStartingHoldNothingUp_data();
    void messagesWhileStartingHoldNothingUp();
    void aSplashNeverOnScreenHoldsTheStartOnlyAMoment();
    void closingSavesSettingsThenScoresOnce();
    void endedFromOutsideNoBoxHoldsUpTheEnd();
    void endedDuringTheStartUpItGoesNoFurther();
    void aWaylandSessionGoesThroughXWayland_data();
    void aWaylandSessionGoesThroughXWayland();
};

void StartUpTest::windowsAreCreatedInOrderWithOnlyTheSplashShowing()
{
    TestEnvironment env;
    Watcher watcher;
    qApp->installEventFilter(&watcher);
    Program program(env.environment);
    qApp->removeEventFilter(&watcher);

    // The program's own windows, in the order they first appeared (pages and
    // the file dialog pass through being windows too while they are made).
    const QStringList order{"SplashForm", "Form1", "Enter2HSC", "Setup", "ScoresForm", "AboutMe"};
    QStringList names;
    for (const QObject *window : std::as_const(watcher.windows))
        if (order.contains(window->objectName()))
            names.append(window->objectName());
    QCOMPARE(names, order);
    QStringList visible;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            visible.append(window->objectName());
    QCOMPARE(visible, QStringList{"SplashForm"});
    QCOMPARE(program.splash().windowTitle(), QStringLiteral("Tolvane: Kelvor - hard"));
    // Its texts stay English whatever the language.
    QCOMPARE(textsAPackChanges(program.language(), env.folder.path(), &program.splash(),
                               {"caption", "Info.Caption", "VerLabel.Caption", "Logo.Hint"}),
             QStringList());
}

void StartUpTest::stepTextsArePaintedInOrderBeforeEachWait()
{
    TestEnvironment env;
    Watcher watcher;
    // What the splash window shows while each wait holds the program.
    QStringList shownAtWaits;
    env.environment.wait = [&](int milliseconds) {
        env.waited.push_back(milliseconds);
        shownAtWaits.append(watcher.painted.isEmpty() ? QString() : watcher.painted.last());
    };
    Program program(env.environment);
    TSplashForm &splash = program.splash();
    splash.timer()->stop(); // the test starts it
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    splash.info()->installEventFilter(&watcher);
    startPastFirstStartDialog(program);

    const QStringList steps{"Loading preferences", "Loading scores", "Changing languages"};
    watcher.painted.removeDuplicates();
    QCOMPARE(watcher.painted, steps);
    QCOMPARE(shownAtWaits, steps);
    QCOMPARE(env.waited, (std::vector<int>{700, 700, 700}));
    QVERIFY(splash.versionLabel()->text().contains(QStringLiteral("1.8")));
    QVERIFY(splash.isHidden());
    QVERIFY(program.mainWindow().isVisible());
    QCOMPARE(program.mainWindow().statusText(StatusBar::MessagePanel), QStringLiteral("Press F2 to start"));
    QCOMPARE(program.mainWindow().game().phase(), GamePhase::Stopped);
}

void StartUpTest::firstStartOpensTheSetup_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("launches");

    QTest::newRow("no settings file") << QByteArray() << 1;
    QTest::newRow("never started") << QByteArray("[Tolvane...]\r\nLaunches=0\r\n") << 1;
    QTest::newRow("second start") << QByteArray("[Tolvane...]\r\nLaunches=1\r\n") << 2;
    QTest::newRow("many starts") << QByteArray("[tolvane...]\r\nlaunches=41\r\n") << 42;
    // Told once: the first bad value of the start-up's read, not the second,
    // and not again when the setup dialog reads the file its write repaired.
    QTest::newRow("not a number") << QByteArray("[Tolvane...]\r\nLaunches=x\r\nBackColor=red\r\n") << 1;
    // A megabyte of other games' sections, as any player of a shared folder
    // can leave, is read and saved like any file.
    QByteArray many("[Tolvane...]\r\nLaunches=1\r\n");
    for (int i = 0; many.size() < 1000 * 1000; ++i)
        many += "[S" + QByteArray::number(i) + "]\r\nk=1\r\n";
    QTest::newRow("70,000 other sections") << many << 2;
}

void StartUpTest::fileTooBigIsNamedAndKept_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("settings") << QStringLiteral("Tolvane.ini");
    QTest::newRow("scores") << QStringLiteral("scores.ini");
}

// A file over the size the game reads is named with that reason once; it is
// never replaced, and a settings file there is no first start.
void StartUpTest::fileTooBigIsNamedAndKept()
{
    QFETCH(QString, name);
    TestEnvironment env;
    const QString path = env.folder.filePath(name);
    const qint64 size = 100 * 1024 * 1024;
    QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    QVERIFY(QFile::resize(path, size)); // sparse
    if (name != QLatin1String("Tolvane.ini"))
        writeFileBytes(env.folder.filePath(QStringLiteral("Tolvane.ini")), "[Tolvane...]\r\nLaunches=4\r\n");
    Program program(env.environment);
    QSignalSpy clicks(program.mainWindow().button(QStringLiteral("Options")), &QAbstractButton::clicked);
    startPastFirstStartDialog(program);
    QCOMPARE(clicks.size(), 0);
    QVERIFY(program.mainWindow().close());

    QCOMPARE(env.messages.messages,
             QStringList{path + QStringLiteral(" is larger than 1 MB; the game neither reads nor replaces it.")});
    QCOMPARE(QFileInfo(path).size(), size);
}

void StartUpTest::firstStartOpensTheSetup()
{
    QFETCH(QByteArray, settings);
    QFETCH(int, launches);
    TestEnvironment env;
    if (!settings.isEmpty())
        writeFileBytes(env.folder.filePath(QStringLiteral("Tolvane.ini")), settings);
    Program program(env.environment);
    SpeedButton *options = program.mainWindow().button(QStringLiteral("Options"));
    QSignalSpy clicks(options, &QAbstractButton::clicked);
    bool mainWindowShownFirst = false;
    QObject::connect(options, &QAbstractButton::clicked,
                     [&] { mainWindowShownFirst = program.mainWindow().isVisible(); });
    startPastFirstStartDialog(program);

    QCOMPARE(program.launches(), launches);
    QCOMPARE(launchesOnFile(env.folder.path()), QString::number(launches));
    QCOMPARE(clicks.size(), launches == 1 ? 1 : 0);
    QCOMPARE(mainWindowShownFirst, launches == 1);
    QCOMPARE(env.messages.messages,
             settings.contains("=x") ? QStringList{"'x' is not a valid integer value"} : QStringList());
}

void StartUpTest::startsAreCountedFromOneStartToTheNext()
{
    TestEnvironment env;
    // The family's file as other games left it: their comment, sections and
    // keys stay, and so does the spelling of the keys this game writes.
    writeFileBytes(env.folder.filePath(QStringLiteral("Tolvane.ini")),
                   "; the family's settings\r\n[Tolvane...]\r\nlaunches = 41\r\nOther=keep me\r\n\r\n"
                   "[Ravendell]\r\nPicture=theirs.bmp\r\n");
    for (int start = 42; start <= 43; ++start) {
        Program program(env.environment);
        startPastFirstStartDialog(program);
        QCOMPARE(launchesOnFile(env.folder.path()), QString::number(start));
        QVERIFY(program.mainWindow().close());
    }
    // The start-up's write normalises the file: the counter and the six
    // appearance keys with the values in force, here their defaults.
    QCOMPARE(readFileBytes(env.folder.filePath(QStringLiteral("Tolvane.ini"))),
             QByteArray("; the family's settings\r\n[Tolvane...]\r\nlaunches=43\r\nOther=keep me\r\n"
                        "Picture=*none*\r\nPosition=center\r\nBackColor=0\r\nLangPack=english\r\nBackSet=back001\r\n"
                        "SetPack=*standart*\r\n\r\n[Ravendell]\r\nPicture=theirs.bmp\r\n"));
}

void StartUpTest::theSplashTimerStartsItOnce()
{
    TestEnvironment env;
    // A later start, so that no modal dialog holds up the timer's start-up.
    writeFileBytes(env.folder.filePath(QStringLiteral("Tolvane.ini")), "[Tolvane...]\r\nLaunches=1\r\n");
    Program program(env.environment);
    QTimer *timer = program.splash().timer();
    QVERIFY(timer->isActive());
    QVERIFY(timer->isSingleShot());
    QCOMPARE(timer->interval(), 100);
    QTRY_VERIFY(program.mainWindow().isVisible());
    QVERIFY(!timer->isActive());
    program.start(); // nothing more, and no dialog: this is a later start
    QCOMPARE(env.waited.size(), std::size_t(3));
    QCOMPARE(launchesOnFile(env.folder.path()), QStringLiteral("2"));
}

void StartUpTest::messagesWhileStartingHoldNothingUp_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("scores");
    QTest::addColumn<QString>("skinWithoutBacks");
    QTest::addColumn<int>("launches");

    const QByteArray later("[Tolvane...]\r\nLaunches=1\r\n");
    QTest::newRow("start counter not a number") << QByteArray("[Tolvane...]\r\nLaunches=abc\r\n") << QByteArray()
                                                << QString() << 1;
    QTest::newRow("wallpaper of random bytes") << later + "Picture=Broken.bmp\r\n" << QByteArray() << QString() << 2;
    QTest::newRow("skin without its back") << later + "SetPack=NoBack.dll\r\n" << QByteArray()
                                           << QStringLiteral("NoBack.dll") << 2;
    QTest::newRow("games played not a number") << later << QByteArray("[Kelvor]\r\nGamesWas=lots\r\n") << QString()
                                               << 2;
    QTest::newRow("colour not a number") << later + "BackColor=blue\r\n" << QByteArray() << QString() << 2;
}

void StartUpTest::messagesWhileStartingHoldNothingUp()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, scores);
    QFETCH(QString, skinWithoutBacks);
    QFETCH(int, launches);
    TestEnvironment env;
    BoxLikeMessages boxes;
    env.environment.messages = &boxes;
    const QDir folder(env.folder.path());
    writeFileBytes(folder.filePath(QStringLiteral("Tolvane.ini")), settings);
    if (!scores.isEmpty())
        writeFileBytes(folder.filePath(QStringLiteral("scores.ini")), scores);
    QVERIFY(folder.mkpath(QStringLiteral("GFX")));
    QByteArray noise(4096, '\0');
    QRandomGenerator random(14);
    for (char &byte : noise)
        byte = static_cast<char>(random.bounded(256));
    writeFileBytes(folder.filePath(QStringLiteral("GFX/Broken.bmp")), noise);
    if (!skinWithoutBacks.isEmpty()) {
        SkinFixture::Skin skin = SkinFixture::red();
        skin.backColours.clear();
        SkinFixture::build(folder.filePath(QStringLiteral("Skins/") + skinWithoutBacks), skin);
    }

    // Nothing starts the start-up but the splash window's timer; the setup
    // dialog of a very first start is closed as a player closes it.
    Program program(env.environment);
    QTimer player;
    QObject::connect(&player, &QTimer::timeout, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog && dialog->objectName() == QLatin1String("Setup"))
            dialog->close();
    });
    player.start(20);
    QTRY_VERIFY_WITH_TIMEOUT(program.splash().isHidden() && !QApplication::activeModalWidget(), 10000);
    QTest::qWait(300);

    QVERIFY(!boxes.messages.isEmpty());
    QCOMPARE(env.waited.size(), std::size_t(3));
    QVERIFY(program.mainWindow().isVisible());
    QCOMPARE(program.mainWindow().statusText(StatusBar::MessagePanel), QStringLiteral("Press F2 to start"));
    QCOMPARE(launchesOnFile(env.folder.path()), QString::number(launches));
}

void StartUpTest::aSplashNeverOnScreenHoldsTheStartOnlyAMoment()
{
    TestEnvironment env;
    writeFileBytes(env.folder.filePath(QStringLiteral("Tolvane.ini")), "[Tolvane...]\r\nLaunches=1\r\n");
    Program program(env.environment);
    // Shown as far as the program knows, but a display that drops it never
    // puts it on the screen.
    TSplashForm &splash = program.splash();
    splash.hide();
    splash.setAttribute(Qt::WA_DontShowOnScreen);
    splash.show();
    QElapsedTimer took;
    took.start();
    program.start();
    QVERIFY2(took.elapsed() < 2500, qPrintable(QString::number(took.elapsed())));
    QCOMPARE(env.waited.size(), std::size_t(3));
    QVERIFY(program.mainWindow().isVisible());
}

void StartUpTest::closingSavesSettingsThenScoresOnce()
{
    TestEnvironment env;
    Program program(env.environment);
    startPastFirstStartDialog(program);
    // Both files out of reach from now on: the order of the messages is the
    // order of the saves.
    const QString settings = env.folder.filePath(QStringLiteral("Tolvane.ini"));
    const QString scores = env.folder.filePath(QStringLiteral("scores.ini"));
    QVERIFY(QFile::remove(settings));
    QVERIFY(QDir(env.folder.path()).mkdir(QStringLiteral("Tolvane.ini")));
    QVERIFY(QDir(env.folder.path()).mkdir(QStringLiteral("scores.ini")));

    QVERIFY(program.mainWindow().close());
    const QStringList order{QStringLiteral("Unable to write to ") + settings,
                            QStringLiteral("Unable to write to ") + scores};
    QCOMPARE(env.messages.messages, order);
    // The end of the session or a signal after the close saves nothing more.
    QVERIFY(QDir(settings).removeRecursively() && QDir(scores).removeRecursively());
    program.saveAtEnd();
    program.endFromOutside();
    QVERIFY(!QFileInfo::exists(settings));
    QVERIFY(!QFileInfo::exists(scores));
}

void StartUpTest::endedFromOutsideNoBoxHoldsUpTheEnd()
{
    TestEnvironment env;
    Program program(env.environment);
    startPastFirstStartDialog(program);
    QVERIFY(QDir(env.folder.path()).mkdir(QStringLiteral("scores.ini")));
    program.endFromOutside();
    QVERIFY(env.messages.messages.isEmpty());
    QCOMPARE(launchesOnFile(env.folder.path()), QStringLiteral("1"));
}

void StartUpTest::endedDuringTheStartUpItGoesNoFurther()
{
    TestEnvironment env;
    Program *ending = nullptr;
    env.environment.wait = [&](int) { ending->endFromOutside(); };
    Program program(env.environment);
    ending = &program;
    program.start();
    // The start that did not end is not counted.
    QVERIFY(program.mainWindow().isHidden());
    QCOMPARE(launchesOnFile(env.folder.path()), QStringLiteral("0"));
}

// A Wayland session is told by WAYLAND_DISPLAY, or by XDG_SESSION_TYPE
// alone (Qt then finds the compositor's usual socket); XWayland by DISPLAY.
void StartUpTest::aWaylandSessionGoesThroughXWayland_data()
{
    QTest::addColumn<QByteArray>("player");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("session");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("platform");
    QTest::newRow("Wayland with XWayland") << QByteArray() << QByteArray("wayland-0") << QByteArray("wayland")
                                           << QByteArray(":0") << QByteArray("xcb;wayland");
    QTest::newRow("session type alone") << QByteArray() << QByteArray() << QByteArray("wayland") << QByteArray(":1")
                                        << QByteArray("xcb;wayland");
    QTest::newRow("Wayland alone") << QByteArray() << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray()
                                   << QByteArray();
    QTest::newRow("the player chose Wayland") << QByteArray("wayland") << QByteArray("wayland-0")
                                              << QByteArray("wayland") << QByteArray(":0") << QByteArray();
    QTest::newRow("X11 session") << QByteArray() << QByteArray() << QByteArray("x11") << QByteArray(":0")
                                 << QByteArray();
    QTest::newRow("no desktop") << QByteArray() << QByteArray() << QByteArray() << QByteArray() << QByteArray();
}

void StartUpTest::aWaylandSessionGoesThroughXWayland()
{
    QFETCH(QByteArray, player);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, session);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, platform);
    QCOMPARE(WindowSystem::platformFor(player, wayland, session, display), platform);
}

QTEST_MAIN(StartUpTest)
#include "tst_shell_startup.moc"
