// How fast the driver and the protocol take replies off the line, and what receiving a
// real-speed sweep costs the program.

#include "device/SimProcess.h"
#include "device/TComm.h"
#include "device/TMemorySerialPort.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <functional>
#include <memory>
#include <string>
#include <time.h>

namespace {

// A full-range sweep at the finest step, as the analyzer would send it.
QByteArray SweepBytes()
{
    QByteArray Bytes;
    for (int Code = 100; Code <= 3000; ++Code)
        Bytes += QByteArray::number(Code * 10) + " 49 -12\r";
    return Bytes;
}

// Line assembly alone, on 2048-byte notifications.
void BM_LineAssembly(benchmark::State &State)
{
    TComm Comm(std::make_unique<TMemorySerialPort>());
    long long Lines = 0;
    Comm.OnLine = [&Lines](int, const QString &) { ++Lines; };
    const QByteArray Bytes = SweepBytes();
    for (auto _ : State) {
        for (int At = 0; At < Bytes.size(); At += 2048) {
            const int Count = std::min<int>(2048, int(Bytes.size()) - At);
            Comm.DataReceived(&Comm.Driver(), Bytes.constData() + At, Count);
        }
    }
    benchmark::DoNotOptimize(Lines);
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * Bytes.size());
}
BENCHMARK(BM_LineAssembly);

struct TSimRig
{
    QTemporaryDir Config;
    TSimProcess Sim;
    bool Start(const QStringList &Arguments)
    {
        qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
        return Sim.Start(Arguments);
    }
};

// The whole receiving path from the simulator sending as fast as it can: pseudo terminal,
// QSerialPort, the driver's poll and the line assembly. Polls every millisecond with a
// large buffer, so that the path rather than the poll interval sets the pace.
void BM_SimulatorThroughput(benchmark::State &State)
{
    TSimRig Rig;
    if (!Rig.Start({ QStringLiteral("--baud"), QStringLiteral("0") })) {
        State.SkipWithError("simulator did not start");
        return;
    }
    TComm Comm;
    Comm.Driver().SetComPortInBufSize(32768);
    Comm.Driver().SetComPortPollingDelay(1);
    Comm.Connect();
    if (!Comm.WasConnected()) {
        State.SkipWithError("port did not open");
        return;
    }
    long long Bytes = 0;
    int Lines = 0;
    for (auto _ : State) {
        Lines = 0;
        Comm.SendSweep(100, 3000, 1, [&](int, const QString &Line) {
            ++Lines;
            Bytes += Line.size() + 1;
        });
        if (!RunUntil([&Lines] { return Lines == 2901; }, 30000, 5)) {
            State.SkipWithError("sweep incomplete");
            return;
        }
    }
    State.SetBytesProcessed(Bytes);
    State.counters["lines"] = benchmark::Counter(
        static_cast<double>(State.iterations()) * 2901, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimulatorThroughput)->Unit(benchmark::kMillisecond)->UseRealTime();

// The program's share of one core while a sweep arrives at 4800 baud with the driver's
// default settings (2048-byte polls every 50 ms).
void BM_CpuShareAt4800Baud(benchmark::State &State)
{
    TSimRig Rig;
    if (!Rig.Start({})) {
        State.SkipWithError("simulator did not start");
        return;
    }
    TComm Comm;
    Comm.Connect();
    if (!Comm.WasConnected()) {
        State.SkipWithError("port did not open");
        return;
    }
    double Cpu = 0;
    double Wall = 0;
    long long Bytes = 0;
    for (auto _ : State) {
        int Lines = 0;
        const double Cpu0 = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const double Wall0 = ClockSeconds(CLOCK_MONOTONIC);
        // The last line ends the loop itself: a polling check would wake the process far
        // more often than the driver does and be counted as its CPU time.
        QEventLoop Loop;
        Comm.SendSweep(100, 400, 5, [&](int, const QString &Line) {
            Bytes += Line.size() + 1;
            if (++Lines == 61)
                Loop.quit();
        });
        QTimer::singleShot(30000, &Loop, &QEventLoop::quit);
        Loop.exec();
        if (Lines != 61) {
            State.SkipWithError("sweep incomplete");
            return;
        }
        Cpu += ClockSeconds(CLOCK_PROCESS_CPUTIME_ID) - Cpu0;
        Wall += ClockSeconds(CLOCK_MONOTONIC) - Wall0;
    }
    State.counters["cpu_percent"] = 100.0 * Cpu / Wall;
    State.counters["line_bytes_per_s"] = static_cast<double>(Bytes) / Wall;
}
BENCHMARK(BM_CpuShareAt4800Baud)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
