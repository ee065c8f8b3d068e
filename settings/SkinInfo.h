#pragma once

#include <QString>
#include <QStringList>

class ResourceModule;

// What a skin says about itself in its numbered texts (SkinFormat).
class SkinInfo
{
public:
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
