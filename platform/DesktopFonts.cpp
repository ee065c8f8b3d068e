#include "DesktopFonts.h"

#include <QFontDatabase>

QFont DesktopFonts::sansSerif(int pixelHeight, bool bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QFont DesktopFonts::fixedPitch(int pixelHeight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixelHeight);
    return font;
}
