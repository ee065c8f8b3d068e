#pragma once

#include <QWidget>

// What a screen reader is to speak at once, wherever the player is, that the
// window shows no text for (the hint): a notification without a place on
// the screen. It shows among the window's controls once it has spoken, so
// that a player can read it again, and goes with a new game.
class Announcer : public QWidget
{
    Q_OBJECT
public:
    explicit Announcer(QWidget *parent);

    // The reader speaks `text` now.
    void announce(const QString &text);
    QString text() const { return accessibleName(); }
    // Nothing is left to read.
    void clear();
};
