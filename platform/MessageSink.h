#pragma once

#include <QString>

// Where the program's error messages go ("Unable to write to %s", "'%s' is
// not a valid integer value", "Resource %s not found"). The game shows them in
// the standard error box; tests capture them instead.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void showError(const QString &text) = 0;
};
