#include "ColourGrid.h"

#include "settings/Wallpaper.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int columns = Wallpaper::GridColumns;
constexpr int rows = Wallpaper::ColourCount / Wallpaper::GridColumns;
} // namespace

ColourGrid::ColourGrid(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ColourGrid::setSelected(int index)
{
    if (index < 0 || index >= Wallpaper::ColourCount || index == m_selected)
        return;
    m_selected = index;
    update();
}

QRect ColourGrid::cellRect(int index) const
{
    const int column = index % columns;
    const int row = index / columns;
    const int left = column * width() / columns;
    const int top = row * height() / rows;
    return QRect(QPoint(left, top), QPoint((column + 1) * width() / columns - 1, (row + 1) * height() / rows - 1));
}

int ColourGrid::cellAt(QPoint point) const
{
    for (int i = 0; i < Wallpaper::ColourCount; ++i)
        if (cellRect(i).contains(point))
            return i;
    return -1;
}

void ColourGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int i = 0; i < Wallpaper::ColourCount; ++i) {
        const QRect cell = cellRect(i);
        painter.fillRect(cell.adjusted(1, 1, -1, -1), Wallpaper::colour(i));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(cell.adjusted(1, 1, -2, -2));
    }
    // The selected cell wears a frame that shows on light and dark colours.
    const QRect cell = cellRect(m_selected);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(cell.adjusted(2, 2, -3, -3));
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(cell.adjusted(3, 3, -4, -4));
    }
}

void ColourGrid::mousePressEvent(QMouseEvent *event)
{
    const int index = cellAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || index < 0)
        return;
    setSelected(index);
    emit selectionChanged(index);
}

void ColourGrid::keyPressEvent(QKeyEvent *event)
{
    int index = m_selected;
    switch (event->key()) {
    case Qt::Key_Left: index -= index % columns > 0 ? 1 : 0; break;
    case Qt::Key_Right: index += index % columns < columns - 1 ? 1 : 0; break;
    case Qt::Key_Up: index -= index >= columns ? columns : 0; break;
    case Qt::Key_Down: index += index + columns < Wallpaper::ColourCount ? columns : 0; break;
    default: QWidget::keyPressEvent(event); return;
    }
    if (index != m_selected) {
        setSelected(index);
        emit selectionChanged(index);
    }
}
