#include "EndSignals.h"
#include "Environment.h"
#include "Program.h"
#include "WindowSystem.h"
#include "platform/ProgramFolder.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // In a Wayland session the game's windows go through XWayland where it
    // runs, unless the player chose the platform.
    WindowSystem windowSystem;
    QApplication application(argc, argv);
    windowSystem.chosen();
    // The desktop shows the program under its title through the splash
    // window's title and the menu entry (kelvor.desktop). Not as the
    // application's display name: on X11 Qt appends that to every window's
    // title, and the main window keeps its own caption.
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvor"));
    const Environment environment = Environment::system(ProgramFolder::ofRunningProgram());
    Program program(environment);

    // The end of the desktop session and a signal to end save what the
    // closing of the main window saves, once.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &application,
                     [&program] { program.saveWithoutPlayer(); });
    EndSignals endSignals;
    QObject::connect(&endSignals, &EndSignals::endRequested, &application, [&program] { program.endFromOutside(); });
    return application.exec();
}
