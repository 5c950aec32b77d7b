#include "device/TComm.h"
#include "device/TMemorySerialPort.h"
#include "graph/TAnGraph.h"
#include "measure/Globals.h"
#include "measure/Resonances.h"
#include "measure/TMereni.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <random>

namespace {

// A resonant antenna with measurement noise, in whole kHz and tenths of an ohm as the
// analyzer reports them, swept from 1 MHz in StepKHz steps.
QStringList MakeSweep(int Points, int StepKHz)
{
    std::mt19937 gen(7);
    std::normal_distribution<double> noise(0.0, 1.5);
    QStringList lines;
    for (int i = 0; i < Points; ++i) {
        const int kHz = 1000 + i * StepKHz;
        const double w = 2.0 * M_PI * kHz * 1e3;
        const double l = 2e-6;
        const double c = 1.0 / (std::pow(2.0 * M_PI * 14.2e6, 2) * l);
        const double r = 40.0 + 2.0 * kHz / 1000.0 + noise(gen);
        const double x = w * l - 1.0 / (w * c) + noise(gen);
        lines << QStringLiteral("%1 %2 %3")
                     .arg(kHz)
                     .arg(std::round(r * 10.0) / 10.0)
                     .arg(std::round(x * 10.0) / 10.0);
    }
    return lines;
}

// A graph on 1600 x 900 layers over 1..30 MHz holding a sweep of Points lines, with the
// main window's curve pens (width 2), every curve of the impedance display visible, the
// impedance grid lines on and smoothing on.
std::unique_ptr<TAnGraph> MakeGraph(int Points)
{
    ChImp = 50;
    MeasureMode = mmImpedance;
    SmoothCurves = true;
    auto graph = std::make_unique<TAnGraph>(nullptr, 1.0, 30.0);
    graph->ResizeLayers(1600, 900);
    graph->OsaZ->SetRange();
    graph->OsaR->SetRange();
    graph->OsaXX->SetRange();
    for (TOsaY *axis :
        std::initializer_list<TOsaY *> { graph->OsaPSV.get(), graph->OsaZ.get(), graph->OsaR.get(),
            graph->OsaXX.get(), graph->OsaRL.get(), graph->OsaT.get(), graph->OsaPhase.get() }) {
        axis->Visible = true;
        axis->Line.Width = 2;
    }
    graph->OsaZ->Grid = true;
    graph->OsaZ->ShowScale = true;
    graph->Mereni->ShowMinSWR = [] { return true; };
    graph->Mereni->SetLastLines(MakeSweep(Points, 29000 / (Points - 1)));
    return graph;
}

// A redraw after a display change, the inputs of the evaluation unchanged: clear, draw
// everything, compose; with References sweeps of the same size kept as references.
void RedrawSweep(benchmark::State &state, int References)
{
    const auto graph = MakeGraph(static_cast<int>(state.range(0)));
    for (int i = 0; i < References; ++i)
        graph->Mereni->References.Add(QStringLiteral("reference"), graph->Mereni->LastLines());
    // The sweep was drawn once when it ended; what follows are redraws of it.
    graph->DrawAll();
    for (auto _ : state) {
        graph->ClearLayers();
        graph->DrawAll();
        graph->Present(false);
        benchmark::DoNotOptimize(graph->Composite.constBits());
    }
    state.counters["points"] = graph->Mereni->Frequencies.Count();
}

void BM_SweepRedraw(benchmark::State &state) { RedrawSweep(state, 0); }

BENCHMARK(BM_SweepRedraw)->Arg(2901)->Arg(291)->Unit(benchmark::kMillisecond);

// Three references under the live curves: each is drawn from its kept segments, as the live
// sweep is.
void BM_SweepRedrawWithReferences(benchmark::State &state)
{
    RedrawSweep(state, TReferenceTraces::MaxCount);
}

BENCHMARK(BM_SweepRedrawWithReferences)->Arg(2901)->Unit(benchmark::kMillisecond);

// The evaluation of a new sweep (parse, smooth, compute, draw the curves), on a cleared
// layer: the lines are handed over anew each time, so nothing kept from before is used.
void BM_EvaluateSweep(benchmark::State &state)
{
    const auto graph = MakeGraph(static_cast<int>(state.range(0)));
    const QStringList lines = graph->Mereni->LastLines();
    for (auto _ : state) {
        state.PauseTiming();
        graph->ClearLayers();
        graph->Mereni->SetLastLines(lines);
        state.ResumeTiming();
        graph->Mereni->EvaluateSweep();
        benchmark::DoNotOptimize(graph->Mereni->SWRValues.Data());
    }
}

BENCHMARK(BM_EvaluateSweep)->Arg(2901)->Arg(291)->Unit(benchmark::kMillisecond);

// One drag step, what a mouse movement costs: cursor 1 moves a column (its readout looks
// its point up and evaluates it), the cursor layer is redrawn and the picture composed.
void BM_DragStep(benchmark::State &state)
{
    const auto graph = MakeGraph(static_cast<int>(state.range(0)));
    graph->ClearLayers();
    graph->DrawAll();
    graph->MoveCursor2(1200, 500);
    int x = 400;
    for (auto _ : state) {
        x = x == 400 ? 401 : 400;
        graph->MoveCursor1(x, 300);
        benchmark::DoNotOptimize(graph->Composite.constBits());
    }
}

BENCHMARK(BM_DragStep)->Arg(2901)->Unit(benchmark::kMicrosecond);

// From the last line of a sweep to its composed curves: the line arrives, the sweep ends at
// the next pass of the event loop, the lines are evaluated and drawn and the picture is
// composed. The lines before the last arrive untimed. The full range is swept in 100 kHz
// steps: 291 lines.
void BM_LastLineToCurves(benchmark::State &state)
{
    // The port settings are read from a configuration of the benchmark's own.
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const int points = static_cast<int>(state.range(0));
    const auto graph = MakeGraph(points);
    TMereni &m = *graph->Mereni;
    m.Comm = std::make_unique<TComm>(std::make_unique<TMemorySerialPort>());
    const QStringList lines = MakeSweep(points, 29000 / (points - 1));
    for (auto _ : state) {
        state.PauseTiming();
        m.StartSweep();
        for (int i = 0; i + 1 < lines.size(); ++i)
            m.LineReceived(i, lines[i]);
        state.ResumeTiming();
        m.LineReceived(points - 1, lines.back());
        while (m.Measuring())
            QCoreApplication::processEvents();
        benchmark::DoNotOptimize(graph->Composite.constBits());
    }
    state.counters["expected"] = m.ExpectedLines;
}

BENCHMARK(BM_LastLineToCurves)->Arg(291)->Iterations(20)->Unit(benchmark::kMillisecond);

// The resonance table's search over an evaluated sweep.
void BM_FindResonances(benchmark::State &state)
{
    const auto graph = MakeGraph(static_cast<int>(state.range(0)));
    graph->DrawAll();
    const TMereni &m = *graph->Mereni;
    const auto values = [](const TDoubleArray &series) {
        std::vector<double> v;
        for (int i = 0; i < series.Count(); ++i)
            v.push_back(series.Item(i));
        return v;
    };
    const std::vector<double> f = values(m.Frequencies);
    const std::vector<double> swr = values(m.SWRValues);
    const std::vector<double> r = values(m.RValues);
    const std::vector<double> x = values(m.XValues);
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<TResonance> dips = FindResonances(f, swr, r, x, 2.0);
        found = dips.size();
        benchmark::DoNotOptimize(dips.data());
    }
    state.counters["found"] = static_cast<double>(found);
}

BENCHMARK(BM_FindResonances)->Arg(2901)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
