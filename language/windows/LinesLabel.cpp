#include "LinesLabel.h"

#include "language/TextFit.h"

#include <QEvent>
#include <QPainter>

LinesLabel::LinesLabel(const TextTargets::Control &control, QWidget *parent) : QLabel(parent), m_control(control)
{
    setObjectName(QString::fromLatin1(control.name));
    setFont(TextFit::font(control));
    const Qt::Alignment horizontal = control.align == TextTargets::Align::Right    ? Qt::AlignRight
                                     : control.align == TextTargets::Align::Center ? Qt::AlignHCenter
                                                                                   : Qt::AlignLeft;
    setAlignment(horizontal | Qt::AlignTop);
    setGeometry(TextFit::labelRect(control, text()));
    // A label's new text asks its parent to lay out again; the label
    // answers that itself.
    if (parent)
        parent->installEventFilter(this);
}

QStringList LinesLabel::splitLines(const QString &text)
{
    return TextFit::splitLines(text);
}

void LinesLabel::fitText()
{
    const QRect rect = TextFit::labelRect(m_control, text());
    if (geometry() != rect)
        setGeometry(rect);
}

bool LinesLabel::event(QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Polish)
        fitText();
    return QLabel::event(event);
}

bool LinesLabel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest)
        fitText();
    return QLabel::eventFilter(watched, event);
}

void LinesLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().windowText().color());
    const QStringList lines = splitLines(text());
    const int horizontal = int(alignment() & Qt::AlignHorizontal_Mask);
    const QFontMetrics metrics(font());
    for (int row = 0; row < lines.size(); ++row) {
        const QString &line = lines.at(row);
        const int advance = metrics.horizontalAdvance(line);
        QRect box(0, row * RowHeight, width(), RowHeight);
        painter.save();
        if (advance > width() && advance > 0) {
            const qreal squeeze = qreal(width()) / advance;
            painter.scale(squeeze, 1.0);
            box.setWidth(advance + 1);
        }
        painter.drawText(box, horizontal | Qt::AlignVCenter | Qt::TextSingleLine, line);
        painter.restore();
    }
}
