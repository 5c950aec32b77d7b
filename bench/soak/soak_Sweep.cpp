// Long-run soak of the program window's sweep path: the window measures against the
// simulated analyzer on a pseudo terminal, sweep after sweep, exactly as the measure button
// does, while the resident memory, the open file descriptors and the registered timers are
// watched. Every sweep must bring its full set of reply lines.
//
//   soak_sweep [sweeps]   (default 1000; runs offscreen unless a platform is chosen)

#include "app/ColourButton.h"
#include "app/TfrmMain.h"
#include "app/WindowProbe.h"
#include "device/TComm.h"
#include "graph/TAnGraph.h"
#include "measure/ReplyLineQt.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <malloc.h>
#include <unistd.h>
#include <vector>

namespace {

long ResidentKiB()
{
    QFile Statm(QStringLiteral("/proc/self/statm"));
    if (!Statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> Fields = Statm.readAll().split(' ');
    return Fields.size() > 1 ? Fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// Bytes the program holds from the allocator. Resident memory alone also counts freed pages
// the allocator keeps for later, which rise and fall with the order of frees.
long HeapInUseKiB()
{
    const struct mallinfo2 Info = mallinfo2();
    return static_cast<long>((Info.uordblks + Info.hblkhd) / 1024);
}

int OpenDescriptors()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::NoDotAndDotDot | QDir::System)
                                .size());
}

void Collect(QObject *Object, QSet<QObject *> &Seen)
{
    if (Object == nullptr || Seen.contains(Object))
        return;
    Seen.insert(Object);
    for (QObject *Child : Object->children())
        Collect(Child, Seen);
}

// Timers registered for every object the program can reach: the application, each window
// and its children, and the sweep's own timers, which no parent holds.
int RegisteredTimers(TMereni &Mereni)
{
    QSet<QObject *> Objects;
    Collect(QCoreApplication::instance(), Objects);
    for (QWidget *Window : QApplication::topLevelWidgets())
        Collect(Window, Objects);
    Collect(&Mereni.Watchdog, Objects);
    int Count = 0;
    for (QObject *Object : Objects) {
        const auto Timers = QAbstractEventDispatcher::instance()->registeredTimers(Object);
        Count += static_cast<int>(Timers.size());
        if (qEnvironmentVariableIsSet("SOAK_DEBUG"))
            for (const auto &T : Timers)
                std::printf("  timer %d %dms on %s %s\n", T.timerId, T.interval,
                    Object->metaObject()->className(), qPrintable(Object->objectName()));
    }
    return Count + (Mereni.Comm->Driver().PollTimerActive() ? 1 : 0);
}

bool RunUntil(const std::function<bool()> &Done, int TimeoutMs)
{
    QEventLoop Loop;
    QTimer Check;
    QObject::connect(&Check, &QTimer::timeout, &Loop, [&] {
        if (Done())
            Loop.quit();
    });
    Check.start(5);
    // A timer of our own rather than a single shot, which would outlive the wait and be
    // counted as the program's.
    QTimer Timeout;
    Timeout.setSingleShot(true);
    QObject::connect(&Timeout, &QTimer::timeout, &Loop, &QEventLoop::quit);
    Timeout.start(TimeoutMs);
    if (!Done())
        Loop.exec();
    return Done();
}

// The lines a sweep of the full range brings: codes 100..3000 in steps of 10.
constexpr int kFullRangeLines = (3000 - 100) / 10 + 1;

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir Config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config.path()));
    QDir().mkpath(Config.filePath(QStringLiteral("kivra")));
    {
        // The maximum range selected: the longest sweep there is.
        QFile Ini(Config.filePath(QStringLiteral("kivra/KIVRA.INI")));
        if (!Ini.open(QIODevice::WriteOnly)
            || Ini.write("[COM_PORT]\r\nSELCOM=2\r\nPORT2=9\r\nBAND160=N\r\nOTHER=A\r\n") < 0)
            return 2;
    }
    QApplication App(argc, argv);
    const int Sweeps = argc > 1 ? std::atoi(argv[1]) : 1000;

    QProcess Sim;
    Sim.start(QStringLiteral(KIVRA_ANALYZER_SIM),
        { QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--port"),
            QStringLiteral("COM9") });
    if (!Sim.waitForStarted(5000) || !Sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "simulator did not start\n");
        return 2;
    }
    std::printf("simulator: %s", Sim.readLine().constData());

    TScriptedDialogs Dialogs;
    TDialogsScope DialogsScope(Dialogs);
    int Failures = 0;
    std::vector<long> Rss;
    std::vector<long> Heap;
    const auto Sample = [&] {
        malloc_trim(0);
        Rss.push_back(ResidentKiB());
        Heap.push_back(HeapInUseKiB());
    };
    int FdsBefore = 0;
    int TimersBefore = 0;
    int FdsAfter = 0;
    int TimersAfter = 0;
    qint64 ElapsedMs = 0;
    {
        TfrmMain Window;
        Window.show();
        TMereni &Mereni = Window.Mereni();
        RunUntil([] { return false; }, 200);
        std::printf("before the first sweep: %d file descriptors, %d timers\n", OpenDescriptors(),
            RegisteredTimers(Mereni));
        QElapsedTimer Clock;
        Clock.start();
        for (int Sweep = 0; Sweep < Sweeps; ++Sweep) {
            if (Sweep % 100 == 0)
                Sample();
            Child<TColourButton>(Window, "btnMereni")->click();
            const bool Ended = RunUntil([&] { return !Mereni.Measuring(); }, 30000);
            const QStringList &Lines = Mereni.LastLines();
            int Readable = 0;
            for (const QString &Line : Lines) {
                TLineFields Fields;
                Readable += ReadLineFields(Line, Fields) ? 1 : 0;
            }
            // The first sweep opens the port, which stays open: the baseline comes after it.
            if (Sweep == 0) {
                FdsBefore = OpenDescriptors();
                TimersBefore = RegisteredTimers(Mereni);
            }
            if (!Ended || Lines.size() != kFullRangeLines || Readable != kFullRangeLines) {
                ++Failures;
                std::printf("sweep %d: %s, %lld lines, %d readable\n", Sweep,
                    Ended ? "ended" : "did not end", static_cast<long long>(Lines.size()),
                    Readable);
            }
        }
        ElapsedMs = Clock.elapsed();
        Sample();
        FdsAfter = OpenDescriptors();
        TimersAfter = RegisteredTimers(Mereni);
    }
    Sim.terminate();
    Sim.waitForFinished(5000);

    std::printf("sweeps: %d, incomplete: %d, messages shown: %zu, %.1f ms per sweep\n", Sweeps,
        Failures, Dialogs.Shown().size(), Sweeps > 0 ? double(ElapsedMs) / Sweeps : 0.0);
    for (const TScriptedDialogs::TShown &Shown : Dialogs.Shown())
        std::printf("shown: %s\n", Shown.Text.c_str());
    // The first hundred sweeps warm the caches (fonts, glyphs, the layers); growth counts
    // from there.
    const auto Report = [](const char *What, const std::vector<long> &Kib) {
        std::printf("%s KiB every 100 sweeps:", What);
        for (const long K : Kib)
            std::printf(" %ld", K);
        std::printf("\n");
        if (Kib.size() > 2)
            std::printf("  growth after the first 100 sweeps: %.1f KiB per 100 sweeps\n",
                double(Kib.back() - Kib[1]) / double(Kib.size() - 2));
    };
    Report("resident", Rss);
    Report("heap in use", Heap);
    std::printf("after the first and the last sweep: file descriptors %d and %d, timers %d and "
                "%d\n",
        FdsBefore, FdsAfter, TimersBefore, TimersAfter);
    const bool Clean = Failures == 0 && Dialogs.Shown().empty() && FdsAfter <= FdsBefore
        && TimersAfter <= TimersBefore;
    return Clean ? 0 : 1;
}
