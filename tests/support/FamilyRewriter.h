#pragma once

#include "TestSupport.h"
#include "platform/ProfileDocument.h"
#include "platform/ProfileFile.h"

#include <QtTest>

#include <functional>

// One of the family's Windows games (or Wine) saving a profile file as they
// do: it takes the file as it is, makes its change, empties the file and
// writes it again in place, without a lock. rewrite() stops after part of
// the new file is written, so that the game's reads land in the torn file.
// The game's pauses before reading again are this writer's moment: when it
// `finishes`, the first pause writes the rest; when it stalls, the file stays
// torn, and whatever it writes later goes to the file that the game's
// atomic save has by then replaced.
class FamilyRewriter
{
public:
    enum class Cut {
        Empty,      // emptied, nothing written yet
        InLine,     // stopped in the middle of the line holding `at`
        BeforeLine, // stopped right before the line holding `at`
    };

    FamilyRewriter(QString path, bool finishes) : m_path(std::move(path)), m_finishes(finishes)
    {
        m_previousWait = ProfileFile::setTornReadWait([this](int) {
            ++pauses;
            if (m_finishes && !m_whole.isEmpty())
                writeFileBytes(m_path, std::exchange(m_whole, QByteArray()));
        });
    }
    ~FamilyRewriter() { ProfileFile::setTornReadWait(m_previousWait); }
    FamilyRewriter(const FamilyRewriter &) = delete;
    FamilyRewriter &operator=(const FamilyRewriter &) = delete;

    // Starts a save of the file with the change made to it, and leaves the
    // file cut as asked.
    void rewrite(const std::function<void(ProfileDocument &)> &change, Cut cut, const QByteArray &at = {})
    {
        ProfileDocument document = ProfileDocument::fromBytes(readFileBytes(m_path));
        change(document);
        m_whole = document.toBytes();
        qsizetype length = 0;
        if (cut != Cut::Empty) {
            const qsizetype line = m_whole.indexOf(at);
            QVERIFY2(line > 0, at.constData());
            length = cut == Cut::InLine ? line + at.size() / 2 : line;
        }
        writeFileBytes(m_path, m_whole.left(length));
    }

    int pauses = 0;

private:
    QString m_path;
    bool m_finishes;
    QByteArray m_whole;
    ProfileFile::Wait m_previousWait;
};
