#include "SettingsFile.h"

#include "SkinFormat.h"
#include "game/Family.h"
#include "language/LanguagePack.h"
#include "platform/WholeNumber.h"
#include "platform/WholeNumberReader.h"

#include <QSet>

#include <array>
#include <utility>

const QString SettingsFile::FileName = QStringLiteral("Tolvane.ini");
const QString SettingsFile::Section = QString::fromLatin1(Family::Name);
const QString SettingsFile::NoPicture = QStringLiteral("*none*");
const QString SettingsFile::Centered = QStringLiteral("center");
const QString SettingsFile::Tiled = QStringLiteral("tile");
const QString SettingsFile::StandardSkin = QStringLiteral("*standart*");
const QString SettingsFile::English = LanguagePack::English;

namespace {

const QString keyLaunches = QStringLiteral("Launches");
const QString keyPicture = QStringLiteral("Picture");
const QString keyPosition = QStringLiteral("Position");
const QString keyBackColor = QStringLiteral("BackColor");
const QString keyLangPack = QStringLiteral("LangPack");
const QString keyBackSet = QStringLiteral("BackSet");
const QString keySetPack = QStringLiteral("SetPack");

constexpr int defaultNumber = 0; // of "Launches" and "BackColor"

// The six appearance keys with their texts, in the order they are written.
std::array<std::pair<QString, QString>, 6> appearance(const StoredSettings &settings)
{
    return {{{keyPicture, settings.picture},
             {keyPosition, settings.position},
             {keyBackColor, QString::number(settings.backColor)},
             {keyLangPack, settings.langPack},
             {keyBackSet, settings.backSet},
             {keySetPack, settings.setPack}}};
}

// The file's count plus what this run counted since `base`, round at the top
// of the range rather than overflowing.
int raised(int now, int mine, int base)
{
    return static_cast<int>(static_cast<unsigned>(now) + (static_cast<unsigned>(mine) - static_cast<unsigned>(base)));
}

} // namespace

SettingsFile::SettingsFile(const QString &path, MessageSink *messages)
    : m_file(path, messages, ProfileFile::Sharing::Shared), m_messages(messages)
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
    settings.backSet = document.readString(Section, keyBackSet, SkinFormat::backName(1));
    settings.setPack = document.readString(Section, keySetPack, StandardSkin);
    // A file that is there but cannot be read (one too big, named as such)
    // was written by an earlier start: this start is not the first, and
    // counts one on the file's number should it become readable.
    if (m_file.unreadable())
        settings.launches = 1;
    m_launches = settings.launches;
    m_texts.clear();
    QSet<QString> present;
    for (const auto &[name, value] : document.readSectionValues(Section))
        present.insert(name.toCaseFolded());
    for (const auto &[key, value] : appearance(settings)) {
        if (present.contains(key.toCaseFolded()))
            m_texts.insert(key, document.readString(Section, key, QString()));
    }
    return settings;
}

bool SettingsFile::write(const StoredSettings &settings)
{
    return write(settings, m_messages);
}

bool SettingsFile::write(const StoredSettings &settings, MessageSink *messages)
{
    // On the file as it is now, under the lock that copies of this game
    // honour, so what other copies and games wrote meanwhile is kept.
    const auto texts = appearance(settings);
    const auto change = [&](ProfileDocument &document) {
        int now = 0;
        if (!WholeNumber::parse(document.readString(Section, keyLaunches, QString::number(defaultNumber)), now))
            now = 0;
        document.writeString(Section, keyLaunches, QString::number(raised(now, settings.launches, m_launches)));
        for (const auto &[key, text] : texts) {
            const auto seen = m_texts.constFind(key);
            if (seen == m_texts.cend() || *seen != text)
                document.writeString(Section, key, text);
        }
    };
    const bool written = m_file.update(change, messages);
    if (!written)
        return false;
    m_lastReported.clear();
    m_launches = settings.launches;
    for (const auto &[key, text] : texts)
        m_texts.insert(key, text);
    return true;
}
