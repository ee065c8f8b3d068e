#pragma once

#include "platform/ResourceModule.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <memory>

// A skin library: a Windows resource-only DLL (PE32 or PE32+) read as data,
// never loaded or run. Bitmaps (type 2) are found by name without regard to
// case; strings (type 6) by number, in blocks of 16.
//
// Opening checks the whole way to every bitmap and string block: the headers,
// the sections, every directory entry and data entry against the file. A
// file that fails any check is a library that cannot be opened, so lookups
// later only read bytes already known to lie in the file.
class ResourceLibrary final : public ResourceModule
{
public:
    // Larger files are no skin libraries; they are not read at all.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    // What a library holds, as the family's games and kelvor-skin lay it
    // out: bitmaps and string tables by resource type, strings in blocks of
    // 16 (string n in block n / 16 + 1), each string at most 254 characters.
    static constexpr quint32 BitmapType = 2;
    static constexpr quint32 StringType = 6;
    static constexpr int StringsPerBlock = 16;
    static constexpr int MaxStringLength = 254;
    static constexpr int stringBlockOf(int id) { return id / StringsPerBlock + 1; }
    // The language of the tables kelvor-skin writes; a lookup takes the
    // language-neutral table first, then this one, then the first.
    static constexpr quint16 UsEnglish = 0x0409;

    // The library in that file, or nullptr when it cannot be opened (missing,
    // unreadable, or not a well-formed PE file with a resource directory).
    static std::unique_ptr<ResourceLibrary> open(const QString &path);
    // The same, from the bytes of a file.
    static std::unique_ptr<ResourceLibrary> fromBytes(const QByteArray &bytes);

    QImage bitmap(const QString &name) const override;
    QString string(int id) const override;

    // The names of the bitmaps as the library stores them (a numbered one
    // as "#" and its number), in order without regard to case.
    QStringList bitmapNames() const;
    // The bitmap's DIB as stored, empty when there is none of that name.
    QByteArray bitmapData(const QString &name) const;
    // The numbers of the strings that are not empty, ascending.
    QList<int> stringIds() const;

    // Where a resource's data lies in the file.
    struct Span
    {
        qint64 offset = 0;
        qint64 size = 0;
    };

private:
    ResourceLibrary() = default;
    bool index();

    QByteArray m_bytes;
    QMap<QString, Span> m_bitmaps;   // by upper-case name
    QMap<QString, QString> m_spelling; // upper-case name -> name as stored
    QHash<int, Span> m_stringBlocks; // by block number (string number / 16 + 1)
};
