#include "device/TCommPortDriver.h"
#include "device/TMemorySerialPort.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace {

struct TReceived
{
    std::vector<QByteArray> Chunks;
    void Attach(TCommPortDriver &Driver)
    {
        Driver.OnReceiveData = [this](TCommPortDriver *, const char *Data, int Size) {
            Chunks.emplace_back(Data, Size);
        };
    }
};

// A driver over an in-memory port whose state the test keeps.
struct TRig
{
    std::shared_ptr<TMemorySerialPort::TState> Port = std::make_shared<TMemorySerialPort::TState>();
    TCommPortDriver Driver { std::make_unique<TMemorySerialPort>(Port) };
};

} // namespace

class TestCommPortDriver : public QObject
{
    Q_OBJECT

private slots:
    void Defaults()
    {
        TRig Rig;
        QCOMPARE(Rig.Driver.ComPort(), pnCOM2);
        QCOMPARE(Rig.Driver.ComPortSpeed(), br9600);
        QCOMPARE(Rig.Driver.ComPortDataBits(), db8BITS);
        QCOMPARE(Rig.Driver.ComPortStopBits(), sb1BITS);
        QCOMPARE(Rig.Driver.ComPortParity(), ptNONE);
        QCOMPARE(Rig.Driver.ComPortHwHandshaking(), hhNONE);
        QCOMPARE(Rig.Driver.ComPortSwHandshaking(), shNONE);
        QCOMPARE(Rig.Driver.ComPortInBufSize(), 2048);
        QCOMPARE(Rig.Driver.ComPortOutBufSize(), 2048);
        QCOMPARE(Rig.Driver.ComPortPollingDelay(), 50);
        QVERIFY(Rig.Driver.EnableDTROnOpen());
        QCOMPARE(Rig.Driver.OutputTimeout(), 4000);
        QVERIFY(!Rig.Driver.Connected());
        QVERIFY(!Rig.Driver.PollTimerActive());
        QCOMPARE(Rig.Port->OpenCount, 0);
    }

    void DeviceName_data()
    {
        QTest::addColumn<int>("ComPort");
        QTest::addColumn<QString>("Name");
        QTest::newRow("COM1") << 0 << QStringLiteral("COM1");
        QTest::newRow("ComPort 8 is COM9") << 8 << QStringLiteral("COM9");
        QTest::newRow("ComPort 9 takes the device prefix") << 9 << QStringLiteral("\\\\.\\COM10");
        QTest::newRow("largest byte") << 255 << QStringLiteral("\\\\.\\COM256");
    }

    void DeviceName()
    {
        QFETCH(int, ComPort);
        QFETCH(QString, Name);
        TRig Rig;
        Rig.Driver.SetComPort(static_cast<TComPortNumber>(ComPort));
        QVERIFY(Rig.Driver.Connect());
        QCOMPARE(QString::fromStdString(Rig.Port->OpenedName), Name);
    }

    void ConnectAppliesSettingsAndStartsPolling()
    {
        TRig Rig;
        QVERIFY(Rig.Driver.Connect());
        QVERIFY(Rig.Driver.Connected());
        QCOMPARE(Rig.Port->States.size(), std::size_t(1));
        const TDeviceControlBlock &Dcb = Rig.Port->States.back();
        QCOMPARE(Dcb.Length, 28u);
        QCOMPARE(Dcb.BaudRate, 9600u);
        QCOMPARE(Dcb.Flags, kDcbBinary | kDcbDtrControlEnable);
        QCOMPARE(Dcb.XonLim, 512u);
        QCOMPARE(Dcb.XoffLim, 1u);
        QCOMPARE(Dcb.ByteSize, 8u);
        QCOMPARE(Dcb.Parity, 0u);
        QCOMPARE(Dcb.StopBits, 0u);
        QCOMPARE(Dcb.XonChar, char(0x11));
        QCOMPARE(Dcb.XoffChar, char(0x13));
        QCOMPARE(Rig.Port->Purges, std::string("B"));
        QCOMPARE(Rig.Port->InQueueSize, 2048);
        QCOMPARE(Rig.Port->OutQueueSize, 2048);
        QCOMPARE(Rig.Port->Timeouts.size(), std::size_t(1));
        const TCommTimeouts &T = Rig.Port->Timeouts.back();
        QCOMPARE(T.ReadIntervalTimeout, 1u);
        QCOMPARE(T.ReadTotalTimeoutMultiplier, 0u);
        QCOMPARE(T.ReadTotalTimeoutConstant, 1u);
        QCOMPARE(T.WriteTotalTimeoutMultiplier, 0u);
        QCOMPARE(T.WriteTotalTimeoutConstant, 0u);
        QVERIFY(Rig.Driver.PollTimerActive());
        QCOMPARE(Rig.Driver.PollTimerInterval(), 50);

        // A second Connect keeps the open port as it is.
        QVERIFY(Rig.Driver.Connect());
        QCOMPARE(Rig.Port->OpenCount, 1);
        QCOMPARE(Rig.Port->States.size(), std::size_t(1));

        Rig.Driver.Disconnect();
        QVERIFY(!Rig.Driver.Connected());
        QVERIFY(!Rig.Driver.PollTimerActive());
        QCOMPARE(Rig.Port->CloseCount, 1);
    }

    void ControlBlock_data()
    {
        QTest::addColumn<int>("Speed");
        QTest::addColumn<int>("DataBits");
        QTest::addColumn<int>("StopBits");
        QTest::addColumn<int>("Parity");
        QTest::addColumn<bool>("Dtr");
        QTest::addColumn<bool>("RtsCts");
        QTest::addColumn<bool>("XonXoff");
        QTest::addColumn<unsigned>("Baud");
        QTest::addColumn<unsigned>("Flags");
        QTest::newRow("analyzer line, no DTR")
            << int(br4800) << int(db8BITS) << int(sb1BITS) << int(ptNONE) << false << false << false
            << 4800u << kDcbBinary;
        QTest::newRow("slowest, 5 bits, 1.5 stop, odd")
            << int(br110) << int(db5BITS) << int(sb1HALFBITS) << int(ptODD) << true << false
            << false << 110u << (kDcbBinary | kDcbDtrControlEnable);
        QTest::newRow("fastest, 7 bits, 2 stop, space, RTS/CTS")
            << int(br115200) << int(db7BITS) << int(sb2BITS) << int(ptSPACE) << true << true
            << false << 115200u
            << (kDcbBinary | kDcbDtrControlEnable | kDcbOutxCtsFlow | kDcbRtsControlHandshake);
        QTest::newRow("56000 with XON/XOFF")
            << int(br56000) << int(db6BITS) << int(sb1BITS) << int(ptMARK) << false << false << true
            << 56000u << (kDcbBinary | kDcbOutX | kDcbInX);
    }

    void ControlBlock()
    {
        QFETCH(int, Speed);
        QFETCH(int, DataBits);
        QFETCH(int, StopBits);
        QFETCH(int, Parity);
        QFETCH(bool, Dtr);
        QFETCH(bool, RtsCts);
        QFETCH(bool, XonXoff);
        QFETCH(unsigned, Baud);
        QFETCH(unsigned, Flags);
        TRig Rig;
        Rig.Driver.SetComPortSpeed(static_cast<TComPortBaudRate>(Speed));
        Rig.Driver.SetComPortDataBits(static_cast<TComPortDataBits>(DataBits));
        Rig.Driver.SetComPortStopBits(static_cast<TComPortStopBits>(StopBits));
        Rig.Driver.SetComPortParity(static_cast<TComPortParity>(Parity));
        Rig.Driver.SetEnableDTROnOpen(Dtr);
        Rig.Driver.SetComPortHwHandshaking(RtsCts ? hhRTSCTS : hhNONE);
        Rig.Driver.SetComPortSwHandshaking(XonXoff ? shXONXOFF : shNONE);
        // Nothing reaches a closed port.
        QVERIFY(Rig.Port->States.empty());
        QVERIFY(Rig.Driver.Connect());
        QCOMPARE(Rig.Port->States.size(), std::size_t(1));
        const TDeviceControlBlock &Dcb = Rig.Port->States.back();
        QCOMPARE(Dcb.BaudRate, Baud);
        QCOMPARE(Dcb.Flags, Flags);
        QCOMPARE(Dcb.ByteSize, unsigned(DataBits + 5));
        QCOMPARE(Dcb.StopBits, unsigned(StopBits));
        QCOMPARE(Dcb.Parity, unsigned(Parity));
    }

    void ConnectFails_data()
    {
        QTest::addColumn<bool>("Busy");
        QTest::newRow("missing") << false;
        QTest::newRow("held by another program") << true;
    }

    void ConnectFails()
    {
        QFETCH(bool, Busy);
        TRig Rig;
        if (Busy)
            Rig.Port->Busy.insert("COM2");
        else
            Rig.Port->Devices.insert("COM7");
        QVERIFY(!Rig.Driver.Connect());
        QVERIFY(!Rig.Driver.Connected());
        QVERIFY(!Rig.Driver.PollTimerActive());
        QVERIFY(Rig.Port->States.empty());
        QVERIFY(Rig.Port->Purges.empty());
        QCOMPARE(Rig.Driver.OutputFree(), std::int16_t(-1));
        QCOMPARE(Rig.Driver.SendData("x", 1), 0);
    }

    void SpeedChangeWhileConnectedReappliesAndPurges()
    {
        TRig Rig;
        QVERIFY(Rig.Driver.Connect());
        Rig.Port->Incoming = "stale";
        Rig.Driver.SetComPortSpeed(br4800);
        QCOMPARE(Rig.Port->States.size(), std::size_t(2));
        QCOMPARE(Rig.Port->States.back().BaudRate, 4800u);
        QCOMPARE(Rig.Port->Purges, std::string("BB"));
        QVERIFY(Rig.Port->Incoming.isEmpty());
    }

    void ComPortChangeIgnoredWhileConnected()
    {
        TRig Rig;
        Rig.Driver.SetComPort(pnCOM5);
        QVERIFY(Rig.Driver.Connect());
        Rig.Driver.SetComPort(pnCOM9);
        QCOMPARE(Rig.Driver.ComPort(), pnCOM5);
        Rig.Driver.Disconnect();
        QVERIFY(Rig.Driver.Connect());
        QCOMPARE(Rig.Port->OpenAttempts, (std::vector<std::string> { "COM5", "COM5" }));
    }

    void BufferSizesIgnoredWhileConnected()
    {
        TRig Rig;
        Rig.Driver.SetComPortInBufSize(4);
        Rig.Driver.SetComPortOutBufSize(100);
        QVERIFY(Rig.Driver.Connect());
        QCOMPARE(Rig.Port->InQueueSize, 4);
        QCOMPARE(Rig.Port->OutQueueSize, 100);
        QCOMPARE(Rig.Port->States.back().XonLim, 1u);
        Rig.Driver.SetComPortInBufSize(8);
        Rig.Driver.SetComPortOutBufSize(200);
        QCOMPARE(Rig.Driver.ComPortInBufSize(), 4);
        QCOMPARE(Rig.Driver.ComPortOutBufSize(), 100);

        // The poll buffer has the receive size: one tick hands over at most that much.
        TReceived Received;
        Received.Attach(Rig.Driver);
        Rig.Port->Incoming = "abcdefghij";
        Rig.Driver.TimerWndProc();
        Rig.Driver.TimerWndProc();
        QCOMPARE(Received.Chunks, (std::vector<QByteArray> { "abcd", "efgh" }));
    }

    void DefaultPollTakesTheWholeReceiveSize()
    {
        TRig Rig;
        TReceived Received;
        Received.Attach(Rig.Driver);
        QVERIFY(Rig.Driver.Connect());
        Rig.Port->Incoming = QByteArray(3000, 'x');
        Rig.Driver.TimerWndProc();
        Rig.Driver.TimerWndProc();
        QCOMPARE(Received.Chunks.size(), size_t(2));
        QCOMPARE(Received.Chunks[0].size(), 2048);
        QCOMPARE(Received.Chunks[1].size(), 3000 - 2048);
    }

    void PollingDelayChange()
    {
        TRig Rig;
        Rig.Driver.SetComPortPollingDelay(20);
        QVERIFY(!Rig.Driver.PollTimerActive());
        QVERIFY(Rig.Driver.Connect());
        QCOMPARE(Rig.Driver.PollTimerInterval(), 20);
        Rig.Driver.SetComPortPollingDelay(7);
        QVERIFY(Rig.Driver.PollTimerActive());
        QCOMPARE(Rig.Driver.PollTimerInterval(), 7);
        QCOMPARE(Rig.Driver.ComPortPollingDelay(), 7);
    }

    void Poll_data()
    {
        QTest::addColumn<QByteArray>("Incoming");
        QTest::addColumn<bool>("ReadFails");
        QTest::addColumn<int>("Calls");
        QTest::newRow("zero bytes") << QByteArray() << false << 0;
        QTest::newRow("failed read") << QByteArray("abc") << true << 0;
        QTest::newRow("bytes, NUL included") << QByteArray("a\0b", 3) << false << 1;
    }

    void Poll()
    {
        QFETCH(QByteArray, Incoming);
        QFETCH(bool, ReadFails);
        QFETCH(int, Calls);
        TRig Rig;
        TReceived Received;
        Received.Attach(Rig.Driver);
        QVERIFY(Rig.Driver.Connect());
        Rig.Port->Incoming = Incoming;
        Rig.Port->ReadFails = ReadFails;
        Rig.Driver.TimerWndProc();
        QCOMPARE(int(Received.Chunks.size()), Calls);
        if (Calls > 0)
            QCOMPARE(Received.Chunks.front(), Incoming);
    }

    void TickWhileDisconnectedDoesNothing()
    {
        TRig Rig;
        TReceived Received;
        Received.Attach(Rig.Driver);
        Rig.Port->Incoming = "abc";
        Rig.Driver.TimerWndProc();
        QCOMPARE(Rig.Port->ReadCount, 0);
        QVERIFY(Received.Chunks.empty());
    }

    void TimerDeliversAndHandlerErrorsReachTheErrorBox()
    {
        TScriptedDialogs Dialogs;
        TDialogsScope Scope(Dialogs);
        TRig Rig;
        Rig.Driver.SetComPortPollingDelay(1);
        int Calls = 0;
        Rig.Driver.OnReceiveData = [&Calls](TCommPortDriver *, const char *, int) {
            ++Calls;
            throw EKivraError("Broken line handler");
        };
        QVERIFY(Rig.Driver.Connect());
        Rig.Port->Incoming = "x";
        QTRY_COMPARE_WITH_TIMEOUT(Calls, 1, 5000);
        QCOMPARE(Dialogs.Shown().size(), std::size_t(1));
        QCOMPARE(Dialogs.Shown().front().Text, std::string("Broken line handler"));
    }

    void VanishedPortDeliversWhatIsLeftThenDisconnects()
    {
        TRig Rig;
        TReceived Received;
        Received.Attach(Rig.Driver);
        QVERIFY(Rig.Driver.Connect());
        Rig.Port->Incoming = "last words";
        Rig.Port->Vanished = true;
        Rig.Driver.TimerWndProc();
        QCOMPARE(Received.Chunks, (std::vector<QByteArray> { "last words" }));
        QVERIFY(!Rig.Driver.Connected());
        QVERIFY(!Rig.Driver.PollTimerActive());
        QCOMPARE(Rig.Port->CloseCount, 1);
        const int Reads = Rig.Port->ReadCount;
        Rig.Driver.TimerWndProc();
        QCOMPARE(Rig.Port->ReadCount, Reads);
    }

    void SendString_data()
    {
        QTest::addColumn<QByteArray>("Text");
        QTest::addColumn<int>("WriteLimit");
        QTest::newRow("empty text") << QByteArray() << -1;
        QTest::newRow("one write") << QByteArray("100 3000 10 \r") << -1;
        QTest::newRow("a few bytes per write") << QByteArray("100 3000 10 \r") << 3;
    }

    void SendString()
    {
        QFETCH(QByteArray, Text);
        QFETCH(int, WriteLimit);
        TRig Rig;
        QVERIFY(Rig.Driver.Connect());
        Rig.Port->WriteLimit = WriteLimit;
        QVERIFY(Rig.Driver.SendString(Text.toStdString()));
        QCOMPARE(Rig.Port->Written, Text);
    }

    void SendOnClosedPort()
    {
        TRig Rig;
        QVERIFY(Rig.Driver.SendString(""));
        QVERIFY(!Rig.Driver.SendString("x"));
        QVERIFY(Rig.Port->Written.isEmpty());
    }

    void StalledSendGivesUpWithMinusTheBytesSent()
    {
        TRig Rig;
        Rig.Driver.SetOutputTimeout(30);
        QVERIFY(Rig.Driver.Connect());
        Rig.Port->WriteBudget = 5;
        Rig.Port->WriteLimit = 2;
        QCOMPARE(Rig.Driver.SendData("0123456789", 10), -5);
        QCOMPARE(Rig.Port->Written, QByteArray("01234"));
        Rig.Port->WriteBudget = 0;
        QVERIFY(!Rig.Driver.SendString("abc"));
    }

    void FullTransmitQueueHoldsTheSend()
    {
        TRig Rig;
        Rig.Driver.SetOutputTimeout(30);
        QVERIFY(Rig.Driver.Connect());
        Rig.Port->OutQueued = 2048;
        QCOMPARE(Rig.Driver.OutputFree(), std::int16_t(0));
        // Nothing is written while the queue has no room; the send gives up after the limit.
        QCOMPARE(Rig.Driver.SendData("abc", 3), 0);
        QVERIFY(!Rig.Driver.SendString("abc"));
        QVERIFY(Rig.Port->Written.isEmpty());
    }

    void OutputFree()
    {
        TRig Rig;
        QCOMPARE(Rig.Driver.OutputFree(), std::int16_t(-1));
        QVERIFY(Rig.Driver.Connect());
        QCOMPARE(Rig.Driver.OutputFree(), std::int16_t(2048));
        Rig.Port->OutQueued = 48;
        QCOMPARE(Rig.Driver.OutputFree(), std::int16_t(2000));
    }

    void DestroyDisconnects()
    {
        auto Port = std::make_shared<TMemorySerialPort::TState>();
        {
            TCommPortDriver Driver(std::make_unique<TMemorySerialPort>(Port));
            QVERIFY(Driver.Connect());
        }
        QVERIFY(!Port->IsOpen);
        QCOMPARE(Port->CloseCount, 1);
    }
};

QTEST_GUILESS_MAIN(TestCommPortDriver)
#include "tst_TCommPortDriver.moc"
