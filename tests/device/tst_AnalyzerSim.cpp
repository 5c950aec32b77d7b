#include "AnalyzerModel.h"
#include "SimProcess.h"
#include "device/TComm.h"
#include "platform/Dialogs.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

struct TReceivedLine
{
    int Index;
    QString Line;
    qint64 AtMs;
};

void RunFor(int Ms)
{
    QEventLoop Loop;
    QTimer::singleShot(Ms, &Loop, &QEventLoop::quit);
    Loop.exec();
}

QStringList ExpectedLines(const QStringList &SimArguments, int Start, int Stop, int Step)
{
    TLoadParams Params;
    for (int i = 0; i + 1 < SimArguments.size(); i += 2) {
        const QString Name = SimArguments[i];
        const QString Value = SimArguments[i + 1];
        if (Name == QLatin1String("--load"))
            ParseLoadKind(Value.toStdString(), Params.Kind);
        else if (Name == QLatin1String("--noise"))
            Params.NoiseOhm = Value.toDouble();
        else if (Name == QLatin1String("--seed"))
            Params.Seed = Value.toUInt();
        else if (Name == QLatin1String("--f0"))
            Params.F0MHz = Value.toDouble();
        else if (Name == QLatin1String("--length"))
            Params.LengthM = Value.toDouble();
    }
    TAnalyzerModel Model(Params);
    QStringList Lines;
    for (int Code = Start; Code <= Stop; Code += Step)
        Lines << QString::fromStdString(Model.ReplyLine(Code));
    return Lines;
}

} // namespace

class TestAnalyzerSim : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Config;
    std::vector<TReceivedLine> Lines;
    QElapsedTimer Clock;

    TLineEvent Collector()
    {
        return [this](int Index, const QString &Line) {
            Lines.push_back({ Index, Line, Clock.elapsed() });
        };
    }

    QStringList Texts() const
    {
        QStringList Result;
        for (const TReceivedLine &Line : Lines)
            Result << Line.Line;
        return Result;
    }

    QString LinkPath(const QString &Port = QStringLiteral("COM9")) const
    {
        return Config->path() + QStringLiteral("/kivra/ports/") + Port;
    }

private slots:
    void init()
    {
        // The simulator and the program meet in a configuration folder of this test's own.
        Config = std::make_unique<QTemporaryDir>();
        QVERIFY(Config->isValid());
        qputenv("XDG_CONFIG_HOME", Config->path().toLocal8Bit());
        Lines.clear();
        Clock.start();
    }

    void cleanup() { Config.reset(); }

    void PublishesItsDevice()
    {
        TSimProcess Sim;
        QVERIFY2(
            Sim.Start({ QStringLiteral("--baud"), QStringLiteral("0") }), qPrintable(Sim.Error));
        QCOMPARE(Sim.Link, LinkPath());
        QCOMPARE(QFileInfo(Sim.Link).symLinkTarget(), Sim.Device);
        QVERIFY(QFileInfo::exists(Sim.Device));
    }

    void CommandLine_data()
    {
        QTest::addColumn<QStringList>("Arguments");
        QTest::addColumn<int>("ExitCode");
        QTest::addColumn<QString>("Says");
        QTest::newRow("help") << QStringList { QStringLiteral("--help") } << 0
                              << QStringLiteral("--noise OHMS");
        QTest::newRow("unknown option") << QStringList { QStringLiteral("--bogus") } << 2
                                        << QStringLiteral("unknown option: --bogus");
        QTest::newRow("unknown load")
            << QStringList { QStringLiteral("--load"), QStringLiteral("yagi") } << 2
            << QStringLiteral("unknown load: yagi");
        QTest::newRow("negative baud")
            << QStringList { QStringLiteral("--baud=-1") } << 2 << QStringLiteral("baud");
        QTest::newRow("port without COM") << QStringList { QStringLiteral("--port"),
            QStringLiteral("9") } << 2 << QStringLiteral("invalid port: 9");
        QTest::newRow("missing value") << QStringList { QStringLiteral("--f0") } << 2
                                       << QStringLiteral("missing value for --f0");
    }

    void CommandLine()
    {
        QFETCH(QStringList, Arguments);
        QFETCH(int, ExitCode);
        QFETCH(QString, Says);
        QProcess Sim;
        Sim.start(QStringLiteral(KIVRA_ANALYZER_SIM), Arguments);
        QVERIFY(Sim.waitForFinished(5000));
        QCOMPARE(Sim.exitCode(), ExitCode);
        const QString Output = QString::fromLocal8Bit(Sim.readAll() + Sim.readAllStandardError());
        QVERIFY2(Output.contains(Says), qPrintable(Output));
        // Nothing was published.
        QVERIFY(!QFileInfo::exists(Config->path() + QStringLiteral("/kivra/ports")));
    }

    void SweepArrivesAsTheModelGivesIt_data()
    {
        QTest::addColumn<QStringList>("SimArguments");
        QTest::addColumn<int>("InBufSize");
        QTest::newRow("dipole, one byte per poll")
            << QStringList { QStringLiteral("--load"), QStringLiteral("dipole") } << 1;
        QTest::newRow("short cable, 7 bytes per poll") << QStringList { QStringLiteral("--load"),
            QStringLiteral("short"), QStringLiteral("--length"), QStringLiteral("12.5") }
                                                       << 7;
        QTest::newRow("noisy dummy, whole lines") << QStringList { QStringLiteral("--load"),
            QStringLiteral("dummy"), QStringLiteral("--noise"), QStringLiteral("3"),
            QStringLiteral("--seed"), QStringLiteral("42") }
                                                  << 2048;
    }

    void SweepArrivesAsTheModelGivesIt()
    {
        QFETCH(QStringList, SimArguments);
        QFETCH(int, InBufSize);
        TSimProcess Sim;
        QVERIFY2(
            Sim.Start(SimArguments + QStringList { QStringLiteral("--baud"), QStringLiteral("0") }),
            qPrintable(Sim.Error));
        TComm Comm;
        Comm.Driver().SetComPortInBufSize(static_cast<std::uint16_t>(InBufSize));
        Comm.Driver().SetComPortPollingDelay(1);
        QVERIFY(Comm.Connect());
        QVERIFY(Comm.WasConnected());
        QCOMPARE(Comm.SendSweep(100, 400, 5, Collector()), 0);
        const QStringList Expected = ExpectedLines(SimArguments, 100, 400, 5);
        QCOMPARE(Expected.size(), 61);
        RunUntil([&] { return int(Lines.size()) == Expected.size(); }, 20000);
        QCOMPARE(int(Lines.size()), Expected.size());
        // Then silence.
        RunFor(300);
        QCOMPARE(Texts(), Expected);
        for (std::size_t i = 0; i < Lines.size(); ++i)
            QCOMPARE(Lines[i].Index, int(i));
        QVERIFY(Comm.LineBuffer().isEmpty());
    }

    void OnlyAValidCommandIsAnswered_data()
    {
        QTest::addColumn<QByteArray>("Command");
        QTest::newRow("start equals stop") << QByteArray("100 100 5 \r");
        QTest::newRow("start below range") << QByteArray("99 200 5 \r");
        QTest::newRow("stop above range") << QByteArray("100 3001 5 \r");
        QTest::newRow("step zero") << QByteArray("100 200 0 \r");
        QTest::newRow("two spaces") << QByteArray("100  200 5 \r");
        QTest::newRow("sign") << QByteArray("+100 200 5 \r");
        QTest::newRow("fourth field") << QByteArray("100 200 5 7\r");
        QTest::newRow("words") << QByteArray("hello\r");
        QTest::newRow("empty") << QByteArray("\r");
        QTest::newRow("line feed before the numbers") << QByteArray("\n100 200 5 \r");
    }

    void OnlyAValidCommandIsAnswered()
    {
        QFETCH(QByteArray, Command);
        TSimProcess Sim;
        QVERIFY2(
            Sim.Start({ QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--log") }),
            qPrintable(Sim.Error));
        TComm Comm;
        Comm.Driver().SetComPortPollingDelay(5);
        Comm.Connect();
        QVERIFY(Comm.WasConnected());
        Comm.OnLine = Collector();
        QVERIFY(Comm.Driver().SendString(Command.toStdString()));
        RunFor(400);
        QVERIFY(Lines.empty());
        QVERIFY(Comm.LineBuffer().isEmpty());
        // The simulator still listens.
        QCOMPARE(Comm.SendSweep(100, 110, 5, Collector()), 0);
        RunUntil([&] { return int(Lines.size()) == 3; }, 5000);
        QCOMPARE(int(Lines.size()), 3);
        QCOMPARE(Texts(), ExpectedLines({}, 100, 110, 5));
        // The log names the one command answered, nothing it refused.
        QCOMPARE(Sim.Process.readAllStandardOutput(), QByteArray("sweep 100 110 5\n"));
    }

    void NewCommandAbandonsTheSweep()
    {
        TSimProcess Sim;
        QVERIFY2(
            Sim.Start({ QStringLiteral("--baud"), QStringLiteral("4800") }), qPrintable(Sim.Error));
        TComm Comm;
        Comm.Driver().SetComPortPollingDelay(5);
        Comm.Connect();
        QCOMPARE(Comm.SendSweep(100, 3000, 1, Collector()), 0);
        QVERIFY(RunUntil([&] { return !Lines.empty(); }, 5000));
        QCOMPARE(Comm.SendSweep(2000, 2010, 5, Collector()), 0);
        QVERIFY(RunUntil(
            [&] {
                return Lines.size() >= 3 && Lines.back().Line.startsWith(QLatin1String("20100 "));
            },
            5000));
        RunFor(300);
        const QStringList Got = Texts();
        QCOMPARE(Got.mid(Got.size() - 3), ExpectedLines({}, 2000, 2010, 5));
        // The index restarted with the second command (a line in flight may come first).
        QCOMPARE(Lines[Lines.size() - 3].Index + 2, Lines.back().Index);
        QVERIFY(Lines.back().Index <= 3);
        // Far fewer than the 2901 lines of the first sweep.
        QVERIFY(Got.size() < 30);
    }

    void PacesLikeTheSerialLine_data()
    {
        QTest::addColumn<int>("Baud");
        QTest::newRow("4800 baud") << 4800;
        QTest::newRow("9600 baud") << 9600;
    }

    void PacesLikeTheSerialLine()
    {
        QFETCH(int, Baud);
        TSimProcess Sim;
        QVERIFY2(
            Sim.Start({ QStringLiteral("--baud"), QString::number(Baud) }), qPrintable(Sim.Error));
        TComm Comm;
        Comm.Driver().SetComPortPollingDelay(5);
        Comm.Connect();
        const int Stop = Baud == 4800 ? 400 : 800;
        const qint64 SentMs = Clock.elapsed();
        QCOMPARE(Comm.SendSweep(100, Stop, 10, Collector()), 0);
        const int Count = (Stop - 100) / 10 + 1;
        RunUntil([&] { return int(Lines.size()) == Count; }, 20000);
        QCOMPARE(int(Lines.size()), Count);
        const double LineRate = Baud / 10.0;
        // Never faster than the line: every byte over the time since the command went out.
        // A late read here only makes the rate lower, so a busy machine cannot fail this;
        // timing the span from the first line would, when that line is read late.
        qint64 AllBytes = 0;
        for (const TReceivedLine &Line : Lines)
            AllBytes += Line.Line.size() + 1;
        const double SinceSent = double(Lines.back().AtMs - SentMs) / 1000.0;
        QVERIFY(SinceSent > 0);
        const double UpperRate = double(AllBytes) / SinceSent;
        QVERIFY2(UpperRate < LineRate * 1.15, qPrintable(QString::number(UpperRate)));
        // And not drastically slower: bytes after the first line over the time they took.
        qint64 Bytes = 0;
        for (std::size_t i = 1; i < Lines.size(); ++i)
            Bytes += Lines[i].Line.size() + 1;
        const double Seconds = double(Lines.back().AtMs - Lines.front().AtMs) / 1000.0;
        QVERIFY(Seconds > 0);
        const double Rate = double(Bytes) / Seconds;
        QVERIFY2(Rate > LineRate / 3, qPrintable(QString::number(Rate)));
    }

    void RemovesItsLinkWhenItEnds_data()
    {
        QTest::addColumn<bool>("Interrupt");
        QTest::newRow("SIGTERM") << false;
        QTest::newRow("SIGINT") << true;
    }

    void RemovesItsLinkWhenItEnds()
    {
        QFETCH(bool, Interrupt);
        TSimProcess Sim;
        QVERIFY2(
            Sim.Start({ QStringLiteral("--port"), QStringLiteral("COM3") }), qPrintable(Sim.Error));
        QCOMPARE(Sim.Link, LinkPath(QStringLiteral("COM3")));
        QVERIFY(QFileInfo(Sim.Link).isSymLink());
        QCOMPARE(Sim.Terminate(Interrupt), 0);
        QVERIFY(!QFileInfo(Sim.Link).isSymLink());
    }

    void ReplacesOnlyALinkLeftByAnEarlierSimulator()
    {
        QVERIFY(QDir().mkpath(Config->path() + QStringLiteral("/kivra/ports")));
        QVERIFY(QFile::link(QStringLiteral("/dev/pts/999999"), LinkPath()));
        TSimProcess First;
        QVERIFY2(First.Start({}), qPrintable(First.Error));
        QCOMPARE(QFileInfo(LinkPath()).symLinkTarget(), First.Device);

        // A second simulator on the same name leaves the running one alone.
        TSimProcess Second;
        QVERIFY(!Second.Start({}));
        QCOMPARE(Second.Process.exitCode(), 1);
        QVERIFY(Second.Error.contains(QLatin1String("not replacing")));
        QCOMPARE(QFileInfo(LinkPath()).symLinkTarget(), First.Device);
    }

    void LeavesTheUsersLinksAlone_data()
    {
        QTest::addColumn<QString>("Target");
        QTest::newRow("adapter plugged in") << QStringLiteral("/dev/null");
        QTest::newRow("adapter unplugged") << QStringLiteral("/dev/ttyUSB97");
        QTest::newRow("by-id name") << QStringLiteral("/dev/serial/by-id/usb-x-if00");
    }

    void LeavesTheUsersLinksAlone()
    {
        QFETCH(QString, Target);
        QVERIFY(QDir().mkpath(Config->path() + QStringLiteral("/kivra/ports")));
        QFile::remove(LinkPath());
        QVERIFY(QFile::link(Target, LinkPath()));
        TSimProcess Sim;
        QVERIFY(!Sim.Start({}));
        QCOMPARE(Sim.Process.exitCode(), 1);
        QVERIFY2(Sim.Error.contains(LinkPath()) && Sim.Error.contains(QLatin1String("--port")),
            qPrintable(Sim.Error));
        QCOMPARE(QFileInfo(LinkPath()).symLinkTarget(), Target);
        QFile::remove(LinkPath());
    }

    void PortHeldByAnotherProgram()
    {
        TScriptedDialogs Dialogs;
        TDialogsScope Scope(Dialogs);
        TSimProcess Sim;
        QVERIFY2(
            Sim.Start({ QStringLiteral("--baud"), QStringLiteral("0") }), qPrintable(Sim.Error));
        TCommPortDriver Holder;
        Holder.SetComPort(pnCOM9);
        QVERIFY(Holder.Connect());
        TComm Comm;
        QVERIFY(Comm.Connect());
        QVERIFY(!Comm.WasConnected());
        QVERIFY(!Comm.Driver().Connected());
        QCOMPARE(Comm.SendSweep(100, 110, 5, Collector()), 0);
        RunFor(200);
        QVERIFY(Lines.empty());
        QVERIFY(Dialogs.Shown().empty());
        // Once the other program lets go, the port opens.
        Holder.Disconnect();
        QVERIFY(Comm.Connect());
        QVERIFY(Comm.WasConnected());
    }

    void SimulatorKilledMidSweepLeavesTheProgramIdle()
    {
        TScriptedDialogs Dialogs;
        TDialogsScope Scope(Dialogs);
        TSimProcess Sim;
        QVERIFY2(
            Sim.Start({ QStringLiteral("--baud"), QStringLiteral("4800") }), qPrintable(Sim.Error));
        TComm Comm;
        Comm.Connect();
        QVERIFY(Comm.WasConnected());
        QCOMPARE(Comm.SendSweep(100, 3000, 1, Collector()), 0);
        QVERIFY(RunUntil([&] { return Lines.size() >= 2; }, 5000));
        ::kill(static_cast<pid_t>(Sim.Process.processId()), SIGKILL);
        Sim.Process.waitForFinished(5000);

        // One second of wall time with the event loop running: the vanished port must cost
        // next to nothing.
        const double CpuBefore = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
        RunFor(1000);
        const double CpuSpent = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID) - CpuBefore;
        qInfo("CPU over one second after the simulator died: %.1f ms", CpuSpent * 1000);
        QVERIFY2(CpuSpent < 0.050, qPrintable(QStringLiteral("%1 s of CPU").arg(CpuSpent)));
        QVERIFY(!Comm.Driver().Connected());
        const std::size_t Count = Lines.size();
        RunFor(100);
        QCOMPARE(Lines.size(), Count);
        QVERIFY(Dialogs.Shown().empty());
        // What the sweep controller does at its end still works on the vanished port.
        Comm.EnsureOpen();
        Comm.Close();
        QVERIFY(!Comm.Driver().Connected());
    }
};

QTEST_GUILESS_MAIN(TestAnalyzerSim)
#include "tst_AnalyzerSim.moc"
