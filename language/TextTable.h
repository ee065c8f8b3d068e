#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <array>

class QObject;

// The interface texts that a language changes: the built-in English texts,
// each set on a window or control by its key ("Form1.NewGame.Hint": window,
// control, property; "Form1.caption" for a window's title) or into one of
// the ten run-time texts (VariableTexts) shown where no control of its own
// is; and the run-time texts now in force.
class TextTable
{
public:
    // The run-time texts, by slot 1..10.
    enum Slot {
        VariantsLabel = 1,
        TimeLabel = 2,
        PressF2ToStart = 3,
        GameOver = 4,
        LetsPlay = 5,
        Pause = 6,
        StandardSkinEntry = 7,
        HelpFileLanguage = 8,
    };
    static constexpr int VariableCount = 10;
    static constexpr int VariableMaxLength = 50;
    // Windows and controls carrying this tag keep their texts.
    static constexpr int FixedTextTag = 1;

    // One row of the English table: a text for the target named by `key`,
    // or, where `key` is null, for the run-time slot `slot`.
    struct Entry
    {
        const char *key;
        int slot;
        QString text;
    };

    // The built-in English texts, in the order they are applied.
    static const QList<Entry> &englishTexts();
    // The English run-time text of a slot; empty for slots 9 and 10.
    static QString englishVariable(int slot);

    QString variable(int slot) const;
    // A text longer than 50 characters is cut to its first 50.
    void setVariable(int slot, const QString &text);
    // Every run-time text from the English table.
    void setEnglishVariables();
    // A run-time text as a slot keeps it: its first 50 characters.
    static QString cutVariable(const QString &text);

    // The integer tag of a window or control (0 when it has none).
    static int tag(const QObject *object);
    static void setTag(QObject *object, int tag);

private:
    std::array<QString, VariableCount> m_variables;
};
