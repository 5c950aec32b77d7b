#pragma once

#include "graph/TCursors.h"
#include "graph/TOsaX.h"
#include "graph/TOsaY.h"
#include "platform/Canvas.h"

#include <QImage>

#include <functional>
#include <memory>
#include <vector>

class QWidget;
class TMereni;

// The model behind the graph frame: the four layers, every axis, the raster, the cursors,
// the marked bands and the sweep controller. It draws everything in a fixed order into the
// layers and composes them into the picture the frame shows.
class TAnGraph
{
public:
    // PaintBox is the widget that shows Composite (a link; may be null). It is asked to
    // repaint after each composition that did not come from its own paint event.
    // CreateReadout makes the cursors' readout rows; empty, the cursors have none.
    TAnGraph(QWidget *APaintBox, double MinFreq, double MaxFreq,
        const TReadoutFactory &CreateReadout = {});
    ~TAnGraph();
    TAnGraph(const TAnGraph &) = delete;
    TAnGraph &operator=(const TAnGraph &) = delete;

    // Axes, grid lines, captions, labels and curves.
    QImage MainLayer;
    // Filled with the band shading colour at each Present.
    QImage ShadeLayer;
    // The cursors and their horizontal lines on white; white leaves the picture unchanged.
    QImage CursorLayer;
    // The composed picture.
    QImage Composite;
    TCanvas MainCanvas { &MainLayer };
    TCanvas ShadeCanvas { &ShadeLayer };
    TCanvas CursorCanvas { &CursorLayer };
    TCanvas CompositeCanvas { &Composite };
    QWidget *PaintBox = nullptr;

    std::unique_ptr<TOsaX> OsaX;
    std::unique_ptr<TOsaY> OsaY;
    std::unique_ptr<TOsaRL> OsaRL;
    std::unique_ptr<TOsaT> OsaT;
    std::unique_ptr<TOsaPSV> OsaPSV;
    std::unique_ptr<TOsaPHASE> OsaPhase;
    std::unique_ptr<TOsaOHM> OsaZ;
    std::unique_ptr<TOsaOHM> OsaR;
    std::unique_ptr<TOsaXX> OsaXX;
    std::unique_ptr<TOsaFRQ> OsaFRQ;
    std::unique_ptr<TOzn> Markers;
    bool ShowCursors = true;
    // While set, DrawAll draws nothing: a window bringing itself up changes the range, the
    // layout and the flags many times before its first picture, which one Refresh draws.
    bool HoldDrawing = false;
    // Told after each DrawAll that drew the whole picture; may be empty.
    std::function<void()> OnDrawn;
    std::unique_ptr<TRastrFr> Raster;
    std::unique_ptr<TFrekvence> Cursor1;
    std::unique_ptr<TFrekvence> Cursor2;
    std::unique_ptr<TOsaHorizont> Horizontal1;
    std::unique_ptr<TOsaHorizont> Horizontal2;
    std::unique_ptr<TFrekvence> CursorMin;
    std::unique_ptr<TMereni> Mereni;
    std::unique_ptr<TCursors> Cursors;
    // The background of the plot.
    TColor GraphBackColor = 0xC0F9FA;

    // MainLayer in GraphBackColor, Composite and CursorLayer in white.
    void ClearLayers();
    void SetBackColor(TColor Color);
    // All layers take the paint box's size (or the given one) and are cleared.
    void ResizeLayers();
    void ResizeLayers(int Width, int Height);
    // Draws the whole picture into the layers and presents it; a failure while drawing ends
    // it silently, leaving what was drawn and presenting nothing.
    void DrawAll();
    // Composes the layers into Composite: main layer, shaded bands, cursor layer.
    void Present(bool FromPaint);
    // The same for the given parts of the picture only (what a drag step changed, what a
    // paint event exposes); the paint box is asked to repaint just those.
    void PresentAreas(const std::vector<QRect> &Areas, bool FromPaint);
    void Refresh();
    // Unplaces cursors 1 and 2 and their lines, and their rows read "E"; nothing is redrawn.
    void ResetCursors();
    bool CursorsPlaced() const;
    void MoveCursor1(int X, int Y);
    void MoveCursor2(int X, int Y);

    // The band shading colour for a background: 10 lightness steps of 240 darker.
    static TColor ShadeColorOf(TColor BackColor);

private:
    // Composite := MainLayer AND CursorLayer; false, changing nothing, for layers that differ
    // in size or format.
    bool ComposeWithFigures();
    // Where band I is shaded; false when it shades nothing.
    bool BandArea(int I, QRect &Area) const;
};
