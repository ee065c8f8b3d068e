#include "ProfileFile.h"

#include "MessageSink.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

ProfileFile::ProfileFile(QString path, MessageSink *sink)
    : m_path(std::move(path))
    , m_sink(sink)
{
}

ProfileDocument ProfileFile::load() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return ProfileDocument();
    return ProfileDocument::fromBytes(file.readAll());
}

bool ProfileFile::save(const ProfileDocument &document)
{
    const QFileInfo info(m_path);
    // A file that exists but cannot be read has been loaded as an empty one;
    // saving would replace all it holds, so it is left alone. (QSaveFile
    // itself refuses a read-only file, a folder in the file's place, and a
    // folder that cannot be written.)
    if (info.exists() && !info.isReadable())
        return fail();

    // Unbuffered, so that a short write (a full disk) shows in write()'s
    // count: a buffered QSaveFile lets a short write at its final flush pass
    // and commits a truncated file.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail();
    const QByteArray bytes = document.toBytes();
    // Without commit() the new contents are thrown away and the file stays.
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail();
    return true;
}

bool ProfileFile::fail()
{
    if (m_sink)
        m_sink->showError(QStringLiteral("Unable to write to %1").arg(QFileInfo(m_path).absoluteFilePath()));
    return false;
}

QString ProfileFile::readString(const QString &section, const QString &key,
                                const QString &defaultValue) const
{
    return load().readString(section, key, defaultValue);
}

bool ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    ProfileDocument document = load();
    document.writeString(section, key, value);
    return save(document);
}

QStringList ProfileFile::readSection(const QString &section) const
{
    return load().readSection(section);
}

QStringList ProfileFile::readSectionKeys(const QString &section) const
{
    return load().readSectionKeys(section);
}
