#pragma once

#include "TextTargets.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// How much room each text of the windows needs in the game's own fonts, and
// whether it has it there. The windows size their labels with it and place
// every control from the rows of TextTargets; the pack checker measures a
// pack's texts with it against the same rows. So the game and
// kelvor-lngcheck never disagree about what a player sees whole.
class TextFit
{
public:
    // A label's text row, as the design's labels of 13 pixels.
    static constexpr int RowHeight = 13;
    // Room a button leaves on each side of its text (its frame and some
    // air, so that no text runs edge to edge) and above and below its
    // rows, the mark and gap before a radio button's text, the margins of
    // a group box's title and of a page's tab.
    static constexpr int ButtonMargin = 5;
    static constexpr int ButtonFrame = 6;
    static constexpr int RadioMark = 18;
    static constexpr int GroupTitleMargin = 8;
    static constexpr int TabMargin = 10;

    // The windows' font, "MS Sans Serif" of 11 pixels.
    static QFont windowFont();
    static QFont font(const TextTargets::Control &control);

    // Lines of a text: a line break is LF, CR, or either pair of them (the
    // statistics texts end their rows with LF CR, which is one break).
    static QStringList splitLines(const QString &text);
    // The widest line's advance, and a row of RowHeight for each line (one
    // at least).
    static QSize textSize(const QFont &font, const QString &text);
    // Where a label shows its text: sized to it from the row's left and
    // top, its right edge kept when right-aligned, its centre kept when
    // centred; a label with rows keeps the row's bounds.
    static QRect labelRect(const TextTargets::Control &label, const QString &text);
    static QRect bounds(const TextTargets::Control &control);

    // The main window's status bar: panels 0 to 3 take 25, 9, 17 and 10 per
    // cent of the client width, each cut to a whole pixel, and panel 4 the
    // rest; panels 1, 3 and 4 are lowered.
    static constexpr int StatusPanelCount = 5;
    static QFont statusFont();
    static int statusPanelWidth(int panel, int barWidth);
    static bool statusPanelLowered(int panel);
    static QRect statusPanelRect(int panel, int barWidth, int barHeight);
    // The part of a panel its text may use: panels stand two pixels apart,
    // a lowered one's frame inside, and two pixels of margin in a plain one.
    static QRect statusTextRect(int panel, int barWidth, int barHeight);
    static QRect statusTextRect(const QRect &panel, bool lowered);

    // A text that the player would not see whole.
    struct Cut
    {
        QString control; // "Setup.Label2", "Form1.StatusBar panel 3"
        QString text;
        QString why;     // "past the right edge of GroupBox3", "over RB1", "too narrow"
        QSize room;
        QSize need;
    };
    // The texts each control of a window may show, by the control's name as
    // the table spells it; the status bar's panels are "StatusBar.0" to
    // "StatusBar.4".
    using Texts = QHash<QString, QStringList>;
    // Every text of the window that would be cut, each once.
    static QList<Cut> cuts(const TextTargets::Window &window, const Texts &texts);
    // The widest texts the program itself puts into the window's controls
    // (its numbers at their largest), where no language names the control.
    static Texts programTexts(const TextTargets::Window &window);
    // "Setup.Label2: \"Anordnung:\" needs 57 x 13 pixels, has 52 x 13 (over RB1)"
    static QString describe(const Cut &cut);
};
