#include "ProfileDocument.h"

#include "Characters.h"
#include "Windows1252.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Trims spaces and tabs only; other white space belongs to names and values.
QString trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
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

} // namespace

ProfileDocument::ProfileDocument() = default;

ProfileDocument ProfileDocument::fromBytes(const QByteArray &bytes)
{
    ProfileDocument doc;
    QByteArray payload = bytes;
    int unit = 1;
    if (bytes.startsWith("\xFF\xFE")) {
        doc.m_encoding = Encoding::Utf16LE;
        payload = bytes.mid(2);
        unit = 2;
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        doc.m_encoding = Encoding::Utf8WithBom;
        payload = bytes.mid(3);
    } else if (isValidUtf8(bytes)) {
        doc.m_encoding = Encoding::Utf8;
    } else {
        doc.m_encoding = Encoding::Windows1252;
    }

    // Line ends are found in whole code units; in UTF-8 the bytes CR and LF
    // never occur inside a longer sequence.
    const auto unitAt = [&](qsizetype i) -> int {
        if (unit == 1)
            return static_cast<unsigned char>(payload[i]);
        return static_cast<unsigned char>(payload[i])
               | (static_cast<unsigned char>(payload[i + 1]) << 8);
    };
    bool styleFound = false;
    qsizetype start = 0;
    qsizetype i = 0;
    const qsizetype whole = payload.size() - payload.size() % unit;
    while (i < whole) {
        const int c = unitAt(i);
        if (c != '\r' && c != '\n') {
            i += unit;
            continue;
        }
        QString end = c == '\n' ? QStringLiteral("\n") : QStringLiteral("\r");
        qsizetype next = i + unit;
        if (c == '\r' && next < whole && unitAt(next) == '\n') {
            end = QStringLiteral("\r\n");
            next += unit;
        }
        Line line;
        line.raw = payload.mid(start, i - start);
        line.text = doc.decode(line.raw);
        line.end = end;
        classify(line);
        doc.m_lines.push_back(std::move(line));
        if (!styleFound) {
            doc.m_lineEnd = end;
            styleFound = true;
        }
        start = i = next;
    }
    if (start < payload.size()) {
        // The last line has no line end (and, in UTF-16, maybe an odd byte,
        // which is kept but not read).
        Line line;
        line.raw = payload.mid(start);
        line.text = doc.decode(line.raw.left(whole - start));
        classify(line);
        doc.m_lines.push_back(std::move(line));
    }
    return doc;
}

QByteArray ProfileDocument::toBytes() const
{
    QByteArray bytes;
    if (m_encoding == Encoding::Utf16LE)
        bytes = QByteArray("\xFF\xFE");
    else if (m_encoding == Encoding::Utf8WithBom)
        bytes = QByteArray("\xEF\xBB\xBF");
    for (const Line &line : m_lines) {
        bytes += line.rewritten ? encode(line.text) : line.raw;
        bytes += encode(line.end);
    }
    return bytes;
}

QString ProfileDocument::decode(const QByteArray &bytes) const
{
    switch (m_encoding) {
    case Encoding::Utf8:
    case Encoding::Utf8WithBom:
        return QString::fromUtf8(bytes);
    case Encoding::Utf16LE: {
        QString text;
        text.reserve(bytes.size() / 2);
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            text.append(QChar(char16_t(static_cast<unsigned char>(bytes[i])
                                       | (static_cast<unsigned char>(bytes[i + 1]) << 8))));
        return text;
    }
    case Encoding::Windows1252:
        break;
    }
    return Windows1252::decode(bytes);
}

QByteArray ProfileDocument::encode(const QString &text) const
{
    switch (m_encoding) {
    case Encoding::Utf8:
    case Encoding::Utf8WithBom:
        return text.toUtf8();
    case Encoding::Utf16LE: {
        QByteArray bytes;
        bytes.reserve(text.size() * 2);
        for (QChar c : text) {
            bytes.append(char(c.unicode() & 0xFF));
            bytes.append(char(c.unicode() >> 8));
        }
        return bytes;
    }
    case Encoding::Windows1252:
        break;
    }
    return Windows1252::encode(text);
}

ProfileDocument::Line ProfileDocument::makeLine(const QString &text, const QString &end)
{
    Line line;
    line.text = text;
    line.end = end;
    line.rewritten = true;
    classify(line);
    return line;
}

void ProfileDocument::classify(Line &line)
{
    line.name.clear();
    line.value.clear();
    line.hasValue = false;
    const QString text = trimmed(line.text);
    if (text.isEmpty()) {
        line.kind = Kind::Blank;
        return;
    }
    if (text.front() == u';') {
        line.kind = Kind::Comment;
        return;
    }
    if (text.front() == u'[') {
        const qsizetype close = text.indexOf(u']');
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = trimmed(QStringView(text).mid(1, close - 1));
            return;
        }
    }
    line.kind = Kind::Key;
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0) {
        line.name = text;
        return;
    }
    line.name = trimmed(QStringView(text).left(equals));
    line.value = trimmed(QStringView(text).mid(equals + 1));
    line.hasValue = true;
}

int ProfileDocument::findSection(const QString &section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Kind::Section && sameName(m_lines[i].name, section))
            return int(i);
    }
    return -1;
}

int ProfileDocument::sectionEnd(int header) const
{
    int i = header + 1;
    while (i < int(m_lines.size()) && m_lines[i].kind != Kind::Section)
        ++i;
    return i;
}

int ProfileDocument::findKey(int header, const QString &key) const
{
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Key && sameName(m_lines[i].name, key))
            return i;
    }
    return -1;
}

QString ProfileDocument::readString(const QString &section, const QString &key,
                                    const QString &defaultValue) const
{
    const int header = findSection(section);
    const int index = header < 0 ? -1 : findKey(header, key);
    if (index < 0 || !m_lines[index].hasValue) {
        qsizetype end = defaultValue.size();
        while (end > 0 && defaultValue[end - 1] == u' ')
            --end;
        return leftCharacters(defaultValue.left(end), ValueLimit);
    }
    return leftCharacters(unquoted(m_lines[index].value), ValueLimit);
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
    const int header = findSection(section);
    if (header < 0)
        return entries;
    // Each entry takes its characters and a terminating zero; one more zero
    // ends the list. What does not fit whole is not seen, nor anything after.
    qsizetype used = 0;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const Line &line = m_lines[i];
        if (line.kind != Kind::Key || line.name.isEmpty())
            continue;
        const QString entry = namesOnly || !line.hasValue ? line.name : line.name + u'=' + line.value;
        used += characterCount(entry) + 1;
        if (used > bufferSize - 1)
            break;
        entries.append(entry);
    }
    return entries;
}

void ProfileDocument::insertLine(int index, const QString &text)
{
    // A line added after an unended last line gives that line an end first.
    if (index > 0 && m_lines[index - 1].end.isEmpty())
        m_lines[index - 1].end = m_lineEnd;
    m_lines.insert(m_lines.begin() + index, makeLine(text, m_lineEnd));
}

void ProfileDocument::writeString(const QString &section, const QString &key,
                                  const QString &value)
{
    QString oneLine = value;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');

    const int header = findSection(section);
    if (header < 0) {
        insertLine(int(m_lines.size()), u'[' + section + u']');
        insertLine(int(m_lines.size()), key + u'=' + oneLine);
        return;
    }
    const int index = findKey(header, key);
    if (index >= 0) {
        Line &line = m_lines[index];
        line.text = line.name + u'=' + oneLine;
        line.rewritten = true;
        classify(line);
        return;
    }
    int last = header;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Key)
            last = i;
    }
    insertLine(last + 1, key + u'=' + oneLine);
}
