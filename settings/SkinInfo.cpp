#include "settings/SkinInfo.h"

#include "SkinFormat.h"
#include "platform/ResourceModule.h"
#include "platform/WholeNumber.h"

SkinInfo SkinInfo::read(const ResourceModule &module)
{
    using namespace SkinFormat;
    // An entry that a count puts beyond the numbered texts, or before the
    // first, reads as empty like any missing entry.
    const auto entry = [&module](qint64 number) {
        return number >= 0 && number <= LastText ? module.string(int(number)) : QString();
    };
    SkinInfo info;
    info.marker = entry(MarkerText);
    const bool backsCounted = WholeNumber::parse(entry(BackCountText), info.backCount);
    const qint64 n = info.backCount;
    for (qint64 back = 1; back <= n && backTitleText(back) <= LastText; ++back)
        info.backTitles.append(entry(backTitleText(back)));
    const bool reservedCounted = WholeNumber::parse(entry(reservedCountText(n)), info.reservedCount);
    const qint64 m = info.reservedCount;
    info.author = entry(authorText(n, m));
    info.description = entry(descriptionText(n, m));
    info.countsAreNumbers = backsCounted && reservedCounted;
    return info;
}

bool SkinInfo::isValid() const
{
    return marker == SkinFormat::FamilyMarker && countsAreNumbers;
}
