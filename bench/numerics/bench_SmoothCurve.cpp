#include "numerics/SmoothCurve.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

namespace {

// A resonance-like curve with measurement noise, quantised to the 0.1 ohm of the reply
// lines; the index runs 0 .. Points - 1 as in the sweep evaluation.
void MakeSeries(int Points, TDoubleArray &x, TDoubleArray &y)
{
    std::mt19937 gen(42);
    std::normal_distribution<double> noise(0.0, 2.0);
    for (int i = 0; i < Points; ++i) {
        const double fMHz = 1.0 + i * 0.01;
        const double v = 50.0 + 30.0 * std::sin(fMHz * 0.7) + noise(gen);
        x.Add(i);
        y.Add(std::round(v * 10.0) / 10.0);
    }
}

void BM_SmoothCurve(benchmark::State &state)
{
    TDoubleArray x;
    TDoubleArray y;
    MakeSeries(static_cast<int>(state.range(0)), x, y);
    for (auto _ : state) {
        TDoubleArray result = y;
        SmoothCurve(x, y, 16, 2, result);
        benchmark::DoNotOptimize(result.Data());
    }
}

void BM_DoubleArrayAppend(benchmark::State &state)
{
    for (auto _ : state) {
        TDoubleArray a;
        for (int i = 0; i < state.range(0); ++i)
            a.Add(i);
        benchmark::DoNotOptimize(a.Data());
    }
}

} // namespace

BENCHMARK(BM_SmoothCurve)->Arg(501)->Arg(2901)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleArrayAppend)->Arg(2901)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
