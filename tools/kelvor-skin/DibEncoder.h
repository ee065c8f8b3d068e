#pragma once

#include <QByteArray>
#include <QImage>

// Turns a picture into the DIB that a bitmap resource holds: a 40-byte info
// header, bottom-up rows padded to whole 32-bit words, 24 bits per pixel, or
// 1 bit with a two-entry colour table for a picture of at most two colours.
class DibEncoder
{
public:
    enum class Depth { TrueColour, TwoColoursIfPossible };
    static QByteArray encode(const QImage &picture, Depth depth);
};
