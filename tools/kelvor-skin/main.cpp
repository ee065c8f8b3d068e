// kelvor-skin: makes skin libraries for Kelvor and the other games of its
// family from a folder of pictures, lists them, takes them apart and checks
// them. See SkinCommands.h.

#include "tools/kelvor-skin/SkinCommands.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout), err(stderr);
    return SkinCommands(out, err).run(application.arguments().mid(1));
}
