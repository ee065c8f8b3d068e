#pragma once

#include "game/DominoSet.h"

#include <QAccessibleWidget>

class TileImage;

// A domino on the board as a screen reader finds it: a button named by its
// face ("Domino 3-4, 7 pips, face up") or "Face-down domino", selected while
// it is the selection, pressed like a click while it takes clicks (the click
// follows the press, which returns at once).
class TileAccessible : public QAccessibleWidget
{
public:
    explicit TileAccessible(TileImage *tile);

    // The name of a tile showing `domino`, face up or not.
    static QString name(DominoId domino, bool faceUp);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &action) override;

private:
    TileImage *tile() const;
};
