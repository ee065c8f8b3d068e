#pragma once

#include <QList>
#include <QString>
#include <array>

class QObject;
class QWidget;

// The interface texts that a language changes: the texts set on windows and
// controls by key ("Form1.NewGame.Hint": window, control, property) and the
// ten run-time texts (VariableTexts) shown where no control of its own is.
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

    struct Entry
    {
        const char *key;
        QString text;
    };

    // The built-in English texts, in the order they are applied.
    static const QList<Entry> &englishTexts();

    QString variable(int slot) const;
    // A text longer than 50 characters is cut to its first 50.
    void setVariable(int slot, const QString &text);

    // Sets every English text on the windows given (found by their
    // objectName; a window not among them is passed over) and the English
    // run-time texts of slots 1 to 8.
    void applyEnglishTexts(const QList<QWidget *> &windows);

    // Sets one text on `window`: `path` is the rest of the key after the
    // window name ("NewGame.Hint", or "caption" for the window's title).
    // Names are compared without regard to case. A window or control tagged
    // with `protectTag` is left alone. Returns whether a text was set.
    static bool applyText(QWidget *window, const QString &path, const QString &text, int protectTag);

    // The integer tag of a window or control (0 when it has none).
    static int tag(const QObject *object);
    static void setTag(QObject *object, int tag);

private:
    std::array<QString, VariableCount> m_variables;
};
