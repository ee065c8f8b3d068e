#include "LanguageList.h"

#include "LanguagePack.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramFolder.h"

#include <algorithm>

const QString LanguageList::English = LanguagePack::English;

using LanguagePack::Extension;
using LanguagePack::Folder;

QStringList LanguageList::ListLanguages(const ProgramFolder &folder)
{
    QStringList languages{English};
    for (const QString &file : folder.files(Folder, Extension))
        languages.append(file.left(file.size() - Extension.size()));
    return languages;
}

QStringList LanguageList::ShowLanguageInfo(const ProgramFolder &folder, const QString &entry)
{
    // Only the exact name is the built-in English; a pack "English.lng"
    // describes itself.
    if (entry + Extension == English + Extension)
        return {QStringLiteral("English language pack"),
                QStringLiteral("Built into the game by its makers; needs no file.")};

    const ProfileDocument pack = ProfileFile(folder.file(Folder, entry + Extension), nullptr).load();
    const QString &section = LanguagePack::InfoSection;
    struct Line
    {
        QString key;
        QString value;
    };
    // Each key once, with its first value, read in one pass over the
    // section; a key without a value adds no line.
    std::vector<Line> lines;
    for (auto &[key, value] : pack.readSectionValues(section)) {
        if (!value.isEmpty())
            lines.push_back({std::move(key), std::move(value)});
    }
    // The lines "key=value" in the order of the family's platform, where the
    // sign '=' sorts before every letter and digit: "10=..." comes between
    // "1=..." and "2=...".
    std::stable_sort(lines.begin(), lines.end(), [](const Line &a, const Line &b) {
        const int byKey = a.key.compare(b.key, Qt::CaseInsensitive);
        return byKey != 0 ? byKey < 0 : a.value.compare(b.value, Qt::CaseInsensitive) < 0;
    });
    QStringList values;
    for (const Line &line : lines)
        values.append(line.value);
    return values;
}
