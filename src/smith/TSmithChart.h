#pragma once

#include "platform/Canvas.h"

#include <QElapsedTimer>
#include <QImage>
#include <QStringList>
#include <QTimer>

#include <vector>

class QWidget;

// One plotted point: where it sits relative to the chart centre (OffsetY positive upwards)
// and the whole-number values it came from.
struct TSmithPoint
{
    int Freq = 0;
    int OffsetX = 0;
    int OffsetY = 0;
    int R = 0;
    int X = 0;
    // False when the load has no place on the chart against the Z0 it was added with (a Z0
    // of zero or less, or R + jX = -Z0); such a point keeps its values for a later re-plot
    // but is neither drawn nor found by the cursor.
    bool Plotted = false;
};

// The offsets of R + jX against Z0 on a chart of the given radius. False, leaving the
// offsets alone, when the load cannot be placed: Z0 <= 0 (there is no chart for it and
// R = X = 0 would divide zero by zero), a load equal to -Z0, or an offset that does not fit
// a pixel coordinate.
bool SmithOffsets(int R, int X, int Z0, int Radius, int &OffsetX, int &OffsetY);

// The system's button face, which surrounds the chart.
TColor ButtonFaceColor();

// The Smith chart: a grid layer, a cursor label layer and a point layer, composed into a
// picture that the host's paint box shows. The centre and radius are fixed at creation;
// resizing only changes how much of the picture there is.
class TSmithChart
{
public:
    // PaintBox is the widget that shows Buffer (a link; may be null). It is asked to repaint
    // after each composition that did not come from its own paint event.
    TSmithChart(int ACentreX, int ACentreY, int ARadius, QWidget *APaintBox);
    virtual ~TSmithChart();
    TSmithChart(const TSmithChart &) = delete;
    TSmithChart &operator=(const TSmithChart &) = delete;

    // The chart's background inside the outer circle: the graph's background colour.
    TColor GraphBackColor = 0xC0F9FA;

    // Every layer takes the new size; the grid and the label are drawn anew, the point layer
    // keeps its picture (white where it grew).
    void Resize(int Width, int Height);
    // Grid, then label and points laid over it with a bitwise AND (white is transparent),
    // into Buffer; then the paint box is asked to repaint unless the request came from it.
    void Compose(bool FromPaint = false);
    void FillBackground();
    void DrawGrid();
    void ClearLabelLayer();
    void ClearPointLayer();
    void DrawPoints();
    void ClearPoints();
    // Appends the point, moves the label to it and, when Redraw is set, draws the points.
    void AddPoint(bool Redraw, int Freq, int R, int X, int Z0);
    // A point of a running sweep: appended and made the label's at once, drawn with the
    // next frame, within a tenth of a second; the label follows at most every other frame.
    // A line arrives every few tens of milliseconds; drawing the label and composing for
    // each cost more than everything else a sweep does.
    void AddLivePoint(int Freq, int R, int X, int Z0);
    // Draws and composes what waits for a frame, the label included, at once.
    void DrawPending();
    bool FramePending() const { return FFrameTimer.isActive(); }
    // The first of the plotted points nearest to Freq, if it lies within 49 kHz.
    bool FindPoint(int Freq, int &PX, int &PY, int &R, int &X) const;
    void ShowCursor(int Freq);
    // Lines := one "F R X " line, ended by a carriage return, per point.
    void SaveLines();
    // Adds a point for each line whose first three fields read, then draws and composes.
    void ReplotLines(const QStringList &ALines, int Z0);
    // ReplotLines of the saved lines against ChImp.
    void ReplotStored();
    // The reply lines of the sweeps kept for comparison, drawn with the grid (under the
    // points) as hollow grey points against ChImp at each DrawGrid; nothing is redrawn here.
    void SetReferenceLines(const std::vector<QStringList> &References);

    const QImage &GridLayer() const { return FGridLayer; }
    const QImage &LabelLayer() const { return FLabelLayer; }
    const QImage &PointLayer() const { return FPointLayer; }
    const QImage &Buffer() const { return FBuffer; }
    const QStringList &Lines() const { return FLines; }
    const std::vector<TSmithPoint> &Points() const { return FPoints; }
    int CentreX() const { return FCentreX; }
    int CentreY() const { return FCentreY; }
    int Radius() const { return FRadius; }
    int CursorFreq() const { return FCursorFreq; }
    // The size the layers are drawn for.
    QSize Size() const { return FGridLayer.size(); }
    bool TimerActive() const { return FTimer.isActive(); }
    // What the timer does when it fires.
    void TimerElapsed();

private:
    void AppendPoint(int Freq, int R, int X, int Z0);
    // The label of ShowCursor without the composition.
    void DrawLabel(int Freq);
    // Width: the text's advance, as measured for its place.
    void LabelText(int X, int Y, TColor Colour, const QString &Text, int Width);
    // Draws the points the layer does not show yet, or all on a cleared layer when it shows
    // something else (answering false then); adds the area of each point drawn to Areas.
    bool DrawNewPoints(std::vector<QRect> *Areas);
    // Compose within the areas only, for a picture that was whole before they changed; the
    // paint box repaints those areas or, without RepaintAreas, all of itself.
    void ComposeAreas(const std::vector<QRect> &Areas, bool RepaintAreas = false);
    // What the frame timer does; Whole draws the label even before it is due.
    void DrawFrame(bool Whole);
    void Circle(double X, double Y, double R);
    void DrawReferencePoints();

    QImage FGridLayer;
    QImage FLabelLayer;
    QImage FPointLayer;
    QImage FBuffer;
    TCanvas FGrid { &FGridLayer };
    TCanvas FLabel { &FLabelLayer };
    TCanvas FPointCanvas { &FPointLayer };
    QWidget *FPaintBox;
    QStringList FLines;
    std::vector<TSmithPoint> FPoints;
    std::vector<QStringList> FReferenceLines;
    int FCentreX;
    int FCentreY;
    int FRadius;
    QTimer FTimer;
    QTimer FFrameTimer;
    int FCursorFreq = 0;
    // The label is to move to CursorFreq with a coming frame.
    bool FLabelPending = false;
    // Since the label was last drawn.
    QElapsedTimer FLabelMoved;
    // How many leading points the point layer shows, and nothing else; -1 when it shows
    // something else (points since forgotten, a picture from before a resize). A new point
    // is then drawn alone over the kept layer: the points are alike, so the order they are
    // drawn in does not change the picture.
    int FDrawnCount = 0;
    // Where the label layer may differ from white.
    std::vector<QRect> FLabelAreas;
    // Buffer is the composition of the layers as they are now.
    bool FBufferCurrent = false;
};
