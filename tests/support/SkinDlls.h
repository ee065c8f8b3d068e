#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// Fixtures for the skin library tests: BMP files in every kind a skin
// author's tools write, and real resource DLLs built from them by the
// mingw resource compiler and linker.
namespace SkinDlls {

// One way of storing a bitmap.
struct BmpKind
{
    const char *name;
    int headerSize;   // 12 core, 40 info, 108 V4, 124 V5
    int bits;
    int compression;  // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields
    int colorsUsed;   // the table's length as the header states it (0: full)
    bool topDown;
};

// Every kind: 1, 4, 8, 16, 24, 32 bits, short tables, RLE, bit fields,
// core, V4 and V5 headers, top-down.
const QList<BmpKind> &bmpKinds();

// A 30 x 60 pattern of horizontal runs in `colours` colours (2 or 5) whose
// channels are all 0 or 255, so every depth stores it exactly.
QImage pattern(int colours);
// The pattern of a kind as the bytes of a .bmp file.
QByteArray bmpFile(const BmpKind &kind);

// The mingw target prefixes: "i686" builds PE32, "x86_64" PE32+.
inline const QStringList architectures = {"i686", "x86_64"};

// Builds a resource-only DLL from the script `rc` in `folder` (pictures
// named in it are relative to the folder) with windres and ld; returns the
// DLL's bytes, empty (and a warning) when a tool fails.
QByteArray buildDll(const QString &folder, const QString &rc, const QString &architecture);

} // namespace SkinDlls
