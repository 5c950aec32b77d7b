#pragma once

#include "platform/Color.h"

class QImage;

// Draws a line of a pen wider than one pixel in copy mode, as the canvas's painter would, but
// without stroking it anew. A curve of a few thousand points is drawn as that many separate
// segments with round caps, and stroking each one is what made a full redraw slow. The
// rasterised shape of a segment depends only on its direction vector and the pen (an integer
// shift moves every pixel by the same amount), so the shape is rasterised once by QPainter
// with MakeCanvasPen into a small scratch image, kept as pixel spans, and stamped in the pen
// colour at every later segment with the same vector, clipped to the image.
//
// Returns false, drawing nothing, when the line is not of that kind (a 1-pixel pen, an image
// that is not RGB32, a vector too long to be worth keeping); the caller then draws it with
// QPainter.
bool StampLine(QImage &Image, int X1, int Y1, int X2, int Y2, TColor Color, int Style, int Width);

// StampLine for a run of lines into one image, which looks the image's format, size and rows
// up once instead of at every line. Nothing else may resize, copy or paint the image while
// the stamper lives.
class TLineStamper
{
public:
    explicit TLineStamper(QImage &Image);
    // StampLine(Image, ...) for the stamper's image.
    bool Stamp(int X1, int Y1, int X2, int Y2, TColor Color, int Style, int Width);

private:
    QImage &FImage;
    bool FStampable;
    int FWidth;
    int FHeight;
    // The rows, found at the first line stamped.
    unsigned char *FBits = nullptr;
    long long FStride = 0;
};

// How many shapes are kept: enough for every direction a few curves take. A shape beyond
// them starts the store over.
constexpr int kKeptLineStamps = 8192;

// Forgets every kept shape.
void ClearLineStamps();
