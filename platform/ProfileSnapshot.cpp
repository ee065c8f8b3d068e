#include "ProfileSnapshot.h"

namespace {

bool isUtf16(const QByteArray &bytes)
{
    return bytes.startsWith("\xFF\xFE");
}

bool isBreak(char c)
{
    return c == '\n' || c == '\r';
}

// Where the bytes after the last line break begin (0 when there is none).
qsizetype afterLastLineBreak(const QByteArray &bytes)
{
    if (isUtf16(bytes)) {
        // In whole code units behind the byte-order mark.
        for (qsizetype i = bytes.size() - 2 - (bytes.size() % 2); i >= 2; i -= 2) {
            if (isBreak(bytes[i]) && bytes[i + 1] == '\0')
                return i + 2;
        }
        return 0;
    }
    for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
        if (isBreak(bytes[i]))
            return i + 1;
    }
    return 0;
}

} // namespace

bool ProfileSnapshot::endsWithLineBreak(const QByteArray &bytes)
{
    return !bytes.isEmpty() && afterLastLineBreak(bytes) == bytes.size();
}

const std::vector<ProfileDocument::KeyedSection> &ProfileSnapshot::sections() const
{
    if (!m_sections)
        m_sections = ProfileDocument::fromBytes(m_bytes).keyedSections();
    return *m_sections;
}

bool ProfileSnapshot::lacksSomething(const ProfileDocument &document) const
{
    for (const auto &section : sections()) {
        if (!document.hasSection(section.name))
            return true;
        for (const auto &[key, value] : section.keys) {
            if (!document.hasKey(section.name, key))
                return true;
        }
    }
    return false;
}

bool ProfileSnapshot::looksTorn(const QByteArray &bytes, const ProfileDocument &document) const
{
    if (m_known && bytes == m_bytes)
        return false;
    return (bytes.isEmpty() && !m_empty) || (m_endsWithLineBreak && !endsWithLineBreak(bytes)) || lacksSomething(document);
}

ProfileDocument ProfileSnapshot::mend(QByteArray bytes) const
{
    // A last line without its break is the part of a line written so far.
    if (m_endsWithLineBreak && !endsWithLineBreak(bytes))
        bytes.truncate(afterLastLineBreak(bytes));
    ProfileDocument document = ProfileDocument::fromBytes(bytes);
    if (!lacksSomething(document))
        return document;
    for (const auto &section : sections()) {
        for (const auto &[key, value] : section.keys) {
            if (!document.hasKey(section.name, key))
                document.writeString(section.name, key, value);
        }
    }
    return document;
}

void ProfileSnapshot::remember(const ProfileDocument &document)
{
    QByteArray bytes = document.toBytes();
    if (m_known && bytes == m_bytes)
        return;
    m_endsWithLineBreak = endsWithLineBreak(bytes);
    m_empty = bytes.isEmpty();
    m_bytes = std::move(bytes);
    m_document = document;
    m_known = true;
    m_sections.reset();
}
