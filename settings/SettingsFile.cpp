#include "SettingsFile.h"

#include "platform/WholeNumberReader.h"

const QString SettingsFile::FileName = QStringLiteral("Tolvane.ini");
const QString SettingsFile::Section = QStringLiteral("Tolvane...");
const QString SettingsFile::NoPicture = QStringLiteral("*none*");
const QString SettingsFile::Centered = QStringLiteral("center");
const QString SettingsFile::Tiled = QStringLiteral("tile");
const QString SettingsFile::StandardSkin = QStringLiteral("*standart*");
const QString SettingsFile::English = QStringLiteral("english");

namespace {

const QString keyLaunches = QStringLiteral("Launches");
const QString keyPicture = QStringLiteral("Picture");
const QString keyPosition = QStringLiteral("Position");
const QString keyBackColor = QStringLiteral("BackColor");
const QString keyLangPack = QStringLiteral("LangPack");
const QString keyBackSet = QStringLiteral("BackSet");
const QString keySetPack = QStringLiteral("SetPack");

const QString defaultBackSet = QStringLiteral("back001");
constexpr int defaultNumber = 0; // of "Launches" and "BackColor"

} // namespace

SettingsFile::SettingsFile(const QString &path, MessageSink *messages) : m_file(path, messages), m_messages(messages)
{
}

StoredSettings SettingsFile::read()
{
    const ProfileDocument document = m_file.load();
    WholeNumberReader numbers(document, m_messages, m_lastReported);
    StoredSettings settings;
    settings.launches = numbers.read(Section, keyLaunches, defaultNumber);
    settings.picture = document.readString(Section, keyPicture, NoPicture);
    settings.position = document.readString(Section, keyPosition, Centered);
    settings.backColor = numbers.read(Section, keyBackColor, defaultNumber);
    settings.langPack = document.readString(Section, keyLangPack, English);
    settings.backSet = document.readString(Section, keyBackSet, defaultBackSet);
    settings.setPack = document.readString(Section, keySetPack, StandardSkin);
    return settings;
}

bool SettingsFile::write(const StoredSettings &settings)
{
    return write(settings, m_messages);
}

bool SettingsFile::write(const StoredSettings &settings, MessageSink *messages)
{
    // On the file as it is now, under the lock that copies of this game
    // honour, so the keys of other games written meanwhile are kept.
    const bool written = ProfileFile(m_file.path(), messages).update([&settings](ProfileDocument &document) {
        document.writeString(Section, keyLaunches, QString::number(settings.launches));
        document.writeString(Section, keyPicture, settings.picture);
        document.writeString(Section, keyPosition, settings.position);
        document.writeString(Section, keyBackColor, QString::number(settings.backColor));
        document.writeString(Section, keyLangPack, settings.langPack);
        document.writeString(Section, keyBackSet, settings.backSet);
        document.writeString(Section, keySetPack, settings.setPack);
    });
    if (written)
        m_lastReported.clear();
    return written;
}
