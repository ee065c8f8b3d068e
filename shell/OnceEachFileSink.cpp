#include "OnceEachFileSink.h"

#include <cstdio>

void OnceEachFileSink::showError(const QString &text)
{
    if (text.startsWith(QLatin1String("Unable to write to "))) {
        if (m_unwritable.contains(text))
            return;
        m_unwritable.insert(text);
    }
    if (m_toLog)
        std::fprintf(stderr, "%s\n", qPrintable(text));
    else if (m_next)
        m_next->showError(text);
}
