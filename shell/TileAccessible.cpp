#include "TileAccessible.h"

#include "TileImage.h"
#include "TilePlace.h"

#include <QEvent>

namespace {

TileImage *tileAt(const QWidget *board, SlotNumber s)
{
    return board->findChild<TileImage *>(QStringLiteral("Tile%1").arg(s), Qt::FindDirectChildrenOnly);
}

// Tells a screen reader when a domino that lies on others leaves the board
// or comes back: the dominoes under it show, or no longer show.
class CoverWatch : public QObject
{
public:
    static CoverWatch &instance()
    {
        static CoverWatch watch;
        return watch;
    }

    // Watches `tile` if it lies on others, and the dominoes that lie on it.
    // (An interface can be made as its tile is, before the tiles above it.)
    void watchAround(TileImage *tile)
    {
        for (SlotNumber s = 1; s < tile->slot(); ++s)
            if (BoardFigure::coveredBy(s) & slotBit(tile->slot())) {
                watch(tile);
                break;
            }
        const SlotSet over = BoardFigure::coveredBy(tile->slot());
        for (SlotNumber t = tile->slot() + 1; t <= BoardFigure::SlotCount; ++t)
            if (over & slotBit(t))
                if (TileImage *top = tileAt(tile->parentWidget(), t))
                    watch(top);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show && event->type() != QEvent::Hide)
            return false;
        auto *top = static_cast<TileImage *>(watched);
        for (SlotNumber s = 1; s < top->slot(); ++s) {
            TileImage *under = (BoardFigure::coveredBy(s) & slotBit(top->slot())) ? tileAt(top->parentWidget(), s)
                                                                                 : nullptr;
            // A domino that is off the board itself says so by itself.
            if (!under || under->isHidden())
                continue;
            const bool shows = !TileAccessible::covered(under);
            QAccessible::State changed;
            changed.invisible = true;
            changed.offscreen = true;
            QAccessibleStateChangeEvent state(under, changed);
            QAccessible::updateAccessibility(&state);
            QAccessibleEvent showing(under, shows ? QAccessible::ObjectShow : QAccessible::ObjectHide);
            QAccessible::updateAccessibility(&showing);
        }
        return false;
    }

private:
    void watch(TileImage *top)
    {
        if (m_watched.contains(top))
            return;
        m_watched.append(top);
        top->installEventFilter(this);
        connect(top, &QObject::destroyed, this, [this, top] { m_watched.removeAll(top); });
    }

    QList<QObject *> m_watched;
};

} // namespace

TileAccessible::TileAccessible(TileImage *tile) : QAccessibleWidget(tile, QAccessible::Button)
{
    CoverWatch::instance().watchAround(tile);
}

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
    const QString pips = d.pips == 1 ? QStringLiteral("1 pip") : QStringLiteral("%1 pips").arg(d.pips);
    return QStringLiteral("Domino %1-%2, %3, face up").arg(d.upper).arg(d.lower).arg(pips);
}

QString TileAccessible::text(QAccessible::Text t) const
{
    const QString text = QAccessibleWidget::text(t);
    if (t != QAccessible::Name)
        return text;
    const QString place = TilePlace::of(tile()->slot());
    return text.isEmpty() ? place : text + QStringLiteral(", ") + place;
}

bool TileAccessible::covered(const TileImage *tile)
{
    const SlotSet over = BoardFigure::coveredBy(tile->slot());
    for (SlotNumber t = tile->slot() + 1; t <= BoardFigure::SlotCount; ++t)
        if (over & slotBit(t))
            if (const TileImage *top = tileAt(tile->parentWidget(), t); top && !top->isHidden())
                return true;
    return false;
}

QAccessible::State TileAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.selectable = tile()->isEnabled();
    state.selected = tile()->isSelected();
    if (covered(tile())) {
        state.invisible = true;
        state.offscreen = true;
    }
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
