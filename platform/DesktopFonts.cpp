#include "DesktopFonts.h"

namespace {

QFont face(const char *family, QFont::StyleHint hint, int pixelHeight, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(hint);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace

QFont DesktopFonts::sansSerif(int pixelHeight, bool bold)
{
    return face("Liberation Sans", QFont::SansSerif, pixelHeight, bold);
}

QFont DesktopFonts::narrow(int pixelHeight, bool bold)
{
    return face("Liberation Sans Narrow", QFont::SansSerif, pixelHeight, bold);
}

QFont DesktopFonts::fixedPitch(int pixelHeight)
{
    QFont font = face("Liberation Mono", QFont::Monospace, pixelHeight, false);
    font.setFixedPitch(true);
    return font;
}
