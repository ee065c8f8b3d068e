#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Writes a resource-only PE32 DLL: one ".rsrc" section holding bitmaps
// (type 2) under their names and strings (type 6) by number, in US English,
// laid out as Windows' loader and resource tools expect (named entries
// before numbered ones, each group sorted). No code, no imports, no entry
// point; nothing in the file depends on the time it was written.
class ResourceDllWriter
{
public:
    // Names are stored upper-case.
    void addBitmap(const QString &name, const QByteArray &dib);
    // Numbers 0 to 65535; texts as given (the caller limits their length).
    void addString(int id, const QString &text);

    QByteArray write() const;

private:
    QMap<QString, QByteArray> m_bitmaps;
    QMap<int, QString> m_strings;
};
