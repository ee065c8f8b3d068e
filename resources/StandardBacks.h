#pragma once

#include <QImage>

// The six backs of the standard set, drawn pixel by pixel (30 x 60, 24 bits
// per pixel): 1 the monogram, 2 snowfall, 3 a labyrinth, 4 a flower, 5 and 6
// two strange pictures of interfering waves.
class StandardBacks
{
public:
    static constexpr int Count = 6;
    // Back 1 to Count; a null image for any other number.
    static QImage draw(int number);
};
