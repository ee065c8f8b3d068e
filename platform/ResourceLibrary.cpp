#include "platform/ResourceLibrary.h"

#include "platform/DibFile.h"
#include "platform/RegularFile.h"

#include <QSet>
#include <QtEndian>

#include <optional>

namespace {

constexpr int MaxStringId = 0xFFFF;

// Windows loads no image with more sections than this.
constexpr int MaxSections = 96;
// Directory entries visited in one walk; far more than any skin has, and
// small enough that overlapping directories cannot make the walk slow.
constexpr int MaxDirectoryEntries = 65536;
constexpr quint16 NeutralLanguage = 0x0000;
constexpr quint16 UsEnglish = ResourceLibrary::UsEnglish;

// Little-endian reads that check every range against the bytes first.
class Bytes
{
public:
    explicit Bytes(QByteArrayView bytes) : m_bytes(bytes) {}

    bool has(qint64 at, qint64 length) const
    {
        return at >= 0 && length >= 0 && at <= m_bytes.size() && length <= m_bytes.size() - at;
    }
    std::optional<quint16> u16(qint64 at) const
    {
        if (!has(at, 2))
            return std::nullopt;
        return qFromLittleEndian<quint16>(m_bytes.data() + at);
    }
    std::optional<quint32> u32(qint64 at) const
    {
        if (!has(at, 4))
            return std::nullopt;
        return qFromLittleEndian<quint32>(m_bytes.data() + at);
    }
    qint64 size() const { return m_bytes.size(); }
    const char *data() const { return m_bytes.data(); }

private:
    QByteArrayView m_bytes;
};

struct Section
{
    quint32 virtualAddress = 0;
    quint32 rawSize = 0;
    quint32 rawOffset = 0;
};

// The headers of a PE32 or PE32+ image, as far as finding its resources
// needs them.
class PeImage
{
public:
    explicit PeImage(const Bytes &bytes) : m_bytes(bytes) {}

    bool parse()
    {
        if (m_bytes.size() < 64 || m_bytes.data()[0] != 'M' || m_bytes.data()[1] != 'Z')
            return false;
        const auto peAt = m_bytes.u32(0x3C);
        if (!peAt || !m_bytes.has(*peAt, 24) || qstrncmp(m_bytes.data() + *peAt, "PE\0\0", 4) != 0)
            return false;
        const qint64 coff = qint64(*peAt) + 4;
        const auto sectionCount = m_bytes.u16(coff + 2);
        const auto optionalSize = m_bytes.u16(coff + 16);
        const qint64 optional = coff + 20;
        const auto magic = m_bytes.u16(optional);
        if (!sectionCount || !optionalSize || !magic || *sectionCount > MaxSections)
            return false;

        // The data directories follow the fields whose width differs.
        qint64 directories = 0;
        if (*magic == 0x10B)
            directories = 96;
        else if (*magic == 0x20B)
            directories = 112;
        else
            return false;
        constexpr int ResourceDirectory = 2;
        const auto directoryCount = m_bytes.u32(optional + directories - 4);
        const qint64 resourceEntry = directories + 8 * ResourceDirectory;
        if (!directoryCount || *directoryCount <= ResourceDirectory || resourceEntry + 8 > *optionalSize)
            return false;
        const auto resourceRva = m_bytes.u32(optional + resourceEntry);
        if (!resourceRva || *resourceRva == 0)
            return false;
        m_resourceRva = *resourceRva;

        const qint64 table = optional + *optionalSize;
        if (!m_bytes.has(table, qint64(*sectionCount) * 40))
            return false;
        for (int i = 0; i < *sectionCount; ++i) {
            const qint64 at = table + 40 * i;
            Section section{*m_bytes.u32(at + 12), *m_bytes.u32(at + 16), *m_bytes.u32(at + 20)};
            // A section whose data the file does not hold is a cut file.
            if (section.rawSize != 0 && !m_bytes.has(section.rawOffset, section.rawSize))
                return false;
            m_sections.append(section);
        }
        return true;
    }

    // The file offset of `length` bytes at the address `rva`, when a
    // section holds all of them in the file.
    std::optional<qint64> offsetOf(quint64 rva, qint64 length) const
    {
        if (length < 0)
            return std::nullopt;
        for (const Section &section : m_sections) {
            if (rva < section.virtualAddress)
                continue;
            const quint64 into = rva - section.virtualAddress;
            if (into >= section.rawSize || quint64(length) > section.rawSize - into)
                continue;
            return qint64(section.rawOffset + into);
        }
        return std::nullopt;
    }

    quint32 resourceRva() const { return m_resourceRva; }

private:
    const Bytes &m_bytes;
    QList<Section> m_sections;
    quint32 m_resourceRva = 0;
};

struct DirectoryEntry
{
    bool named = false;
    quint32 id = 0;         // the number, or the name's offset when named
    bool directory = false;
    quint32 target = 0;     // a subdirectory's or a data entry's offset
};

// Walks the resource tree: offsets in it count from the directory's start.
// Each directory is read at most once, so a loop or two entries sharing a
// directory make the file malformed instead of endless.
class ResourceWalk
{
public:
    ResourceWalk(const Bytes &bytes, const PeImage &image) : m_bytes(bytes), m_image(image) {}

    std::optional<QList<DirectoryEntry>> directory(quint32 offset)
    {
        if (m_visited.contains(offset))
            return std::nullopt;
        m_visited.insert(offset);
        const auto at = at16(offset, 16);
        if (!at)
            return std::nullopt;
        const int count = *m_bytes.u16(*at + 12) + *m_bytes.u16(*at + 14);
        m_entries += count;
        if (m_entries > MaxDirectoryEntries)
            return std::nullopt;
        const auto entries = at16(quint64(offset) + 16, qint64(count) * 8);
        if (!entries)
            return std::nullopt;
        QList<DirectoryEntry> list;
        list.reserve(count);
        for (int i = 0; i < count; ++i) {
            const quint32 name = *m_bytes.u32(*entries + 8 * i);
            const quint32 data = *m_bytes.u32(*entries + 8 * i + 4);
            list.append({(name & 0x80000000u) != 0, name & 0x7FFFFFFFu, (data & 0x80000000u) != 0,
                         data & 0x7FFFFFFFu});
        }
        return list;
    }

    std::optional<QString> name(quint32 offset) const
    {
        const auto at = at16(offset, 2);
        if (!at)
            return std::nullopt;
        const quint16 length = *m_bytes.u16(*at);
        const auto text = at16(quint64(offset) + 2, qint64(length) * 2);
        if (!text)
            return std::nullopt;
        QString result(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            result[i] = QChar(*m_bytes.u16(*text + 2 * i));
        return result;
    }

    // The data that a data entry points to.
    std::optional<ResourceLibrary::Span> data(quint32 offset) const
    {
        const auto at = at16(offset, 16);
        if (!at)
            return std::nullopt;
        const quint32 rva = *m_bytes.u32(*at);
        const quint32 size = *m_bytes.u32(*at + 4);
        const auto where = m_image.offsetOf(rva, size);
        if (!where)
            return std::nullopt;
        return ResourceLibrary::Span{*where, size};
    }

private:
    // A place in the resource tree as a file offset.
    std::optional<qint64> at16(quint64 offset, qint64 length) const
    {
        return m_image.offsetOf(m_image.resourceRva() + offset, length);
    }

    const Bytes &m_bytes;
    const PeImage &m_image;
    QSet<quint32> m_visited;
    int m_entries = 0;
};

// The entry of the language a lookup would take: the neutral one, else US
// English, else the first.
const DirectoryEntry *chooseLanguage(const QList<DirectoryEntry> &languages)
{
    const DirectoryEntry *chosen = nullptr;
    for (const DirectoryEntry &entry : languages) {
        if (entry.named)
            continue;
        if (entry.id == NeutralLanguage)
            return &entry;
        if (!chosen || (entry.id == UsEnglish && chosen->id != UsEnglish))
            chosen = &entry;
    }
    return chosen;
}

} // namespace

std::unique_ptr<ResourceLibrary> ResourceLibrary::open(const QString &path)
{
    // Only regular files: a FIFO or a device is no library.
    QByteArray bytes;
    if (RegularFile::read(path, MaxFileSize, bytes) != RegularFile::Outcome::Read)
        return nullptr;
    return fromBytes(bytes);
}

std::unique_ptr<ResourceLibrary> ResourceLibrary::fromBytes(const QByteArray &bytes)
{
    if (bytes.size() > MaxFileSize)
        return nullptr;
    std::unique_ptr<ResourceLibrary> library(new ResourceLibrary);
    library->m_bytes = bytes;
    if (!library->index())
        return nullptr;
    return library;
}

bool ResourceLibrary::index()
{
    const Bytes bytes(m_bytes);
    PeImage image(bytes);
    if (!image.parse())
        return false;
    ResourceWalk walk(bytes, image);
    const auto types = walk.directory(0);
    if (!types)
        return false;
    for (const DirectoryEntry &type : *types) {
        if (type.named || (type.id != BitmapType && type.id != StringType))
            continue;
        if (!type.directory)
            return false;
        const auto names = walk.directory(type.target);
        if (!names)
            return false;
        for (const DirectoryEntry &name : *names) {
            if (!name.directory)
                return false;
            const auto languages = walk.directory(name.target);
            if (!languages)
                return false;
            for (const DirectoryEntry &language : *languages)
                if (language.directory || !walk.data(language.target))
                    return false;
            const DirectoryEntry *chosen = chooseLanguage(*languages);
            if (!chosen)
                continue;
            const Span span = *walk.data(chosen->target);
            if (type.id == StringType) {
                // Blocks 1 to 4096 hold the numbers 0 to 65535; no string
                // can be asked from any other.
                if (!name.named && name.id >= 1 && name.id <= MaxStringId / StringsPerBlock + 1
                    && !m_stringBlocks.contains(int(name.id)))
                    m_stringBlocks.insert(int(name.id), span);
                continue;
            }
            QString stored;
            if (name.named) {
                const auto text = walk.name(name.id);
                if (!text)
                    return false;
                stored = *text;
            } else {
                stored = QLatin1Char('#') + QString::number(name.id);
            }
            const QString key = stored.toUpper();
            if (!m_bitmaps.contains(key)) {
                m_bitmaps.insert(key, span);
                m_spelling.insert(key, stored);
            }
        }
    }
    return true;
}

QImage ResourceLibrary::bitmap(const QString &name) const
{
    const QByteArray dib = bitmapData(name);
    return dib.isEmpty() ? QImage() : DibFile::decode(dib);
}

QByteArray ResourceLibrary::bitmapData(const QString &name) const
{
    const auto found = m_bitmaps.constFind(name.toUpper());
    if (found == m_bitmaps.cend())
        return {};
    return m_bytes.mid(found->offset, found->size);
}

QStringList ResourceLibrary::bitmapNames() const
{
    return m_spelling.values();
}

QString ResourceLibrary::string(int id) const
{
    if (id < 0 || id > MaxStringId)
        return {};
    const auto block = m_stringBlocks.constFind(stringBlockOf(id));
    if (block == m_stringBlocks.cend())
        return {};
    // A block holds 16 counted strings, each a length and that many UTF-16
    // units; a block cut short simply has no more strings.
    const Bytes bytes(QByteArrayView(m_bytes).sliced(block->offset, block->size));
    qint64 at = 0;
    for (int index = 0; index < id % StringsPerBlock; ++index) {
        const auto length = bytes.u16(at);
        if (!length)
            return {};
        at += 2 + 2 * qint64(*length);
    }
    const auto length = bytes.u16(at);
    if (!length || !bytes.has(at + 2, 2 * qint64(*length)))
        return {};
    int kept = qMin<int>(*length, MaxStringLength);
    QString text(kept, Qt::Uninitialized);
    for (int i = 0; i < kept; ++i)
        text[i] = QChar(*bytes.u16(at + 2 + 2 * i));
    // Cutting must not leave half a surrogate pair behind.
    if (kept > 0 && text.at(kept - 1).isHighSurrogate())
        text.chop(1);
    return text;
}

QList<int> ResourceLibrary::stringIds() const
{
    QList<int> blocks = m_stringBlocks.keys();
    std::sort(blocks.begin(), blocks.end());
    QList<int> ids;
    for (const int block : blocks)
        for (int id = (block - 1) * StringsPerBlock; id < block * StringsPerBlock && id <= MaxStringId; ++id)
            if (id >= 0 && !string(id).isEmpty())
                ids.append(id);
    return ids;
}
