#include "measure/TMereni.h"

#include "device/TComm.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "graph/TOsaX.h"
#include "graph/TOsaY.h"
#include "measure/Frequency.h"
#include "measure/Globals.h"
#include "measure/PointFormulas.h"
#include "measure/ReplyLineQt.h"
#include "measure/TSmithLink.h"
#include "numerics/SmoothCurve.h"
#include "platform/Errors.h"
#include "platform/FloatOps.h"
#include "platform/Guard.h"

#include <QProgressBar>

#include <cmath>
#include <exception>

namespace {

// Sweep step codes in 10 kHz units and the spans (in the same units) below which the finer
// steps are used: below 5 MHz 10 kHz steps, below 15 MHz 50 kHz steps, else 100 kHz.
constexpr int kStepFine = 1;
constexpr int kStepMedium = 5;
constexpr int kStepCoarse = 10;
constexpr int kSpanFine = 500;
constexpr int kSpanMedium = 1500;

// Below this frequency (MHz) no minimum-SWR cursor is placed.
constexpr double kMinCursorFrequency = 0.5;

} // namespace

TMereni::TMereni(TCanvas *ACanvas)
    : TDraw(ACanvas)
    , Comm(std::make_unique<TComm>())
{
    Watchdog.setInterval(WatchdogIntervalMs);
    QObject::connect(&Watchdog, &QTimer::timeout, &Watchdog,
        [this] { GuardHandler([this] { WatchdogTimer(); }); });
    CompleteTimer.setInterval(0);
    CompleteTimer.setSingleShot(true);
    QObject::connect(&CompleteTimer, &QTimer::timeout, &CompleteTimer, [this] {
        if (FMeasuring)
            GuardHandler([this] { WatchdogTimer(); });
    });
}

TMereni::~TMereni() = default;

void TMereni::StartSweep()
{
    Comm->Connect();

    const int start = Round(static_cast<long double>(OsaX->MinValue) * 100.0L);
    const int stop = Round(static_cast<long double>(OsaX->MaxValue) * 100.0L);

    if (ProgressBar) {
        ProgressBar->setMinimum(0);
        ProgressBar->setValue(0);
    }

    const int span = stop - start;
    int step = kStepCoarse;
    if (span < kSpanMedium)
        step = kStepMedium;
    if (span < kSpanFine)
        step = kStepFine;

    if (ProgressBar)
        ProgressBar->setMaximum(span / step);

    if (SmithFrame)
        SmithFrame->ClearChart();

    // A rejected command needs no handling: nothing arrives and the watchdog ends the sweep.
    const int sent = Comm->SendSweep(start, stop, step,
        [this](int Index, const QString &Received) { LineReceived(Index, Received); });
    ExpectedLines = sent == 0 ? span / step + 1 : 0;
    FReceivedLines = 0;
    CompleteTimer.stop();

    Watchdog.start();
    FMeasuring = true;
    if (OnStart)
        OnStart();
}

void TMereni::LineReceived(int Index, const QString &Received)
{
    static_cast<void>(Index);
    // The analyzer may send more than it was asked for: a complete sweep takes no more, so
    // a late line never joins the points of this sweep or the next.
    if (FMeasuring && ExpectedLines > 0 && FReceivedLines >= ExpectedLines)
        return;
    ++FReceivedLines;
    Watchdog.stop();
    if (!Received.isEmpty())
        ChangeCurrentLines().append(Received);
    if (ProgressBar && ProgressBar->value() < ProgressBar->maximum())
        ProgressBar->setValue(ProgressBar->value() + 1);
    if (FMeasuring && ExpectedLines > 0 && FReceivedLines >= ExpectedLines)
        CompleteTimer.start();
    else
        Watchdog.start();

    TLineFields fields;
    if (!ReadLineFields(Received, fields) || !SmithFrame)
        return;
    int freqKHz = 0;
    int r = 0;
    int x = 0;
    try {
        freqKHz = Round(fields.FreqKHz);
        r = Round(fields.R);
        x = Round(fields.X);
    } catch (const EFloatError &) {
        // Values beyond the integer range cannot be a point of the chart; the line stays
        // stored and the evaluation decides about it.
        return;
    }
    // A point the chart cannot map (a load of exactly -ChImp) is left off it by the chart
    // itself, without a message.
    SmithFrame->AddMeasuredPoint(freqKHz, r, x);
}

void TMereni::WatchdogTimer()
{
    Watchdog.stop();
    CompleteTimer.stop();

    // A port setting that no longer converts must not leave the sweep running for ever:
    // end it first, then report.
    std::exception_ptr portError;
    try {
        Comm->EnsureOpen();
        Comm->Close();
    } catch (...) {
        portError = std::current_exception();
    }

    if (SmithFrame)
        SmithFrame->DrawPending();
    if (ProgressBar)
        ProgressBar->setValue(0);
    FMeasuring = false;
    if (OnEnd)
        OnEnd();

    if (!CurrentLines().isEmpty()) {
        TakeCurrentLines();
        for (TFrekvence *cursor : { Cursor1, Cursor2, CursorMin })
            if (cursor)
                cursor->X = 0;
        if (Graph) {
            Graph->ClearLayers();
            Graph->DrawAll();
            Graph->Present(false);
        }
    }

    if (portError)
        std::rethrow_exception(portError);
}

void TMereni::SetCurrentLines(const QStringList &Lines) { ChangeCurrentLines() = Lines; }

void TMereni::SetLastLines(const QStringList &Lines) { ChangeLastLines() = Lines; }

void TMereni::ClearLines()
{
    ChangeCurrentLines().clear();
    ChangeLastLines().clear();
}

void TMereni::TakeCurrentLines()
{
    ++FLinesVersion;
    FSwapped = !FSwapped;
    ChangeCurrentLines().clear();
}

QStringList &TMereni::ChangeCurrentLines()
{
    ++FLinesVersion;
    return FSwapped ? FListB : FListA;
}

QStringList &TMereni::ChangeLastLines()
{
    ++FLinesVersion;
    return FSwapped ? FListA : FListB;
}

void TMereni::EvaluateSweep()
{
    // The series depend on nothing else; the curves and the minimum cursor also depend on
    // the axes, the range and the layer's size, so they are drawn on every call.
    const TEvaluationInputs inputs { FLinesVersion, ChImp, SmoothCurves };
    if (!KeepEvaluation || !(FEvaluatedFrom && *FEvaluatedFrom == inputs)) {
        // Series left half made by a failure belong to no inputs at all.
        FEvaluatedFrom.reset();
        ComputeEvaluation();
        FEvaluatedFrom = inputs;
        if (OnEvaluated)
            OnEvaluated();
    }

    // The references lie under the live curves, which are drawn last.
    for (int i = 0; i < References.Count(); ++i) {
        TReferenceTrace &trace = References.Evaluated(i, ChImp, SmoothCurves, FEvaluations);
        ResetCurvePaths();
        DrawCurves(trace.Series, trace.Evaluation, trace.Curves, i);
    }
    ResetCurvePaths();
    DrawCurves(*this, FLiveEvaluation, FLiveCurves, -1);
    PlaceMinimumCursor();
}

void TMereni::ResetCurvePaths()
{
    for (TOsaY *axis : CurveAxes())
        if (axis)
            axis->ResetPath();
}

void TMereni::ComputeEvaluation()
{
    // Without lines the series are empty too: what they held belongs to lines that are gone.
    FLiveEvaluation = ++FEvaluations;
    Evaluate(LastLines(), ChImp, SmoothCurves);
}

std::vector<double> TMereni::CurveInputs(quint64 Evaluation) const
{
    // Everything PlotPoint maps a value through: the series, the range and the layer's
    // size, the display mode, the reference impedance, and each axis's visibility and
    // scale. The pens are not among them: the kept segments are drawn with the pens as
    // they are now.
    std::vector<double> inputs { static_cast<double>(Evaluation),
        static_cast<double>(OsaX->PlotWidth()), static_cast<double>(OsaX->PlotHeight()),
        OsaX->MinValue, OsaX->MaxValue, static_cast<double>(MeasureMode),
        static_cast<double>(ChImp), static_cast<double>(OsaZ ? OsaZ->Kind : -1),
        static_cast<double>(OsaR ? OsaR->Kind : -1),
        static_cast<double>(OsaXX ? OsaXX->Kind : -1) };
    for (const TOsaY *axis : CurveAxes()) {
        inputs.push_back(axis ? 1.0 : 0.0);
        if (!axis)
            continue;
        inputs.insert(inputs.end(),
            { axis->IsVisible() ? 1.0 : 0.0, static_cast<double>(axis->PlotHeight()),
                axis->MinValue, axis->MaxValue, axis->TopValue });
    }
    return inputs;
}

std::array<TOsaY *, 7> TMereni::CurveAxes() const
{
    return { OsaPSV, OsaZ, OsaR, OsaXX, OsaRL, OsaT, OsaPhase };
}

void TMereni::DrawCurves(
    const TSweepSeries &Series, quint64 Evaluation, TCurveCache &Cache, int Reference)
{
    if (!OsaX)
        return;
    const std::array<TOsaY *, 7> axes = CurveAxes();
    std::vector<double> inputs = CurveInputs(Evaluation);
    if (KeepEvaluation && inputs == Cache.From) {
        // The same curves as last time.
        DrawSegments(axes, Cache.Segments, Reference);
        for (std::size_t a = 0; a < axes.size(); ++a) {
            if (axes[a]) {
                axes[a]->LastX = Cache.Ends[a].first;
                axes[a]->LastY = Cache.Ends[a].second;
            }
        }
        return;
    }
    Cache.From.clear();
    Cache.Segments.clear();
    for (std::size_t a = 0; a < axes.size(); ++a) {
        if (axes[a]) {
            axes[a]->Recording = &Cache.Segments;
            axes[a]->RecordTag = static_cast<int>(a);
        }
    }
    const auto stopRecording = [&axes] {
        for (TOsaY *axis : axes)
            if (axis)
                axis->Recording = nullptr;
    };
    try {
        PlotCurves(Series);
    } catch (...) {
        // What was plotted before the failure is drawn, as if point by point.
        stopRecording();
        DrawSegments(axes, Cache.Segments, Reference);
        throw;
    }
    stopRecording();
    DrawSegments(axes, Cache.Segments, Reference);
    for (std::size_t a = 0; a < axes.size(); ++a)
        if (axes[a])
            Cache.Ends[a] = { axes[a]->LastX, axes[a]->LastY };
    Cache.From = std::move(inputs);
}

void TMereni::DrawSegments(const std::array<TOsaY *, 7> &Axes,
    const std::vector<TCurveSegment> &Segments, int Reference) const
{
    // A reference draws with each axis's pen in its own tint.
    std::array<TPropertyLine, 7> lines {};
    for (std::size_t a = 0; a < Axes.size(); ++a)
        if (Axes[a])
            lines[a] = Reference < 0
                ? Axes[a]->Line
                : TReferenceTraces::PenOf(Axes[a]->Line, Reference, References.Count());
    // In the order they were plotted, so that where curves cross the same one lies on top.
    TCanvas *canvas = nullptr;
    bool oneCanvas = true;
    bool first = true;
    for (const TOsaY *axis : Axes) {
        if (axis) {
            oneCanvas = oneCanvas && (first || axis->Canvas == canvas);
            canvas = axis->Canvas;
            first = false;
        }
    }
    if (!canvas || !oneCanvas) {
        for (const TCurveSegment &segment : Segments) {
            const auto pen = static_cast<std::size_t>(segment.Pen);
            Axes[pen]->DrawLine(segment.X1, segment.Y1, segment.X2, segment.Y2, lines[pen]);
        }
        return;
    }
    std::array<TCanvasPen, 7> pens {};
    for (std::size_t a = 0; a < Axes.size(); ++a)
        pens[a] = { lines[a].Color, lines[a].Style, lines[a].Width };
    canvas->DrawLines(Segments, pens.data());
}

void TMereni::PlotCurves(const TSweepSeries &Series)
{
    const int n = Series.Frequencies.Count();
    for (int i = 0; i < n; ++i) {
        const double f = Series.Frequencies.Item(i);
        double x = Series.XValues.Item(i);
        // A reactance near zero would sit on the middle row and vanish in the grid line;
        // the curve is drawn just above it.
        if (std::fabs(x) < 1.0)
            x = 1.0;
        const struct
        {
            TOsaY *Axis;
            double Value;
            bool Present;
        } curves[] = {
            { OsaPSV, Series.SWRValues.Item(i), Series.SWRValues.Item(i) > 0.0 },
            { OsaZ, Series.Impedances.Item(i), Series.Impedances.Item(i) != 0.0 },
            { OsaR, Series.RValues.Item(i), Series.RValues.Item(i) != 0.0 },
            { OsaXX, x, x != 0.0 },
            { OsaRL, Series.RLValues.Item(i), Series.RLValues.Item(i) != 0.0 },
            { OsaT, Series.CableLosses.Item(i), Series.CableLosses.Item(i) != 0.0 },
            // 0 degrees is a real angle (X = 0 at resonance): the phase is there whenever
            // the point is, and a failed point is the one whose SWR reads 0.
            { OsaPhase, Series.PhaseValues.Item(i), Series.SWRValues.Item(i) != 0.0 },
        };
        try {
            for (const auto &curve : curves) {
                if (!curve.Axis)
                    continue;
                if (curve.Present)
                    curve.Axis->PlotPoint(*OsaX, curve.Value, f);
                else
                    curve.Axis->ResetPath();
            }
        } catch (const EKivraError &) {
            // An axis that cannot place this point gives up the rest of it; the next point
            // is drawn normally.
        }
    }
}

void TMereni::PlaceMinimumCursor()
{
    if (!CursorMin)
        return;
    const double minFrequency = MinPoint() >= 0 ? Frequencies.Item(MinPoint()) : 0.0;
    if (!(minFrequency > kMinCursorFrequency)) {
        // No point of this sweep qualifies: the cursor must not stay at the previous
        // sweep's minimum, where a drag step would draw it again, nor its row show it.
        CursorMin->X = 0;
        CursorMin->Frequency = 0.0;
        CursorMin->Point = -1;
        CursorMin->ShowNoPoint();
        return;
    }
    CursorMin->Visible = ShowMinSWR ? ShowMinSWR() : false;
    // The cursor stands on the minimum point itself, so its row shows that point and its
    // frequency, not the point at the column the frequency rounds to.
    CursorMin->Point = MinPoint();
    CursorMin->Frequency = minFrequency;
    if (CursorMin->IsVisible() && GraphRaster)
        CursorMin->Draw(GraphRaster->ColumnOf(minFrequency) + PlotLeft(), OsaX, OsaFRQ, OsaY);
}

void TMereni::GetPointSeries(const TDoubleArray *&OutFrequencies,
    const TDoubleArray *&OutResistances, const TDoubleArray *&OutReactances) const
{
    OutFrequencies = &Frequencies;
    OutResistances = &Resistances;
    OutReactances = &Reactances;
}
