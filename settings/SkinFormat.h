#pragma once

#include "game/Family.h"

#include <QString>
#include <QStringView>

// The numbered texts and the back names of a skin library: what the game
// reads from a skin and what kelvor-skin builds and checks. The pictures'
// size is the board's tile (BoardFigure::TileWidth x TileHeight); the
// library's own layout is ResourceLibrary's.
namespace SkinFormat {

// Text 1, exactly, letter case included: a library without the family's
// name there is no skin.
inline const QString FamilyMarker = QString::fromLatin1(Family::Name);

// The texts in their order: the marker, the number of backs N, the N back
// titles, the number of reserved records M, two texts for each record
// (read past by the game), then the author line and the description.
constexpr int MarkerText = 1;
constexpr int BackCountText = 2;
// Texts are numbered in 16 bits; one beyond reads as missing.
constexpr int LastText = 0xFFFF;
constexpr qint64 backTitleText(qint64 back) { return back + 2; } // back from 1
constexpr qint64 reservedCountText(qint64 backs) { return backs + 3; }
constexpr qint64 recordText(qint64 backs, qint64 record) { return backs + 2 * record + 2; } // its first text
constexpr qint64 authorText(qint64 backs, qint64 reserved) { return backs + 2 * reserved + 4; }
constexpr qint64 descriptionText(qint64 backs, qint64 reserved) { return backs + 2 * reserved + 5; }

// A back's bitmap is "back" and three digits: "back001" for back 1.
inline const QString BackPrefix = QStringLiteral("back");
constexpr int BackDigits = 3;

// "back" and the last three digits of the number.
inline QString backName(int number)
{
    return BackPrefix + QString::number(number).rightJustified(BackDigits, u'0').right(BackDigits);
}

// The number of a bitmap named "back" and exactly three decimal digits,
// letter case aside; -1 for any other name.
inline int backNumber(QStringView name)
{
    if (name.size() != BackPrefix.size() + BackDigits || !name.startsWith(BackPrefix, Qt::CaseInsensitive))
        return -1;
    int number = 0;
    for (const QChar c : name.mid(BackPrefix.size())) {
        if (c < u'0' || c > u'9')
            return -1;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}

// The digits of a stored back name as the game reads them: the three characters
// after the prefix, whatever the prefix is.
inline QStringView backDigits(QStringView name)
{
    return name.mid(BackPrefix.size(), BackDigits);
}

} // namespace SkinFormat
