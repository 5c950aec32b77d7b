#pragma once

#include "graph/TDraw.h"
#include "measure/SweepSeries.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

// The curves of one evaluated sweep as they were last drawn: what they were drawn from
// (empty before the first time), their segments in drawing order, and where each axis's
// curve ended. Drawing the same series onto unchanged axes replays the segments.
struct TCurveCache
{
    std::vector<double> From;
    std::vector<TCurveSegment> Segments;
    std::array<std::pair<int, int>, 7> Ends {};
};

// A sweep kept for comparison with the live one: its reply lines and a name for it (the
// file it came from, or the time it was kept). It is evaluated against the Z0 and the
// smoothing in use, as the live sweep is, and never saved.
struct TReferenceTrace
{
    QString Name;
    QStringList Lines;
    TSweepSeries Series;
    // The Z0 and smoothing the series were evaluated for, and that evaluation's number,
    // which the kept curves are tied to.
    std::optional<std::pair<int, bool>> EvaluatedFor;
    quint64 Evaluation = 0;
    TCurveCache Curves;
};

// Up to three reference traces, the oldest first.
class TReferenceTraces
{
public:
    static constexpr int MaxCount = 3;

    // Keeps Lines as a reference named Name. False, keeping nothing, when not one line reads
    // as a point. A fourth reference takes the place of the oldest, whose name goes to
    // Dropped.
    bool Add(const QString &Name, const QStringList &Lines, QString *Dropped = nullptr);
    void Clear();
    int Count() const { return static_cast<int>(FTraces.size()); }
    bool IsEmpty() const { return FTraces.empty(); }
    // Reference I, evaluated for Z0 and Smooth when it was not yet; Evaluation numbers each
    // evaluation of any series, so that two never share one.
    TReferenceTrace &Evaluated(int I, int Z0, bool Smooth, quint64 &Evaluations);
    const TReferenceTrace &At(int I) const { return FTraces.at(static_cast<std::size_t>(I)); }
    // Grows with every reference kept or cleared.
    quint64 Version() const { return FVersion; }

    // The pen of reference I's curve on an axis whose own curve is drawn with Live: the same
    // style and width in a lighter tint of its colour, lighter for each older reference.
    static TPropertyLine PenOf(const TPropertyLine &Live, int I, int Count);

private:
    std::vector<TReferenceTrace> FTraces;
    quint64 FVersion = 0;
};
