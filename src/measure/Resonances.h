#pragma once

#include <vector>

// One dip of the SWR curve below the threshold: the point of lowest SWR within it, and where
// the curve crosses the threshold on either side.
struct TResonance
{
    int Point = -1; // index of the minimum in the series
    double FrequencyMHz = 0.0;
    double SWR = 0.0;
    double R = 0.0;
    double X = 0.0;
    // Interpolated between the points on either side of the threshold; absent where the dip
    // runs off the end of the sweep or into a point that could not be evaluated.
    bool HasLower = false;
    double LowerMHz = 0.0;
    bool HasUpper = false;
    double UpperMHz = 0.0;
    // Only when both crossings are known.
    bool HasBandwidth = false;
    double BandwidthKHz = 0.0;
    bool QValid = false;
    double Q = 0.0;
};

// Every dip of SWR below Threshold in a sweep, in frequency order; all four series hold one
// value per point. A point whose SWR is below 1 (one that could not be evaluated reads 0)
// belongs to no dip and bounds the dips beside it. Each dip gives one entry, at its lowest
// point: the wiggles of a noisy minimum are not resonances of their own. A dip that never
// crosses the threshold within the sweep, or whose lowest point is the first or last, is
// left out: its minimum is not in the sweep.
std::vector<TResonance> FindResonances(const std::vector<double> &FrequenciesMHz,
    const std::vector<double> &SWR, const std::vector<double> &R, const std::vector<double> &X,
    double Threshold);
