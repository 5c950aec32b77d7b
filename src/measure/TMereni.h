#pragma once

#include "graph/TDraw.h"
#include "measure/Touchstone.h"
#include "numerics/TDoubleArray.h"

#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

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
class TSmithLink;

// Runs one sweep of the analyzer at a time and keeps what it measured. The frequency range
// of the graph becomes the sweep command; every reply line is stored and sent to the Smith
// chart at once; a sweep ends when the analyzer has been silent for a second, and then the
// graph is redrawn, which evaluates the stored lines into the series and curves.
//
// Owned by the graph model, which sets the links to its axes and cursors right after
// creation. Lines are held one character per received byte (Latin-1).
class TMereni : public TDraw
{
public:
    static constexpr int WatchdogIntervalMs = 1000;

    explicit TMereni(TCanvas *ACanvas);
    ~TMereni();
    TMereni(const TMereni &) = delete;
    TMereni &operator=(const TMereni &) = delete;

    // The lines of the running sweep, and those of the last complete sweep or loaded file.
    QStringList &CurrentLines() { return Swapped ? ListB : ListA; }
    QStringList &LastLines() { return Swapped ? ListA : ListB; }
    const QStringList &LastLines() const { return Swapped ? ListA : ListB; }

    // True from StartSweep until the watchdog has ended the sweep.
    bool Measuring() const { return FMeasuring; }

    // Sends the sweep command for the range of OsaX and starts the watchdog. Raises the
    // configuration's conversion error when the port settings are not numbers.
    void StartSweep();
    // The line callback given to Comm with the sweep command; Index is not used.
    void LineReceived(int Index, const QString &Received);
    // The watchdog's tick: the analyzer has fallen silent, so the sweep is over.
    void WatchdogTimer();
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
    // Selects which of ListA and ListB is CurrentLines (ListB when true).
    bool Swapped = false;
    QStringList ListA;
    QStringList ListB;

    // One entry per evaluated point, in point order.
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

    // Reply lines the last sweep command asks for; 0 when the command was rejected.
    int ExpectedLines = 0;

    // Set by the main window at start-up; may stay empty.
    TSmithLink *SmithFrame = nullptr;
    // Set by the main window before each start; either may be empty.
    std::function<void()> OnStart;
    std::function<void()> OnEnd;
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

private:
    void ParseLines();
    void SmoothSeries();
    void ComputeSeries(double &MinSWR, double &MinFrequency);
    void DrawCurves();
    void PlaceMinimumCursor(double MinFrequency);

    bool FMeasuring = false;
};
