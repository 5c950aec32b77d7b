#include "graph/TCursors.h"

#include "graph/TAnGraph.h"
#include "measure/Globals.h"
#include "measure/PointFormulas.h"
#include "measure/TMereni.h"
#include "measure/TSmithLink.h"
#include "numerics/TDoubleArray.h"
#include "platform/FloatOps.h"
#include "platform/Format.h"

#include <algorithm>
#include <cmath>

namespace {

// The cursor line stops this far short of the plot's top and bottom rows, where its end
// circles sit.
constexpr int kCursorLineInset = 3;
constexpr int kCursorEndRadius = 3;
// Label rows: the minimum-SWR cursor's in the top margin, those of cursors 1 and 2 below the
// frequency labels (at BottomY + 13).
constexpr int kMinLabelRow = 22;
constexpr int kCursor1LabelOffset = 24;
constexpr int kCursor2LabelOffset = 35;
// A label starts this far left of its column, so it stands roughly centred under it.
constexpr int kLabelHalfWidth = 15;
// Slack around what a figure or label covers: the 2-pixel pen of the end circles, glyphs
// that reach past their advance.
constexpr int kAreaMargin = 2;

// The pixels a cursor figure from (X1, Y1) to (X2, Y2) covers, its end circles included
// (centred one pixel right of their column).
QRect FigureArea(int X1, int Y1, int X2, int Y2)
{
    const int Reach = kCursorEndRadius + kAreaMargin;
    return QRect(QPoint(X1 - Reach, Y1 - Reach), QPoint(X2 + 1 + Reach, Y2 + Reach));
}

} // namespace

// ---- TFrekvence ----

TFrekvence::TFrekvence(TCanvas *ACanvas, TCursorReadout *ARow)
    : TOsaY(ACanvas)
    , Readout(ARow)
{
    Line.Style = psSolid;
    Text.Color = clRed;
    if (Readout)
        Readout->ResetLayout();
}

TFrekvence::~TFrekvence() = default;

bool TFrekvence::IsPlaced() const { return IsVisible() && Frequency > 0.0; }

void TFrekvence::DrawFigure(int AtX, int Bottom)
{
    Canvas->PenMode = TPenMode::NotXor;
    DrawLine(AtX, PlotTop() + kCursorLineInset, AtX, Bottom - kCursorLineInset, Line);
    DrawCircle(AtX, PlotTop(), kCursorEndRadius, Line);
    DrawCircle(AtX, Bottom, kCursorEndRadius, Line);
    Canvas->PenMode = TPenMode::Copy;
}

void TFrekvence::Draw(int AtX, const TOsaX *AOsaX, const TOsaFRQ *AOsaFRQ, const TOsaY *AOsaY)
{
    // Left of the first column there is no frequency to stand on; a cursor whose frequency
    // fell below the range stands at the plot's left edge, as one above it stands at the
    // right edge.
    if (AtX < PlotLeft() && GraphRaster && GraphRaster->Count() > 0)
        AtX = PlotLeft();
    X = AtX;
    const int Bottom = AOsaY ? AOsaY->BottomY() : BottomY();
    int LabelRow = kMinLabelRow;
    if (Index == 1)
        LabelRow = Bottom + kCursor1LabelOffset;
    else if (Index == 2)
        LabelRow = Bottom + kCursor2LabelOffset;
    if (!Canvas)
        return;
    OsaX = AOsaX;
    OsaFRQ = AOsaFRQ;
    OsaY = AOsaY;

    // The not-xor figure drawn twice would vanish: one still on the layer goes first.
    // Its label, in a margin of its own, is simply blanked.
    if (OnLayer) {
        DrawFigure(DrawnX, DrawnBottom);
        Canvas->FillRect(
            LabelArea.left(), LabelArea.top(), LabelArea.right() + 1, LabelArea.bottom() + 1);
    }
    DrawFigure(X, Bottom);
    OnLayer = true;
    DrawnX = X;
    DrawnBottom = Bottom;
    DrawnArea = FigureArea(X, PlotTop(), X, Bottom);
    LabelArea = QRect();

    // A plot without columns has no place for the point either.
    const bool OnPoint = Point >= 0 && Mereni && Point < Mereni->Frequencies.Count() && GraphRaster
        && GraphRaster->Count() > 0;
    if (OnPoint)
        Frequency = Mereni->Frequencies.Item(Point);
    else
        Frequency = GraphRaster ? GraphRaster->FrequencyAt(X - PlotLeft()) : 0.0;
    if (SmithFrame)
        SmithFrame->ShowFrequency(Round(static_cast<long double>(Frequency) * 1000.0L));

    UpdateReadout();

    const int LabelX = (GraphRaster ? GraphRaster->ColumnOf(Frequency) : -1) + PlotLeft();
    const std::string Label = FormatFloat("0.000", Frequency);
    DrawText(LabelX - kLabelHalfWidth, LabelRow, Label, Text);
    const QString Shown = QString::fromStdString(Label);
    LabelArea = QRect(
        LabelX - kLabelHalfWidth, LabelRow, Canvas->TextWidth(Shown), Canvas->TextHeight(Shown))
                    .adjusted(-kAreaMargin, -kAreaMargin, kAreaMargin, kAreaMargin);

    if (OnCursorMoved && (Index == 1 || Index == 2))
        OnCursorMoved(Index);
}

void TFrekvence::UpdateReadout()
{
    const TDoubleArray *Frequencies = nullptr;
    const TDoubleArray *Resistances = nullptr;
    const TDoubleArray *Reactances = nullptr;
    if (Mereni)
        Mereni->GetPointSeries(Frequencies, Resistances, Reactances);
    int E = Frequencies ? PointIndexAt(*Frequencies, Frequency) : 0;
    if (Point >= 0 && Frequencies && Point < Frequencies->Count())
        E = Point;

    if (Readout) {
        Readout->SetMarkColor(Text.Color);
        Readout->ShowFrekvence(false, Frequency);
    }
    if (!Resistances || !Reactances || E >= Resistances->Count() || E >= Reactances->Count()) {
        ShowDifference();
        ShowInvalidValues();
        return;
    }
    const double R = Resistances->Item(E);
    const double Xv = Reactances->Item(E);
    TPointValues Values;
    // A fault here (a load of exactly -ChImp) propagates: it ends the drag step.
    ComputePoint(R, Xv, Frequency, ChImp, Values);
    if (MeasureMode == mmCableLoss) {
        if (Readout)
            Readout->ShowCableLoss(!Values.CableLossValid, Values.CableLoss);
        return;
    }
    ShowDifference();
    if (Readout)
        ShowPointValues(*Readout, R, Xv, Frequency, Values);
}

void TFrekvence::ShowPointValues(
    TCursorReadout &Row, double R, double X, double F, const TPointValues &Values)
{
    Row.ShowPSV(!Values.SWRValid, Values.SWR);
    Row.ShowZ(!Values.ZValid, Values.Z);
    Row.ShowPhase(!Values.AngleValid, Values.Angle);
    Row.ShowRL(!Values.RLValid, Values.RL);
    Row.ShowXx(false, X);
    Row.ShowRx(false, R);
    const TLCValues LC = ComputeLC(X, F);
    Row.ShowKapacita(!LC.CValid, LC.C);
    Row.ShowIndukcnost(!LC.LValid, LC.L);
}

void TFrekvence::ShowDifference()
{
    if (!Partner)
        return;
    TFrekvence *First = Index == 2 ? Partner : this;
    TFrekvence *Second = Index == 2 ? this : Partner;
    if (Frequency > 0.0 && Partner->Frequency > 0.0) {
        const double D = std::fabs(Frequency - Partner->Frequency);
        if (OnDifference)
            OnDifference(D);
        if (Second->Readout)
            Second->Readout->ShowAny(false, 1, D);
        double Q = 0.0;
        const bool Valid = ComputeQ(Partner->Frequency, Frequency, Q);
        if (First->Readout)
            First->Readout->ShowAny(!Valid, 2, Q);
    } else {
        if (Second->Readout)
            Second->Readout->ShowAny(true, 1, 0.0);
        if (First->Readout)
            First->Readout->ShowAny(true, 2, 0.0);
    }
}

void TFrekvence::ShowNoPoint()
{
    if (!Readout)
        return;
    Readout->SetMarkColor(Text.Color);
    Readout->ShowFrekvence(true, 0.0);
    ShowInvalidValues();
    // Bandwidth and Q belong to the two draggable cursors only.
    if (Partner)
        Readout->ShowAny(true, Index == 2 ? 1 : 2, 0.0);
}

void TFrekvence::ShowInvalidValues()
{
    if (Readout)
        ShowNoValues(*Readout);
}

void TFrekvence::ShowNoValues(TCursorReadout &Row)
{
    Row.ShowPSV(true, 0.0);
    Row.ShowPhase(true, 0.0);
    Row.ShowZ(true, 0.0);
    Row.ShowXx(true, 0.0);
    Row.ShowRx(true, 0.0);
    Row.ShowRL(true, 0.0);
    Row.ShowKapacita(true, 0.0);
    Row.ShowIndukcnost(true, 0.0);
}

int TFrekvence::PointIndexAt(const TDoubleArray &Frequencies, double F)
{
    const int N = Frequencies.Count();
    if (N <= 1)
        return 0;
    const double *A = Frequencies.Data();
    if (F < A[0])
        return 0;
    if (F > A[N - 1])
        return N - 1;
    for (int I = N - 2; I >= 0; --I)
        if (A[I] <= F && F <= A[I + 1])
            return I;
    return 0;
}

void TFrekvence::Redraw()
{
    if (!IsVisible() || Frequency == 0.0 || !GraphRaster)
        return;
    Draw(GraphRaster->ColumnOf(Frequency) + PlotLeft(), OsaX, OsaFRQ, OsaY);
}

// ---- TOsaHorizont ----

TOsaHorizont::TOsaHorizont(TCanvas *ACanvas)
    : TOsaX(ACanvas, 0.0, 0.0)
{
}

void TOsaHorizont::DrawFigure(int AtY, int Right)
{
    Canvas->PenMode = TPenMode::NotXor;
    DrawLine(PlotLeft(), AtY, Right, AtY, Line);
    DrawCircle(PlotLeft(), AtY, kCursorEndRadius, Line);
    DrawCircle(Right, AtY, kCursorEndRadius, Line);
    Canvas->PenMode = TPenMode::Copy;
}

void TOsaHorizont::Draw(int AtY, const TOsaX *AOsaX, const TOsaY *AOsaY)
{
    if (!Canvas || AtY < PlotTop() || AtY > PlotHeight() + PlotTop())
        return;
    OsaX = AOsaX;
    OsaY = AOsaY;
    const int Right = AOsaX ? AOsaX->PlotRight() : PlotRight();
    Y = AtY;
    if (OnLayer)
        DrawFigure(DrawnY, DrawnRight);
    DrawFigure(Y, Right);
    OnLayer = true;
    DrawnY = Y;
    DrawnRight = Right;
    DrawnArea = FigureArea(PlotLeft(), Y, Right, Y);
}

void TOsaHorizont::Redraw()
{
    if (Y != 0)
        Draw(Y, OsaX, OsaY);
}

// ---- TCursors ----

TCursors::TCursors(TAnGraph *AGraph, TFrekvence *ACursor1, TFrekvence *ACursor2,
    TFrekvence *ACursorMin, TOsaHorizont *AHorizontal1, TOsaHorizont *AHorizontal2,
    const TOsaX *AOsaX, const TOsaY *AOsaY, const TOsaFRQ *AOsaFRQ)
    : Graph(AGraph)
    , Cursor1(ACursor1)
    , Cursor2(ACursor2)
    , CursorMin(ACursorMin)
    , Horizontal1(AHorizontal1)
    , Horizontal2(AHorizontal2)
    , OsaX(AOsaX)
    , OsaY(AOsaY)
    , OsaFRQ(AOsaFRQ)
{
}

void TCursors::ClearLayer()
{
    if (Cursor1->Canvas)
        Cursor1->Canvas->FillAll();
    for (TFrekvence *C : { Cursor1, Cursor2, CursorMin })
        C->OnLayer = false;
    for (TOsaHorizont *H : { Horizontal1, Horizontal2 })
        H->OnLayer = false;
}

void TCursors::EraseFigures(std::vector<QRect> &Areas)
{
    TCanvas *Canvas = Cursor1->Canvas;
    const auto Erase = [&](const QRect &Area) {
        if (Canvas && !Area.isEmpty())
            Canvas->FillRect(Area.left(), Area.top(), Area.right() + 1, Area.bottom() + 1);
        Areas.push_back(Area);
    };
    for (TFrekvence *C : { Cursor1, Cursor2, CursorMin }) {
        if (C->OnLayer) {
            Erase(C->DrawnArea);
            Erase(C->LabelArea);
        }
        C->OnLayer = false;
    }
    for (TOsaHorizont *H : { Horizontal1, Horizontal2 }) {
        if (H->OnLayer)
            Erase(H->DrawnArea);
        H->OnLayer = false;
    }
}

std::vector<QRect> TCursors::FigureAreas() const
{
    std::vector<QRect> Areas;
    for (const TFrekvence *C : { Cursor1, Cursor2, CursorMin }) {
        if (C->OnLayer) {
            Areas.push_back(C->DrawnArea);
            Areas.push_back(C->LabelArea);
        }
    }
    for (const TOsaHorizont *H : { Horizontal1, Horizontal2 })
        if (H->OnLayer)
            Areas.push_back(H->DrawnArea);
    return Areas;
}

void TCursors::MoveCursor(TFrekvence *Moved, TOsaHorizont *MovedLine, TFrekvence *Other,
    TOsaHorizont *OtherLine, int AtX, int AtY)
{
    // Only the figures are on the layer, so erasing what they cover clears it, and only
    // what they covered before and cover now needs composing again: a drag step then costs
    // a few narrow strips instead of two passes over the whole picture.
    std::vector<QRect> Areas;
    EraseFigures(Areas);
    // A dragged cursor stands on its column, or on the peak it snaps to.
    Moved->Point = -1;
    if (MeasureMode == mmCableLength && SnapToPeaks && Moved->Mereni && Moved->GraphRaster
        && Moved->GraphRaster->Count() > 0) {
        const TMereni &Sweep = *Moved->Mereni;
        const double Pointed = Moved->GraphRaster->FrequencyAt(AtX - Moved->PlotLeft());
        if (Sweep.Frequencies.Count() > 0) {
            const int Peak = PeakNear(Sweep, TFrekvence::PointIndexAt(Sweep.Frequencies, Pointed));
            if (Peak >= 0) {
                Moved->Point = Peak;
                AtX = Moved->GraphRaster->ColumnOf(Sweep.Frequencies.Item(Peak))
                    + Moved->PlotLeft();
            }
        }
    }
    Moved->Draw(AtX, OsaX, OsaFRQ, OsaY);
    MovedLine->Draw(AtY, OsaX, OsaY);
    Other->Redraw();
    OtherLine->Redraw();
    CursorMin->Redraw();
    const std::vector<QRect> Drawn = FigureAreas();
    Areas.insert(Areas.end(), Drawn.begin(), Drawn.end());
    if (Graph)
        Graph->PresentAreas(Areas, false);
}

int TCursors::PeakNear(const TMereni &Sweep, int Near)
{
    const int Count = std::min(
        { Sweep.Frequencies.Count(), Sweep.RawResistances.Count(), Sweep.RawReactances.Count() });
    if (Count < 3 || Near < 0 || Near >= Count)
        return -1;
    const auto Magnitude = [&Sweep](int I) {
        return std::hypot(Sweep.RawResistances.Item(I), Sweep.RawReactances.Item(I));
    };
    const int From = std::max(0, Near - SnapReach);
    const int To = std::min(Count - 1, Near + SnapReach);
    int Highest = From;
    int Lowest = From;
    for (int I = From + 1; I <= To; ++I) {
        if (Magnitude(I) > Magnitude(Highest))
            Highest = I;
        if (Magnitude(I) < Magnitude(Lowest))
            Lowest = I;
    }
    // An extremum at the window's edge is a slope, not a peak (the ends of the sweep aside).
    const auto Inside = [&](int I) {
        return (I > From || From == 0) && (I < To || To == Count - 1) && I > 0 && I < Count - 1;
    };
    const bool High = Inside(Highest);
    const bool Low = Inside(Lowest);
    if (High && Low)
        return std::abs(Highest - Near) <= std::abs(Lowest - Near) ? Highest : Lowest;
    return High ? Highest : Low ? Lowest : -1;
}

void TCursors::MoveCursor1(int AtX, int AtY)
{
    MoveCursor(Cursor1, Horizontal1, Cursor2, Horizontal2, AtX, AtY);
}

void TCursors::MoveCursor2(int AtX, int AtY)
{
    MoveCursor(Cursor2, Horizontal2, Cursor1, Horizontal1, AtX, AtY);
}

void TCursors::RedrawCursors()
{
    Cursor1->Redraw();
    Horizontal1->Redraw();
    Cursor2->Redraw();
    Horizontal2->Redraw();
}

bool TCursors::GetShowCursors()
{
    const bool Result = Graph->ShowCursors;
    Graph->Refresh();
    return Result;
}

void TCursors::SetShowCursors(bool Value)
{
    Graph->ShowCursors = Value;
    Graph->Refresh();
}

// ---- TOzn ----

TOzn::TOzn(const TOsaX *AOsaX, const TOsaY *AOsaY, const TOsaFRQ *AOsaFRQ,
    const TFrekvence *ACursor1, const TFrekvence *ACursor2)
    : OsaX(AOsaX)
    , OsaY(AOsaY)
    , OsaFRQ(AOsaFRQ)
    , Cursor1(ACursor1)
    , Cursor2(ACursor2)
{
}

void TOzn::AddBand(double F1, double F2)
{
    const double Lo = std::min(F1, F2);
    const double Hi = std::max(F1, F2);
    for (TBand &B : Bands) {
        if (Lo <= B.Lower && Hi >= B.Upper) {
            B = { Lo, Hi };
            return;
        }
        if (Lo > B.Lower && Hi < B.Upper)
            return;
    }
    Bands.push_back({ Lo, Hi });
}

void TOzn::AddCursorBand()
{
    if (Cursor1 && Cursor2)
        AddBand(Cursor1->Frequency, Cursor2->Frequency);
}

void TOzn::RemoveLastBand()
{
    if (!Bands.empty())
        Bands.pop_back();
}

void TOzn::ClearBands() { Bands.clear(); }

int TOzn::BandCount() const { return static_cast<int>(Bands.size()); }

const TOzn::TBand &TOzn::Band(int I) const { return Bands.at(static_cast<std::size_t>(I)); }

void TOzn::BandColumns(int I, int &Left, int &Right) const
{
    const TBand &B = Band(I);
    Left = FrequencyToColumn(GraphRaster, B.Lower);
    Right = FrequencyToColumn(GraphRaster, B.Upper);
}
