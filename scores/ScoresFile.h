#pragma once

#include "ScoresRecord.h"
#include "platform/ProfileFile.h"

#include <QString>

class MessageSink;

// The scores file, "scores.ini" beside the program, shared by every game of
// the family. Section "Kelvor" holds this game's counters and best list
// (keys 1Name, 1DomLeft, 1Time up to 13Name, 13DomLeft, 13Time); section
// "Tolvane..." holds the counters of the whole family. Other games' sections
// and keys are left as they are.
//
// The file is shared: other copies of this game and the family's other games
// may write it while this one runs. So a write never puts back this run's
// whole view: it reads the file as it is now and applies this run's changes
// to it, as ProfileFile::update() does. The changes are what the
// record gained since the file was last read or written here: counters are
// raised by what this run counted, and new best entries are merged into the
// list the file holds now. A read that catches the file while one of the
// family's games rewrites it in place is read again, and never makes a write
// drop the sections, counters or best entries this run saw (ProfileFile).
class ScoresFile
{
public:
    ScoresFile(QString path, MessageSink *sink);

    // Replaces the whole record by the file's contents; missing file, sections
    // and keys give the defaults (counters 0, "Somebody", 24 dominoes left,
    // 999 seconds). Names are cut to 18 characters. A number that is not a
    // whole 32-bit decimal number gives its key's default and the message
    // "'<text>' is not a valid integer value", shown for the first such value
    // only, and not again until a write or a read without a bad value has
    // shown the file repaired (WholeNumberReader); the rest of the
    // file is read all the same, and false is returned. After a write that
    // failed, the record's changes that it could not save are kept on top
    // of what the file holds, for the next write.
    bool read(ScoresRecord &record) const;

    // Writes this run's changes into the file as it is now: each counter is
    // the file's plus what the record counted since the last read or write;
    // the best list is the file's with the record's new entries merged in,
    // sorted as sortBestPlayers() does and cut to 13. Every key is written,
    // family counters first, then this game's counters, then the 13 entries,
    // in one atomic save. On failure the message "Unable to write to <path>"
    // is shown, the file stays as it was and false is returned.
    bool write(const ScoresRecord &record);
    // The same, and the record becomes what was saved, so that it shows what
    // the other games counted as well.
    bool write(ScoresRecord &record);

private:
    ScoresRecord merged(const ScoresRecord &record, const ScoresRecord &now) const;

    ProfileFile m_file;
    MessageSink *m_sink;
    // The bad value last reported, so that it is not reported again before
    // a write has repaired it.
    mutable QString m_lastReported;
    // The file as this run last read or wrote it: what the record's changes
    // are counted from.
    mutable ScoresRecord m_base;
    // A write failed: the record holds changes that the file lacks.
    bool m_unsaved = false;
};

// Orders the 13 entries by dominoes left, then by time, both ascending; equal
// entries keep their order.
void sortBestPlayers(ScoresRecord &record);

// Whether a finished game's result beats entry 12 and so enters the list.
bool qualifies(const ScoresRecord &record, int dominoesLeft, int seconds);

