#include "PackChecker.h"

#include "LanguagePack.h"
#include "TextFit.h"
#include "TextTable.h"
#include "TextTargets.h"
#include "platform/ProfileDocument.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <climits>

namespace {

using LanguagePack::ApplicationSection;
using LanguagePack::GameSection;
using LanguagePack::InfoSection;
using LanguagePack::VariablesSection;

// A text on one line of the report: line breaks shown as \n and \r.
QString oneLine(QString text)
{
    return text.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
}

// A key in the form the English table writes it, for comparing.
QString canonical(const QString &key)
{
    return TextTargets::foldName(key);
}

// Section and key names as the profile layer compares them.
QString folded(const QString &name)
{
    return name.toCaseFolded();
}

using Finding = PackChecker::Finding;

// Where each section and key stands in the pack, as the profile layer read
// it: the first section of a name is the one the game reads, and in it the
// key lines with '=' and a name are the ones its key list holds.
class Outline
{
public:
    struct Key
    {
        int line;
        QString name;
        qsizetype valueLength;
    };
    struct Copy
    {
        int line;
        QString name;
        int lines; // the key lines under it
    };

    explicit Outline(const ProfileDocument &document)
    {
        QString section;
        bool counted = false;
        for (const ProfileDocument::Mark &mark : document.marks()) {
            if (mark.section) {
                section = folded(mark.name);
                counted = !m_sectionLines.contains(section);
                if (counted)
                    m_sectionLines.insert(section, mark.line);
                else
                    m_copies.append({mark.line, mark.name, 0});
                continue;
            }
            if (!counted) {
                if (!m_copies.isEmpty() && !section.isNull())
                    ++m_copies.last().lines;
                continue;
            }
            if (!mark.hasValue || mark.name.isEmpty()) {
                m_keyless[section].append(mark.line);
                continue;
            }
            QList<Key> &keys = m_keys[section];
            m_keyIndex[section][folded(mark.name)].append(int(keys.size()));
            keys.append({mark.line, mark.name, mark.value.size()});
        }
    }

    const QList<Key> &keys(const QString &section) const
    {
        const auto found = m_keys.constFind(folded(section));
        return found == m_keys.cend() ? m_none : *found;
    }
    int sectionLine(const QString &section) const { return m_sectionLines.value(folded(section)); }
    // The lines of a key, the first one first.
    QList<Key> linesOf(const QString &section, const QString &name) const
    {
        QList<Key> found;
        const QList<Key> &all = keys(section);
        for (const int index : m_keyIndex.value(folded(section)).value(folded(name)))
            found.append(all[index]);
        return found;
    }
    // Lines of the section without '=' or without a name.
    QList<int> keylessLines(const QString &section) const { return m_keyless.value(folded(section)); }
    // Sections written again after their first copy.
    const QList<Copy> &copies() const { return m_copies; }

private:
    QHash<QString, QList<Key>> m_keys;
    QHash<QString, QHash<QString, QList<int>>> m_keyIndex;
    QHash<QString, QList<int>> m_keyless;
    QHash<QString, int> m_sectionLines;
    QList<Copy> m_copies;
    const QList<Key> m_none;
};

class Checker
{
public:
    explicit Checker(const ProfileDocument &document) : m_document(document), m_outline(document) {}

    QList<Finding> run(const QString &packFolder)
    {
        checkCopies();
        startTexts();
        checkTextSection(ApplicationSection);
        checkTextSection(GameSection);
        checkVariables();
        checkCompleteness();
        checkFit();
        checkHelpFile(packFolder);
        checkDescription();
        return m_findings;
    }

private:
    void error(int line, const QString &text) { m_findings.append({line, true, text}); }
    void note(int line, const QString &text) { m_findings.append({line, false, text}); }

    void checkCopies()
    {
        for (const Outline::Copy &copy : m_outline.copies())
            error(copy.line, QStringLiteral("[%1] is written twice: the game reads the one at line %2 only, and "
                                            "passes over this one with its %3")
                                 .arg(copy.name)
                                 .arg(m_outline.sectionLine(copy.name))
                                 .arg(copy.lines == 1 ? QStringLiteral("key line")
                                                      : QStringLiteral("%1 key lines").arg(copy.lines)));
    }

    // Keys that do not fit the key list, duplicates, long and empty values.
    // Returns the keys the loader sees with their values and first lines.
    struct SeenKey
    {
        QString name;
        QString value;
        int line;
    };
    QList<SeenKey> checkKeys(const QString &section)
    {
        const auto values = m_document.readSectionValues(section);
        const QList<Outline::Key> &all = m_outline.keys(section);
        const qsizetype seen = m_document.readSectionKeys(section).size();
        // The last line the key list reaches (where the two readings of the
        // file could ever disagree, every line counts as reached).
        const int lastSeen = seen > 0 && seen <= all.size() ? all[seen - 1].line : INT_MAX;
        if (seen < all.size())
            error(all[seen].line,
                  QStringLiteral("[%1] lists more key names than fit into %2 bytes: this line and the %3 after it "
                                 "are not seen")
                      .arg(section)
                      .arg(ProfileDocument::KeyListBufferSize)
                      .arg(all.size() - seen - 1));
        QList<SeenKey> keys;
        for (const auto &[name, value] : values) {
            const QList<Outline::Key> lines = m_outline.linesOf(section, name);
            const int first = lines.isEmpty() ? 0 : lines.first().line;
            for (qsizetype i = 1; i < lines.size(); ++i)
                if (lines[i].line <= lastSeen)
                    error(lines[i].line, QStringLiteral("\"%1\" is written twice: the line %2 before wins")
                                             .arg(name)
                                             .arg(first));
            if (!lines.isEmpty() && lines.first().valueLength > ProfileDocument::ValueLimit)
                error(first, QStringLiteral("the value is cut to %1 characters").arg(ProfileDocument::ValueLimit));
            if (value.isEmpty())
                error(first, QStringLiteral("\"%1\" has an empty value: the line is ignored").arg(name));
            keys.append({name, value, first});
        }
        return keys;
    }

    // The texts the windows show before the pack: the English ones and the
    // program's own numbers at their largest.
    void startTexts()
    {
        for (const TextTargets::Window &window : TextTargets::windows())
            m_texts.insert(QString::fromLatin1(window.name), TextFit::programTexts(window));
        for (const TextTable::Entry &entry : TextTable::englishTexts())
            if (entry.key)
                setCaption(QString::fromLatin1(entry.key), entry.text, 0);
        for (int slot = 1; slot <= TextTable::VariableCount; ++slot)
            m_slotTexts.insert(slot, {TextTable::englishVariable(slot), 0});
    }

    // Keeps a caption that a window shows, with the line it comes from.
    void setCaption(const QString &key, const QString &text, int line)
    {
        const QStringList parts = key.split(u'.');
        if (parts.size() != 3 || TextTargets::findProperty(parts[2]) != TextTargets::Caption)
            return;
        const TextTargets::Window *window = TextTargets::findWindow(parts[0]);
        const TextTargets::Control *control = window ? TextTargets::findControl(parts[0], parts[1]) : nullptr;
        if (!control || control->fixed || !(TextTargets::propertiesOf(control->kind) & TextTargets::Caption))
            return;
        const QString controlName = QString::fromLatin1(control->name);
        m_texts[QString::fromLatin1(window->name)].insert(controlName, {text});
        m_origins.insert(QStringLiteral("%1.%2").arg(window->name, controlName), line);
    }

    void checkTextSection(const QString &section)
    {
        for (const SeenKey &key : checkKeys(section)) {
            if (checkTarget(key.name, key.line) && !key.value.isEmpty())
                setCaption(key.name, TextTargets::decodeLineBreaks(key.value), key.line);
            if (section == GameSection) {
                const QList<Outline::Key> before = m_outline.linesOf(ApplicationSection, key.name);
                if (!before.isEmpty())
                    note(key.line,
                         QStringLiteral("\"%1\" wins over the line %2 of [Application]").arg(key.name).arg(before.first().line));
            }
            m_named.insert(canonical(key.name));
        }
    }

    bool checkTarget(const QString &key, int line)
    {
        const qsizetype dot = key.indexOf(u'.');
        const QString windowName = key.left(dot);
        const TextTargets::Window *window = dot < 0 ? nullptr : TextTargets::findWindow(windowName);
        if (!window) {
            error(line, QStringLiteral("\"%1\" names no window of the program").arg(key));
            return false;
        }
        if (window->fixed) {
            error(line, QStringLiteral("\"%1\": the window %2 is protected; the line changes nothing").arg(key, window->name));
            return false;
        }
        const QString path = key.mid(dot + 1);
        if (TextTargets::sameName(path, u"caption"))
            return true;
        const qsizetype second = path.indexOf(u'.');
        const TextTargets::Control *control =
            second < 0 ? nullptr : TextTargets::findControl(windowName, QStringView(path).left(second));
        if (!control) {
            error(line, QStringLiteral("\"%1\" names no control of the window %2").arg(key, window->name));
            return false;
        }
        if (control->fixed) {
            error(line, QStringLiteral("\"%1\": the control %2.%3 is protected; the line changes nothing")
                            .arg(key, window->name, control->name));
            return false;
        }
        const TextTargets::Property property = TextTargets::findProperty(QStringView(path).mid(second + 1));
        if (!(TextTargets::propertiesOf(control->kind) & property)) {
            QStringList names;
            for (auto p : {TextTargets::Caption, TextTargets::Hint, TextTargets::Title, TextTargets::Text})
                if (TextTargets::propertiesOf(control->kind) & p)
                    names.append(TextTargets::propertyName(p));
            error(line, QStringLiteral("\"%1\" names no text property of %2.%3 (it has: %4)")
                            .arg(key, window->name, control->name,
                                 names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))));
            return false;
        }
        return true;
    }

    void checkVariables()
    {
        for (const SeenKey &key : checkKeys(VariablesSection)) {
            bool whole = false;
            const int slot = key.name.toInt(&whole, 10);
            if (!whole || slot < 1 || slot > TextTable::VariableCount) {
                error(key.line, QStringLiteral("\"%1\" is ignored: [Variables] has the keys 1 to %2 only")
                                    .arg(key.name)
                                    .arg(TextTable::VariableCount));
                continue;
            }
            TextTable cut;
            cut.setVariable(slot, key.value);
            if (cut.variable(slot) != key.value)
                error(key.line, QStringLiteral("the text of slot %1 is cut to %2 characters: \"%3\"")
                                    .arg(slot)
                                    .arg(TextTable::VariableMaxLength)
                                    .arg(cut.variable(slot)));
            if (!key.value.isEmpty() && !m_slots.contains(slot)) {
                m_slots.insert(slot, key.value);
                m_slotTexts.insert(slot, {cut.variable(slot), key.line});
            }
        }
    }

    void checkCompleteness()
    {
        for (const TextTable::Entry &entry : TextTable::englishTexts()) {
            if (entry.key && !m_named.contains(canonical(QString::fromLatin1(entry.key))))
                error(0, QStringLiteral("leaves out %1 (English: \"%2\")").arg(QString::fromLatin1(entry.key), oneLine(entry.text)));
            if (!entry.key && !m_slots.contains(entry.slot))
                error(m_outline.sectionLine(VariablesSection),
                      QStringLiteral("leaves out [Variables] key %1 (English: \"%2\")").arg(entry.slot).arg(oneLine(entry.text)));
        }
    }

    // Every text in its control, in the game's own fonts and places.
    void checkFit()
    {
        // The status bar shows run-time texts: slots 1 and 2 as labels, 3 to
        // 6 as messages.
        TextFit::Texts &main = m_texts[QStringLiteral("Form1")];
        const std::pair<int, int> panels[] = {{0, 1}, {2, 2}, {4, 3}, {4, 4}, {4, 5}, {4, 6}};
        for (const auto &[panel, slot] : panels) {
            const auto &[text, line] = m_slotTexts.value(slot);
            main[QStringLiteral("StatusBar.%1").arg(panel)].append(text);
            m_origins.insert(QStringLiteral("Form1.StatusBar panel %1\x1f%2").arg(panel).arg(text), line);
        }
        for (const TextTargets::Window &window : TextTargets::windows()) {
            if (window.fixed)
                continue;
            for (const TextFit::Cut &cut : TextFit::cuts(window, m_texts.value(QString::fromLatin1(window.name)))) {
                const int line = m_origins.value(cut.control + u'\x1f' + cut.text, m_origins.value(cut.control));
                error(line, QStringLiteral("cut in the game: ") + TextFit::describe(cut));
            }
        }
    }

    void checkHelpFile(const QString &packFolder)
    {
        const QString name = LanguagePack::helpFileName(TextTable::cutVariable(m_slots.value(TextTable::HelpFileLanguage)));
        if (!m_slots.contains(TextTable::HelpFileLanguage)) {
            note(0, QStringLiteral("without [Variables] key 8 the help file is the one of the language before, "
                                   "or %1 when the pack is the first language of a run")
                        .arg(name));
            return;
        }
        const QDir folder(packFolder);
        QString path = folder.filePath(name);
        for (const QString &entry : folder.entryList(QDir::Files))
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                path = folder.filePath(entry);
        if (QFileInfo(path).isFile())
            note(0, QStringLiteral("help file: LNG/%1, found").arg(QFileInfo(path).fileName()));
        else
            error(0, QStringLiteral("help file: LNG/%1 does not exist").arg(name));
    }

    // The description box shows each key's value once, the first, sorted by
    // key; it passes over repeated keys, empty values and lines that hold
    // no key.
    void checkDescription()
    {
        for (const int line : m_outline.keylessLines(InfoSection))
            error(line, QStringLiteral("[LangInfo]: the line holds no key (\"name=text\"): the description "
                                       "ignores it"));
        const auto values = m_document.readSectionValues(InfoSection);
        if (values.empty() && m_outline.keylessLines(InfoSection).isEmpty()) {
            note(0, QStringLiteral("no description: the section [LangInfo] is empty or missing"));
            return;
        }
        const QList<Outline::Key> &all = m_outline.keys(InfoSection);
        const qsizetype seen = m_document.readSectionKeys(InfoSection).size();
        if (seen < all.size())
            error(all[seen].line,
                  QStringLiteral("[LangInfo] lists more key names than fit into %1 bytes: the description ignores "
                                 "this line and the %2 after it")
                      .arg(ProfileDocument::KeyListBufferSize)
                      .arg(all.size() - seen - 1));
        const int lastSeen = seen > 0 && seen <= all.size() ? all[seen - 1].line : INT_MAX;
        for (const auto &[name, value] : values) {
            const QList<Outline::Key> lines = m_outline.linesOf(InfoSection, name);
            const int first = lines.isEmpty() ? 0 : lines.first().line;
            for (qsizetype i = 1; i < lines.size(); ++i)
                if (lines[i].line <= lastSeen)
                    error(lines[i].line, QStringLiteral("[LangInfo]: the key \"%1\" repeats the line %2: the "
                                                        "description shows the line %2 only")
                                             .arg(name)
                                             .arg(first));
            if (value.isEmpty())
                error(first, QStringLiteral("[LangInfo]: \"%1\" is empty: the description skips it").arg(name));
        }
    }

    const ProfileDocument &m_document;
    Outline m_outline;
    QList<Finding> m_findings;
    QSet<QString> m_named;
    QHash<int, QString> m_slots;
    // What each window shows, and the line each text comes from (0: the
    // game's own).
    QHash<QString, TextFit::Texts> m_texts;
    QHash<QString, int> m_origins;
    QHash<int, std::pair<QString, int>> m_slotTexts;
};

} // namespace

QList<PackChecker::Finding> PackChecker::check(const QString &packPath)
{
    const QFileInfo info(packPath);
    if (!info.isFile())
        return {{0, true, QStringLiteral("cannot read the file")}};
    if (info.size() > ProfileFile::MaxFileSize)
        return {{0, true, QStringLiteral("the file has %1 bytes, more than the %2 the game reads: the game "
                                         "shows none of its texts")
                              .arg(info.size())
                              .arg(ProfileFile::MaxFileSize)}};
    return check(ProfileFile(packPath, nullptr).load(), info.absolutePath());
}

QList<PackChecker::Finding> PackChecker::check(const ProfileDocument &pack, const QString &packFolder)
{
    return Checker(pack).run(packFolder);
}

bool PackChecker::hasError(const QList<Finding> &findings)
{
    return std::any_of(findings.begin(), findings.end(), [](const Finding &f) { return f.error; });
}

QString PackChecker::report(const QString &packName, const QList<Finding> &findings)
{
    QList<Finding> sorted = findings;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Finding &a, const Finding &b) { return a.line < b.line; });
    QString text;
    for (const Finding &f : sorted) {
        text += packName;
        if (f.line > 0)
            text += u':' + QString::number(f.line);
        text += f.error ? QStringLiteral(": error: ") : QStringLiteral(": note: ");
        text += f.text + u'\n';
    }
    return text;
}
