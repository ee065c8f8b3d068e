#include "MessageSink.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A file as the messages name it: its full path.
QString fullPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

void MessageSink::unableToWrite(const QString &path)
{
    showError(QStringLiteral("Unable to write to %1").arg(fullPath(path)));
}

void MessageSink::notValidInteger(const QString &text)
{
    showError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

void MessageSink::resourceNotFound(const QString &name)
{
    showError(QStringLiteral("Resource %1 not found").arg(name));
}

void MessageSink::notValidBitmap(const QString &path)
{
    showError(QStringLiteral("%1 is not a valid bitmap").arg(QDir::toNativeSeparators(path)));
}

void MessageSink::pictureTooBig(const QString &path, const QString &limit)
{
    showError(QStringLiteral("%1 is too big for a wallpaper: %2.").arg(QDir::toNativeSeparators(path), limit));
}

void MessageSink::namesNotUsable(const QString &folder, const QStringList &names)
{
    showError(QStringLiteral("%1 holds files whose names are not UTF-8, which the game cannot open: %2. "
                             "Renamed, they can be used.")
                  .arg(fullPath(folder), names.join(QStringLiteral(", "))));
}

void MessageSink::helpFileNotFound(const QString &path)
{
    showError(QStringLiteral("Cannot find the help file %1").arg(fullPath(path)));
}

void MessageSink::fileTooBig(const QString &path, qint64 limitBytes)
{
    showError(QStringLiteral("%1 is larger than %2 MB; the game neither reads nor replaces it.")
                  .arg(fullPath(path))
                  .arg(limitBytes / (1024 * 1024)));
}

void MessageSink::packTooBig(const QString &path, qint64 limitBytes)
{
    showError(QStringLiteral("The language pack %1 is bigger than %2 KB; the game stays in English.")
                  .arg(fullPath(path))
                  .arg(limitBytes / 1024));
}
