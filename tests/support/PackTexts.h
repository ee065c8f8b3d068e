#pragma once

#include "StandInWindows.h"
#include "TestSupport.h"
#include "language/windows/LanguageLoader.h"

#include <QDir>
#include <QWidget>

// The texts of `window` that a language pack changes when it sets each of
// `paths` ("caption", "Info.Caption", "Logo.Hint") to "x" in both of its
// text sections, loaded into the window as the game loads a pack: the paths
// whose text is no longer what it was (or whose control is missing).
inline QStringList textsAPackChanges(LanguageLoader &language, const QString &programFolder, QWidget *window,
                                     const QStringList &paths)
{
    QByteArray lines;
    const auto textAt = [window](const QString &path) {
        const qsizetype dot = path.lastIndexOf(u'.');
        QObject *target = dot < 0 ? window : window->findChild<QObject *>(path.left(dot));
        return target ? textOf(target, path.mid(dot + 1)) : QStringLiteral("<no control>");
    };
    QStringList before;
    for (const QString &path : paths) {
        lines += window->objectName().toLatin1() + '.' + path.toLatin1() + "=x\r\n";
        before.append(textAt(path));
    }
    QDir(programFolder).mkpath(QStringLiteral("LNG"));
    writeFileBytes(programFolder + QStringLiteral("/LNG/fixed.lng"), "[Application]\r\n" + lines + "[Kelvor]\r\n" + lines);
    language.loadLanguage(QStringLiteral("fixed"), {window});
    QStringList changed;
    for (qsizetype i = 0; i < paths.size(); ++i)
        if (textAt(paths[i]) != before[i] || before[i] == QLatin1String("<no control>"))
            changed.append(paths[i]);
    return changed;
}
