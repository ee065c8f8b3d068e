#include "SetupModel.h"

#include "SkinFormat.h"
#include "settings/SkinInfo.h"
#include "game/DominoSet.h"
#include "language/LanguageList.h"
#include "language/LanguagePack.h"
#include "language/TextTable.h"
#include "platform/MessageSink.h"
#include "platform/RegularFile.h"
#include "platform/ResourceLibrary.h"
#include "platform/SafeReplace.h"
#include "platform/SharedFolder.h"
#include "platform/WholeNumber.h"

#include <QFileInfo>

#include <algorithm>

const QString SetupModel::NoPictureEntry = QStringLiteral("<none>");

namespace {

const QString picturesFolder = QStringLiteral("GFX");
const QString skinsFolder = QStringLiteral("Skins");
const QString pictureExtension = QStringLiteral(".bmp");
const QString skinExtension = QStringLiteral(".dll");

// The position of the text in the list without regard to case, or -1.
int find(const QStringList &list, const QString &text)
{
    for (int i = 0; i < list.size(); ++i)
        if (list[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// A stored name selects its entry when found past entry 0, else entry 0.
int entryOrFirst(const QStringList &list, const QString &text)
{
    return list.isEmpty() ? -1 : std::max(find(list, text), 0);
}

} // namespace

SetupModel::SetupModel(const ProgramFolder &folder, const ResourceModule &standardSet, const TextTable &texts,
                       MessageSink *messages, QObject *parent)
    : QObject(parent), m_folder(folder), m_standardSet(standardSet), m_texts(texts), m_messages(messages),
      m_settings(folder.file(QString(), SettingsFile::FileName), messages), m_currentSkin(standardSet, messages)
{
    m_boardBackground = Wallpaper::compose(m_clientSize, 0, QImage(), m_placement);
}

SetupModel::~SetupModel() = default;

// ---------------------------------------------------------------------------
// The player's choices

void SetupModel::choosePicture(int index)
{
    m_picture = index >= 0 && index < m_pictures.size() ? index : -1;
    ComposeBackground();
}

void SetupModel::setPlacement(Wallpaper::Placement placement)
{
    m_placement = placement;
    ComposeBackground();
}

void SetupModel::chooseColour(int index)
{
    m_colour = Wallpaper::colourIndex(index);
    ComposeBackground();
}

void SetupModel::chooseLanguage(int index)
{
    m_language = index >= 0 && index < m_languages.size() ? index : -1;
    m_keptLangPack.clear();
    ShowLanguageInfo();
}

void SetupModel::chooseSkin(int index)
{
    m_skin = index >= 0 && index < m_skins.size() ? index : -1;
    m_keptSetPack.clear();
    m_keptBackSet.clear();
    LoadSkin();
}

void SetupModel::chooseBack(int index)
{
    m_back = index >= 0 && index < m_backs.size() ? index : -1;
    // Picked among the backs shown: those of the standard set when it stood
    // in for a skin that could not be opened, so that set is the choice.
    m_keptBackSet.clear();
    m_keptSetPack.clear();
    SelectBack();
}

void SetupModel::setFacePosition(int position)
{
    if (!m_faceArrowsEnabled)
        return;
    m_facePosition = std::clamp(position, 1, FaceCount);
    ShowFacePreview();
}

// ---------------------------------------------------------------------------
// Wallpaper

void SetupModel::ListPictures()
{
    QStringList names;
    for (const QString &file : m_folder.files(picturesFolder, pictureExtension))
        names.append(file.left(file.size() - pictureExtension.size()));
    std::sort(names.begin(), names.end(), &ProgramFolder::lessWithoutCase);
    m_pictures = QStringList{NoPictureEntry} + names;
    m_picture = -1;
    tellUnusableNames(picturesFolder, pictureExtension);
}

void SetupModel::tellUnusableNames(const QString &folder, const QString &extension)
{
    QStringList names;
    for (const QString &name : m_folder.unusableNames(folder, extension)) {
        const QString told = folder + QLatin1Char('/') + name;
        if (!m_toldUnusable.contains(told)) {
            m_toldUnusable.append(told);
            names.append(name);
        }
    }
    if (!names.isEmpty() && m_messages)
        m_messages->namesNotUsable(m_folder.folder(folder), names);
}

bool SetupModel::ComposeBackground()
{
    QImage picture;
    if (m_picture > 0) {
        const QString path = m_folder.file(picturesFolder, m_pictures[m_picture] + pictureExtension);
        const Wallpaper::Shown shown = Wallpaper::read(path, m_clientSize, m_placement);
        picture = shown.picture;
        if (picture.isNull()) {
            if (m_messages && shown.tooBig)
                m_messages->pictureTooBig(path, shown.limit);
            else if (m_messages)
                m_messages->notValidBitmap(path);
            return false;
        }
    }
    m_boardBackground = Wallpaper::compose(m_clientSize, m_colour, picture, m_placement);
    emit backgroundChanged(m_boardBackground);
    return true;
}

bool SetupModel::CopyUserPicture(const QString &sourcePath)
{
    SharedFolder::makeFolder(m_folder.folder(picturesFolder));
    const QString target = m_folder.file(picturesFolder, QFileInfo(sourcePath).fileName());
    bool copied = false;
    // Judged as the board will read it, by the part that shows; then copied
    // whole, within Wallpaper::MaxFileSize.
    const Wallpaper::Shown shown = Wallpaper::read(sourcePath, m_clientSize, m_placement);
    QByteArray bytes;
    if (shown.picture.isNull()) {
        const QString path = QFileInfo(sourcePath).absoluteFilePath();
        if (m_messages && shown.tooBig)
            m_messages->pictureTooBig(path, shown.limit);
        else if (m_messages)
            m_messages->notValidBitmap(path);
    } else if (RegularFile::read(sourcePath, Wallpaper::MaxFileSize, bytes) != RegularFile::Outcome::Read) {
        if (m_messages)
            m_messages->unableToWrite(target);
    } else {
        // Replaced as the settings are (SafeReplace): atomically, so the
        // folder never holds a half-copied picture and a failed copy leaves
        // the old one; and never through another user's link, be it the
        // picture's or the folder's.
        const QString gfx = QFileInfo(m_folder.folder(picturesFolder)).fileName();
        SafeReplace file(m_folder.path(), gfx + QLatin1Char('/') + QFileInfo(target).fileName());
        copied = file.commit(bytes);
        if (!copied && m_messages)
            m_messages->unableToWrite(target);
    }
    ListPictures();
    return copied;
}

// ---------------------------------------------------------------------------
// Languages

void SetupModel::ListLanguages()
{
    m_languages = LanguageList::ListLanguages(m_folder);
    m_language = -1;
    tellUnusableNames(LanguagePack::Folder, LanguagePack::Extension);
}

void SetupModel::ShowLanguageInfo()
{
    m_languageInfo = m_language >= 0 ? LanguageList::ShowLanguageInfo(m_folder, m_languages[m_language])
                                     : QStringList();
}

// ---------------------------------------------------------------------------
// Skins

void SetupModel::ListSkins()
{
    m_skins = {m_texts.variable(TextTable::StandardSkinEntry)};
    for (const QString &file : m_folder.files(skinsFolder, skinExtension)) {
        // Opened only to read its marker, and closed again at once.
        const auto library = ResourceLibrary::open(m_folder.file(skinsFolder, file));
        if (library && library->string(SkinFormat::MarkerText) == SkinFormat::FamilyMarker)
            m_skins.append(file);
    }
    m_skin = -1;
    tellUnusableNames(skinsFolder, skinExtension);
}

void SetupModel::LoadSkin()
{
    m_currentSkin.useStandardSet();
    if (m_skin > 0)
        m_currentSkin.useLibrary(ResourceLibrary::open(m_folder.file(skinsFolder, m_skins[m_skin])),
                                 m_skins[m_skin]);
    SkinInfo info = SkinInfo::read(m_currentSkin);
    if ((!info.countsAreNumbers || info.backCount < 1) && !m_currentSkin.isStandardSet()) {
        // Counts that are not numbers, or no back at all: the skin would
        // leave no back to show, so the standard set stands in for it.
        m_currentSkin.useStandardSet();
        info = SkinInfo::read(m_currentSkin);
    }
    m_skinInfo = {info.description, info.author};

    m_facePosition = 1;
    m_faceArrowsEnabled = !m_currentSkin.isEmpty();
    if (m_faceArrowsEnabled)
        ShowFacePreview();

    m_backs = info.backTitles;
    m_back = m_backs.isEmpty() ? -1 : 0;
    SelectBack();
}

void SetupModel::SelectBack()
{
    // Without a back to choose, the first back keeps the board drawable.
    m_currentBackName = SkinFormat::backName(std::max(m_back + 1, 1));
    m_backPreview = m_currentSkin.bitmap(m_currentBackName);
}

void SetupModel::ShowFacePreview()
{
    if (m_currentSkin.isEmpty())
        return;
    m_facePreview = m_currentSkin.bitmap(QString::fromLatin1(DominoSet::bitmapName(m_facePosition)));
}

// ---------------------------------------------------------------------------
// The settings file

bool SetupModel::ReadSettings()
{
    const StoredSettings stored = m_settings.read();
    m_launches = stored.launches;

    const int shownColour = m_colour;
    const Wallpaper::Placement shownPlacement = m_placement;
    m_colour = Wallpaper::colourIndex(stored.backColor);

    // The stored name carries its extension, whatever its length; a text of
    // four characters or fewer leaves no name to find.
    const QString pictureName = stored.picture.left(std::max<qsizetype>(stored.picture.size() - 4, 0));
    m_picture = stored.picture == SettingsFile::NoPicture || pictureName.isEmpty()
                    ? 0
                    : entryOrFirst(m_pictures, pictureName);

    m_placement = stored.position == SettingsFile::Centered ? Wallpaper::Placement::Centered
                                                            : Wallpaper::Placement::Tiled;

    m_language = entryOrFirst(m_languages, stored.langPack.toLower());
    ShowLanguageInfo();
    m_langPack = m_languages.value(m_language);
    // A language with a path is another game's: this one reads packs only
    // from its own folder, and leaves the text for the game that wrote it.
    m_keptLangPack = stored.langPack.contains(u'/') || stored.langPack.contains(u'\\') ? stored.langPack
                                                                                        : QString();

    m_skin = stored.setPack == SettingsFile::StandardSkin ? 0 : entryOrFirst(m_skins, stored.setPack);
    // A library that is there but cannot be opened now (unreadable, being
    // copied) is not listed; the standard set stands in, and the stored
    // skin and back stay in the file until the player chooses others. One
    // that opens without the family's marker is no skin, and goes.
    const bool skinUnopened = m_skin == 0 && stored.setPack != SettingsFile::StandardSkin
                              && find(m_folder.files(skinsFolder, skinExtension), stored.setPack) >= 0
                              && !ResourceLibrary::open(m_folder.file(skinsFolder, stored.setPack));
    m_keptSetPack = skinUnopened ? stored.setPack : QString();
    m_keptBackSet = skinUnopened ? stored.backSet : QString();
    LoadSkin();

    // Digits that are no number, or a back the skin has not: the first back.
    int number = 0;
    if (WholeNumber::parse(SkinFormat::backDigits(stored.backSet).toString(), number) && number >= 1 && number <= m_backs.size())
        m_back = number - 1;
    SelectBack();

    // A colour or placement that changed in the file since it was shown
    // sets its control as a click would, and so shows at once.
    const bool compose = m_colour != shownColour || m_placement != shownPlacement;
    if (compose)
        ComposeBackground();
    return compose;
}

bool SetupModel::WriteSettings()
{
    return WriteSettings(m_messages);
}

bool SetupModel::WriteSettings(MessageSink *messages)
{
    StoredSettings stored;
    stored.launches = m_launches;
    stored.picture = m_picture > 0 ? m_pictures[m_picture] + pictureExtension : SettingsFile::NoPicture;
    stored.position = m_placement == Wallpaper::Placement::Centered ? SettingsFile::Centered : SettingsFile::Tiled;
    stored.backColor = m_colour;
    m_langPack = m_languages.value(m_language);
    stored.langPack = m_keptLangPack.isEmpty() ? m_langPack : m_keptLangPack;
    stored.backSet = m_keptBackSet.isEmpty() ? SkinFormat::backName(m_back + 1) : m_keptBackSet;
    stored.setPack = !m_keptSetPack.isEmpty() ? m_keptSetPack
                     : m_skin > 0             ? m_skins[m_skin]
                                              : SettingsFile::StandardSkin;
    return m_settings.write(stored, messages);
}
