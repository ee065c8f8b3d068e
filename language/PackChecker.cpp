#include "PackChecker.h"

#include "LanguageLoader.h"
#include "TextTable.h"
#include "TextTargets.h"
#include "platform/ProfileDocument.h"
#include "platform/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <climits>

namespace {

const QString ApplicationSection = QStringLiteral("Application");
const QString GameSection = QStringLiteral("Kelvor");
const QString VariablesSection = QStringLiteral("Variables");

// Where each key stands in the file, for the line numbers of the report.
// The values themselves come from the profile layer, as the game reads them.
class LineIndex
{
public:
    struct KeyLine
    {
        int line;
        QString name;
        qsizetype valueLength;
    };

    explicit LineIndex(const QByteArray &bytes)
    {
        QList<QString> lines;
        if (bytes.startsWith("\xFF\xFE")) {
            const QByteArray body = bytes.mid(2);
            lines = splitLines(QString::fromUtf16(reinterpret_cast<const char16_t *>(body.constData()), body.size() / 2));
        } else {
            const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
            for (const QByteArray &line : splitLines(body))
                lines.append(decodeLine(line));
        }
        // As the profile layer reads: the first section of a name counts,
        // and a key is a line with '=' and a name.
        QString section;
        bool counted = false;
        for (int i = 0; i < lines.size(); ++i) {
            const QString text = trimmed(lines[i]);
            if (text.startsWith(u'[')) {
                const qsizetype close = text.indexOf(u']');
                section = trimmed(close < 0 ? text.mid(1) : text.mid(1, close - 1)).toCaseFolded();
                counted = !m_sectionLines.contains(section);
                if (counted)
                    m_sectionLines.insert(section, i + 1);
            } else if (counted && !text.isEmpty() && !text.startsWith(u';')) {
                const qsizetype equals = text.indexOf(u'=');
                const QString name = equals < 0 ? QString() : trimmed(text.left(equals));
                if (!name.isEmpty())
                    m_keys[section].append({i + 1, name, trimmed(text.mid(equals + 1)).size()});
            }
        }
    }

    QList<KeyLine> keys(const QString &section) const { return m_keys.value(section.toCaseFolded()); }
    int sectionLine(const QString &section) const { return m_sectionLines.value(section.toCaseFolded()); }

    // The lines of a key, first one first.
    QList<KeyLine> linesOf(const QString &section, const QString &name) const
    {
        QList<KeyLine> found;
        for (const KeyLine &key : m_keys.value(section.toCaseFolded()))
            if (key.name.compare(name, Qt::CaseInsensitive) == 0)
                found.append(key);
        return found;
    }

private:
    // Spaces, tabs and vertical tabs, as the profile layer trims them.
    static QString trimmed(const QString &text)
    {
        auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\v'; };
        qsizetype begin = 0;
        qsizetype end = text.size();
        while (begin < end && blank(text[begin]))
            ++begin;
        while (end > begin && blank(text[end - 1]))
            --end;
        return text.mid(begin, end - begin);
    }

    template <typename Text>
    static QList<Text> splitLines(const Text &text)
    {
        QList<Text> lines;
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                lines.append(text.mid(start, i - start));
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
                start = i + 1;
            }
        }
        if (start < text.size())
            lines.append(text.mid(start));
        return lines;
    }

    static QString decodeLine(const QByteArray &bytes)
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(bytes);
        return utf8.hasError() ? Windows1252::decode(bytes) : text;
    }

    QHash<QString, QList<KeyLine>> m_keys;
    QHash<QString, int> m_sectionLines;
};

// A text on one line of the report: line breaks shown as \n and \r.
QString oneLine(QString text)
{
    return text.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
}

// A key in the form the English table writes it, for comparing.
QString canonical(const QString &key)
{
    QString folded = key;
    for (QChar &c : folded)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() - u'A' + u'a');
    return folded;
}

using Finding = PackChecker::Finding;

class Checker
{
public:
    explicit Checker(const QByteArray &bytes) : m_document(ProfileDocument::fromBytes(bytes)), m_lines(bytes) {}

    QList<Finding> run(const QString &packFolder)
    {
        checkTextSection(ApplicationSection);
        checkTextSection(GameSection);
        checkVariables();
        checkCompleteness();
        checkHelpFile(packFolder);
        if (m_document.readSectionValues(QStringLiteral("LangInfo")).empty())
            note(0, QStringLiteral("no description: the section [LangInfo] is empty or missing"));
        return m_findings;
    }

private:

    void error(int line, const QString &text) { m_findings.append({line, true, text}); }
    void note(int line, const QString &text) { m_findings.append({line, false, text}); }

    // Keys that do not fit the key list, duplicates, long and empty values.
    // Returns the keys the loader sees, with their first lines.
    QList<std::pair<QString, int>> checkKeys(const QString &section)
    {
        const auto values = m_document.readSectionValues(section);
        const QList<LineIndex::KeyLine> all = m_lines.keys(section);
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
        QList<std::pair<QString, int>> keys;
        for (const auto &[name, value] : values) {
            const QList<LineIndex::KeyLine> lines = m_lines.linesOf(section, name);
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
            keys.append({name, first});
        }
        return keys;
    }

    void checkTextSection(const QString &section)
    {
        for (const auto &[key, line] : checkKeys(section)) {
            checkTarget(key, line);
            if (section == GameSection) {
                const QList<LineIndex::KeyLine> before = m_lines.linesOf(ApplicationSection, key);
                if (!before.isEmpty())
                    note(line, QStringLiteral("\"%1\" wins over the line %2 of [Application]").arg(key).arg(before.first().line));
            }
            m_named.insert(canonical(key));
        }
    }

    void checkTarget(const QString &key, int line)
    {
        const qsizetype dot = key.indexOf(u'.');
        const QString windowName = key.left(dot);
        const TextTargets::Window *window = dot < 0 ? nullptr : TextTargets::findWindow(windowName);
        if (!window) {
            error(line, QStringLiteral("\"%1\" names no window of the program").arg(key));
            return;
        }
        if (window->fixed) {
            error(line, QStringLiteral("\"%1\": the window %2 is protected; the line changes nothing").arg(key, window->name));
            return;
        }
        const QString path = key.mid(dot + 1);
        if (TextTargets::sameName(path, u"caption"))
            return;
        const qsizetype second = path.indexOf(u'.');
        const TextTargets::Control *control =
            second < 0 ? nullptr : TextTargets::findControl(windowName, QStringView(path).left(second));
        if (!control) {
            error(line, QStringLiteral("\"%1\" names no control of the window %2").arg(key, window->name));
            return;
        }
        if (control->fixed) {
            error(line, QStringLiteral("\"%1\": the control %2.%3 is protected; the line changes nothing")
                            .arg(key, window->name, control->name));
            return;
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
        }
    }

    void checkVariables()
    {
        const auto values = m_document.readSectionValues(VariablesSection);
        for (const auto &[name, line] : checkKeys(VariablesSection)) {
            const QString key = name;
            bool whole = false;
            const int slot = key.toInt(&whole, 10);
            if (!whole || slot < 1 || slot > TextTable::VariableCount) {
                error(line, QStringLiteral("\"%1\" is ignored: [Variables] has the keys 1 to %2 only")
                                .arg(key)
                                .arg(TextTable::VariableCount));
                continue;
            }
            const auto found = std::find_if(values.begin(), values.end(), [&](const auto &v) { return v.first == key; });
            const QString value = found == values.end() ? QString() : found->second;
            TextTable cut;
            cut.setVariable(slot, value);
            if (cut.variable(slot) != value)
                error(line, QStringLiteral("the text of slot %1 is cut to %2 characters: \"%3\"")
                                .arg(slot)
                                .arg(TextTable::VariableMaxLength)
                                .arg(cut.variable(slot)));
            if (!value.isEmpty() && !m_slots.contains(slot))
                m_slots.insert(slot, value);
        }
    }

    void checkCompleteness()
    {
        for (const TextTable::Entry &entry : TextTable::englishTexts()) {
            if (entry.key && !m_named.contains(canonical(QString::fromLatin1(entry.key))))
                error(0, QStringLiteral("leaves out %1 (English: \"%2\")").arg(QString::fromLatin1(entry.key), oneLine(entry.text)));
            if (!entry.key && !m_slots.contains(entry.slot))
                error(m_lines.sectionLine(VariablesSection),
                      QStringLiteral("leaves out [Variables] key %1 (English: \"%2\")").arg(entry.slot).arg(oneLine(entry.text)));
        }
    }

    void checkHelpFile(const QString &packFolder)
    {
        const QString name = QStringLiteral("Tolvane_%1.hlp").arg(m_slots.value(TextTable::HelpFileLanguage));
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

    ProfileDocument m_document;
    LineIndex m_lines;
    QList<Finding> m_findings;
    QSet<QString> m_named;
    QHash<int, QString> m_slots;
};

} // namespace

QList<PackChecker::Finding> PackChecker::check(const QString &packPath)
{
    const QFileInfo info(packPath);
    QFile file(packPath);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return {{0, true, QStringLiteral("cannot read the file")}};
    return Checker(file.readAll()).run(info.absolutePath());
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
