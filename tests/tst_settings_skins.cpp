#include "support/SetupFixture.h"
#include "support/SkinFixture.h"

#include <QtTest>

using SkinFixture::filled;

class SkinsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsOnlyTheFamilysSkins();
    void loadSkin_data();
    void loadSkin();
    void storedSkinAndBackAreRead();
    void missingFaceIsReportedOnceAndStandsIn();
    void faceArrowsStopAtBothEnds();
    void skinGoneSinceListingLeavesTheArrowsOff();

private:
    void copySkins(SetupFixture &f);
    QTemporaryDir m_skins;
};

void SkinsTest::initTestCase()
{
    using SkinFixture::Skin;
    SkinFixture::build(m_skins.filePath("Red.dll"), SkinFixture::red());
    // Only the first face and the first of three backs.
    SkinFixture::build(m_skins.filePath("thin.dll"),
                       Skin{{"Tolvane...", "3", "a", "b", "c", "0", "", "Thin"}, 0, {qRgb(9, 9, 9)}});
    SkinFixture::build(m_skins.filePath("nocount.DLL"),
                       Skin{{"Tolvane...", "two", "a", "b"}, qRgb(255, 255, 0), {qRgb(1, 1, 1)}});
    SkinFixture::build(m_skins.filePath("noback.dll"),
                       Skin{{"Tolvane...", "0", "0", "", ""}, qRgb(255, 255, 0), {}});
    SkinFixture::build(m_skins.filePath("other.dll"), Skin{{"tolvane..."}, qRgb(1, 1, 1), {}});
    writeFileBytes(m_skins.filePath("junk.dll"), "MZ and nothing more");
}

void SkinsTest::copySkins(SetupFixture &f)
{
    QDir().mkpath(f.path("skins"));
    for (const QString &name : QDir(m_skins.path()).entryList(QDir::Files))
        QFile::copy(m_skins.filePath(name), f.path("skins/" + name));
}

void SkinsTest::listsOnlyTheFamilysSkins()
{
    SetupFixture f;
    copySkins(f);
    f.listAndRead();
    QCOMPARE(f.model->skins(),
             (QStringList{"<Standard set>", "noback.dll", "nocount.DLL", "Red.dll", "thin.dll"}));
}

void SkinsTest::loadSkin_data()
{
    QTest::addColumn<QString>("skin");
    QTest::addColumn<QStringList>("backs");
    QTest::addColumn<QStringList>("info");
    QTest::addColumn<QRgb>("face");
    QTest::addColumn<QRgb>("back");

    QTest::newRow("red") << "Red.dll" << QStringList{"Green back", "Blue back"}
                         << QStringList{"All red", "Made by the tests"} << qRgb(255, 0, 0) << qRgb(0, 255, 0);
    // The counts are no numbers, or there is no back: the standard set's
    // pictures and texts.
    for (const char *name : {"nocount.DLL", "noback.dll"})
        QTest::newRow(name) << name << QStringList() << QStringList{"Standart 'Tolvane...' skin"} << QRgb(0)
                            << QRgb(0);
}

void SkinsTest::loadSkin()
{
    QFETCH(QString, skin);
    QFETCH(QStringList, backs);
    QFETCH(QStringList, info);
    QFETCH(QRgb, face);
    QFETCH(QRgb, back);

    SetupFixture f;
    copySkins(f);
    f.listAndRead();
    f.model->chooseSkin(f.model->skins().indexOf(skin));
    const SetupModel &m = *f.model;
    const bool standard = backs.isEmpty();
    QCOMPARE(m.currentSkin().isStandardSet(), standard);
    QCOMPARE(m.backs().size(), standard ? 6 : backs.size());
    if (!standard)
        QCOMPARE(m.backs(), backs);
    QCOMPARE(m.skinInfo().first(), info.first());
    QCOMPARE(m.back(), 0);
    QCOMPARE(m.currentBackName(), QStringLiteral("back001"));
    const QImage expectedFace = standard ? f.standardSet.bitmap("00bmp") : filled(face);
    const QImage expectedBack = standard ? f.standardSet.bitmap("back001") : filled(back);
    QCOMPARE(m.facePreview().convertToFormat(QImage::Format_RGB32), expectedFace.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(m.backPreview().convertToFormat(QImage::Format_RGB32), expectedBack.convertToFormat(QImage::Format_RGB32));
    QVERIFY(f.env.messages.messages.isEmpty());
}

void SkinsTest::storedSkinAndBackAreRead()
{
    SetupFixture f;
    copySkins(f);
    writeFileBytes(f.settingsPath(), "[Tolvane...]\r\nSetPack=RED.DLL\r\nBackSet=back002\r\n");
    f.listAndRead();
    QCOMPARE(f.model->skins().value(f.model->skin()), QStringLiteral("Red.dll"));
    QCOMPARE(f.model->currentBackName(), QStringLiteral("back002"));
    QCOMPARE(f.model->currentSkin().bitmap("back002").pixel(0, 0), qRgb(0, 0, 255));
    QVERIFY(f.model->WriteSettings());
    QVERIFY(readFileBytes(f.settingsPath()).startsWith("[Tolvane...]\r\nSetPack=Red.dll\r\nBackSet=back002\r\n"));
}

void SkinsTest::missingFaceIsReportedOnceAndStandsIn()
{
    SetupFixture f;
    copySkins(f);
    f.listAndRead();
    f.model->chooseSkin(f.model->skins().indexOf("thin.dll"));
    f.model->chooseBack(2);
    QCOMPARE(f.model->currentBackName(), QStringLiteral("back003"));
    QCOMPARE(f.model->backPreview(), f.standardSet.bitmap("back003"));
    f.model->setFacePosition(2);
    f.model->setFacePosition(1);
    f.model->setFacePosition(2);
    QCOMPARE(f.model->facePreview(), f.standardSet.bitmap("01bmp"));
    QCOMPARE(f.env.messages.messages, (QStringList{"Resource back003 not found", "Resource 01bmp not found"}));
}

void SkinsTest::faceArrowsStopAtBothEnds()
{
    SetupFixture f;
    f.listAndRead();
    QVERIFY(f.model->faceArrowsEnabled());
    f.model->setFacePosition(0);
    QCOMPARE(f.model->facePosition(), 1);
    f.model->setFacePosition(29);
    QCOMPARE(f.model->facePosition(), 28);
    QCOMPARE(f.model->facePreview(), f.standardSet.bitmap("66bmp"));
    // A new skin starts again at the first face.
    f.model->chooseSkin(0);
    QCOMPARE(f.model->facePosition(), 1);
}

void SkinsTest::skinGoneSinceListingLeavesTheArrowsOff()
{
    SetupFixture f;
    copySkins(f);
    f.listAndRead();
    QVERIFY(QFile::remove(f.path("skins/Red.dll")));
    f.model->chooseSkin(f.model->skins().indexOf("Red.dll"));
    QVERIFY(f.model->currentSkin().isEmpty());
    QVERIFY(!f.model->faceArrowsEnabled());
    QCOMPARE(f.model->backs().first(), QStringLiteral("Monogram skin"));
    QCOMPARE(f.model->backPreview(), f.standardSet.bitmap("back001"));
    QVERIFY(f.env.messages.messages.isEmpty());
}

QTEST_MAIN(SkinsTest)
#include "tst_settings_skins.moc"
