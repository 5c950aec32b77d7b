#pragma once

#include "platform/Paths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

// What the main window's tests share: a configuration file written by hand, and a port that
// is there but never answers.

inline void WriteIni(const QByteArray &Text)
{
    QDir().mkpath(QString::fromStdString(KivraConfigDir()));
    QFile File(QString::fromStdString(KivraIniPath()));
    QVERIFY(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
    File.write(Text);
}

// A pseudo terminal published as ports/COM9, so the window's sweeps open a real port that
// never answers unless the test feeds lines itself; the command it was sent can be read off.
class TQuietPort
{
public:
    TQuietPort()
    {
        Master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(Master);
        ::unlockpt(Master);
        const QString Ports = QString::fromStdString(KivraConfigDir()) + QStringLiteral("/ports");
        QDir().mkpath(Ports);
        Link = Ports + QStringLiteral("/COM9");
        QFile::remove(Link);
        QFile::link(QString::fromLocal8Bit(::ptsname(Master)), Link);
    }
    ~TQuietPort()
    {
        QFile::remove(Link);
        ::close(Master);
    }
    TQuietPort(const TQuietPort &) = delete;
    TQuietPort &operator=(const TQuietPort &) = delete;

    // The command the window sent, up to its carriage return.
    QByteArray Command()
    {
        ::fcntl(Master, F_SETFL, O_NONBLOCK);
        QByteArray Sent;
        static_cast<void>(QTest::qWaitFor([&] {
            char Bytes[64];
            const ssize_t Got = ::read(Master, Bytes, sizeof Bytes);
            if (Got > 0)
                Sent.append(Bytes, static_cast<int>(Got));
            return Sent.endsWith('\r');
        }));
        return Sent;
    }

    int Master = -1;
    QString Link;
};
