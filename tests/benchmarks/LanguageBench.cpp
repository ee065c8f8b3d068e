// Prints how long a language takes to load: the shipped German pack, which
// names every text of the program, and English again, with every window
// open (the program's own, and stand-ins for windows that come later). Run
// it from the build folder: tests/kelvor_language_bench.

#include "language/LanguageLoader.h"
#include "Measure.h"
#include "platform/MessageSink.h"
#include "shell/Environment.h"
#include "shell/Program.h"
#include "tests/support/StandInWindows.h"
#include "tests/support/ProgramStart.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>


int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("LNG"));
    for (const char *name : {"deutsch.lng", "francais.lng"})
        QFile::copy(QStringLiteral(KELVOR_LNG_DIR "/") + QLatin1String(name),
                    folder.path() + QStringLiteral("/LNG/") + QLatin1String(name));
    NoMessages messages;
    Environment environment;
    environment.programFolder = folder.path();
    environment.messages = &messages;
    environment.timeOfDay = [] { return 45296789u; };
    environment.wait = [](int) {};
    Program program(environment);
    startPastFirstStartDialog(program);

    // Every window open: the program's own, and stand-ins for the rest.
    StandInWindows standIns;
    QList<QWidget *> windows = program.windows();
    QStringList own;
    for (QWidget *window : windows)
        own << window->objectName();
    for (QWidget *window : standIns.windows())
        if (!own.contains(window->objectName()))
            windows << window;
    for (QWidget *window : windows)
        window->show();
    QApplication::processEvents();

    LanguageLoader &language = program.language();
    std::printf("Kelvor language benchmarks (%lld windows open)\n", static_cast<long long>(windows.size()));
    measure("load the German pack (every text named), windows open", 500,
            [&](int) { language.loadLanguage(QStringLiteral("deutsch"), windows); });
    measure("load English again, windows open", 500,
            [&](int) { language.loadLanguage(QStringLiteral("english"), windows); });
    measure("German then French, windows open, repainted", 200, [&](int) {
        language.loadLanguage(QStringLiteral("deutsch"), windows);
        language.loadLanguage(QStringLiteral("francais"), windows);
        for (QWidget *window : windows)
            window->repaint();
    });
    return 0;
}
