#include "ShownChildrenAccessible.h"

#include <QWidget>

ShownChildrenAccessible::ShownChildrenAccessible(QWidget *widget, QAccessible::Role role, QStringList readElsewhere)
    : QAccessibleWidget(widget, role), m_readElsewhere(std::move(readElsewhere))
{
}

QList<QWidget *> ShownChildrenAccessible::shownChildren() const
{
    QList<QWidget *> shown;
    for (QObject *object : widget()->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        // Windows of their own (dialogs owned by this one) stand apart.
        if (!child || child->isWindow() || child->isHidden() || m_readElsewhere.contains(child->objectName()))
            continue;
        shown.append(child);
    }
    return shown;
}

QAccessibleInterface *ShownChildrenAccessible::child(int index) const
{
    const QList<QWidget *> shown = shownChildren();
    if (index < 0 || index >= shown.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(shown.at(index));
}

int ShownChildrenAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(shownChildren().indexOf(qobject_cast<QWidget *>(child->object())));
}
