#pragma once

#include "ProfileDocument.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// What a shared profile file (the settings or the scores file) held when this
// run last read or wrote it: its sections, their keys with the values as
// written, and whether the file ended with a line break.
//
// The family's Windows games (and Wine) rewrite such a file in place: they
// empty it and write it again, without a lock. A read that falls between the
// two sees an empty file or the first part of the new one. Nothing the family
// writes ever takes a section or a key away, and its files end with a line
// break, so a read that lacks a section or a key this run saw, or whose last
// line has lost its line break, looks torn: the reader reads again. When it
// still looks torn, mend() puts back what the snapshot holds, so that a save
// built on it never drops the rest of the file; at worst the other game's
// last change is lost, as a later write of theirs would lose ours.
class ProfileSnapshot
{
public:
    // Whether the bytes of an existing file (and the document read from
    // them) look like a file caught in the middle of being rewritten: empty
    // (unless it was empty at the last look too), without the final line break that the last one had, or without a
    // section or key seen before. The same bytes as at the last look are
    // whole, found at the cost of comparing them.
    bool looksTorn(const QByteArray &bytes, const ProfileDocument &document) const;

    // The document of the bytes with a cut-off last line dropped (when the
    // last one seen ended with a line break) and every section and key of the
    // snapshot that it lacks put back with the value seen.
    ProfileDocument mend(QByteArray bytes) const;

    // Takes the file as now read or saved.
    void remember(const ProfileDocument &document);

    // The document last taken, when `bytes` are the file's bytes it gave:
    // a file that has not changed since is not read again.
    const ProfileDocument *documentOf(const QByteArray &bytes) const
    {
        return m_known && bytes == m_bytes ? &m_document : nullptr;
    }

private:
    static bool endsWithLineBreak(const QByteArray &bytes);
    // Whether the document lacks a section or a key of the snapshot.
    bool lacksSomething(const ProfileDocument &document) const;
    const std::vector<ProfileDocument::KeyedSection> &sections() const;

    // The file's bytes at the last look; its sections and keys are made from
    // them only when a file that differs is to be checked.
    QByteArray m_bytes;
    ProfileDocument m_document;
    bool m_known = false;
    mutable std::optional<std::vector<ProfileDocument::KeyedSection>> m_sections;
    bool m_endsWithLineBreak = false;
    // The file was empty (or missing) at the last look: an empty one now is
    // no news.
    bool m_empty = false;
};
