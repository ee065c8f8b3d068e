#pragma once

#include <QString>

// The whole numbers of the game's files (scores, settings): an optional sign
// and decimal digits, within the 32-bit range, as the family has always read
// them. Every number read from a file goes through here.
class WholeNumber
{
public:
    // Whether the text is such a number; when it is, `value` takes it.
    static bool parse(const QString &text, int &value);
};
