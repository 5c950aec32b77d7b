#include "graph/TOsaX.h"

#include "graph/TOsaY.h"
#include "platform/FloatOps.h"
#include "platform/Format.h"

TOsaX::TOsaX(TCanvas *ACanvas, double AMinValue, double AMaxValue)
    : TDraw(ACanvas)
    , MaxValue(AMaxValue)
    , MinValue(AMinValue)
{
    Line.Style = psSolid;
}

double TOsaX::Scale() const
{
    const int Width = PlotWidth();
    if (FScaleKnown && Width == FScaleWidth && MinValue == FScaleMin && MaxValue == FScaleMax)
        return FScale;
    // Difference and quotient in extended precision, then held as a Double: rounding the
    // quotient twice moves some columns by one against a quotient rounded once.
    const long double Q = FDiv(static_cast<long double>(Width),
        static_cast<long double>(MaxValue) - static_cast<long double>(MinValue));
    FScale = FCheck(static_cast<double>(Q));
    FScaleKnown = true;
    FScaleWidth = Width;
    FScaleMin = MinValue;
    FScaleMax = MaxValue;
    return FScale;
}

int TOsaX::ValueToX(double Frequency) const
{
    const double F = Frequency < MinValue ? MinValue : Frequency;
    const long double S = Scale();
    // Both products and their difference in extended precision: a frequency halfway between
    // two columns must land on the same column as the raster puts it, or a curve point and
    // a cursor at one frequency would stand a column apart.
    return AddPixels(
        Round(S * static_cast<long double>(F) - S * static_cast<long double>(MinValue)), 35);
}

int TOsaX::CurveX(double Frequency) const
{
    const double S = Scale();
    if (FCurveKnown && Frequency == FCurveFrequency && S == FCurveScale && MinValue == FCurveMin)
        return FCurveColumn;
    const long double Ls = S;
    const int Column = AddPixels(
        Round(Ls * static_cast<long double>(Frequency) - Ls * static_cast<long double>(MinValue)),
        35);
    FCurveKnown = true;
    FCurveFrequency = Frequency;
    FCurveScale = S;
    FCurveMin = MinValue;
    FCurveColumn = Column;
    return Column;
}

TOsaFRQ::TOsaFRQ(TCanvas *ACanvas)
    : TDraw(ACanvas)
{
    Line = TPropertyLine(clSilver, psDot, 1);
    Text.Color = clGray;
}

void TOsaFRQ::DrawGrid(const TOsaX &AOsaX, const TOsaY &AOsaY)
{
    OsaX = &AOsaX;
    OsaY = &AOsaY;
    if (!IsVisible())
        return;
    // Without a raster (a range of zero width, a plot without width) no column has a
    // frequency, and a grid line would stand at an invented one.
    if (!GraphRaster || GraphRaster->Count() == 0)
        return;
    const double Step
        = static_cast<double>((static_cast<long double>(AOsaX.MaxValue) - AOsaX.MinValue) / 5.0L);
    const int Bottom = AOsaY.BottomY();
    for (int I = 0; I <= 5; ++I) {
        const double F = static_cast<double>(I * static_cast<long double>(Step) + AOsaX.MinValue);
        const int C = GraphRaster->ColumnOf(F);
        const double Shown = GraphRaster->FrequencyAt(C);
        const int X = C + 35;
        DrawLine(X, 50, X, Bottom, Line);
        DrawText(X - 15, Bottom + 13, FormatFloat("0.000", Shown), Text);
    }
}

TRastrFr::TRastrFr(const TOsaX *AOsaX, const TOsaFRQ *AOsaFRQ)
    : OsaX(AOsaX)
    , OsaFRQ(AOsaFRQ)
{
}

void TRastrFr::Rebuild()
{
    ColumnFrequencies.clear();
    Built = true;
    BuiltWidth = OsaX ? OsaX->PlotWidth() : 0;
    BuiltMin = OsaX ? OsaX->MinValue : 0.0;
    BuiltMax = OsaX ? OsaX->MaxValue : 0.0;
    if (!OsaX)
        return;
    const double Span = static_cast<double>(static_cast<long double>(BuiltMax) - BuiltMin);
    if (Span == 0.0)
        return;
    // A plot of no width has no step; one of negative width (a layer narrower than the
    // margins) has no columns.
    if (BuiltWidth <= 0)
        return;
    const double Step = static_cast<double>(static_cast<long double>(Span) / BuiltWidth);
    ColumnFrequencies.reserve(static_cast<std::size_t>(BuiltWidth) + 1);
    for (int C = 0; C <= BuiltWidth; ++C)
        ColumnFrequencies.push_back(
            static_cast<double>(C * static_cast<long double>(Step) + BuiltMin));
}

void TRastrFr::EnsureCurrent() const
{
    if (!OsaX)
        return;
    if (Built && BuiltWidth == OsaX->PlotWidth() && BuiltMin == OsaX->MinValue
        && BuiltMax == OsaX->MaxValue)
        return;
    const_cast<TRastrFr *>(this)->Rebuild();
}

int TRastrFr::Count() const
{
    EnsureCurrent();
    return static_cast<int>(ColumnFrequencies.size());
}

double TRastrFr::FrequencyAt(int Column) const
{
    EnsureCurrent();
    const int N = static_cast<int>(ColumnFrequencies.size());
    if (Column >= N)
        return 0.0;
    if (Column >= 0)
        return ColumnFrequencies[static_cast<std::size_t>(Column)];
    if (N < 2)
        return 0.0;
    const long double Step = static_cast<long double>(ColumnFrequencies[1]) - ColumnFrequencies[0];
    return static_cast<double>(ColumnFrequencies[0] + Column * Step);
}

int TRastrFr::ColumnOf(double Frequency) const
{
    EnsureCurrent();
    const int N = static_cast<int>(ColumnFrequencies.size());
    for (int I = 0; I < N; ++I) {
        const double A = ColumnFrequencies[static_cast<std::size_t>(I)];
        if (A == Frequency)
            return I;
        if (I > 0) {
            const double Prev = ColumnFrequencies[static_cast<std::size_t>(I - 1)];
            if (Prev < Frequency && Frequency < A) {
                // Distances in extended precision, so an exact half step is a tie and goes
                // to the upper column.
                const long double Up = static_cast<long double>(A) - Frequency;
                const long double Down = static_cast<long double>(Frequency) - Prev;
                return Up > Down ? I - 1 : I;
            }
        }
        if (I == N - 1)
            return I;
        if (A > Frequency)
            return -1;
    }
    return -1;
}

int FrequencyToColumn(const TRastrFr *GraphRaster, double Frequency)
{
    if (!GraphRaster || !GraphRaster->OsaX)
        return -1;
    const TOsaX &X = *GraphRaster->OsaX;
    if (Frequency < X.MinValue || Frequency > X.MaxValue)
        return -1;
    return GraphRaster->ColumnOf(Frequency) + 35;
}
