#include "measure/ReferenceTraces.h"

#include "platform/Color.h"

bool TReferenceTraces::Add(const QString &Name, const QStringList &Lines, QString *Dropped)
{
    TReferenceTrace trace;
    trace.Name = Name;
    trace.Lines = Lines;
    // Whether a line reads as a point does not depend on Z0 or the smoothing.
    trace.Series.Evaluate(Lines, 50.0, false);
    if (trace.Series.Frequencies.Count() == 0)
        return false;
    if (Count() == MaxCount) {
        if (Dropped)
            *Dropped = FTraces.front().Name;
        FTraces.erase(FTraces.begin());
    }
    FTraces.push_back(std::move(trace));
    ++FVersion;
    return true;
}

void TReferenceTraces::Clear()
{
    FTraces.clear();
    ++FVersion;
}

TReferenceTrace &TReferenceTraces::Evaluated(int I, int Z0, bool Smooth, quint64 &Evaluations)
{
    TReferenceTrace &trace = FTraces.at(static_cast<std::size_t>(I));
    const std::pair<int, bool> inputs { Z0, Smooth };
    if (trace.EvaluatedFor != inputs) {
        trace.EvaluatedFor.reset();
        trace.Series.Evaluate(trace.Lines, Z0, Smooth);
        trace.EvaluatedFor = inputs;
        trace.Evaluation = ++Evaluations;
    }
    return trace;
}

TPropertyLine TReferenceTraces::PenOf(const TPropertyLine &Live, int I, int Count)
{
    // The newest reference is the darkest of them, still well apart from the live curve.
    const int age = Count - 1 - I;
    const int white = 55 + 12 * age; // percent of white mixed in
    const auto mix = [white](int Channel) { return Channel + (255 - Channel) * white / 100; };
    const TColor c = Live.Color;
    TPropertyLine pen = Live;
    pen.Color = RGBColor(mix(RedOf(c)), mix(GreenOf(c)), mix(BlueOf(c)));
    return pen;
}
