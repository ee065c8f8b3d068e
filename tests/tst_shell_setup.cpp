// The setup dialog over the main window: what it does to a game in each
// phase, what "Apply", "Cancel" and a failed write leave behind.

#include "resources/BuiltinSkin.h"
#include "settings/SetupModel.h"
#include "settings/windows/TSetup.h"
#include "shell/EndSignals.h"
#include "shell/Program.h"
#include "shell/SpeedButton.h"
#include "shell/TForm1.h"
#include "shell/TileImage.h"
#include "support/Deals.h"
#include "support/Keys.h"
#include "support/ProgramStart.h"
#include "support/SkinFixture.h"
#include "support/TestEnvironment.h"

#include <QFileDialog>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <csignal>
#include <functional>

namespace {

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class ShellSetupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void phases_data();
    void phases();
    void cancelLeavesFileAndControls_data();
    void cancelLeavesFileAndControls();
    void applyShowsTheNewBackOnTheBoard();
    void failedApplyKeepsTheDialogOpen();
    void failedBrowseCopyIsToldEachTime();
    void wallpaperShowsBehindTheBoard();
    void browseStartsWherePicturesAre();
    void fileDialogLeavesNothingInTheHome();

private:
    void startProgram();
    // Opens the dialog with F3 and runs `whileOpen` in it; `whileOpen` closes it.
    void withDialog(const std::function<void(TSetup &)> &whileOpen);
    template <class T> T *control(const char *name)
    {
        return m_program->setupDialog().findChild<T *>(QString::fromLatin1(name));
    }

    QTemporaryDir m_home; // the player's home
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Program> m_program;
    TForm1 *m_window = nullptr;
};

void ShellSetupTest::initTestCase()
{
    // The player's home is a folder of the test's own, before any window
    // exists: the game must write nothing there.
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qunsetenv(name);
}

void ShellSetupTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void ShellSetupTest::startProgram()
{
    m_program = std::make_unique<Program>(m_env->environment);
    startPastFirstStartDialog(*m_program);
    m_window = &m_program->mainWindow();
}

void ShellSetupTest::cleanup()
{
    m_program.reset();
    m_env.reset();
}

void ShellSetupTest::withDialog(const std::function<void(TSetup &)> &whileOpen)
{
    TSetup &dialog = m_program->setupDialog();
    bool ran = false;
    // The key acts once the window has seen it is no repeat; the dialog's
    // own loop then runs this.
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (!dialog.isVisible() || ran)
            return;
        ran = true;
        poll.stop();
        whileOpen(dialog);
    });
    poll.start();
    release(m_window, Qt::Key_F3);
    QVERIFY(ran);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!m_window->button(QStringLiteral("Options"))->isDown());
}

void ShellSetupTest::phases_data()
{
    QTest::addColumn<int>("phase");
    QTest::addColumn<QString>("closeBy");
    QTest::addColumn<int>("phaseAfter");
    QTest::addColumn<QString>("statusAfter");

    const int running = int(GamePhase::Running), paused = int(GamePhase::Paused), stopped = int(GamePhase::Stopped);
    QTest::newRow("running, Cancel") << running << "Cancel" << running << "Let's play...";
    QTest::newRow("running, Apply") << running << "Apply" << running << "Let's play...";
    QTest::newRow("paused, Esc") << paused << "Esc" << running << "Let's play...";
    QTest::newRow("paused, close box") << paused << "close" << running << "Let's play...";
    QTest::newRow("ended, Cancel") << stopped << "Cancel" << stopped << "Press F2 to start";
}

void ShellSetupTest::phases()
{
    QFETCH(int, phase);
    QFETCH(QString, closeBy);
    QFETCH(int, phaseAfter);
    QFETCH(QString, statusAfter);

    startProgram();
    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2);
    Game &game = m_window->game();
    QTest::mouseClick(m_window->tile(24), Qt::LeftButton); // selected
    if (phase == int(GamePhase::Paused))
        release(m_window, Qt::Key_F4);
    if (phase == int(GamePhase::Stopped)) {
        QTest::mouseClick(m_window->tile(25), Qt::LeftButton);
        QTest::mouseClick(m_window->tile(27), Qt::LeftButton); // the only pair: game over
    }
    const int seconds = game.elapsedSeconds();
    QList<bool> visible;
    for (SlotNumber s = 1; s <= 28; ++s)
        visible.append(game.tile(s).visible || phase == int(GamePhase::Paused));

    withDialog([&](TSetup &dialog) {
        for (SlotNumber s = 1; s <= 28; ++s)
            QVERIFY(!m_window->tile(s)->isVisible());
        QVERIFY(!m_window->timer()->isActive());
        QCOMPARE(int(game.phase()), phase);
        QCOMPARE(m_window->statusText(StatusBar::MessagePanel), QStringLiteral("Pause"));
        // F3 again does nothing while the dialog shows.
        release(m_window, Qt::Key_F3);
        if (closeBy == "Esc")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (closeBy == "close")
            dialog.close();
        else
            control<QPushButton>(qPrintable(closeBy))->click();
    });

    QCOMPARE(int(game.phase()), phaseAfter);
    QCOMPARE(m_window->statusText(StatusBar::MessagePanel), statusAfter);
    QCOMPARE(m_window->timer()->isActive(), phaseAfter == int(GamePhase::Running));
    QVERIFY(!m_window->button(QStringLiteral("Pause"))->isDown());
    QCOMPARE(game.elapsedSeconds(), seconds);
    for (SlotNumber s = 1; s <= 28; ++s)
        QCOMPARE(m_window->tile(s)->isVisible(), visible[s - 1]);
    if (phase != int(GamePhase::Stopped)) {
        // Still selected, shown without its mark.
        QVERIFY(game.selectionActive());
        QCOMPARE(rgb(m_window->tile(24)->picture()), rgb(BuiltinSkin().bitmap("06bmp")));
    } else {
        // An ended game's tiles are all disabled and come back as backs.
        QCOMPARE(rgb(m_window->tile(28)->picture()), rgb(BuiltinSkin().bitmap("back001")));
    }
}

void ShellSetupTest::cancelLeavesFileAndControls_data()
{
    QTest::addColumn<bool>("sessionEnds");
    QTest::newRow("Cancel") << false;
    // SIGTERM while the dialog is open: what was not applied is not stored.
    QTest::newRow("the session ends") << true;
}

void ShellSetupTest::cancelLeavesFileAndControls()
{
    QFETCH(bool, sessionEnds);
    // The signals that end the game, and what they do (but for its last
    // step, the end of the program's event loop).
    EndSignals endSignals;
    connect(&endSignals, &EndSignals::endRequested, this, [this] { m_program->saveWithoutPlayer(); });
    SkinFixture::build(m_env->folder.filePath("Skins/red.dll"), SkinFixture::red());
    QDir().mkpath(m_env->folder.filePath("GFX"));
    QImage(8, 8, QImage::Format_RGB32).save(m_env->folder.filePath("GFX/one.bmp"), "BMP");
    QDir().mkpath(m_env->folder.filePath("LNG"));
    writeFileBytes(m_env->folder.filePath("LNG/dutch.lng"), "");
    writeFileBytes(m_env->folder.filePath("Tolvane.ini"),
                   "[Tolvane...]\r\nLaunches=3\r\nPicture=*none*\r\nPosition=center\r\nBackColor=2\r\n"
                   "LangPack=english\r\nBackSet=back004\r\nSetPack=*standart*\r\nOther=1\r\n");
    startProgram();
    // As the start-up left it, with this start counted.
    const QByteArray stored = readFileBytes(m_env->folder.filePath("Tolvane.ini"));
    QVERIFY(stored.contains("Launches=4\r\n"));

    withDialog([&](TSetup &dialog) {
        SetupModel &model = dialog.model();
        QCOMPARE(model.currentBackName(), QStringLiteral("back004"));
        control<QListWidget>("PicsBox")->setCurrentRow(1);
        control<QRadioButton>("RB2")->click();
        model.chooseColour(7);
        control<QListWidget>("LangBox")->setCurrentRow(1);
        control<QListWidget>("SetBox")->setCurrentRow(1);
        control<QListWidget>("BackBox")->setCurrentRow(1);
        QCOMPARE(model.currentBackName(), QStringLiteral("back002"));
        QVERIFY(!model.currentSkin().isStandardSet());
        if (sessionEnds) {
            ::raise(SIGTERM);
            QTRY_VERIFY(!dialog.isVisible());
        } else {
            dialog.reject();
        }
    });

    QCOMPARE(readFileBytes(m_env->folder.filePath("Tolvane.ini")), stored);
    QCOMPARE(control<QListWidget>("PicsBox")->currentRow(), 0);
    QVERIFY(control<QRadioButton>("RB1")->isChecked());
    QCOMPARE(control<QListWidget>("LangBox")->currentRow(), 0);
    QCOMPARE(control<QListWidget>("SetBox")->currentRow(), 0);
    QCOMPARE(control<QListWidget>("BackBox")->currentRow(), 3);
    const SetupModel &model = m_program->settings();
    QCOMPARE(model.colour(), 2);
    QVERIFY(model.currentSkin().isStandardSet());
    QCOMPARE(rgb(m_window->tile(1)->picture()), rgb(BuiltinSkin().bitmap("back004")));
    QVERIFY(m_env->messages.messages.isEmpty());
}

void ShellSetupTest::applyShowsTheNewBackOnTheBoard()
{
    SkinFixture::build(m_env->folder.filePath("skins/red.dll"), SkinFixture::red());
    startProgram();
    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2);
    QList<DominoId> deal;
    for (SlotNumber s = 1; s <= 28; ++s)
        deal.append(m_window->game().slotDomino(s));

    withDialog([&](TSetup &) {
        control<QListWidget>("SetBox")->setCurrentRow(1);
        control<QListWidget>("BackBox")->setCurrentRow(1);
        control<QPushButton>("Apply")->click();
    });

    QVERIFY(readFileBytes(m_env->folder.filePath("Tolvane.ini")).contains("BackSet=back002\r\nSetPack=red.dll\r\n"));
    QCOMPARE(rgb(m_window->tile(1)->picture()), SkinFixture::filled(qRgb(0, 0, 255)));
    QCOMPARE(rgb(m_window->tile(28)->picture()), SkinFixture::filled(qRgb(255, 0, 0)));
    for (SlotNumber s = 1; s <= 28; ++s)
        QCOMPARE(m_window->game().slotDomino(s), deal[s - 1]);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Tolvane: Kelvor"));
}

void ShellSetupTest::failedApplyKeepsTheDialogOpen()
{
    // A folder in the file's place: no one can write the file.
    QVERIFY(QDir(m_env->folder.path()).mkdir("Tolvane.ini"));
    const QString unable = "Unable to write to " + m_env->folder.filePath("Tolvane.ini");
    startProgram();
    // The start-up's own write tells of the file once.
    QCOMPARE(m_env->messages.messages, QStringList{unable});
    bool stayedOpen = false;
    QStringList afterApply;
    QString backWhileOpen;
    withDialog([&](TSetup &dialog) {
        control<QListWidget>("BackBox")->setCurrentRow(2);
        // Each "Apply" the player presses is answered, however often.
        control<QPushButton>("Apply")->click();
        control<QPushButton>("Apply")->click();
        stayedOpen = dialog.isVisible();
        afterApply = m_env->messages.messages;
        backWhileOpen = dialog.model().currentBackName();
        control<QPushButton>("Cancel")->click();
    });
    QVERIFY(stayedOpen);
    QCOMPARE(afterApply, QStringList(3, unable));
    QCOMPARE(backWhileOpen, QStringLiteral("back003"));
    QCOMPARE(m_program->settings().currentBackName(), QStringLiteral("back001"));
    // The game's own write at the close has been told of already.
    QVERIFY(m_window->close());
    QCOMPARE(m_env->messages.messages.size(), 3);
}

void ShellSetupTest::failedBrowseCopyIsToldEachTime()
{
    startProgram();
    // A file in the place of "GFX": no picture can be copied into it.
    writeFileBytes(m_env->folder.filePath("GFX"), "not a folder");
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    const QString source = m_env->folder.filePath("mine.bmp");
    QVERIFY(picture.save(source, "BMP"));
    SetupModel &model = m_program->settings();
    QVERIFY(!model.CopyUserPicture(source));
    QVERIFY(!model.CopyUserPicture(source));
    QCOMPARE(m_env->messages.messages, QStringList(2, "Unable to write to " + m_env->folder.filePath("GFX/mine.bmp")));
}

void ShellSetupTest::wallpaperShowsBehindTheBoard()
{
    QDir().mkpath(m_env->folder.filePath("GFX"));
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    picture.save(m_env->folder.filePath("GFX/blue.bmp"), "BMP");
    writeFileBytes(m_env->folder.filePath("Tolvane.ini"),
                   "[Tolvane...]\r\nPicture=blue.bmp\r\nPosition=tile\r\nBackColor=15\r\n");
    startProgram();
    QCOMPARE(m_window->boardBackground().pixel(289, 469), qRgb(0, 0, 255));
    // Beside the board the window shows the wallpaper.
    m_env->times = {OnePairSeed};
    release(m_window, Qt::Key_F2);
    const QImage shot = m_window->grab().toImage();
    QCOMPARE(shot.pixel(5, 100), qRgb(0, 0, 255));
}

void ShellSetupTest::browseStartsWherePicturesAre()
{
    const QDir home(m_home.path());
    QVERIFY(home.mkpath(QStringLiteral("Pictures")));
    const QString elsewhere = m_env->folder.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(elsewhere));
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(elsewhere + QStringLiteral("/sea.bmp"), "BMP"));
    startProgram();

    QStringList startedIn;
    withDialog([&](TSetup &dialog) {
        QFileDialog *files = dialog.findChild<QFileDialog *>(QStringLiteral("OpenDialog"));
        const auto browse = [&](const QString &pick) {
            QTimer::singleShot(0, files, [&startedIn, files, pick] {
                startedIn << files->directory().absolutePath();
                if (pick.isEmpty()) {
                    files->reject();
                } else {
                    files->selectFile(pick);
                    static_cast<QDialog *>(files)->accept();
                }
            });
            dialog.BrowseClick();
        };
        browse(elsewhere + QStringLiteral("/sea.bmp"));
        browse(QString());
        dialog.CancelClick();
    });
    // First the player's pictures folder, then where the last one was picked.
    QCOMPARE(startedIn, (QStringList{home.filePath(QStringLiteral("Pictures")), elsewhere}));
    QVERIFY(QFileInfo::exists(m_env->folder.filePath(QStringLiteral("GFX/sea.bmp"))));
}

void ShellSetupTest::fileDialogLeavesNothingInTheHome()
{
    startProgram();
    withDialog([&](TSetup &dialog) {
        QTimer::singleShot(0, dialog.findChild<QFileDialog *>(QStringLiteral("OpenDialog")), &QDialog::reject);
        dialog.BrowseClick();
        dialog.CancelClick();
    });
    m_program.reset(); // the end of the game, when Qt's dialog would save its state
    const QStringList left =
        QDir(m_home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QVERIFY2(left.isEmpty() || left == QStringList{"Pictures"}, qPrintable(left.join(u' ')));
}

QTEST_MAIN(ShellSetupTest)
#include "tst_shell_setup.moc"
