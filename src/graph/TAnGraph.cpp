#include "graph/TAnGraph.h"

#include "measure/TMereni.h"
#include "platform/Color.h"
#include "platform/QtColor.h"

#include <QRegion>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <exception>

TAnGraph::TAnGraph(
    QWidget *APaintBox, double MinFreq, double MaxFreq, const TReadoutFactory &CreateReadout)
{
    ShowCursors = true;
    CursorCanvas.BrushColor = clWhite;
    CompositeCanvas.BrushColor = clWhite;

    OsaX = std::make_unique<TOsaX>(&MainCanvas, MinFreq, MaxFreq);
    OsaY = std::make_unique<TOsaY>(&MainCanvas);
    OsaRL = std::make_unique<TOsaRL>(&MainCanvas);
    OsaT = std::make_unique<TOsaT>(&MainCanvas);
    OsaPSV = std::make_unique<TOsaPSV>(&MainCanvas);
    OsaPhase = std::make_unique<TOsaPHASE>(&MainCanvas);
    OsaZ = std::make_unique<TOsaOHM>(&MainCanvas);
    OsaZ->Kind = 2;
    OsaR = std::make_unique<TOsaOHM>(&MainCanvas);
    OsaR->Kind = 0;
    OsaR->Line.Color = clBlack;
    OsaXX = std::make_unique<TOsaXX>(&MainCanvas);
    OsaXX->Kind = 1;
    OsaXX->Line.Color = clBlue;
    OsaFRQ = std::make_unique<TOsaFRQ>(&MainCanvas);

    const auto RowOf
        = [&CreateReadout](int Index) { return CreateReadout ? CreateReadout(Index) : nullptr; };
    CursorMin = std::make_unique<TFrekvence>(&CursorCanvas, RowOf(0));
    Cursor1 = std::make_unique<TFrekvence>(&CursorCanvas, RowOf(1));
    Cursor2 = std::make_unique<TFrekvence>(&CursorCanvas, RowOf(2));
    const struct
    {
        TFrekvence *Cursor;
        int Index;
        TColor Color;
    } CursorSetup[] = { { CursorMin.get(), 0, clRed }, { Cursor1.get(), 1, clGreen },
        { Cursor2.get(), 2, clBlue } };
    for (const auto &S : CursorSetup) {
        S.Cursor->Index = S.Index;
        S.Cursor->Line.Color = S.Color;
        S.Cursor->Line.Style = psDot;
        S.Cursor->Text.Color = S.Color;
        S.Cursor->Visible = true;
        S.Cursor->OsaX = OsaX.get();
        S.Cursor->OsaY = OsaY.get();
        S.Cursor->OsaFRQ = OsaFRQ.get();
        // The minimum-SWR cursor's row is told 3, which hides its bandwidth/Q field.
        if (S.Cursor->Readout) {
            S.Cursor->Readout->SetRowIndex(S.Index == 0 ? 3 : S.Index);
            // The draggable cursors' rows wait hidden until the main window lays them out.
            if (S.Index != 0)
                S.Cursor->Readout->SetRowVisible(false);
        }
    }
    Cursor1->Partner = Cursor2.get();
    Cursor2->Partner = Cursor1.get();

    Horizontal1 = std::make_unique<TOsaHorizont>(&CursorCanvas);
    Horizontal2 = std::make_unique<TOsaHorizont>(&CursorCanvas);
    Horizontal1->Index = 1;
    Horizontal1->Line = TPropertyLine(clGreen, psDot, 1);
    Horizontal1->Text.Color = clGreen;
    Horizontal2->Index = 2;
    Horizontal2->Line = TPropertyLine(clBlue, psDot, 1);
    Horizontal2->Text.Color = clBlue;
    for (TOsaHorizont *H : { Horizontal1.get(), Horizontal2.get() }) {
        H->OsaX = OsaX.get();
        H->OsaY = OsaY.get();
    }
    Horizontal1->Partner = Horizontal2.get();
    Horizontal2->Partner = Horizontal1.get();

    Cursors = std::make_unique<TCursors>(this, Cursor1.get(), Cursor2.get(), CursorMin.get(),
        Horizontal1.get(), Horizontal2.get(), OsaX.get(), OsaY.get(), OsaFRQ.get());
    Markers = std::make_unique<TOzn>(
        OsaX.get(), OsaY.get(), OsaFRQ.get(), Cursor1.get(), Cursor2.get());

    Raster = std::make_unique<TRastrFr>(OsaX.get(), OsaFRQ.get());
    OsaFRQ->GraphRaster = Raster.get();
    Markers->GraphRaster = Raster.get();
    for (TFrekvence *C : { Cursor1.get(), Cursor2.get(), CursorMin.get() })
        C->GraphRaster = Raster.get();

    Mereni = std::make_unique<TMereni>(&MainCanvas);
    Mereni->OsaFRQ = OsaFRQ.get();
    Mereni->OsaX = OsaX.get();
    Mereni->OsaY = OsaY.get();
    Mereni->OsaPSV = OsaPSV.get();
    Mereni->Graph = this;
    Mereni->OsaPhase = OsaPhase.get();
    Mereni->OsaZ = OsaZ.get();
    Mereni->OsaR = OsaR.get();
    Mereni->OsaXX = OsaXX.get();
    Mereni->OsaRL = OsaRL.get();
    Mereni->OsaT = OsaT.get();
    Mereni->Cursor1 = Cursor1.get();
    Mereni->Cursor2 = Cursor2.get();
    Mereni->CursorMin = CursorMin.get();
    Mereni->GraphRaster = Raster.get();
    for (TFrekvence *C : { Cursor1.get(), Cursor2.get(), CursorMin.get() })
        C->Mereni = Mereni.get();

    PaintBox = APaintBox;
}

TAnGraph::~TAnGraph() = default;

void TAnGraph::ClearLayers()
{
    MainCanvas.BrushColor = GraphBackColor;
    MainCanvas.FillAll();
    CompositeCanvas.FillAll();
    Cursors->ClearLayer();
}

void TAnGraph::SetBackColor(TColor Color)
{
    GraphBackColor = Color;
    ClearLayers();
}

void TAnGraph::ResizeLayers()
{
    if (PaintBox)
        ResizeLayers(PaintBox->width(), PaintBox->height());
    else
        ClearLayers();
}

void TAnGraph::ResizeLayers(int Width, int Height)
{
    for (QImage *Layer : { &MainLayer, &Composite, &ShadeLayer, &CursorLayer }) {
        if (Width > 0 && Height > 0)
            *Layer = QImage(Width, Height, QImage::Format_RGB32);
        else
            *Layer = QImage();
    }
    ClearLayers();
}

void TAnGraph::DrawAll()
{
    if (HoldDrawing)
        return;
    try {
        if (!Mereni->LastLines().isEmpty()) {
            OsaZ->SetRange();
            OsaR->SetRange();
            OsaXX->SetRange();
        }
        OsaFRQ->DrawGrid(*OsaX, *OsaY);
        OsaY->DrawFrame();
        OsaRL->DrawAxis(OsaX->ValueToX(0.0), *OsaX);
        OsaT->DrawAxis(OsaX->ValueToX(0.0), *OsaX);
        OsaPSV->DrawAxis(OsaX->ValueToX(0.0), *OsaX);
        OsaPhase->DrawAxis(OsaX->ValueToX(OsaX->MaxValue), *OsaX);
        OsaZ->DrawAxis(OsaX->ValueToX(OsaX->MaxValue), *OsaX);
        OsaXX->DrawAxis(OsaX->ValueToX(0.0), *OsaX, OsaPSV->IsVisible());
        // Every cursor is drawn again below, on a layer of its own: starting it white keeps a
        // caller that did not clear from drawing a not-xor figure twice, which erases it.
        // Only the figures are on it, so only what they cover is filled.
        std::vector<QRect> Erased;
        Cursors->EraseFigures(Erased);
        // The sweep is evaluated before the cursors are drawn again: their readouts look
        // their points up in the series the evaluation fills, which would otherwise still
        // hold the previous sweep. The two draw on different layers, so the picture is the
        // same either way.
        Mereni->EvaluateSweep();
        Cursors->RedrawCursors();
    } catch (const std::exception &) {
        // A picture that cannot be drawn (a range of zero width, say) stays as far as it
        // got; whoever presents next shows it so.
        return;
    }
    if (OnDrawn)
        OnDrawn();
    Present(false);
}

TColor TAnGraph::ShadeColorOf(TColor BackColor)
{
    int Hue = 0;
    int Lightness = 0;
    int Saturation = 0;
    ColorRGBToHLS(BackColor, Hue, Lightness, Saturation);
    return ColorHLSToRGB(Hue, std::max(0, Lightness - 10), Saturation);
}

void TAnGraph::Present(bool FromPaint)
{
    const int W = MainLayer.width();
    const int H = MainLayer.height();
    const QRect Whole(0, 0, W, H);

    // The main layer and the cursors in one pass: the bands and the cursors are laid on with
    // a bitwise AND, which may go in any order, so the picture is the same. Layers the pass
    // does not take are copied one by one.
    const bool CursorsComposed = ShowCursors && ComposeWithFigures();
    if (!CursorsComposed)
        CompositeCanvas.CopyRect(Whole, MainLayer, Whole, TCopyMode::Source);

    // The shade is filled only for a band to shade: a fill of the whole layer is a good
    // part of a presentation, and nothing else reads the shade layer.
    bool ShadeFilled = false;

    QRect Band;
    for (int I = 0; I < Markers->BandCount(); ++I) {
        if (!BandArea(I, Band))
            continue;
        if (!ShadeFilled) {
            ShadeCanvas.BrushColor = ShadeColorOf(GraphBackColor);
            ShadeCanvas.FillAll();
            ShadeFilled = true;
        }
        CompositeCanvas.CopyRect(Band, ShadeLayer, ShadeLayer.rect(), TCopyMode::SourceAnd);
    }

    if (ShowCursors && !CursorsComposed)
        CompositeCanvas.CopyRect(Whole, CursorLayer, Whole, TCopyMode::SourceAnd);

    if (!FromPaint && PaintBox)
        PaintBox->update();
}

bool TAnGraph::ComposeWithFigures()
{
    const QSize Size = MainLayer.size();
    if (MainLayer.isNull() || Composite.size() != Size || CursorLayer.size() != Size
        || MainLayer.format() != QImage::Format_RGB32 || Composite.format() != QImage::Format_RGB32
        || CursorLayer.format() != QImage::Format_RGB32
        || Composite.bytesPerLine() != MainLayer.bytesPerLine())
        return false;
    // The cursor layer is white but where its figures stand, and white leaves the picture
    // as it is: the main layer is copied whole and the AND runs over the figures only.
    std::memcpy(
        Composite.bits(), MainLayer.constBits(), static_cast<size_t>(MainLayer.sizeInBytes()));
    const QRect Whole = MainLayer.rect();
    for (const QRect &Wanted : Cursors->FigureAreas()) {
        const QRect Area = Wanted & Whole;
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
            const auto *Cursor = reinterpret_cast<const QRgb *>(CursorLayer.constScanLine(Y));
            auto *Out = reinterpret_cast<QRgb *>(Composite.scanLine(Y));
            for (int X = Area.left(); X <= Area.right(); ++X)
                Out[X] &= Cursor[X];
        }
    }
    return true;
}

bool TAnGraph::BandArea(int I, QRect &Area) const
{
    int Left = -1;
    int Right = -1;
    Markers->BandColumns(I, Left, Right);
    // An end outside the range has the column -1. Below the range that is the layer's left
    // edge, where the shading starts; above it the shading runs to the layer's right edge
    // likewise, rather than vanishing in a rectangle turned inside out. A band wholly
    // outside the range shades nothing.
    const TOzn::TBand &Band = Markers->Band(I);
    if (Band.Upper < OsaX->MinValue || Band.Lower > OsaX->MaxValue)
        return false;
    if (Right < 0)
        Right = MainLayer.width();
    const int Top = OsaX->PlotTop() + 2;
    Area = QRect(Left, Top, Right - Left, OsaX->PlotBottom() - 2 - Top);
    return Area.isValid();
}

void TAnGraph::PresentAreas(const std::vector<QRect> &Areas, bool FromPaint)
{
    const QRect Whole = MainLayer.rect();
    if (Composite.size() != MainLayer.size() || CursorLayer.size() != MainLayer.size()) {
        Present(FromPaint);
        return;
    }
    const QRgb Shade = ToQColor(ShadeColorOf(GraphBackColor)).rgb();
    std::vector<QRect> Bands;
    QRect Band;
    for (int I = 0; I < Markers->BandCount(); ++I)
        if (BandArea(I, Band))
            Bands.push_back(Band);
    QRegion Changed;
    for (const QRect &Wanted : Areas) {
        const QRect Area = Wanted & Whole;
        if (Area.isEmpty())
            continue;
        Changed += Area;
        // What Present gives, for these pixels only: the main layer, the cursors and the
        // shading all laid on by AND.
        for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
            const auto *Main = reinterpret_cast<const QRgb *>(MainLayer.constScanLine(Y));
            const auto *Cursor = reinterpret_cast<const QRgb *>(CursorLayer.constScanLine(Y));
            auto *Out = reinterpret_cast<QRgb *>(Composite.scanLine(Y));
            if (ShowCursors)
                for (int X = Area.left(); X <= Area.right(); ++X)
                    Out[X] = Main[X] & Cursor[X];
            else
                std::copy(Main + Area.left(), Main + Area.right() + 1, Out + Area.left());
        }
        for (const QRect &B : Bands) {
            const QRect Shaded = B & Area;
            for (int Y = Shaded.top(); Y <= Shaded.bottom(); ++Y) {
                auto *Out = reinterpret_cast<QRgb *>(Composite.scanLine(Y));
                for (int X = Shaded.left(); X <= Shaded.right(); ++X)
                    Out[X] &= Shade;
            }
        }
    }
    if (!FromPaint && PaintBox && !Changed.isEmpty())
        PaintBox->update(Changed);
}

void TAnGraph::Refresh()
{
    ClearLayers();
    DrawAll();
    Present(false);
}

void TAnGraph::ResetCursors()
{
    for (TFrekvence *C : { Cursor1.get(), Cursor2.get() }) {
        C->X = 0;
        C->Frequency = 0.0;
        C->Point = -1;
        // An unplaced cursor stands on no point; its row must not keep the last one's values.
        C->ShowNoPoint();
    }
    Horizontal1->Y = 0;
    Horizontal2->Y = 0;
}

bool TAnGraph::CursorsPlaced() const
{
    return Cursor1->Frequency > 0.0 && Cursor2->Frequency > 0.0;
}

void TAnGraph::MoveCursor1(int X, int Y) { Cursors->MoveCursor1(X, Y); }

void TAnGraph::MoveCursor2(int X, int Y) { Cursors->MoveCursor2(X, Y); }
