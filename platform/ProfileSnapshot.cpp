#include "ProfileSnapshot.h"

#include <QSet>

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

// The names of the section's key lines, folded for comparing.
QSet<QString> keyNames(const ProfileDocument &document, const QString &section)
{
    QSet<QString> names;
    for (const QString &line : document.readSection(section))
        names.insert(line.section(u'=', 0, 0).trimmed().toCaseFolded());
    return names;
}

} // namespace

bool ProfileSnapshot::endsWithLineBreak(const QByteArray &bytes)
{
    return !bytes.isEmpty() && afterLastLineBreak(bytes) == bytes.size();
}

bool ProfileSnapshot::lacksSomething(const ProfileDocument &document) const
{
    QSet<QString> sections;
    for (const QString &name : document.sectionNames())
        sections.insert(name.toCaseFolded());
    for (const Section &section : m_sections) {
        if (!sections.contains(section.name.toCaseFolded()))
            return true;
        const QSet<QString> names = keyNames(document, section.name);
        for (const auto &[key, value] : section.keys) {
            if (!names.contains(key.toCaseFolded()))
                return true;
        }
    }
    return false;
}

bool ProfileSnapshot::looksTorn(const QByteArray &bytes, const ProfileDocument &document) const
{
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
    QSet<QString> sections;
    for (const QString &name : document.sectionNames())
        sections.insert(name.toCaseFolded());
    for (const Section &section : m_sections) {
        const QSet<QString> names = sections.contains(section.name.toCaseFolded())
                                        ? keyNames(document, section.name)
                                        : QSet<QString>();
        for (const auto &[key, value] : section.keys) {
            if (!names.contains(key.toCaseFolded()))
                document.writeString(section.name, key, value);
        }
    }
    return document;
}

void ProfileSnapshot::remember(const ProfileDocument &document)
{
    m_sections.clear();
    const QByteArray bytes = document.toBytes();
    m_endsWithLineBreak = endsWithLineBreak(bytes);
    m_empty = bytes.isEmpty();
    QSet<QString> seen;
    for (const QString &name : document.sectionNames()) {
        // The first section of a name is the one read and written.
        if (seen.contains(name.toCaseFolded()))
            continue;
        seen.insert(name.toCaseFolded());
        Section section{name, {}};
        QSet<QString> keys;
        for (const QString &line : document.readSection(name)) {
            const qsizetype equals = line.indexOf(u'=');
            // A line without '=' holds no value, and one without a name no key.
            if (equals <= 0)
                continue;
            const QString key = line.left(equals).trimmed();
            if (keys.contains(key.toCaseFolded()))
                continue;
            keys.insert(key.toCaseFolded());
            section.keys.emplace_back(key, line.mid(equals + 1).trimmed());
        }
        m_sections.push_back(std::move(section));
    }
}
