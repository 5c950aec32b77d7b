#include "config/ConfigStore.h"
#include "device/TComm.h"
#include "device/TMemorySerialPort.h"
#include "platform/Errors.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using TLines = std::vector<std::pair<int, QString>>;

struct TRig
{
    std::shared_ptr<TMemorySerialPort::TState> Port = std::make_shared<TMemorySerialPort::TState>();
    TComm Comm { std::make_unique<TMemorySerialPort>(Port) };
    TLines Lines;

    TLineEvent Collector()
    {
        return [this](int Index, const QString &Line) { Lines.emplace_back(Index, Line); };
    }

    void Receive(const QByteArray &Bytes)
    {
        Comm.DataReceived(&Comm.Driver(), Bytes.constData(), static_cast<int>(Bytes.size()));
    }
};

// Each test gets a configuration folder of its own, so "absent" really is absent.
class TConfigScope
{
public:
    TConfigScope()
        : Previous(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", Dir.path().toLocal8Bit());
    }
    ~TConfigScope() { qputenv("XDG_CONFIG_HOME", Previous); }

private:
    QTemporaryDir Dir;
    QByteArray Previous;
};

} // namespace

class TestComm : public QObject
{
    Q_OBJECT

private slots:
    void PortFromConfiguration_data()
    {
        QTest::addColumn<QString>("SelCom");
        QTest::addColumn<QString>("Port2");
        QTest::addColumn<QString>("Port3");
        QTest::addColumn<QString>("Device");
        // An empty column leaves the key out of the file.
        QTest::newRow("fresh configuration")
            << QString() << QString() << QString() << QStringLiteral("COM9");
        QTest::newRow("SELCOM 3, PORT3 absent")
            << QStringLiteral("3") << QString() << QString() << QStringLiteral("\\\\.\\COM10");
        QTest::newRow("SELCOM 1") << QStringLiteral("1") << QString() << QString()
                                  << QStringLiteral("COM4");
        QTest::newRow("SELCOM 1 does not read a broken PORT2")
            << QStringLiteral("1") << QStringLiteral("x") << QString() << QStringLiteral("COM4");
        QTest::newRow("SELCOM 2, PORT2 1")
            << QStringLiteral("2") << QStringLiteral("1") << QString() << QStringLiteral("COM1");
        QTest::newRow("SELCOM 3, PORT3 256")
            << QStringLiteral("3") << QString() << QStringLiteral("256")
            << QStringLiteral("\\\\.\\COM256");
        QTest::newRow("SELCOM 7 falls back to COM4")
            << QStringLiteral("7") << QString() << QString() << QStringLiteral("COM4");
    }

    void PortFromConfiguration()
    {
        QFETCH(QString, SelCom);
        QFETCH(QString, Port2);
        QFETCH(QString, Port3);
        QFETCH(QString, Device);
        TConfigScope Config;
        if (!SelCom.isEmpty())
            WriteConfigValue(ciSelCom, SelCom);
        if (!Port2.isEmpty())
            WriteConfigValue(ciPort2, Port2);
        if (!Port3.isEmpty())
            WriteConfigValue(ciPort3, Port3);
        TRig Rig;
        Rig.Comm.Open();
        QVERIFY(Rig.Comm.Driver().Connected());
        QCOMPARE(QString::fromStdString(Rig.Port->OpenedName), Device);
        // The analyzer's line: 4800 baud, 8 data bits, no parity, one stop bit.
        const TDeviceControlBlock &Dcb = Rig.Port->States.back();
        QCOMPARE(Dcb.BaudRate, 4800u);
        QCOMPARE(Dcb.ByteSize, 8u);
        QCOMPARE(Dcb.Parity, 0u);
        QCOMPARE(Dcb.StopBits, 0u);
        QCOMPARE(Rig.Comm.Driver().ComPortHwHandshaking(), hhNONE);
        QCOMPARE(Rig.Comm.Driver().ComPortPollingDelay(), 50);
    }

    void NonNumericConfigurationRaises_data()
    {
        QTest::addColumn<QString>("SelCom");
        QTest::addColumn<QString>("Port2");
        QTest::addColumn<QString>("Port3");
        QTest::addColumn<QString>("Message");
        QTest::newRow("SELCOM") << QStringLiteral("two") << QString() << QString()
                                << QStringLiteral("'two' is not a valid integer value");
        QTest::newRow("PORT2 as a device name")
            << QStringLiteral("2") << QStringLiteral("COM9") << QString()
            << QStringLiteral("'COM9' is not a valid integer value");
        QTest::newRow("PORT3 empty") << QStringLiteral("3") << QString() << QStringLiteral("")
                                     << QStringLiteral("'' is not a valid integer value");
    }

    void NonNumericConfigurationRaises()
    {
        QFETCH(QString, SelCom);
        QFETCH(QString, Port2);
        QFETCH(QString, Port3);
        QFETCH(QString, Message);
        TConfigScope Config;
        WriteConfigValue(ciSelCom, SelCom);
        if (!Port2.isNull())
            WriteConfigValue(ciPort2, Port2);
        if (!Port3.isNull())
            WriteConfigValue(ciPort3, Port3);
        TRig Rig;
        try {
            Rig.Comm.Connect();
            QFAIL("no conversion error");
        } catch (const EConvertError &Error) {
            QCOMPARE(QString::fromStdString(Error.what()), Message);
        }
        QVERIFY(!Rig.Comm.Driver().Connected());
        QVERIFY(Rig.Port->OpenAttempts.empty());
        QCOMPARE(Rig.Comm.Driver().ComPort(), pnCOM2);
        QCOMPARE(Rig.Comm.Driver().ComPortSpeed(), br9600);
        QVERIFY(!Rig.Comm.WasConnected());
    }

    void PortNumberOutsideTheDriversRangeOpensNothing_data()
    {
        QTest::addColumn<QString>("Port2");
        QTest::newRow("zero") << QStringLiteral("0");
        QTest::newRow("negative") << QStringLiteral("-3");
        QTest::newRow("past COM256") << QStringLiteral("265");
    }

    void PortNumberOutsideTheDriversRangeOpensNothing()
    {
        QFETCH(QString, Port2);
        TConfigScope Config;
        WriteConfigValue(ciPort2, Port2);
        TRig Rig;
        QVERIFY(Rig.Comm.Connect());
        QVERIFY(!Rig.Comm.WasConnected());
        QVERIFY(Rig.Port->OpenAttempts.empty());
    }

    void ConnectReportsWhetherThePortOpened_data()
    {
        QTest::addColumn<bool>("Available");
        QTest::newRow("port there") << true;
        QTest::newRow("port held elsewhere") << false;
    }

    void ConnectReportsWhetherThePortOpened()
    {
        QFETCH(bool, Available);
        TConfigScope Config;
        TRig Rig;
        if (!Available)
            Rig.Port->Busy.insert("COM9");
        QVERIFY(Rig.Comm.Connect());
        QCOMPARE(Rig.Comm.WasConnected(), Available);
        QCOMPARE(Rig.Comm.Driver().Connected(), Available);
        // Connecting an open port does not open it again.
        QVERIFY(Rig.Comm.Connect());
        QCOMPARE(Rig.Port->OpenCount, Available ? 1 : 0);
        Rig.Comm.Close();
        QVERIFY(!Rig.Comm.Driver().Connected());
        QCOMPARE(Rig.Comm.WasConnected(), Available);
    }

    void EnsureOpenThenCloseLeavesThePortClosed()
    {
        TConfigScope Config;
        TRig Rig;
        Rig.Comm.EnsureOpen();
        QVERIFY(Rig.Comm.Driver().Connected());
        Rig.Comm.EnsureOpen();
        QCOMPARE(Rig.Port->OpenCount, 1);
        Rig.Comm.Close();
        Rig.Comm.Close();
        QVERIFY(!Rig.Comm.Driver().Connected());
        QCOMPARE(Rig.Port->CloseCount, 1);
        QVERIFY(!Rig.Comm.WasConnected());
    }

    void SendSweep_data()
    {
        QTest::addColumn<int>("Start");
        QTest::addColumn<int>("Stop");
        QTest::addColumn<int>("Step");
        QTest::addColumn<int>("Result");
        QTest::addColumn<QByteArray>("Bytes");
        QTest::newRow("full range, 14 bytes")
            << 100 << 3000 << 10 << 0 << QByteArray("100 3000 10 \r");
        QTest::newRow("narrow band") << 1400 << 1435 << 1 << 0 << QByteArray("1400 1435 1 \r");
        QTest::newRow("step not checked") << 700 << 1200 << -5 << 0 << QByteArray("700 1200 -5 \r");
        QTest::newRow("start equals stop") << 500 << 500 << 5 << 1 << QByteArray();
        QTest::newRow("start below range") << 99 << 3000 << 10 << 2 << QByteArray();
        QTest::newRow("stop above range") << 100 << 3001 << 10 << 2 << QByteArray();
        QTest::newRow("order checked before range") << 3000 << 100 << 10 << 1 << QByteArray();
        QTest::newRow("both out of range and reversed") << 5000 << 50 << 10 << 1 << QByteArray();
    }

    void SendSweep()
    {
        QFETCH(int, Start);
        QFETCH(int, Stop);
        QFETCH(int, Step);
        QFETCH(int, Result);
        QFETCH(QByteArray, Bytes);
        TConfigScope Config;
        TRig Rig;
        Rig.Comm.Connect();
        // A sweep in progress whose index must survive a rejected command.
        QCOMPARE(Rig.Comm.SendSweep(100, 200, 1, Rig.Collector()), 0);
        Rig.Receive("a\rb\r");
        Rig.Port->Written.clear();
        TLines Other;
        const int Got = Rig.Comm.SendSweep(Start, Stop, Step,
            [&Other](int Index, const QString &Line) { Other.emplace_back(Index, Line); });
        QCOMPARE(Got, Result);
        QCOMPARE(Rig.Port->Written, Bytes);
        Rig.Receive("c\r");
        if (Result == 0) {
            QCOMPARE(Rig.Comm.LineIndex(), 1);
            QCOMPARE(Other, (TLines { { 0, QStringLiteral("c") } }));
        } else {
            QCOMPARE(Rig.Comm.LineIndex(), 3);
            QCOMPARE(Rig.Lines.back(), std::make_pair(2, QStringLiteral("c")));
        }
    }

    void SweepOnClosedPortSendsNothing()
    {
        TRig Rig;
        QCOMPARE(Rig.Comm.SendSweep(100, 3000, 10, Rig.Collector()), 0);
        QVERIFY(Rig.Port->Written.isEmpty());
        QCOMPARE(Rig.Comm.LineIndex(), 0);
    }

    void LineAssembly_data()
    {
        QTest::addColumn<QByteArrayList>("Chunks");
        QTest::addColumn<QStringList>("Lines");
        QTest::addColumn<QByteArray>("Left");
        QTest::newRow("line split across notifications")
            << QByteArrayList { "1000 50 0\r1010 5", "1 -3\r" }
            << QStringList { QStringLiteral("1000 50 0"), QStringLiteral("1010 51 -3") }
            << QByteArray();
        QTest::newRow("line feed after a return starts the next line")
            << QByteArrayList { "1000 50 0\r\n1010 51 -3\r" }
            << QStringList { QStringLiteral("1000 50 0"), QStringLiteral("\n1010 51 -3") }
            << QByteArray();
        QTest::newRow("two returns deliver an empty line")
            << QByteArrayList { "a\r\rb\r" }
            << QStringList { QStringLiteral("a"), QString(), QStringLiteral("b") } << QByteArray();
        QTest::newRow("NUL and high bytes are part of the line")
            << QByteArrayList { QByteArray("x\0y\xe9\r", 5) }
            << QStringList { QStringLiteral("x") + QChar(0) + QStringLiteral("y") + QChar(0xe9) }
            << QByteArray();
        QTest::newRow("bytes after the last return wait")
            << QByteArrayList { "1000 50 0\r10" } << QStringList { QStringLiteral("1000 50 0") }
            << QByteArray("10");
        QTest::newRow("one byte at a time")
            << QByteArrayList { "1", "2", "\r", "3", "\r" }
            << QStringList { QStringLiteral("12"), QStringLiteral("3") } << QByteArray();
    }

    void LineAssembly()
    {
        QFETCH(QByteArrayList, Chunks);
        QFETCH(QStringList, Lines);
        QFETCH(QByteArray, Left);
        TRig Rig;
        Rig.Comm.SendSweep(100, 200, 1, Rig.Collector());
        for (const QByteArray &Chunk : Chunks)
            Rig.Receive(Chunk);
        QCOMPARE(int(Rig.Lines.size()), Lines.size());
        for (int i = 0; i < Lines.size(); ++i) {
            QCOMPARE(Rig.Lines[std::size_t(i)].first, i);
            QCOMPARE(Rig.Lines[std::size_t(i)].second, Lines[i]);
        }
        QCOMPARE(Rig.Comm.LineIndex(), Lines.size());
        QCOMPARE(Rig.Comm.LineBuffer(), Left);
    }

    // The rest of a line of the last sweep is no part of the next one's first line.
    void NewSweepRestartsTheIndexAndDropsPendingBytes()
    {
        TRig Rig;
        Rig.Comm.SendSweep(100, 200, 1, Rig.Collector());
        Rig.Receive("a\rb\rpart");
        Rig.Comm.SendSweep(100, 200, 1, Rig.Collector());
        Rig.Comm.Close();
        Rig.Receive("ial\r");
        QCOMPARE(Rig.Lines.back(), std::make_pair(0, QStringLiteral("ial")));
    }

    void NoCallbackStillCutsLines()
    {
        TRig Rig;
        Rig.Receive("lost\rkept");
        QCOMPARE(Rig.Comm.LineIndex(), 0);
        QCOMPARE(Rig.Comm.LineBuffer(), QByteArray("kept"));
    }

    void HandlerMayStartTheNextSweep()
    {
        TRig Rig;
        int Calls = 0;
        Rig.Comm.SendSweep(100, 200, 1, [&Rig, &Calls](int, const QString &) {
            ++Calls;
            Rig.Comm.SendSweep(100, 200, 1, Rig.Collector());
        });
        Rig.Receive("first\rsecond\r");
        QCOMPARE(Calls, 1);
        // The index restarted inside the handler and was then counted for "first".
        QCOMPARE(Rig.Lines, (TLines { { 1, QStringLiteral("second") } }));
    }

    void OverlongLineIsDropped_data()
    {
        QTest::addColumn<int>("Length");
        QTest::addColumn<int>("ChunkSize");
        QTest::addColumn<bool>("Delivered");
        QTest::newRow("at the cap") << TComm::kMaxLineBytes << 1000 << true;
        QTest::newRow("one past the cap") << TComm::kMaxLineBytes + 1 << 1000 << false;
        QTest::newRow("runaway in small chunks") << 100000 << 7 << false;
        QTest::newRow("runaway in one notification") << 100000 << 100000 << false;
    }

    void OverlongLineIsDropped()
    {
        QFETCH(int, Length);
        QFETCH(int, ChunkSize);
        QFETCH(bool, Delivered);
        TRig Rig;
        Rig.Comm.SendSweep(100, 200, 1, Rig.Collector());
        QByteArray Stream = QByteArray("1000 50 0\r") + QByteArray(Length, 'x') + "\r2000 1 2\r";
        int MaxBuffer = 0;
        for (int At = 0; At < Stream.size(); At += ChunkSize) {
            Rig.Receive(Stream.mid(At, ChunkSize));
            MaxBuffer = std::max(MaxBuffer, int(Rig.Comm.LineBuffer().size()));
        }
        QVERIFY(MaxBuffer <= TComm::kMaxLineBytes);
        TLines Expected { { 0, QStringLiteral("1000 50 0") } };
        if (Delivered)
            Expected.emplace_back(1, QString(Length, QLatin1Char('x')));
        Expected.emplace_back(int(Expected.size()), QStringLiteral("2000 1 2"));
        QCOMPARE(Rig.Lines, Expected);
    }

    void PollFeedsLines()
    {
        TConfigScope Config;
        TRig Rig;
        Rig.Comm.Connect();
        Rig.Comm.SendSweep(100, 200, 1, Rig.Collector());
        Rig.Port->Incoming = "1000 50 0\r1001";
        Rig.Comm.Driver().TimerWndProc();
        Rig.Port->Incoming = "0 49 1\r";
        Rig.Comm.Driver().TimerWndProc();
        QCOMPARE(Rig.Lines,
            (TLines { { 0, QStringLiteral("1000 50 0") }, { 1, QStringLiteral("10010 49 1") } }));
    }
};

QTEST_GUILESS_MAIN(TestComm)
#include "tst_TComm.moc"
