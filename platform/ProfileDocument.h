#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// The contents of one profile file of sections and keys (settings, scores,
// language packs), held in memory so that many values can be read and written
// with one load and one save. Reads and writes behave as the Windows
// private-profile functions that the family's games were built on:
//
// - a line "[name]" opens a section; a line starting with ';' is a comment;
//   any other non-blank line in a section is a key line "name=value" (a line
//   without '=' is a key without a value: it is listed, but reading it gives
//   the default);
// - section and key names are compared without regard to letter case; spaces
//   and tabs around names and values are ignored;
// - the first section of a name and, in it, the first key of a name win;
// - lines before the first section belong to no section.
//
// Every line that a write does not touch keeps its exact bytes, including its
// own line end, so comments, blank lines, odd spacing and other games' keys
// survive any number of writes.
class ProfileDocument
{
public:
    enum class Encoding {
        Utf8,        // valid UTF-8 without a byte-order mark (also plain ASCII)
        Utf8WithBom, // UTF-8 behind the byte-order mark EF BB BF
        Utf16LE,     // UTF-16 little-endian behind the byte-order mark FF FE
        Windows1252, // anything else
    };

    // A value read with readString() is cut to this many characters.
    static constexpr int ValueLimit = 1023;
    // readSectionKeys() fills a buffer of this many bytes: each name takes its
    // length plus one, and one more byte ends the list.
    static constexpr int KeyListBufferSize = 8192;
    // readSection() fills a buffer of this many characters in the same way.
    static constexpr int SectionBufferSize = 32767;

    // The section's keys with their values, as a key list (readSectionKeys)
    // followed by a readString of each key would give them, in one pass: in
    // file order, a name that occurs twice listed once with its first value,
    // a key without '=' with an empty value.
    std::vector<std::pair<QString, QString>> readSectionValues(const QString &section) const;

    // An empty new file: UTF-8 without byte-order mark, CRLF line ends.
    ProfileDocument();

    // Reads a file's bytes. The encoding is taken from a byte-order mark, else
    // UTF-8 when the bytes are valid UTF-8, else Windows-1252. Lines end at
    // CRLF, LF or CR; new lines get the first line end found, CRLF if none.
    static ProfileDocument fromBytes(const QByteArray &bytes);

    // The file's bytes in its own encoding, with its byte-order mark if it had
    // one. A Windows-1252 file stays Windows-1252: characters the code page
    // lacks are written as '?', as the family's Windows games would write them.
    QByteArray toBytes() const;

    Encoding encoding() const { return m_encoding; }
    QString lineEnd() const { return m_lineEnd; }

    // The value of the key, or defaultValue when the section or key is missing
    // or the key has no '='. One pair of matching outer quotes (' or ") is
    // removed, and the result is cut to ValueLimit characters. As with
    // Windows, trailing spaces of the default are dropped as well.
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;

    // The section's key lines as "key=value" (or just "key" for a line
    // without '='), in file order, duplicates included, comments and blank
    // lines left out. Values are given as written, quotes included. Lines that
    // do not fit whole into SectionBufferSize are left out with all after them.
    QStringList readSection(const QString &section) const;

    // The section's key names in file order, duplicates included. Names that
    // do not fit whole into KeyListBufferSize are not seen, nor any after them.
    QStringList readSectionKeys(const QString &section) const;

    // Sets the key. An existing key's line (the first in the first section of
    // that name) becomes "name=value" with the name spelt as in the file; a
    // new key goes right after the last key line of its section (right after
    // the section line when it has none); a new section goes at the end of
    // the file with its key, without a blank line before it. A line break in
    // the value would split the line, so each becomes a space.
    void writeString(const QString &section, const QString &key, const QString &value);

private:
    enum class Kind { Blank, Comment, Section, Key };

    struct Line
    {
        QByteArray raw;     // the line's bytes as read, without its line end
        QString text;       // the line decoded
        QString end;        // "\r\n", "\n", "\r", or "" for an unended last line
        bool rewritten = false;
        Kind kind = Kind::Blank;
        QString name;       // section or key name, trimmed
        QString value;      // key value, trimmed
        bool hasValue = false;
    };

    static Line makeLine(const QString &text, const QString &end);
    static void classify(Line &line);

    QStringList listSection(const QString &section, int bufferSize, bool namesOnly) const;
    int findSection(const QString &section) const;
    int sectionEnd(int header) const;
    int findKey(int header, const QString &key) const;
    void insertLine(int index, const QString &text);
    QByteArray encode(const QString &text) const;
    QString decode(const QByteArray &bytes) const;

    Encoding m_encoding = Encoding::Utf8;
    QString m_lineEnd = QStringLiteral("\r\n");
    std::vector<Line> m_lines;
};
