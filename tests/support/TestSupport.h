#pragma once

#include "platform/MessageSink.h"

#include <QByteArray>
#include <QStringList>
#include <functional>

// Collects the error messages that the game would show in a message box,
// and runs `whileShown` (when set) as each would be on the screen.
class CapturedMessages : public MessageSink
{
public:
    void showError(const QString &text) override
    {
        messages.append(text);
        if (whileShown)
            whileShown();
    }
    QStringList messages;
    std::function<void()> whileShown;
};

// A file's bytes, empty when it cannot be read.
QByteArray readFileBytes(const QString &path);
// Writes the bytes as the whole file; fails the test when it cannot.
void writeFileBytes(const QString &path, const QByteArray &bytes);
// Copies the language packs and help files that ship with the game (LNG)
// into the program folder's LNG.
void copyShippedLng(const QString &programFolder);
// Runs `write` with files limited to `bytes` bytes, as a full disk would
// limit them (the limit holds for root too), and returns what it returned.
bool writeWithFileSizeLimit(unsigned long bytes, const std::function<bool()> &write);
// The "Kelvor" section of scores.ini as a first write creates it: the given
// games played, no successful or won games, and the 13 default entries.
QByteArray defaultScoresSection(int gamesWas);
// The file header, information header and colour table of a bitmap file
// of the given size, bits a pixel and compression (0 none, 1 RLE8), its
// pixels right after them.
QByteArray bitmapFileHead(int width, int height, int bits, quint32 compression, const QList<quint32> &table = {});
