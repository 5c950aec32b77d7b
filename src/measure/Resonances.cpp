#include "measure/Resonances.h"

#include "measure/PointFormulas.h"

#include <cstddef>

namespace {

// Where the straight line between two points crosses Level.
double Crossing(double F1, double S1, double F2, double S2, double Level)
{
    if (S2 == S1)
        return F1;
    return F1 + (Level - S1) * (F2 - F1) / (S2 - S1);
}

} // namespace

std::vector<TResonance> FindResonances(const std::vector<double> &FrequenciesMHz,
    const std::vector<double> &SWR, const std::vector<double> &R, const std::vector<double> &X,
    double Threshold)
{
    std::vector<TResonance> Found;
    std::size_t N = FrequenciesMHz.size();
    for (const std::vector<double> *Series : { &SWR, &R, &X })
        if (Series->size() < N)
            N = Series->size();
    const auto Valid = [&SWR](std::size_t I) { return SWR[I] >= 1.0; };
    const auto Below = [&](std::size_t I) { return Valid(I) && SWR[I] < Threshold; };

    std::size_t I = 0;
    while (I < N) {
        if (!Below(I)) {
            ++I;
            continue;
        }
        const std::size_t First = I;
        std::size_t Min = I;
        while (I < N && Below(I)) {
            if (SWR[I] < SWR[Min])
                Min = I;
            ++I;
        }
        const std::size_t Last = I - 1;

        TResonance Dip;
        Dip.Point = static_cast<int>(Min);
        Dip.FrequencyMHz = FrequenciesMHz[Min];
        Dip.SWR = SWR[Min];
        Dip.R = R[Min];
        Dip.X = X[Min];
        if (First > 0 && Valid(First - 1)) {
            Dip.HasLower = true;
            Dip.LowerMHz = Crossing(FrequenciesMHz[First - 1], SWR[First - 1],
                FrequenciesMHz[First], SWR[First], Threshold);
        }
        if (Last + 1 < N && Valid(Last + 1)) {
            Dip.HasUpper = true;
            Dip.UpperMHz = Crossing(FrequenciesMHz[Last], SWR[Last], FrequenciesMHz[Last + 1],
                SWR[Last + 1], Threshold);
        }
        // A dip the sweep never leaves (a matched dummy load) or whose lowest point is the
        // end of the sweep has no minimum within it: the resonance, if any, lies outside.
        if ((!Dip.HasLower && !Dip.HasUpper) || Min == 0 || Min + 1 == N)
            continue;
        if (Dip.HasLower && Dip.HasUpper) {
            Dip.HasBandwidth = true;
            Dip.BandwidthKHz = (Dip.UpperMHz - Dip.LowerMHz) * 1000.0;
            Dip.QValid = ComputeQ(Dip.LowerMHz, Dip.UpperMHz, Dip.Q);
        }
        Found.push_back(Dip);
    }
    return Found;
}
