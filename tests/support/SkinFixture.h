#pragma once

#include "SkinDlls.h"
#include "TestSupport.h"
#include "game/DominoSet.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// Skin libraries for the tests of choosing a skin: real resource DLLs built
// with windres and ld, whose faces are all of one colour and whose backs are
// of others, so a tile's picture tells where it came from.
namespace SkinFixture {

struct Skin
{
    QStringList texts;       // entries 1, 2, ...
    QRgb faceColour = 0;     // 0: no faces but "00bmp"
    QList<QRgb> backColours; // back001, back002, ...
};

inline QImage filled(QRgb colour)
{
    QImage image(30, 60, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Builds the skin into `file` (PE32+); fails the test when the tools fail.
inline void build(const QString &file, const Skin &skin)
{
    QTemporaryDir work;
    QString rc = QStringLiteral("STRINGTABLE\nBEGIN\n");
    for (int i = 0; i < skin.texts.size(); ++i)
        rc += QStringLiteral("%1 \"%2\"\n").arg(i + 1).arg(skin.texts[i]);
    rc += QStringLiteral("END\n");
    const auto add = [&](const QString &name, QRgb colour) {
        // Names that start with a digit are quoted; the file name is not, as
        // windres would join it with the next line's name.
        QVERIFY(filled(colour).save(work.filePath("f" + name + ".bmp"), "BMP"));
        rc += QStringLiteral("\"%1\" BITMAP f%2.bmp\n").arg(name.toUpper(), name);
    };
    for (DominoId id = 1; id <= 28; ++id)
        if (skin.faceColour || id == 1)
            add(QString::fromLatin1(DominoSet::bitmapName(id)), skin.faceColour ? skin.faceColour : qRgb(1, 2, 3));
    for (int i = 0; i < skin.backColours.size(); ++i)
        add(QStringLiteral("back%1").arg(i + 1, 3, 10, QLatin1Char('0')), skin.backColours[i]);
    const QByteArray dll = SkinDlls::buildDll(work.path(), rc, QStringLiteral("x86_64"));
    QVERIFY(!dll.isEmpty());
    QDir().mkpath(QFileInfo(file).path());
    writeFileBytes(file, dll);
}

// A skin of red faces with two backs, green and blue.
inline Skin red()
{
    return {{"Tolvane...", "2", "Green back", "Blue back", "0", "Made by the tests", "All red"},
            qRgb(255, 0, 0),
            {qRgb(0, 255, 0), qRgb(0, 0, 255)}};
}

} // namespace SkinFixture
