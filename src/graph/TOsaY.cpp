#include "graph/TOsaY.h"

#include "measure/Globals.h"
#include "platform/Errors.h"
#include "platform/FloatOps.h"
#include "platform/Format.h"

#include <cmath>

const double SwrTicks[10] = { 1.0, 1.2, 1.5, 2.0, 2.5, 3.0, 5.0, 7.0, 10.0, 50.0 };

namespace {

const double TickFactors[8] = { 0.0, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 200.0 };

// Rows of the impedance and reactance axes stay inside the plot. The row comes in 64 bits:
// a load just above -ChImp rounds to a row near the end of the int range, which is clamped
// like any other row below the plot instead of wrapping round to the top.
int ClampToPlot(long long Y, int PlotHeight)
{
    if (Y < 50)
        Y = 50;
    if (Y > PlotHeight + 50)
        Y = PlotHeight + 50;
    return static_cast<int>(Y);
}

// u = r / (1 + r) for r = Magnitude / ChImp, each step stored as a Double, so a magnitude
// lands on the same row in every build. ChImp 0 or a magnitude of -ChImp raises EFloatError.
double OhmFraction(double Magnitude)
{
    const double R = static_cast<double>(
        FDiv(static_cast<long double>(Magnitude), static_cast<long double>(ChImp)));
    const double T = static_cast<double>(FDiv(1.0L, static_cast<long double>(R) + 1.0L));
    return static_cast<double>((2.0L - 2.0L * T) / 2.0L);
}

} // namespace

std::array<double, 8> TickTableOf(int Z0)
{
    std::array<double, 8> Ticks {};
    for (std::size_t I = 0; I < Ticks.size(); ++I)
        Ticks[I] = static_cast<double>(static_cast<long double>(Z0) * TickFactors[I]);
    return Ticks;
}

// ---- TOsaY ----

TOsaY::TOsaY(TCanvas *ACanvas)
    : TDraw(ACanvas)
{
}

int TOsaY::BottomY() const { return PlotHeight() + 50; }

double TOsaY::Scale() const
{
    // Asked at every point of a curve; the quotient is kept for the height and range it is of.
    const int Height = PlotHeight();
    if (FScaleKnown && Height == FScaleHeight && MinValue == FScaleMin && MaxValue == FScaleMax)
        return FScale;
    FScale = FDiv(static_cast<double>(Height), MaxValue - MinValue);
    FScaleKnown = true;
    FScaleHeight = Height;
    FScaleMin = MinValue;
    FScaleMax = MaxValue;
    return FScale;
}

int TOsaY::ValueToY(double Value) const
{
    return AddPixels(Round(static_cast<long double>(Scale()) * Value), 50);
}

void TOsaY::PlotPoint(const TOsaX &OsaX, double Value, double Frequency)
{
    if (IsVisible())
        LineToPoint(OsaX.CurveX(Frequency), ValueToY(Value));
}

void TOsaY::PlotClampedPoint(int X, int Y)
{
    if ((Y == 50 || Y == PlotHeight() + 50) && Y == LastY)
        LastX = X;
    else
        LineToPoint(X, Y);
}

void TOsaY::DrawFrame()
{
    const int Right = PlotRight();
    const int Bottom = PlotBottom();
    DrawLine(35, 50, 35, Bottom, Line);
    DrawLine(35, 50, Right, 50, Line);
    DrawLine(Right, 50, Right, Bottom, Line);
    DrawLine(35, Bottom, Right, Bottom, Line);
}

// ---- TOsaRL ----

TOsaRL::TOsaRL(TCanvas *ACanvas)
    : TOsaY(ACanvas)
{
    ModeGroup = TModeGroup::ImpedanceOnly;
    MinValue = 0.0;
    MaxValue = 30.0;
    Line = TPropertyLine(clBlack, psDot, 1);
    Text.Color = clBlue;
}

void TOsaRL::DrawAxis(int X, const TOsaX &OsaX)
{
    if (!IsVisible())
        return;
    DrawText(X - 26, ValueToY(0.0) - 15, "RL", Text);
    for (int I = 0; I <= 3; ++I) {
        const double V
            = static_cast<double>(I * (static_cast<long double>(MaxValue) - MinValue) / 3);
        const int Y = ValueToY(V);
        if (V == 0.0)
            DrawText(X - 20, Y, "0db", Text);
        else
            DrawText(X - 26, Y, FormatFloat("0", V) + "db", Text);
        if (I != 3 && Grid)
            DrawLine(X - 15, Y, OsaX.ValueToX(OsaX.MaxValue), Y, GridLine);
        else
            DrawLine(X - 15, Y, X - 1, Y, Line);
    }
}

// ---- TOsaT ----

TOsaT::TOsaT(TCanvas *ACanvas)
    : TOsaY(ACanvas)
{
    ModeGroup = TModeGroup::CableLossOnly;
    MinValue = 0.0;
    MaxValue = 10.0;
    Line = TPropertyLine(clBlack, psDot, 1);
    Text.Color = clBlue;
}

void TOsaT::DrawAxis(int X, const TOsaX &OsaX)
{
    if (!IsVisible())
        return;
    DrawText(X - 26, ValueToY(0.0) - 20, "Útlum kabelu [dB]", Text);
    for (int I = 0; I <= 10; ++I) {
        const double V
            = static_cast<double>(I * (static_cast<long double>(MaxValue) - MinValue) / 10);
        const int Y = ValueToY(V);
        if (V == 0.0)
            DrawText(X - 18, Y, "0", Text);
        else if (V == 10.0)
            DrawText(X - 27, Y, FormatFloat("00", V), Text);
        else
            DrawText(X - 20, Y, FormatFloat("0", V), Text);
        if (I != 10 && Grid)
            DrawLine(X - 5, Y, OsaX.ValueToX(OsaX.MaxValue), Y, GridLine);
        else
            DrawLine(X - 5, Y, X - 1, Y, Line);
    }
}

// ---- TOsaPSV ----

TOsaPSV::TOsaPSV(TCanvas *ACanvas)
    : TOsaY(ACanvas)
{
    ModeGroup = TModeGroup::ImpedanceOnly;
    MinValue = 0.0;
    MaxValue = 11.0;
    TopValue = 11.0;
    Line = TPropertyLine(clBlack, psDot, 1);
    Text.Color = clRed;
}

int TOsaPSV::ValueToY(double Value) const
{
    const long double S = Scale();
    return AddPixels(AddPixels(Round(S * TopValue), 50), -static_cast<long long>(Round(S * Value)));
}

void TOsaPSV::DrawAxis(int X, const TOsaX &OsaX)
{
    if (!IsVisible())
        return;
    DrawText(X + 5, ValueToY(MaxValue) - 15, "PSV", Text);
    for (int I = 0; I <= 9; ++I) {
        const double S = SwrTicks[I];
        const int Y = ValueToY(static_cast<double>(10.0L * FLog10(S)));
        DrawText(I == 9 ? X + 5 : X + 10, Y, FloatToStr(S), Text);
        if (I > 0) {
            if (Grid)
                DrawLine(X + 5, Y, OsaX.ValueToX(OsaX.MaxValue), Y, GridLine);
            else
                DrawLine(X + 5, Y, X + 20, Y, Line);
        }
    }
}

void TOsaPSV::PlotPoint(const TOsaX &OsaX, double Value, double Frequency)
{
    if (!IsVisible() || Value == 0.0 || !(Value <= SwrTicks[9]))
        return;
    const int X = OsaX.CurveX(Frequency);
    double Level;
    try {
        Level = static_cast<double>(10.0L * FLog10(Value));
    } catch (const EFloatError &) {
        // A negative SWR (a load with negative resistance) has no place on this axis.
        return;
    }
    LineToPoint(X, ValueToY(Level));
}

// ---- TOsaPHASE ----

TOsaPHASE::TOsaPHASE(TCanvas *ACanvas)
    : TOsaY(ACanvas)
{
    ModeGroup = TModeGroup::ImpedanceKeptForLength;
    MinValue = -180.0;
    MaxValue = 180.0;
    TopValue = 180.0;
    Line = TPropertyLine(clMaroon, psDot, 1);
    Text.Color = clBlack;
}

int TOsaPHASE::ValueToY(double Value) const
{
    const long double S = Scale();
    return AddPixels(AddPixels(Round(S * TopValue), 50), -static_cast<long long>(Round(S * Value)));
}

void TOsaPHASE::DrawAxis(int X, const TOsaX &OsaX)
{
    if (!IsVisible())
        return;
    DrawText(X - 40, ValueToY(180.0) - 15, "PHASE", Text);
    for (int I = 0; I <= 8; ++I) {
        const double V
            = static_cast<double>(I * (static_cast<long double>(MaxValue) - MinValue) / 8);
        if (std::fabs(V) > 180.0)
            break;
        for (const double Signed : { V, -V }) {
            const int Y = ValueToY(Signed);
            if (I == 0)
                DrawText(X - 20, Y, "0°", Text);
            else
                DrawText(X - 26, Y, FormatFloat("0", Signed) + "°", Text);
            if (I != 8 && Grid)
                DrawLine(
                    OsaX.ValueToX(OsaX.MinValue), Y, OsaX.ValueToX(OsaX.MaxValue), Y, GridLine);
            else
                DrawLine(X - 15, Y, X - 1, Y, Line);
        }
    }
}

// ---- TOsaOHM ----

TOsaOHM::TOsaOHM(TCanvas *ACanvas)
    : TOsaY(ACanvas)
{
    ModeGroup = TModeGroup::ImpedanceKeptForLength;
    Line = TPropertyLine(clBlack, psDot, 1);
    Text.Color = clFuchsia;
    SetRange();
}

void TOsaOHM::SetRange(double WantedMax)
{
    (void)WantedMax;
    OhmTicks = TickTableOf(ChImp);
    MaxValue = OhmTicks[7];
    TopValue = MaxValue;
    TickCount = 8;
}

int TOsaOHM::ValueToY(double Value) const
{
    const int H = PlotHeight();
    const double W = static_cast<double>(H * static_cast<long double>(OhmFraction(Value)));
    return ClampToPlot(static_cast<long long>(H) + 50 - Round(W), H);
}

void TOsaOHM::DrawAxis(int X, const TOsaX &OsaX)
{
    if (!IsVisible() && !(ShowScale && MeasureMode != mmCableLoss))
        return;
    if (MeasureMode == mmCableLength && Kind != 2)
        return;
    // The scale follows the reference impedance it is drawn against, whoever changed it.
    if (OhmTicks != TickTableOf(ChImp))
        SetRange();
    DrawText(X + 5, ValueToY(MaxValue) - 15, MeasureMode == mmCableLength ? "Z" : "Z,R", Text);
    const int Count = TickCount < 8 ? TickCount : 8;
    for (int I = 0; I < Count; ++I) {
        const double V = OhmTicks[I];
        const int Y = ValueToY(V);
        DrawText(X + 10, Y, FloatToStr(V), Text);
        const TPropertyLine *Pen = &GridLine;
        if (V == ChImp) {
            RefLine.Color = GridLine.Color;
            Pen = &RefLine;
        }
        if (Grid)
            DrawLine(OsaX.ValueToX(OsaX.MinValue), Y, OsaX.ValueToX(OsaX.MaxValue), Y, *Pen);
        else
            DrawLine(X + 5, Y, X + 20, Y, Line);
    }
}

void TOsaOHM::PlotPoint(const TOsaX &OsaX, double Value, double Frequency)
{
    if (!IsVisible() || (MeasureMode == mmCableLength && Kind != 2))
        return;
    PlotClampedPoint(OsaX.CurveX(Frequency), ValueToY(Value));
}

// ---- TOsaXX ----

TOsaXX::TOsaXX(TCanvas *ACanvas)
    : TOsaY(ACanvas)
{
    ModeGroup = TModeGroup::ImpedanceOnly;
    Line = TPropertyLine(clBlack, psDot, 1);
    Text.Color = clFuchsia;
    SetRange();
}

void TOsaXX::SetRange(double WantedMax)
{
    (void)WantedMax;
    ReactanceTicks = TickTableOf(ChImp);
    MaxValue = ReactanceTicks[7];
    MinValue = -MaxValue;
    TopValue = MaxValue / 2;
    TickCount = 8;
}

int TOsaXX::ValueToY(double Value) const
{
    const bool Negative = Value < 0.0;
    const int H = PlotHeight();
    double W = static_cast<double>(H * static_cast<long double>(OhmFraction(std::fabs(Value))) / 2);
    if (Negative)
        W = -W;
    return ClampToPlot(static_cast<long long>(H / 2) + 50 - Round(W), H);
}

void TOsaXX::DrawAxis(int X, const TOsaX &OsaX, bool PsvVisible)
{
    const int Offset = PsvVisible ? 30 : 5;
    if (!IsVisible() && !(ShowScale && MeasureMode != mmCableLoss))
        return;
    if (MeasureMode == mmCableLength && Kind != 2)
        return;
    if (ReactanceTicks != TickTableOf(ChImp))
        SetRange();
    DrawText(X + Offset + 5, ValueToY(MaxValue) - 15, "X", Text);
    const int Count = TickCount < 8 ? TickCount : 8;
    for (int I = 0; I < Count; ++I) {
        for (int Sign = 0; Sign < 2; ++Sign) {
            if (Sign == 1 && I == 0)
                break;
            const double V = Sign == 0 ? ReactanceTicks[I] : -ReactanceTicks[I];
            const int Y = ValueToY(V);
            DrawText(X + Offset + 5, Y, FloatToStr(V), Text);
            if (Grid)
                DrawLine(
                    OsaX.ValueToX(OsaX.MinValue), Y, OsaX.ValueToX(OsaX.MaxValue), Y, GridLine);
            else
                DrawLine(X + Offset, Y, X + Offset + (I == 0 ? 30 : 15), Y, Line);
        }
    }
}

void TOsaXX::PlotPoint(const TOsaX &OsaX, double Value, double Frequency)
{
    if (!IsVisible() || (MeasureMode == mmCableLength && Kind != 2))
        return;
    PlotClampedPoint(OsaX.CurveX(Frequency), ValueToY(Value));
}
