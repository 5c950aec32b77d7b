#include "platform/SerialPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A real pseudo terminal: the port the status texts are about.
struct TPty
{
    TPty()
    {
        Master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(Master);
        ::unlockpt(Master);
        Slave = QString::fromLocal8Bit(::ptsname(Master));
    }
    ~TPty() { Close(); }
    void Close()
    {
        if (Master >= 0)
            ::close(Master);
        Master = -1;
    }
    int Master = -1;
    QString Slave;
};

} // namespace

class TPortFailureTest : public QObject
{
    Q_OBJECT

private slots:
    void StatusNamesTheCause_data();
    void StatusNamesTheCause();
};

void TPortFailureTest::StatusNamesTheCause_data()
{
    // %1 the device, %2 the link, %3 this test's process id and %5 its name, %4 the
    // device's group.
    QTest::addColumn<QString>("Case");
    QTest::addColumn<QString>("Port");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("permission") << QStringLiteral("permission") << QStringLiteral("COM9")
                                << QStringLiteral("Port COM9 (%1) could not be opened: no "
                                                  "permission. The device belongs to the group %4");
    QTest::newRow("busy, held by a second opener")
        << QStringLiteral("busy") << QStringLiteral("COM9")
        << QStringLiteral("Port COM9 (%1) could not be opened: busy, in use by another program "
                          "(process %3, %5)");
    QTest::newRow("unplugged, link left dangling")
        << QStringLiteral("unplugged") << QStringLiteral("COM9")
        << QStringLiteral("Port COM9 (%2) could not be opened: not present, the link leads to "
                          "%1, which is gone (adapter unplugged?)");
    QTest::newRow("no link, no device")
        << QString() << QStringLiteral("COM250")
        << QStringLiteral("Port COM250 (/dev/ttyS249) could not be opened: not present: no "
                          "device /dev/ttyS249 (adapter unplugged?)");
}

void TPortFailureTest::StatusNamesTheCause()
{
    QFETCH(QString, Case);
    QFETCH(QString, Port);
    QFETCH(QString, Expected);
    // World-readable, so that an unprivileged account can see the link and run the probe.
    QTemporaryDir Dir(QDir::tempPath() + QStringLiteral("/kivra-port-XXXXXX"));
    QVERIFY(Dir.isValid());
    QFile::setPermissions(Dir.path(),
        QFile::permissions(Dir.path()) | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup
            | QFile::ExeGroup);
    const QString Link = Dir.path() + QStringLiteral("/kivra/ports/COM9");
    QVERIFY(QDir().mkpath(Dir.path() + QStringLiteral("/kivra/ports")));
    TPty Pty;
    QVERIFY(Pty.Master >= 0);
    QVERIFY(QFile::link(Pty.Slave, Link));
    QString Program = QCoreApplication::applicationFilePath();
    QStringList Arguments { QStringLiteral("--probe"), Port };
    QSerialPort Holder;
    if (Case == QStringLiteral("busy")) {
        Holder.setPortName(Pty.Slave);
        QVERIFY(Holder.open(QIODevice::ReadWrite));
    } else if (Case == QStringLiteral("unplugged")) {
        Pty.Close();
        QVERIFY(!QFile::exists(Pty.Slave));
    } else if (Case == QStringLiteral("permission")) {
        if (::geteuid() == 0) {
            // No file mode stops root: the probe runs as nobody, from a copy it may execute.
            const QString Copy = Dir.path() + QStringLiteral("/probe");
            QVERIFY(QFile::copy(Program, Copy));
            Arguments = QStringList { QStringLiteral("--reuid=65534"),
                QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"), Copy }
                + Arguments;
            Program = QStringLiteral("setpriv");
        } else {
            // Without root the device can only be shut to everyone, its group included.
            QVERIFY(::chmod(QFile::encodeName(Pty.Slave).constData(), 0) == 0);
            Expected.truncate(Expected.indexOf(QLatin1String(". The device")));
        }
    }
    QProcess Probe;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Dir.path());
    // The sanitizer's leak report needs files an unprivileged probe may not read.
    Environment.remove(QStringLiteral("LSAN_OPTIONS"));
    Environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    Probe.setProcessEnvironment(Environment);
    Probe.start(Program, Arguments);
    QVERIFY2(Probe.waitForFinished(20000), qPrintable(Probe.errorString()));
    QCOMPARE(Probe.exitCode(), 0);
    const QString Shown = QString::fromLocal8Bit(Probe.readAllStandardOutput());
    // The group is the device's own: tty on most systems, root in some containers.
    const QString Want
        = QString(Expected)
              .replace(QStringLiteral("%1"), Pty.Slave)
              .replace(QStringLiteral("%2"), Link)
              .replace(QStringLiteral("%3"), QString::number(QCoreApplication::applicationPid()))
              .replace(QStringLiteral("%4"), QFileInfo(Pty.Slave).group())
              .replace(QStringLiteral("%5"), QCoreApplication::applicationName());
    QVERIFY2(Shown.startsWith(Want),
        qPrintable(Shown + QString::fromLocal8Bit(Probe.readAllStandardError())));
    if (Case == QStringLiteral("permission") && ::geteuid() == 0)
        QVERIFY2(Shown.endsWith(QLatin1String("then log out and in again")), qPrintable(Shown));
}

int main(int argc, char *argv[])
{
    QCoreApplication App(argc, argv);
    // The probe: what the status bar would say about a port, from a process of its own.
    if (argc == 3 && std::strcmp(argv[1], "--probe") == 0) {
        std::fputs(PortOpenFailureText(argv[2]).c_str(), stdout);
        return 0;
    }
    TPortFailureTest Test;
    return QTest::qExec(&Test, argc, argv);
}

#include "tst_PortFailure.moc"
