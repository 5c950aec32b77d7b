#include "smith/TSmithChart.h"

#include "measure/Globals.h"
#include "measure/ReplyLineQt.h"
#include "platform/Errors.h"
#include "platform/FloatOps.h"
#include "platform/Format.h"
#include "platform/Guard.h"
#include "platform/QtColor.h"

#include <QGuiApplication>
#include <QPalette>
#include <QRegion>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

struct TCircleRow
{
    double Offset;
    double Radius;
};

// Constant resistance: centre offset r/(1+r) and radius 1/(1+r) for r = 0, 0.2, 0.5, 1, 2,
// 5, 10, kept to six digits as the chart has always drawn them.
constexpr TCircleRow kResistanceRows[] = {
    { 0, 1 },
    { 0.166667, 0.833333 },
    { 0.333333, 0.666667 },
    { 0.5, 0.5 },
    { 0.666667, 0.333333 },
    { 0.833333, 0.166667 },
    { 0.909091, 0.090909 },
};

// Constant reactance, x = 5, 2, 1, 0.5, 0.2 below the axis (offsets downwards), then the same
// above it.
constexpr TCircleRow kReactanceRows[] = {
    { -0.2, 0.2 },
    { -0.5, 0.5 },
    { -1, 1 },
    { -2, 2 },
    { -5, 5 },
    { 5, 5 },
    { 2, 2 },
    { 1, 1 },
    { 0.5, 0.5 },
    { 0.2, 0.2 },
};

// 10 points at the 96 dots per inch the layout was made for.
constexpr int kLabelPixelSize = 13;
constexpr int kTimerIntervalMs = 100;
// Live points wait at most this long: they still follow their lines, and a frame holds the
// two or three lines of the driver's last polls.
constexpr int kFrameIntervalMs = 100;
// The label of the newest point moves with every other frame; a little early counts, as
// timers fire a few milliseconds late.
constexpr int kLabelDueMs = 2 * kFrameIntervalMs - 10;
// FindPoint takes the nearest point only within this distance (kHz, exclusive).
constexpr long long kCursorReachKHz = 50;

// A layer of the new size holding the old picture at its top left, white where it grew.
QImage Resized(const QImage &Old, int Width, int Height)
{
    QImage New(Width, Height, QImage::Format_RGB32);
    New.fill(Qt::white);
    const int W = qMin(Width, Old.width());
    const int H = qMin(Height, Old.height());
    for (int Y = 0; Y < H; ++Y)
        std::memcpy(New.scanLine(Y), Old.constScanLine(Y), static_cast<size_t>(W) * 4);
    return New;
}

// Dest := A AND B AND C inside Area: the grid copied in, then the two white-backed layers
// laid over it. Rows are reached through one pointer each: the areas of a label are long
// and thin, and a scanLine() per row and layer cost as much as the pixels.
void AndLayers(QImage &Dest, const QImage &A, const QImage &B, const QImage &C, QRect Area)
{
    const QSize Size = Dest.size();
    if (Dest.isNull() || A.size() != Size || B.size() != Size || C.size() != Size)
        return;
    Area &= Dest.rect();
    if (Area.isEmpty())
        return;
    const int Left = Area.left();
    const int Right = Area.right();
    auto *D = reinterpret_cast<std::uint32_t *>(Dest.bits());
    const auto *Pa = reinterpret_cast<const std::uint32_t *>(A.constBits());
    const auto *Pb = reinterpret_cast<const std::uint32_t *>(B.constBits());
    const auto *Pc = reinterpret_cast<const std::uint32_t *>(C.constBits());
    // Format_RGB32 rows are whole 32-bit words.
    const qsizetype Stride = Dest.bytesPerLine() / 4;
    const qsizetype StrideA = A.bytesPerLine() / 4;
    const qsizetype StrideB = B.bytesPerLine() / 4;
    const qsizetype StrideC = C.bytesPerLine() / 4;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
        std::uint32_t *Row = D + Y * Stride;
        const std::uint32_t *RowA = Pa + Y * StrideA;
        const std::uint32_t *RowB = Pb + Y * StrideB;
        const std::uint32_t *RowC = Pc + Y * StrideC;
        for (int X = Left; X <= Right; ++X)
            Row[X] = (RowA[X] & RowB[X] & RowC[X]) | 0xFF000000u;
    }
}

void FillWhite(QImage &Image, QRect Area)
{
    Area &= Image.rect();
    if (Area.isEmpty())
        return;
    auto *Bits = reinterpret_cast<std::uint32_t *>(Image.bits());
    const qsizetype Stride = Image.bytesPerLine() / 4;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y) {
        std::uint32_t *Row = Bits + Y * Stride;
        std::fill(Row + Area.left(), Row + Area.right() + 1, 0xFFFFFFFFu);
    }
}

} // namespace

bool SmithOffsets(int R, int X, int Z0, int Radius, int &OffsetX, int &OffsetY)
{
    if (Z0 <= 0)
        return false;
    const double Rd = R;
    const double Xd = X;
    const double Z = Z0;
    const double D = (Rd + Z) * (Rd + Z) + Xd * Xd;
    if (D == 0.0)
        return false;
    const double Gr = (Rd * Rd - Z * Z + Xd * Xd) / D;
    const double Gi = 2.0 * Xd * Z / D;
    double Phi = Gr != 0.0 ? std::atan(Gi / Gr) / 0.017453292522 : 0.0;
    if (Gr < 0.0 && Gi >= 0.0)
        Phi += 180.0;
    else if (Gr < 0.0 && Gi < 0.0)
        Phi -= 180.0;
    double Rho = std::sqrt(((Rd - Z) * (Rd - Z) + Xd * Xd) / D);
    if (Rho == 1.0)
        Rho = 1.0000001;
    const double Swr = (1.0 + Rho) / (1.0 - Rho);
    const double M = 1.0 - 2.0 / (Swr + 1.0);
    const double Angle = Phi * 3.141592654 / 180.0;
    try {
        const int Ox = Round(Radius * (M * std::cos(Angle)));
        const int Oy = Round(Radius * (M * std::sin(Angle)));
        OffsetX = Ox;
        OffsetY = Oy;
        return true;
    } catch (const EFloatError &) {
        return false;
    }
}

TColor ButtonFaceColor() { return FromQColor(QGuiApplication::palette().color(QPalette::Button)); }

TSmithChart::TSmithChart(int ACentreX, int ACentreY, int ARadius, QWidget *APaintBox)
    : FPaintBox(APaintBox)
    , FCentreX(ACentreX)
    , FCentreY(ACentreY)
    , FRadius(ARadius)
{
    FTimer.setInterval(kTimerIntervalMs);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { TimerElapsed(); });
    FFrameTimer.setInterval(kFrameIntervalMs);
    FFrameTimer.setSingleShot(true);
    QObject::connect(&FFrameTimer, &QTimer::timeout, &FFrameTimer,
        [this] { GuardSilently([this] { DrawFrame(false); }); });
}

TSmithChart::~TSmithChart() = default;

void TSmithChart::TimerElapsed()
{
    FTimer.stop();
    Compose();
}

void TSmithChart::Resize(int Width, int Height)
{
    const int W = qMax(Width, 0);
    const int H = qMax(Height, 0);
    if (FPointLayer.size() != QSize(W, H)) {
        FPointLayer = Resized(FPointLayer, W, H);
        // Points cut off at the old edge are not whole on the larger layer.
        FDrawnCount = -1;
    }
    FGridLayer = QImage(W, H, QImage::Format_RGB32);
    FLabelLayer = QImage(W, H, QImage::Format_RGB32);
    FBuffer = QImage(W, H, QImage::Format_RGB32);
    FBuffer.fill(Qt::white);
    FTimer.stop();
    FTimer.start();
    ClearLabelLayer();
    FillBackground();
    DrawGrid();
    if (FCursorFreq != 0)
        ShowCursor(FCursorFreq);
    Compose();
}

void TSmithChart::Compose(bool FromPaint)
{
    // A paint shows the picture that is already composed, unless a layer changed since.
    if (!FromPaint || !FBufferCurrent)
        AndLayers(FBuffer, FGridLayer, FLabelLayer, FPointLayer, FBuffer.rect());
    FBufferCurrent = true;
    if (!FromPaint && FPaintBox)
        FPaintBox->update();
}

void TSmithChart::ComposeAreas(const std::vector<QRect> &Areas, bool RepaintAreas)
{
    QRegion Changed;
    for (const QRect &Area : Areas) {
        AndLayers(FBuffer, FGridLayer, FLabelLayer, FPointLayer, Area);
        if (RepaintAreas)
            Changed += Area;
    }
    if (!FPaintBox)
        return;
    if (RepaintAreas)
        FPaintBox->update(Changed);
    else
        FPaintBox->update();
}

void TSmithChart::FillBackground()
{
    FBufferCurrent = false;
    FGrid.BrushColor = GraphBackColor;
    FGrid.FillAll();
}

void TSmithChart::Circle(double X, double Y, double R)
{
    const int Cx = Round(X);
    const int Cy = Round(Y);
    const int Rr = Round(R);
    FGrid.Ellipse(Cx - Rr, Cy - Rr, Cx + Rr, Cy + Rr);
}

void TSmithChart::DrawGrid()
{
    FBufferCurrent = false;
    const double Cx = FCentreX;
    const double Cy = FCentreY;
    const double Rad = FRadius;
    FGrid.SetPen(clBlack, psSolid, 1);
    FGrid.PenMode = TPenMode::Copy;
    FGrid.BrushSolid = false;
    for (const TCircleRow &Row : kResistanceRows)
        Circle(Cx + Rad * Row.Offset, Cy, Rad * Row.Radius);
    FGrid.PenColor = clSilver;
    for (const TCircleRow &Row : kResistanceRows)
        Circle(Cx - Rad * Row.Offset, Cy, Rad * Row.Radius);
    FGrid.PenColor = clBlack;
    for (const TCircleRow &Row : kReactanceRows)
        Circle(Cx + Rad, Cy + Rad * Row.Offset, Rad * Row.Radius);
    FGrid.PenColor = clSilver;
    for (const TCircleRow &Row : kReactanceRows)
        Circle(Cx - Rad, Cy + Rad * Row.Offset, Rad * Row.Radius);
    // The pen leaves out the end point; the axis reaches the outer circle's pixel anyway.
    FGrid.PenColor = clBlack;
    FGrid.MoveTo(FCentreX - FRadius, FCentreY);
    FGrid.LineTo(FCentreX + FRadius, FCentreY);
    FGrid.PenColor = clGray;
    Circle(Cx, Cy, Rad + 1);
    // Everything outside the border becomes button face, whatever colour it has.
    FGrid.BrushSolid = true;
    FGrid.BrushColor = ButtonFaceColor();
    FGrid.FloodFill(FCentreX + FRadius + 2, FCentreY, clGray);
    FGrid.FloodFill(FCentreX - FRadius - 2, FCentreY, clGray);
    FGrid.FloodFill(FCentreX, FCentreY + FRadius + 2, clGray);
    FGrid.FloodFill(FCentreX, FCentreY - FRadius - 2, clGray);
    DrawReferencePoints();
}

void TSmithChart::SetReferenceLines(const std::vector<QStringList> &References)
{
    FReferenceLines = References;
}

void TSmithChart::DrawReferencePoints()
{
    FGrid.SetPen(clGray, psSolid, 1);
    FGrid.BrushSolid = false;
    for (const QStringList &Lines : FReferenceLines) {
        for (const QString &Line : Lines) {
            TLineFields Fields;
            int OffsetX = 0;
            int OffsetY = 0;
            try {
                if (!ReadLineFields(Line, Fields)
                    || !SmithOffsets(
                        Round(Fields.R), Round(Fields.X), ChImp, FRadius, OffsetX, OffsetY))
                    continue;
            } catch (const EFloatError &) {
                continue;
            }
            const int Px = FCentreX + OffsetX;
            const int Py = FCentreY - OffsetY;
            FGrid.Ellipse(Px - 2, Py - 2, Px + 2, Py + 2);
        }
    }
}

void TSmithChart::ClearLabelLayer()
{
    FBufferCurrent = false;
    FLabelLayer.fill(Qt::white);
    FLabelAreas.clear();
}

void TSmithChart::ClearPointLayer()
{
    FBufferCurrent = false;
    FPointLayer.fill(Qt::white);
    FDrawnCount = 0;
}

void TSmithChart::DrawPoints()
{
    FBufferCurrent = false;
    DrawNewPoints(nullptr);
}

bool TSmithChart::DrawNewPoints(std::vector<QRect> *Areas)
{
    const bool Kept = FDrawnCount >= 0 && FDrawnCount <= static_cast<int>(FPoints.size());
    if (!Kept)
        ClearPointLayer();
    FPointCanvas.SetPen(clRed, psSolid, 1);
    FPointCanvas.PenMode = TPenMode::Copy;
    FPointCanvas.BrushColor = clRed;
    FPointCanvas.BrushSolid = true;
    for (size_t I = static_cast<size_t>(FDrawnCount); I < FPoints.size(); ++I) {
        const TSmithPoint &P = FPoints[I];
        if (!P.Plotted)
            continue;
        const int Px = FCentreX + P.OffsetX;
        const int Py = FCentreY - P.OffsetY;
        FPointCanvas.MoveTo(Px, Py);
        FPointCanvas.Ellipse(Px - 2, Py - 2, Px + 2, Py + 2);
        if (Areas)
            Areas->push_back(QRect(Px - 3, Py - 3, 7, 7));
    }
    FPointCanvas.BrushColor = clWhite;
    FDrawnCount = static_cast<int>(FPoints.size());
    return Kept;
}

void TSmithChart::ClearPoints()
{
    FPoints.clear();
    if (FDrawnCount != 0)
        FDrawnCount = -1;
}

void TSmithChart::AppendPoint(int Freq, int R, int X, int Z0)
{
    TSmithPoint P;
    P.Freq = Freq;
    P.R = R;
    P.X = X;
    P.Plotted = SmithOffsets(R, X, Z0, FRadius, P.OffsetX, P.OffsetY);
    FPoints.push_back(P);
}

void TSmithChart::AddPoint(bool Redraw, int Freq, int R, int X, int Z0)
{
    AppendPoint(Freq, R, X, Z0);
    if (!Redraw) {
        ShowCursor(Freq);
        return;
    }
    FCursorFreq = Freq;
    FLabelPending = true;
    DrawPending();
}

void TSmithChart::AddLivePoint(int Freq, int R, int X, int Z0)
{
    AppendPoint(Freq, R, X, Z0);
    FCursorFreq = Freq;
    FLabelPending = true;
    if (!FFrameTimer.isActive())
        FFrameTimer.start();
}

void TSmithChart::DrawPending() { DrawFrame(true); }

void TSmithChart::DrawFrame(bool Whole)
{
    FFrameTimer.stop();
    // The label and its cross cost most of a frame, and a readout changing ten times a
    // second cannot be read anyway: during a sweep the label follows the newest point with
    // every other frame, and the sweep's end puts it on the last.
    const bool Label = FLabelPending
        && (Whole || !FLabelMoved.isValid() || FLabelMoved.elapsed() >= kLabelDueMs);
    const bool Points = FDrawnCount != static_cast<int>(FPoints.size());
    if (FLabelPending && !Label)
        FFrameTimer.start();
    if (!Label && !Points)
        return;
    // One composition for label and points: the label's own would be replaced before
    // anything paints it. When the picture was whole, only what changed is composed again.
    const bool WasCurrent = FBufferCurrent;
    std::vector<QRect> Areas;
    if (Label) {
        Areas = FLabelAreas;
        DrawLabel(FCursorFreq);
        Areas.insert(Areas.end(), FLabelAreas.begin(), FLabelAreas.end());
    }
    const bool Kept = DrawNewPoints(&Areas);
    if (WasCurrent && Kept) {
        // A few new points are repainted alone. The label's areas are not: a region of
        // strips across the box repaints slower than the whole box.
        ComposeAreas(Areas, !Label);
    } else {
        Compose();
    }
}

bool TSmithChart::FindPoint(int Freq, int &PX, int &PY, int &R, int &X) const
{
    PX = 0;
    PY = 0;
    R = 0;
    X = 0;
    long long Best = 100000000;
    const TSmithPoint *Candidate = nullptr;
    for (const TSmithPoint &P : FPoints) {
        if (!P.Plotted)
            continue;
        const long long Distance = std::llabs(static_cast<long long>(Freq) - P.Freq);
        if (Distance < Best) {
            Best = Distance;
            Candidate = &P;
        }
    }
    if (Candidate == nullptr || Best >= kCursorReachKHz)
        return false;
    PX = Candidate->OffsetX;
    PY = Candidate->OffsetY;
    R = Candidate->R;
    X = Candidate->X;
    return true;
}

void TSmithChart::LabelText(int X, int Y, TColor Colour, const QString &Text, int Width)
{
    FLabel.FontColor = Colour;
    FLabel.TextOut(X, Y, Text);
    // A margin for any glyph that reaches beyond its advance.
    FLabelAreas.push_back(QRect(X - 2, Y - 2, Width + 4, FLabel.TextHeight(Text) + 4));
}

void TSmithChart::DrawLabel(int Freq)
{
    // Everything the label layer holds lies in the areas of the last label.
    for (const QRect &Area : FLabelAreas)
        FillWhite(FLabelLayer, Area);
    FLabelAreas.clear();
    FCursorFreq = Freq;
    FLabelPending = false;
    FLabelMoved.start();
    int Ox = 0;
    int Oy = 0;
    int R = 0;
    int X = 0;
    if (!FindPoint(Freq, Ox, Oy, R, X))
        return;
    const int Px = FCentreX + Ox;
    const int Py = FCentreY - Oy;
    const int W = FLabel.Width();
    const int H = FLabel.Height();
    FLabel.BrushColor = clWhite;
    FLabel.BrushSolid = true;
    FLabel.FontPixelSize = kLabelPixelSize;
    FLabel.FontBold = false;
    // Each text stands beside the point but within the chart's width (and the layer's), so
    // the label of a point near the rim stays in view. Measuring a text costs as much as
    // drawing it: each is measured once.
    const auto Text = [&](int Wanted, int Y, TColor Colour, const QString &Caption) {
        const int Width = FLabel.TextWidth(Caption);
        const int Left = std::max(FCentreX - FRadius, 0);
        const int Right = std::min(FCentreX + FRadius, W) - Width;
        LabelText(std::max(Left, std::min(Wanted, Right)), Y, Colour, Caption, Width);
    };
    Text(Px - 25, 0, clBlack, QStr(FormatFloat("#0.000", Freq / 1000.0)) + QStringLiteral(" MHz"));
    Text(Px - 20, H - 35, clGreen, QStringLiteral("Rx ") + QString::number(R));
    Text(Px - 20, H - 20, clPurple, QStringLiteral("Xx ") + QString::number(X));
    FLabel.SetPen(clGreen, psDot, 1);
    FLabel.PenMode = TPenMode::Copy;
    FLabel.MoveTo(0, Py);
    FLabel.LineTo(W, Py);
    FLabel.MoveTo(Px, H - 35);
    FLabel.LineTo(Px, 15);
    FLabelAreas.push_back(QRect(0, Py - 1, W, 3));
    FLabelAreas.push_back(QRect(Px - 1, 14, 3, H - 35 - 14 + 2));
}

void TSmithChart::ShowCursor(int Freq)
{
    const bool WasCurrent = FBufferCurrent;
    std::vector<QRect> Areas = FLabelAreas;
    DrawLabel(Freq);
    if (WasCurrent) {
        Areas.insert(Areas.end(), FLabelAreas.begin(), FLabelAreas.end());
        ComposeAreas(Areas);
    } else {
        Compose();
    }
}

void TSmithChart::SaveLines()
{
    FLines.clear();
    FLines.reserve(static_cast<qsizetype>(FPoints.size()));
    for (const TSmithPoint &P : FPoints)
        FLines.append(QStringLiteral("%1 %2 %3 \r").arg(P.Freq).arg(P.R).arg(P.X));
}

void TSmithChart::ReplotLines(const QStringList &ALines, int Z0)
{
    ClearPointLayer();
    ClearLabelLayer();
    bool Added = false;
    int LastFreq = 0;
    for (const QString &Line : ALines) {
        TLineFields Fields;
        if (!ReadLineFields(Line, Fields))
            continue;
        int Freq = 0;
        int R = 0;
        int X = 0;
        try {
            Freq = Round(Fields.FreqKHz);
            R = Round(Fields.R);
            X = Round(Fields.X);
        } catch (const EFloatError &) {
            // A field beyond the whole numbers a point holds: skipped like one that fails.
            continue;
        }
        AppendPoint(Freq, R, X, Z0);
        Added = true;
        LastFreq = Freq;
    }
    // Only the last point's label survives the loop, and nothing is painted in between.
    if (Added)
        DrawLabel(LastFreq);
    DrawPoints();
    Compose();
}

void TSmithChart::ReplotStored() { ReplotLines(FLines, ChImp); }
