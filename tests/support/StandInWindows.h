#pragma once

#include <QList>
#include <QString>
#include <memory>
#include <vector>

class QObject;
class QWidget;

// Every window of the program's list of windows and controls (TextTargets),
// built from plain Qt widgets of the kinds the list names, nested and tagged
// as the list says, with the design texts every window starts with: for
// tests of the language loader that need windows the test does not create
// for real.
class StandInWindows
{
public:
    StandInWindows();
    ~StandInWindows();

    QList<QWidget *> windows() const;
    QWidget *window(const QString &name) const;
    QObject *control(const QString &window, const QString &name) const;

private:
    std::vector<std::unique_ptr<QWidget>> m_windows;
};

// A target's text as a pack sets it: "caption" for a window's title,
// "Caption", "Hint", "Title" or "Text" for a control.
QString textOf(QObject *target, const QString &property);
