// Fuzzes the language loader and the pack checker with any bytes as a
// language pack: the pack is loaded into stand-ins of every window of the
// program, then English again or checked as kelvor-lngcheck checks it.
// Whatever the pack holds, no text may grow past what the loader allows and
// English must come back whole.

#include "FuzzLength.h"
#include "language/PackChecker.h"
#include "platform/ProfileFile.h"
#include "language/TextTable.h"
#include "language/TextTargets.h"
#include "language/windows/LanguageLoader.h"
#include "tests/support/StandInWindows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

struct World
{
    World()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_language";
        static char *argv[] = {name, nullptr};
        application = new QApplication(argc, argv);
        folder.emplace();
        require(QDir(folder->path()).mkdir(QStringLiteral("LNG")), "LNG folder");
        windows.emplace();
        loader.emplace(folder->path(), texts);
        for (const TextTargets::Control &control : TextTargets::controls())
            if (auto *widget = qobject_cast<QWidget *>(
                    windows->control(QString::fromLatin1(control.window), QString::fromLatin1(control.name))))
                controls.append(widget);
    }

    QApplication *application;
    std::optional<QTemporaryDir> folder;
    TextTable texts;
    std::optional<StandInWindows> windows;
    std::optional<LanguageLoader> loader;
    QList<QWidget *> controls; // found once: a search per run would cost more than the run
};

World &world()
{
    static World *w = new World; // lives to the end: windows outlive the run
    return *w;
}

// Limits in characters; a character may take two UTF-16 units.
void checkTexts(World &w)
{
    for (int slot = 1; slot <= TextTable::VariableCount; ++slot)
        require(w.texts.variable(slot).size() <= 2 * TextTable::VariableMaxLength, "run-time text too long");
    for (QWidget *window : w.windows->windows())
        require(window->windowTitle().size() <= 2 * 1023, "title too long");
    for (QWidget *control : w.controls)
        require(control->toolTip().size() <= 2 * 1023 && control->windowTitle().size() <= 2 * 1023,
                "text too long");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzUpTo(argc, argv, ProfileFile::MaxFileSize); // packs are read as profile files
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    World &w = world();
    const QString path = w.folder->filePath(QStringLiteral("LNG/fuzz.lng"));
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "pack written");
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    w.loader->loadLanguage(QStringLiteral("fuzz"), w.windows->windows());
    checkTexts(w);
    require(w.loader->helpFile().endsWith(QLatin1String(".hlp")), "help file named");
    (void)w.loader->findHelpFile();

    // The first byte picks the rest of the work, so that each run stays
    // short: English again (half the runs), the checker (the other half).
    if (size > 0 && (data[0] & 1)) {
        w.loader->loadLanguage(QStringLiteral("english"), w.windows->windows());
        require(w.windows->window(QStringLiteral("Form1"))->windowTitle() == QLatin1String("Tolvane: Kelvor"),
                "English title back");
        require(w.texts.variable(TextTable::HelpFileLanguage) == QLatin1String("eng"), "English slot 8 back");
    } else {
        const QList<PackChecker::Finding> findings = PackChecker::check(path);
        (void)PackChecker::report(QStringLiteral("fuzz.lng"), findings);
    }
    return 0;
}
