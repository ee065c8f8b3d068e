#include "tools/kelvor-skin/SkinCommands.h"

#include "game/BoardFigure.h"
#include "game/DominoSet.h"
#include "platform/DibFile.h"
#include "platform/ResourceLibrary.h"
#include "settings/SkinFormat.h"
#include "settings/SkinInfo.h"
#include "tools/kelvor-skin/ResourceDllWriter.h"
#include "tools/kelvor-skin/SkinFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace {

constexpr QSize TileSize(BoardFigure::TileWidth, BoardFigure::TileHeight);

const char *const UsageText =
    "usage: kelvor-skin build FOLDER -o NAME.dll\n"
    "       kelvor-skin list NAME.dll\n"
    "       kelvor-skin extract NAME.dll FOLDER\n"
    "       kelvor-skin check NAME.dll\n"
    "       kelvor-skin --help\n";

const char *const HelpText =
    "kelvor-skin makes, lists, takes apart and checks skin libraries (Windows\n"
    "resource DLLs of domino pictures) for Kelvor and the other games of its\n"
    "family. A skin goes into the game folder's Skins folder.\n"
    "\n"
    "  kelvor-skin build FOLDER -o NAME.dll\n"
    "      makes the library NAME.dll from FOLDER: the 28 faces 00bmp to 66bmp\n"
    "      and the backs back001, back002, ... (numbered without a gap), BMP or\n"
    "      PNG files of 30 x 60 pixels named in any letter case, and skin.txt:\n"
    "          author: Faces and backs by Ann\n"
    "          description: Ivory dominoes\n"
    "          back 1: Walnut\n"
    "      Each text holds one line of at most 254 characters. A picture of\n"
    "      another size, a missing face, a gap in the backs or a file over\n"
    "      64 MB is refused by name, and no library is written.\n"
    "  kelvor-skin list NAME.dll\n"
    "      prints the library's marker, backs, records, author, description\n"
    "      and every bitmap with its size and colour depth.\n"
    "  kelvor-skin extract NAME.dll FOLDER\n"
    "      writes the pictures as .bmp files and skin.txt into FOLDER, which\n"
    "      build reads back; it writes nothing outside FOLDER and leaves out,\n"
    "      by name, a bitmap whose name makes no plain file name there.\n"
    "  kelvor-skin check NAME.dll\n"
    "      says whether the game would list the library, and each picture it\n"
    "      misses or would show otherwise than on Windows (and what the game\n"
    "      shows instead).\n"
    "  kelvor-skin --help, -h\n"
    "      prints this text.\n"
    "\n"
    "Exit status: 0 when the command did all it was asked (check: nothing is\n"
    "missing); 1 when a file could not be read or written, build refused the\n"
    "folder, extract left a picture out or check found something missing;\n"
    "2 on wrong use (an unknown command or option, or missing arguments).\n";

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// A file that extract writes: a save would follow a link already there to
// wherever it points, so a link is not written through.
bool writeIntoFolder(const QString &path, const QByteArray &bytes)
{
    return !QFileInfo(path).isSymLink() && writeFile(path, bytes);
}

// Longest file name the folder can take, in bytes.
constexpr int MaxFileName = 255;

// The file that extract writes a bitmap to: its name in lower case with
// ".bmp", inside the folder; empty when the resource's name would not make
// one plain file name there (a separator, a control character, too long).
QString bitmapFileName(const QString &resource)
{
    const QString file = resource.toLower() + QStringLiteral(".bmp");
    for (const QChar c : resource)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return {};
    if (resource.isEmpty() || file.toUtf8().size() > MaxFileName)
        return {};
    return file;
}

// The problems of one tile picture, empty when it is fine. Where the game
// would not show the library's picture, it says what stands in.
QString tileProblem(const ResourceLibrary &library, const QString &name)
{
    if (library.bitmapData(name).isEmpty())
        return QStringLiteral("missing; the game shows the standard set's picture in its place");
    const QImage image = library.bitmap(name);
    if (image.isNull())
        return QStringLiteral("is a bitmap the game cannot draw (of a kind it does not read, or over %1 pixels "
                              "a side); the standard set's picture stands in")
            .arg(DibFile::MaxSide);
    if (image.size() != TileSize)
        return QStringLiteral("is %1 x %2 pixels, not 30 x 60; the tile shows it from its top-left corner, cut "
                              "or short of the tile")
            .arg(image.width())
            .arg(image.height());
    return {};
}

} // namespace

int SkinCommands::run(const QStringList &arguments)
{
    const QString command = arguments.value(0);
    if (arguments.size() == 1 && (command == QLatin1String("--help") || command == QLatin1String("-h"))) {
        m_out << HelpText;
        return Fine;
    }
    if (command == QLatin1String("build") && arguments.size() == 4 && arguments[2] == QLatin1String("-o"))
        return build(arguments[1], arguments[3]);
    if (command == QLatin1String("list") && arguments.size() == 2)
        return list(arguments[1]);
    if (command == QLatin1String("extract") && arguments.size() == 3)
        return extract(arguments[1], arguments[2]);
    if (command == QLatin1String("check") && arguments.size() == 2)
        return check(arguments[1]);
    m_err << UsageText;
    return Usage;
}

int SkinCommands::build(const QString &folder, const QString &dll)
{
    SkinFolder source;
    QString error;
    if (!source.read(folder, error)) {
        m_err << "kelvor-skin: " << error << "\n";
        return Faulty;
    }
    ResourceDllWriter writer;
    for (auto it = source.bitmaps.cbegin(); it != source.bitmaps.cend(); ++it)
        writer.addBitmap(it.key(), it.value());
    for (auto it = source.strings.cbegin(); it != source.strings.cend(); ++it)
        writer.addString(it.key(), it.value());
    const QByteArray library = writer.write();
    if (library.size() > ResourceLibrary::MaxFileSize) {
        m_err << "kelvor-skin: " << dll << ": would be " << library.size() << " bytes; the game reads libraries of at most "
              << ResourceLibrary::MaxFileSize / (1024 * 1024) << " MB\n";
        return Faulty;
    }
    if (!writeFile(dll, library)) {
        m_err << "kelvor-skin: " << dll << ": cannot be written\n";
        return Faulty;
    }
    m_out << dll << ": " << source.bitmaps.size() << " pictures, " << source.strings.size() << " texts\n";
    return Fine;
}

int SkinCommands::list(const QString &dll)
{
    const auto library = ResourceLibrary::open(dll);
    if (!library) {
        m_err << "kelvor-skin: " << dll << ": not a library that can be opened\n";
        return Faulty;
    }
    const SkinInfo info = SkinInfo::read(*library);
    m_out << "marker: " << info.marker << "\n";
    m_out << "backs: " << library->string(SkinFormat::BackCountText) << "\n";
    for (qsizetype i = 0; i < info.backTitles.size(); ++i)
        m_out << "  back " << i + 1 << ": " << info.backTitles[i] << "\n";
    m_out << "reserved records: " << info.reservedCount << "\n";
    m_out << "author: " << info.author << "\n";
    m_out << "description: " << info.description << "\n";
    m_out << "bitmaps:\n";
    for (const QString &name : library->bitmapNames()) {
        const auto header = DibFile::header(library->bitmapData(name));
        m_out << "  " << name << ": ";
        if (header)
            m_out << header->width << " x " << qAbs(header->height) << ", " << header->bits
                  << (header->bits == 1 ? " bit" : " bits") << "\n";
        else
            m_out << "not a bitmap that can be decoded\n";
    }
    return Fine;
}

int SkinCommands::extract(const QString &dll, const QString &folder)
{
    const auto library = ResourceLibrary::open(dll);
    if (!library) {
        m_err << "kelvor-skin: " << dll << ": not a library that can be opened\n";
        return Faulty;
    }
    if (!QDir().mkpath(folder)) {
        m_err << "kelvor-skin: " << folder << ": cannot be made\n";
        return Faulty;
    }
    const QDir dir(folder);
    int status = Fine;
    QSet<QString> written; // file names, without regard to case
    qint64 total = 0;
    for (const QString &name : library->bitmapNames()) {
        // The picture goes back into a .bmp file as stored, so a build from
        // the folder stores the same picture again; only bytes past its end,
        // which no picture shows, are left behind.
        const QByteArray dib = library->bitmapData(name);
        const QByteArray file = DibFile::withFileHeader(QByteArrayView(dib).first(DibFile::extent(dib)));
        const QString fileName = bitmapFileName(name);
        if (fileName.isEmpty() || written.contains(fileName.toUpper())) {
            m_err << "kelvor-skin: bitmap \"" << name << "\": its name makes no file name of its own in "
                  << folder << "; left out\n";
            status = Faulty;
            continue;
        }
        if (file.isEmpty()) {
            m_err << "kelvor-skin: " << name << ": not a bitmap that can be decoded; left out\n";
            status = Faulty;
            continue;
        }
        // What a folder holds must build again into a library the game reads.
        if (total + file.size() > ResourceLibrary::MaxFileSize) {
            m_err << "kelvor-skin: " << name << ": the pictures come to more than "
                  << ResourceLibrary::MaxFileSize / (1024 * 1024) << " MB, more than the game reads; left out\n";
            status = Faulty;
            continue;
        }
        total += file.size();
        written.insert(fileName.toUpper());
        const QString path = dir.filePath(fileName);
        if (!writeIntoFolder(path, file)) {
            m_err << "kelvor-skin: " << path << ": cannot be written\n";
            return Faulty;
        }
    }
    const SkinInfo info = SkinInfo::read(*library);
    SkinText text;
    text.author = info.author;
    text.description = info.description;
    text.backTitles = info.backTitles;
    const qint64 n = info.backCount;
    for (qint64 c = 1; c <= info.reservedCount && SkinFormat::recordText(n, c) + 1 <= SkinFormat::LastText; ++c) {
        const int first = int(SkinFormat::recordText(n, c));
        text.records.append({library->string(first), library->string(first + 1)});
    }
    const QString textPath = dir.filePath(QStringLiteral("skin.txt"));
    if (!writeIntoFolder(textPath, text.format().toUtf8())) {
        m_err << "kelvor-skin: " << textPath << ": cannot be written\n";
        return Faulty;
    }
    m_out << folder << ": " << written.size() << " pictures and skin.txt\n";
    return status;
}

int SkinCommands::check(const QString &dll)
{
    const auto library = ResourceLibrary::open(dll);
    if (!library) {
        m_out << dll << ": cannot be opened; the game does not list it\n";
        return Faulty;
    }
    // Resources are named as a library stores them, in upper case.
    const auto resource = [](const QString &name) { return name.toUpper(); };
    QStringList problems;
    const SkinInfo info = SkinInfo::read(*library);
    if (info.marker != SkinFormat::FamilyMarker) {
        if (info.marker.compare(SkinFormat::FamilyMarker, Qt::CaseInsensitive) == 0)
            problems << QStringLiteral("text 1 is \"%1\": the marker is \"%2\" in exactly that letter case")
                            .arg(info.marker, SkinFormat::FamilyMarker);
        else
            problems << QStringLiteral("text 1 is not the marker \"%1\"").arg(SkinFormat::FamilyMarker);
    }
    const bool backsCounted = info.countsAreNumbers && info.backCount >= 1;
    if (!info.countsAreNumbers)
        problems << QStringLiteral("text 2 (the number of backs) or the number of reserved records after the "
                                   "back titles is not a whole number; the game shows the standard set instead");
    else if (info.backCount < 1)
        problems << QStringLiteral("no back (text 2 is %1); the game shows the standard set instead")
                        .arg(info.backCount);
    for (DominoId id = 1; id <= DominoSet::Count; ++id) {
        const std::string_view face = DominoSet::bitmapName(id);
        const QString name = resource(QString::fromLatin1(face.data(), qsizetype(face.size())));
        if (const QString problem = tileProblem(*library, name); !problem.isEmpty())
            problems << QStringLiteral("face %1 %2").arg(name, problem);
    }
    // Back 1 is the back the game falls back on, so it is looked for even
    // when the count of backs says there is none.
    for (int back = 1; back <= (backsCounted ? qMin(info.backCount, 999) : 1); ++back) {
        if (const QString problem = tileProblem(*library, resource(SkinFormat::backName(back))); !problem.isEmpty())
            problems << QStringLiteral("back %1 %2").arg(resource(SkinFormat::backName(back)), problem);
        if (backsCounted && info.backTitles.value(back - 1).isEmpty())
            problems << QStringLiteral("back %1 has no title").arg(back);
    }
    if (info.author.isEmpty())
        problems << QStringLiteral("no author line");
    if (info.description.isEmpty())
        problems << QStringLiteral("no description");
    // Nothing the game reads, but extract could not write them.
    QStringList warnings;
    for (const QString &name : library->bitmapNames())
        if (bitmapFileName(name).isEmpty())
            warnings << QStringLiteral("bitmap \"%1\": its name is no plain file name; extract leaves it out")
                            .arg(name);

    const bool listed = info.isValid();
    m_out << dll << ": " << (listed ? "the game lists it" : "the game does not list it") << "\n";
    for (const QString &problem : problems)
        m_out << "  " << problem << "\n";
    for (const QString &warning : warnings)
        m_out << "  warning: " << warning << "\n";
    if (problems.isEmpty())
        m_out << "  nothing is missing\n";
    return problems.isEmpty() ? Fine : Faulty;
}
