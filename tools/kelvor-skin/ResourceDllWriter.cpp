#include "tools/kelvor-skin/ResourceDllWriter.h"

#include "platform/ResourceLibrary.h"

#include <QList>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr quint32 BitmapType = ResourceLibrary::BitmapType;
constexpr quint32 StringType = ResourceLibrary::StringType;
constexpr int StringsPerBlock = ResourceLibrary::StringsPerBlock;
constexpr quint16 UsEnglish = ResourceLibrary::UsEnglish;
constexpr quint32 SectionRva = 0x1000;
constexpr quint32 SectionAlignment = 0x1000;
constexpr quint32 FileAlignment = 0x200;
constexpr quint32 HeadersSize = 0x200;
constexpr quint32 ImageBase = 0x10000000;

qint64 alignUp(qint64 value, qint64 alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

class Out
{
public:
    void u16(quint16 v) { put(v, 2); }
    void u32(quint32 v) { put(v, 4); }
    void u8(quint8 v) { put(v, 1); }
    void bytes(const QByteArray &b) { m_data += b; }
    void padTo(qint64 size) { m_data.append(size - m_data.size(), '\0'); }
    void set32(qint64 at, quint32 v) { qToLittleEndian<quint32>(v, m_data.data() + at); }
    qint64 size() const { return m_data.size(); }
    QByteArray data() const { return m_data; }

private:
    void put(quint32 v, int n)
    {
        for (int i = 0; i < n; ++i)
            m_data.append(char((v >> (8 * i)) & 0xFF));
    }
    QByteArray m_data;
};

// One leaf of the resource tree: its type, its name (empty when numbered)
// or number, and its data.
struct Leaf
{
    quint32 type;
    QString name;
    quint32 id;
    QByteArray data;
};

// Named entries first, ordered by their code units; then numbers, ascending.
bool entryBefore(const Leaf &a, const Leaf &b)
{
    if (a.name.isEmpty() != b.name.isEmpty())
        return !a.name.isEmpty();
    if (!a.name.isEmpty())
        return a.name < b.name;
    return a.id < b.id;
}

QByteArray stringBlock(const QMap<int, QString> &strings, int block)
{
    Out out;
    for (int id = (block - 1) * StringsPerBlock; id < block * StringsPerBlock; ++id) {
        const QString text = strings.value(id);
        out.u16(quint16(text.size()));
        for (const QChar c : text)
            out.u16(c.unicode());
    }
    return out.data();
}

// The ".rsrc" section: the three directory levels, the data entries, the
// names, then the data, every piece aligned as the resource compiler does.
QByteArray resourceSection(QList<Leaf> leaves)
{
    std::sort(leaves.begin(), leaves.end(), [](const Leaf &a, const Leaf &b) {
        return a.type != b.type ? a.type < b.type : entryBefore(a, b);
    });
    QList<quint32> types;
    for (const Leaf &leaf : leaves)
        if (!types.contains(leaf.type))
            types.append(leaf.type);

    const auto directorySize = [](qint64 entries) { return 16 + 8 * entries; };
    // Offsets of every piece, from the section's start.
    qint64 at = directorySize(types.size());
    QList<qint64> typeDirectories;
    for (const quint32 type : types) {
        typeDirectories.append(at);
        at += directorySize(std::count_if(leaves.cbegin(), leaves.cend(),
                                          [type](const Leaf &l) { return l.type == type; }));
    }
    QList<qint64> languageDirectories, dataEntries, names, datas;
    for (qsizetype i = 0; i < leaves.size(); ++i) {
        languageDirectories.append(at);
        at += directorySize(1);
    }
    for (qsizetype i = 0; i < leaves.size(); ++i) {
        dataEntries.append(at);
        at += 16;
    }
    for (const Leaf &leaf : leaves) {
        names.append(at);
        if (!leaf.name.isEmpty())
            at += 2 + 2 * leaf.name.size();
    }
    at = alignUp(at, 8);
    for (const Leaf &leaf : leaves) {
        datas.append(at);
        at = alignUp(at + leaf.data.size(), 8);
    }

    Out out;
    const auto directory = [&out](qint64 named, qint64 numbered) {
        out.u32(0); // characteristics
        out.u32(0); // time stamp: none, so a build is reproducible
        out.u16(4); // version 4.0, as the resource compiler writes it
        out.u16(0);
        out.u16(quint16(named));
        out.u16(quint16(numbered));
    };
    directory(0, types.size());
    for (qsizetype t = 0; t < types.size(); ++t) {
        out.u32(types[t]);
        out.u32(quint32(0x80000000 | typeDirectories[t]));
    }
    for (const quint32 type : types) {
        qint64 named = 0, numbered = 0;
        for (const Leaf &leaf : leaves)
            if (leaf.type == type)
                ++(leaf.name.isEmpty() ? numbered : named);
        directory(named, numbered);
        for (qsizetype i = 0; i < leaves.size(); ++i) {
            if (leaves[i].type != type)
                continue;
            out.u32(leaves[i].name.isEmpty() ? leaves[i].id : quint32(0x80000000 | names[i]));
            out.u32(quint32(0x80000000 | languageDirectories[i]));
        }
    }
    for (qsizetype i = 0; i < leaves.size(); ++i) {
        directory(0, 1);
        out.u32(UsEnglish);
        out.u32(quint32(dataEntries[i]));
    }
    for (qsizetype i = 0; i < leaves.size(); ++i) {
        out.u32(quint32(SectionRva + datas[i]));
        out.u32(quint32(leaves[i].data.size()));
        out.u32(0); // code page
        out.u32(0);
    }
    for (const Leaf &leaf : leaves) {
        if (leaf.name.isEmpty())
            continue;
        out.u16(quint16(leaf.name.size()));
        for (const QChar c : leaf.name)
            out.u16(c.unicode());
    }
    for (qsizetype i = 0; i < leaves.size(); ++i) {
        out.padTo(datas[i]);
        out.bytes(leaves[i].data);
    }
    out.padTo(alignUp(out.size(), 8));
    return out.data();
}

} // namespace

void ResourceDllWriter::addBitmap(const QString &name, const QByteArray &dib)
{
    m_bitmaps.insert(name.toUpper(), dib);
}

void ResourceDllWriter::addString(int id, const QString &text)
{
    if (id >= 0 && id <= 0xFFFF)
        m_strings.insert(id, text);
}

QByteArray ResourceDllWriter::write() const
{
    QList<Leaf> leaves;
    for (auto it = m_bitmaps.cbegin(); it != m_bitmaps.cend(); ++it) {
        // "#12" names a numbered bitmap, as the resource tools write it.
        bool numbered = false;
        const uint id = it.key().startsWith(u'#') ? it.key().mid(1).toUInt(&numbered) : 0;
        if (numbered && id <= 0xFFFF)
            leaves.append({BitmapType, QString(), id, it.value()});
        else
            leaves.append({BitmapType, it.key(), 0, it.value()});
    }
    QList<int> blocks;
    for (auto it = m_strings.cbegin(); it != m_strings.cend(); ++it)
        if (!blocks.contains(ResourceLibrary::stringBlockOf(it.key())))
            blocks.append(ResourceLibrary::stringBlockOf(it.key()));
    for (const int block : blocks)
        leaves.append({StringType, QString(), quint32(block), stringBlock(m_strings, block)});

    const QByteArray section = resourceSection(leaves);
    const qint64 rawSize = alignUp(section.size(), FileAlignment);
    const qint64 imageSize = SectionRva + alignUp(section.size(), SectionAlignment);

    Out out;
    // DOS header: only the signature and the place of the PE header.
    out.u16(0x5A4D);
    out.padTo(0x3C);
    out.u32(0x40);
    // PE signature and file header: i386, one section, a DLL.
    out.u32(0x00004550);
    out.u16(0x014C);
    out.u16(1);
    out.u32(0); // time stamp
    out.u32(0);
    out.u32(0);
    out.u16(224);
    out.u16(0x2000 | 0x0100 | 0x0008 | 0x0004 | 0x0002); // DLL, 32-bit, stripped, executable image
    // Optional header, PE32.
    out.u16(0x010B);
    out.u8(2);
    out.u8(0);
    out.u32(0); // size of code
    out.u32(quint32(rawSize));
    out.u32(0);
    out.u32(0); // entry point: none, the library is never run
    out.u32(SectionRva); // base of code
    out.u32(SectionRva); // base of data
    out.u32(ImageBase);
    out.u32(SectionAlignment);
    out.u32(FileAlignment);
    out.u16(4); // operating system 4.0
    out.u16(0);
    out.u16(0); // image version
    out.u16(0);
    out.u16(4); // subsystem 4.0
    out.u16(0);
    out.u32(0);
    out.u32(quint32(imageSize));
    out.u32(HeadersSize);
    out.u32(0); // checksum
    out.u16(2); // Windows GUI
    out.u16(0x0100); // NX compatible
    out.u32(0x100000); // stack reserve and commit
    out.u32(0x1000);
    out.u32(0x100000); // heap reserve and commit
    out.u32(0x1000);
    out.u32(0);
    out.u32(16); // data directories
    for (int directory = 0; directory < 16; ++directory) {
        out.u32(directory == 2 ? SectionRva : 0);
        out.u32(directory == 2 ? quint32(section.size()) : 0);
    }
    // The one section.
    out.bytes(QByteArray(".rsrc\0\0\0", 8));
    out.u32(quint32(section.size()));
    out.u32(SectionRva);
    out.u32(quint32(rawSize));
    out.u32(HeadersSize);
    out.u32(0);
    out.u32(0);
    out.u16(0);
    out.u16(0);
    out.u32(0x40000040); // initialised data, readable
    out.padTo(HeadersSize);
    out.bytes(section);
    out.padTo(HeadersSize + rawSize);
    return out.data();
}
