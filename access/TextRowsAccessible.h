#pragma once

#include <QAccessibleWidget>
#include <functional>
#include <vector>

// What a screen reader finds in a widget that paints rows of text itself
// (the status bar's panels, the best players): a fixed number of rows, each
// an item named by its text now. The widget raises rowChanged for a row
// whose text changed, and rowAnnounced for one whose change the reader
// should speak at once, wherever the player is: such a row is a
// notification, which shows anew to be spoken, with its description.
class TextRowsAccessible : public QAccessibleWidget
{
public:
    struct Rows
    {
        int count = 0;
        QAccessible::Role role = QAccessible::StaticText;
        std::function<QString(int row)> text;
        std::function<QRect(int row)> rect; // in the widget's coordinates
        std::function<QString()> name;      // of the whole, when not the widget's own
        std::function<bool(int row)> announced; // rows that are notifications
        std::function<QString(int row)> description;
    };

    TextRowsAccessible(QWidget *widget, QAccessible::Role role, Rows rows);
    ~TextRowsAccessible() override;

    int childCount() const override { return m_rows.count; }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

    // Tells a screen reader that row `row` of `widget` reads differently.
    static void rowChanged(QWidget *widget, int row);
    // The reader speaks the row's text now, and its description.
    static void rowAnnounced(QWidget *widget, int row);

private:
    class Row;

    Rows m_rows;
    mutable std::vector<QAccessible::Id> m_ids;
};
