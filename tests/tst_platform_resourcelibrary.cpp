#include "platform/DibFile.h"
#include "platform/ResourceLibrary.h"
#include "support/SkinDlls.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <functional>
#include <sys/stat.h>

using SkinDlls::BmpKind;

namespace {

QString resourceName(int kindIndex)
{
    return QString("kind%1").arg(kindIndex);
}

// Little-endian access to a DLL's bytes for the damaged copies.
quint32 get32(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
void set32(QByteArray &bytes, qint64 at, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + at);
}
void set16(QByteArray &bytes, qint64 at, quint16 value)
{
    qToLittleEndian<quint16>(value, bytes.data() + at);
}

// Where things lie in a DLL that ld wrote: the section table, the resource
// section's file offset (its directory starts there), and the first leaf.
struct Layout
{
    qint64 peHeader, sections, sectionCount, resources;

    explicit Layout(const QByteArray &dll)
    {
        peHeader = get32(dll, 0x3C);
        sectionCount = qFromLittleEndian<quint16>(dll.constData() + peHeader + 6);
        sections = peHeader + 24 + qFromLittleEndian<quint16>(dll.constData() + peHeader + 20);
        resources = 0;
        for (int i = 0; i < sectionCount; ++i)
            if (dll.mid(sections + 40 * i, 5) == ".rsrc")
                resources = get32(dll, sections + 40 * i + 20);
    }
    // The directory entry of the first resource type, and the data entry
    // of its first name's first language.
    qint64 firstTypeEntry() const { return resources + 16; }
    qint64 firstDataEntry(const QByteArray &dll) const
    {
        qint64 at = firstTypeEntry();
        for (int level = 0; level < 2; ++level)
            at = resources + (get32(dll, at + 4) & 0x7FFFFFFF) + 16;
        return resources + get32(dll, at + 4);
    }
};

using Damage = std::function<void(QByteArray &)>;

} // namespace

class ResourceLibraryTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decodesEveryKind_data();
    void decodesEveryKind();
    void readsStrings_data();
    void readsStrings();
    void findsBitmapsWithoutRegardToCase();
    void damagedFilesDoNotOpen_data();
    void damagedFilesDoNotOpen();
    void onlyRegularFilesOpen();
    void brokenPictureInAGoodLibrary();

private:
    QTemporaryDir m_dir;
    QHash<QString, QByteArray> m_dlls; // by architecture
};

void ResourceLibraryTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QString rc;
    const QList<BmpKind> &kinds = SkinDlls::bmpKinds();
    for (int i = 0; i < kinds.size(); ++i) {
        writeFileBytes(m_dir.filePath(resourceName(i) + ".bmp"), SkinDlls::bmpFile(kinds[i]));
        rc += QString("%1 BITMAP \"%1.bmp\"\n").arg(resourceName(i));
    }
    // A picture that claims 7 bits per pixel, under a lower-case name.
    QByteArray broken = SkinDlls::bmpFile(kinds[0]);
    set16(broken, 14 + 14, 7);
    writeFileBytes(m_dir.filePath("broken.bmp"), broken);
    rc += "back001 BITMAP \"kind10.bmp\"\nbroken BITMAP \"broken.bmp\"\n";
    rc += "STRINGTABLE\nBEGIN\n"
          "  1 \"Tolvane...\"\n  2 \"6\"\n  15 \"end of the first block\"\n"
          "  16 \"start of the second\"\n  33 L\"caf\\x00e9 \\x0160\"\n"
          "  34 \"say \"\"hi\"\"\"\n"
          "  300 \"" + QString(300, 'x') + "\"\n"
          "END\n";
    for (const QString &architecture : SkinDlls::architectures) {
        const QByteArray dll = SkinDlls::buildDll(m_dir.path(), rc, architecture);
        QVERIFY2(!dll.isEmpty(), qPrintable(architecture));
        m_dlls.insert(architecture, dll);
    }
}

void ResourceLibraryTest::decodesEveryKind_data()
{
    QTest::addColumn<QString>("architecture");
    QTest::addColumn<int>("kind");
    for (const QString &architecture : SkinDlls::architectures)
        for (int i = 0; i < SkinDlls::bmpKinds().size(); ++i)
            QTest::addRow("%s, %s", qPrintable(architecture), SkinDlls::bmpKinds()[i].name) << architecture << i;
}

void ResourceLibraryTest::decodesEveryKind()
{
    QFETCH(QString, architecture);
    QFETCH(int, kind);
    const auto library = ResourceLibrary::fromBytes(m_dlls.value(architecture));
    QVERIFY(library);
    const QImage image = library->bitmap(resourceName(kind)).convertToFormat(QImage::Format_ARGB32);
    const QImage expected = SkinDlls::pattern(SkinDlls::bmpKinds()[kind].bits == 1 ? 2 : 5);
    QCOMPARE(image.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            QVERIFY2(image.pixel(x, y) == expected.pixel(x, y),
                     qPrintable(QString("at %1, %2: %3").arg(x).arg(y).arg(image.pixel(x, y), 8, 16)));
}

void ResourceLibraryTest::readsStrings_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::newRow("marker") << 1 << "Tolvane...";
    QTest::newRow("last of block 1") << 15 << "end of the first block";
    QTest::newRow("first of block 2") << 16 << "start of the second";
    QTest::newRow("beyond Latin-1") << 33 << QString::fromUtf8("caf\u00e9 \u0160");
    QTest::newRow("quotes") << 34 << "say \"hi\"";
    QTest::newRow("cut to 254") << 300 << QString(254, 'x');
    QTest::newRow("missing in a block") << 3 << "";
    QTest::newRow("missing block") << 100 << "";
    QTest::newRow("negative") << -1 << "";
    QTest::newRow("beyond 16 bits") << 65536 + 1 << "";
}

void ResourceLibraryTest::readsStrings()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    for (const QString &architecture : SkinDlls::architectures) {
        const auto library = ResourceLibrary::fromBytes(m_dlls.value(architecture));
        QVERIFY(library);
        QCOMPARE(library->string(id), text);
    }
}

void ResourceLibraryTest::findsBitmapsWithoutRegardToCase()
{
    const auto library = ResourceLibrary::fromBytes(m_dlls.value("i686"));
    QVERIFY(library);
    QVERIFY(!library->bitmap("back001").isNull());
    QCOMPARE(library->bitmap("Back001"), library->bitmap("BACK001"));
    QVERIFY(library->bitmap("back002").isNull());
    QVERIFY(library->bitmapNames().contains("BACK001"));
    QCOMPARE(library->stringIds(), (QList<int>{1, 2, 15, 16, 33, 34, 300}));
}

void ResourceLibraryTest::damagedFilesDoNotOpen_data()
{
    QTest::addColumn<QString>("architecture");
    QTest::addColumn<Damage>("damage");
    const QList<std::pair<const char *, Damage>> damages = {
        {"empty", [](QByteArray &b) { b.clear(); }},
        {"only the DOS header", [](QByteArray &b) { b.truncate(64); }},
        {"cut in the headers", [](QByteArray &b) { b.truncate(Layout(b).sections + 20); }},
        {"cut in the resources", [](QByteArray &b) { b.truncate(Layout(b).resources + 24); }},
        {"resource section short by a byte",
         [](QByteArray &b) {
             const Layout l(b);
             for (int i = 0; i < l.sectionCount; ++i)
                 if (get32(b, l.sections + 40 * i + 20) == quint32(l.resources))
                     b.truncate(l.resources + get32(b, l.sections + 40 * i + 16) - 1);
         }},
        {"no PE signature", [](QByteArray &b) { b[Layout(b).peHeader] = 'X'; }},
        {"PE header beyond the file", [](QByteArray &b) { set32(b, 0x3C, 0xFFFFFFF0); }},
        {"unknown optional header", [](QByteArray &b) { set16(b, Layout(b).peHeader + 24, 0x107); }},
        {"absurd section count", [](QByteArray &b) { set16(b, Layout(b).peHeader + 6, 0xFFFF); }},
        {"section data beyond the file",
         [](QByteArray &b) {
             const Layout l(b);
             set32(b, l.sections + 40 * (l.sectionCount - 1) + 20, 0x7FFFFF00);
         }},
        {"section size wraps round",
         [](QByteArray &b) {
             const Layout l(b);
             set32(b, l.sections + 40 * (l.sectionCount - 1) + 16, 0xFFFFFFFF);
         }},
        {"absurd entry count", [](QByteArray &b) { set16(b, Layout(b).resources + 14, 0xFFFF); }},
        {"directory loop",
         [](QByteArray &b) { set32(b, Layout(b).firstTypeEntry() + 4, 0x80000000); }},
        {"subdirectory beyond the section",
         [](QByteArray &b) { set32(b, Layout(b).firstTypeEntry() + 4, 0xFFFFFF00); }},
        {"data beyond the file",
         [](QByteArray &b) { set32(b, Layout(b).firstDataEntry(b), 0xFFFFFF00); }},
        {"absurd data size",
         [](QByteArray &b) { set32(b, Layout(b).firstDataEntry(b) + 4, 0x7FFFFFFF); }},
    };
    for (const QString &architecture : SkinDlls::architectures)
        for (const auto &[name, damage] : damages)
            QTest::addRow("%s, %s", qPrintable(architecture), name) << architecture << damage;
}

void ResourceLibraryTest::damagedFilesDoNotOpen()
{
    QFETCH(QString, architecture);
    QFETCH(Damage, damage);
    QByteArray bytes = m_dlls.value(architecture);
    QVERIFY(ResourceLibrary::fromBytes(bytes));
    damage(bytes);
    QVERIFY(!ResourceLibrary::fromBytes(bytes));
}

void ResourceLibraryTest::onlyRegularFilesOpen()
{
    const QString dll = m_dir.filePath("good.dll"), fifo = m_dir.filePath("fifo.dll");
    writeFileBytes(dll, m_dlls.value("i686"));
    QVERIFY(ResourceLibrary::open(dll));
    QVERIFY(!ResourceLibrary::open(m_dir.filePath("missing.dll")));
    QVERIFY(!ResourceLibrary::open(m_dir.path()));
    QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QVERIFY(!ResourceLibrary::open(fifo));
}

void ResourceLibraryTest::brokenPictureInAGoodLibrary()
{
    const auto library = ResourceLibrary::fromBytes(m_dlls.value("x86_64"));
    QVERIFY(library);
    QVERIFY(!library->bitmapData("broken").isEmpty());
    QVERIFY(library->bitmap("broken").isNull());
    QVERIFY(DibFile::withFileHeader(library->bitmapData("broken")).isEmpty());
}

QTEST_GUILESS_MAIN(ResourceLibraryTest)
#include "tst_platform_resourcelibrary.moc"
