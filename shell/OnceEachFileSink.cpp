#include "OnceEachFileSink.h"

#include <QFileInfo>

#include <cstdio>

void OnceEachFileSink::unableToWrite(const QString &path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    if (m_named.contains(file))
        return;
    m_named.insert(file);
    next() ? next()->unableToWrite(path) : MessageSink::unableToWrite(path);
}

void OnceEachFileSink::notValidInteger(const QString &text)
{
    next() ? next()->notValidInteger(text) : MessageSink::notValidInteger(text);
}

void OnceEachFileSink::resourceNotFound(const QString &name)
{
    next() ? next()->resourceNotFound(name) : MessageSink::resourceNotFound(name);
}

void OnceEachFileSink::notValidBitmap(const QString &path)
{
    next() ? next()->notValidBitmap(path) : MessageSink::notValidBitmap(path);
}

void OnceEachFileSink::helpFileNotFound(const QString &path)
{
    next() ? next()->helpFileNotFound(path) : MessageSink::helpFileNotFound(path);
}

void OnceEachFileSink::showError(const QString &text)
{
    if (!next())
        std::fprintf(stderr, "%s\n", qPrintable(text));
    else
        m_next->showError(text);
}
