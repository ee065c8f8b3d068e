#pragma once

#include <QString>

// Texts counted in characters as the player sees them: a surrogate pair is
// one character and is never split.

// The first `limit` characters of the text.
QString leftCharacters(const QString &text, int limit);
// The number of characters of the text.
qsizetype characterCount(const QString &text);
