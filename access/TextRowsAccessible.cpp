#include "TextRowsAccessible.h"

#include <QWidget>

// One row: a leaf item that asks its widget's interface for its text.
class TextRowsAccessible::Row : public QAccessibleInterface
{
public:
    Row(const TextRowsAccessible *rows, int index) : m_rows(rows), m_index(index) {}

    bool isValid() const override { return m_rows->isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_rows->window(); }
    QAccessibleInterface *parent() const override { return const_cast<TextRowsAccessible *>(m_rows); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override
    {
        const Rows &rows = m_rows->m_rows;
        return rows.announced && rows.announced(m_index) ? QAccessible::Notification : rows.role;
    }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return m_rows->m_rows.text(m_index);
        if (t == QAccessible::Description && m_rows->m_rows.description)
            return m_rows->m_rows.description(m_index);
        return QString();
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = m_rows->state().invisible;
        return state;
    }

    QRect rect() const override
    {
        const QWidget *widget = m_rows->widget();
        const QRect local = m_rows->m_rows.rect ? m_rows->m_rows.rect(m_index) : widget->rect();
        return QRect(widget->mapToGlobal(local.topLeft()), local.size());
    }

private:
    const TextRowsAccessible *m_rows;
    int m_index;
};

TextRowsAccessible::TextRowsAccessible(QWidget *widget, QAccessible::Role role, Rows rows)
    : QAccessibleWidget(widget, role), m_rows(std::move(rows)), m_ids(m_rows.count, 0)
{
}

TextRowsAccessible::~TextRowsAccessible()
{
    for (QAccessible::Id id : m_ids)
        if (id)
            QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *TextRowsAccessible::child(int index) const
{
    if (index < 0 || index >= m_rows.count)
        return nullptr;
    // Rows are made when first asked for; the accessibility cache owns them
    // and this interface takes them back with it.
    if (!m_ids[index])
        m_ids[index] = QAccessible::registerAccessibleInterface(new Row(this, index));
    return QAccessible::accessibleInterface(m_ids[index]);
}

int TextRowsAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (int i = 0; i < m_rows.count; ++i)
        if (m_ids[i] && QAccessible::accessibleInterface(m_ids[i]) == child)
            return i;
    return -1;
}

QAccessibleInterface *TextRowsAccessible::childAt(int x, int y) const
{
    for (int i = 0; i < m_rows.count; ++i)
        if (QAccessibleInterface *row = child(i); row->rect().contains(x, y))
            return row;
    return nullptr;
}

QString TextRowsAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && m_rows.name)
        return m_rows.name();
    return QAccessibleWidget::text(t);
}

void TextRowsAccessible::rowChanged(QWidget *widget, int row)
{
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}

void TextRowsAccessible::rowAnnounced(QWidget *widget, int row)
{
    // Screen readers (Orca) speak a notification as it shows; Qt has no
    // announcement of its own for them here.
    QAccessibleEvent event(widget, QAccessible::ObjectShow);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}
