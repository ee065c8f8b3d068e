// Prints how long a language takes to load: the shipped German pack, which
// names every text of the program, and English again, with every window
// open (the program's own, and stand-ins for windows that come later); then
// a pack of nearly the 1 MB the game reads, loaded and described as the
// setup dialog describes it. Run it from the build folder:
// tests/kelvor_language_bench.

#include "Measure.h"
#include "language/LanguageList.h"
#include "language/windows/LanguageLoader.h"
#include "platform/MessageSink.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramFolder.h"
#include "shell/Environment.h"
#include "shell/Program.h"
#include "tests/support/ProgramStart.h"
#include "tests/support/StandInWindows.h"

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

    // Nearly the limit: thousands of lines of notes (no key, no value) and
    // of description lines, and thousands of text lines that name nothing.
    QByteArray big = "[LangInfo]\r\n";
    for (int i = 0; big.size() < ProfileFile::MaxFileSize / 4; ++i)
        big += "A line of the translator's notes, number " + QByteArray::number(i) + "\r\n";
    for (int i = 0; big.size() < ProfileFile::MaxFileSize / 3; ++i)
        big += QByteArray::number(i) + "=Description line " + QByteArray::number(i) + " of a long pack\r\n";
    big += "[Application]\r\n";
    for (int i = 0; big.size() < 2 * ProfileFile::MaxFileSize / 3; ++i)
        big += "Form1.Junk" + QByteArray::number(i) + ".Hint=Text " + QByteArray::number(i) + "\r\n";
    big += "[Variables]\r\n3=Big\r\n[Kelvor]\r\n";
    for (int i = 0; big.size() < ProfileFile::MaxFileSize - 100; ++i)
        big += "ScoresForm.Junk" + QByteArray::number(i) + ".Caption=Text " + QByteArray::number(i) + "\r\n";
    QFile file(folder.path() + QStringLiteral("/LNG/big.lng"));
    if (!file.open(QIODevice::WriteOnly) || file.write(big) != big.size())
        return 1;
    file.close();
    std::printf("A pack of %lld bytes\n", static_cast<long long>(big.size()));
    measure("load the big pack, windows open", 5,
            [&](int) { language.loadLanguage(QStringLiteral("big"), windows); });
    measure("describe the big pack (the setup dialog's description box)", 5,
            [&](int) { (void)LanguageList::ShowLanguageInfo(ProgramFolder(folder.path()), QStringLiteral("big")); });
    return 0;
}
