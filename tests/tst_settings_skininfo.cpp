#include "resources/BuiltinSkin.h"
#include "settings/SkinInfo.h"
#include "support/TextModule.h"

#include <QTest>

namespace {

// A skin's texts from a marker, a back count, its titles, a reserved count
// and its records, then author and description, numbered from 1.
TextModule skinTexts(const QStringList &entries)
{
    TextModule module;
    for (int i = 0; i < entries.size(); ++i)
        module.texts.insert(i + 1, entries[i]);
    return module;
}

} // namespace

class SkinInfoTest : public QObject
{
    Q_OBJECT

private slots:
    void readsTheLayout_data();
    void readsTheLayout();
    void standardSetHasItsTexts();
};

void SkinInfoTest::readsTheLayout_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("reserved");
    QTest::addColumn<QString>("author");
    QTest::addColumn<QString>("description");

    const QStringList eight = {"b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8"};
    QTest::newRow("eight backs, no records")
        << (QStringList{"Tolvane...", "8"} + eight + QStringList{"0", "Ann", "Eight backs"}) << true
        << eight << 0 << "Ann" << "Eight backs";
    QTest::newRow("records are read past")
        << QStringList{"Tolvane...", "1", "Only", "2", "k1", "v1", "k2", "v2", "Bo", "Two records"} << true
        << QStringList{"Only"} << 2 << "Bo" << "Two records";
    QTest::newRow("marker in other case")
        << QStringList{"TOLVANE...", "1", "Only", "0", "Cy", "Loud"} << false << QStringList{"Only"} << 0
        << "Cy" << "Loud";
    QTest::newRow("back count not a number")
        << QStringList{"Tolvane...", "1x", "Only", "0", "Di", "D"} << false << QStringList() << 0 << "0" << "Di";
    QTest::newRow("back count with a space")
        << QStringList{"Tolvane...", " 1", "Only", "0", "Di", "D"} << false << QStringList() << 0 << "0" << "Di";
    QTest::newRow("reserved count missing")
        << QStringList{"Tolvane...", "1", "Only"} << false << QStringList{"Only"} << 0 << "" << "";
    QTest::newRow("no back")
        << QStringList{"Tolvane...", "0", "0", "Ed", "Nothing"} << true << QStringList() << 0 << "Ed" << "Nothing";
    // Titles are read as far as string numbers reach, then the counts end.
    QTest::newRow("count beyond every string number")
        << QStringList{"Tolvane...", "2147483647"} << false << QStringList(0xFFFF - 2, QString()) << 0 << ""
        << "";
}

void SkinInfoTest::readsTheLayout()
{
    QFETCH(QStringList, entries);
    QFETCH(bool, valid);
    QFETCH(QStringList, titles);
    QFETCH(int, reserved);
    QFETCH(QString, author);
    QFETCH(QString, description);
    const SkinInfo info = SkinInfo::read(skinTexts(entries));
    QCOMPARE(info.isValid(), valid);
    QCOMPARE(info.backTitles, titles);
    QCOMPARE(info.reservedCount, reserved);
    QCOMPARE(info.author, author);
    QCOMPARE(info.description, description);
}

void SkinInfoTest::standardSetHasItsTexts()
{
    const BuiltinSkin standard;
    const SkinInfo info = SkinInfo::read(standard);
    QVERIFY(info.isValid());
    QCOMPARE(info.backTitles, (QStringList{"Monogram skin", "Snowfall. enjoy it ^)", "Labyrinth", "Flower",
                                           "Strange picture #1", "Strange picture #2"}));
    QCOMPARE(info.reservedCount, 18);
    QCOMPARE(info.description, QString("Standart 'Tolvane...' skin"));
    QCOMPARE(info.author, standard.string(46));
    QVERIFY(info.author.contains("Brindlewick"));
    QVERIFY(standard.string(48).isEmpty());
    for (int back = 1; back <= info.backCount; ++back) {
        const QImage image = standard.bitmap(QString("back%1").arg(back, 3, 10, QChar('0')));
        QCOMPARE(image.size(), QSize(30, 60));
        QCOMPARE(image.depth(), 24);
    }
}

QTEST_GUILESS_MAIN(SkinInfoTest)
#include "tst_settings_skininfo.moc"
