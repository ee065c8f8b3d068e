#include "settings/CurrentSkin.h"
#include "settings/Wallpaper.h"
#include "support/FamilyRewriter.h"
#include "support/SetupFixture.h"
#include "support/SkinFixture.h"
#include "support/TestSupport.h"
#include "support/TextModule.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The 16 colours of the grid, as Windows' default palette has them.
constexpr QRgb gridColours[16] = {
    qRgb(0, 0, 0),     qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),   qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),   qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

const QByteArray defaultSettings = "[Tolvane...]\r\nLaunches=0\r\nPicture=*none*\r\nPosition=center\r\n"
                                   "BackColor=0\r\nLangPack=english\r\nBackSet=back001\r\nSetPack=*standart*\r\n";

} // namespace

class SetupTest : public QObject
{
    Q_OBJECT

private slots:
    void composeBackground_data();
    void composeBackground();
    void everyGridColour();
    void readingShowsChangesMadeOutside_data();
    void readingShowsChangesMadeOutside();
    void noFileGivesDefaultsAndSevenLines();
    void readSettings_data();
    void readSettings();
    void roundTrip();
    void copiesKeepEachOthersChoices_data();
    void copiesKeepEachOthersChoices();
    void textsThisGameCannotUseStay_data();
    void textsThisGameCannotUseStay();
    void copyUserPicture_data();
    void copyUserPicture();
    void unreadablePictureKeepsBackground();
    void bigPictureShowsItsPart_data();
    void bigPictureShowsItsPart();
    void unusableNamesToldOnce();
    void missingSkinPictureStandsIn();
    void languageInfo();
};

// ---------------------------------------------------------------------------
// Wallpaper

void SetupTest::composeBackground_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("centered");
    QTest::addColumn<int>("colour");
    QTest::addColumn<QPoint>("origin"); // of the centred picture

    QTest::newRow("no picture, white") << QSize() << true << 15 << QPoint();
    QTest::newRow("no picture, dark cyan") << QSize() << false << 6 << QPoint();
    QTest::newRow("centred 100 x 100") << QSize(100, 100) << true << 4 << QPoint(95, 185);
    QTest::newRow("centred 301 x 100") << QSize(301, 100) << true << 9 << QPoint(-5, 185);
    QTest::newRow("tiled 100 x 100") << QSize(100, 100) << false << 0 << QPoint();
    QTest::newRow("tiled 290 x 470") << QSize(290, 470) << false << 0 << QPoint();
    QTest::newRow("tiled 7 x 9") << QSize(7, 9) << false << 0 << QPoint();
}

void SetupTest::composeBackground()
{
    QFETCH(QSize, picture);
    QFETCH(bool, centered);
    QFETCH(int, colour);
    QFETCH(QPoint, origin);

    const QImage image = picture.isValid() ? SetupFixture::pattern(picture) : QImage();
    const QImage background = Wallpaper::compose(
        {290, 470}, colour, image, centered ? Wallpaper::Placement::Centered : Wallpaper::Placement::Tiled);
    QCOMPARE(background.size(), QSize(290, 470));
    const QRgb fill = gridColours[colour];
    for (int y = 0; y < 470; ++y) {
        for (int x = 0; x < 290; ++x) {
            QRgb expected = fill;
            if (!image.isNull() && !centered)
                expected = image.pixel(x % picture.width(), y % picture.height());
            else if (!image.isNull() && image.rect().contains(x - origin.x(), y - origin.y()))
                expected = image.pixel(x - origin.x(), y - origin.y());
            if (background.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2 is %3, not %4")
                                     .arg(x).arg(y).arg(background.pixel(x, y), 0, 16).arg(expected, 0, 16)));
        }
    }
}

void SetupTest::everyGridColour()
{
    for (int index = 0; index < 16; ++index) {
        const QImage background = Wallpaper::compose({290, 470}, index, QImage(), Wallpaper::Placement::Centered);
        QCOMPARE(background.pixel(0, 0), gridColours[index]);
        QCOMPARE(background.pixel(289, 469), gridColours[index]);
    }
}

void SetupTest::readingShowsChangesMadeOutside_data()
{
    QTest::addColumn<QByteArray>("outside"); // what another game wrote meanwhile
    QTest::addColumn<QRgb>("corner");        // the background's top-left pixel then

    QTest::newRow("colour") << QByteArray("BackColor=9") << gridColours[9];
    // The centred picture leaves the corner to the colour; tiled, it starts there.
    QTest::newRow("placement") << QByteArray("Position=tile") << SetupFixture::pattern({100, 100}).pixel(0, 0);
}

void SetupTest::readingShowsChangesMadeOutside()
{
    QFETCH(QByteArray, outside);
    QFETCH(QRgb, corner);
    SetupFixture f;
    f.writePicture(QStringLiteral("GFX/sea.bmp"), {100, 100});
    writeFileBytes(f.settingsPath(), "[Tolvane...]\r\nPicture=sea.bmp\r\n");
    f.listAndRead();
    f.model->ComposeBackground();
    QCOMPARE(f.model->boardBackground().pixel(0, 0), gridColours[0]);

    // F3 after another game changed the file: the dialog's reading shows it.
    QImage shown;
    QObject::connect(f.model.get(), &SetupModel::backgroundChanged, [&](const QImage &image) { shown = image; });
    writeFileBytes(f.settingsPath(), "[Tolvane...]\r\nPicture=sea.bmp\r\n" + outside + "\r\n");
    f.listAndRead();
    QCOMPARE(f.model->boardBackground().pixel(0, 0), corner);
    QCOMPARE(shown, f.model->boardBackground());
    QVERIFY(f.env.messages.messages.isEmpty());
}

// ---------------------------------------------------------------------------
// The settings file

void SetupTest::noFileGivesDefaultsAndSevenLines()
{
    SetupFixture f;
    f.listAndRead();
    const SetupModel &m = *f.model;
    QCOMPARE(m.launches(), 0);
    QCOMPARE(m.picture(), 0);
    QCOMPARE(m.placement(), Wallpaper::Placement::Centered);
    QCOMPARE(m.colour(), 0);
    QCOMPARE(m.langPack(), QStringLiteral("english"));
    QCOMPARE(m.skin(), 0);
    QCOMPARE(m.skins().first(), QStringLiteral("<Standard set>"));
    QCOMPARE(m.backs().first(), QStringLiteral("Monogram skin"));
    QCOMPARE(m.currentBackName(), QStringLiteral("back001"));
    QCOMPARE(m.skinInfo().first(), QStringLiteral("Standart 'Tolvane...' skin"));
    QVERIFY(f.model->WriteSettings());
    QCOMPARE(readFileBytes(f.settingsPath()), defaultSettings);
    QVERIFY(f.env.messages.messages.isEmpty());
}

void SetupTest::readSettings_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("picture");   // the selected entry
    QTest::addColumn<bool>("centered");
    QTest::addColumn<int>("colour");
    QTest::addColumn<QString>("langPack");
    QTest::addColumn<QString>("backName");
    QTest::addColumn<int>("messages");

    QTest::newRow("colour 16") << QByteArray("BackColor=16") << "<none>" << true << 0 << "english" << "back001" << 0;
    QTest::newRow("colour -1") << QByteArray("BackColor=-1") << "<none>" << true << 0 << "english" << "back001" << 0;
    QTest::newRow("colour 15") << QByteArray("BackColor=15") << "<none>" << true << 15 << "english" << "back001" << 0;
    QTest::newRow("colour no number") << QByteArray("BackColor=blue") << "<none>" << true << 0 << "english" << "back001" << 1;
    QTest::newRow("launches no number") << QByteArray("Launches=1x") << "<none>" << true << 0 << "english" << "back001" << 1;
    QTest::newRow("Center") << QByteArray("Position=Center") << "<none>" << false << 0 << "english" << "back001" << 0;
    QTest::newRow("picture any case") << QByteArray("Picture=SEA.BMP") << "sea" << true << 0 << "english" << "back001" << 0;
    QTest::newRow("picture shorter than its extension") << QByteArray("Picture=sea") << "<none>" << true << 0 << "english" << "back001" << 0;
    QTest::newRow("picture gone") << QByteArray("Picture=gone.bmp") << "<none>" << true << 0 << "english" << "back001" << 0;
    QTest::newRow("language in capitals") << QByteArray("LangPack=GERMAN") << "<none>" << true << 0 << "German" << "back001" << 0;
    QTest::newRow("language gone") << QByteArray("LangPack=klingon") << "<none>" << true << 0 << "english" << "back001" << 0;
    QTest::newRow("third back") << QByteArray("BackSet=back003") << "<none>" << true << 0 << "english" << "back003" << 0;
    QTest::newRow("back the set lacks") << QByteArray("BackSet=back007") << "<none>" << true << 0 << "english" << "back001" << 0;
    QTest::newRow("back zero") << QByteArray("BackSet=back000") << "<none>" << true << 0 << "english" << "back001" << 0;
    QTest::newRow("back digits no number") << QByteArray("BackSet=back0x2") << "<none>" << true << 0 << "english" << "back001" << 0;
    QTest::newRow("skin gone") << QByteArray("SetPack=gone.dll\r\nBackSet=back002") << "<none>" << true << 0 << "english" << "back002" << 0;
}

void SetupTest::readSettings()
{
    QFETCH(QByteArray, keys);
    QFETCH(QString, picture);
    QFETCH(bool, centered);
    QFETCH(int, colour);
    QFETCH(QString, langPack);
    QFETCH(QString, backName);
    QFETCH(int, messages);

    SetupFixture f;
    f.writePicture(QStringLiteral("gfx/sea.bmp"), {4, 4});
    QDir().mkpath(f.path(QStringLiteral("Lng")));
    writeFileBytes(f.path(QStringLiteral("Lng/German.LNG")), "[LangInfo]\r\n1=Deutsch\r\n");
    writeFileBytes(f.settingsPath(), "[Tolvane...]\r\n" + keys + "\r\n");
    f.listAndRead();

    const SetupModel &m = *f.model;
    QCOMPARE(m.pictures().value(m.picture()), picture);
    QCOMPARE(m.placement() == Wallpaper::Placement::Centered, centered);
    QCOMPARE(m.colour(), colour);
    QCOMPARE(m.langPack(), langPack);
    QCOMPARE(m.currentBackName(), backName);
    QCOMPARE(m.skin(), 0);
    QCOMPARE(f.env.messages.messages.size(), messages);
}

void SetupTest::roundTrip()
{
    SetupFixture f;
    f.writePicture(QStringLiteral("GFX/Hills.Bmp"), {3, 3});
    QDir().mkpath(f.path(QStringLiteral("LNG")));
    writeFileBytes(f.path(QStringLiteral("LNG/dutch.lng")), "");
    f.listAndRead();
    f.model->choosePicture(1);
    f.model->setPlacement(Wallpaper::Placement::Tiled);
    f.model->chooseColour(11);
    f.model->chooseLanguage(1);
    f.model->chooseBack(5);
    QVERIFY(f.model->WriteSettings());
    QVERIFY(readFileBytes(f.settingsPath()).contains("Picture=Hills.bmp\r\nPosition=tile\r\nBackColor=11\r\n"
                                                     "LangPack=dutch\r\nBackSet=back006\r\n"));

    SetupFixture again;
    again.env.folder.remove();
    SetupModel other(ProgramFolder(f.env.folder.path()), again.standardSet, again.texts, &again.env.messages);
    other.ListPictures();
    other.ListLanguages();
    other.ListSkins();
    other.ReadSettings();
    QCOMPARE(other.pictures().value(other.picture()), QStringLiteral("Hills"));
    QCOMPARE(other.placement(), Wallpaper::Placement::Tiled);
    QCOMPARE(other.colour(), 11);
    QCOMPARE(other.langPack(), QStringLiteral("dutch"));
    QCOMPARE(other.currentBackName(), QStringLiteral("back006"));
    QVERIFY(again.env.messages.messages.isEmpty());
}

void SetupTest::copiesKeepEachOthersChoices_data()
{
    QTest::addColumn<int>("cut"); // -1: Ravendell saves nothing at A's close
    QTest::addColumn<QByteArray>("at");

    QTest::newRow("nothing else writes") << -1 << QByteArray();
    QTest::newRow("Ravendell empties the file at A's close") << int(FamilyRewriter::Cut::Empty) << QByteArray();
    QTest::newRow("Ravendell has written part of it") << int(FamilyRewriter::Cut::InLine)
                                                      << QByteArray("BackColor=9");
}

void SetupTest::copiesKeepEachOthersChoices()
{
    QFETCH(int, cut);
    QFETCH(QByteArray, at);
    SetupFixture f;
    f.writePicture(QStringLiteral("GFX/Hills.bmp"), {3, 3});
    writeFileBytes(f.settingsPath(), defaultSettings + "[Ravendell]\r\nSpeed=3\r\n");
    auto start = [](SetupModel &copy) {
        SetupFixture::listAndRead(copy);
        copy.setLaunches(copy.launches() + 1);
        QVERIFY(copy.WriteSettings());
    };
    SetupModel &a = *f.model;
    start(a);
    const auto copyB = f.anotherCopy();
    SetupModel &b = *copyB;
    start(b);
    QCOMPARE(b.launches(), 2);

    // In B: F3, a wallpaper and a colour, "Apply"; then B closes.
    SetupFixture::listAndRead(b);
    b.choosePicture(1);
    b.chooseColour(9);
    QVERIFY(b.WriteSettings());
    b.ReadSettings();
    QVERIFY(b.WriteSettings());

    // A closes, having never opened the dialog.
    FamilyRewriter ravendell(f.settingsPath(), true);
    if (cut >= 0)
        ravendell.rewrite([](ProfileDocument &document) { document.writeString("Ravendell", "Speed", "4"); },
                          FamilyRewriter::Cut(cut), at);
    QVERIFY(a.WriteSettings());
    QCOMPARE(readFileBytes(f.settingsPath()),
             "[Tolvane...]\r\nLaunches=2\r\nPicture=Hills.bmp\r\nPosition=center\r\nBackColor=9\r\n"
             "LangPack=english\r\nBackSet=back001\r\nSetPack=*standart*\r\n[Ravendell]\r\nSpeed="
                 + QByteArray(cut >= 0 ? "4" : "3") + "\r\n");
    QVERIFY(f.env.messages.messages.isEmpty());
}

void SetupTest::textsThisGameCannotUseStay_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("choice"); // what the player then picks: "skin", "back", "language" or none
    QTest::addColumn<QByteArray>("written");

    const QByteArray locked = "SetPack=Locked.dll\r\nBackSet=back007";
    QTest::newRow("skin that cannot be opened") << locked << QString() << locked;
    QTest::newRow("the player picks the standard set")
        << locked << "skin" << QByteArray("SetPack=*standart*\r\nBackSet=back001");
    // A back of the standard set that stood in: the set the player saw.
    QTest::newRow("the player picks a back") << locked << "back" << QByteArray("SetPack=*standart*\r\nBackSet=back002");
    QTest::newRow("library without the family's marker")
        << QByteArray("SetPack=Other.dll\r\nBackSet=back002") << QString()
        << QByteArray("SetPack=*standart*\r\nBackSet=back002");
    QTest::newRow("skin gone from the folder")
        << QByteArray("SetPack=gone.dll\r\nBackSet=back002") << QString()
        << QByteArray("SetPack=*standart*\r\nBackSet=back002");
    const QByteArray path = "LangPack=C:\\Games\\LNG\\german";
    QTest::newRow("language with a path") << path << QString() << path;
    QTest::newRow("the player picks a language") << path << "language" << QByteArray("LangPack=english");
}

void SetupTest::textsThisGameCannotUseStay()
{
    QFETCH(QByteArray, keys);
    QFETCH(QString, choice);
    QFETCH(QByteArray, written);
    SetupFixture f;
    QDir().mkpath(f.path(QStringLiteral("Skins")));
    writeFileBytes(f.path(QStringLiteral("Skins/Locked.dll")), "MZ and then nothing a library holds");
    if (keys.contains("Other.dll"))
        SkinFixture::build(f.path(QStringLiteral("Skins/Other.dll")),
                           SkinFixture::Skin{{"Ravendell", "1", "a", "0", "", ""}, qRgb(1, 2, 3), {qRgb(4, 5, 6)}});
    writeFileBytes(f.settingsPath(), "[Tolvane...]\r\n" + keys + "\r\n");
    f.listAndRead();
    QCOMPARE(f.model->skin(), 0);
    QCOMPARE(f.model->langPack(), QStringLiteral("english"));
    if (choice == QLatin1String("skin"))
        f.model->chooseSkin(0);
    else if (choice == QLatin1String("back"))
        f.model->chooseBack(1);
    else if (choice == QLatin1String("language"))
        f.model->chooseLanguage(0);
    QVERIFY(f.model->WriteSettings());
    const QByteArray file = readFileBytes(f.settingsPath());
    for (const QByteArray &line : written.split('\r'))
        QVERIFY2(file.contains(line.trimmed() + "\r\n"), file.constData());
    QVERIFY(f.env.messages.messages.isEmpty());
}

// ---------------------------------------------------------------------------
// Pictures brought by the player

// What a copy into GFX meets, made by copyUserPicture(): "home/sky.bmp" is
// a small bitmap the player picks, "elsewhere/sky.bmp" a file outside GFX.
enum class Meets { Nothing, SharedFolder, Picture, PictureItself, OwnLink, ForeignLink, ForeignFolderLink, TextFile, OverSize, Folder };

void SetupTest::copyUserPicture_data()
{
    QTest::addColumn<Meets>("meets");
    QTest::addColumn<QString>("source");  // relative to the game folder
    QTest::addColumn<QString>("target");  // where the copy must be, "" for nowhere
    QTest::addColumn<QString>("message"); // how the message starts, "" for none

    const QString notBitmap = QStringLiteral("is not a valid bitmap");
    const QString unable = QStringLiteral("Unable to write to ");
    QTest::newRow("new picture") << Meets::Nothing << "home/sky.bmp" << "GFX/sky.bmp" << "";
    QTest::newRow("new picture, shared game folder") << Meets::SharedFolder << "home/sky.bmp" << "GFX/sky.bmp" << "";
    QTest::newRow("replaces any case") << Meets::Picture << "home/sky.bmp" << "gfx/SKY.BMP" << "";
    QTest::newRow("the picture itself") << Meets::PictureItself << "GFX/sky.bmp" << "GFX/sky.bmp" << "";
    QTest::newRow("own link followed") << Meets::OwnLink << "home/sky.bmp" << "elsewhere/sky.bmp" << "";
    QTest::newRow("another user's link refused") << Meets::ForeignLink << "home/sky.bmp" << "" << unable;
    QTest::newRow("GFX another user's link") << Meets::ForeignFolderLink << "home/sky.bmp" << "" << unable;
    QTest::newRow("not a bitmap") << Meets::TextFile << "home/sky.txt" << "" << notBitmap;
    QTest::newRow("over the size read") << Meets::OverSize << "home/big.bmp" << ""
                                        << "is too big for a wallpaper: larger than 64 MB.";
    QTest::newRow("a folder") << Meets::Folder << "home" << "" << notBitmap;
}

void SetupTest::copyUserPicture()
{
    QFETCH(Meets, meets);
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(QString, message);

    SetupFixture f;
    f.writePicture(QStringLiteral("home/sky.bmp"), {3, 2});
    const QByteArray outside("outside");
    QDir().mkpath(f.path(QStringLiteral("elsewhere")));
    writeFileBytes(f.path(QStringLiteral("elsewhere/sky.bmp")), outside);
    const auto foreignLink = [&](const QString &from, const QString &to) {
        if (geteuid() != 0)
            QSKIP("only root can give a link to another user");
        QVERIFY(QFile::link(f.path(to), f.path(from)));
        QCOMPARE(lchown(QFile::encodeName(f.path(from)).constData(), 65534, 65534), 0);
    };
    switch (meets) {
    case Meets::Nothing:
    case Meets::Folder:
        break;
    case Meets::SharedFolder: // a family's: setgid and group-writable
        QCOMPARE(chmod(QFile::encodeName(f.path(".")).constData(), 02775), 0);
        break;
    case Meets::Picture:
        QDir().mkpath(f.path(QStringLiteral("gfx")));
        writeFileBytes(f.path(QStringLiteral("gfx/SKY.BMP")), "old");
        break;
    case Meets::PictureItself:
        f.writePicture(QStringLiteral("GFX/sky.bmp"), {2, 3});
        break;
    case Meets::OwnLink:
        QDir().mkpath(f.path(QStringLiteral("GFX")));
        QVERIFY(QFile::link(f.path(QStringLiteral("elsewhere/sky.bmp")), f.path(QStringLiteral("GFX/sky.bmp"))));
        break;
    case Meets::ForeignLink:
        QDir().mkpath(f.path(QStringLiteral("GFX")));
        foreignLink(QStringLiteral("GFX/sky.bmp"), QStringLiteral("elsewhere/sky.bmp"));
        break;
    case Meets::ForeignFolderLink:
        foreignLink(QStringLiteral("GFX"), QStringLiteral("elsewhere"));
        break;
    case Meets::TextFile:
        writeFileBytes(f.path(source), "BM not a picture");
        break;
    case Meets::OverSize: {
        // A bitmap whose file is one byte longer than the game reads.
        QFile::copy(f.path(QStringLiteral("home/sky.bmp")), f.path(source));
        QCOMPARE(truncate(QFile::encodeName(f.path(source)).constData(), Wallpaper::MaxFileSize + 1), 0);
        break;
    }
    }
    const QByteArray expected = readFileBytes(f.path(source));
    f.listAndRead();
    const mode_t umaskBefore = umask(022); // the usual one
    QCOMPARE(f.model->CopyUserPicture(f.path(source)), target.isEmpty() ? false : true);
    umask(umaskBefore);
    QCOMPARE(f.model->picture(), -1);
    if (meets == Meets::SharedFolder) {
        // The group may write in the GFX made and write the picture copied.
        QCOMPARE(QFileInfo(f.path("GFX")).permissions() & QFile::WriteGroup, QFile::WriteGroup);
        QCOMPARE(QFileInfo(f.path(target)).permissions() & QFile::WriteGroup, QFile::WriteGroup);
    }
    if (!target.isEmpty()) {
        QCOMPARE(readFileBytes(f.path(target)), expected);
        QCOMPARE(f.model->pictures(), (QStringList{"<none>", QFileInfo(target).completeBaseName()}));
        QCOMPARE(QDir(f.path(QFileInfo(target).path())).count(), 3u); // ".", ".." and the picture
        QVERIFY(f.env.messages.messages.isEmpty());
    } else {
        QCOMPARE(f.env.messages.messages.size(), 1);
        QVERIFY2(f.env.messages.messages.first().startsWith(message)
                     || f.env.messages.messages.first().endsWith(message),
                 qPrintable(f.env.messages.messages.first()));
        QCOMPARE(readFileBytes(f.path(QStringLiteral("elsewhere/sky.bmp"))), outside);
    }
}

void SetupTest::unreadablePictureKeepsBackground()
{
    SetupFixture f;
    QDir().mkpath(f.path(QStringLiteral("GFX")));
    writeFileBytes(f.path(QStringLiteral("GFX/broken.bmp")), "BM not really");
    f.listAndRead();
    f.model->chooseColour(9);
    const QImage before = f.model->boardBackground();
    f.model->choosePicture(1);
    QCOMPARE(f.model->boardBackground(), before);
    QCOMPARE(f.env.messages.messages.size(), 1);
    QVERIFY(f.env.messages.messages.first().contains(QStringLiteral("broken.bmp")));
}

// A big bitmap file as desktops keep them, written a row at a time (rows
// from the bottom, each padded or ended as its kind wants), of pixels the
// test chooses.
using Row = std::function<QByteArray(int)>; // the bytes of a row counted from the top
void writeBigBitmap(const QString &path, QSize size, int bits, quint32 compression, const QList<QRgb> &table,
                    const Row &row)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bitmapFileHead(size.width(), size.height(), bits, compression, table));
    for (int y = size.height() - 1; y >= 0; --y)
        file.write(row(y));
    if (compression != 0)
        file.write(QByteArray("\0\1", 2));
}

void SetupTest::bigPictureShowsItsPart_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("centered");
    QTest::addColumn<QString>("tooBig"); // the message's end, "" for a picture shown

    QTest::newRow("4K desktop, 24 bits, centred") << QSize(3840, 2160) << 24 << true << "";
    QTest::newRow("4K desktop, 24 bits, tiled") << QSize(3840, 2160) << 24 << false << "";
    QTest::newRow("8 MB of 1 bit, centred") << QSize(8192, 8192) << 1 << true << "";
    QTest::newRow("8192 x 8192 RLE8, centred") << QSize(8192, 8192) << -8 << true << "";
    QTest::newRow("40,000 wide") << QSize(40000, 2) << 8 << true
                                 << "is too big for a wallpaper: wider or higher than 32767 pixels.";
}

// A picture far bigger than the board shows on it as the whole picture
// would: its middle centred, its top-left corner tiled.
void SetupTest::bigPictureShowsItsPart()
{
    QFETCH(QSize, size);
    QFETCH(int, bits);
    QFETCH(bool, centered);
    QFETCH(QString, tooBig);
    // The colour of each pixel, from its place.
    const QList<QRgb> table{qRgb(200, 0, 0), qRgb(0, 0, 200), qRgb(0, 150, 0), qRgb(250, 250, 0)};
    const auto colour = [&](int x, int y) -> QRgb {
        switch (bits) {
        case 24: return qRgb(x % 256, y % 256, x / 256 * 16 + y / 256);
        case 1: return table[(x / 3 + y / 5) % 2];
        default: return table[(x / 255 + y) % 4];
        }
    };
    SetupFixture f;
    const QString path = f.path(QStringLiteral("GFX/big.bmp"));
    writeBigBitmap(path, size, qAbs(bits), bits < 0 ? 1 : 0, table.first(bits == 24 ? 0 : bits == 1 ? 2 : 4), [&](int y) {
        QByteArray row;
        if (bits == 24) {
            for (int x = 0; x < size.width(); ++x)
                row.append(char(qBlue(colour(x, y)))).append(char(qGreen(colour(x, y)))).append(char(qRed(colour(x, y))));
        } else if (bits == 1) {
            row.fill('\0', (size.width() + 31) / 32 * 4);
            for (int x = 0; x < size.width(); ++x)
                row[x / 8] = char(row[x / 8] | (colour(x, y) == table[1]) << (7 - x % 8));
        } else if (bits < 0) {
            for (int x = 0; x < size.width(); x += 255)
                row.append(char(qMin(255, size.width() - x))).append(char((x / 255 + y) % 4));
            return row + QByteArray(2, '\0'); // end of the line
        } else {
            row.fill('\0', size.width());
        }
        row.resize((row.size() + 3) / 4 * 4, '\0');
        return row;
    });
    f.listAndRead();
    f.model->setPlacement(centered ? Wallpaper::Placement::Centered : Wallpaper::Placement::Tiled);
    f.model->choosePicture(1);
    if (!tooBig.isEmpty()) {
        QCOMPARE(f.env.messages.messages, QStringList{path + QLatin1Char(' ') + tooBig});
        return;
    }
    QVERIFY(f.env.messages.messages.isEmpty());
    const QImage board = f.model->boardBackground();
    const int left = centered ? int((290 - size.width()) * 0.5) : 0;
    const int top = centered ? int((470 - size.height()) * 0.5) : 0;
    for (int y = 0; y < 470; ++y) {
        for (int x = 0; x < 290; ++x) {
            if (board.pixel(x, y) != colour(x - left, y - top))
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2 is %3").arg(x).arg(y).arg(board.pixel(x, y), 0, 16)));
        }
    }
}

// A picture and a skin named in the Windows code page, as copied from an old
// disk, are named in one message, once a run.
void SetupTest::unusableNamesToldOnce()
{
    SetupFixture f;
    for (const char *name : {"GFX/Caf\xE9.bmp", "Skins/R\xF6" "d.dll"}) {
        QDir().mkpath(f.path(QString::fromLatin1(name).section(u'/', 0, 0)));
        const int fd = ::open(QFile::encodeName(f.env.folder.path()) + '/' + name, O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    f.listAndRead();
    f.listAndRead();
    for (const char *name : {"GFX/Caf\xE9.bmp", "Skins/R\xF6" "d.dll"}) // Qt cannot remove them
        ::unlink(QFile::encodeName(f.env.folder.path()) + '/' + name);
    const QString tail = QStringLiteral(", which the game cannot open: %1. Renamed, they can be used.");
    QCOMPARE(f.env.messages.messages,
             (QStringList{f.path("GFX") + " holds files whose names are not UTF-8" + tail.arg("Caf\u00E9.bmp"),
                          f.path("Skins") + " holds files whose names are not UTF-8" + tail.arg("R\u00F6d.dll")}));
}

// ---------------------------------------------------------------------------
// Skins

void SetupTest::missingSkinPictureStandsIn()
{
    BuiltinSkin standard;
    CapturedMessages messages;
    CurrentSkin skin(standard, &messages);
    for (const char *name : {"thin.dll", "thin.dll", "other.dll"}) {
        skin.useLibrary(std::make_unique<TextModule>(), QString::fromLatin1(name));
        QCOMPARE(skin.bitmap(QStringLiteral("00bmp")), standard.bitmap(QStringLiteral("00BMP")));
        QCOMPARE(skin.bitmap(QStringLiteral("00BMP")), standard.bitmap(QStringLiteral("00BMP")));
        QCOMPARE(skin.bitmap(QStringLiteral("back009")), standard.bitmap(QStringLiteral("back001")));
    }
    // Once a name in each library, whatever the case it was asked in.
    QCOMPARE(messages.messages, (QStringList{"Resource 00bmp not found", "Resource back009 not found",
                                              "Resource 00bmp not found", "Resource back009 not found"}));
}

void SetupTest::languageInfo()
{
    SetupFixture f;
    QDir().mkpath(f.path(QStringLiteral("lng")));
    writeFileBytes(f.path(QStringLiteral("lng/Polski.lng")), "[LangInfo]\r\n2=second\r\n10=tenth\r\n1=first\r\n");
    writeFileBytes(f.path(QStringLiteral("lng/English.lng")), "[LangInfo]\r\n1=a pack of its own\r\n");
    f.listAndRead();
    QCOMPARE(f.model->languages(), (QStringList{"english", "English", "Polski"}));
    QCOMPARE(f.model->languageInfo().first(), QStringLiteral("English language pack"));
    f.model->chooseLanguage(1);
    QCOMPARE(f.model->languageInfo(), QStringList{"a pack of its own"});
    f.model->chooseLanguage(2);
    QCOMPARE(f.model->languageInfo(), (QStringList{"first", "tenth", "second"}));
}

QTEST_MAIN(SetupTest)
#include "tst_settings_setup.moc"
