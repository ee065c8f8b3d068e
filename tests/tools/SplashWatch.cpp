// Watches the game's splash window from outside, for the end-to-end start-up
// test: screenshots taken by a shell tool come too slowly on a busy machine
// to see each 700 ms step.
//
//   kelvor_splash_watch <seconds>
//     reads a window's id from its standard input (started before the game,
//     it is ready when the window comes), then grabs the window from the
//     screen every few milliseconds until it is gone, or the seconds are
//     over, and prints a line for each picture that differs from the one
//     before:
//       <logo signature> <logo pixels not black> <text signature> <green text pixels> <text pixels neither>
//     The logo is the window's top 190 x 90 pixels, the step text the 16
//     rows beneath; green pixels are those of a lime text on black.

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>

namespace {

struct Region
{
    QByteArray signature;
    int lit = 0;   // not black
    int green = 0; // green, no red or blue
};

Region look(const QImage &image, const QRect &place)
{
    Region region;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = place.top(); y <= place.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = place.left(); x <= place.right(); ++x) {
            const QRgb pixel = line[x] & 0xffffff;
            hash.addData(QByteArrayView(reinterpret_cast<const char *>(&pixel), sizeof pixel));
            if (pixel == 0)
                continue;
            ++region.lit;
            if (qRed(pixel) < 32 && qBlue(pixel) < 32)
                ++region.green;
        }
    }
    region.signature = hash.result().toHex().left(16);
    return region;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvor_splash_watch <seconds> <<<WINDOW-ID\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    const qint64 until = QByteArray(argv[1]).toLongLong() * 1000;
    QScreen *screen = QGuiApplication::primaryScreen();
    long long window = 0;
    if (std::scanf("%lli", &window) != 1)
        return 2;
    QElapsedTimer watched;
    watched.start();
    QByteArray last;
    while (watched.elapsed() < until) {
        const QImage shot = screen->grabWindow(static_cast<WId>(window)).toImage().convertToFormat(QImage::Format_RGB32);
        if (shot.width() < 190 || shot.height() < 106)
            break; // gone
        const Region logo = look(shot, {0, 0, 190, 90});
        const Region text = look(shot, {0, 90, 190, 16});
        const QByteArray line = logo.signature + ' ' + QByteArray::number(logo.lit) + ' ' + text.signature + ' '
                                + QByteArray::number(text.green) + ' ' + QByteArray::number(text.lit - text.green);
        if (line != last) {
            std::printf("%s\n", line.constData());
            std::fflush(stdout);
            last = line;
        }
        QThread::msleep(5);
    }
    return 0;
}
