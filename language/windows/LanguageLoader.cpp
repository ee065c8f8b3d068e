#include "LanguageLoader.h"

#include "language/LanguagePack.h"
#include "language/TextTable.h"
#include "language/TextTargets.h"
#include "platform/MessageSink.h"
#include "platform/ProfileDocument.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramFolder.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QWidget>
#include <climits>

namespace {

// No window or control carries this tag: the English texts are the
// program's own and pass every protection.
constexpr int NoProtection = INT_MIN;

QWidget *findWindow(const QList<QWidget *> &windows, QStringView name)
{
    if (!TextTargets::findWindow(name))
        return nullptr;
    for (QWidget *window : windows)
        if (window && TextTargets::sameName(window->objectName(), name))
            return window;
    return nullptr;
}

// The window's own controls: its children and theirs, but not what lies in
// another window (a dialog that has this window as its parent keeps its
// controls to itself, though it may itself be one of the controls). Where
// two have one name, the first in the order of creation counts. Each window
// is indexed once per section applied, not once per line.
class Controls
{
public:
    QObject *find(QWidget *window, QStringView name)
    {
        auto found = m_windows.find(window);
        if (found == m_windows.end()) {
            found = m_windows.insert(window, {});
            index(window, *found);
        }
        return found->value(TextTargets::foldName(name));
    }

private:
    static void index(QObject *parent, QHash<QString, QObject *> &names)
    {
        for (QObject *child : parent->children()) {
            const QString name = TextTargets::foldName(child->objectName());
            if (!name.isEmpty() && !names.contains(name))
                names.insert(name, child);
            auto *widget = qobject_cast<QWidget *>(child);
            if (!widget || !widget->isWindow())
                index(child, names);
        }
    }

    QHash<QWidget *, QHash<QString, QObject *>> m_windows;
};

// A page's caption is the text of its tab in the page control.
bool setPageCaption(QWidget *page, const QString &text)
{
    auto *stack = page->parentWidget();
    auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
    const int index = tabs ? tabs->indexOf(page) : -1;
    if (index < 0)
        return false;
    tabs->setTabText(index, text);
    return true;
}

bool setCaption(QObject *control, const QString &text)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        group->setTitle(text);
    else if (auto *page = qobject_cast<QWidget *>(control))
        return setPageCaption(page, text);
    else
        return false;
    return true;
}

bool setProperty(QObject *control, TextTargets::Property property, const QString &text)
{
    auto *widget = qobject_cast<QWidget *>(control);
    switch (property) {
    case TextTargets::Caption:
        return setCaption(control, text);
    case TextTargets::Hint:
        if (!widget)
            return false;
        widget->setToolTip(text);
        return true;
    case TextTargets::Title:
        if (!widget || !widget->isWindow())
            return false;
        widget->setWindowTitle(text);
        return true;
    case TextTargets::Text:
        if (auto *edit = qobject_cast<QLineEdit *>(control)) {
            edit->setText(text);
            return true;
        }
        return false;
    case TextTargets::NoProperty:
        break;
    }
    return false;
}

// Sets a text as it is; `decode` passes control texts through
// decodeLineBreaks first.
bool setText(QWidget *window, QStringView path, const QString &text, int protectTag, bool decode,
             Controls &controls)
{
    if (TextTargets::sameName(path, u"caption")) {
        window->setWindowTitle(text);
        return true;
    }
    const qsizetype dot = path.indexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView controlName = path.left(dot);
    const TextTargets::Control *target = TextTargets::findControl(window->objectName(), controlName);
    const TextTargets::Property property = TextTargets::findProperty(path.mid(dot + 1));
    if (!target || !(TextTargets::propertiesOf(target->kind) & property))
        return false;
    QObject *control = controls.find(window, controlName);
    if (!control || TextTable::tag(control) == protectTag)
        return false;
    return setProperty(control, property, decode ? LanguageLoader::decodeLineBreaks(text) : text);
}

// A name of a file in its folder: no path, and no character that no file
// name can hold.
bool isPlainName(const QString &name)
{
    return !name.contains(u'/') && !name.contains(u'\\') && !name.contains(QChar(0)) && name != u".."
           && name != u".";
}

} // namespace

LanguageLoader::LanguageLoader(QString programFolder, TextTable &texts, MessageSink *messages, QObject *parent)
    : QObject(parent), m_programFolder(std::move(programFolder)), m_texts(texts), m_messages(messages)
{
}

QString LanguageLoader::packFile(const QString &programFolder, const QString &langPack)
{
    const QString name = langPack + LanguagePack::Extension;
    // A name that would lead out of the folder names no pack.
    if (!isPlainName(name))
        return {};
    return ProgramFolder(programFolder).file(LanguagePack::Folder, name);
}

void LanguageLoader::loadLanguage(const QString &langPack, const QList<QWidget *> &windows)
{
    const QString path = TextTargets::sameName(langPack, LanguagePack::English) ? QString() : packFile(m_programFolder, langPack);
    // Read whole, a pack takes time and memory by its size; one over the
    // limit is not read at all.
    const bool tooBig = !path.isEmpty() && QFileInfo(path).size() > ProfileFile::MaxFileSize;
    if (tooBig && m_messages)
        m_messages->packTooBig(path, ProfileFile::MaxFileSize);
    if (TextTargets::sameName(langPack, LanguagePack::English) || tooBig) {
        applyEnglishTexts(windows);
    } else {
        const ProfileDocument pack = path.isEmpty() ? ProfileDocument() : ProfileFile(path, nullptr).load();
        applyTextSection(pack, LanguagePack::ApplicationSection, windows, TextTable::FixedTextTag);
        applyVariables(pack);
        emit statusLabelsChanged();
        applyTextSection(pack, LanguagePack::GameSection, windows, TextTable::FixedTextTag);
    }
    m_helpFile = m_programFolder + u'/' + LanguagePack::Folder + u'/'
                 + LanguagePack::helpFileName(m_texts.variable(TextTable::HelpFileLanguage));
    emit languageLoaded();
}

QString LanguageLoader::findHelpFile() const
{
    if (m_helpFile.isEmpty())
        return {};
    const QString path = ProgramFolder(m_programFolder).file(LanguagePack::Folder, QFileInfo(m_helpFile).fileName());
    return QFileInfo(path).isFile() ? path : QString();
}

void LanguageLoader::applyVariables(const ProfileDocument &pack)
{
    for (const auto &[key, value] : pack.readSectionValues(LanguagePack::VariablesSection)) {
        bool whole = false;
        const int slot = key.toInt(&whole, 10);
        if (whole && slot >= 1 && slot <= TextTable::VariableCount && !value.isEmpty())
            m_texts.setVariable(slot, value);
    }
}

void LanguageLoader::applyEnglishTexts(const QList<QWidget *> &windows)
{
    m_texts.setEnglishVariables();
    applyEnglishWindowTexts([&windows](QStringView name) { return findWindow(windows, name); });
    emit statusLabelsChanged();
}

void LanguageLoader::applyDesignTexts(QWidget *window)
{
    applyEnglishWindowTexts([window](QStringView name) {
        return TextTargets::sameName(name, window->objectName()) ? window : nullptr;
    });
}

void LanguageLoader::applyEnglishWindowTexts(const std::function<QWidget *(QStringView)> &windowNamed)
{
    Controls controls;
    for (const TextTable::Entry &entry : TextTable::englishTexts()) {
        if (!entry.key)
            continue;
        const QString key = QString::fromLatin1(entry.key);
        const qsizetype dot = key.indexOf(u'.');
        if (QWidget *window = windowNamed(QStringView(key).left(dot)))
            setText(window, QStringView(key).mid(dot + 1), entry.text, NoProtection, false, controls);
    }
}

void LanguageLoader::applyTextSection(const ProfileDocument &pack, const QString &section,
                                      const QList<QWidget *> &windows, int protectTag)
{
    Controls controls;
    for (const auto &[key, value] : pack.readSectionValues(section)) {
        if (value.isEmpty())
            continue;
        const qsizetype dot = key.indexOf(u'.');
        if (dot < 0)
            continue;
        QWidget *window = findWindow(windows, QStringView(key).left(dot));
        if (!window || TextTable::tag(window) == protectTag)
            continue;
        setText(window, QStringView(key).mid(dot + 1), value, protectTag, true, controls);
    }
}

QString LanguageLoader::decodeLineBreaks(const QString &text)
{
    return TextTargets::decodeLineBreaks(text);
}
