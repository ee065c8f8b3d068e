#include "platform/ResourceLibrary.h"

// Placeholder until the PE reader lands: no file opens as a library.
std::unique_ptr<ResourceLibrary> ResourceLibrary::open(const QString &)
{
    return nullptr;
}

std::unique_ptr<ResourceLibrary> ResourceLibrary::fromBytes(const QByteArray &)
{
    return nullptr;
}

QImage ResourceLibrary::bitmap(const QString &) const
{
    return {};
}

QString ResourceLibrary::string(int) const
{
    return {};
}
