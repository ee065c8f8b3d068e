#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Runs a program's start-up as any start after the first: the setup dialog
// that the very first start opens by itself (modally) is closed again as
// soon as it shows, as a player would close it.
template <typename Program>
void startPastFirstStartDialog(Program &program)
{
    const auto starting = std::make_shared<bool>(true);
    const auto closeIt = std::make_shared<std::function<void()>>();
    *closeIt = [starting, closeIt] {
        if (!*starting)
            return;
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog && dialog->objectName() == QLatin1String("Setup"))
            dialog->close();
        else
            QTimer::singleShot(0, *closeIt);
    };
    QTimer::singleShot(0, *closeIt);
    program.start();
    *starting = false;
    *closeIt = nullptr; // lets go of the closure that holds itself
}
