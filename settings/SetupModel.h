#pragma once

#include "CurrentSkin.h"
#include "SettingsFile.h"
#include "SkinFormat.h"
#include "Wallpaper.h"
#include "game/BoardFigure.h"
#include "platform/ProgramFolder.h"

#include <QImage>
#include <QObject>
#include <QStringList>

class MessageSink;
class TextTable;

// The appearance choices that the setup dialog's controls show and edit: the
// picture list with its placement and the colour, the language list, the
// skin list and the back list, each with its selection (-1 for none), and
// the program-wide values made from them: the current skin and back, the
// board's background and the language name. The settings file is their
// store: reading puts the stored choices here, writing takes them from here,
// and the dialog reads the file again whenever it closes, so choices last
// only when they are written.
//
// A new background is told by backgroundChanged().
class SetupModel : public QObject
{
    Q_OBJECT
public:
    static const QString NoPictureEntry; // "<none>", entry 0 of the pictures
    static constexpr int FaceCount = 28;

    SetupModel(const ProgramFolder &folder, const ResourceModule &standardSet, const TextTable &texts,
               MessageSink *messages, QObject *parent = nullptr);
    ~SetupModel() override;

    // --- the lists and their selections ---
    const QStringList &pictures() const { return m_pictures; }
    int picture() const { return m_picture; }
    Wallpaper::Placement placement() const { return m_placement; }
    int colour() const { return m_colour; }
    const QStringList &languages() const { return m_languages; }
    int language() const { return m_language; }
    const QStringList &languageInfo() const { return m_languageInfo; }
    const QStringList &skins() const { return m_skins; }
    int skin() const { return m_skin; }
    const QStringList &skinInfo() const { return m_skinInfo; } // description, author
    const QStringList &backs() const { return m_backs; }
    int back() const { return m_back; }
    const QImage &backPreview() const { return m_backPreview; }
    const QImage &facePreview() const { return m_facePreview; }
    int facePosition() const { return m_facePosition; }
    bool faceArrowsEnabled() const { return m_faceArrowsEnabled; }

    // --- the program-wide values ---
    int launches() const { return m_launches; }
    void setLaunches(int launches) { m_launches = launches; }
    const QString &langPack() const { return m_langPack; }
    const CurrentSkin &currentSkin() const { return m_currentSkin; }
    const QString &currentBackName() const { return m_currentBackName; }
    // Always a valid picture of the client size.
    const QImage &boardBackground() const { return m_boardBackground; }
    void setClientSize(QSize size) { m_clientSize = size; }
    QSize clientSize() const { return m_clientSize; }
    QString settingsPath() const { return m_settings.path(); }

    // --- what the player does on the dialog ---
    void choosePicture(int index);
    void setPlacement(Wallpaper::Placement placement);
    void chooseColour(int index);
    void chooseLanguage(int index);
    void chooseSkin(int index);
    void chooseBack(int index);
    void setFacePosition(int position);
    // Copies the picture file into "GFX", replacing one of the same name,
    // and lists the pictures again (nothing selected). Only a file that the
    // game can show is copied: a regular file within Wallpaper::MaxFileSize
    // that reads as a bitmap; another shows "<path> is not a valid bitmap".
    // The copy is replaced as the settings file is (SafeReplace), in a "GFX"
    // made when missing under the rule of a shared folder (SharedFolder); a
    // failed copy shows "Unable to write to <path>". The list is refilled all
    // the same.
    bool CopyUserPicture(const QString &sourcePath);

    // --- the operations of the settings and the appearance ---
    void ListPictures();
    void ListLanguages();
    void ListSkins();
    // Gives whether the reading composed the background: it does when the
    // colour or the placement it selects is not the one shown.
    bool ReadSettings();
    // Gives false when the file could not be written, reported to the
    // model's sink: "Apply" is answered every time.
    bool WriteSettings();
    // The same, a failure reported to `messages`: the saves the game makes
    // by itself report to a sink that names each file once a run.
    bool WriteSettings(MessageSink *messages);
    // A new background from the picture, placement and colour. A picture
    // that cannot be read is reported with its path and leaves the
    // background as it was; gives false then.
    bool ComposeBackground();
    void LoadSkin();
    void SelectBack();
    void ShowFacePreview();
    void ShowLanguageInfo();

signals:
    void backgroundChanged(const QImage &background);

private:
    // Tells once a run of the files in the folder that a list leaves out
    // for their names (ProgramFolder::unusableNames).
    void tellUnusableNames(const QString &folder, const QString &extension);
    ProgramFolder m_folder;
    const ResourceModule &m_standardSet;
    const TextTable &m_texts;
    MessageSink *m_messages;
    QStringList m_toldUnusable; // folder/name of each file told of
    SettingsFile m_settings;
    CurrentSkin m_currentSkin;

    QStringList m_pictures;
    int m_picture = -1;
    Wallpaper::Placement m_placement = Wallpaper::Placement::Centered;
    int m_colour = 0;
    QStringList m_languages;
    int m_language = -1;
    QStringList m_languageInfo;
    QStringList m_skins;
    int m_skin = -1;
    QStringList m_skinInfo;
    QStringList m_backs;
    int m_back = -1;
    QImage m_backPreview;
    QImage m_facePreview;
    int m_facePosition = 1;
    bool m_faceArrowsEnabled = false;

    int m_launches = 0;
    QString m_langPack;
    // Stored texts that name what this game cannot use (a language with a
    // path, a skin that cannot be opened, and that skin's back): written back
    // as they were until the player chooses another language, skin or back
    // (a back picked then is one of the standard set that stood in).
    QString m_keptLangPack;
    QString m_keptSetPack;
    QString m_keptBackSet;
    QString m_currentBackName = SkinFormat::backName(1);
    QSize m_clientSize{BoardFigure::DesignWidth, BoardFigure::DesignHeight};
    QImage m_boardBackground;
};
