#include "platform/ProgramFolder.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

class ProgramFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void listsInTheFamilysOrder_data();
    void listsInTheFamilysOrder();
    void findsFoldersAndFilesInAnyCase();
};

void ProgramFolderTest::listsInTheFamilysOrder_data()
{
    QTest::addColumn<QStringList>("files"); // in the folder "gfx"
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QByteArray>("rawName"); // a file named in the Windows code page, or ""
    QTest::addColumn<QStringList>("unusable");

    QTest::newRow("case does not order") << QStringList{"b.bmp", "A.BMP", "c.Bmp"}
                                         << QStringList{"A.BMP", "b.bmp", "c.Bmp"} << QByteArray() << QStringList();
    // Compared in upper case, as that platform does: '_' comes after the letters.
    QTest::newRow("signs by upper case") << QStringList{"_x.bmp", "z.bmp", "!.bmp"}
                                         << QStringList{"!.bmp", "z.bmp", "_x.bmp"} << QByteArray() << QStringList();
    QTest::newRow("other extensions left out") << QStringList{"a.bmp.txt", "b.png", ".bmp", "c.bmp"}
                                               << QStringList{"c.bmp"} << QByteArray() << QStringList();
    QTest::newRow("a name from an old Windows disk")
        << QStringList{"a.bmp"} << QStringList{"a.bmp"} << QByteArray("Caf\xE9 \x80.BMP")
        << QStringList{"Caf\u00E9 \u20AC.BMP"};
}

void ProgramFolderTest::listsInTheFamilysOrder()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);
    QFETCH(QByteArray, rawName);
    QFETCH(QStringList, unusable);
    QTemporaryDir root;
    QDir(root.path()).mkdir("gfx");
    for (const QString &file : files)
        writeFileBytes(root.filePath("gfx/" + file), "x");
    if (!rawName.isEmpty()) {
        const int fd = ::open(QFile::encodeName(root.filePath("gfx/")) + rawName, O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    QDir(root.path()).mkdir("gfx/folder.bmp"); // not a file
    QCOMPARE(ProgramFolder(root.path()).files("GFX", ".bmp"), listed);
    const QStringList found = ProgramFolder(root.path()).unusableNames("GFX", ".bmp");
    ::unlink(QFile::encodeName(root.filePath("gfx/")) + rawName); // Qt cannot remove it
    QCOMPARE(found, unusable);
}

void ProgramFolderTest::findsFoldersAndFilesInAnyCase()
{
    QTemporaryDir root;
    QDir(root.path()).mkdir("skins");
    writeFileBytes(root.filePath("skins/Red.DLL"), "x");
    const ProgramFolder folder(root.path());
    QCOMPARE(folder.folder("Skins"), root.filePath("skins"));
    QCOMPARE(folder.file("SKINS", "red.dll"), root.filePath("skins/Red.DLL"));
    // What does not exist keeps the name asked for, to be created so.
    QCOMPARE(folder.folder("GFX"), root.filePath("GFX"));
    QCOMPARE(folder.file("Skins", "blue.dll"), root.filePath("skins/blue.dll"));
}

QTEST_MAIN(ProgramFolderTest)
#include "tst_platform_folder.moc"
