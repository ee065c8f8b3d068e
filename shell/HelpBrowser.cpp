#include "HelpBrowser.h"

#include "platform/ProfileFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Long lines of a listing wrap rather than widen the page beyond the window.
const QString pageStyle = QStringLiteral("pre { white-space: pre-wrap; }");

// A regular file of at most the limit, read without ever waiting on it:
// checked before it is opened (opening a device may do things), opened
// non-blocking and checked again (it may have been swapped meanwhile).
QByteArray readRegularFile(const QString &path, qint64 limit)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > limit)
        return {};
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return {};
    QByteArray bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= limit) {
        bytes.resize(qsizetype(info.st_size) + 1);
        qsizetype size = 0;
        while (size < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + size, std::size_t(bytes.size() - size));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            size += got;
        }
        if (size > limit) {
            bytes = QByteArray(); // grown past the limit since fstat: not read at all
        } else {
            bytes.truncate(size);
            if (bytes.isNull())
                bytes = QByteArray(""); // an empty file, read
        }
    }
    ::close(fd);
    return bytes;
}

bool isWebOrMail(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto");
}

} // namespace

HelpBrowser::HelpBrowser(std::function<void(const QUrl &)> openUrl, QWidget *parent)
    : QTextBrowser(parent), m_openUrl(std::move(openUrl))
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    document()->setDefaultStyleSheet(pageStyle);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

void HelpBrowser::showTopic(const QString &helpFile, const QString &anchor)
{
    // A file that changed on disk (another language, a translator's edit)
    // is read afresh.
    const QString stamp = helpFile + QFileInfo(helpFile).lastModified().toString(Qt::ISODateWithMs);
    if (stamp != m_stamp) {
        clearHistory();
        m_helpFile.clear();
        setSource(QUrl(), QTextDocument::HtmlResource);
        m_stamp = stamp;
    }
    m_helpFile = helpFile;
    QUrl topic = QUrl::fromLocalFile(helpFile);
    topic.setFragment(anchor);
    setSource(topic, QTextDocument::HtmlResource);
}

void HelpBrowser::forgetFile()
{
    m_stamp.clear();
}

QByteArray HelpBrowser::readHelpResource(const QString &helpFile, const QUrl &url)
{
    const QUrl resolved = url.isRelative() ? QUrl::fromLocalFile(helpFile).resolved(url) : url;
    if (!resolved.isLocalFile())
        return {};
    // Where the name truly leads, through any link: into the help file's
    // own folder, not below it nor out of it.
    const QString target = QFileInfo(resolved.toLocalFile()).canonicalFilePath();
    const QString folder = QFileInfo(QFileInfo(helpFile).absolutePath()).canonicalFilePath();
    if (target.isEmpty() || folder.isEmpty() || QFileInfo(target).absolutePath() != folder)
        return {};
    return readRegularFile(target, ProfileFile::MaxFileSize);
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    Q_UNUSED(type);
    const QByteArray bytes = m_helpFile.isEmpty() ? QByteArray() : readHelpResource(m_helpFile, name);
    // Never a null answer: the text document would then open the file itself.
    return bytes.isNull() ? QVariant(QByteArray("")) : QVariant(bytes);
}

void HelpBrowser::followLink(const QUrl &link)
{
    if (isWebOrMail(link)) {
        if (m_openUrl)
            m_openUrl(link);
        return;
    }
    const QUrl target = source().resolved(link);
    if (target.isLocalFile() && source().isLocalFile() && target.toLocalFile() == source().toLocalFile())
        setSource(target, QTextDocument::HtmlResource);
}
