#!/usr/bin/env python3
"""Writes the large seeds of the saved fuzz corpus, so that the fuzzers start
from files of the sizes players bring and not only from small ones:

  corpus/language/big_pack.lng         a pack of about 150 KB
  corpus/profile/big_scores.ini        a family scores file of about 100 KB
  corpus/resourcelibrary/big_skin.dll  a skin of about 150 KB, with 16-bit,
                                       32-bit and 24-bit pictures

  tests/fuzz/big_seeds.py BUILD/kelvor-skin

The output is the same on every run (no time, no randomness)."""

import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def big_pack():
    german = open(os.path.join(CORPUS, "language", "deutsch.lng"), encoding="utf-8").read().splitlines()
    lines = ["; A large pack: every text many times over, long values, and sections",
             "; the game does not know."]
    lines += german
    for n in range(400):
        lines.append("[Extra%d]" % n)
        for key in ("Form1.NewGame.Hint", "Setup.caption", "ScoresForm.L1.Caption"):
            lines.append("%s=%s %d" % (key, "Lange Zeile mit Umlauten äöü " * 3, n))
    lines.append("[Application]")
    for line in german:
        if "=" in line and not line.startswith(";") and "." in line.split("=")[0]:
            lines.append(line + " (noch einmal)" * 8)
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def big_scores():
    lines = []
    for game in range(120):
        lines.append("[Game%d]" % game)
        lines += ["GamesWas=%d" % (game * 7), "GamesSucc=%d" % game, "GamesEnd=%d" % (game // 2)]
        for entry in range(1, 14):
            lines += ["%dName=Spieler %d-%d Jürgen" % (entry, game, entry),
                      "%dDomLeft=%d" % (entry, entry % 29), "%dTime=%d" % (entry, entry * 61)]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def dib(width, height, bits, pixel, header=40, masks=None, alpha_mask=0):
    """A bottom-up DIB; pixel(x, y) gives the stored value of a pixel."""
    compression = 3 if masks else 0
    out = struct.pack("<IiiHHIIiiII", header, width, height, 1, bits, compression, 0, 2835, 2835, 0, 0)
    if header > 40:
        out += struct.pack("<IIII", *(masks or (0, 0, 0)), alpha_mask)
        out += b"\0" * (header - len(out))
    elif masks:
        out += struct.pack("<III", *masks)
    for row in range(height):
        y = height - 1 - row
        line = b"".join(pixel(x, y).to_bytes(bits // 8, "little") for x in range(width))
        out += line + b"\0" * (-len(line) % 4)
    return out


def bmp(data):
    header = struct.unpack_from("<I", data)[0]
    masks = 12 if header == 40 and struct.unpack_from("<I", data, 16)[0] == 3 else 0
    return b"BM" + struct.pack("<IHHI", 14 + len(data), 0, 0, 14 + header + masks) + data


def big_skin(tool):
    with tempfile.TemporaryDirectory() as folder:
        for a in range(7):
            for b in range(a, 7):
                # 16 bits, 5-6-5.
                write(os.path.join(folder, "%d%dbmp.bmp" % (a, b)),
                      bmp(dib(30, 60, 16, lambda x, y: (x * 2 + a) % 32 << 11 | (y + b) % 64 << 5 | (x + y) % 32,
                              masks=(0xF800, 0x07E0, 0x001F))))
        # 32 bits in a V5 header whose fourth bytes are 0, and 24 bits.
        write(os.path.join(folder, "back001.bmp"),
              bmp(dib(30, 60, 32, lambda x, y: x * 8 << 16 | y * 4 << 8 | 128, header=124,
                      masks=(0xFF0000, 0xFF00, 0xFF), alpha_mask=0xFF000000)))
        write(os.path.join(folder, "back002.bmp"), bmp(dib(30, 60, 24, lambda x, y: x << 16 | y << 8 | x ^ y)))
        # A larger picture beside the tiles, of the kind a skin may carry.
        write(os.path.join(folder, "extra.bmp"), bmp(dib(120, 100, 24, lambda x, y: (x * y) & 0xFFFFFF)))
        with open(os.path.join(folder, "skin.txt"), "w", encoding="utf-8") as f:
            f.write("author: The fuzzers' big skin\ndescription: Large on purpose\n"
                    "back 1: Thirty-two bits\nback 2: Twenty-four bits\n")
            for n in range(1, 41):
                f.write("record %d first: key %d\nrecord %d second: %s\n" % (n, n, n, "value " * 30))
        out = os.path.join(CORPUS, "resourcelibrary", "big_skin.dll")
        subprocess.run([tool, "build", folder, "-o", out], check=True)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: big_seeds.py BUILD/kelvor-skin")
    write(os.path.join(CORPUS, "language", "big_pack.lng"), big_pack())
    write(os.path.join(CORPUS, "profile", "big_scores.ini"), big_scores())
    big_skin(sys.argv[1])
    for name in ("language/big_pack.lng", "profile/big_scores.ini", "resourcelibrary/big_skin.dll"):
        print(name, os.path.getsize(os.path.join(CORPUS, name)), "bytes")


if __name__ == "__main__":
    main()
