#include "TileAccessible.h"

#include "TileImage.h"

TileAccessible::TileAccessible(TileImage *tile) : QAccessibleWidget(tile, QAccessible::Button) {}

TileImage *TileAccessible::tile() const
{
    return static_cast<TileImage *>(widget());
}

QString TileAccessible::name(DominoId domino, bool faceUp)
{
    // No language pack has these texts yet: they are English.
    if (!faceUp)
        return QStringLiteral("Face-down domino");
    const Domino &d = DominoSet::domino(domino);
    return QStringLiteral("Domino %1-%2, %3 pips, face up").arg(d.upper).arg(d.lower).arg(d.pips);
}

QAccessible::State TileAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.selectable = tile()->isEnabled();
    state.selected = tile()->isSelected();
    return state;
}

QStringList TileAccessible::actionNames() const
{
    return tile()->isEnabled() ? QStringList{pressAction()} : QStringList{};
}

void TileAccessible::doAction(const QString &action)
{
    // The click comes once the press has returned: a click that ends the
    // game with a best result opens the name entry, whose modal loop would
    // hold the screen reader's call until the player had typed a name.
    if (action == pressAction())
        QMetaObject::invokeMethod(tile(), &TileImage::click, Qt::QueuedConnection);
}
