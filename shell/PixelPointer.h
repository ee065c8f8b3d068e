#pragma once

#include <QObject>

// Where the pointer is, in whole pixels of the game's windows. On a screen
// the desktop scales (150%, 200%) the pointer stands on a screen pixel that
// is a part of one window pixel; Qt rounds its place to the nearest window
// pixel, so that a click on the last screen pixels of a domino went to its
// neighbour, and one just left of the board's first column picked that
// column's domino. Installed on the application, this hands every window
// the pixel the pointer is in.
class PixelPointer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
