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
#include <cstring>

namespace {

const char *const UsageText = "usage: kelvor-lngcheck PACK.lng [PACK.lng...]\n"
                              "       kelvor-lngcheck --help\n";

const char *const HelpText =
    "kelvor-lngcheck checks language packs of Kelvor for translators. It reads\n"
    "each pack as the game does and prints, with line numbers, every key that\n"
    "names nothing, every value the game cuts or ignores, every section written\n"
    "twice, the [LangInfo] lines the \"Language\" page passes over, every text\n"
    "that would not show whole in its window (the control, the room it has and\n"
    "the room the text needs, measured in the game's own fonts), the texts the\n"
    "pack leaves out (English shows there) and the help file it names, which\n"
    "belongs beside the pack. A pack over 1 MB is refused unread, as the game\n"
    "refuses it.\n"
    "\n"
    "  kelvor-lngcheck PACK.lng [PACK.lng...]\n"
    "      checks each pack (LNG/deutsch.lng) and ends its report with\n"
    "      \"no errors\" or \"has errors\".\n"
    "  kelvor-lngcheck --help, -h\n"
    "      prints this text.\n"
    "\n"
    "Exit status: 0 when no pack has an error (nothing would be cut or\n"
    "ignored); 1 when one has; 2 on wrong use (no pack, or an unknown\n"
    "option).\n";

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(HelpText, stdout);
        return 0;
    }
    // Texts are measured in the game's fonts, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList packs = application.arguments().mid(1);
    if (packs.isEmpty() || packs.first().startsWith(u'-')) {
        std::fputs(UsageText, stderr);
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
