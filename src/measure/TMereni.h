#pragma once

#include "graph/TDraw.h"
#include "measure/ReferenceTraces.h"
#include "measure/SweepSeries.h"
#include "measure/Touchstone.h"
#include "numerics/TDoubleArray.h"

#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QProgressBar;
class TAnGraph;
class TComm;
class TFrekvence;
class TOsaFRQ;
class TOsaOHM;
class TOsaPHASE;
class TOsaPSV;
class TOsaRL;
class TOsaT;
class TOsaX;
class TOsaXX;
class TOsaY;
class TRastrFr;
class TSmithLink;

// Runs one sweep of the analyzer at a time and keeps what it measured. The frequency range
// of the graph becomes the sweep command; every reply line is stored and sent to the Smith
// chart at once; a sweep ends as soon as the last line the command asks for has arrived, or
// when the analyzer has been silent for a second (a sweep cut short or never started), and
// then the graph is redrawn, which evaluates the stored lines into the series and curves.
//
// Owned by the graph model, which sets the links to its axes and cursors right after
// creation. Lines are held one character per received byte (Latin-1).
class TMereni : public TDraw, public TSweepSeries
{
public:
    static constexpr int WatchdogIntervalMs = 1000;

    explicit TMereni(TCanvas *ACanvas);
    ~TMereni();
    TMereni(const TMereni &) = delete;
    TMereni &operator=(const TMereni &) = delete;

    // The lines of the running sweep, and those of the last complete sweep or loaded file.
    // They change only through the operations below, each of which counts the change.
    const QStringList &CurrentLines() const { return FSwapped ? FListB : FListA; }
    const QStringList &LastLines() const { return FSwapped ? FListA : FListB; }
    // Replace one list; nothing is redrawn.
    void SetCurrentLines(const QStringList &Lines);
    void SetLastLines(const QStringList &Lines);
    // Empties both lists: the range they were measured over is gone.
    void ClearLines();
    // Grows by one with every change to either list, so whoever keeps what it derived from
    // the lines can tell whether they are still the ones it saw.
    quint64 LinesVersion() const { return FLinesVersion; }
    // Which of the two lists collects the running sweep; it flips each time the collected
    // lines become the last sweep.
    bool Swapped() const { return FSwapped; }

    // True from StartSweep until the sweep has ended.
    bool Measuring() const { return FMeasuring; }

    // Sends the sweep command for the range of OsaX and starts the watchdog. Raises the
    // configuration's conversion error when the port settings are not numbers.
    void StartSweep();
    // The line callback given to Comm with the sweep command; Index is not used.
    void LineReceived(int Index, const QString &Received);
    // The watchdog's tick: the analyzer has fallen silent, so the sweep is over. Also the end
    // of a complete sweep, run from the event loop right after its last line.
    void WatchdogTimer();
    // Lines (empty ones included) received since the last sweep command.
    int ReceivedLines() const { return FReceivedLines; }
    // Rebuilds the 12 series from LastLines, draws the curves through the axes and places
    // the minimum-SWR cursor. Called by the graph model's DrawAll.
    void EvaluateSweep();
    // The series the cursor readouts look points up in (the arrays themselves).
    void GetPointSeries(const TDoubleArray *&OutFrequencies, const TDoubleArray *&OutResistances,
        const TDoubleArray *&OutReactances) const;

    // Measurement files (8-bit text, CR LF). The writers save LastLines after asking before
    // they replace an existing file, and report the count of LastLines. A file is replaced
    // only once it has been written completely: any failure leaves the old file as it was
    // and raises EKivraError with the reason, and no count is reported. The S11, CSV and
    // Touchstone writers leave out the points that cannot be evaluated; when not one is
    // left they write nothing and say so.
    void SaveTXT(const QString &FileName);
    void SaveS11(const QString &FileName);
    void SaveZPlots(const QString &FileName);
    // A one-port Touchstone file against ChImp; Date goes into its comment lines.
    void SaveTouchstone(const QString &FileName, const std::string &Date);
    static TTouchstoneHeader TouchstoneHeader(const std::string &Date);
    // Reads a raw line file, or a Touchstone file (".s1p") translated into reply lines, into
    // LastLines, takes the graph's range from its first and last line, re-plots the Smith
    // chart and redraws. A missing, oversized or unreadable file is reported and nothing
    // changes.
    void LoadTXT(const QString &FileName);

    QTimer Watchdog;
    // Ends a complete sweep from the event loop: not inside the driver's read, whose block
    // may still hold lines beyond the last one asked for.
    QTimer CompleteTimer;
    // False makes EvaluateSweep work through the lines on every call, as a check that the
    // series it keeps are the ones a fresh evaluation gives.
    bool KeepEvaluation = true;

    // Reply lines the last sweep command asks for; 0 when the command was rejected.
    int ExpectedLines = 0;

    // Sweeps kept for comparison, drawn under the live curves; never saved with them.
    TReferenceTraces References;

    // Set by the main window at start-up; may stay empty.
    TSmithLink *SmithFrame = nullptr;
    // Set by the main window before each start; either may be empty.
    std::function<void()> OnStart;
    std::function<void()> OnEnd;
    // Told when the series have been computed anew from changed inputs; may be empty.
    std::function<void()> OnEvaluated;
    // Whether the minimum-SWR cursor is wanted; empty means no.
    std::function<bool()> ShowMinSWR;
    // Set by the main window before each start; not owned.
    QProgressBar *ProgressBar = nullptr;

    std::unique_ptr<TComm> Comm;

    // Links set by the graph model at its creation, not owned.
    TOsaFRQ *OsaFRQ = nullptr;
    TOsaX *OsaX = nullptr;
    TOsaY *OsaY = nullptr;
    TOsaPSV *OsaPSV = nullptr;
    TAnGraph *Graph = nullptr;
    TOsaPHASE *OsaPhase = nullptr;
    TOsaOHM *OsaZ = nullptr;
    TOsaOHM *OsaR = nullptr;
    TOsaXX *OsaXX = nullptr;
    TOsaRL *OsaRL = nullptr;
    TOsaT *OsaT = nullptr;
    TFrekvence *Cursor1 = nullptr;
    TFrekvence *Cursor2 = nullptr;
    TFrekvence *CursorMin = nullptr;
    const TRastrFr *GraphRaster = nullptr;

private:
    // What the series are computed from; the lines by their version, the two program-wide
    // values by their value, since they are written from many places.
    struct TEvaluationInputs
    {
        quint64 LinesVersion = 0;
        int ChImp = 0;
        bool SmoothCurves = false;
        bool operator==(const TEvaluationInputs &Other) const
        {
            return LinesVersion == Other.LinesVersion && ChImp == Other.ChImp
                && SmoothCurves == Other.SmoothCurves;
        }
    };

    // The collected lines become LastLines; the former LastLines, emptied, collect the next.
    void TakeCurrentLines();
    QStringList &ChangeCurrentLines();
    QStringList &ChangeLastLines();

    void ComputeEvaluation();
    // The curves of Series through the axes, from the segments kept in Cache when nothing
    // they depend on has changed since; Reference is the reference's number, -1 for the
    // live sweep.
    void DrawCurves(
        const TSweepSeries &Series, quint64 Evaluation, TCurveCache &Cache, int Reference);
    void PlotCurves(const TSweepSeries &Series);
    void ResetCurvePaths();
    // Segments with the axes' pens as they are now (reference Reference's tints of them when
    // it is 0 or more), in the order they were plotted.
    void DrawSegments(const std::array<TOsaY *, 7> &Axes,
        const std::vector<TCurveSegment> &Segments, int Reference) const;
    std::array<TOsaY *, 7> CurveAxes() const;
    std::vector<double> CurveInputs(quint64 Evaluation) const;
    void PlaceMinimumCursor();

    bool FMeasuring = false;
    int FReceivedLines = 0;
    bool FSwapped = false;
    QStringList FListA;
    QStringList FListB;
    quint64 FLinesVersion = 0;

    // The inputs the series were last computed from; empty before the first evaluation.
    std::optional<TEvaluationInputs> FEvaluatedFrom;
    // Counts the evaluations of the live sweep and the references, which the kept curves
    // are tied to; the live series are the one numbered FLiveEvaluation.
    quint64 FEvaluations = 0;
    quint64 FLiveEvaluation = 0;
    TCurveCache FLiveCurves;
};
