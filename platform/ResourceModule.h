#pragma once

#include <QImage>
#include <QString>

// A source of named bitmaps and numbered strings: the program's own
// resources, the built-in tile set, or a skin library read from a resource
// DLL. Names are compared without regard to letter case ("00bmp" finds
// "00BMP").
class ResourceModule
{
public:
    virtual ~ResourceModule() = default;

    // The bitmap of that name, or a null image when the module has none.
    virtual QImage bitmap(const QString &name) const = 0;
    // The string of that number (at most 254 characters), or an empty
    // string when the module has none.
    virtual QString string(int id) const { Q_UNUSED(id); return {}; }
};
