#include "TextTable.h"

#include <QObject>
#include <QVariant>

const QList<TextTable::Entry> &TextTable::englishTexts()
{
    static const QList<Entry> texts = {
        {"Form1.caption", 0, QStringLiteral("Tolvane: Kelvor")},
        {"Form1.NewGame.Hint", 0, QStringLiteral("Start new game (F2)")},
        {"Form1.Pause.Hint", 0, QStringLiteral("Pause/Resume game (F4)")},
        {"Form1.Options.Hint", 0, QStringLiteral("Game options (F3)")},
        {"Form1.Stats.Hint", 0, QStringLiteral("Game statistics (F5)")},
        {"Form1.About.Hint", 0, QStringLiteral("About Brindlewick")},
        {"Form1.Help.Hint", 0, QStringLiteral("Game Help (F1)")},
        {nullptr, VariantsLabel, QStringLiteral("Variants:")},
        {nullptr, TimeLabel, QStringLiteral("Time:")},
        {"Enter2HSC.caption", 0, QStringLiteral("Congratulations!!!")},
        {"Enter2HSC.L1.Caption", 0, QStringLiteral("Your time:")},
        {"Enter2HSC.L2.Caption", 0, QStringLiteral("Dominoes left:")},
        {"Enter2HSC.L3.Caption", 0, QStringLiteral("Your name: ")},
        {"Enter2HSC.Button1.Caption", 0, QStringLiteral("Add me to CHAMPIONS!!!")},
        {"ScoresForm.caption", 0, QStringLiteral("Game statistics")},
        {"ScoresForm.L1.Caption", 0, QStringLiteral("Total games:")},
        {"ScoresForm.L2.Caption", 0, QStringLiteral("Successfuly games:")},
        {"ScoresForm.L3.Caption", 0, QStringLiteral("Games won:")},
        {"ScoresForm.LL1.Caption", 0, QStringLiteral("Total games:")},
        {"ScoresForm.LL2.Caption", 0, QStringLiteral("Successfuly games:")},
        {"ScoresForm.LL3.Caption", 0, QStringLiteral("Games won:")},
        {"ScoresForm.ScoresGame.Caption", 0, QStringLiteral("Tolvane: Kelvor")},
        {"ScoresForm.ScoresAllGames.Caption", 0, QStringLiteral("All 'Tolvane...' Games")},
        {"ScoresForm.L7.Caption", 0, QStringLiteral("Best players")},
        {"ScoresForm.L9.Caption", 0, QStringLiteral("Name / Nickname")},
        // Two lines, broken by LF CR as the family's statistics texts are.
        {"ScoresForm.L10.Caption", 0, QStringLiteral("Dominoes\n\r left")},
        {"ScoresForm.L11.Caption", 0, QStringLiteral("Time")},
        {"ScoresForm.CloseButt.Caption", 0, QStringLiteral("Close")},
        {"Setup.caption", 0, QStringLiteral("Game setup")},
        {"Setup.Cancel.Caption", 0, QStringLiteral("Cancel")},
        {"Setup.Apply.Caption", 0, QStringLiteral("Apply")},
        {"Setup.Label3.Caption", 0, QStringLiteral("Background color")},
        {"Setup.Label2.Caption", 0, QStringLiteral("Position:")},
        {"Setup.Browse.Caption", 0, QStringLiteral("Browse...")},
        {"Setup.RB1.Caption", 0, QStringLiteral("Centered")},
        {"Setup.RB2.Caption", 0, QStringLiteral("Tiled")},
        {"Setup.GroupBox3.Caption", 0, QStringLiteral("Wallpaper")},
        {"Setup.Screen.Caption", 0, QStringLiteral("Screen")},
        {"Setup.Language.Caption", 0, QStringLiteral("Language")},
        {"Setup.Label1.Caption", 0, QStringLiteral("Choose language:")},
        {"Setup.Misc.Caption", 0, QStringLiteral("Skins")},
        {"Setup.GroupBox2.Caption", 0, QStringLiteral("Choose skin:")},
        {"Setup.GroupBox1.Caption", 0, QStringLiteral("Choose back:")},
        {"Setup.GroupBox4.Caption", 0, QStringLiteral("Info about skin")},
        {"Setup.OpenDialog.Title", 0, QStringLiteral("Select background image")},
        {nullptr, PressF2ToStart, QStringLiteral("Press F2 to start")},
        {nullptr, GameOver, QStringLiteral("Game over")},
        {nullptr, LetsPlay, QStringLiteral("Let's play...")},
        {nullptr, Pause, QStringLiteral("Pause")},
        {nullptr, StandardSkinEntry, QStringLiteral("<Standard set>")},
        {nullptr, HelpFileLanguage, QStringLiteral("eng")},
    };
    return texts;
}

QString TextTable::englishVariable(int slot)
{
    for (const Entry &entry : englishTexts())
        if (!entry.key && entry.slot == slot)
            return entry.text;
    return QStringLiteral("");
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
    m_variables[slot - 1] = cutVariable(text);
}

void TextTable::setEnglishVariables()
{
    for (const Entry &entry : englishTexts())
        if (!entry.key)
            setVariable(entry.slot, entry.text);
}

QString TextTable::cutVariable(const QString &text)
{
    // Characters, not UTF-16 units: a surrogate pair is never split.
    qsizetype end = 0;
    for (int count = 0; count < VariableMaxLength && end < text.size(); ++count)
        end += (text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate()) ? 2 : 1;
    return text.left(end);
}

int TextTable::tag(const QObject *object)
{
    return object ? object->property("tag").toInt() : 0;
}

void TextTable::setTag(QObject *object, int tag)
{
    object->setProperty("tag", tag);
}
