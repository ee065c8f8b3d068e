#include "ToolkitTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

ToolkitTexts::ToolkitTexts(const QLocale &desktop)
{
    m_loaded = m_translator.load(desktop, QStringLiteral("qtbase"), QStringLiteral("_"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))
               && QCoreApplication::installTranslator(&m_translator);
}
