#include "WholeNumberReader.h"

#include "MessageSink.h"
#include "ProfileDocument.h"
#include "WholeNumber.h"

WholeNumberReader::WholeNumberReader(const ProfileDocument &document, MessageSink *messages,
                                     QString &lastReported)
    : m_document(document), m_messages(messages), m_lastReported(lastReported)
{
}

WholeNumberReader::~WholeNumberReader()
{
    if (m_clean)
        m_lastReported.clear();
}

int WholeNumberReader::read(const QString &section, const QString &key, int defaultValue)
{
    const QString text = m_document.readString(section, key, QString::number(defaultValue));
    int value = 0;
    if (WholeNumber::parse(text, value))
        return value;
    // One message a read, and none for the value reported last.
    if (m_clean) {
        if (m_messages && text != m_lastReported)
            m_messages->notValidInteger(text);
        m_lastReported = text;
    }
    m_clean = false;
    return defaultValue;
}
