#include "Environment.h"

#include "MessageBoxSink.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QThread>
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
    environment.wait = [](int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); };
    environment.openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    return environment;
}
