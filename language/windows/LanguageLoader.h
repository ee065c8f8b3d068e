#pragma once

#include <functional>

#include <QList>
#include <QObject>
#include <QString>
#include <QStringView>

class MessageSink;
class ProfileDocument;
class QWidget;
class TextTable;

// Puts a language into the program's windows: the built-in English texts or
// a language pack "LNG/<name>.lng" beside the program. A pack is a profile
// file whose sections "Application" and "Kelvor" name texts by key
// ("ScoresForm.L7.Caption", "Setup.caption") and whose section "Variables"
// gives the run-time texts by slot number. A pack changes only what it names
// and what the program knows (TextTargets); windows and controls that carry
// the protection tag keep their texts. Whatever a pack holds, loading it
// never fails: lines that name nothing are passed over.
class LanguageLoader : public QObject
{
    Q_OBJECT
public:
    // A pack too big to read is told to `messages`.
    LanguageLoader(QString programFolder, TextTable &texts, MessageSink *messages = nullptr,
                   QObject *parent = nullptr);

    // Applies the language `langPack` ("english" in any case of A to Z is
    // the built-in one) to the windows given, then names the help file.
    // Windows that the program has not created are simply not among them.
    // A pack bigger than the game reads of a file is named in a message, and
    // the built-in English applies in its place.
    void loadLanguage(const QString &langPack, const QList<QWidget *> &windows);

    // Sets every text of the English table and the English run-time texts.
    void applyEnglishTexts(const QList<QWidget *> &windows);
    // Sets the English table's texts of this one window and its controls:
    // the design texts that each window takes when it is created, so that a
    // text no pack names shows its English text even when a pack is the
    // first language of the run. The run-time texts are left as they are.
    static void applyDesignTexts(QWidget *window);

    // The help file the language names: LNG/Tolvane_<slot 8>.hlp in the
    // program folder, as named (its letter case is resolved on opening).
    // Always a file of that folder: each slash or backslash of slot 8 stands
    // as "_" in the name, so that a slot 8 with a path leads nowhere else.
    QString helpFile() const { return m_helpFile; }
    // The help file as it exists, in whatever letter case; empty when there
    // is none.
    QString findHelpFile() const;

    // The pack file of a language: "Lng/<langPack>.lng" in the folder, found
    // whatever the letter case of the folder and file.
    static QString packFile(const QString &programFolder, const QString &langPack);

    // Applies the text lines of one section of a pack, in file order.
    static void applyTextSection(const ProfileDocument &pack, const QString &section,
                                 const QList<QWidget *> &windows, int protectTag);
    // Each "%0A" (zero, capital A) becomes CR LF; nothing else changes.
    static QString decodeLineBreaks(const QString &text);

signals:
    // Run-time slots 1 and 2, the labels of status panels 0 and 2, were set.
    void statusLabelsChanged();
    // A language has been applied and the help file named.
    void languageLoaded();

private:
    void applyVariables(const ProfileDocument &pack);
    // The English table's window texts, on the window each key's window
    // name gives (none: the key is passed over).
    static void applyEnglishWindowTexts(const std::function<QWidget *(QStringView)> &windowNamed);

    QString m_programFolder;
    TextTable &m_texts;
    MessageSink *m_messages;
    QString m_helpFile;
};
