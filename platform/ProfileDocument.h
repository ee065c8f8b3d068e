#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// The contents of one profile file of sections and keys (settings, scores,
// language packs), held in memory so that many values can be read and written
// with one load and one save. Reads and writes behave as the Windows
// private-profile functions that the family's games were built on:
//
// - a line starting with '[' opens a section, named by what stands up to the
//   closing ']' or, when there is none, up to the end of the line; a line
//   starting with ';' is a comment; any other non-blank line in a section is
//   a key line "name=value" (a line without '=' holds no key: reading it
//   gives the default and the key list leaves it out);
// - section and key names are compared without regard to letter case;
//   spaces, tabs and vertical tabs around names and values are ignored;
// - the first section of a name and, in it, the first key of a name win;
// - lines before the first section belong to no section.
//
// Every line that a write does not touch keeps its exact bytes, including its
// own line end, so comments, blank lines, odd spacing, other games' keys and
// bytes in any encoding survive any number of writes. Without a byte-order
// mark each line is read on its own: as UTF-8 when its bytes are valid UTF-8,
// else as Windows-1252 (the family's Windows games write that code page).
class ProfileDocument
{
public:
    enum class Encoding {
        Utf8,        // no byte-order mark, and every line valid UTF-8 (also plain ASCII)
        Utf8WithBom, // UTF-8 behind the byte-order mark EF BB BF
        Utf16LE,     // UTF-16 little-endian behind the byte-order mark FF FE
        Windows1252, // no byte-order mark, and some line not valid UTF-8
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
    // line by line (above). Lines end at CRLF, LF or CR; new lines get the
    // first line end found, CRLF if none. Reading costs time and memory in
    // proportion to the file's size, and so does every read and write after
    // it, however many sections and keys the file holds: sections and keys
    // are looked up by name, never searched for.
    static ProfileDocument fromBytes(const QByteArray &bytes);

    // The file's bytes, with its byte-order mark if it had one. Lines written
    // into a file without a mark are Windows-1252 when the code page has every
    // character (as the family's Windows games write them) and UTF-8 when it
    // does not; with a mark they take the mark's encoding. An odd last byte
    // of a UTF-16 file stays the last byte.
    QByteArray toBytes() const;

    // The value of the key, or defaultValue when the section or key is missing
    // or the key has no '='. One pair of matching outer quotes (' or ") is
    // removed, and the result is cut to ValueLimit characters. As with
    // Windows, trailing spaces of the default are dropped as well.
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;

    // The section's lines as "key=value" (or the line itself for a line
    // without '='; "=value" for a line with an empty name), trimmed, in file
    // order, duplicates included, comments and blank lines left out. Values are given as written, quotes included. Lines that
    // do not fit whole into SectionBufferSize are left out with all after them.
    QStringList readSection(const QString &section) const;

    // The section's key names in file order, duplicates included, of lines
    // with an '=' and a name only. Names that
    // do not fit whole into KeyListBufferSize are not seen, nor any after them.
    QStringList readSectionKeys(const QString &section) const;

    // The names of the file's sections in file order, duplicates included.
    QStringList sectionNames() const;

    // Whether the file has the section, and a key line (with or without '=')
    // of that name in it: as fast as a read of one value.
    bool hasSection(const QString &section) const;
    bool hasKey(const QString &section, const QString &key) const;

    // The sections that reads and writes go to, the first of each name, in
    // file order, each with the keys that have a value there: the first line
    // of each key name, when it has '=' and a name, its value as written.
    struct KeyedSection
    {
        QString name;
        std::vector<std::pair<QString, QString>> keys;
    };
    std::vector<KeyedSection> keyedSections() const;

    // Where each section line and key line stands, for a tool that reports
    // by line number: in file order, lines counted from 1, names and values
    // trimmed, values as written (quotes kept, not cut).
    struct Mark
    {
        int line;
        bool section; // a section line; otherwise a key line
        QString name;
        QString value;
        bool hasValue; // a key line with '='
    };
    std::vector<Mark> marks() const;

    // Sets the key. An existing key's line (the first in the first section of
    // that name) becomes "name=value" with the name spelt as in the file; a
    // new key goes right after the last key line of its section (right after
    // the section line when it has none); a new section goes at the end of
    // the file with its key, without a blank line before it. A line break in
    // the value would split the line, so each becomes a space. A key that
    // already holds the value keeps its line's bytes.
    void writeString(const QString &section, const QString &key, const QString &value);

private:
    enum class Kind : unsigned char { Blank, Comment, Section, Key };
    enum class End : unsigned char { None, CrLf, Lf, Cr };

    // One line. An untouched line is a stretch of m_source; a written one
    // holds its own bytes.
    struct Line
    {
        qsizetype offset = 0; // where the line starts in m_source
        qsizetype length = 0; // its bytes, without the line end
        QByteArray written;   // the bytes of a written line
        int next = -1;        // the line after it in the file, -1 after the last
        bool rewritten = false;
        End end = End::None;
        Kind kind = Kind::Blank;
        bool hasValue = false; // a key line with '='
        QString name;          // section or key name, trimmed
        QString value;         // key value, trimmed
    };

    // A section or key name as the indexes compare it: without regard to
    // case, a key within its section. Hashed by its case-folded characters
    // without making a folded copy.
    struct Name
    {
        QString text;
        int section = -1; // the section a key name belongs to
        friend bool operator==(const Name &a, const Name &b)
        {
            return a.section == b.section && a.text.compare(b.text, Qt::CaseInsensitive) == 0;
        }
        size_t hash(size_t seed) const noexcept;
        friend size_t qHash(const Name &name, size_t seed) noexcept { return name.hash(seed); }
    };

    // A section of the file: its line, and its last key line (its own line
    // while it has none), where a new key goes.
    struct Section
    {
        int line;
        int lastKey;
    };

    static void classify(Line &line, const QString &text);
    static QString decodeLine(const QByteArray &bytes, Encoding encoding);

    QByteArray endBytes(End end) const;
    QStringList listSection(const QString &section, int bufferSize, bool namesOnly) const;
    int findSection(const QString &section) const;
    int findKey(int section, const QString &key) const;
    int insertAfter(int previous, const QString &text);
    void appendLine(Line line);
    void indexLine(int index);
    void reindex();
    void setLine(Line &line, const QString &text) const;

    Encoding m_encoding = Encoding::Utf8;
    End m_lineEnd = End::CrLf;
    QByteArray m_source; // the file's bytes after any byte-order mark
    QByteArray m_tail;   // an odd last byte of a UTF-16 file
    // The lines as read, then the lines written since; their order in the
    // file runs from m_first through each line's `next`, so that adding a
    // line never moves the others.
    std::vector<Line> m_lines;
    int m_first = -1;
    int m_last = -1;
    std::vector<Section> m_sections; // in file order
    // The first section of each name and the first key line of each name in
    // a section.
    QHash<Name, int> m_sectionIndex; // name -> m_sections index
    QHash<Name, int> m_keyIndex;     // section and name -> line
};
