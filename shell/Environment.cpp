#include "Environment.h"

#include "MessageBoxSink.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QEventLoop>
#include <QTimer>
#include <QTime>

std::uint32_t Environment::systemTimeOfDay()
{
    return static_cast<std::uint32_t>(QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay());
}

Environment Environment::system(const QString &programFolder)
{
    static MessageBoxSink boxes;
    Environment environment;
    environment.programFolder = programFolder;
    environment.timeOfDay = &Environment::systemTimeOfDay;
    environment.messages = &boxes;
    // The start-up waits, but the window system's messages go on: a Wayland
    // compositor shows the splash window's new text only once the program
    // has sent it and answered the compositor's frame callbacks. The
    // player's input waits until the start-up is over.
    environment.wait = [](int milliseconds) {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    };
    environment.openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    return environment;
}
