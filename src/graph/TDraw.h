#pragma once

#include "platform/Canvas.h"
#include "platform/Color.h"

#include <cstdint>
#include <string>
#include <vector>

class QImage;

// A pen description: colour, style (TPenStyle) and width in pixels.
class TPropertyLine
{
public:
    TPropertyLine() = default;
    TPropertyLine(TColor AColor, std::uint8_t AStyle, std::uint16_t AWidth)
        : Color(AColor)
        , Style(AStyle)
        , Width(AWidth)
    {
    }

    TColor Color = clBlack;
    std::uint8_t Style = psSolid;
    std::uint16_t Width = 1;
};

// A + B for pixel coordinates; a sum outside the 32-bit range raises EFloatError, as the
// rounding before it does for a value outside that range.
int AddPixels(long long A, long long B);

// One segment of a curve as LineToPoint recorded it, so that the same curve can be drawn
// again without mapping its points anew. Its pen number is the tag of the object that
// recorded it.
using TCurveSegment = TCanvasSegment;

// A text description: the colour of captions and labels.
class TPropertyTXT
{
public:
    TColor Color = clBlack;
};

// Base of everything that draws on a graph layer: the axes, the cursors and the sweep
// controller. It fixes where the plot sits inside the layer and offers the few primitives
// the graph is drawn with.
class TDraw
{
public:
    explicit TDraw(TCanvas *ACanvas);
    virtual ~TDraw() = default;
    TDraw(const TDraw &) = delete;
    TDraw &operator=(const TDraw &) = delete;

    // The canvas of the layer this object draws on (a link; may be null).
    TCanvas *Canvas;
    bool Visible = true;
    // Axis line, ticks, curve or cursor line.
    TPropertyLine Line;
    // Full-width grid lines.
    TPropertyLine GridLine { clSilver, psDot, 1 };
    // Captions and labels.
    TPropertyTXT Text;
    // The previous point of the curve being drawn; LastY 0 means there is none.
    int LastY = 0;
    int LastX = 0;
    // While set, every segment LineToPoint would draw is appended here instead, tagged
    // RecordTag, for the owner of the list to draw: a curve's segments go to the layer in one
    // run.
    std::vector<TCurveSegment> *Recording = nullptr;
    int RecordTag = 0;

    // The layer this object draws on, null without a canvas.
    QImage *Bitmap() const;

    // Visibility as the display mode overrides it for some axes.
    bool IsVisible() const;

    // How the display mode overrides Visible. Each axis class states its group once in its
    // constructor: the curves ask for every point, which a type test per call made costly.
    enum class TModeGroup : std::uint8_t
    {
        // Visible decides alone: the frame, the frequency axis, the cursors.
        None,
        // Hidden when measuring cable loss; shown whatever Visible says when measuring cable
        // length: phase and impedance.
        ImpedanceKeptForLength,
        // Hidden when measuring cable loss or length: SWR, return loss, reactance.
        ImpedanceOnly,
        // Hidden when measuring impedance or cable length: cable loss.
        CableLossOnly
    };

    // Line with Pen's style, colour and width; the canvas keeps its pen mode.
    void DrawLine(int X1, int Y1, int X2, int Y2, const TPropertyLine &Pen);
    // A small filled circle of radius R centred one pixel right of X, drawn with a solid
    // 2-pixel pen of Pen's colour and the canvas's brush.
    void DrawCircle(int X, int Y, int R, const TPropertyLine &Pen);
    // Bold text of Txt's colour with its top left corner at (X, Y).
    void DrawText(int X, int Y, const std::string &S, const TPropertyTXT &Txt);

    void ResetPath();
    // Continues the curve to (X, Y) with Line; a point outside the plot's rows breaks it, and
    // a segment is cut off at the plot's left and right edges.
    void LineToPoint(int X, int Y);

    // Layout of the plot inside the layer, from the layer's current size.
    int PlotLeft() const { return 35; }
    int PlotTop() const { return 50; }
    int PlotWidth() const { return LayerWidth() - 95; }
    int PlotHeight() const { return LayerHeight() - 100; }
    int PlotRight() const { return PlotWidth() + 35; }
    int PlotBottom() const { return LayerHeight() - 50; }

protected:
    int LayerWidth() const { return Canvas ? Canvas->Width() : 0; }
    int LayerHeight() const { return Canvas ? Canvas->Height() : 0; }

    TModeGroup ModeGroup = TModeGroup::None;
};
