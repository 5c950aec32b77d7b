#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include <csignal>
#include <signal.h>

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
