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

QByteArray bitmapFileHead(int width, int height, int bits, quint32 compression, const QList<quint32> &table)
{
    QByteArray head(54 + 4 * table.size(), '\0');
    const auto put = [&](int at, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            head[at + i] = char(value >> (8 * i));
    };
    head[0] = 'B';
    head[1] = 'M';
    put(10, quint32(head.size()), 4);
    put(14, 40, 4);
    put(18, quint32(width), 4);
    put(22, quint32(height), 4);
    put(26, 1, 2);
    put(28, quint32(bits), 2);
    put(30, compression, 4);
    put(46, quint32(table.size()), 4);
    for (int i = 0; i < table.size(); ++i)
        put(54 + 4 * i, table[i] & 0xFFFFFF, 4);
    return head;
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
