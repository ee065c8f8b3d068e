#include "settings/SkinInfo.h"

#include "platform/ResourceModule.h"
#include "platform/WholeNumber.h"

SkinInfo SkinInfo::read(const ResourceModule &module)
{
    // String numbers are 16 bits wide; an entry that a count puts beyond
    // them, or before the first, reads as empty like any missing entry.
    const auto entry = [&module](qint64 number) {
        return number >= 0 && number <= 0xFFFF ? module.string(int(number)) : QString();
    };
    SkinInfo info;
    info.marker = entry(1);
    const bool backsCounted = WholeNumber::parse(entry(2), info.backCount);
    const qint64 n = info.backCount;
    for (qint64 back = 1; back <= n && back + 2 <= 0xFFFF; ++back)
        info.backTitles.append(entry(back + 2));
    const bool reservedCounted = WholeNumber::parse(entry(n + 3), info.reservedCount);
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
