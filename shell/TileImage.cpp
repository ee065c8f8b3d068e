#include "TileImage.h"

#include "language/TextTable.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

TileImage::TileImage(SlotNumber slot, QWidget *parent) : QWidget(parent), m_slot(slot)
{
    setObjectName(QStringLiteral("Tile%1").arg(slot));
    TextTable::setTag(this, slot);
    resize(BoardFigure::TileWidth, BoardFigure::TileHeight);
    setCursor(Qt::PointingHandCursor);
    // The window gives it the focus (keys, and clicks that play it); a
    // press of the mouse alone does not take it.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TileImage::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void TileImage::setFlash(const QImage &picture)
{
    m_flash = picture;
    update();
}

void TileImage::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void TileImage::click()
{
    if (isEnabled())
        emit clicked(m_slot);
}

void TileImage::setFocusCue(bool shown)
{
    m_focusCue = shown;
    if (hasFocus())
        update();
}

void TileImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (shownPicture().isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(0, 0, shownPicture());
    if (m_focusCue && hasFocus()) {
        // Yellow and black dashes over the tile's outer two pixels: unlike
        // the selection's checkerboard of single pixels over the whole face,
        // and seen on white faces, black faces and any skin's colours.
        const QRectF frame(1, 1, width() - 2, height() - 2);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawRect(frame);
        QPen dashes(Qt::yellow, 2, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
        dashes.setDashPattern({1, 1}); // in pen widths: two pixels each
        painter.setPen(dashes);
        painter.drawRect(frame);
    }
}

void TileImage::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void TileImage::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked(m_slot);
}

void TileImage::mouseMoveEvent(QMouseEvent *)
{
    emit mouseMoved();
}
