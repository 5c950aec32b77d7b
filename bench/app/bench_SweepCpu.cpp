// The program's share of one core while a sweep arrives at 4800 baud: the whole window with
// its real port, driver, progress bar and live Smith chart, against the simulated analyzer,
// which paces its lines as the serial line would. A laptop in the field runs a sweep on its
// battery. Without a display the window is drawn offscreen; under one (xvfb-run -a) the cost
// of showing each frame is counted too.

#include "app/TfrmMain.h"
#include "app/WindowProbe.h"
#include "device/SimProcess.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <functional>
#include <time.h>

namespace {

// A benchmark that cannot measure fails the run, so that the smoke run with the tests sees it.
bool Failed = false;

void Fail(benchmark::State &State, const char *Why)
{
    Failed = true;
    State.SkipWithError(Why);
}

// Runs the event loop for a while without looking at anything, so that nothing but the
// program wakes the process.
void Idle(int Ms)
{
    QEventLoop Loop;
    QTimer::singleShot(Ms, &Loop, &QEventLoop::quit);
    Loop.exec();
}

// Calls OnEnabled when the watched widget becomes enabled: the measure button does as the
// sweep ends, so the end is seen without polling for it.
class TEnabledProbe : public QObject
{
public:
    explicit TEnabledProbe(std::function<void()> AOnEnabled)
        : OnEnabled(std::move(AOnEnabled))
    {
    }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (Event->type() == QEvent::EnabledChange && static_cast<QWidget *>(Watched)->isEnabled())
            OnEnabled();
        return QObject::eventFilter(Watched, Event);
    }

private:
    std::function<void()> OnEnabled;
};

// Each iteration is one sweep from the measure button to the moment the button comes back,
// before the curves are drawn: the evaluation is a cost of its own. FullRange sweeps
// 1-30 MHz (291 lines, about 8 s); otherwise the window's first band (20 lines).
void BM_CpuShareDuringSweep(benchmark::State &State, bool FullRange)
{
    QTemporaryDir Config;
    qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
    TSimProcess Sim;
    if (!Sim.Start({})) {
        Fail(State, "simulator did not start");
        return;
    }
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TfrmMain Window;
    Window.show();
    if (FullRange)
        Child<QRadioButton>(Window, "chkOther")->click();
    // Past the start-up's delayed redraw.
    Idle(1500);
    QWidget *Button = Child<QWidget>(Window, "btnMereni");
    double Cpu = 0;
    double Wall = 0;
    for (auto _ : State) {
        QEventLoop Loop;
        double CpuEnd = 0;
        double WallEnd = 0;
        TEnabledProbe Ended([&] {
            if (Window.IsMeasuring() || WallEnd != 0)
                return;
            CpuEnd = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
            WallEnd = ClockSeconds(CLOCK_MONOTONIC);
            Loop.quit();
        });
        Button->installEventFilter(&Ended);
        QTimer::singleShot(60000, &Loop, &QEventLoop::quit);
        const double Cpu0 = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const double Wall0 = ClockSeconds(CLOCK_MONOTONIC);
        Window.btnMereniClick();
        if (Window.IsMeasuring())
            Loop.exec();
        Button->removeEventFilter(&Ended);
        if (WallEnd == 0) {
            Fail(State, "the sweep did not end");
            return;
        }
        Cpu += CpuEnd - Cpu0;
        Wall += WallEnd - Wall0;
        // The curves of this sweep are drawn before the next one starts.
        State.PauseTiming();
        Idle(300);
        State.ResumeTiming();
    }
    State.counters["cpu_percent"] = 100.0 * Cpu / Wall;
    State.counters["sweep_s"] = Wall / static_cast<double>(State.iterations());
}
BENCHMARK_CAPTURE(BM_CpuShareDuringSweep, FullRange, true)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(3);
// A short sweep, quick enough to run with the tests.
BENCHMARK_CAPTURE(BM_CpuShareDuringSweep, Band160m, false)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return Failed ? 1 : 0;
}
