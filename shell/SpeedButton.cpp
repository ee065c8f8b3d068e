#include "SpeedButton.h"

#include <QEvent>
#include <QPainter>
#include <qdrawutil.h>

SpeedButton::SpeedButton(const QString &name, bool toggle, QWidget *parent)
    : QAbstractButton(parent), m_glyphs(Glyphs::forButton(name))
{
    setObjectName(name);
    setCheckable(toggle);
    setFocusPolicy(Qt::NoFocus);
    resize(24, 24);
}

bool SpeedButton::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTipChange)
        setAccessibleName(toolTip());
    return QAbstractButton::event(event);
}

void SpeedButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool pressed = QAbstractButton::isDown(); // held by the mouse
    const bool down = isChecked();                  // held by the program
    const bool sunken = pressed || down;
    const QPalette &pal = palette();
    if (down && !pressed) {
        // A button held down shows a dithered face, as toggles always have.
        qDrawWinButton(&painter, rect(), pal, true, nullptr);
        painter.fillRect(rect().adjusted(2, 2, -2, -2), pal.button());
        painter.fillRect(rect().adjusted(2, 2, -2, -2), QBrush(pal.light().color(), Qt::Dense4Pattern));
    } else {
        qDrawWinButton(&painter, rect(), pal, sunken, &pal.button());
    }

    const QPixmap &glyph = !isEnabled() ? m_glyphs.disabled
                           : pressed    ? m_glyphs.pressed
                           : down       ? m_glyphs.down
                                        : m_glyphs.up;
    const QSize size = glyph.deviceIndependentSize().toSize();
    QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
    if (sunken)
        at += QPoint(1, 1);
    painter.drawPixmap(at, glyph);
}
