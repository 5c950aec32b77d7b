#pragma once

#include "platform/Color.h"

#include <QFont>
#include <QImage>
#include <QPen>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

// Pen styles as the INI file and the drawing code number them.
enum TPenStyle : int
{
    psSolid = 0,
    psDash = 1,
    psDot = 2,
    psDashDot = 3,
    psDashDotDot = 4
};

// How a pen (and the brush inside a shape) meets what is already on the layer. NotXor shows
// the pen colour exactly on white and restores white when drawn twice.
enum class TPenMode
{
    Copy,
    NotXor
};

// Raster operations of a rectangle copy between layers.
enum class TCopyMode
{
    Source,
    SourceAnd
};

// The pen a line of Color, Style and Width is drawn with. Dotted and dashed styles apply only
// to 1-pixel pens; a wider pen is solid whatever its style. A 1-pixel line leaves out its end
// point, so a polyline drawn segment by segment touches every pixel once.
QPen MakeCanvasPen(TColor Color, int Style, int Width);

// A shape given by its bounding box with exclusive right and bottom edges, as the outline
// rectangle QPainter expects (QPainter's outline includes the right and bottom edge).
QRect ShapeOutlineRect(int Left, int Top, int Right, int Bottom);
// The same box as the area a fill covers.
QRect ShapeFillRect(int Left, int Top, int Right, int Bottom);

// The face of every graph text: the default sans-serif face at the height the graph's
// margins leave room for.
QFont CanvasFont(bool Bold, int PixelSize = 11);

// Fills the 4-connected region around (X, Y) whose pixels are not Border with Fill; the
// region ends only at Border pixels and runs on through pixels that already have the fill
// colour. Nothing happens when the seed lies outside the image or on the border colour.
void FloodFillToBorder(QImage &Image, int X, int Y, TColor Border, TColor Fill);

// Dest := Source AND Mask, pixel by pixel: the picture that copying Source onto Dest and then
// Mask onto it with TCopyMode::SourceAnd gives, in one pass and without the painter's
// per-pixel raster-operation path. Answers false, changing nothing, unless all three are
// RGB32 images of one size (Dest may not be Source or Mask).
bool ComposeAnd(QImage &Dest, const QImage &Source, const QImage &Mask);

// A pen by its parts, and a line from (X1, Y1) to (X2, Y2) drawn with the pen numbered Pen,
// for lines drawn in one run.
struct TCanvasPen
{
    TColor Color;
    int Style;
    int Width;
};
struct TCanvasSegment
{
    int Pen;
    int X1;
    int Y1;
    int X2;
    int Y2;
};

// The drawing state of one layer, shared by every object that draws on it, with the
// operations the graph and the Smith chart draw with. The image is a link; a missing or empty
// image makes every operation a no-op, so nothing is drawn before the layers have a size.
class TCanvas
{
public:
    explicit TCanvas(QImage *AImage = nullptr)
        : Image(AImage)
    {
    }

    QImage *Image;

    // Pen.
    TColor PenColor = clBlack;
    int PenStyle = psSolid;
    int PenWidth = 1;
    TPenMode PenMode = TPenMode::Copy;
    // Brush: fills shapes and rectangles, and the background of texts when solid.
    TColor BrushColor = clWhite;
    bool BrushSolid = true;
    // Font.
    TColor FontColor = clBlack;
    bool FontBold = false;
    int FontPixelSize = 11;

    // Inline: the curves ask for the layer's size at every point.
    int Width() const { return Image ? Image->width() : 0; }
    int Height() const { return Image ? Image->height() : 0; }
    bool HasImage() const { return Image && !Image->isNull(); }

    void SetPen(TColor Color, int Style, int Width);

    // Current position and a line from it; the end point is not drawn by a 1-pixel pen.
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    // Each line in order as SetPen with Pens[Pen], MoveTo and LineTo draw it; the pen and
    // the position are left as the last line leaves them. A curve is thousands of short
    // lines: the layer is looked up once for all of them.
    void DrawLines(const std::vector<TCanvasSegment> &Lines, const TCanvasPen *Pens);
    int PenX() const { return FPenX; }
    int PenY() const { return FPenY; }

    // Ellipse inside the box (exclusive right and bottom), outlined with the pen, filled with
    // the brush.
    void Ellipse(int Left, int Top, int Right, int Bottom);
    // Rectangle filled with the brush colour (exclusive right and bottom), ignoring the pen.
    void FillRect(int Left, int Top, int Right, int Bottom);
    // The whole image with the brush colour.
    void FillAll();

    // Text with its top left corner at (X, Y); the background of the text box takes the
    // brush colour when the brush is solid.
    void TextOut(int X, int Y, const QString &Text);
    int TextWidth(const QString &Text) const;
    int TextHeight(const QString &Text) const;

    // Flood fill with the brush colour, bounded by Border.
    void FloodFill(int X, int Y, TColor Border);

    // Copies SourceRect of Source onto DestRect of this canvas, stretching when the sizes
    // differ. Rectangles have exclusive right and bottom edges as QRect(x, y, w, h) gives
    // them; an empty or inverted destination copies nothing.
    void CopyRect(
        const QRect &DestRect, const QImage &Source, const QRect &SourceRect, TCopyMode Mode);

private:
    // Sets up a painter for one operation; false when there is nothing to paint on.
    bool Begin(QPainter &Painter) const;
    // The line LineTo draws when it cannot stamp it.
    void PaintLine(int X, int Y);
    const QFont &Font() const;

    int FPenX = 0;
    int FPenY = 0;
    // The face Font() made last and what it was made for.
    mutable std::optional<QFont> FFont;
    mutable bool FFontBold = false;
    mutable int FFontPixelSize = 0;
};
