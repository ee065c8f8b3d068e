// kelvor-lngcheck: reads a language pack as the game reads it and prints,
// with line numbers, every line the game would pass over, cut or ignore,
// every text that would not show whole in its control in the game's own
// font, the texts the pack leaves out, and the help file it names.
//
//   kelvor-lngcheck LNG/deutsch.lng [more packs...]
//
// Exit status: 0 when no pack has an error, 1 when one has, 2 on wrong use.

#include "language/PackChecker.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Texts are measured in the game's fonts, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList packs = application.arguments().mid(1);
    if (packs.isEmpty() || packs.first().startsWith(u'-')) {
        std::fprintf(stderr, "usage: kelvor-lngcheck PACK.lng [PACK.lng...]\n"
                             "Checks language packs of Kelvor; exit status 0 when they have no error.\n");
        return 2;
    }
    bool failed = false;
    for (const QString &pack : packs) {
        const QList<PackChecker::Finding> findings = PackChecker::check(pack);
        const bool error = PackChecker::hasError(findings);
        failed = failed || error;
        std::fputs(PackChecker::report(QFileInfo(pack).fileName(), findings).toLocal8Bit().constData(), stdout);
        std::printf("%s: %s\n", qPrintable(QFileInfo(pack).fileName()), error ? "has errors" : "no errors");
    }
    return failed ? 1 : 0;
}
