// Prints how fast the game deals and answers a click. Run it from the build
// folder: tests/kelvor_bench. It uses the offscreen platform unless told
// otherwise, so that the figures do not depend on a display.

#include "Measure.h"
#include "game/DealGenerator.h"
#include "game/Game.h"
#include "platform/MessageSink.h"
#include "settings/Wallpaper.h"
#include "settings/windows/TSetup.h"
#include "shell/Environment.h"
#include "shell/Program.h"
#include "shell/TForm1.h"
#include "shell/TileImage.h"
#include "shell/ToolWindows.h"
#include "support/ProgramStart.h"
#include "support/SkinDlls.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {


void click(QWidget *tile)
{
    const QPointF at(15, 30);
    QMouseEvent press(QEvent::MouseButtonPress, at, tile->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, tile->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(tile, &press);
    QApplication::sendEvent(tile, &release);
    tile->repaint();
}

// Fills a game folder as a well-stocked player's: 100 skin libraries, 100
// wallpapers and 50 language packs. Gives false when no skin could be built.
bool stockFolder(const QString &folder)
{
    QTemporaryDir work;
    QString rc = QStringLiteral("STRINGTABLE\nBEGIN\n1 \"Tolvane...\"\n2 \"1\"\n3 \"Back\"\n4 \"0\"\nEND\n");
    QImage back(30, 60, QImage::Format_RGB32);
    back.fill(Qt::darkGreen);
    back.save(work.filePath(QStringLiteral("back.bmp")), "BMP");
    rc += QStringLiteral("BACK001 BITMAP back.bmp\n");
    const QByteArray dll = SkinDlls::buildDll(work.path(), rc, QStringLiteral("x86_64"));
    if (dll.isEmpty())
        return false;
    QImage wallpaper(64, 64, QImage::Format_RGB32);
    wallpaper.fill(Qt::darkBlue);
    QDir dir(folder);
    dir.mkpath(QStringLiteral("Skins"));
    dir.mkpath(QStringLiteral("GFX"));
    dir.mkpath(QStringLiteral("LNG"));
    for (int i = 0; i < 100; ++i) {
        QFile skin(dir.filePath(QStringLiteral("Skins/skin%1.dll").arg(i)));
        skin.open(QIODevice::WriteOnly);
        skin.write(dll);
        wallpaper.save(dir.filePath(QStringLiteral("GFX/picture%1.bmp").arg(i)), "BMP");
    }
    for (int i = 0; i < 50; ++i) {
        QFile pack(dir.filePath(QStringLiteral("LNG/language%1.lng").arg(i)));
        pack.open(QIODevice::WriteOnly);
        pack.write("[LangInfo]\r\n1=A language\r\n2=Its maker\r\n");
    }
    return true;
}

// Opens the setup dialog with the toolbar's handler and gives the time from
// then until the dialog has painted itself; the dialog is closed again.
double openSetupDialog(TForm1 &window, TSetup &dialog)
{
    QElapsedTimer timer;
    double painted = -1;
    struct PaintWatch : QObject
    {
        std::function<void()> onPaint;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && onPaint)
                onPaint();
            return false;
        }
    } watch;
    watch.onPaint = [&] {
        if (painted >= 0)
            return;
        painted = timer.nsecsElapsed() / 1e6;
        QTimer::singleShot(0, &dialog, &QDialog::reject);
    };
    dialog.installEventFilter(&watch);
    timer.start();
    window.toolWindows().options();
    dialog.removeEventFilter(&watch);
    return painted;
}

} // namespace

// A bitmap file of W x H: 24 bits of black, or 8 bits in runs of 255.
void writeBigWallpaper(const QString &path, int width, int height, bool runs)
{
    const QByteArray head = runs ? bitmapFileHead(width, height, 8, 1, {0x000000, 0xFFFFFF})
                                 : bitmapFileHead(width, height, 24, 0);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(head) != head.size())
        return;
    if (!runs) {
        file.resize(head.size() + qint64(width * 3 + 3) / 4 * 4 * height);
        return;
    }
    QByteArray row;
    for (int x = 0; x < width; x += 255)
        row.append(char(qMin(255, width - x))).append(char(x / 255 % 2));
    row.append(2, '\0');
    for (int y = 0; y < height; ++y)
        file.write(row);
    file.write(QByteArray("\0\1", 2));
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    std::printf("Kelvor benchmarks\n");
    volatile int sink = 0;
    measure("draw one deal (generator only)", 200000, [&](int i) {
        sink = sink + DealGenerator::drawDeal(static_cast<std::uint32_t>(i) * 7919u)[0];
    });
    Game game;
    measure("lay out and count one attempt (rules only)", 200000, [&](int i) {
        game.layOutDeal(static_cast<std::uint32_t>(i) * 7919u);
        sink = sink + game.countVariants();
    });

    NoMessages messages;
    std::uint32_t clock = 45296789;
    QTemporaryDir folder; // the game's files go to a folder of its own
    Environment environment;
    environment.programFolder = folder.path();
    environment.messages = &messages;
    environment.timeOfDay = [&clock] { return clock += 37; };
    environment.wait = [](int) {};
    Program program(environment);
    startPastFirstStartDialog(program);
    TForm1 &window = program.mainWindow();
    window.show();
    QApplication::processEvents();

    measure("new game in the window (F2 to dealt board, scores file read and written)", 2000, [&](int) { window.NewGameClick(); });

    // A click that selects a tile and one that takes the mark off again,
    // each from the mouse press to the tile repainted.
    window.NewGameClick();
    TileImage *top = window.tile(24);
    measure("click on a tile, press to repainted tile", 20000, [&](int) { click(top); });

    QTemporaryDir stocked;
    if (stockFolder(stocked.path())) {
        Environment full = environment;
        full.programFolder = stocked.path();
        Program stockedProgram(full);
        startPastFirstStartDialog(stockedProgram);
        TForm1 &stockedWindow = stockedProgram.mainWindow();
        QApplication::processEvents();
        const int runs = 20;
        double total = 0, worst = 0;
        for (int i = 0; i < runs; ++i) {
            const double ms = openSetupDialog(stockedWindow, stockedProgram.setupDialog());
            total += ms;
            worst = std::max(worst, ms);
        }
        std::printf("%-72s %10.2f ms  (worst %.2f ms, %d runs)\n",
                    "setup dialog, 100 skins, 100 wallpapers, 50 packs: F3 to painted", total / runs, worst, runs);
    } else {
        std::printf("setup dialog: no skin library could be built (windres and ld missing?)\n");
    }
    // Big wallpapers: the part the board shows, read from the file.
    QTemporaryDir pictures;
    const struct
    {
        const char *what;
        int width, height;
        bool runs;
    } wallpapers[] = {{"wallpaper 3840 x 2160, 24 bits (25 MB), centred: read", 3840, 2160, false},
                      {"wallpaper 8192 x 8192, RLE8 (0.5 MB), centred: read", 8192, 8192, true}};
    for (const auto &wallpaper : wallpapers) {
        const QString path = pictures.filePath(QStringLiteral("big.bmp"));
        writeBigWallpaper(path, wallpaper.width, wallpaper.height, wallpaper.runs);
        const long before = peakKilobytes();
        measure(wallpaper.what, 10, [&](int) {
            sink = sink + Wallpaper::read(path, {290, 470}, Wallpaper::Placement::Centered).picture.width();
        });
        std::printf("%-72s %10ld KB\n", "  peak memory grown by", peakKilobytes() - before);
    }
    std::printf("checksum %d\n", static_cast<int>(sink) & 1);
    return 0;
}
