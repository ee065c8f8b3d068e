#include "AccessibleFactory.h"

#include "StatusBar.h"
#include "TileAccessible.h"
#include "TileImage.h"
#include "access/ShownChildrenAccessible.h"
#include "access/TextRowsAccessible.h"
#include "scores/windows/TScoresForm.h"

#include <QLabel>

namespace {

QAccessibleInterface *statusBarInterface(StatusBar *bar)
{
    TextRowsAccessible::Rows rows;
    rows.count = StatusBar::ReadingRowCount;
    rows.text = [bar](int row) { return bar->readingRow(row); };
    rows.rect = [bar](int row) { return bar->readingRowRect(row); };
    rows.announced = &StatusBar::readingRowAnnounced;
    rows.description = [bar](int row) { return bar->readingRowDescription(row); };
    return new TextRowsAccessible(bar, QAccessible::StatusBar, rows);
}

// The best players are drawn as four columns of labels; a screen reader
// reads them as one list, row by row, found in place of the names column.
QAccessibleInterface *bestPlayersInterface(QWidget *names, TScoresForm *form)
{
    TextRowsAccessible::Rows rows;
    rows.count = TScoresForm::BestPlayerRows;
    rows.role = QAccessible::ListItem;
    rows.name = [form] { return form->label(QStringLiteral("L7"))->text(); };
    rows.text = [form](int row) { return form->bestPlayerRow(row); };
    rows.rect = [form, names](int row) {
        const QRect r = form->bestPlayerRowRect(row);
        return QRect(names->mapFrom(form, r.topLeft()), r.size());
    };
    return new TextRowsAccessible(names, QAccessible::List, rows);
}

QAccessibleInterface *create(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("TileImage"))
        return new TileAccessible(static_cast<TileImage *>(widget));
    if (className == QLatin1String("TForm1"))
        return new ShownChildrenAccessible(widget, QAccessible::Window);
    if (className == QLatin1String("Announcer"))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    if (className == QLatin1String("StatusBar"))
        return statusBarInterface(static_cast<StatusBar *>(widget));
    if (className == QLatin1String("TScoresForm"))
        return new ShownChildrenAccessible(widget, QAccessible::Window, {QStringLiteral("L12"), QStringLiteral("LDomLeft"),
                                                                         QStringLiteral("LTime")});
    if (className == QLatin1String("LinesLabel") && widget->objectName() == QLatin1String("LName"))
        if (auto *form = qobject_cast<TScoresForm *>(widget->window()))
            return bestPlayersInterface(widget, form);
    return nullptr;
}

} // namespace

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(create);
        return true;
    }();
    Q_UNUSED(installed);
}
