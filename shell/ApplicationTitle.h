#pragma once

#include <QString>

// The title of the program's taskbar button (the splash window's title) and
// of its message boxes.
inline QString applicationTitle()
{
    return QStringLiteral("Tolvane: Kelvor - hard");
}
