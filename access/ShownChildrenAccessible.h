#pragma once

#include <QAccessibleWidget>
#include <QStringList>

// A window as a screen reader finds it: its controls, leaving out those
// hidden (the dominoes taken off the board) and those named in `readElsewhere`
// (columns whose rows another control reads out as a whole).
class ShownChildrenAccessible : public QAccessibleWidget
{
public:
    ShownChildrenAccessible(QWidget *widget, QAccessible::Role role, QStringList readElsewhere = {});

    int childCount() const override { return int(shownChildren().size()); }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    QList<QWidget *> shownChildren() const;

    QStringList m_readElsewhere;
};
