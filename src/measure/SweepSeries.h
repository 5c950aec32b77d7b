#pragma once

#include "numerics/TDoubleArray.h"

#include <QStringList>

// The series of one sweep: every reply line that reads as a point, evaluated against a
// reference impedance, one entry per point in point order. The live sweep and the reference
// traces are evaluated by the same code, so a reference drawn beside the live curves differs
// from them only by what was measured.
class TSweepSeries
{
public:
    // Rebuilds every series from Lines; what they held before is dropped. With Smooth, R and
    // X are smoothed over the point number before the values are derived from them.
    void Evaluate(const QStringList &Lines, double Z0, bool Smooth);
    // Empties every series.
    void ClearSeries();
    // The point of the lowest SWR the analyzer measured (the raw values), -1 when no point
    // qualifies.
    int MinPoint() const { return FMinPoint; }
    // The point whose frequency lies nearest to F (MHz), the lower one of two as near; -1
    // without points.
    int NearestPoint(double F) const;

    TDoubleArray Frequencies; // MHz, rounded to 3 decimals
    TDoubleArray Resistances; // R used for evaluation (smoothed when smoothing is on)
    TDoubleArray Reactances; // X used for evaluation (smoothed when smoothing is on)
    TDoubleArray RawResistances;
    TDoubleArray RawReactances;
    TDoubleArray Impedances;
    TDoubleArray RValues;
    TDoubleArray XValues;
    TDoubleArray SWRValues;
    TDoubleArray RLValues; // dB
    TDoubleArray PhaseValues; // degrees
    TDoubleArray CableLosses; // dB

private:
    void ParseLines(const QStringList &Lines);
    void SmoothSeries();
    void ComputeSeries(double Z0, bool Smooth);

    int FMinPoint = -1;
};
