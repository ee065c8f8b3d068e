// Watches the game's splash window from outside, for the end-to-end start-up
// test: screenshots taken by a shell tool come too slowly on a busy machine
// to see each 700 ms step.
//
//   kelvor_splash_watch <seconds> [find]
//     reads a window's id from its standard input (started before the game,
//     it is ready when the window comes), then grabs the window from the
//     screen every few milliseconds until it is gone, or the seconds are
//     over, and prints a line for each picture that differs from the one
//     before:
//       <logo signature> <logo pixels not black> <text signature> <green text pixels> <text pixels neither>
//       <yellow version pixels>
//     The logo is the window's top 190 x 90 pixels, the step text the 16
//     rows beneath, the version line the 13 rows under that; green pixels
//     are those of a lime text on black, yellow those of the version line.
//     With "find" the window is a Wayland compositor's whole output (its
//     nested window), on a background that is not black: the splash window
//     is looked for in each picture, by its lowest row, the lowest run of
//     190 black pixels (with a border of up to 2 pixels round it); it is
//     gone once it has been seen and is no longer there.

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>
#include <optional>

namespace {

struct Region
{
    QByteArray signature;
    int lit = 0;    // not black
    int green = 0;  // green, no red or blue
    int yellow = 0; // red and green, no blue
};

constexpr int SplashWidth = 190;
constexpr int SplashHeight = 120;

// The top-left corner of the splash window in a compositor's picture, or
// nothing.
std::optional<QPoint> findSplash(const QImage &image)
{
    for (int y = image.height() - 1; y >= SplashHeight - 1; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int run = 0;
        for (int x = 0; x <= image.width(); ++x) {
            if (x < image.width() && (line[x] & 0xffffff) == 0) {
                ++run;
                continue;
            }
            // A compositor may draw a black border of a pixel or two
            // round a window without a frame (weston round X11 ones).
            const int border = (run - SplashWidth) / 2;
            if (run >= SplashWidth && border <= 2)
                return QPoint(x - run + border, y - border - (SplashHeight - 1));
            run = 0;
        }
    }
    return std::nullopt;
}

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
            else if (qRed(pixel) > 192 && qGreen(pixel) > 192 && qBlue(pixel) < 64)
                ++region.yellow;
        }
    }
    region.signature = hash.result().toHex().left(16);
    return region;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool find = argc == 3 && QByteArray(argv[2]) == "find";
    if (argc != 2 && !find) {
        std::fprintf(stderr, "usage: kelvor_splash_watch <seconds> [find] <<<WINDOW-ID\n");
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
    bool seen = false;
    while (watched.elapsed() < until) {
        const QImage shot = screen->grabWindow(static_cast<WId>(window)).toImage().convertToFormat(QImage::Format_RGB32);
        QPoint at(0, 0);
        if (find) {
            const std::optional<QPoint> splash = findSplash(shot);
            if (!splash && seen)
                break; // gone
            if (!splash) {
                QThread::msleep(5);
                continue;
            }
            seen = true;
            at = *splash;
        } else if (shot.width() < SplashWidth || shot.height() < SplashHeight) {
            break; // gone
        }
        const Region logo = look(shot, QRect(0, 0, SplashWidth, 90).translated(at));
        const Region text = look(shot, QRect(0, 90, SplashWidth, 16).translated(at));
        const Region version = look(shot, QRect(0, 106, SplashWidth, 13).translated(at));
        const QByteArray line = logo.signature + ' ' + QByteArray::number(logo.lit) + ' ' + text.signature + ' '
                                + QByteArray::number(text.green) + ' '
                                + QByteArray::number(text.lit - text.green) + ' '
                                + QByteArray::number(version.yellow);
        if (line != last) {
            std::printf("%s\n", line.constData());
            std::fflush(stdout);
            last = line;
        }
        QThread::msleep(5);
    }
    return 0;
}
