#pragma once

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <csignal>
#include <functional>
#include <signal.h>
#include <time.h>

// Seconds on one of the system clocks (process CPU time, monotonic wall time).
inline double ClockSeconds(clockid_t Clock)
{
    timespec Now;
    ::clock_gettime(Clock, &Now);
    return static_cast<double>(Now.tv_sec) + static_cast<double>(Now.tv_nsec) * 1e-9;
}

// Runs the event loop (QTest::qWait sleeps between its rounds, which would both slow a
// fast poll timer down and hide a busy loop) until Done holds or TimeoutMs passes, looking
// every CheckMs.
inline bool RunUntil(const std::function<bool()> &Done, int TimeoutMs, int CheckMs = 1)
{
    QEventLoop Loop;
    QTimer Check;
    QObject::connect(&Check, &QTimer::timeout, &Loop, [&] {
        if (Done())
            Loop.quit();
    });
    Check.start(CheckMs);
    QTimer::singleShot(TimeoutMs, &Loop, &QEventLoop::quit);
    if (!Done())
        Loop.exec();
    return Done();
}

// Runs kivra-analyzer-sim (its built path comes from the build) in the configuration folder
// the test process uses, and reads the first line it prints: the device and the link.
class TSimProcess
{
public:
    ~TSimProcess() { Stop(); }

    // False when the simulator did not come up; Error then says what it printed.
    bool Start(const QStringList &Arguments)
    {
        Process.setProgram(QStringLiteral(KIVRA_ANALYZER_SIM));
        Process.setArguments(Arguments);
        Process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        Process.start();
        if (!Process.waitForStarted(5000))
            return false;
        while (!Process.canReadLine()) {
            if (!Process.waitForReadyRead(5000)) {
                Process.waitForFinished(1000);
                Error = QString::fromLocal8Bit(Process.readAllStandardError());
                return false;
            }
        }
        const QString Line = QString::fromLocal8Bit(Process.readLine()).trimmed();
        const int Space = Line.indexOf(QLatin1Char(' '));
        Device = Line.left(Space);
        Link = Line.mid(Space + 1);
        return Space > 0;
    }

    // Ends the simulator with a signal; returns its exit code, -1 when it crashed.
    int Terminate(bool Interrupt = false)
    {
        if (Process.state() == QProcess::NotRunning)
            return Process.exitCode();
        ::kill(static_cast<pid_t>(Process.processId()), Interrupt ? SIGINT : SIGTERM);
        if (!Process.waitForFinished(5000))
            return -2;
        return Process.exitStatus() == QProcess::NormalExit ? Process.exitCode() : -1;
    }

    void Kill()
    {
        Process.kill();
        Process.waitForFinished(5000);
    }

    void Stop()
    {
        if (Process.state() != QProcess::NotRunning)
            Kill();
    }

    QProcess Process;
    QString Device;
    QString Link;
    QString Error;
};
