// Fuzzes the profile-file layer with any bytes as a file: load, read every
// key of every section, write a few keys, save, load again, and check what
// must survive. The first bytes choose the values written, so names of every
// script and both encodings are tried.

#include "FuzzLength.h"
#include "platform/ProfileDocument.h"
#include "platform/ProfileFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstdio>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

struct Snapshot
{
    QStringList sections;
    std::vector<QStringList> keys;
    std::vector<QStringList> values;
};

Snapshot snapshot(const ProfileDocument &document)
{
    Snapshot s;
    s.sections = document.sectionNames();
    for (const QString &section : s.sections) {
        s.keys.push_back(document.readSectionKeys(section));
        QStringList values;
        for (const QString &key : s.keys.back())
            values << document.readString(section, key, QStringLiteral("(none)"));
        s.values.push_back(values);
        document.readSection(section);
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzUpTo(argc, argv, ProfileFile::MaxFileSize);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ProfileDocument document = ProfileDocument::fromBytes(bytes);

    // What is not written keeps its exact bytes.
    require(document.toBytes() == bytes, "an untouched file changed");
    const Snapshot before = snapshot(document);

    // The value written: a slice of the input, bracketed so that trimming and
    // quotes do not apply; line breaks would split the line, so none.
    QString value = QString::fromUtf8(bytes.left(24));
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    value = u'<' + value + u'>';
    const QString written[][3] = {
        {QStringLiteral("Kelvor"), QStringLiteral("1Name"), value},
        {QStringLiteral("Tolvane..."), QStringLiteral("GamesWas"), QStringLiteral("7")},
        {QStringLiteral("Kelvor"), QStringLiteral("2Name"), QStringLiteral("J\u00F6rg \u0416")},
    };
    for (const auto &w : written)
        document.writeString(w[0], w[1], w[2]);
    const QByteArray saved = document.toBytes();
    const ProfileDocument again = ProfileDocument::fromBytes(saved);
    require(again.toBytes() == saved, "a saved file changed on reload");

    for (const auto &w : written)
        require(again.readString(w[0], w[1], QString()) == w[2].left(ProfileDocument::ValueLimit),
                "a written value reads back otherwise");

    // Every other key reads as before.
    for (qsizetype i = 0; i < before.sections.size(); ++i) {
        const QString &section = before.sections[i];
        for (qsizetype k = 0; k < before.keys[i].size(); ++k) {
            const QString &key = before.keys[i][k];
            bool isWritten = false;
            for (const auto &w : written)
                isWritten |= section.compare(w[0], Qt::CaseInsensitive) == 0
                             && key.compare(w[1], Qt::CaseInsensitive) == 0;
            if (!isWritten)
                require(again.readString(section, key, QStringLiteral("(none)")) == before.values[i][k],
                        "a key not written reads otherwise");
        }
    }
    snapshot(again);
    return 0;
}
