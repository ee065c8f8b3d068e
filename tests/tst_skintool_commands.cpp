#include "game/DominoSet.h"
#include "platform/ResourceLibrary.h"
#include "settings/SkinInfo.h"
#include "support/SkinDlls.h"
#include "support/TestSupport.h"
#include "tools/kelvor-skin/ResourceDllWriter.h"
#include "tools/kelvor-skin/SkinCommands.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <QtEndian>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

// While it lives, opens for writing any FIFO in the folder that a reader
// waits on, and closes it at once, so that a reader that blocked on one ends
// with an empty file instead of hanging the test.
class FifoWriter
{
public:
    explicit FifoWriter(const QDir &dir)
    {
        for (const QString &name : dir.entryList(QDir::System)) {
            const QByteArray path = QFile::encodeName(dir.filePath(name));
            struct stat info {};
            if (::stat(path.constData(), &info) == 0 && S_ISFIFO(info.st_mode))
                m_threads.emplace_back([this, path] {
                    while (!m_done) {
                        const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
                        if (fd >= 0) {
                            ::close(fd);
                            return;
                        }
                        std::this_thread::sleep_for(std::chrono::milliseconds(20));
                    }
                });
        }
    }
    ~FifoWriter()
    {
        m_done = true;
        for (std::thread &thread : m_threads)
            thread.join();
    }

private:
    std::atomic<bool> m_done{false};
    std::vector<std::thread> m_threads;
};

// A DIB of a 30 x 60 picture, 24 bits, followed by `padding` bytes that no
// picture shows.
QByteArray tileDib(QRgb colour, qsizetype padding = 0)
{
    QImage image(30, 60, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return file.mid(14) + QByteArray(padding, '\0');
}

// A library the game lists, with one back and the given bitmaps.
QByteArray libraryWith(const QMap<QString, QByteArray> &bitmaps)
{
    ResourceDllWriter writer;
    for (auto it = bitmaps.cbegin(); it != bitmaps.cend(); ++it)
        writer.addBitmap(it.key(), it.value());
    const QStringList texts = {"Tolvane...", "1", "One", "0", "Ann", "Plain"};
    for (int i = 0; i < texts.size(); ++i)
        writer.addString(i + 1, texts[i]);
    return writer.write();
}

// Makes every data entry of a bitmap of size `from` point to the data of the
// one of size `to`, as a library whose bitmaps share one picture has it.
void shareData(QByteArray &dll, quint32 to, const QList<quint32> &from)
{
    qint64 target = -1;
    QList<qint64> entries;
    // A data entry: address, size, code page 0, reserved 0.
    for (qint64 at = 0; at + 16 <= dll.size() && at < 1 << 20; at += 4) {
        const quint32 size = qFromLittleEndian<quint32>(dll.constData() + at + 4);
        if (qFromLittleEndian<quint64>(dll.constData() + at + 8) != 0)
            continue;
        if (size == to)
            target = at;
        else if (from.contains(size))
            entries.append(at);
    }
    QVERIFY(target >= 0);
    QCOMPARE(entries.size(), from.size());
    for (const qint64 at : entries)
        dll.replace(at, 8, dll.mid(target, 8));
}

// The bytes of all files in the folder.
qint64 folderBytes(const QString &folder)
{
    qint64 total = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        total += file.size();
    return total;
}

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
    void extractWritesOnlyInsideItsFolder();
    void extractOfSharedHugePictureStaysSmall();
    void shippedSkinIsListed();
    void helpAndWrongUse_data();
    void helpAndWrongUse();
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
    // Only regular files, and no larger than the game reads a library.
    const auto fifo = [](const char *file) {
        return [file](QDir dir) {
            dir.remove(file);
            QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(file)).constData(), 0600), 0);
        };
    };
    const auto zeros = [](const char *file) {
        return [file](QDir dir) {
            dir.remove(file);
            QVERIFY(QFile::link("/dev/zero", dir.filePath(file)));
        };
    };
    const auto huge = [](const char *file) {
        return [file](QDir dir) {
            QFile big(dir.filePath(file));
            QVERIFY(big.open(QIODevice::ReadWrite) && big.resize(ResourceLibrary::MaxFileSize + 1));
        };
    };
    QTest::newRow("skin.txt a FIFO") << Change(fifo("skin.txt")) << "skin.txt: not a regular file";
    QTest::newRow("face a FIFO") << Change(fifo("05bmp.png")) << "05bmp.png: not a regular file";
    QTest::newRow("skin.txt linked to /dev/zero") << Change(zeros("skin.txt")) << "skin.txt: not a regular file";
    QTest::newRow("back linked to /dev/zero") << Change(zeros("back001.bmp")) << "back001.bmp: not a regular file";
    QTest::newRow("skin.txt over 64 MB") << Change(huge("skin.txt")) << "skin.txt: larger than 64 MB";
    QTest::newRow("back over 64 MB") << Change(huge("Back002.BMP")) << "Back002.BMP: larger than 64 MB";
}

void SkinToolTest::refusesWhatWouldNotWork()
{
    QFETCH(Change, change);
    QFETCH(QString, named);
    QTemporaryDir dir;
    writeSkinFolder(dir.filePath("skin"));
    change(QDir(dir.filePath("skin")));
    const FifoWriter unblock(QDir(dir.filePath("skin")));
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
        << 1 << "the game lists it\n  face 01BMP missing; the game shows the standard set's picture in its place\n";
    QTest::newRow("count not a number")
        << faces + "STRINGTABLE\nBEGIN\n 1 \"Tolvane...\"\n 2 \"x\"\nEND\n" << 1 << "not a whole number";
    QTest::newRow("no back, no BACK001")
        << faces + "STRINGTABLE\nBEGIN\n 1 \"Tolvane...\"\n 2 \"0\"\n 3 \"0\"\n 4 \"A\"\n 5 \"D\"\nEND\n" << 1
        << "  back BACK001 missing; the game shows the standard set's picture in its place\n";
    QTest::newRow("back 1 of another size")
        << faces + "back001 BITMAP wide.bmp\n"
                   "STRINGTABLE\nBEGIN\n 1 \"Tolvane...\"\n 2 \"1\"\n 3 \"T\"\n 4 \"0\"\n 5 \"A\"\n 6 \"D\"\nEND\n"
        << 1 << "  back BACK001 is 31 x 60 pixels, not 30 x 60";
}

void SkinToolTest::checkSaysWhatIsMissing()
{
    QFETCH(QString, rc);
    QFETCH(int, status);
    QFETCH(QString, said);
    QTemporaryDir dir;
    plainFace(1).convertToFormat(QImage::Format_Mono).save(dir.filePath("w00bmp.bmp"));
    QImage(31, 60, QImage::Format_RGB32).save(dir.filePath("wide.bmp"));
    writeFileBytes(dir.filePath("skin.dll"), SkinDlls::buildDll(dir.path(), rc, "i686"));
    const Run run = kelvorSkin({"check", dir.filePath("skin.dll")});
    QCOMPARE(run.status, status);
    QVERIFY2(run.out.contains(said), qPrintable(run.out));
}

// Resource names that lead out of the folder or into another one: extract
// writes none of them, says so, and check names them while the game still
// lists the library.
void SkinToolTest::extractWritesOnlyInsideItsFolder()
{
    QTemporaryDir dir;
    const QString outside = QString("/tmp/kelvor_skin_outside_%1").arg(QCoreApplication::applicationPid());
    const QStringList names = {"../../escaped", outside, "sub/dir", "tab\there", QString(300, 'n')};
    QMap<QString, QByteArray> bitmaps = {{"00BMP", tileDib(qRgb(1, 2, 3))}};
    for (const QString &name : names)
        bitmaps.insert(name, tileDib(qRgb(4, 5, 6)));
    writeFileBytes(dir.filePath("skin.dll"), libraryWith(bitmaps));

    const QString folder = dir.filePath("a/b/out");
    const Run run = kelvorSkin({"extract", dir.filePath("skin.dll"), folder});
    QFile::remove(outside + ".bmp");
    QCOMPARE(run.status, SkinCommands::Faulty);
    QVERIFY(!QFile::exists(dir.filePath("a/escaped.bmp")));
    QVERIFY(!QFile::exists(outside + ".bmp"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList({"00bmp.bmp", "skin.txt"}));
    for (const QString &name : names)
        QVERIFY2(run.err.contains("bitmap \"" + name.toUpper() + "\""), qPrintable(run.err));

    const Run checked = kelvorSkin({"check", dir.filePath("skin.dll")});
    QVERIFY2(checked.out.contains(": the game lists it\n"), qPrintable(checked.out));
    for (const QString &name : names)
        QVERIFY2(checked.out.contains("warning: bitmap \"" + name.toUpper() + "\": its name is no plain file name"),
                 qPrintable(checked.out));
    QVERIFY(!checked.out.contains("warning: bitmap \"00BMP\""));

    // Nor through a link that is already in the folder.
    const QString linked = dir.filePath("linked");
    QDir().mkpath(linked);
    writeFileBytes(dir.filePath("victim"), "mine");
    QVERIFY(QFile::link(dir.filePath("victim"), QDir(linked).filePath("00bmp.bmp")));
    QCOMPARE(kelvorSkin({"extract", dir.filePath("skin.dll"), linked}).status, SkinCommands::Faulty);
    QCOMPARE(readFileBytes(dir.filePath("victim")), QByteArray("mine"));
}

// Three bitmaps that share one picture of 40 MB, of which 30 x 60 pixels
// are the picture: extract writes each picture, and only the picture.
void SkinToolTest::extractOfSharedHugePictureStaysSmall()
{
    QTemporaryDir dir;
    const QByteArray big = tileDib(qRgb(200, 100, 50), 40 << 20);
    QByteArray dll = libraryWith({{"00BMP", big}, {"01BMP", tileDib(0, 4)}, {"02BMP", tileDib(0, 8)}});
    shareData(dll, quint32(big.size()), {quint32(tileDib(0, 4).size()), quint32(tileDib(0, 8).size())});
    writeFileBytes(dir.filePath("shared.dll"), dll);
    const auto library = ResourceLibrary::open(dir.filePath("shared.dll"));
    QVERIFY(library);
    QCOMPARE(library->bitmapData("02BMP").size(), big.size());

    const QString folder = dir.filePath("out");
    const Run run = kelvorSkin({"extract", dir.filePath("shared.dll"), folder});
    QVERIFY2(run.status == SkinCommands::Fine, qPrintable(run.err));
    QVERIFY2(folderBytes(folder) < 64 * 1024, qPrintable(QString::number(folderBytes(folder))));
    for (const char *name : {"00bmp.bmp", "01bmp.bmp", "02bmp.bmp"})
        QCOMPARE(QImage(QDir(folder).filePath(name)).pixel(29, 59), qRgb(200, 100, 50));
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

void SkinToolTest::helpAndWrongUse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::newRow("--help") << QStringList{"--help"} << 0;
    QTest::newRow("-h") << QStringList{"-h"} << 0;
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 2;
    QTest::newRow("help after a command") << QStringList{"list", "--help", "x"} << 2;
    QTest::newRow("nothing") << QStringList{} << 2;
}

void SkinToolTest::helpAndWrongUse()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    const Run run = kelvorSkin(arguments);
    QCOMPARE(run.status, status);
    if (status == 0) {
        // Each command, its arguments and the exit status, on standard output.
        for (const char *line : {"build FOLDER -o NAME.dll", "list NAME.dll", "extract NAME.dll FOLDER",
                                 "check NAME.dll", "Exit status: 0"})
            QVERIFY2(run.out.contains(QLatin1String(line)), line);
        QVERIFY(run.err.isEmpty());
    } else {
        QVERIFY(run.err.startsWith("usage: kelvor-skin build"));
        QVERIFY(run.out.isEmpty());
    }
}

QTEST_GUILESS_MAIN(SkinToolTest)
#include "tst_skintool_commands.moc"
