#include "platform/ProfileFile.h"
#include "platform/SafeReplace.h"
#include "platform/SharedFolder.h"
#include "support/OrdinaryUser.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using Writes = QList<QStringList>; // each {section, key, value}

namespace {

QByteArray utf16(const QString &text)
{
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

// A section of `count` keys named like "k0001" padded to `length` characters.
QByteArray manyKeys(int count, int length, const QByteArray &last = {})
{
    QByteArray text = "[S]\r\n";
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(i).rightJustified(length, 'k') + "=v\r\n";
    return text + last;
}

// Whether a copy of the game could take its lock on the file now.
bool copiesCouldLock(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    const bool free = fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
    ::close(fd);
    return free;
}

} // namespace

class ProfileTest : public QObject
{
    Q_OBJECT

private slots:
    void readString_data();
    void readString();
    void listing_data();
    void listing();
    void bufferLimits_data();
    void bufferLimits();
    void writeString_data();
    void writeString();
    void fileWritesAndCreates();
    void failedWritesKeepTheFile_data();
    void failedWritesKeepTheFile();
    void readOnlyFileOrFolder();
    void linkSwappedMidSaveIsNeverFollowed();
    void fullDiskKeepsTheFile();
    void oddFiles_data();
    void oddFiles();
    void heldLock_data();
    void heldLock();
    void overtakenSaveMergesAgain_data();
    void overtakenSaveMergesAgain();
    void sharedFolderModes_data();
    void sharedFolderModes();
    void sharedFolderMakesGroupFolders();
};

void ProfileTest::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString def = QStringLiteral("def");
    QTest::newRow("empty file") << QByteArray() << "S" << "A" << def;
    QTest::newRow("missing section") << QByteArray("[T]\r\nA=1\r\n") << "S" << "A" << def;
    QTest::newRow("missing key") << QByteArray("[S]\r\nB=1\r\n") << "S" << "A" << def;
    QTest::newRow("case of names") << QByteArray("[sEcT]\r\nkEy=1\r\n") << "Sect" << "KEY" << "1";
    QTest::newRow("blanks trimmed") << QByteArray(" \t[ S\t]\r\n \tA \t= \tb c \t\r\n") << "S" << "A" << "b c";
    QTest::newRow("comment is no key") << QByteArray("[S]\r\n \t;A=1\r\nA=2\r\n") << "S" << "A" << "2";
    QTest::newRow("first key wins") << QByteArray("[S]\r\nA=1\r\na=2\r\n") << "S" << "A" << "1";
    QTest::newRow("first section wins") << QByteArray("[S]\r\nA=1\r\n[s]\r\nB=2\r\n") << "S" << "B" << def;
    QTest::newRow("empty value is a value") << QByteArray("[S]\r\nA=\r\n") << "S" << "A" << "";
    QTest::newRow("no equals sign") << QByteArray("[S]\r\nA\r\nA=2\r\n") << "S" << "A" << def;
    QTest::newRow("equals in value") << QByteArray("[S]\r\nA=b=c\r\n") << "S" << "A" << "b=c";
    QTest::newRow("before any section") << QByteArray("A=1\r\n[S]\r\n") << "S" << "A" << def;
    QTest::newRow("unclosed bracket opens the section")
        << QByteArray("[sectionname   \r\nkey=value\r\n") << "sectionname" << "key" << "value";
    QTest::newRow("unclosed bracket ends the section before")
        << QByteArray("[s]\r\na=1\r\n[open\r\nb=2\r\n") << "s" << "b" << def;
    QTest::newRow("unclosed bracket, key after it")
        << QByteArray("[s]\r\na=1\r\n[open\r\nb=2\r\n") << "open" << "b" << "2";
    QTest::newRow("vertical tabs trimmed") << QByteArray("[S]\r\n\x0b A\x0b=\x0b\tb\x0b\r\n") << "S" << "A" << "b";
    QTest::newRow("1252 line after UTF-8 line")
        << QByteArray("[S]\r\nA=J\xC3\xB6rg\r\nB=Zo\xEB\r\n") << "S" << "A" << "J\u00F6rg";
    QTest::newRow("UTF-8 line after 1252 line")
        << QByteArray("[S]\r\nB=Zo\xEB\r\nA=J\xC3\xB6rg\r\n") << "S" << "B" << "Zo\u00EB";
    QTest::newRow("EF BB BF at a line start is a character")
        << QByteArray("[S]\r\n\xEF\xBB\xBF" "A=1\r\n") << "S" << QStringLiteral("\uFEFFA") << "1";
    QTest::newRow("invalid byte in a marked UTF-8 file")
        << QByteArray("\xEF\xBB\xBF[S]\r\nA=J\xFCrgen\r\n") << "S" << "A" << "J\u00FCrgen";
    QTest::newRow("odd-length UTF-16") << utf16("[S]\r\nA=\u03A9\r\n") + 'x' << "S" << "A" << "\u03A9";
    QTest::newRow("double quotes") << QByteArray("[S]\r\nA=\" a \"\r\n") << "S" << "A" << " a ";
    QTest::newRow("single quotes") << QByteArray("[S]\r\nA='x'\r\n") << "S" << "A" << "x";
    QTest::newRow("one pair only") << QByteArray("[S]\r\nA=\"\"x\"\"\r\n") << "S" << "A" << "\"x\"";
    QTest::newRow("unmatched quotes") << QByteArray("[S]\r\nA=\"x'\r\n") << "S" << "A" << "\"x'";
    QTest::newRow("lone quote") << QByteArray("[S]\r\nA=\"\r\n") << "S" << "A" << "\"";
    QTest::newRow("long value cut") << QByteArray("[S]\r\nA=" + QByteArray(2000, 'x')) << "S" << "A"
                                    << QString(1023, u'x');
    QTest::newRow("quotes go before the cut")
        << QByteArray("[S]\r\nA=\"" + QByteArray(1030, 'x') + "\"") << "S" << "A" << QString(1023, u'x');
    QTest::newRow("LF") << QByteArray("[S]\nA=1\nB=2\n") << "S" << "B" << "2";
    QTest::newRow("CR") << QByteArray("[S]\rA=1\rB=2") << "S" << "B" << "2";
    QTest::newRow("mixed ends") << QByteArray("[S]\r\nA=1\rB=2\nC=3") << "S" << "C" << "3";
    QTest::newRow("UTF-8") << QByteArray("[S]\nA=J\xC3\xBCrgen\n") << "S" << "A" << "J\u00FCrgen";
    QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF[S]\r\nA=1\r\n") << "S" << "A" << "1";
    QTest::newRow("UTF-16LE mark") << utf16("[S]\r\nA=\u03A9\r\n") << "S" << "A" << "\u03A9";
    QTest::newRow("1252") << QByteArray("[S]\nA=J\xFCrgen \x80\x81\n") << "S" << "A" << "J\u00FCrgen \u20AC\u0081";
    QTest::newRow("overlong UTF-8 is 1252") << QByteArray("[S]\nA=\xC0\xAF\n") << "S" << "A" << "\u00C0\u00AF";
    QTest::newRow("non-ASCII case") << QByteArray("[\xC3\x84rger]\nA=1\n") << "\u00E4RGER" << "a" << "1";
}

void ProfileTest::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(ProfileDocument::fromBytes(file).readString(section, key, "def"), expected);
}

void ProfileTest::listing_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("missing") << QByteArray("[T]\r\nA=1\r\n") << QStringList() << QStringList();
    QTest::newRow("mixed lines")
        << QByteArray("[S]\r\n;c=1\r\n\r\n A = \"q\" \r\nbare\r\n=nameless\r\na=2\r\n[T]\r\nX=1\r\n[s]\r\nY=1\r\n")
        << QStringList{"A", "a"} << QStringList{"A=\"q\"", "bare", "=nameless", "a=2"};
    QTest::newRow("Windows key list")
        << QByteArray("[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n  lonely key  \r\n=val5\r\n"
                      "# hash comment\r\n")
        << QStringList{"name1", "name2", "name4"}
        << QStringList{"name1=val1", "name2=", "name3", "name4=val4", "lonely key", "=val5", "# hash comment"};
}

void ProfileTest::listing()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, lines);
    const ProfileDocument doc = ProfileDocument::fromBytes(file);
    QCOMPARE(doc.readSectionKeys("s"), keys);
    QCOMPARE(doc.readSection("s"), lines);
}

void ProfileTest::bufferLimits_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("keyCount");
    QTest::addColumn<int>("lineCount");

    // 81 names of 100 characters take 8181 bytes with their zeros; with the
    // closing zero, a last name may take 9 characters plus its zero.
    QTest::newRow("keys fill the buffer") << manyKeys(81, 100, "abcdefghi=v\r\n") << 82 << 82;
    QTest::newRow("one byte over") << manyKeys(81, 100, "abcdefghij=v\r\nb=v\r\n") << 81 << 83;
    QTest::newRow("non-ASCII counts one")
        << manyKeys(81, 100, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9=v\r\n") << 82 << 82;
    // Lines "k..k0=v" of 102 characters: 318 take 32754 characters with their
    // zeros, which leaves room for a line of 11.
    QTest::newRow("lines fill the buffer") << manyKeys(318, 100, "abcdefghi=v\r\n") << 81 << 319;
    QTest::newRow("one character over") << manyKeys(318, 100, "abcdefghij=v\r\nb=v\r\n") << 81 << 318;
}

void ProfileTest::bufferLimits()
{
    QFETCH(QByteArray, file);
    QFETCH(int, keyCount);
    QFETCH(int, lineCount);
    const ProfileDocument doc = ProfileDocument::fromBytes(file);
    QCOMPARE(doc.readSectionKeys("S").size(), keyCount);
    QCOMPARE(doc.readSection("S").size(), lineCount);
}

void ProfileTest::writeString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Writes>("writes");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("new file") << QByteArray() << Writes{{"S", "A", "1"}, {"T", "B", "2"}, {"S", "C", "3"}}
                              << QByteArray("[S]\r\nA=1\r\nC=3\r\n[T]\r\nB=2\r\n");
    QTest::newRow("replace in place")
        << QByteArray(";top\r\n[s]\r\n  kEY = old ; x\r\n\r\nother = 1 \r\n") << Writes{{"S", "Key", "new"}}
        << QByteArray(";top\r\n[s]\r\nkEY=new\r\n\r\nother = 1 \r\n");
    QTest::newRow("after the last key")
        << QByteArray("[A]\r\nx=1\r\n;tail\r\n\r\n[B]\r\ny=2\r\n") << Writes{{"a", "z", "3"}}
        << QByteArray("[A]\r\nx=1\r\nz=3\r\n;tail\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("section without keys") << QByteArray("[A]\r\n;c\r\n[B]\r\n") << Writes{{"A", "z", "3"}}
                                          << QByteArray("[A]\r\nz=3\r\n;c\r\n[B]\r\n");
    QTest::newRow("duplicate sections and keys")
        << QByteArray("[A]\r\nx=1\r\nX=2\r\n[a]\r\ny=1\r\n") << Writes{{"A", "x", "5"}, {"A", "y", "6"}}
        << QByteArray("[A]\r\nx=5\r\nX=2\r\ny=6\r\n[a]\r\ny=1\r\n");
    QTest::newRow("LF kept") << QByteArray("[A]\nx=1\n") << Writes{{"B", "y", "2"}}
                             << QByteArray("[A]\nx=1\n[B]\ny=2\n");
    QTest::newRow("CR kept") << QByteArray("[A]\rx=1\r") << Writes{{"A", "y", "2"}}
                             << QByteArray("[A]\rx=1\ry=2\r");
    QTest::newRow("first line end is the style") << QByteArray("[A]\nx=1\r\n") << Writes{{"A", "y", "2"}}
                                                 << QByteArray("[A]\nx=1\r\ny=2\n");
    QTest::newRow("unended last line replaced") << QByteArray("[A]\r\nx=1") << Writes{{"A", "x", "5"}}
                                                << QByteArray("[A]\r\nx=5");
    QTest::newRow("unended last line followed") << QByteArray("[A]\r\nx=1") << Writes{{"B", "y", "2"}}
                                                << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    QTest::newRow("unended file, earlier section") << QByteArray("[A]\r\n[B]\r\ny=1") << Writes{{"A", "x", "2"}}
                                                   << QByteArray("[A]\r\nx=2\r\n[B]\r\ny=1");
    QTest::newRow("line breaks in a value") << QByteArray() << Writes{{"A", "x", "a\r\nb\nc"}}
                                            << QByteArray("[A]\r\nx=a  b c\r\n");
    QTest::newRow("1252 kept, UTF-8 where 1252 lacks a character")
        << QByteArray("[A]\r\nn=J\xFCrgen\x81\r\n")
        << Writes{{"A", "m", "J\u00F6rg \u20AC"}, {"A", "c", "\u0416\U0001F600"}}
        << QByteArray("[A]\r\nn=J\xFCrgen\x81\r\nm=J\xF6rg \x80\r\nc=\xD0\x96\xF0\x9F\x98\x80\r\n");
    QTest::newRow("ASCII file takes 1252") << QByteArray("[A]\r\n") << Writes{{"A", "m", "J\u00F6rg"}}
                                           << QByteArray("[A]\r\nm=J\xF6rg\r\n");
    QTest::newRow("1252 that would read as UTF-8 is UTF-8")
        << QByteArray() << Writes{{"A", "m", "\u00C3\u00B6"}} << QByteArray("[A]\r\nm=\xC3\x83\xC2\xB6\r\n");
    QTest::newRow("UTF-8 lines stay beside a new 1252 line")
        << QByteArray("[A]\r\nm=J\xC3\xB6rg\r\n") << Writes{{"A", "z", "Zo\u00EB"}}
        << QByteArray("[A]\r\nm=J\xC3\xB6rg\r\nz=Zo\xEB\r\n");
    QTest::newRow("same value keeps the line's bytes")
        << QByteArray("\xEF\xBB\xBF[A]\r\nn = J\xFCrgen\r\n") << Writes{{"A", "n", "J\u00FCrgen"}}
        << QByteArray("\xEF\xBB\xBF[A]\r\nn = J\xFCrgen\r\n");
    QTest::newRow("EF BB BF at a line start kept")
        << QByteArray("[A]\r\n\xEF\xBB\xBFx=1\r\n") << Writes{{"A", QStringLiteral("\uFEFFx"), "2"}}
        << QByteArray("[A]\r\n\xEF\xBB\xBFx=2\r\n");
    QTest::newRow("odd-length UTF-16 keeps its last byte last")
        << utf16("[A]\r\nx=1") + 'z' << Writes{{"A", "x", "\u03A9"}, {"B", "y", "2"}}
        << utf16("[A]\r\nx=\u03A9\r\n[B]\r\ny=2\r\n") + 'z';
    QTest::newRow("UTF-8 mark kept, odd bytes untouched")
        << QByteArray("\xEF\xBB\xBF[A]\r\nbad=\xFF\r\n") << Writes{{"A", "m", "\u00F6"}}
        << QByteArray("\xEF\xBB\xBF[A]\r\nbad=\xFF\r\nm=\xC3\xB6\r\n");
    QTest::newRow("key name that reads as a section line opens it")
        << QByteArray("[A]\r\nx=1\r\n") << Writes{{"A", "[B]x", "1"}, {"b", "y", "2"}, {"A", "z", "3"}}
        << QByteArray("[A]\r\nx=1\r\nz=3\r\n[B]x=1\r\ny=2\r\n");
    QTest::newRow("UTF-16LE kept") << utf16("[A]\r\nx=1\r\n") << Writes{{"A", "x", "\u03A9"}, {"B", "y", "2"}}
                                   << utf16("[A]\r\nx=\u03A9\r\n[B]\r\ny=2\r\n");
}

void ProfileTest::writeString()
{
    QFETCH(QByteArray, file);
    QFETCH(Writes, writes);
    QFETCH(QByteArray, expected);
    ProfileDocument doc = ProfileDocument::fromBytes(file);
    for (const QStringList &w : writes)
        doc.writeString(w[0], w[1], w[2]);
    QCOMPARE(doc.toBytes(), expected);
}

void ProfileTest::fileWritesAndCreates()
{
    QTemporaryDir dir;
    CapturedMessages messages;
    ProfileFile file(dir.filePath("new.ini"), &messages);
    QCOMPARE(file.readString("S", "A", "none"), QString("none"));
    QVERIFY(file.readSection("S").isEmpty());
    QVERIFY(file.writeString("S", "A", "1"));
    QVERIFY(file.writeString("s", "B", "2"));
    QCOMPARE(readFileBytes(file.path()), QByteArray("[S]\r\nA=1\r\nB=2\r\n"));
    QCOMPARE(file.readSectionKeys("S"), QStringList({"A", "B"}));

    ProfileDocument doc = file.load();
    doc.writeString("S", "a", "3");
    doc.writeString("T", "C", "4");
    QCOMPARE(file.readString("S", "A", ""), QString("1")); // nothing on disk before the save
    QVERIFY(file.save(doc));
    QCOMPARE(readFileBytes(file.path()), QByteArray("[S]\r\nA=3\r\nB=2\r\n[T]\r\nC=4\r\n"));
    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"new.ini"}); // no leftovers
}

void ProfileTest::failedWritesKeepTheFile_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("missing folder") << "missing/scores.ini";
    QTest::newRow("parent is a file") << "plain/scores.ini";
    QTest::newRow("path is a folder") << "folder";
}

void ProfileTest::failedWritesKeepTheFile()
{
    QFETCH(QString, relativePath);
    QTemporaryDir dir;
    writeFileBytes(dir.filePath("plain"), "[S]\r\nA=1\r\n");
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    CapturedMessages messages;
    ProfileFile file(dir.filePath(relativePath), &messages);
    QVERIFY(!file.writeString("S", "A", "2"));
    QCOMPARE(messages.messages, QStringList{"Unable to write to " + dir.filePath(relativePath)});
    QCOMPARE(readFileBytes(dir.filePath("plain")), QByteArray("[S]\r\nA=1\r\n"));
    QVERIFY(QFileInfo(dir.filePath("folder")).isDir());
    QVERIFY(!QFileInfo::exists(dir.filePath("missing")));
}

void ProfileTest::readOnlyFileOrFolder()
{
    // Root may write anywhere: the writes are made by an ordinary user.
    QTemporaryDir dir;
    const QString path = dir.filePath("ro.ini");
    writeFileBytes(path, "[S]\r\nA=1\r\n");
    OrdinaryUser::give(dir.path());
    OrdinaryUser::give(path);
    const std::optional<QByteArray> shown = OrdinaryUser::run([&] {
        CapturedMessages messages;
        ProfileFile file(path, &messages);
        QFile::setPermissions(path, QFile::ReadOwner);
        file.writeString("S", "A", "2");
        QFile::setPermissions(path, QFile::WriteOwner); // unreadable: nothing known to keep
        file.writeString("S", "A", "3");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        file.writeString("S", "A", "4");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return messages.messages.join(u'\n').toUtf8();
    });
    if (!shown)
        QSKIP("skipped: could not run as an ordinary user");
    QCOMPARE(QString::fromUtf8(*shown).split(u'\n'), QStringList(3, "Unable to write to " + path));
    QCOMPARE(readFileBytes(path), QByteArray("[S]\r\nA=1\r\n"));
}

void ProfileTest::linkSwappedMidSaveIsNeverFollowed()
{
    // A player who may write the game folder swaps "scores.ini" between a
    // link to another user's file and a file of the player's own, as fast
    // as the player can, while the game, run by that other user, saves.
    if (!OrdinaryUser::isRoot())
        QSKIP("skipped: needs root to play the game's user beside the player");
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                          | QFile::ExeOther);
    QVERIFY(QDir(dir.path()).mkdir("game") && QDir(dir.path()).mkdir("own"));
    OrdinaryUser::give(dir.filePath("game"));
    const QString victim = dir.filePath("own/secret.ini");
    const QByteArray secret("[Kelvor]\r\nSecret=victim\r\n");
    writeFileBytes(victim, secret);

    const QByteArray place = QFile::encodeName(dir.filePath("game/scores.ini"));
    const QByteArray link = QFile::encodeName(dir.filePath("game/link.tmp"));
    const QByteArray own = QFile::encodeName(dir.filePath("game/own.tmp"));
    const QByteArray victimName = QFile::encodeName(victim);
    const pid_t player = OrdinaryUser::start([&] {
        const char text[] = "[Kelvor]\r\nA=player\r\n";
        const auto ownFile = [&] {
            const int fd = ::open(own.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (fd >= 0) {
                [[maybe_unused]] const ssize_t put = ::write(fd, text, sizeof text - 1);
                ::close(fd);
                ::rename(own.constData(), place.constData());
            }
        };
        ownFile();
        struct stat info {};
        while (::renameat2(AT_FDCWD, link.constData(), AT_FDCWD, place.constData(), RENAME_EXCHANGE) == 0
               || errno == ENOENT) {
            // Swapped in one step, as fast as it goes; a save that replaced
            // the link while it stood in the file's place is answered by a
            // new one.
            if (::lstat(link.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
                if (::lstat(place.constData(), &info) == 0 && S_ISLNK(info.st_mode))
                    continue;
                ::unlink(link.constData());
                [[maybe_unused]] const int made = ::symlink(victimName.constData(), link.constData());
            }
        }
        for (;;) { // where the file system cannot swap two names at once
            ::unlink(link.constData());
            if (::symlink(victimName.constData(), link.constData()) == 0)
                ::rename(link.constData(), place.constData());
            ownFile();
        }
    });
    QVERIFY(player > 0);

    CapturedMessages messages;
    ProfileFile file(dir.filePath("game/scores.ini"), &messages);
    int saved = 0;
    bool leaked = false;
    // Saves that find the file as they read it just before they replace it
    // are few against such a player: it goes on until some have.
    for (int i = 0; (i < 2000 || saved == 0) && i < 40000 && !leaked && readFileBytes(victim) == secret; ++i) {
        saved += file.writeString("Kelvor", "Count", QString::number(i)) ? 1 : 0;
        // Nor is the other user's file ever read into the player's.
        const int fd = ::open(place.constData(), O_RDONLY | O_NOFOLLOW);
        char text[256] = {};
        leaked = fd >= 0 && ::read(fd, text, sizeof text - 1) > 0 && std::strstr(text, "Secret");
        if (fd >= 0)
            ::close(fd);
    }
    OrdinaryUser::stop(player);

    QCOMPARE(readFileBytes(victim), secret);
    QCOMPARE(QDir(dir.filePath("own")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"secret.ini"});
    QVERIFY(!leaked);
    QVERIFY2(saved > 0, "no save went through at all");
}

void ProfileTest::fullDiskKeepsTheFile()
{
    // A file size limit makes the new contents fail to write, as a full disk
    // would, and it holds for root too.
    QTemporaryDir dir;
    const QString path = dir.filePath("scores.ini");
    writeFileBytes(path, "[S]\r\nA=1\r\n");
    CapturedMessages messages;
    bool lockFreeWhileShown = true;
    messages.whileShown = [&] { lockFreeWhileShown = lockFreeWhileShown && copiesCouldLock(path); };
    ProfileFile file(path, &messages);

    const bool written = writeWithFileSizeLimit(16, [&] { return file.writeString("S", "A", QString(100, u'x')); });

    QVERIFY(!written);
    QCOMPARE(messages.messages, QStringList{"Unable to write to " + path});
    // Told once the lock was let go: another copy saves while the player reads.
    QVERIFY(lockFreeWhileShown);
    QCOMPARE(readFileBytes(path), QByteArray("[S]\r\nA=1\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"scores.ini"});
}

// What stands at the file's place, made by oddFiles() in its folder:
// "other.ini" is a plain file beside it.
enum class Odd { Fifo, Folder, Socket, DeviceLink, TooBig, OwnLink, ForeignLink, Mode };

void ProfileTest::oddFiles_data()
{
    QTest::addColumn<Odd>("odd");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("writable");
    QTest::newRow("FIFO") << Odd::Fifo << false << false;
    QTest::newRow("folder") << Odd::Folder << false << false;
    QTest::newRow("socket") << Odd::Socket << false << false;
    QTest::newRow("device through own link") << Odd::DeviceLink << false << false;
    QTest::newRow("over the size limit") << Odd::TooBig << false << false;
    QTest::newRow("own link followed") << Odd::OwnLink << true << true;
    QTest::newRow("another user's link refused") << Odd::ForeignLink << true << false;
    QTest::newRow("mode and group kept") << Odd::Mode << true << true;
}

void ProfileTest::oddFiles()
{
    QFETCH(Odd, odd);
    QFETCH(bool, readable);
    QFETCH(bool, writable);
    QTemporaryDir dir;
    const QString path = dir.filePath("scores.ini");
    const QString other = dir.filePath("other.ini");
    const QByteArray contents("[S]\r\nA=1\r\n");
    writeFileBytes(other, contents);
    const QByteArray native = QFile::encodeName(path);
    switch (odd) {
    case Odd::Fifo:
        QCOMPARE(mkfifo(native.constData(), 0600), 0);
        break;
    case Odd::Folder:
        QVERIFY(QDir(dir.path()).mkdir("scores.ini"));
        break;
    case Odd::Socket: {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        QVERIFY(std::size_t(native.size()) < sizeof address.sun_path);
        std::copy(native.begin(), native.end(), address.sun_path);
        QCOMPARE(bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        close(fd);
        break;
    }
    case Odd::DeviceLink:
        QVERIFY(QFile::link("/dev/null", path));
        break;
    case Odd::TooBig:
        writeFileBytes(path, contents);
        QCOMPARE(truncate(native.constData(), 100 * 1024 * 1024), 0); // sparse

        break;
    case Odd::OwnLink:
        QVERIFY(QFile::link(other, path));
        break;
    case Odd::ForeignLink:
        if (geteuid() != 0)
            QSKIP("only root can give a link to another user");
        QVERIFY(QFile::link(other, path));
        QCOMPARE(lchown(native.constData(), 65534, 65534), 0);
        break;
    case Odd::Mode:
        writeFileBytes(path, contents);
        QCOMPARE(chmod(native.constData(), 0604), 0);
        if (geteuid() == 0)
            QCOMPARE(chown(native.constData(), 0, 65534), 0);
        break;
    }
    struct stat before {};
    QCOMPARE(lstat(native.constData(), &before), 0);

    CapturedMessages messages;
    ProfileFile file(path, &messages);
    QCOMPARE(file.readString("S", "A", "def"), QString(readable ? "1" : "def"));
    QCOMPARE(file.writeString("S", "A", "2"), writable);
    // A file too big to read is named with its reason once, read or saved.
    const QString refusal = odd == Odd::TooBig
                                ? path + " is larger than 1 MB; the game neither reads nor replaces it."
                                : "Unable to write to " + path;
    QCOMPARE(messages.messages, writable ? QStringList() : QStringList{refusal});
    QCOMPARE(file.writeString("S", "A", "2"), writable);
    QCOMPARE(messages.messages.size(), writable ? 0 : odd == Odd::TooBig ? 1 : 2);

    struct stat after {};
    QCOMPARE(lstat(native.constData(), &after), 0);
    if (!writable || odd == Odd::OwnLink) {
        // Nothing in the file's place was replaced.
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
    }
    QCOMPARE(readFileBytes(other), odd == Odd::OwnLink ? QByteArray("[S]\r\nA=2\r\n") : contents);
    if (odd == Odd::Mode) {
        QCOMPARE(after.st_mode & 07777, 0604u);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(readFileBytes(path), QByteArray("[S]\r\nA=2\r\n"));
    }
    if (odd == Odd::TooBig)
        QCOMPARE(after.st_size, 100 * 1024 * 1024);
}

void ProfileTest::heldLock_data()
{
    // What another process holds, %1 standing for the file and %2 for its
    // folder, while the game saves; whether the save then holds its own lock
    // and waits for the other's first, and saves.
    QTest::addColumn<QString>("holder");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("waited");
    QTest::addColumn<bool>("saved");
    const QString python = "/usr/bin/python3 -c 'import fcntl, time; f = open(\"%1\", \"%2\"); fcntl.lockf(f, fcntl.%3, 1, %4); "
                           "print(1, flush=True); time.sleep(60)'";
    QTest::newRow("flock on the folder") << "flock -x %2 -c 'echo; sleep 60'" << true << false << true;
    QTest::newRow("flock on the file") << "flock -x %1 -c 'echo; sleep 60'" << true << false << true;
    // Anyone who may read the file can take a read lock: not honoured.
    QTest::newRow("read lock of a player who may only read")
        << (OrdinaryUser::isRoot() ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "")
               + python.arg("%1", "r", "LOCK_SH", "0") << false << false << true;
    QTest::newRow("another copy saving") << python.arg("%1", "r+", "LOCK_EX", "0") << false << true << true;
    // Stopped between its last look at the file and its rename: it may still
    // put its file there, so no other goes first.
    QTest::newRow("another copy stopped at its rename") << python.arg("%1", "r+", "LOCK_EX", "1") << true << false << false;
}

void ProfileTest::heldLock()
{
    QFETCH(QString, holder);
    QFETCH(bool, locked);
    QFETCH(bool, waited);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const QString path = dir.filePath("scores.ini");
    writeFileBytes(path, "[S]\r\nA=1\r\n");
    QProcess process;
    process.start("sh", {"-c", "exec " + QString(holder).replace("%1", path).replace("%2", dir.path())});
    QVERIFY(process.waitForReadyRead(30000));
    {
        SafeReplace save(path);
        QCOMPARE(save.openCurrent(ProfileFile::MaxFileSize), SafeReplace::Current::Regular);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(save.lockCurrent(waited ? 100 : 60000), locked);
        QVERIFY(waited ? timer.elapsed() >= 100 : timer.elapsed() < 30000);
    }
    CapturedMessages messages;
    QCOMPARE(ProfileFile(path, &messages).writeString("S", "B", "2"), saved);
    QCOMPARE(readFileBytes(path), saved ? QByteArray("[S]\r\nA=1\r\nB=2\r\n") : QByteArray("[S]\r\nA=1\r\n"));
    QCOMPARE(messages.messages, saved ? QStringList() : QStringList{"Unable to write to " + path});
    process.kill();
    QVERIFY(process.waitForFinished());
    // Let go with its holder, and nothing left in the folder.
    QVERIFY(copiesCouldLock(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"scores.ini"});
}

// What another writer does to the file between a save's reading and its
// replacing it, at each of the save's first `times` attempts.
enum class Neighbour { RewritesInPlace, CopyReplaces };

void ProfileTest::overtakenSaveMergesAgain_data()
{
    QTest::addColumn<bool>("existed");
    QTest::addColumn<Neighbour>("neighbour");
    QTest::addColumn<int>("times");
    QTest::addColumn<bool>("saved");
    QTest::newRow("a family game rewrites it in place") << true << Neighbour::RewritesInPlace << 1 << true;
    QTest::newRow("a copy that did not wait replaces it") << true << Neighbour::CopyReplaces << 1 << true;
    QTest::newRow("a file comes where there was none") << false << Neighbour::RewritesInPlace << 1 << true;
    // Never over a file it has not merged: the save gives up.
    QTest::newRow("rewritten before every replacement") << true << Neighbour::RewritesInPlace << 100 << false;
}

void ProfileTest::overtakenSaveMergesAgain()
{
    QFETCH(bool, existed);
    QFETCH(Neighbour, neighbour);
    QFETCH(int, times);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    const QString path = dir.filePath("scores.ini");
    if (existed)
        writeFileBytes(path, "[S]\r\nA=1\r\n");
    int done = 0;
    const SafeReplace::Hook own = SafeReplace::setBeforeReplace([&] {
        if (done == times)
            return;
        const QString count = QString::number(++done);
        CapturedMessages quiet;
        if (neighbour == Neighbour::CopyReplaces)
            QVERIFY(ProfileFile(path, &quiet).writeString("S", "F", count));
        else
            writeFileBytes(path, "[S]\r\nA=1\r\nF=" + count.toLatin1() + "\r\n");
    });
    CapturedMessages messages;
    QCOMPARE(ProfileFile(path, &messages, ProfileFile::Sharing::Shared).writeString("S", "B", "2"), saved);
    SafeReplace::setBeforeReplace(own);
    const QByteArray neighbours = "[S]\r\nA=1\r\nF=" + QByteArray::number(done) + "\r\n";
    QCOMPARE(readFileBytes(path), saved ? neighbours + "B=2\r\n" : neighbours);
    QCOMPARE(done, saved ? 1 : ProfileFile::MaxMergeAttempts);
    QCOMPARE(messages.messages, saved ? QStringList() : QStringList{"Unable to write to " + path});
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"scores.ini"});
}

// Who saves in sharedFolderModes(): a player (nobody, when the tests run as
// root) or root itself.
enum class Saver { Player, Root };

void ProfileTest::sharedFolderModes_data()
{
    // A save with the usual umask 022 into a game folder (its mode), over a
    // file of the given mode (0: none) that the saving player made or
    // another user did. A plain folder is the player's; when root runs the
    // tests a group-writable one is root's in the player's group, and root's
    // files are in root's group.
    QTest::addColumn<Saver>("saver");
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("othersFile");
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("modeAfter");
    QTest::newRow("new file, shared folder") << Saver::Player << 02775 << 0 << false << true << 0664;
    QTest::newRow("new file, plain folder") << Saver::Player << 0755 << 0 << false << true << 0644;
    QTest::newRow("own 644 file, shared folder") << Saver::Player << 02775 << 0644 << false << true << 0664;
    QTest::newRow("own 644 file, plain folder") << Saver::Player << 0755 << 0644 << false << true << 0644;
    QTest::newRow("own read-only file, shared folder") << Saver::Player << 02775 << 0444 << false << false << 0444;
    QTest::newRow("another player's 644 file, shared folder") << Saver::Player << 02775 << 0644 << true << true << 0664;
    QTest::newRow("another player's 640 file, shared folder") << Saver::Player << 02775 << 0640 << true << true << 0660;
    QTest::newRow("another player's 600 file, shared folder") << Saver::Player << 02775 << 0600 << true << false << 0600;
    QTest::newRow("another player's file, sticky folder") << Saver::Player << 03775 << 0644 << true << false << 0644;
    QTest::newRow("another player's read-only file") << Saver::Player << 02775 << 0464 << true << false << 0464;
    QTest::newRow("root's new file, folder without setgid") << Saver::Root << 0775 << 0 << false << true << 0664;
    QTest::newRow("root's 644 file, shared folder") << Saver::Root << 02775 << 0644 << false << true << 0664;
    QTest::newRow("read-only file, root") << Saver::Root << 02775 << 0444 << false << false << 0444;
}

void ProfileTest::sharedFolderModes()
{
    QFETCH(Saver, saver);
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QFETCH(bool, othersFile);
    QFETCH(bool, written);
    QFETCH(int, modeAfter);
    if ((saver == Saver::Root || othersFile) && !OrdinaryUser::isRoot())
        QSKIP("skipped: needs root to play a second user");
    QTemporaryDir dir;
    QCOMPARE(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QString folder = dir.filePath("game");
    const QString path = folder + "/scores.ini";
    const QByteArray nativeFolder = QFile::encodeName(folder);
    const QByteArray native = QFile::encodeName(path);
    QVERIFY(QDir().mkdir(folder));
    if (saver == Saver::Player && !(folderMode & S_IWGRP))
        OrdinaryUser::give(folder); // the player's own
    else if (OrdinaryUser::isRoot())
        QCOMPARE(chown(nativeFolder.constData(), 0, OrdinaryUser::gid()), 0);
    QCOMPARE(chmod(nativeFolder.constData(), mode_t(folderMode)), 0);
    if (fileMode) {
        writeFileBytes(path, "[S]\r\nA=1\r\n");
        if (saver == Saver::Player && !othersFile)
            OrdinaryUser::give(path);
        QCOMPARE(chmod(native.constData(), mode_t(fileMode)), 0);
    }

    const auto save = [&] {
        const mode_t before = umask(022);
        CapturedMessages messages;
        ProfileFile(path, &messages).writeString("S", "A", "2");
        umask(before);
        return messages.messages.join(u'\n').toUtf8();
    };
    const std::optional<QByteArray> shown = saver == Saver::Root ? save() : OrdinaryUser::run(save);
    QVERIFY(shown);
    QCOMPARE(QString::fromUtf8(*shown), written ? QString() : "Unable to write to " + path);
    QCOMPARE(readFileBytes(path), written ? QByteArray("[S]\r\nA=2\r\n") : QByteArray("[S]\r\nA=1\r\n"));
    struct stat info {};
    struct stat folderInfo {};
    QCOMPARE(stat(native.constData(), &info), 0);
    QCOMPARE(stat(nativeFolder.constData(), &folderInfo), 0);
    QCOMPARE(int(info.st_mode & 07777), modeAfter);
    if (written && (info.st_mode & S_IWGRP))
        QCOMPARE(info.st_gid, folderInfo.st_gid);
}

void ProfileTest::sharedFolderMakesGroupFolders()
{
    // "GFX", made for a wallpaper with the usual umask, in a shared game
    // folder and in a plain one.
    QTemporaryDir dir;
    const QByteArray shared = QFile::encodeName(dir.filePath("shared"));
    const QByteArray plain = QFile::encodeName(dir.filePath("plain"));
    QCOMPARE(mkdir(shared.constData(), 0700), 0);
    QCOMPARE(mkdir(plain.constData(), 0700), 0);
    QCOMPARE(chmod(shared.constData(), 02775), 0);
    QCOMPARE(chmod(plain.constData(), 0755), 0);
    const mode_t before = umask(022);
    QVERIFY(SharedFolder::makeFolder(dir.filePath("shared/GFX")));
    QVERIFY(SharedFolder::makeFolder(dir.filePath("plain/GFX")));
    QVERIFY(SharedFolder::makeFolder(dir.filePath("plain/GFX"))); // there already
    umask(before);
    struct stat info {};
    QCOMPARE(stat(shared + "/GFX", &info), 0);
    QCOMPARE(int(info.st_mode & 07777), 02775);
    QCOMPARE(stat(plain + "/GFX", &info), 0);
    QCOMPARE(int(info.st_mode & 07777), 0755);
    QVERIFY(!SharedFolder::makeFolder(dir.filePath("missing/GFX")));
}

QTEST_GUILESS_MAIN(ProfileTest)
#include "tst_platform_profile.moc"
