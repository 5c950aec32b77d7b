#include "smith/TSmithChart.h"

#include <QApplication>

#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

// The size of the chart's paint box in the main window.
constexpr int kWidth = 345;
constexpr int kHeight = 378;
// After this many lines the chart is built anew, so every line meets about Points points.
constexpr int kLinesPerChart = 100;

// A point of a sweep from 1 MHz in 10 kHz steps over a resonance, as the analyzer sends it.
void Line(int I, int &FreqKHz, int &R, int &X)
{
    FreqKHz = 1000 + 10 * I;
    R = 20 + static_cast<int>(std::lround(60.0 * (1.0 + std::sin(I / 300.0))));
    X = static_cast<int>(std::lround(300.0 * std::sin(I / 170.0)));
}

std::unique_ptr<TSmithChart> MakeChart(int Points)
{
    auto Chart = std::make_unique<TSmithChart>(173, 180, 160, nullptr);
    Chart->Resize(kWidth, kHeight);
    QStringList Lines;
    for (int I = 0; I < Points; ++I) {
        int F = 0, R = 0, X = 0;
        Line(I, F, R, X);
        Lines << QStringLiteral("%1 %2 %3").arg(F).arg(R).arg(X);
    }
    Chart->ReplotLines(Lines, 50);
    return Chart;
}

// What each received line costs: the point is added with its label, drawn and composed;
// with FullRedraw every point is drawn anew on a cleared layer instead, for comparison.
void LineReceived(benchmark::State &state, bool FullRedraw)
{
    const int Points = static_cast<int>(state.range(0));
    std::unique_ptr<TSmithChart> Chart;
    int Next = 0;
    for (auto _ : state) {
        if (Next % kLinesPerChart == 0) {
            state.PauseTiming();
            Chart = MakeChart(Points);
            Next = Points;
            state.ResumeTiming();
        }
        int F = 0, R = 0, X = 0;
        Line(Next++, F, R, X);
        Chart->AddPoint(!FullRedraw, F, R, X, 50);
        if (FullRedraw) {
            Chart->ClearPointLayer();
            Chart->DrawPoints();
            Chart->Compose();
        }
        benchmark::DoNotOptimize(Chart->Buffer().constBits());
    }
}

void BM_LineReceived(benchmark::State &state) { LineReceived(state, false); }
BENCHMARK(BM_LineReceived)->Arg(3000)->Arg(300)->Unit(benchmark::kMicrosecond);

void BM_LineReceivedFullRedraw(benchmark::State &state) { LineReceived(state, true); }
BENCHMARK(BM_LineReceivedFullRedraw)->Arg(3000)->Unit(benchmark::kMicrosecond);

// Moving the graph's cursor: only the label is drawn again.
void BM_ShowCursor(benchmark::State &state)
{
    auto Chart = MakeChart(3000);
    int I = 0;
    for (auto _ : state) {
        Chart->ShowCursor(1000 + 10 * (I++ % 3000));
        benchmark::DoNotOptimize(Chart->Buffer().constBits());
    }
}
BENCHMARK(BM_ShowCursor)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
