#pragma once

#include <QByteArray>
#include <QString>

// The Windows-1252 ("Western") code page, in which the family's older games
// write their profile files. Qt has no converter for it, so the table lives
// here. The five bytes that the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) read as the control characters of the same number, as Windows
// itself reads them, so every byte survives a round trip.
namespace Windows1252 {

QString decode(const QByteArray &bytes);

// Characters the code page has no byte for are written as '?', one per
// character (a surrogate pair counts as one character).
QByteArray encode(const QString &text);

bool canEncode(char32_t codePoint);

} // namespace Windows1252
