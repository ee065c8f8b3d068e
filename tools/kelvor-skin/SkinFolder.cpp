#include "tools/kelvor-skin/SkinFolder.h"

#include "game/BoardFigure.h"
#include "game/DominoSet.h"
#include "platform/DibFile.h"
#include "platform/RegularFile.h"
#include "platform/ResourceLibrary.h"
#include "settings/SkinFormat.h"
#include "tools/kelvor-skin/DibEncoder.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>

namespace {

constexpr int TileWidth = BoardFigure::TileWidth;
constexpr int TileHeight = BoardFigure::TileHeight;
constexpr int MaxText = ResourceLibrary::MaxStringLength;
const QString TextFile = QStringLiteral("skin.txt");
// No file, and no library, is larger than the game reads a library.
constexpr qint64 MaxBytes = ResourceLibrary::MaxFileSize;

QString faceName(DominoId id)
{
    const std::string_view face = DominoSet::bitmapName(id);
    return QString::fromLatin1(face.data(), qsizetype(face.size()));
}

bool isFace(const QString &upperName)
{
    for (DominoId id = 1; id <= DominoSet::Count; ++id)
        if (upperName == faceName(id).toUpper())
            return true;
    return false;
}

} // namespace

bool SkinFolder::read(const QString &folder, QString &error)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        error = folder + QStringLiteral(": no such folder");
        return false;
    }
    bitmaps.clear();
    strings.clear();

    // Pictures: every .bmp and .png, named after its resource.
    QMap<QString, QString> files; // upper-case name -> file name
    // FIFOs and devices are listed too, so that one named like a picture is
    // refused by its name instead of passed over.
    const QStringList entries = dir.entryList(QDir::Files | QDir::System, QDir::Name | QDir::IgnoreCase);
    static const QRegularExpression picture(QStringLiteral("^(.+)\\.(bmp|png)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    int lastBack = 0;
    QList<int> backs;
    for (const QString &entry : entries) {
        const auto match = picture.match(entry);
        if (!match.hasMatch())
            continue;
        const QString name = match.captured(1).toUpper();
        if (files.contains(name)) {
            error = dir.filePath(entry) + QStringLiteral(": a second picture for %1 (%2 is the first)")
                                              .arg(name, files.value(name));
            return false;
        }
        files.insert(name, entry);
        if (const int back = SkinFormat::backNumber(name); back >= 0) {
            backs.append(back);
            lastBack = qMax(lastBack, backs.last());
        }
    }
    for (DominoId id = 1; id <= DominoSet::Count; ++id) {
        const QString face = faceName(id);
        if (!files.contains(face.toUpper())) {
            error = dir.filePath(face + QStringLiteral(".bmp")) + QStringLiteral(": face missing");
            return false;
        }
    }
    if (backs.isEmpty()) {
        error = dir.filePath(SkinFormat::backName(1) + QStringLiteral(".bmp")) + QStringLiteral(": a skin needs at least one back");
        return false;
    }
    for (int n = 1; n <= lastBack; ++n)
        if (!backs.contains(n)) {
            error = dir.filePath(SkinFormat::backName(n) + QStringLiteral(".bmp"))
                    + QStringLiteral(": back missing; the backs are numbered from 001 without a gap");
            return false;
        }

    qint64 total = 0;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString path = dir.filePath(it.value());
        QByteArray bytes;
        if (const auto outcome = RegularFile::read(path, MaxBytes, bytes); outcome != RegularFile::Outcome::Read) {
            error = path + QStringLiteral(": ") + RegularFile::reason(outcome, MaxBytes);
            return false;
        }
        const bool tile = isFace(it.key()) || SkinFormat::backNumber(it.key()) >= 0;
        QImage image;
        QByteArray dib;
        if (bytes.startsWith("BM") && bytes.size() > 14) {
            // A BMP keeps its DIB exactly as its author's tool wrote it.
            dib = bytes.mid(14);
            image = DibFile::decode(dib);
        } else {
            // A PNG states its size first: one larger than a bitmap the game
            // draws is not decoded at all.
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, "png");
            const QSize size = reader.size();
            if (size.width() > DibFile::MaxSide || size.height() > DibFile::MaxSide) {
                error = path + QStringLiteral(": %1 x %2 pixels, more than the game draws (%3 a side)")
                                   .arg(size.width())
                                   .arg(size.height())
                                   .arg(DibFile::MaxSide);
                return false;
            }
            image = reader.read();
            if (!image.isNull())
                dib = DibEncoder::encode(image, isFace(it.key()) ? DibEncoder::Depth::TwoColoursIfPossible
                                                                 : DibEncoder::Depth::TrueColour);
        }
        total += dib.size();
        if (total > MaxBytes) {
            error = path + QStringLiteral(": the pictures come to more than %1 MB, more than the game reads")
                               .arg(MaxBytes / (1024 * 1024));
            return false;
        }
        if (image.isNull()) {
            error = path + QStringLiteral(": not a picture that can be read");
            return false;
        }
        if (tile && image.size() != QSize(TileWidth, TileHeight)) {
            error = path + QStringLiteral(": %1 x %2 pixels; faces and backs are %3 x %4")
                               .arg(image.width())
                               .arg(image.height())
                               .arg(TileWidth)
                               .arg(TileHeight);
            return false;
        }
        bitmaps.insert(it.key(), dib);
    }

    // Texts.
    const QString textPath = dir.filePath(TextFile);
    QByteArray textBytes;
    if (const auto outcome = RegularFile::read(textPath, MaxBytes, textBytes); outcome != RegularFile::Outcome::Read) {
        error = textPath + QStringLiteral(": ") + RegularFile::reason(outcome, MaxBytes);
        if (outcome == RegularFile::Outcome::Missing)
            error += QStringLiteral(" (it holds the back titles, the author and the description)");
        return false;
    }
    SkinText text;
    QString textError;
    if (!SkinText::parse(QString::fromUtf8(textBytes), text, textError)) {
        error = textPath + QStringLiteral(", ") + textError;
        return false;
    }
    if (text.backTitles.size() > lastBack) {
        error = textPath + QStringLiteral(": a title for back %1, which has no picture").arg(text.backTitles.size());
        return false;
    }
    text.backTitles.resize(lastBack);

    QStringList entriesInOrder = {SkinFormat::FamilyMarker, QString::number(lastBack)};
    entriesInOrder += text.backTitles;
    entriesInOrder.append(QString::number(text.records.size()));
    for (const auto &[first, second] : text.records)
        entriesInOrder << first << second;
    entriesInOrder << text.author << text.description;
    if (entriesInOrder.size() > SkinFormat::LastText) {
        error = textPath + QStringLiteral(": more texts than a library can number");
        return false;
    }
    for (qsizetype i = 0; i < entriesInOrder.size(); ++i) {
        if (entriesInOrder[i].size() > MaxText) {
            error = textPath + QStringLiteral(": text %1 is %2 characters long; a skin text holds at most %3: %4...")
                                   .arg(i + 1)
                                   .arg(entriesInOrder[i].size())
                                   .arg(MaxText)
                                   .arg(entriesInOrder[i].left(20));
            return false;
        }
        if (!entriesInOrder[i].isEmpty())
            strings.insert(int(i + 1), entriesInOrder[i]);
    }
    return true;
}
