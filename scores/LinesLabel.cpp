#include "LinesLabel.h"

#include <QPainter>

LinesLabel::LinesLabel(QWidget *parent) : QLabel(parent) {}

QStringList LinesLabel::splitLines(const QString &text)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r')) {
            line.append(c);
            continue;
        }
        // LF CR and CR LF are one break each.
        if (i + 1 < text.size()) {
            const QChar next = text.at(i + 1);
            if ((next == QLatin1Char('\n') || next == QLatin1Char('\r')) && next != c)
                ++i;
        }
        lines.append(line);
        line.clear();
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
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
