#include "ProfileDocument.h"

#include "Characters.h"
#include "Windows1252.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstdint>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v';
}

// Trims spaces, tabs and vertical tabs only; other white space belongs to
// names and values.
QStringView trimmedView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QString trimmed(QStringView text)
{
    return trimmedView(text).toString();
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        int follow = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            follow = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            follow = 2;
            if (b == 0xE0)
                low = 0xA0;
            else if (b == 0xED)
                high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            follow = 3;
            if (b == 0xF0)
                low = 0x90;
            else if (b == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (i + follow >= n)
            return false;
        for (int k = 1; k <= follow; ++k) {
            const unsigned char c = p[i + k];
            const unsigned char lo = k == 1 ? low : 0x80;
            const unsigned char hi = k == 1 ? high : 0xBF;
            if (c < lo || c > hi)
                return false;
        }
        i += follow + 1;
    }
    return true;
}

// Removes one pair of matching outer quotes.
QString unquoted(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// A written line of a file without a byte-order mark: Windows-1252 as the
// family writes it, unless the code page lacks a character, or its bytes
// would read back as UTF-8 as something else ("\u00C3\u00B6" is C3 B6).
QByteArray encodeUnmarked(const QString &text)
{
    bool fits = true;
    for (const char32_t c : text.toUcs4())
        fits = fits && Windows1252::canEncode(c);
    if (fits) {
        QByteArray bytes = Windows1252::encode(text);
        if (isAscii(bytes) || !isValidUtf8(bytes))
            return bytes;
    }
    return text.toUtf8();
}

QByteArray encodeUtf16(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

} // namespace

ProfileDocument::ProfileDocument() = default;

ProfileDocument ProfileDocument::fromBytes(const QByteArray &bytes)
{
    ProfileDocument doc;
    int unit = 1;
    if (bytes.startsWith("\xFF\xFE")) {
        doc.m_encoding = Encoding::Utf16LE;
        doc.m_source = bytes.mid(2);
        unit = 2;
        if (doc.m_source.size() % 2) {
            doc.m_tail = doc.m_source.right(1);
            doc.m_source.chop(1);
        }
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        doc.m_encoding = Encoding::Utf8WithBom;
        doc.m_source = bytes.mid(3);
    } else {
        doc.m_encoding = Encoding::Utf8;
        doc.m_source = bytes;
    }
    const QByteArray &payload = doc.m_source;

    // Line ends are found in whole code units; in UTF-8 and Windows-1252 the
    // bytes CR and LF never occur inside a longer character.
    const auto unitAt = [&](qsizetype i) -> int {
        if (unit == 1)
            return static_cast<unsigned char>(payload[i]);
        return static_cast<unsigned char>(payload[i])
               | (static_cast<unsigned char>(payload[i + 1]) << 8);
    };
    const auto addLine = [&](qsizetype start, qsizetype length, End end) {
        Line line;
        line.offset = start;
        line.length = length;
        line.end = end;
        const QByteArray raw = QByteArray::fromRawData(payload.constData() + start, length);
        if (doc.m_encoding == Encoding::Utf8 && !isValidUtf8(raw))
            doc.m_encoding = Encoding::Windows1252;
        classify(line, decodeLine(raw, doc.m_encoding));
        doc.appendLine(std::move(line));
    };
    doc.m_lines.reserve(std::size_t(payload.count('\n') / unit + 1));
    bool styleFound = false;
    qsizetype start = 0;
    qsizetype i = 0;
    const qsizetype size = payload.size();
    while (i < size) {
        const int c = unitAt(i);
        if (c != '\r' && c != '\n') {
            i += unit;
            continue;
        }
        End end = c == '\n' ? End::Lf : End::Cr;
        qsizetype next = i + unit;
        if (c == '\r' && next < size && unitAt(next) == '\n') {
            end = End::CrLf;
            next += unit;
        }
        addLine(start, i - start, end);
        if (!styleFound) {
            doc.m_lineEnd = end;
            styleFound = true;
        }
        start = i = next;
    }
    if (start < size)
        addLine(start, size - start, End::None);
    return doc;
}

QByteArray ProfileDocument::toBytes() const
{
    QByteArray bytes;
    bytes.reserve(m_source.size() + 64);
    if (m_encoding == Encoding::Utf16LE)
        bytes = QByteArray("\xFF\xFE");
    else if (m_encoding == Encoding::Utf8WithBom)
        bytes = QByteArray("\xEF\xBB\xBF");
    const QByteArray ends[] = {endBytes(End::None), endBytes(End::CrLf), endBytes(End::Lf), endBytes(End::Cr)};
    for (int i = m_first; i >= 0; i = m_lines[i].next) {
        const Line &line = m_lines[i];
        if (line.rewritten)
            bytes += line.written;
        else
            bytes.append(m_source.constData() + line.offset, line.length);
        bytes += ends[int(line.end)];
    }
    return bytes + m_tail;
}

QByteArray ProfileDocument::endBytes(End end) const
{
    const char *text = end == End::CrLf ? "\r\n" : end == End::Lf ? "\n" : end == End::Cr ? "\r" : "";
    return m_encoding == Encoding::Utf16LE ? encodeUtf16(QString::fromLatin1(text)) : QByteArray(text);
}

// Decodes one line. Without a mark (and, for a stray byte, with the UTF-8
// mark too) a line that is not valid UTF-8 is Windows-1252. A byte-order mark
// inside the text is a character like any other, never dropped.
QString ProfileDocument::decodeLine(const QByteArray &bytes, Encoding encoding)
{
    if (encoding == Encoding::Utf16LE) {
        QString text;
        text.reserve(bytes.size() / 2);
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            text.append(QChar(char16_t(static_cast<unsigned char>(bytes[i])
                                       | (static_cast<unsigned char>(bytes[i + 1]) << 8))));
        return text;
    }
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (!isValidUtf8(bytes))
        return Windows1252::decode(bytes);
    // Qt's UTF-8 decoder drops a leading EF BB BF; here it is the line's text.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QChar(0xFEFF) + QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    return QString::fromUtf8(bytes);
}

void ProfileDocument::setLine(Line &line, const QString &text) const
{
    switch (m_encoding) {
    case Encoding::Utf8:
    case Encoding::Windows1252:
        line.written = encodeUnmarked(text);
        break;
    case Encoding::Utf8WithBom:
        line.written = text.toUtf8();
        break;
    case Encoding::Utf16LE:
        line.written = encodeUtf16(text);
        break;
    }
    line.rewritten = true;
    classify(line, text);
}

void ProfileDocument::classify(Line &line, const QString &fullText)
{
    line.name.clear();
    line.value.clear();
    line.hasValue = false;
    const QStringView text = trimmedView(fullText);
    if (text.isEmpty()) {
        line.kind = Kind::Blank;
        return;
    }
    if (text.front() == u';') {
        line.kind = Kind::Comment;
        return;
    }
    if (text.front() == u'[') {
        // Without its closing bracket the line names the section all the same.
        qsizetype close = text.indexOf(u']');
        if (close < 0)
            close = text.size();
        line.kind = Kind::Section;
        line.name = trimmed(text.mid(1, close - 1));
        return;
    }
    line.kind = Kind::Key;
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0) {
        line.name = text.toString();
        return;
    }
    line.name = trimmed(text.left(equals));
    line.value = trimmed(text.mid(equals + 1));
    line.hasValue = true;
}

void ProfileDocument::appendLine(Line line)
{
    const int index = int(m_lines.size());
    m_lines.push_back(std::move(line));
    if (m_last >= 0)
        m_lines[m_last].next = index;
    else
        m_first = index;
    m_last = index;
    indexLine(index);
}

// Takes into the indexes a line that stands at the end of the last section
// so far: a section line opens a section, a key line is its last key.
void ProfileDocument::indexLine(int index)
{
    const Line &line = m_lines[index];
    if (line.kind == Kind::Section) {
        const Name name{line.name};
        if (!m_sectionIndex.contains(name))
            m_sectionIndex.insert(name, int(m_sections.size()));
        m_sections.push_back({index, index});
    } else if (line.kind == Kind::Key && !m_sections.empty()) {
        const Name name{line.name, int(m_sections.size()) - 1};
        if (!m_keyIndex.contains(name))
            m_keyIndex.insert(name, index);
        m_sections.back().lastKey = index;
    }
}

void ProfileDocument::reindex()
{
    m_sections.clear();
    m_sectionIndex.clear();
    m_keyIndex.clear();
    for (int i = m_first; i >= 0; i = m_lines[i].next)
        indexLine(i);
}

// FNV-1a over the case-folded characters, as QString::compare() folds them
// when it compares without regard to case, so that equal names hash alike.
size_t ProfileDocument::Name::hash(size_t seed) const noexcept
{
    std::uint64_t hash = 14695981039346656037ULL ^ seed ^ std::uint64_t(std::uint32_t(section)) << 32;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x80) {
            if (c >= 'A' && c <= 'Z')
                c += 'a' - 'A';
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
            c = QChar::toCaseFolded(c);
        }
        hash = (hash ^ c) * 1099511628211ULL;
    }
    return size_t(hash ^ (hash >> 29));
}

int ProfileDocument::findSection(const QString &section) const
{
    return m_sectionIndex.value(Name{section}, -1);
}

int ProfileDocument::findKey(int section, const QString &key) const
{
    return m_keyIndex.value(Name{key, section}, -1);
}

QString ProfileDocument::readString(const QString &section, const QString &key,
                                    const QString &defaultValue) const
{
    const int found = findSection(section);
    const int index = found < 0 ? -1 : findKey(found, key);
    if (index < 0 || !m_lines[index].hasValue) {
        qsizetype end = defaultValue.size();
        while (end > 0 && defaultValue[end - 1] == u' ')
            --end;
        return leftCharacters(defaultValue.left(end), ValueLimit);
    }
    return leftCharacters(unquoted(m_lines[index].value), ValueLimit);
}

QStringList ProfileDocument::sectionNames() const
{
    QStringList names;
    names.reserve(qsizetype(m_sections.size()));
    for (const Section &section : m_sections)
        names << m_lines[section.line].name;
    return names;
}

bool ProfileDocument::hasSection(const QString &section) const
{
    return findSection(section) >= 0;
}

bool ProfileDocument::hasKey(const QString &section, const QString &key) const
{
    const int found = findSection(section);
    return found >= 0 && findKey(found, key) >= 0;
}

std::vector<ProfileDocument::KeyedSection> ProfileDocument::keyedSections() const
{
    std::vector<KeyedSection> sections;
    for (int s = 0; s < int(m_sections.size()); ++s) {
        const Line &header = m_lines[m_sections[s].line];
        if (findSection(header.name) != s)
            continue;
        KeyedSection section{header.name, {}};
        for (int i = header.next; i >= 0 && m_lines[i].kind != Kind::Section; i = m_lines[i].next) {
            const Line &line = m_lines[i];
            if (line.kind == Kind::Key && line.hasValue && !line.name.isEmpty() && findKey(s, line.name) == i)
                section.keys.emplace_back(line.name, line.value);
        }
        sections.push_back(std::move(section));
    }
    return sections;
}

std::vector<ProfileDocument::Mark> ProfileDocument::marks() const
{
    std::vector<Mark> marks;
    int number = 0;
    for (int i = m_first; i >= 0; i = m_lines[i].next) {
        const Line &line = m_lines[i];
        ++number;
        if (line.kind == Kind::Section || line.kind == Kind::Key)
            marks.push_back({number, line.kind == Kind::Section, line.name, line.value, line.hasValue});
    }
    return marks;
}

QStringList ProfileDocument::readSection(const QString &section) const
{
    return listSection(section, SectionBufferSize, false);
}

QStringList ProfileDocument::readSectionKeys(const QString &section) const
{
    return listSection(section, KeyListBufferSize, true);
}

QStringList ProfileDocument::listSection(const QString &section, int bufferSize, bool namesOnly) const
{
    QStringList entries;
    const int found = findSection(section);
    if (found < 0)
        return entries;
    // Each entry takes its characters and a terminating zero; one more zero
    // ends the list. What does not fit whole is not seen, nor anything after.
    qsizetype used = 0;
    for (int i = m_lines[m_sections[found].line].next; i >= 0 && m_lines[i].kind != Kind::Section;
         i = m_lines[i].next) {
        const Line &line = m_lines[i];
        if (line.kind != Kind::Key)
            continue;
        // The key list has the names of lines with '='; the line list has
        // every line, "=value" included.
        if (namesOnly && (!line.hasValue || line.name.isEmpty()))
            continue;
        const QString entry = namesOnly || !line.hasValue ? line.name : line.name + u'=' + line.value;
        used += characterCount(entry) + 1;
        if (used > bufferSize - 1)
            break;
        entries.append(entry);
    }
    return entries;
}

int ProfileDocument::insertAfter(int previous, const QString &text)
{
    // A line added after an unended last line gives that line an end first.
    if (previous >= 0 && m_lines[previous].end == End::None)
        m_lines[previous].end = m_lineEnd;
    Line line;
    line.end = m_lineEnd;
    setLine(line, text);
    const int index = int(m_lines.size());
    line.next = previous < 0 ? m_first : m_lines[previous].next;
    m_lines.push_back(std::move(line));
    if (previous < 0)
        m_first = index;
    else
        m_lines[previous].next = index;
    if (previous == m_last)
        m_last = index;
    return index;
}

void ProfileDocument::writeString(const QString &section, const QString &key,
                                  const QString &value)
{
    QString oneLine = value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');

    const int found = findSection(section);
    if (found < 0) {
        indexLine(insertAfter(m_last, u'[' + section + u']'));
        indexLine(insertAfter(m_last, key + u'=' + oneLine));
        return;
    }
    const int index = findKey(found, key);
    if (index >= 0) {
        // Still a key line of the same name: only its value changes.
        Line &line = m_lines[index];
        if (line.hasValue && line.value == oneLine)
            return;
        setLine(line, line.name + u'=' + oneLine);
        return;
    }
    const int added = insertAfter(m_sections[found].lastKey, key + u'=' + oneLine);
    const Line &line = m_lines[added];
    if (line.kind == Kind::Section) {
        // A key name that reads as a section line splits the section.
        reindex();
    } else if (line.kind == Kind::Key) {
        const Name name{line.name, found};
        if (!m_keyIndex.contains(name))
            m_keyIndex.insert(name, added);
        m_sections[found].lastKey = added;
    }
}

std::vector<std::pair<QString, QString>> ProfileDocument::readSectionValues(const QString &section) const
{
    std::vector<std::pair<QString, QString>> values;
    const int found = findSection(section);
    if (found < 0)
        return values;
    // The first line of each name holds its value.
    QHash<QString, QString> firstValues;
    for (int i = m_lines[m_sections[found].line].next; i >= 0 && m_lines[i].kind != Kind::Section;
         i = m_lines[i].next) {
        const Line &line = m_lines[i];
        if (line.kind != Kind::Key)
            continue;
        const QString folded = line.name.toCaseFolded();
        if (!firstValues.contains(folded))
            firstValues.insert(folded, line.hasValue ? leftCharacters(unquoted(line.value), ValueLimit) : QString());
    }
    QSet<QString> listed;
    for (const QString &name : readSectionKeys(section)) {
        const QString folded = name.toCaseFolded();
        if (listed.contains(folded))
            continue;
        listed.insert(folded);
        values.emplace_back(name, firstValues.value(folded));
    }
    return values;
}
