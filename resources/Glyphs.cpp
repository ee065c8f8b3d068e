#include "resources/Glyphs.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

// The colours one picture is drawn in; the "down" picture uses a second set.
struct Ink
{
    QColor primary, secondary, tertiary, outline;
};

using Art = void (*)(QPainter &, const Ink &);

void drawNewGame(QPainter &p, const Ink &ink)
{
    // An upright domino (one over two) ...
    p.setPen(QPen(ink.outline, 1.0));
    p.setBrush(ink.primary);
    p.drawRoundedRect(QRectF(2.5, 3.5, 7, 11), 1.5, 1.5);
    p.drawLine(QPointF(3, 9), QPointF(9, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(ink.outline);
    for (const QPointF &pip : {QPointF(6, 6.25), QPointF(4.5, 13), QPointF(7.5, 10.5)})
        p.drawEllipse(pip, 1.0, 1.0);

    // ... with a sparkle at its corner.
    const QPointF c(12.5, 3.5);
    const qreal arm = 3.0, waist = 0.9;
    QPainterPath star;
    star.moveTo(c + QPointF(0, -arm));
    star.lineTo(c + QPointF(waist, -waist));
    star.lineTo(c + QPointF(arm, 0));
    star.lineTo(c + QPointF(waist, waist));
    star.lineTo(c + QPointF(0, arm));
    star.lineTo(c + QPointF(-waist, waist));
    star.lineTo(c + QPointF(-arm, 0));
    star.lineTo(c + QPointF(-waist, -waist));
    star.closeSubpath();
    p.setPen(QPen(ink.tertiary, 0.7));
    p.setBrush(ink.secondary);
    p.drawPath(star);
}

void drawPause(QPainter &p, const Ink &ink)
{
    p.setPen(QPen(ink.outline, 1.0));
    p.setBrush(ink.primary);
    p.drawRoundedRect(QRectF(3.5, 2.5, 3.5, 11), 1, 1);
    p.drawRoundedRect(QRectF(9, 2.5, 3.5, 11), 1, 1);
}

void drawOptions(QPainter &p, const Ink &ink)
{
    const QPointF centre(8, 8);
    QPainterPath gear;
    gear.addEllipse(centre, 4.8, 4.8);
    for (int tooth = 0; tooth < 8; ++tooth) {
        QPainterPath t;
        t.addRect(QRectF(-1.3, -7.2, 2.6, 3.5));
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(tooth * 45.0);
        gear = gear.united(turn.map(t));
    }
    QPainterPath hole;
    hole.addEllipse(centre, 1.9, 1.9);
    gear = gear.subtracted(hole);

    p.setPen(QPen(ink.outline, 0.9));
    QLinearGradient shade(QPointF(2, 2), QPointF(14, 14));
    shade.setColorAt(0, ink.secondary);
    shade.setColorAt(1, ink.primary);
    p.setBrush(shade);
    p.drawPath(gear);
}

void drawStats(QPainter &p, const Ink &ink)
{
    p.setPen(QPen(ink.outline, 0.9));
    p.setBrush(ink.primary);
    p.drawRect(QRectF(4, 8, 2.5, 5.5));
    p.setBrush(ink.secondary);
    p.drawRect(QRectF(7.5, 3, 2.5, 10.5));
    p.setBrush(ink.tertiary);
    p.drawRect(QRectF(11, 6, 2.5, 7.5));

    // Axes.
    p.setPen(QPen(ink.outline, 1.2, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(2.2, 1.5), QPointF(2.2, 13.8));
    p.drawLine(QPointF(2.2, 13.8), QPointF(14.5, 13.8));
}

void drawBadge(QPainter &p, const Ink &ink)
{
    QRadialGradient shade(QPointF(6, 5.5), 9);
    shade.setColorAt(0, ink.secondary);
    shade.setColorAt(1, ink.primary);
    p.setPen(QPen(ink.outline, 1.0));
    p.setBrush(shade);
    p.drawEllipse(QPointF(8, 8), 6.6, 6.6);
}

void drawAbout(QPainter &p, const Ink &ink)
{
    drawBadge(p, ink);
    p.setPen(Qt::NoPen);
    p.setBrush(ink.tertiary);
    p.drawEllipse(QPointF(8, 4.8), 1.2, 1.2);
    QPainterPath letter;
    letter.moveTo(6.6, 7);
    letter.lineTo(9, 7);
    letter.lineTo(9, 11.4);
    letter.lineTo(10, 11.4);
    letter.lineTo(10, 12.6);
    letter.lineTo(6, 12.6);
    letter.lineTo(6, 11.4);
    letter.lineTo(7, 11.4);
    letter.lineTo(7, 8.2);
    letter.lineTo(6.6, 8.2);
    letter.closeSubpath();
    p.drawPath(letter);
}

void drawHelp(QPainter &p, const Ink &ink)
{
    drawBadge(p, ink);
    // The hook of the question mark: from the left, over the top, round to
    // the lower right, then in to the stem.
    const QRectF hook(5.6, 3.4, 4.8, 4.8);
    QPainterPath mark;
    mark.arcMoveTo(hook, 180);
    mark.arcTo(hook, 180, -240);
    mark.lineTo(8, 9.3);
    mark.lineTo(8, 10.1);
    p.setPen(QPen(ink.tertiary, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(ink.tertiary);
    p.drawEllipse(QPointF(8, 12.4), 1.1, 1.1);
}

struct Button
{
    const char *name;
    Art art;
    Ink up;
    Ink down;
    bool staysDown;
};

const QColor Dark(34, 34, 48);
const QColor Amber(236, 156, 28);
const QColor AmberLight(255, 214, 110);
const QColor AmberDark(150, 80, 0);

const Button Buttons[] = {
    {"NewGame", drawNewGame,
     {QColor(250, 246, 232), QColor(255, 222, 60), QColor(196, 120, 0), Dark}, {}, false},
    {"Pause", drawPause,
     {QColor(44, 96, 196), {}, {}, QColor(16, 36, 92)},
     {Amber, {}, {}, AmberDark}, true},
    {"Options", drawOptions,
     {QColor(78, 90, 112), QColor(176, 188, 208), {}, QColor(30, 34, 48)},
     {QColor(196, 128, 16), AmberLight, {}, AmberDark}, true},
    {"Stats", drawStats,
     {QColor(210, 60, 50), QColor(50, 160, 70), QColor(50, 100, 210), Dark},
     {Amber, AmberLight, QColor(255, 186, 70), AmberDark}, true},
    {"About", drawAbout,
     {QColor(28, 80, 190), QColor(110, 160, 240), Qt::white, QColor(12, 36, 100)},
     {QColor(214, 124, 10), AmberLight, Qt::white, AmberDark}, true},
    {"Help", drawHelp,
     {QColor(20, 128, 84), QColor(100, 210, 150), Qt::white, QColor(8, 70, 44)}, {}, false},
};

QImage render(Art art, const Ink &ink)
{
    QImage image(Glyphs::Size, Glyphs::Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    art(p, ink);
    return image;
}

QImage darkened(QImage image)
{
    // Scaling the colour channels of a premultiplied pixel, not its alpha,
    // keeps the pixel valid.
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            line[x] = qRgba(qRed(c) * 4 / 5, qGreen(c) * 4 / 5, qBlue(c) * 4 / 5, qAlpha(c));
        }
    }
    return image;
}

// Grey, low-contrast art over a white copy of its silhouette shifted one
// pixel down and right: the etched look of a disabled control.
QImage embossed(const QImage &up)
{
    QImage grey = up.convertToFormat(QImage::Format_ARGB32);
    QImage light = grey;
    for (int y = 0; y < grey.height(); ++y) {
        auto *greyLine = reinterpret_cast<QRgb *>(grey.scanLine(y));
        auto *lightLine = reinterpret_cast<QRgb *>(light.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int alpha = qAlpha(greyLine[x]);
            const int level = 104 + qGray(greyLine[x]) * 9 / 20;
            greyLine[x] = qRgba(level, level, level, alpha);
            lightLine[x] = qRgba(255, 255, 255, alpha);
        }
    }

    QImage result(up.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter p(&result);
    p.drawImage(1, 1, light);
    p.drawImage(0, 0, grey);
    return result;
}

} // namespace

Glyphs::GlyphSet Glyphs::forButton(const QString &objectName)
{
    for (const Button &button : Buttons) {
        if (objectName != QLatin1String(button.name))
            continue;
        const QImage up = render(button.art, button.up);
        GlyphSet set;
        set.up = QPixmap::fromImage(up);
        set.disabled = QPixmap::fromImage(embossed(up));
        set.pressed = QPixmap::fromImage(darkened(up));
        set.down = button.staysDown ? QPixmap::fromImage(render(button.art, button.down)) : set.pressed;
        return set;
    }
    return {};
}
