#include "TextFit.h"

#include "platform/DesktopFonts.h"

#include <QFontMetrics>
#include <cstring>

using namespace TextTargets;

namespace {

bool sameParent(const Control &a, const Control &b)
{
    if (!a.parent || !b.parent)
        return a.parent == b.parent;
    return std::strcmp(a.parent, b.parent) == 0;
}

// Controls that show something in their parent's client area.
bool occupiesRoom(const Control &control)
{
    switch (control.kind) {
    case Kind::Timer:
    case Kind::OpenDialog:
    case Kind::Page:
    case Kind::PageControl:
        return false;
    default:
        return control.bounds.width > 0 || control.kind == Kind::Label;
    }
}

QSize parentSize(const Window &window, const Control &control)
{
    if (control.parent) {
        const Control &parent = TextTargets::control(window.name, control.parent);
        return {parent.bounds.width, parent.bounds.height};
    }
    return {window.width, window.height};
}

QString oneLine(QString text)
{
    return text.replace(u'\r', QString()).replace(u'\n', QStringLiteral("\\n"));
}

} // namespace

QFont TextFit::windowFont()
{
    return DesktopFonts::sansSerif(11);
}

QFont TextFit::font(const Control &control)
{
    switch (control.face) {
    case Face::Bold:
        return DesktopFonts::sansSerif(11, true);
    case Face::Fixed:
        return DesktopFonts::fixedPitch(11);
    case Face::Regular:
        break;
    }
    return windowFont();
}

QStringList TextFit::splitLines(const QString &text)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\n' && c != u'\r') {
            line.append(c);
            continue;
        }
        // LF CR and CR LF are one break each.
        if (i + 1 < text.size()) {
            const QChar next = text.at(i + 1);
            if ((next == u'\n' || next == u'\r') && next != c)
                ++i;
        }
        lines.append(line);
        line.clear();
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

QSize TextFit::textSize(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    const QStringList lines = splitLines(text);
    int width = 0;
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    return {width, int(qMax<qsizetype>(1, lines.size())) * RowHeight};
}

QRect TextFit::bounds(const Control &control)
{
    return {control.bounds.x, control.bounds.y, control.bounds.width, control.bounds.height};
}

QRect TextFit::labelRect(const Control &label, const QString &text)
{
    if (label.rows)
        return bounds(label);
    const QSize need = textSize(font(label), text);
    int x = label.bounds.x;
    if (label.align == Align::Right)
        x += label.bounds.width - need.width();
    else if (label.align == Align::Center)
        x += (label.bounds.width - need.width()) / 2;
    return {QPoint(x, label.bounds.y), need};
}

QFont TextFit::statusFont()
{
    return DesktopFonts::narrow(11, true);
}

int TextFit::statusPanelWidth(int panel, int barWidth)
{
    static constexpr double fractions[] = {0.25, 0.09, 0.17, 0.10};
    if (panel < StatusPanelCount - 1)
        return static_cast<int>(barWidth * fractions[panel]);
    int used = 0;
    for (int i = 0; i < StatusPanelCount - 1; ++i)
        used += statusPanelWidth(i, barWidth);
    return qMax(0, barWidth - used);
}

bool TextFit::statusPanelLowered(int panel)
{
    return panel == 1 || panel == 3 || panel == 4;
}

QRect TextFit::statusPanelRect(int panel, int barWidth, int barHeight)
{
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += statusPanelWidth(i, barWidth);
    return {left, 0, statusPanelWidth(panel, barWidth), barHeight};
}

QRect TextFit::statusTextRect(int panel, int barWidth, int barHeight)
{
    return statusTextRect(statusPanelRect(panel, barWidth, barHeight), statusPanelLowered(panel));
}

QRect TextFit::statusTextRect(const QRect &panel, bool lowered)
{
    const QRect cell = panel.adjusted(0, 2, -2, 0);
    return lowered ? cell.adjusted(1, 1, -1, -1) : cell.adjusted(2, 0, -2, 0);
}

TextFit::Texts TextFit::programTexts(const Window &window)
{
    Texts texts;
    for (const Control &control : TextTargets::controls())
        if (control.shows && std::strcmp(control.window, window.name) == 0)
            texts.insert(QString::fromLatin1(control.name), {QString::fromLatin1(control.shows)});
    if (std::strcmp(window.name, "Form1") == 0) {
        // The pairs on the board are far fewer than 100; the clock runs
        // to 99999 seconds, more than a day of play.
        texts.insert(QStringLiteral("StatusBar.1"), {QStringLiteral("99")});
        texts.insert(QStringLiteral("StatusBar.3"), {QStringLiteral("99999")});
    }
    return texts;
}

QList<TextFit::Cut> TextFit::cuts(const Window &window, const Texts &texts)
{
    QList<Cut> found;
    const auto name = [&](const Control &c) { return QStringLiteral("%1.%2").arg(window.name, c.name); };
    const auto textsOf = [&](const Control &c) { return texts.value(QString::fromLatin1(c.name)); };

    // Where each control shows: a label as its texts take it.
    const auto shownRect = [&](const Control &c) {
        if (c.kind != Kind::Label)
            return bounds(c);
        QRect rect;
        for (const QString &text : textsOf(c))
            rect = rect.united(labelRect(c, text));
        return rect;
    };

    int tabsWidth = 0;
    for (const Control &c : TextTargets::controls()) {
        if (std::strcmp(c.window, window.name) != 0 || c.fixed)
            continue;
        const QFont font = TextFit::font(c);
        for (const QString &text : textsOf(c)) {
            const QSize size = textSize(font, text);
            const QSize box(c.bounds.width, c.bounds.height);
            const auto cut = [&](const QString &why, QSize room, QSize need) {
                found.append({name(c), text, why, room, need});
            };
            switch (c.kind) {
            case Kind::Label: {
                if (c.rows) {
                    if (size.width() > box.width() || size.height() > box.height())
                        cut(QStringLiteral("too small"), box, size);
                    break;
                }
                const QRect rect = labelRect(c, text);
                const QSize parent = parentSize(window, c);
                const QString parentName = c.parent ? QString::fromLatin1(c.parent) : QStringLiteral("the window");
                if (rect.left() < 0)
                    cut(QStringLiteral("past the left edge of %1").arg(parentName),
                        {rect.right() + 1, size.height()}, size);
                if (rect.right() >= parent.width())
                    cut(QStringLiteral("past the right edge of %1").arg(parentName),
                        {parent.width() - rect.left(), size.height()}, size);
                if (rect.bottom() >= parent.height())
                    cut(QStringLiteral("past the bottom of %1").arg(parentName),
                        {size.width(), parent.height() - rect.top()}, size);
                const QRect design = bounds(c);
                for (const Control &other : TextTargets::controls()) {
                    if (&other == &c || std::strcmp(other.window, window.name) != 0 || !sameParent(c, other)
                        || !occupiesRoom(other))
                        continue;
                    const QRect there = shownRect(other);
                    // A neighbour that the design itself lets the label touch
                    // is no neighbour it grows over.
                    if (there.isEmpty() || !rect.intersects(there) || design.intersects(bounds(other)))
                        continue;
                    QSize room = size;
                    if (there.top() > rect.top())
                        room.setHeight(there.top() - rect.top());
                    else if (there.left() >= rect.left() + 1 && c.align != Align::Right)
                        room.setWidth(there.left() - rect.left());
                    else
                        room.setWidth(rect.right() - there.right());
                    cut(QStringLiteral("over %1").arg(QString::fromLatin1(other.name)), room, size);
                }
                break;
            }
            case Kind::Button: {
                const QSize need(size.width() + 2 * ButtonMargin, size.height() + ButtonFrame);
                if (need.width() > box.width() || need.height() > box.height())
                    cut(QStringLiteral("too small"), box, need);
                break;
            }
            case Kind::RadioButton: {
                const QSize need(size.width() + RadioMark, size.height());
                if (need.width() > box.width() || need.height() > box.height())
                    cut(QStringLiteral("too small"), box, need);
                break;
            }
            case Kind::GroupBox: {
                // The title is one line over the frame.
                const QSize need(size.width() + 2 * GroupTitleMargin, size.height());
                if (need.width() > box.width() || need.height() > RowHeight)
                    cut(QStringLiteral("title too long"), {box.width(), RowHeight}, need);
                break;
            }
            case Kind::Page: {
                // The tabs stand side by side along the page control's top.
                const Control &pages = TextTargets::control(window.name, c.parent);
                const int before = tabsWidth;
                tabsWidth += size.width() + 2 * TabMargin;
                if (tabsWidth > pages.bounds.width || size.height() > RowHeight)
                    cut(QStringLiteral("tab past the right edge of %1").arg(QString::fromLatin1(pages.name)),
                        {pages.bounds.width - before, RowHeight}, {size.width() + 2 * TabMargin, size.height()});
                break;
            }
            case Kind::StatusBar:
                break;
            default:
                break;
            }
        }
        if (c.kind == Kind::StatusBar) {
            const QFont statusFont = TextFit::statusFont();
            for (int panel = 0; panel < StatusPanelCount; ++panel) {
                const QSize room = statusTextRect(panel, c.bounds.width, c.bounds.height).size();
                for (const QString &text : texts.value(QStringLiteral("StatusBar.%1").arg(panel))) {
                    const QSize need(QFontMetrics(statusFont).horizontalAdvance(text),
                                     int(splitLines(text).size()) > 1 ? 2 * RowHeight : room.height());
                    if (need.width() > room.width() || need.height() > room.height())
                        found.append({QStringLiteral("%1 panel %2").arg(name(c)).arg(panel), text,
                                      QStringLiteral("too small"), room, need});
                }
            }
        }
    }
    return found;
}

QString TextFit::describe(const Cut &cut)
{
    return QStringLiteral("%1: \"%2\" needs %3 x %4 pixels, has %5 x %6 (%7)")
        .arg(cut.control, oneLine(cut.text))
        .arg(cut.need.width())
        .arg(cut.need.height())
        .arg(cut.room.width())
        .arg(cut.room.height())
        .arg(cut.why);
}
