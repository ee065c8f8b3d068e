#include "WindowSystem.h"

#include <QtGlobal>

namespace {

constexpr const char *PlatformVariable = "QT_QPA_PLATFORM";

} // namespace

QByteArray WindowSystem::platformFor(const QByteArray &playerPlatform, const QByteArray &waylandDisplay,
                                     const QByteArray &sessionType, const QByteArray &x11Display)
{
    if (!playerPlatform.isEmpty())
        return {};
    // Natively still, should XWayland refuse the connection.
    const bool wayland = !waylandDisplay.isEmpty() || sessionType == "wayland";
    if (wayland && !x11Display.isEmpty())
        return QByteArrayLiteral("xcb;wayland");
    return {};
}

WindowSystem::WindowSystem()
{
    const QByteArray platform = platformFor(qgetenv(PlatformVariable), qgetenv("WAYLAND_DISPLAY"),
                                            qgetenv("XDG_SESSION_TYPE"), qgetenv("DISPLAY"));
    if (platform.isEmpty())
        return;
    qputenv(PlatformVariable, platform);
    m_set = true;
}

void WindowSystem::chosen()
{
    if (m_set)
        qunsetenv(PlatformVariable);
    m_set = false;
}
