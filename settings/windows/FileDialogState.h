#pragma once

#include <QSettings>
#include <QString>

// Qt's file dialog keeps its state (the folders visited, the view) in the
// user's "QtProject.conf", reading it when a dialog is made and writing it
// when one goes. The game writes nothing outside its folder, nor takes
// another program's last folder: Qt's user settings are pointed where no
// file can be, so the dialog's state lives in the one dialog, for the run.
// Called before any file dialog is made, by the game and by its tests.
inline void keepFileDialogStateInMemory()
{
    static const bool done = [] {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
        return true;
    }();
    Q_UNUSED(done);
}
