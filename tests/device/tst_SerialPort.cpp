#include "platform/SerialPort.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Port names resolve through links in the configuration folder, so a user maps a USB
// adapter with one ln -s; without a link the classic serial devices are meant.
class TestSerialPort : public QObject
{
    Q_OBJECT

    QTemporaryDir Config;

private slots:
    void initTestCase()
    {
        QVERIFY(Config.isValid());
        qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
        const QString Ports = Config.path() + QStringLiteral("/kivra/ports");
        QVERIFY(QDir().mkpath(Ports));
        QFile Device(Config.path() + QStringLiteral("/ttyFAKE0"));
        QVERIFY(Device.open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(Device.fileName(), Ports + QStringLiteral("/COM9")));
        QVERIFY(QFile::link(Device.fileName(), Ports + QStringLiteral("/COM12")));
        QVERIFY(QFile::link(QStringLiteral("ttyFAKE0"), Ports + QStringLiteral("/COM5")));
        QVERIFY(
            QFile::link(Config.path() + QStringLiteral("/gone"), Ports + QStringLiteral("/COM7")));
    }

    void Resolve_data()
    {
        const QString Dir = QDir(Config.path()).canonicalPath();
        QTest::addColumn<QString>("Name");
        QTest::addColumn<QString>("Path");
        QTest::newRow("mapped COM9") << QStringLiteral("COM9") << Dir + QStringLiteral("/ttyFAKE0");
        QTest::newRow("mapped, device prefix")
            << QStringLiteral("\\\\.\\COM12") << Dir + QStringLiteral("/ttyFAKE0");
        QTest::newRow("unmapped COM1") << QStringLiteral("COM1") << QStringLiteral("/dev/ttyS0");
        QTest::newRow("unmapped COM10")
            << QStringLiteral("\\\\.\\COM10") << QStringLiteral("/dev/ttyS9");
        QTest::newRow("dangling link stays a link, and fails to open")
            << QStringLiteral("COM7") << Config.path() + QStringLiteral("/kivra/ports/COM7");
        QTest::newRow("a path as it is")
            << QStringLiteral("/dev/ttyUSB0") << QStringLiteral("/dev/ttyUSB0");
        QTest::newRow("COM0 is no port") << QStringLiteral("COM0") << QStringLiteral("COM0");
        QTest::newRow("not a number") << QStringLiteral("COMx") << QStringLiteral("COMx");
    }

    void Resolve()
    {
        QFETCH(QString, Name);
        QFETCH(QString, Path);
        QCOMPARE(QString::fromStdString(ResolveSerialDevice(Name.toStdString())), Path);
    }

    void RelativeLinkResolvesInThePortsFolder()
    {
        // ttyFAKE0 relative to ports/ does not exist: the link leads nowhere.
        QCOMPARE(QString::fromStdString(ResolveSerialDevice("COM5")),
            Config.path() + QStringLiteral("/kivra/ports/COM5"));
    }

    void MissingDeviceDoesNotOpen()
    {
        const std::unique_ptr<TSerialPort> Port = MakeSystemSerialPort();
        QVERIFY(!Port->Open("COM7"));
        QVERIFY(!Port->IsOpen());
        char Buffer[4];
        QCOMPARE(Port->Read(Buffer, 4), -1);
        QCOMPARE(Port->Write("x", 1), -1);
        QCOMPARE(Port->OutQueueLength(), -1);
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_SerialPort.moc"
