#include "ProgramFolder.h"

#include "Windows1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <dirent.h>
#include <unistd.h>

namespace {

// The entry of `folderPath` named `name` without regard to case: the exact
// name when it exists, else the first other spelling in name order.
QString findEntry(const QString &folderPath, const QString &name, QDir::Filters kind)
{
    const QDir dir(folderPath);
    if (QFileInfo::exists(dir.filePath(name)))
        return name;
    QStringList matches;
    const QStringList entries = dir.entryList(kind | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            matches.append(entry);
    if (matches.isEmpty())
        return name;
    std::sort(matches.begin(), matches.end());
    return matches.first();
}

} // namespace

ProgramFolder::ProgramFolder(QString path) : m_path(std::move(path)) {}

QString ProgramFolder::ofRunningProgram()
{
    // The program file's own path, as the system spells it.
    QByteArray program(PATH_MAX, Qt::Uninitialized);
    const ssize_t size = ::readlink("/proc/self/exe", program.data(), std::size_t(program.size()));
    if (size <= 0 || size >= program.size())
        return QCoreApplication::applicationDirPath();
    program.truncate(size);
    const qsizetype slash = program.lastIndexOf('/');
    return usablePath(slash <= 0 ? QByteArray("/") : program.left(slash));
}

QString ProgramFolder::usablePath(const QByteArray &native)
{
    const QString path = QFile::decodeName(native);
    if (QFile::encodeName(path) == native)
        return path;
    if (::chdir(native.constData()) == 0)
        return QStringLiteral(".");
    return path;
}

QString ProgramFolder::folder(const QString &name) const
{
    return QDir(m_path).filePath(findEntry(m_path, name, QDir::Dirs));
}

QString ProgramFolder::file(const QString &folderName, const QString &name) const
{
    const QString where = folderName.isEmpty() ? m_path : folder(folderName);
    return QDir(where).filePath(findEntry(where, name, QDir::Files));
}

QStringList ProgramFolder::files(const QString &folderName, const QString &extension) const
{
    QStringList names;
    const QDir dir(folder(folderName));
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name.size() > extension.size() && name.endsWith(extension, Qt::CaseInsensitive) && entry.isFile())
            names.append(name);
    }
    std::sort(names.begin(), names.end(), &ProgramFolder::lessWithoutCase);
    return names;
}

QStringList ProgramFolder::unusableNames(const QString &folderName, const QString &extension) const
{
    QStringList names;
    DIR *dir = ::opendir(QFile::encodeName(folder(folderName)).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        if (QFile::encodeName(QFile::decodeName(raw)) == raw)
            continue; // listed by files(), when it is one
        const QString name = Windows1252::decode(raw);
        if (name.size() > extension.size() && name.endsWith(extension, Qt::CaseInsensitive))
            names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), &ProgramFolder::lessWithoutCase);
    return names;
}

bool ProgramFolder::lessWithoutCase(const QString &a, const QString &b)
{
    const int order = QString::compare(a.toUpper(), b.toUpper(), Qt::CaseSensitive);
    // Names that differ only in case keep one order too.
    return order != 0 ? order < 0 : a < b;
}
