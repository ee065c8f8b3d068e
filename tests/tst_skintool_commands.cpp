#include "game/DominoSet.h"
#include "platform/ResourceLibrary.h"
#include "settings/SkinInfo.h"
#include "support/SkinDlls.h"
#include "support/TestSupport.h"
#include "tools/kelvor-skin/SkinCommands.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

QString faceName(DominoId id)
{
    const std::string_view name = DominoSet::bitmapName(id);
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

// A two-colour face: the pattern's black and white, with a mark per domino.
QImage plainFace(DominoId id)
{
    QImage image = SkinDlls::pattern(2);
    image.setPixel(id, 30, qRgb(255, 255, 255));
    return image;
}

// A skin folder as an author makes one: PNG faces (one as an RLE bitmap),
// two BMP backs and skin.txt with one reserved record.
void writeSkinFolder(const QString &folder)
{
    QDir().mkpath(folder);
    const QDir dir(folder);
    for (DominoId id = 1; id <= DominoSet::Count; ++id)
        QVERIFY(plainFace(id).save(dir.filePath(faceName(id) + ".png")));
    writeFileBytes(dir.filePath("33BMP.bmp"), SkinDlls::bmpFile(SkinDlls::bmpKinds()[5]));
    QFile::remove(dir.filePath("33bmp.png"));
    writeFileBytes(dir.filePath("back001.bmp"), SkinDlls::bmpFile(SkinDlls::bmpKinds()[10]));
    writeFileBytes(dir.filePath("Back002.BMP"), SkinDlls::bmpFile(SkinDlls::bmpKinds()[13]));
    writeFileBytes(dir.filePath("skin.txt"), "# a test skin\r\nauthor: Ann\r\ndescription: Plain\r\n"
                                             "back 1: First\r\nback 2: Second\r\n"
                                             "record 1 first: key\r\nrecord 1 second: value\r\n");
}

// The same skin by the mingw resource tools, as a Windows author makes it.
QByteArray windresSkin(const QString &folder, const QString &architecture)
{
    writeSkinFolder(folder);
    const QDir dir(folder);
    QString rc;
    for (DominoId id = 1; id <= DominoSet::Count; ++id) {
        const QString name = faceName(id);
        if (name != "33bmp") {
            // Unquoted file names: rc joins a quoted one to the quoted
            // resource name on the next line.
            QImage(dir.filePath(name + ".png")).convertToFormat(QImage::Format_Mono).save(dir.filePath("w" + name + ".bmp"));
            rc += "\"" + name + "\" BITMAP w" + name + ".bmp\n";
        }
    }
    QFile::copy(dir.filePath("33BMP.bmp"), dir.filePath("w33bmp.bmp"));
    rc += "\"33bmp\" BITMAP w33bmp.bmp\nback001 BITMAP \"back001.bmp\"\nback002 BITMAP \"Back002.BMP\"\n"
          "STRINGTABLE\nBEGIN\n 1 \"Tolvane...\"\n 2 \"2\"\n 3 \"First\"\n 4 \"Second\"\n 5 \"1\"\n"
          " 6 \"key\"\n 7 \"value\"\n 8 \"Ann\"\n 9 \"Plain\"\nEND\n";
    return SkinDlls::buildDll(folder, rc, architecture);
}

struct Run
{
    int status;
    QString out;
    QString err;
};

Run kelvorSkin(const QStringList &arguments)
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int status = SkinCommands(outStream, errStream).run(arguments);
    return {status, out, err};
}

// Both libraries hold the same bitmaps, byte for byte, and the same texts.
void compareLibraries(const QString &a, const QString &b)
{
    const auto first = ResourceLibrary::open(a), second = ResourceLibrary::open(b);
    QVERIFY(first && second);
    QCOMPARE(second->bitmapNames(), first->bitmapNames());
    for (const QString &name : first->bitmapNames())
        QCOMPARE(second->bitmapData(name), first->bitmapData(name));
    QCOMPARE(second->stringIds(), first->stringIds());
    for (const int id : first->stringIds())
        QCOMPARE(second->string(id), first->string(id));
}

using Change = std::function<void(QDir)>;

} // namespace

class SkinToolTest : public QObject
{
    Q_OBJECT

private slots:
    void roundTrips_data();
    void roundTrips();
    void refusesWhatWouldNotWork_data();
    void refusesWhatWouldNotWork();
    void checkSaysWhatIsMissing_data();
    void checkSaysWhatIsMissing();
    void shippedSkinIsListed();
};

void SkinToolTest::roundTrips_data()
{
    QTest::addColumn<QString>("origin");
    QTest::newRow("built by the tool") << "";
    for (const QString &architecture : SkinDlls::architectures)
        QTest::addRow("built by windres, %s", qPrintable(architecture)) << architecture;
}

// build (or windres) -> list -> extract -> build gives the same resources;
// the tool's library passes check and windres reads it back.
void SkinToolTest::roundTrips()
{
    QFETCH(QString, origin);
    QTemporaryDir dir;
    const QString first = dir.filePath("first.dll"), second = dir.filePath("second.dll");
    if (origin.isEmpty()) {
        writeSkinFolder(dir.filePath("source"));
        const Run built = kelvorSkin({"build", dir.filePath("source"), "-o", first});
        QVERIFY2(built.status == 0, qPrintable(built.err));
    } else {
        writeFileBytes(first, windresSkin(dir.filePath("source"), origin));
    }
    const Run listed = kelvorSkin({"list", first});
    QCOMPARE(listed.status, 0);
    QVERIFY(listed.out.contains("marker: Tolvane...\nbacks: 2\n  back 1: First\n  back 2: Second\n"
                                "reserved records: 1\nauthor: Ann\ndescription: Plain\n"));
    QVERIFY(listed.out.contains("  BACK001: 30 x 60, 24 bits\n"));
    QVERIFY(listed.out.contains("  00BMP: 30 x 60, 1 bit\n"));

    QCOMPARE(kelvorSkin({"extract", first, dir.filePath("extracted")}).status, 0);
    const Run rebuilt = kelvorSkin({"build", dir.filePath("extracted"), "-o", second});
    QVERIFY2(rebuilt.status == 0, qPrintable(rebuilt.err));
    compareLibraries(first, second);
    const auto library = ResourceLibrary::open(second);
    QCOMPARE(library->bitmap("00bmp").convertToFormat(QImage::Format_RGB32), plainFace(1));

    const Run checked = kelvorSkin({"check", second});
    QVERIFY2(checked.status == 0, qPrintable(checked.out));

    QProcess windres;
    windres.start("i686-w64-mingw32-windres", {"-i", second, "-O", "rc"});
    QVERIFY(windres.waitForFinished(60000));
    QCOMPARE(windres.exitCode(), 0);
    const QByteArray script = windres.readAllStandardOutput();
    QVERIFY(script.contains("\"Tolvane...\""));
    QVERIFY(script.contains("\"BACK002\""));
}

void SkinToolTest::refusesWhatWouldNotWork_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("named");
    const auto write = [](const char *file, QByteArray bytes) {
        return [file, bytes](QDir dir) { writeFileBytes(dir.filePath(file), bytes); };
    };
    QTest::newRow("face of the wrong size")
        << Change([](QDir dir) { QImage(30, 59, QImage::Format_RGB32).save(dir.filePath("12bmp.png")); })
        << "12bmp.png: 30 x 59 pixels";
    QTest::newRow("missing face") << Change([](QDir dir) { dir.remove("66bmp.png"); })
                                  << "66bmp.bmp: face missing";
    QTest::newRow("gap in the backs")
        << Change([](QDir dir) { dir.rename("Back002.BMP", "back003.bmp"); }) << "back002.bmp: back missing";
    QTest::newRow("no back") << Change([](QDir dir) {
        dir.remove("back001.bmp");
        dir.remove("Back002.BMP");
    }) << "back001.bmp: a skin needs at least one back";
    QTest::newRow("text over 254 characters")
        << Change(write("skin.txt", "author: " + QByteArray(255, 'a') + "\n")) << "skin.txt: text 6 is 255 characters";
    QTest::newRow("unknown line in skin.txt")
        << Change(write("skin.txt", "author: Ann\nauthr: Ann\n")) << "skin.txt, line 2:";
    QTest::newRow("title without a picture")
        << Change(write("skin.txt", "back 3: Third\n")) << "skin.txt: a title for back 3";
    QTest::newRow("no skin.txt") << Change([](QDir dir) { dir.remove("skin.txt"); }) << "skin.txt: missing";
    QTest::newRow("not a picture") << Change(write("05bmp.png", "not a picture")) << "05bmp.png: not a picture";
    QTest::newRow("two pictures for one face")
        << Change([](QDir dir) { QFile::copy(dir.filePath("01bmp.png"), dir.filePath("01BMP.bmp")); })
        << "a second picture for 01BMP";
}

void SkinToolTest::refusesWhatWouldNotWork()
{
    QFETCH(Change, change);
    QFETCH(QString, named);
    QTemporaryDir dir;
    writeSkinFolder(dir.filePath("skin"));
    change(QDir(dir.filePath("skin")));
    const Run run = kelvorSkin({"build", dir.filePath("skin"), "-o", dir.filePath("skin.dll")});
    QCOMPARE(run.status, SkinCommands::Faulty);
    QVERIFY2(run.err.contains(named), qPrintable(run.err));
    QVERIFY(!QFile::exists(dir.filePath("skin.dll")));
}

void SkinToolTest::checkSaysWhatIsMissing_data()
{
    QTest::addColumn<QString>("rc");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    const QString faces = "\"00bmp\" BITMAP w00bmp.bmp\n";
    QTest::newRow("marker in other case")
        << "STRINGTABLE\nBEGIN\n 1 \"TOLVANE...\"\n 2 \"0\"\n 3 \"0\"\nEND\n" << 1
        << "the game does not list it\n  text 1 is \"TOLVANE...\": the marker is \"Tolvane...\" in exactly";
    QTest::newRow("faces and back missing")
        << faces + "STRINGTABLE\nBEGIN\n 1 \"Tolvane...\"\n 2 \"1\"\n 3 \"One\"\n 4 \"0\"\n 5 \"A\"\n 6 \"D\"\nEND\n"
        << 1 << "the game lists it\n  face 01bmp missing\n";
    QTest::newRow("count not a number")
        << faces + "STRINGTABLE\nBEGIN\n 1 \"Tolvane...\"\n 2 \"x\"\nEND\n" << 1 << "not a whole number";
}

void SkinToolTest::checkSaysWhatIsMissing()
{
    QFETCH(QString, rc);
    QFETCH(int, status);
    QFETCH(QString, said);
    QTemporaryDir dir;
    plainFace(1).convertToFormat(QImage::Format_Mono).save(dir.filePath("w00bmp.bmp"));
    writeFileBytes(dir.filePath("skin.dll"), SkinDlls::buildDll(dir.path(), rc, "i686"));
    const Run run = kelvorSkin({"check", dir.filePath("skin.dll")});
    QCOMPARE(run.status, status);
    QVERIFY2(run.out.contains(said), qPrintable(run.out));
}

// The skin the build puts beside the game is one the game lists and loads.
void SkinToolTest::shippedSkinIsListed()
{
    const QString path = QCoreApplication::applicationDirPath() + "/../Skins/Ivory.dll";
    const auto library = ResourceLibrary::open(path);
    QVERIFY2(library, qPrintable(path));
    const SkinInfo info = SkinInfo::read(*library);
    QVERIFY(info.isValid());
    QVERIFY(info.backCount >= 1);
    QCOMPARE(kelvorSkin({"check", path}).status, 0);
}

QTEST_GUILESS_MAIN(SkinToolTest)
#include "tst_skintool_commands.moc"
