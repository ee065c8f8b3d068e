#include "game/DominoSet.h"
#include "resources/BuiltinSkin.h"
#include "resources/Glyphs.h"
#include "resources/ProgramResources.h"

#include <QIcon>
#include <QSet>
#include <QTest>

namespace {

constexpr QRgb Black = 0xFF000000;
constexpr QRgb White = 0xFFFFFFFF;

// Rows 20 to 38 of face 3-6, '#' white: the lower left pip of the three, the
// divider, and the top pips of the six.
const char *const Face36Middle[] = {
    ".#..........................#.",
    ".#..####....................#.",
    ".#.######...................#.",
    ".#.######...................#.",
    ".#.######...................#.",
    ".#.######...................#.",
    ".#..####....................#.",
    ".#..........................#.",
    ".#..........................#.",
    ".#..........................#.",
    ".############################.",
    ".#..........................#.",
    ".#..........................#.",
    ".#..####.............####...#.",
    ".#.######...........######..#.",
    ".#.######...........######..#.",
    ".#.######...........######..#.",
    ".#.######...........######..#.",
    ".#..####.............####...#.",
};

// Pip cells of a half for 0..6 pips, as "column row" pairs of the 3 x 3 grid.
const char *const PipCells[7] = {"", "11", "20 02", "20 11 02", "00 20 02 22", "00 20 11 02 22",
                                 "00 01 02 20 21 22"};
constexpr int CellLeft[3] = {3, 12, 20};
constexpr int CellTop[2][3] = {{5, 13, 21}, {33, 41, 49}};

// Whether (x, y) of a face is white, given which cells hold a pip.
bool expectedWhite(int x, int y, const bool pip[2][3][3])
{
    if ((x == 1 || x == 28) && y >= 1 && y <= 58)
        return true;
    if ((y == 1 || y == 30 || y == 58) && x >= 1 && x <= 28)
        return true;
    for (int half = 0; half < 2; ++half)
        for (int column = 0; column < 3; ++column)
            for (int row = 0; row < 3; ++row) {
                const int dx = x - CellLeft[column], dy = y - CellTop[half][row];
                const bool corner = (dx == 0 || dx == 5) && (dy == 0 || dy == 5);
                if (pip[half][column][row] && dx >= 0 && dx < 6 && dy >= 0 && dy < 6 && !corner)
                    return true;
            }
    return false;
}

struct PixelCounts
{
    int opaque = 0;     // alpha above half
    int coloured = 0;   // visibly not grey
    qint64 light = 0;   // grey level weighted by coverage
};

PixelCounts countPixels(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    PixelCounts counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            counts.opaque += qAlpha(c) > 128;
            counts.coloured += qAlpha(c) > 16
                               && (qAbs(qRed(c) - qGreen(c)) > 2 || qAbs(qGreen(c) - qBlue(c)) > 2);
            counts.light += qGray(c) * qAlpha(c);
        }
    return counts;
}

} // namespace

class TestResourcesImages : public QObject
{
    Q_OBJECT

private slots:
    void faceMatchesDrawing()
    {
        const QImage face = BuiltinSkin().bitmap("36BMP");
        for (int y = 20; y <= 38; ++y)
            for (int x = 0; x < 30; ++x)
                QVERIFY2(face.pixel(x, y) == (Face36Middle[y - 20][x] == '#' ? White : Black),
                         qPrintable(QString("(%1, %2)").arg(x).arg(y)));
    }

    void everyFace_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("upper");
        QTest::addColumn<int>("lower");
        for (DominoId id = 1; id <= DominoSet::Count; ++id) {
            const Domino &d = DominoSet::domino(id);
            const QString name = QString::fromLatin1(d.bitmapName.data(), d.bitmapName.size());
            QTest::newRow(qPrintable(name)) << name << int(d.upper) << int(d.lower);
        }
    }

    void everyFace()
    {
        QFETCH(QString, name);
        QFETCH(int, upper);
        QFETCH(int, lower);
        bool pip[2][3][3] = {};
        const int pips[2] = {upper, lower};
        for (int half = 0; half < 2; ++half)
            for (const QString &cell : QString(PipCells[pips[half]]).split(' ', Qt::SkipEmptyParts))
                pip[half][cell[0].digitValue()][cell[1].digitValue()] = true;

        const QImage face = BuiltinSkin().bitmap(name);
        QCOMPARE(face.format(), QImage::Format_Mono);
        QCOMPARE(face.size(), QSize(30, 60));
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 30; ++x)
                QVERIFY2(face.pixel(x, y) == (expectedWhite(x, y, pip) ? White : Black),
                         qPrintable(QString("(%1, %2)").arg(x).arg(y)));
    }

    void namesIgnoreCase()
    {
        BuiltinSkin skin;
        const QImage face = skin.bitmap("36BMP");
        QCOMPARE(skin.bitmap("36bmp"), face);
        QCOMPARE(BuiltinSkin().bitmap("36Bmp"), face);
        QVERIFY(skin.bitmap("00bmp") != face);
        QVERIFY(!skin.bitmap("BACK001").isNull());
        QCOMPARE(skin.bitmap("back001"), skin.bitmap("BACK001"));
        QVERIFY(!ProgramResources().bitmap("SELECTED").isNull());
        QCOMPARE(ProgramResources().bitmap("Selected"), ProgramResources().bitmap("SELECTED"));
    }

    void unknownNamesAreNull()
    {
        for (const char *name : {"", "BMP", "7BMP", "077BMP", "77BMP", "07BMP", "63BMP", "36BMP ", " 36BMP",
                                 "36BMPS", "36.BMP", "BACK000", "BACK01", "SELECTED"})
            QVERIFY2(BuiltinSkin().bitmap(name).isNull(), name);
        for (const char *name : {"", "SELECT", "SELECTED "})
            QVERIFY2(ProgramResources().bitmap(name).isNull(), name);
    }

    void changingACopyLeavesTheSkinAlone()
    {
        BuiltinSkin skin;
        const QImage before = skin.bitmap("00BMP").copy();
        QImage face = skin.bitmap("00BMP");
        face.fill(1);
        QCOMPARE(skin.bitmap("00bmp"), before);
    }

    void backIsAColouredTile()
    {
        const QImage back = BuiltinSkin().bitmap("BACK001");
        QCOMPARE(back.size(), QSize(30, 60));
        QCOMPARE(back.format(), QImage::Format_RGB888);

        // Patterned, coloured, and mostly bright enough to stand out from the
        // black board.
        QSet<QRgb> colours;
        int lit = 0, coloured = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 30; ++x) {
                const QRgb c = back.pixel(x, y);
                colours.insert(c);
                lit += qGray(c) > 40;
                coloured += qAbs(qRed(c) - qBlue(c)) > 40;
            }
        QVERIFY(colours.size() >= 4);
        QVERIFY2(lit > 30 * 60 * 3 / 4, qPrintable(QString::number(lit)));
        QVERIFY2(coloured > 30 * 60 * 3 / 4, qPrintable(QString::number(coloured)));
    }

    void selectionMarkIsACheckerboard()
    {
        const QImage mark = ProgramResources().bitmap("selected");
        QCOMPARE(mark.format(), QImage::Format_Mono);
        QCOMPARE(mark.size(), QSize(30, 60));
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 30; ++x)
                QCOMPARE(mark.pixel(x, y), (x + y) % 2 == 0 ? Black : White);
    }

    void windowIconHasTheUsualSizes()
    {
        const QIcon icon = ProgramResources::windowIcon();
        for (int size : {16, 32, 48, 64}) {
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));
            QVERIFY(countPixels(icon.pixmap(size).toImage()).opaque > size * size / 8);
        }
    }

    void glyphSets_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("staysDown");
        for (const char *name : {"NewGame", "Pause", "Options", "Stats", "About", "Help"})
            QTest::newRow(name) << QString(name) << (qstrcmp(name, "NewGame") != 0 && qstrcmp(name, "Help") != 0);
    }

    void glyphSets()
    {
        QFETCH(QString, button);
        QFETCH(bool, staysDown);
        const GlyphSet set = Glyphs::forButton(button);
        for (const QPixmap &pixmap : {set.up, set.disabled, set.pressed, set.down}) {
            // Fits inside the bevel of a 24 x 24 button, shows something and isn't a solid block.
            QVERIFY(!pixmap.isNull());
            const QSize size = pixmap.size();
            QVERIFY(size.width() >= 12 && size.width() <= 20 && size.height() >= 12 && size.height() <= 20);
            const int opaque = countPixels(pixmap.toImage()).opaque;
            QVERIFY2(opaque > 20 && opaque < size.width() * size.height() * 3 / 4, qPrintable(QString::number(opaque)));
        }
        const PixelCounts up = countPixels(set.up.toImage());
        QCOMPARE(countPixels(set.disabled.toImage()).coloured, 0);
        QVERIFY(up.coloured > 0);
        QVERIFY(countPixels(set.pressed.toImage()).light < up.light);
        if (staysDown)
            QVERIFY(set.down.toImage() != set.up.toImage() && set.down.toImage() != set.pressed.toImage());
    }

    void glyphsForOtherNamesAreNull()
    {
        for (const char *name : {"", "newgame", "Panel1"}) {
            const GlyphSet set = Glyphs::forButton(name);
            QVERIFY(set.up.isNull() && set.disabled.isNull() && set.pressed.isNull() && set.down.isNull());
        }
    }
};

QTEST_MAIN(TestResourcesImages)
#include "tst_resources_images.moc"
