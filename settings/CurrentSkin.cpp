#include "CurrentSkin.h"

#include "SkinFormat.h"
#include "platform/MessageSink.h"

CurrentSkin::CurrentSkin(const ResourceModule &standardSet, MessageSink *messages)
    : m_standardSet(standardSet), m_messages(messages)
{
}

CurrentSkin::~CurrentSkin() = default;

void CurrentSkin::useStandardSet()
{
    m_library.reset();
    m_name.clear();
    m_empty = false;
}

void CurrentSkin::useLibrary(std::unique_ptr<ResourceModule> library, const QString &name)
{
    m_library = std::move(library);
    m_name = name.toUpper();
    m_empty = !m_library;
}

QImage CurrentSkin::bitmap(const QString &name) const
{
    if (m_library) {
        QImage image = m_library->bitmap(name);
        if (!image.isNull())
            return image;
        QSet<QString> &reported = m_reported[m_name];
        const QString key = name.toUpper();
        if (!reported.contains(key)) {
            reported.insert(key);
            if (m_messages)
                m_messages->resourceNotFound(name);
        }
    }
    QImage image = m_standardSet.bitmap(name);
    if (image.isNull())
        image = m_standardSet.bitmap(SkinFormat::backName(1));
    return image;
}

QString CurrentSkin::string(int id) const
{
    return m_library ? m_library->string(id) : m_standardSet.string(id);
}
