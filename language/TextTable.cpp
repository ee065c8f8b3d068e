#include "TextTable.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

const QList<TextTable::Entry> &TextTable::englishTexts()
{
    static const QList<Entry> texts = {
        {"Form1.caption", QStringLiteral("Tolvane: Kelvor")},
        {"Form1.NewGame.Hint", QStringLiteral("Start new game (F2)")},
        {"Form1.Pause.Hint", QStringLiteral("Pause/Resume game (F4)")},
        {"Form1.Options.Hint", QStringLiteral("Game options (F3)")},
        {"Form1.Stats.Hint", QStringLiteral("Game statistics (F5)")},
        {"Form1.About.Hint", QStringLiteral("About Brindlewick")},
        {"Form1.Help.Hint", QStringLiteral("Game Help (F1)")},
        {"Enter2HSC.caption", QStringLiteral("Congratulations!!!")},
        {"Enter2HSC.L1.Caption", QStringLiteral("Your time:")},
        {"Enter2HSC.L2.Caption", QStringLiteral("Dominoes left:")},
        {"Enter2HSC.L3.Caption", QStringLiteral("Your name: ")},
        {"Enter2HSC.Button1.Caption", QStringLiteral("Add me to CHAMPIONS!!!")},
        {"ScoresForm.caption", QStringLiteral("Game statistics")},
        {"ScoresForm.L1.Caption", QStringLiteral("Total games:")},
        {"ScoresForm.L2.Caption", QStringLiteral("Successfuly games:")},
        {"ScoresForm.L3.Caption", QStringLiteral("Games won:")},
        {"ScoresForm.LL1.Caption", QStringLiteral("Total games:")},
        {"ScoresForm.LL2.Caption", QStringLiteral("Successfuly games:")},
        {"ScoresForm.LL3.Caption", QStringLiteral("Games won:")},
        {"ScoresForm.ScoresGame.Caption", QStringLiteral("Tolvane: Kelvor")},
        {"ScoresForm.ScoresAllGames.Caption", QStringLiteral("All 'Tolvane...' Games")},
        {"ScoresForm.L7.Caption", QStringLiteral("Best players")},
        {"ScoresForm.L9.Caption", QStringLiteral("Name / Nickname")},
        {"ScoresForm.L10.Caption", QStringLiteral("Dominoes\n\r left")},
        {"ScoresForm.L11.Caption", QStringLiteral("Time")},
        {"ScoresForm.CloseButt.Caption", QStringLiteral("Close")},
        {"Setup.caption", QStringLiteral("Game setup")},
        {"Setup.Cancel.Caption", QStringLiteral("Cancel")},
        {"Setup.Apply.Caption", QStringLiteral("Apply")},
        {"Setup.Label3.Caption", QStringLiteral("Background color")},
        {"Setup.Label2.Caption", QStringLiteral("Position:")},
        {"Setup.Browse.Caption", QStringLiteral("Browse...")},
        {"Setup.RB1.Caption", QStringLiteral("Centered")},
        {"Setup.RB2.Caption", QStringLiteral("Tiled")},
        {"Setup.GroupBox3.Caption", QStringLiteral("Wallpaper")},
        {"Setup.Screen.Caption", QStringLiteral("Screen")},
        {"Setup.Language.Caption", QStringLiteral("Language")},
        {"Setup.Label1.Caption", QStringLiteral("Choose language:")},
        {"Setup.Misc.Caption", QStringLiteral("Skins")},
        {"Setup.GroupBox2.Caption", QStringLiteral("Choose skin:")},
        {"Setup.GroupBox1.Caption", QStringLiteral("Choose back:")},
        {"Setup.GroupBox4.Caption", QStringLiteral("Info about skin")},
        {"Setup.OpenDialog.Title", QStringLiteral("Select background image")},
    };
    return texts;
}

QString TextTable::variable(int slot) const
{
    if (slot < 1 || slot > VariableCount)
        return {};
    return m_variables[slot - 1];
}

void TextTable::setVariable(int slot, const QString &text)
{
    if (slot < 1 || slot > VariableCount)
        return;
    m_variables[slot - 1] = text.left(VariableMaxLength);
}

void TextTable::applyEnglishTexts(const QList<QWidget *> &windows)
{
    for (const Entry &entry : englishTexts()) {
        const QString key = QString::fromLatin1(entry.key);
        const qsizetype dot = key.indexOf(QLatin1Char('.'));
        const QString windowName = key.left(dot);
        for (QWidget *window : windows) {
            if (window && window->objectName().compare(windowName, Qt::CaseInsensitive) == 0) {
                // English is the program's own: no tag protects from it.
                applyText(window, key.mid(dot + 1), entry.text, -1);
                break;
            }
        }
    }
    static const char *const variables[] = {"Variants:", "Time:", "Press F2 to start", "Game over",
                                            "Let's play...", "Pause", "<Standard set>", "eng"};
    for (int slot = 1; slot <= 8; ++slot)
        setVariable(slot, QString::fromLatin1(variables[slot - 1]));
}

namespace {

QObject *findControl(QWidget *window, const QString &name)
{
    const QList<QObject *> all = window->findChildren<QObject *>();
    for (QObject *child : all)
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    return nullptr;
}

// The title of a page is the text of its tab in the page control.
bool setPageTitle(QWidget *page, const QString &text)
{
    for (QWidget *parent = page->parentWidget(); parent; parent = parent->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(parent)) {
            const int index = tabs->indexOf(page);
            if (index >= 0) {
                tabs->setTabText(index, text);
                return true;
            }
        }
    }
    return false;
}

bool setCaption(QObject *target, const QString &text)
{
    if (auto *label = qobject_cast<QLabel *>(target))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(target))
        button->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(target))
        group->setTitle(text);
    else if (auto *widget = qobject_cast<QWidget *>(target); widget && setPageTitle(widget, text))
        return true;
    else if (widget && widget->isWindow())
        widget->setWindowTitle(text);
    else
        return false;
    return true;
}

} // namespace

bool TextTable::applyText(QWidget *window, const QString &path, const QString &text, int protectTag)
{
    if (!window || tag(window) == protectTag)
        return false;
    const qsizetype dot = path.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        if (path.compare(QLatin1String("caption"), Qt::CaseInsensitive) != 0)
            return false;
        window->setWindowTitle(text);
        return true;
    }
    QObject *control = findControl(window, path.left(dot));
    if (!control || tag(control) == protectTag)
        return false;
    const QString property = path.mid(dot + 1);
    if (property.compare(QLatin1String("Caption"), Qt::CaseInsensitive) == 0)
        return setCaption(control, text);
    if (property.compare(QLatin1String("Hint"), Qt::CaseInsensitive) == 0) {
        auto *widget = qobject_cast<QWidget *>(control);
        if (!widget)
            return false;
        widget->setToolTip(text);
        return true;
    }
    if (property.compare(QLatin1String("Text"), Qt::CaseInsensitive) == 0) {
        if (auto *edit = qobject_cast<QLineEdit *>(control)) {
            edit->setText(text);
            return true;
        }
        return setCaption(control, text);
    }
    if (property.compare(QLatin1String("Title"), Qt::CaseInsensitive) == 0) {
        if (auto *dialog = qobject_cast<QFileDialog *>(control)) {
            dialog->setWindowTitle(text);
            return true;
        }
        return false;
    }
    return false;
}

int TextTable::tag(const QObject *object)
{
    return object ? object->property("tag").toInt() : 0;
}

void TextTable::setTag(QObject *object, int tag)
{
    object->setProperty("tag", tag);
}
