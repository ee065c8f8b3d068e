#pragma once

#include <QString>
#include <QStringList>

class ResourceModule;

// What a skin says about itself in its numbered texts: the family's marker
// (entry 1), the number of backs N (entry 2) and their titles (entries 3 to
// N + 2), the number of reserved records M (entry N + 3), which take two
// entries each and are read past, then the author line (entry N + 2M + 4)
// and the description (entry N + 2M + 5).
class SkinInfo
{
public:
    static inline const QString FamilyMarker = QStringLiteral("Tolvane...");

    static SkinInfo read(const ResourceModule &module);

    // Entry 1 is exactly the marker, letter case included, and both counts
    // are whole numbers.
    bool isValid() const;

    QString marker;
    int backCount = 0;
    QStringList backTitles;
    int reservedCount = 0;
    QString author;
    QString description;
    bool countsAreNumbers = false;
};
