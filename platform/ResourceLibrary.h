#pragma once

#include "platform/ResourceModule.h"

#include <QByteArray>
#include <memory>

// A skin library: a Windows resource-only DLL (PE32 or PE32+) read as data,
// never loaded or run. Bitmaps (type 2) are found by name without regard to
// case; strings (type 6) by number, in blocks of 16.
class ResourceLibrary final : public ResourceModule
{
public:
    // The library in that file, or nullptr when it cannot be opened (missing,
    // unreadable, or not a well-formed PE file with a resource directory).
    static std::unique_ptr<ResourceLibrary> open(const QString &path);
    // The same, from the bytes of a file.
    static std::unique_ptr<ResourceLibrary> fromBytes(const QByteArray &bytes);

    QImage bitmap(const QString &name) const override;
    QString string(int id) const override;

private:
    ResourceLibrary() = default;
    QByteArray m_bytes;
};
