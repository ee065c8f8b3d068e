#include "Announcer.h"

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(0, 0);
    hide();
}

void Announcer::announce(const QString &text)
{
    setAccessibleName(text);
    // A screen reader speaks a notification as it shows.
    hide();
    show();
}

void Announcer::clear()
{
    hide();
    setAccessibleName(QString());
}
