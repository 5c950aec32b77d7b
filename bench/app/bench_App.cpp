// Start-up and memory of the whole program window. The benchmark runs this same binary as
// a child for every sample, so each sample pays what a user pays: exec, the toolkit's
// start, the window's creation and its first picture. Run it under a display (xvfb-run -a);
// without one the child falls back to the offscreen platform.

#include "AnalyzerModel.h"
#include "app/TfrmMain.h"
#include "app/WindowProbe.h"
#include "graph/TAnGraph.h"
#include "graph/TvGraph.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "smith/TvSmithChart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QRadioButton>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string SelfPath;

// Peak resident memory of this process, in kB.
long PeakResidentKB()
{
    QFile Status(QStringLiteral("/proc/self/status"));
    if (!Status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &Line : Status.readAll().split('\n'))
        if (Line.startsWith("VmHWM:"))
            return Line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Tells the parent when the window's first picture has been painted.
class TFirstPaint : public QObject
{
public:
    explicit TFirstPaint(std::function<void()> AOnPainted)
        : OnPainted(std::move(AOnPainted))
    {
    }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (Event->type() == QEvent::Paint && !Done) {
            Done = true;
            // After this paint has been handled, not before.
            QTimer::singleShot(0, this, [this] { OnPainted(); });
        }
        return QObject::eventFilter(Watched, Event);
    }

private:
    std::function<void()> OnPainted;
    bool Done = false;
};

// The child: the program as main.cpp starts it, plus a report on stdout.
int RunChild(int Argc, char **Argv, bool Sweep)
{
    QApplication App(Argc, Argv);
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TfrmMain Window;
    TFirstPaint Probe([&] {
        if (!Sweep) {
            std::printf("painted %ld\n", PeakResidentKB());
            std::fflush(stdout);
            App.quit();
            return;
        }
        // A full-range sweep of the default load, as the watchdog ends it.
        Child<QRadioButton>(Window, "chkOther")->click();
        TMereni &M = Window.Mereni();
        TAnalyzerModel Model { TLoadParams() };
        QStringList Lines;
        for (int Code = 100; Code <= 3000; Code += 10)
            Lines << QString::fromStdString(Model.ReplyLine(Code));
        for (int I = 0; I < Lines.size(); ++I)
            M.LineReceived(I, Lines[I]);
        M.SetLastLines(Lines);
        Window.Model().ClearLayers();
        Window.Model().DrawAll();
        Window.Model().Present(false);
        Window.repaint();
        QTimer::singleShot(50, &App, [&] {
            std::printf("swept %ld\n", PeakResidentKB());
            std::fflush(stdout);
            App.quit();
        });
    });
    Window.GraphFrame()->pbGraph->installEventFilter(&Probe);
    Window.show();
    return QApplication::exec();
}

// The toolkit alone: an empty main window with one child, to tell the program's own share
// of the start-up from what every Qt program pays on this machine.
int RunBareChild(int Argc, char **Argv)
{
    QApplication App(Argc, Argv);
    QMainWindow Window;
    auto *Box = new QWidget(&Window);
    Window.setCentralWidget(Box);
    Window.resize(1144, 604);
    TFirstPaint Probe([&] {
        std::printf("painted %ld\n", PeakResidentKB());
        std::fflush(stdout);
        App.quit();
    });
    Box->installEventFilter(&Probe);
    Window.show();
    return QApplication::exec();
}

// One child run: the time from its start to its report, and the memory it reported.
bool RunOnce(const char *Mode, double &Seconds, long &PeakKB)
{
    QProcess Child;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    if (!Env.contains(QStringLiteral("DISPLAY")))
        Env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    Child.setProcessEnvironment(Env);
    QElapsedTimer Clock;
    Clock.start();
    Child.start(QString::fromStdString(SelfPath), { QString::fromLatin1(Mode) });
    if (!Child.waitForStarted(5000))
        return false;
    while (!Child.canReadLine())
        if (!Child.waitForReadyRead(10000))
            return false;
    Seconds = static_cast<double>(Clock.nsecsElapsed()) * 1e-9;
    const QList<QByteArray> Words = Child.readLine().trimmed().split(' ');
    PeakKB = Words.value(1).toLong();
    Child.waitForFinished(5000);
    return true;
}

// Each sample is one fresh child: the time from its start to its report, and the peak
// resident memory it reported.
void BM_Child(benchmark::State &State, const char *Mode)
{
    long PeakKB = 0;
    for (auto _ : State) {
        double Seconds = 0;
        if (!RunOnce(Mode, Seconds, PeakKB)) {
            State.SkipWithError("the child did not report");
            return;
        }
        State.SetIterationTime(Seconds);
    }
    State.counters["peak_MB"] = static_cast<double>(PeakKB) / 1024.0;
}

// From exec to the first composed picture of the main window; then the same for a bare Qt
// window, what every Qt program pays here; then the peak memory after a full-range sweep at
// the default window size. One sample per repetition, so the median is over program runs.
BENCHMARK_CAPTURE(BM_Child, StartUpToFirstPicture, "--child-startup")
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Child, BareQtWindowToFirstPicture, "--child-bare")
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Child, PeakMemoryAfterFullSweep, "--child-sweep")
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int Argc, char **Argv)
{
    if (Argc > 1 && std::strcmp(Argv[1], "--child-startup") == 0)
        return RunChild(Argc, Argv, false);
    if (Argc > 1 && std::strcmp(Argv[1], "--child-bare") == 0)
        return RunBareChild(Argc, Argv);
    if (Argc > 1 && std::strcmp(Argv[1], "--child-sweep") == 0)
        return RunChild(Argc, Argv, true);
    SelfPath = Argv[0];
    benchmark::Initialize(&Argc, Argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
