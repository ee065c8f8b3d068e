#pragma once

#include <QString>
#include <QStringList>

// The folder of the program file, from which every file of the game is found.
// The family's games were written for a file system that ignores letter
// case: "GFX", "Gfx" and "gfx" are one folder there, and "*.bmp" finds
// "SEA.BMP". Here the folders and the files in them are looked up the same
// way, so a game folder copied from Windows works unchanged.
class ProgramFolder
{
public:
    explicit ProgramFolder(QString path);

    // The folder of the running program as a path the game can open. Qt
    // holds a path as text, and a folder name in an 8-bit encoding ("caf\xE9")
    // is no text: the program then works from inside its folder, which it
    // names ".", so every file is still found, listed and saved there.
    static QString ofRunningProgram();
    // The same for the folder whose path is `native`, as the system spells it.
    static QString usablePath(const QByteArray &native);

    const QString &path() const { return m_path; }

    // The folder of that name at the top of the program folder, in whatever
    // letter case it exists; the name as given when there is none.
    QString folder(const QString &name) const;

    // The file `name` in the folder `folder` (a folder of the program folder,
    // or "" for the top), both in whatever letter case they exist; the names
    // as given where they do not.
    QString file(const QString &folder, const QString &name) const;

    // The names of the regular files in the folder whose extension (".bmp")
    // matches in any letter case, ordered by name without regard to case,
    // as the family's own platform returned them, so the order is the same
    // on every machine.
    QStringList files(const QString &folder, const QString &extension) const;

    // The files of that folder and extension that files() leaves out because
    // their names are not UTF-8 (a skin copied from an old Windows disk
    // keeps its name in the Windows code page): the game names every file by
    // text, and such a name has none that opens the file. Given as the
    // family's Windows games show them, read as Windows-1252, in files()'s
    // order.
    QStringList unusableNames(const QString &folder, const QString &extension) const;

    // Orders names as that platform does: by their upper-case forms.
    static bool lessWithoutCase(const QString &a, const QString &b);

private:
    QString m_path;
};
