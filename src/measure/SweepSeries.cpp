#include "measure/SweepSeries.h"

#include "measure/Frequency.h"
#include "measure/PointFormulas.h"
#include "measure/ReplyLineQt.h"
#include "numerics/SmoothCurve.h"
#include "platform/Errors.h"

#include <cmath>

namespace {

// The smoothing window over the point number and its degree parameter.
constexpr int kSmoothWindow = 16;
constexpr int kSmoothDegree = 2;

// The minimum search starts above any SWR a real load gives.
constexpr double kMinSWRStart = 100000.0;

// The SWR the analyzer measured at a point, for the minimum search; 0 when the point has
// none. The minimum marks a point measured low, so it reads the raw values: the smoothing
// window rings beside sharp impedance peaks and can draw a low SWR where the load reflects
// nearly everything. A reflection of 1 or more (R = 0, a reactance so large that |Gamma|
// rounds to 1, a negative R) gives an SWR below 1 here, the replacement of about -2e7
// included, and is never a minimum.
double MeasuredSWR(double R, double X, double Z0)
{
    try {
        return ComputeSWR(R, X, Z0);
    } catch (const EFloatError &) {
        return 0.0;
    }
}

} // namespace

void TSweepSeries::ClearSeries()
{
    for (TDoubleArray *series :
        { &Frequencies, &Resistances, &Reactances, &RawResistances, &RawReactances, &Impedances,
            &RValues, &XValues, &SWRValues, &RLValues, &PhaseValues, &CableLosses })
        series->Clear();
    FMinPoint = -1;
}

void TSweepSeries::Evaluate(const QStringList &Lines, double Z0, bool Smooth)
{
    ClearSeries();
    ParseLines(Lines);
    if (Smooth)
        SmoothSeries();
    ComputeSeries(Z0, Smooth);
}

int TSweepSeries::NearestPoint(double F) const
{
    const int n = Frequencies.Count();
    if (n == 0)
        return -1;
    int best = 0;
    for (int i = 1; i < n; ++i)
        if (std::fabs(Frequencies.Item(i) - F) < std::fabs(Frequencies.Item(best) - F))
            best = i;
    return best;
}

void TSweepSeries::ParseLines(const QStringList &Lines)
{
    const int most = static_cast<int>(Lines.size());
    for (TDoubleArray *series :
        { &RawReactances, &RawResistances, &Frequencies, &Resistances, &Reactances })
        series->Reserve(most);
    for (const QString &line : Lines) {
        if (line.isEmpty())
            continue;
        TLineFields fields;
        if (!ReadLineFields(line, fields))
            continue;
        double f = 0.0;
        try {
            f = KHzToMHz(fields.FreqKHz);
        } catch (const EFloatError &) {
            // A frequency beyond any integer count of kHz is garbage, not a point.
            continue;
        }
        RawReactances.Add(fields.X);
        RawResistances.Add(fields.R);
        Frequencies.Add(f);
        Resistances.Add(fields.R);
        Reactances.Add(fields.X);
    }
}

void TSweepSeries::SmoothSeries()
{
    const int n = Frequencies.Count();
    TDoubleArray index;
    index.Reserve(n);
    for (int i = 0; i < n; ++i)
        index.Add(i);
    try {
        SmoothCurvePair(index, RawReactances, RawResistances, kSmoothWindow, kSmoothDegree,
            Reactances, Resistances);
    } catch (const EKivraError &) {
        // The smoothing has shown its message; the points it did not write keep their raw
        // values and the sweep is still evaluated.
    }
    // A fit over extreme values can overflow; such a point keeps its raw value rather than
    // carrying an infinity into the readouts.
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(Reactances.Item(i)))
            Reactances.ItemRef(i) = RawReactances.Item(i);
        if (!std::isfinite(Resistances.Item(i)))
            Resistances.ItemRef(i) = RawResistances.Item(i);
    }
}

void TSweepSeries::ComputeSeries(double Z0, bool Smooth)
{
    double minSWR = kMinSWRStart;
    const int n = Frequencies.Count();
    for (TDoubleArray *series :
        { &Impedances, &RValues, &XValues, &SWRValues, &RLValues, &PhaseValues, &CableLosses })
        series->Reserve(n);
    for (int i = 0; i < n; ++i) {
        const double f = Frequencies.Item(i);
        const double r = Resistances.Item(i);
        const double x = Reactances.Item(i);
        TPointValues v;
        try {
            ComputePoint(r, x, f, Z0, v);
        } catch (const EFloatError &) {
            // Every series keeps one entry per point; a failed point reads as zeros and is
            // not drawn.
            for (TDoubleArray *series : { &Impedances, &RValues, &XValues, &SWRValues, &RLValues,
                     &PhaseValues, &CableLosses })
                series->Add(0.0);
            continue;
        }
        const double rawSWR = (Smooth && i < RawResistances.Count())
            ? MeasuredSWR(RawResistances.Item(i), RawReactances.Item(i), Z0)
            : (v.SWRValid ? v.SWR : 0.0);
        if (rawSWR >= 1.0 && rawSWR < minSWR) {
            minSWR = rawSWR;
            FMinPoint = i;
        }
        Impedances.Add(v.Z);
        RValues.Add(r);
        XValues.Add(x);
        SWRValues.Add(v.SWR);
        RLValues.Add(v.RL);
        PhaseValues.Add(v.Angle);
        CableLosses.Add(v.CableLoss);
    }
}
