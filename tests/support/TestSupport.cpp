#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

void copyShippedLng(const QString &programFolder)
{
    QDir(programFolder).mkdir(QStringLiteral("LNG"));
    const QDir source(QStringLiteral(KELVOR_LNG_DIR));
    for (const QString &name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), programFolder + QStringLiteral("/LNG/") + name);
}

bool writeWithFileSizeLimit(unsigned long bytes, const std::function<bool()> &write)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    return written;
}

QByteArray defaultScoresSection(int gamesWas)
{
    QByteArray text = "[Kelvor]\r\nGamesWas=" + QByteArray::number(gamesWas) + "\r\nGamesSucc=0\r\nGamesEnd=0\r\n";
    for (int n = 1; n <= 13; ++n) {
        const QByteArray k = QByteArray::number(n);
        text += k + "Name=Somebody\r\n" + k + "DomLeft=24\r\n" + k + "Time=999\r\n";
    }
    return text;
}
