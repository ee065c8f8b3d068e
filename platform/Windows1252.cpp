#include "Windows1252.h"

#include <QList>

#include <array>

namespace {

// Bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> highControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte for a code point, or -1 when the code page has none.
int byteFor(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return int(codePoint);
    for (std::size_t i = 0; i < highControls.size(); ++i) {
        if (highControls[i] == codePoint)
            return int(0x80 + i);
    }
    return -1;
}

} // namespace

namespace Windows1252 {

QString decode(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(highControls[b - 0x80]) : QChar(b));
    }
    return text;
}

QByteArray encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const uint codePoint : text.toUcs4()) {
        const int b = byteFor(codePoint);
        bytes.append(b < 0 ? '?' : char(b));
    }
    return bytes;
}

bool canEncode(char32_t codePoint)
{
    return byteFor(codePoint) >= 0;
}

} // namespace Windows1252
