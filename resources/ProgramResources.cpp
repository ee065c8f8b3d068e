#include "resources/ProgramResources.h"

#include "game/BoardFigure.h"
#include "game/Family.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

QImage drawSelectionMark()
{
    constexpr int width = BoardFigure::TileWidth, height = BoardFigure::TileHeight;
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x + y) % 2);
    return image;
}

// The icon: a dark domino with an ivory rim and white pips, three over four.
// At 16 pixels it stands upright, drawn pixel by pixel so that it stays crisp.
QImage drawSmallIcon()
{
    static constexpr std::array<std::string_view, 16> pixels = {
        "................", //
        ".....ooooo......", //
        "....o####wo.....", //
        "....o#####os....", //
        "....o##w##os....", //
        "....o#####os....", //
        "....ow####os....", //
        "....ooooooos....", //
        "....ow###wos....", //
        "....o#####os....", //
        "....o#####os....", //
        "....o#####os....", //
        "....ow###wos....", //
        ".....ooooo.s....", //
        "......sssss.....", //
        "................", //
    };
    QImage image(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            QRgb colour = qRgba(0, 0, 0, 0);
            switch (pixels[y][x]) {
            case 'o': colour = qRgb(240, 232, 210); break;
            case '#': colour = qRgb(26, 30, 40); break;
            case 'w': colour = qRgb(255, 255, 255); break;
            case 's': colour = qRgba(0, 0, 0, 70); break;
            }
            image.setPixel(x, y, colour);
        }
    return image;
}

// Larger sizes lean the domino to the right and give it a soft shadow.
QImage drawIcon(int size)
{
    if (size <= 16)
        return drawSmallIcon();

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size * 0.42; // the domino is w wide and 2w long
    const qreal rim = std::max(1.0, size / 22.0);
    const QRectF body(-w / 2, -w, w, 2 * w);
    const qreal radius = w * 0.16;

    p.translate(size / 2.0, size / 2.0);
    p.rotate(25);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(body.translated(rim, rim), radius, radius);

    p.setBrush(QColor(26, 30, 40));
    p.setPen(QPen(QColor(240, 232, 210), rim));
    p.drawRoundedRect(body.adjusted(rim / 2, rim / 2, -rim / 2, -rim / 2), radius, radius);
    p.drawLine(QPointF(-w / 2 + rim, 0), QPointF(w / 2 - rim, 0));

    static constexpr std::array<std::string_view, 2> halves = {"..#.#.#..", "#.#...#.#"};
    const qreal pip = std::max(0.8, w * 0.1);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int half = 0; half < 2; ++half)
        for (int cell = 0; cell < 9; ++cell) {
            if (halves[half][cell] != '#')
                continue;
            const qreal x = -w / 2 + w * (0.25 + 0.25 * (cell % 3));
            const qreal y = -w + half * w + w * (0.25 + 0.25 * (cell / 3));
            p.drawEllipse(QPointF(x, y), pip, pip);
        }
    return image;
}

} // namespace

QImage ProgramResources::bitmap(const QString &name) const
{
    if (name.compare(QLatin1String("SELECTED"), Qt::CaseInsensitive) == 0) {
        static const QImage mark = drawSelectionMark();
        return mark;
    }
    return {};
}

QIcon ProgramResources::windowIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(drawIcon(size)));
    return icon;
}

QImage ProgramResources::iconImage(int size)
{
    return drawIcon(size).convertToFormat(QImage::Format_ARGB32);
}

QImage ProgramResources::logo(qreal devicePixelRatio)
{
    constexpr int width = 190, height = 90;
    QImage image(QSize(width, height) * devicePixelRatio, QImage::Format_RGB888);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Three ivory dominoes fanned out like a hand of cards: 6-6, 3-6, 1-5.
    static constexpr std::array<std::string_view, 7> pips = {
        ".........", "....#....", "#.......#", "#...#...#", "#.#...#.#", "#.#.#.#.#", "#.##.##.#",
    };
    struct Fanned
    {
        qreal angle;
        int top, bottom;
    };
    static constexpr std::array<Fanned, 3> hand = {{{-24, 1, 5}, {0, 3, 6}, {24, 6, 6}}};
    const qreal w = 17, radius = 3;
    for (const Fanned &domino : hand) {
        p.save();
        p.translate(width / 2.0, 62);
        p.rotate(domino.angle);
        p.translate(0, -30);
        p.setPen(QPen(QColor(120, 100, 60), 1));
        p.setBrush(QColor(244, 236, 214));
        p.drawRoundedRect(QRectF(-w / 2, -w, w, 2 * w), radius, radius);
        p.drawLine(QPointF(-w / 2 + 3, 0), QPointF(w / 2 - 3, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 30, 40));
        for (int half = 0; half < 2; ++half) {
            const std::string_view cells = pips[half == 0 ? domino.top : domino.bottom];
            for (int cell = 0; cell < 9; ++cell)
                if (cells[cell] == '#')
                    p.drawEllipse(QPointF(-w / 2 + w * (0.25 + 0.25 * (cell % 3)),
                                          -w + half * w + w * (0.25 + 0.25 * (cell / 3))),
                                  1.4, 1.4);
        }
        p.restore();
    }

    // The family's name in gold across the foot of the hand.
    QFont font(QStringLiteral("Serif"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(26);
    font.setBold(true);
    font.setItalic(true);
    p.setFont(font);
    const QRect band(0, 54, width, 34);
    p.setPen(QColor(90, 50, 0));
    p.drawText(band.translated(2, 2), Qt::AlignCenter, QString::fromLatin1(Family::Name));
    p.setPen(QColor(255, 204, 64));
    p.drawText(band, Qt::AlignCenter, QString::fromLatin1(Family::Name));
    p.end();
    return image;
}
