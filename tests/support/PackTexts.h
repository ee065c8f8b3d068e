#pragma once

#include "StandInWindows.h"
#include "TestSupport.h"
#include "language/windows/LanguageLoader.h"

#include <QDir>
#include <QWidget>

// The `paths` of the window's texts ("caption", "Info.Caption") that a pack
// changes when it sets each of them to "x" in both text sections; the pack
// is written into the program folder's LNG and loaded into the window as the
// game loads one. A path naming no control counts as changed.
inline QStringList textsAPackChanges(LanguageLoader &language, const QString &folder, QWidget *window,
                                     const QStringList &paths)
{
    const auto textAt = [window](const QString &path) {
        const qsizetype dot = path.lastIndexOf(u'.');
        QObject *target = dot < 0 ? window : window->findChild<QObject *>(path.left(dot));
        return target ? textOf(target, path.mid(dot + 1)) : QStringLiteral("x");
    };
    QByteArray lines;
    for (const QString &path : paths)
        lines += window->objectName().toLatin1() + '.' + path.toLatin1() + "=x\r\n";
    QDir(folder).mkpath(QStringLiteral("LNG"));
    writeFileBytes(folder + QStringLiteral("/LNG/fixed.lng"), "[Application]\r\n" + lines + "[Kelvor]\r\n" + lines);
    language.loadLanguage(QStringLiteral("fixed"), {window});
    QStringList changed;
    for (const QString &path : paths)
        if (textAt(path) == QLatin1String("x"))
            changed.append(path);
    return changed;
}
