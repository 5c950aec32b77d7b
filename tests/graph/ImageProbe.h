#pragma once

#include "platform/QtColor.h"

#include <QImage>

// Pixel reading for the picture tests, in the program's own colour values.
inline TColor At(const QImage &Image, int X, int Y)
{
    return FromQColor(QColor(Image.pixel(X, Y)));
}

inline int CountColor(const QImage &Image, TColor Color)
{
    int N = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X)
            N += At(Image, X, Y) == Color;
    return N;
}
