// Writes the program's icon as PNG files for the desktop's icon theme:
// <folder>/hicolor/<size>x<size>/apps/kelvor.png for each size given.

#include "resources/ProgramResources.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: kelvor_make_icons FOLDER SIZE...\n");
        return 2;
    }
    for (const QString &text : arguments.mid(2)) {
        bool ok = false;
        const int size = text.toInt(&ok);
        if (!ok || size < 16 || size > 1024) {
            std::fprintf(stderr, "not a size: %s\n", qPrintable(text));
            return 2;
        }
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(arguments[1]).arg(size);
        if (!QDir().mkpath(folder) || !ProgramResources::iconImage(size).save(folder + QStringLiteral("/kelvor.png"))) {
            std::fprintf(stderr, "cannot write the icon in %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
