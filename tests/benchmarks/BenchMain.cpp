// Prints how fast the game deals and answers a click. Run it from the build
// folder: tests/kelvor_bench. It uses the offscreen platform unless told
// otherwise, so that the figures do not depend on a display.

#include "game/DealGenerator.h"
#include "game/Game.h"
#include "platform/MessageSink.h"
#include "shell/Environment.h"
#include "shell/Program.h"
#include "shell/TForm1.h"
#include "shell/TileImage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <cstdio>

namespace {

struct NoMessages : MessageSink
{
    void showError(const QString &) override {}
};

template <typename Work>
void measure(const char *what, int repeats, Work work)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repeats; ++i)
        work(i);
    const double micros = timer.nsecsElapsed() / 1000.0 / repeats;
    std::printf("%-72s %10.2f us  (%d runs)\n", what, micros, repeats);
}

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

} // namespace

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
    program.start();
    TForm1 &window = program.mainWindow();
    window.show();
    QApplication::processEvents();

    measure("new game in the window (F2 to dealt board, scores file read and written)", 2000, [&](int) { window.NewGameClick(); });

    // A click that selects a tile and one that takes the mark off again,
    // each from the mouse press to the tile repainted.
    window.NewGameClick();
    TileImage *top = window.tile(24);
    measure("click on a tile, press to repainted tile", 20000, [&](int) { click(top); });
    std::printf("checksum %d\n", static_cast<int>(sink) & 1);
    return 0;
}
