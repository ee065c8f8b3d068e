#include "PixelPointer.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <cmath>

bool PixelPointer::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        break;
    default:
        return false;
    }
    // Only as the desktop hands the pointer to a window: from there Qt finds
    // the control under it.
    if (!watched->isWindowType())
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPointF at = mouse->position();
    const QPointF pixel(std::floor(at.x()), std::floor(at.y()));
    // A press that becomes a double click reaches no control (the double
    // click does): it goes on as it is.
    if (pixel == at || (mouse->flags() & Qt::MouseEventCreatedDoubleClick))
        return false;
    const QPointF shift = pixel - at;
    QMouseEvent whole(mouse->type(), pixel, mouse->scenePosition() + shift, mouse->globalPosition() + shift,
                      mouse->button(), mouse->buttons(), mouse->modifiers(), mouse->source(),
                      mouse->pointingDevice());
    whole.setTimestamp(mouse->timestamp());
    QCoreApplication::sendEvent(watched, &whole);
    mouse->setAccepted(whole.isAccepted());
    return true;
}
