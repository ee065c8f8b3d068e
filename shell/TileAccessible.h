#pragma once

#include "game/DominoSet.h"

#include <QAccessibleWidget>

class TileImage;

// A domino on the board as a screen reader finds it: a button named by its
// face ("Domino 3-4, 7 pips, face up") or "Face-down domino", and by where
// it lies ("..., block, column 2, row 3"); selected while it is the
// selection; pressed like a click while it takes clicks (the click follows
// the press, which returns at once). A domino that others lie on is not
// shown to the reader until they have left the board.
class TileAccessible : public QAccessibleWidget
{
public:
    explicit TileAccessible(TileImage *tile);

    // What a tile showing `domino` is, face up or not; its place follows.
    static QString name(DominoId domino, bool faceUp);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &action) override;

    // Whether a domino still on the board lies on `tile`.
    static bool covered(const TileImage *tile);

private:
    TileImage *tile() const;
};
