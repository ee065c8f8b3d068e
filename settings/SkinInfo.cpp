#include "settings/SkinInfo.h"

#include "platform/ResourceModule.h"

#include <limits>

namespace {

// An optional sign and decimal digits within the 32-bit range, as a skin
// author's tools write a count; anything else is not a number.
bool parseCount(const QString &text, int &value)
{
    bool ok = false;
    qsizetype i = text.startsWith(u'+') || text.startsWith(u'-') ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    const qlonglong wide = text.toLongLong(&ok);
    if (!ok || wide < std::numeric_limits<int>::min() || wide > std::numeric_limits<int>::max())
        return false;
    value = int(wide);
    return true;
}

} // namespace

SkinInfo SkinInfo::read(const ResourceModule &module)
{
    // String numbers are 16 bits wide; an entry that a count puts beyond
    // them, or before the first, reads as empty like any missing entry.
    const auto entry = [&module](qint64 number) {
        return number >= 0 && number <= 0xFFFF ? module.string(int(number)) : QString();
    };
    SkinInfo info;
    info.marker = entry(1);
    const bool backsCounted = parseCount(entry(2), info.backCount);
    const qint64 n = info.backCount;
    for (qint64 back = 1; back <= n && back + 2 <= 0xFFFF; ++back)
        info.backTitles.append(entry(back + 2));
    const bool reservedCounted = parseCount(entry(n + 3), info.reservedCount);
    const qint64 m = info.reservedCount;
    info.author = entry(n + 2 * m + 4);
    info.description = entry(n + 2 * m + 5);
    info.countsAreNumbers = backsCounted && reservedCounted;
    return info;
}

bool SkinInfo::isValid() const
{
    return marker == FamilyMarker && countsAreNumbers;
}
