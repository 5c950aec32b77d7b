#include "app/TfrmMain.h"
#include "graph/TAnGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <sys/resource.h>

namespace {

// A raw line file as the finest sweep of the whole range gives it: 1 to 30 MHz in 10 kHz
// steps, 2901 lines of a resonant antenna in whole kHz and tenths of an ohm.
QByteArray MakeFile()
{
    QByteArray bytes;
    for (int i = 0; i <= 2900; ++i) {
        const int kHz = 1000 + 10 * i;
        const double w = 2.0 * M_PI * kHz * 1e3;
        const double l = 2e-6;
        const double c = 1.0 / (std::pow(2.0 * M_PI * 14.2e6, 2) * l);
        const double r = 40.0 + 2.0 * kHz / 1000.0 + std::sin(i * 0.7);
        const double x = w * l - 1.0 / (w * c) + std::cos(i * 1.3);
        bytes += QByteArray::number(kHz) + ' ' + QByteArray::number(std::round(r * 10) / 10) + ' '
            + QByteArray::number(std::round(x * 10) / 10) + "\r\n";
    }
    return bytes;
}

// Open the file to the composed pictures in the main window at its default size: read,
// re-plot the Smith chart, evaluate with smoothing, draw the graph, compose both.
void BM_LoadTXT(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sweep.TXT"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(MakeFile()) < 0) {
        state.SkipWithError("cannot write the file");
        return;
    }
    file.close();

    TfrmMain window;
    window.show();
    QCoreApplication::processEvents();
    SmoothCurves = true;
    for (auto _ : state) {
        window.Mereni().LoadTXT(path);
        benchmark::DoNotOptimize(window.Model().Composite.constBits());
    }
    state.counters["points"] = window.Mereni().Frequencies.Count();
    state.counters["graph_px"]
        = window.Model().Composite.width() * window.Model().Composite.height();
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK(BM_LoadTXT)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// "kivra --export touchstone" of the finest sweep, the whole process from start to exit.
void BM_ExportTouchstone(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("sweep.TXT"));
    QFile file(in);
    if (!file.open(QIODevice::WriteOnly) || file.write(MakeFile()) < 0) {
        state.SkipWithError("cannot write the file");
        return;
    }
    file.close();
    const QStringList args { QStringLiteral("--export"), QStringLiteral("touchstone"), in,
        dir.filePath(QStringLiteral("sweep.s1p")) };
    for (auto _ : state) {
        QProcess kivra;
        kivra.start(QStringLiteral(KIVRA_EXE), args);
        if (!kivra.waitForFinished(10000) || kivra.exitCode() != 0) {
            state.SkipWithError("the export failed");
            return;
        }
    }
}

BENCHMARK(BM_ExportTouchstone)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly()
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window reads and writes its settings: never the user's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
