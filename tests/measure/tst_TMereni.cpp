#include "config/ConfigStore.h"
#include "device/TComm.h"
#include "device/TMemorySerialPort.h"
#include "graph/TAnGraph.h"
#include "graph/TCursorReadout.h"
#include "graph/TCursors.h"
#include "measure/Globals.h"
#include "measure/PointFormulas.h"
#include "measure/TMereni.h"
#include "measure/TSmithLink.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

#include <QProgressBar>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

namespace {

class TRecordingSmith : public TSmithLink
{
public:
    void ClearChart() override
    {
        ++Clears;
        Points.clear();
    }
    void AddMeasuredPoint(int FreqKHz, int R, int X) override
    {
        // The chart leaves a load of -ChImp off, without a word; this one a chosen frequency.
        if (FreqKHz != FailAtKHz)
            Points.emplace_back(FreqKHz, R, X);
    }
    void ShowFrequency(int FreqKHz) override { LastShown = FreqKHz; }

    int Clears = 0;
    std::vector<std::tuple<int, int, int>> Points;
    int LastShown = 0;
    int FailAtKHz = -1;
};

// A readout row that keeps, per field, whether it was last shown valid.
class TRecordingRow : public TCursorReadout
{
public:
    QMap<QString, bool> Valid;
    QMap<QString, double> Value;

    void ShowFrekvence(bool Invalid, double V) override { Set("F", Invalid, V); }
    void ShowPSV(bool Invalid, double V) override { Set("PSV", Invalid, V); }
    void ShowZ(bool Invalid, double V) override { Set("Z", Invalid, V); }
    void ShowCableLoss(bool Invalid, double V) override { Set("Loss", Invalid, V); }
    void ShowRL(bool Invalid, double V) override { Set("RL", Invalid, V); }
    void ShowPhase(bool Invalid, double V) override { Set("Phase", Invalid, V); }
    void ShowRx(bool Invalid, double V) override { Set("Rx", Invalid, V); }
    void ShowXx(bool Invalid, double V) override { Set("Xx", Invalid, V); }
    void ShowKapacita(bool Invalid, double V) override { Set("C", Invalid, V); }
    void ShowIndukcnost(bool Invalid, double V) override { Set("L", Invalid, V); }
    void ShowAny(bool Invalid, int, double V) override { Set("Any", Invalid, V); }
    void SetMarkColor(TColor) override { }
    void SetRowIndex(int) override { }
    void ResetLayout() override { }

private:
    void Set(const char *Field, bool Invalid, double V)
    {
        Valid[QLatin1String(Field)] = !Invalid;
        Value[QLatin1String(Field)] = V;
    }
};

// A graph of the given size over 1..30 MHz whose sweep controller talks to a port in memory.
struct TBench
{
    explicit TBench(int Width = 795, int Height = 400)
        : Graph(nullptr, 1.0, 30.0)
        , Mereni(*Graph.Mereni)
    {
        Graph.ResizeLayers(Width, Height);
        Graph.OsaZ->SetRange();
        Graph.OsaR->SetRange();
        Graph.OsaXX->SetRange();
        auto port = std::make_unique<TMemorySerialPort>();
        Port = port->State();
        Mereni.Comm = std::make_unique<TComm>(std::move(port));
        Mereni.SmithFrame = &Smith;
        Mereni.ProgressBar = &Bar;
        Mereni.OnStart = [this] { ++Starts; };
        Mereni.OnEnd = [this] { ++Ends; };
    }

    void SetRange(double MinMHz, double MaxMHz)
    {
        Graph.OsaX->SetMinValue(MinMHz);
        Graph.OsaX->SetMaxValue(MaxMHz);
    }

    void Evaluate(const QStringList &Lines)
    {
        Mereni.SetLastLines(Lines);
        Mereni.EvaluateSweep();
    }

    TAnGraph Graph;
    TMereni &Mereni;
    std::shared_ptr<TMemorySerialPort::TState> Port;
    TRecordingSmith Smith;
    QProgressBar Bar;
    int Starts = 0;
    int Ends = 0;
};

QList<TDoubleArray *> AllSeries(TMereni &M)
{
    return { &M.Frequencies, &M.Resistances, &M.Reactances, &M.RawResistances, &M.RawReactances,
        &M.Impedances, &M.RValues, &M.XValues, &M.SWRValues, &M.RLValues, &M.PhaseValues,
        &M.CableLosses };
}

bool Near(double A, double B, double Tol) { return std::fabs(A - B) <= Tol; }

} // namespace

class TestTMereni : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void startSweep_data();
    void startSweep();
    void startSweepWithoutPort();
    void startSweepBadPortSetting();

    void lineReceived_data();
    void lineReceived();
    void linesThroughTheProtocol();
    void smithPointRefusedKeepsTheBlock();
    void emptyLineAdvancesButIsNotStored();

    void sweepEndsAtItsLastLine_data();
    void sweepEndsAtItsLastLine();
    void watchdogWithoutLines();
    void watchdogWithLines();
    void watchdogFiresOnItsOwn();
    void watchdogEndsSweepDespiteBadPortSetting();

    void evaluateZ0Rows_data();
    void evaluateZ0Rows();
    void evaluateSkipsBadLines();
    void evaluateFrequencyRounding();
    void evaluateFrequenciesReadAsTheirDecimals();
    void evaluateRaisingPointGetsZeros();
    void evaluateSingleLinePlacesMinimumCursor();
    void evaluateShortIsNeverTheMinimum();
    void evaluateTieKeepsEarlierPoint();
    void evaluateNoMinimumBelowStart();
    void evaluateMinimumCursorNotWanted();
    void evaluateZeroReference();
    void evaluateWithoutPointsEmptiesSeries();
    void minimumRowShowsTheMinimumPoint();
    void smoothingFewerThanWindow();
    void smoothingOverPointIndex();

private:
    TScriptedDialogs Dialogs;
};

void TestTMereni::init()
{
    ChImp = 50;
    MeasureMode = mmImpedance;
    SmoothCurves = false;
    Dialogs.ClearShown();
}

void TestTMereni::startSweep_data()
{
    QTest::addColumn<double>("minMHz");
    QTest::addColumn<double>("maxMHz");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("progressMax");

    QTest::newRow("1-30 MHz coarse") << 1.0 << 30.0 << QByteArray("100 3000 10 \r") << 290;
    QTest::newRow("14-14.35 MHz fine") << 14.0 << 14.35 << QByteArray("1400 1435 1 \r") << 35;
    QTest::newRow("7-12 MHz span 500 medium") << 7.0 << 12.0 << QByteArray("700 1200 5 \r") << 100;
    QTest::newRow("1-16 MHz span 1500 coarse")
        << 1.0 << 16.0 << QByteArray("100 1600 10 \r") << 150;
    QTest::newRow("7-11.99 MHz span 499 fine")
        << 7.0 << 11.99 << QByteArray("700 1199 1 \r") << 499;
    QTest::newRow("codes tie to even") << 7.005 << 7.125 << QByteArray("700 712 1 \r") << 12;
}

void TestTMereni::startSweep()
{
    QFETCH(double, minMHz);
    QFETCH(double, maxMHz);
    QFETCH(QByteArray, command);
    QFETCH(int, progressMax);

    TBench b;
    b.SetRange(minMHz, maxMHz);
    b.Smith.Points.emplace_back(1, 2, 3);
    b.Bar.setValue(0);
    b.Mereni.StartSweep();

    QCOMPARE(b.Port->Written, command);
    QCOMPARE(b.Bar.minimum(), 0);
    QCOMPARE(b.Bar.maximum(), progressMax);
    QCOMPARE(b.Bar.value(), 0);
    QCOMPARE(b.Smith.Clears, 1);
    QVERIFY(b.Smith.Points.empty());
    QVERIFY(b.Mereni.Measuring());
    QVERIFY(b.Mereni.Watchdog.isActive());
    QCOMPARE(b.Mereni.Watchdog.interval(), 1000);
    QCOMPARE(b.Starts, 1);
}

void TestTMereni::startSweepWithoutPort()
{
    TBench b;
    b.Port->Devices = { "no such device" };
    b.Mereni.StartSweep();
    QVERIFY(b.Port->Written.isEmpty());
    QVERIFY(b.Mereni.Measuring());
    QVERIFY(b.Mereni.Watchdog.isActive());
}

void TestTMereni::startSweepBadPortSetting()
{
    TBench b;
    WriteConfigValue(ciSelCom, QStringLiteral("x"));
    QVERIFY_THROWS_EXCEPTION(EConvertError, b.Mereni.StartSweep());
    WriteConfigValue(ciSelCom, QStringLiteral("2"));
    QVERIFY(!b.Mereni.Measuring());
    QVERIFY(!b.Mereni.Watchdog.isActive());
    QCOMPARE(b.Starts, 0);
}

void TestTMereni::lineReceived_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("smithPoint");
    QTest::addColumn<int>("freq");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("x");

    QTest::newRow("14000 50 0") << QByteArray("14000 50 0") << true << true << 14000 << 50 << 0;
    QTest::newRow("rounded half to even")
        << QByteArray("7000.5 12.5 -3.5") << true << true << 7000 << 12 << -4;
    QTest::newRow("two fields") << QByteArray("14000 50") << true << false << 0 << 0 << 0;
    QTest::newRow("garbage bytes")
        << QByteArray("\x01\xff\x80garbage") << true << false << 0 << 0 << 0;
    QTest::newRow("NUL") << QByteArray("14000 5\0000 0", 12) << true << false << 0 << 0 << 0;
    QTest::newRow("nan") << QByteArray("14000 nan 0") << true << false << 0 << 0 << 0;
    QTest::newRow("inf") << QByteArray("14000 50 inf") << true << false << 0 << 0 << 0;
    QTest::newRow("1e999") << QByteArray("14000 1e999 0") << true << false << 0 << 0 << 0;
    QTest::newRow("comma decimal") << QByteArray("14000 50,5 0") << true << false << 0 << 0 << 0;
    QTest::newRow("two spaces") << QByteArray("14000  50 0") << true << false << 0 << 0 << 0;
    QTest::newRow("beyond integer range")
        << QByteArray("14000 1e20 0") << true << false << 0 << 0 << 0;
    QTest::newRow("line feed") << QByteArray("\n14000 50 0") << true << false << 0 << 0 << 0;
}

void TestTMereni::lineReceived()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, stored);
    QFETCH(bool, smithPoint);
    QFETCH(int, freq);
    QFETCH(int, r);
    QFETCH(int, x);

    TBench b;
    b.Mereni.StartSweep();
    const QString text = QString::fromLatin1(line);
    b.Mereni.LineReceived(0, text);

    QCOMPARE(b.Mereni.CurrentLines().size(), stored ? 1 : 0);
    if (stored)
        QCOMPARE(b.Mereni.CurrentLines().front(), text);
    QCOMPARE(b.Bar.value(), 1);
    QVERIFY(b.Mereni.Watchdog.isActive());
    QCOMPARE(b.Smith.Points.size(), smithPoint ? size_t(1) : size_t(0));
    if (smithPoint)
        QCOMPARE(b.Smith.Points.front(), std::make_tuple(freq, r, x));
}

void TestTMereni::linesThroughTheProtocol()
{
    TBench b;
    b.Mereni.StartSweep();
    const QByteArray bytes("1000 50 0\r1010 51 -3\r1020 5");
    b.Mereni.Comm->DataReceived(nullptr, bytes.constData(), static_cast<int>(bytes.size()));
    QCOMPARE(b.Mereni.CurrentLines(),
        QStringList({ QStringLiteral("1000 50 0"), QStringLiteral("1010 51 -3") }));
    QCOMPARE(b.Smith.Points.size(), size_t(2));
    QCOMPARE(b.Smith.Points.back(), std::make_tuple(1010, 51, -3));
    QCOMPARE(b.Bar.value(), 2);
}

void TestTMereni::smithPointRefusedKeepsTheBlock()
{
    TBench b;
    b.Smith.FailAtKHz = 1010;
    b.Mereni.StartSweep();
    const QByteArray bytes("1000 50 0\r1010 -50 0\r1020 60 5\r");
    b.Mereni.Comm->DataReceived(nullptr, bytes.constData(), static_cast<int>(bytes.size()));
    // The point the chart refused is only missing from the chart; the lines after it in the
    // same block still arrive.
    QCOMPARE(b.Mereni.CurrentLines().size(), 3);
    QCOMPARE(b.Smith.Points.size(), size_t(2));
    QCOMPARE(b.Smith.Points.back(), std::make_tuple(1020, 60, 5));
    QCOMPARE(b.Bar.value(), 3);
    QVERIFY(b.Mereni.Watchdog.isActive());
}

void TestTMereni::emptyLineAdvancesButIsNotStored()
{
    TBench b;
    b.Mereni.StartSweep();
    b.Mereni.Watchdog.stop();
    b.Mereni.LineReceived(0, QString());
    QVERIFY(b.Mereni.CurrentLines().isEmpty());
    QCOMPARE(b.Bar.value(), 1);
    QVERIFY(b.Mereni.Watchdog.isActive());
    QVERIFY(b.Smith.Points.empty());
}

void TestTMereni::sweepEndsAtItsLastLine_data()
{
    // 14.00 to 14.05 MHz in 10 kHz steps asks for six lines.
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<bool>("ended");
    QTest::addColumn<int>("stored");
    QTest::newRow("complete, with a line too many and a fragment") << QByteArray(
        "14000 50 0\r14010 51 1\r14020 52 2\r14030 53 3\r14040 54 4\r14050 55 5\r"
        "14060 56 6\r1407") << true << 6;
    QTest::newRow("complete, an empty line among them")
        << QByteArray("14000 50 0\r\r14020 52 2\r14030 53 3\r14040 54 4\r14050 55 5\r") << true
        << 5;
    QTest::newRow("cut short: the watchdog ends it")
        << QByteArray("14000 50 0\r14010 51 1\r14020 52 2\r") << false << 3;
}

void TestTMereni::sweepEndsAtItsLastLine()
{
    QFETCH(QByteArray, block);
    QFETCH(bool, ended);
    QFETCH(int, stored);
    TBench b;
    b.SetRange(14.0, 14.05);
    b.Mereni.StartSweep();
    QCOMPARE(b.Mereni.ExpectedLines, 6);
    b.Mereni.Comm->DataReceived(nullptr, block.constData(), static_cast<int>(block.size()));
    // Not inside the driver's read: the end comes with the next pass of the event loop.
    QVERIFY(b.Mereni.Measuring());
    QCoreApplication::processEvents();

    QCOMPARE(!b.Mereni.Measuring(), ended);
    QCOMPARE(b.Ends, ended ? 1 : 0);
    QCOMPARE(b.Port->IsOpen, !ended);
    QCOMPARE(b.Mereni.Watchdog.isActive(), !ended);
    QCOMPARE(b.Mereni.Watchdog.interval(), TMereni::WatchdogIntervalMs);
    QCOMPARE((ended ? b.Mereni.LastLines() : b.Mereni.CurrentLines()).size(), stored);
    if (ended)
        QCOMPARE(b.Mereni.Frequencies.Count(), stored);
    if (!ended) {
        b.Mereni.WatchdogTimer();
        QCOMPARE(b.Mereni.LastLines().size(), stored);
    }

    // Nothing of the last sweep's replies reaches the next one's first line.
    b.Mereni.StartSweep();
    QVERIFY(b.Mereni.Comm->LineBuffer().isEmpty());
    const QByteArray next("14000 60 0\r");
    b.Mereni.Comm->DataReceived(nullptr, next.constData(), static_cast<int>(next.size()));
    QCOMPARE(b.Mereni.CurrentLines(), QStringList { QStringLiteral("14000 60 0") });
}

void TestTMereni::watchdogWithoutLines()
{
    TBench b;
    const QStringList previous { QStringLiteral("7000 50 0"), QStringLiteral("7100 60 5") };
    b.Mereni.SetLastLines(previous);
    b.Mereni.StartSweep();
    QVERIFY(b.Port->IsOpen);
    b.Bar.setValue(7);

    b.Mereni.WatchdogTimer();

    QVERIFY(!b.Mereni.Watchdog.isActive());
    QVERIFY(!b.Port->IsOpen);
    QCOMPARE(b.Bar.value(), 0);
    QVERIFY(!b.Mereni.Measuring());
    QCOMPARE(b.Ends, 1);
    QCOMPARE(b.Mereni.LastLines(), previous);
    QVERIFY(b.Mereni.CurrentLines().isEmpty());
    // Nothing was redrawn, so nothing was evaluated.
    QCOMPARE(b.Mereni.Frequencies.Count(), 0);
}

void TestTMereni::watchdogWithLines()
{
    TBench b;
    b.Mereni.SetLastLines(QStringList { QStringLiteral("1 2 3") });
    b.Mereni.StartSweep();
    b.Mereni.LineReceived(0, QStringLiteral("14000 50 0"));
    b.Mereni.LineReceived(1, QStringLiteral("14010 55 5"));
    b.Graph.Cursor1->X = 100;
    b.Graph.Cursor2->X = 200;
    b.Graph.CursorMin->X = 300;
    const bool swappedBefore = b.Mereni.Swapped();

    b.Mereni.WatchdogTimer();

    QCOMPARE(b.Mereni.Swapped(), !swappedBefore);
    QCOMPARE(b.Mereni.LastLines(),
        QStringList({ QStringLiteral("14000 50 0"), QStringLiteral("14010 55 5") }));
    QVERIFY(b.Mereni.CurrentLines().isEmpty());
    QCOMPARE(b.Graph.Cursor1->X, 0);
    QCOMPARE(b.Graph.Cursor2->X, 0);
    QCOMPARE(b.Graph.CursorMin->X, 0);
    QVERIFY(!b.Mereni.Measuring());
    QCOMPARE(b.Ends, 1);
    // The graph was redrawn, which evaluated the new lines.
    QCOMPARE(b.Mereni.Frequencies.Count(), 2);
    QCOMPARE(b.Mereni.Frequencies.Item(1), 14.01);

    // The next sweep collects into the emptied list and leaves the last one alone.
    b.Mereni.StartSweep();
    b.Mereni.LineReceived(0, QStringLiteral("7000 50 0"));
    QCOMPARE(b.Mereni.CurrentLines().size(), 1);
    QCOMPARE(b.Mereni.LastLines().size(), 2);
}

void TestTMereni::watchdogFiresOnItsOwn()
{
    TBench b;
    b.Mereni.StartSweep();
    b.Mereni.LineReceived(0, QStringLiteral("14000 50 0"));
    QSignalSpy spy(&b.Mereni.Watchdog, &QTimer::timeout);
    QVERIFY(spy.wait(5000));
    QTRY_VERIFY_WITH_TIMEOUT(!b.Mereni.Measuring(), 5000);
    QCOMPARE(b.Ends, 1);
    QVERIFY(!b.Mereni.Watchdog.isActive());
    QCOMPARE(b.Mereni.LastLines(), QStringList { QStringLiteral("14000 50 0") });
    QVERIFY(!b.Port->IsOpen);
}

void TestTMereni::watchdogEndsSweepDespiteBadPortSetting()
{
    TDialogsScope scope(Dialogs);
    TBench b;
    b.Port->Devices = { "no such device" };
    b.Mereni.StartSweep();
    b.Mereni.LineReceived(0, QStringLiteral("14000 50 0"));
    WriteConfigValue(ciSelCom, QStringLiteral("x"));

    QVERIFY_THROWS_EXCEPTION(EConvertError, b.Mereni.WatchdogTimer());
    WriteConfigValue(ciSelCom, QStringLiteral("2"));

    QVERIFY(!b.Mereni.Measuring());
    QCOMPARE(b.Ends, 1);
    QCOMPARE(b.Mereni.LastLines().size(), 1);
    QCOMPARE(b.Mereni.Frequencies.Count(), 1);
}

void TestTMereni::evaluateZ0Rows_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<double>("swr");
    QTest::addColumn<double>("rl");
    QTest::addColumn<double>("phase");
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("cableLoss");

    QTest::newRow("25") << QStringLiteral("14000 25 0") << 2.0 << 9.542425 << 180.0 << 25.0
                        << 4.771213;
    QTest::newRow("50+j50") << QStringLiteral("14000 50 50") << 2.618034 << 6.9897 << 63.434949
                            << 70.710678 << 3.49485;
    QTest::newRow("match") << QStringLiteral("14000 50 0") << 1.0000001 << 146.0206 << 0.0 << 50.0
                           << 73.0103;
    QTest::newRow("short") << QStringLiteral("14000 0 0") << -20000001.0 << 8.7e-7 << 180.0 << 0.0
                           << 4.3e-7;
    QTest::newRow("-50 raises") << QStringLiteral("14000 -50 0") << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
}

void TestTMereni::evaluateZ0Rows()
{
    QFETCH(QString, line);
    QFETCH(double, swr);
    QFETCH(double, rl);
    QFETCH(double, phase);
    QFETCH(double, z);
    QFETCH(double, cableLoss);

    TBench b;
    b.Evaluate({ line });
    for (TDoubleArray *series : AllSeries(b.Mereni))
        QCOMPARE(series->Count(), 1);
    const auto tol = [](double v) { return std::max(1e-6, std::fabs(v) * 2e-5); };
    QVERIFY2(Near(b.Mereni.SWRValues.Item(0), swr, tol(swr)),
        qPrintable(QString::number(b.Mereni.SWRValues.Item(0), 'g', 17)));
    QVERIFY(Near(b.Mereni.RLValues.Item(0), rl, tol(rl)));
    QVERIFY(Near(b.Mereni.PhaseValues.Item(0), phase, tol(phase)));
    QVERIFY(Near(b.Mereni.Impedances.Item(0), z, tol(z)));
    QVERIFY(Near(b.Mereni.CableLosses.Item(0), cableLoss, tol(cableLoss)));
    QCOMPARE(b.Mereni.Frequencies.Item(0), 14.0);
}

void TestTMereni::evaluateSkipsBadLines()
{
    TBench b;
    b.Evaluate({ QStringLiteral("1000 50 0"), QString(), QStringLiteral("1010 50"),
        QString::fromLatin1(QByteArray("1020 5\0000 1", 11)), QStringLiteral("1030 nan 0"),
        QStringLiteral("1040 50 inf"), QStringLiteral("1050 1e999 0"),
        QStringLiteral("1060 50,5 0"), QStringLiteral("1070  50 0"),
        QString::fromLatin1("\xff\xfe\x80\x01"), QStringLiteral("1e12 50 0"),
        QStringLiteral("1080 1e300 -1e300"), QStringLiteral("1090 60 10 trailing"),
        QStringLiteral("-5 50 0") });

    // Kept: 1000, 1080 (computes to zeros), 1090, -5.
    for (TDoubleArray *series : AllSeries(b.Mereni)) {
        QCOMPARE(series->Count(), 4);
        for (int i = 0; i < series->Count(); ++i)
            QVERIFY(std::isfinite(series->Item(i)));
    }
    QCOMPARE(b.Mereni.Frequencies.Item(0), 1.0);
    QCOMPARE(b.Mereni.Frequencies.Item(2), 1.09);
    QCOMPARE(b.Mereni.Frequencies.Item(3), -0.005);
    QCOMPARE(b.Mereni.RawResistances.Item(1), 1e300);
    QCOMPARE(b.Mereni.SWRValues.Item(1), 0.0);
    QCOMPARE(b.Mereni.XValues.Item(1), 0.0);
    QCOMPARE(b.Mereni.RawReactances.Item(2), 10.0);
}

void TestTMereni::evaluateFrequencyRounding()
{
    TBench b;
    b.Evaluate({ QStringLiteral("14000.4 50 0"), QStringLiteral("14350 50 0"),
        QStringLiteral("7000.25 50 0"), QStringLiteral("1e4 50 0") });
    QCOMPARE(b.Mereni.Frequencies.Item(0), 14.0);
    QCOMPARE(b.Mereni.Frequencies.Item(1), 14.35);
    QCOMPARE(b.Mereni.Frequencies.Item(2), 7.0);
    QCOMPARE(b.Mereni.Frequencies.Item(3), 10.0);
}

void TestTMereni::evaluateFrequenciesReadAsTheirDecimals()
{
    // Every frequency of a full sweep is the very double its three decimals read as, so a
    // cursor standing on a point's frequency reads that point and not the one before.
    TBench b;
    QStringList lines;
    for (int kHz = 1000; kHz <= 30000; kHz += 10)
        lines << QStringLiteral("%1 50 0").arg(kHz);
    b.Evaluate(lines);
    QCOMPARE(b.Mereni.Frequencies.Count(), static_cast<int>(lines.size()));
    for (int i = 0; i < b.Mereni.Frequencies.Count(); ++i) {
        const double expected = (1000 + 10 * i) / 1000.0;
        QVERIFY2(b.Mereni.Frequencies.Item(i) == expected,
            qPrintable(QString::number(b.Mereni.Frequencies.Item(i), 'g', 17)));
    }
    QCOMPARE(TFrekvence::PointIndexAt(b.Mereni.Frequencies, 1.15), 15);
}

void TestTMereni::evaluateRaisingPointGetsZeros()
{
    TBench b;
    b.Evaluate({ QStringLiteral("14000 -50 0") });
    for (TDoubleArray *series :
        { &b.Mereni.Impedances, &b.Mereni.RValues, &b.Mereni.XValues, &b.Mereni.SWRValues,
            &b.Mereni.RLValues, &b.Mereni.PhaseValues, &b.Mereni.CableLosses })
        QCOMPARE(series->Item(0), 0.0);
    // Only the reactance curve takes the point (X 0 drawn as +1); every other curve breaks.
    QVERIFY(b.Graph.OsaXX->LastY > 0);
    QCOMPARE(b.Graph.OsaXX->LastX, b.Graph.OsaX->ValueToX(14.0));
    for (TOsaY *axis : std::initializer_list<TOsaY *> { b.Graph.OsaPSV.get(), b.Graph.OsaZ.get(),
             b.Graph.OsaR.get(), b.Graph.OsaRL.get(), b.Graph.OsaPhase.get() })
        QCOMPARE(axis->LastY, 0);
    // No point computed, so no minimum.
    QCOMPARE(b.Graph.CursorMin->X, 0);
}

void TestTMereni::evaluateSingleLinePlacesMinimumCursor()
{
    TBench b;
    b.Mereni.ShowMinSWR = [] { return true; };
    b.Evaluate({ QStringLiteral("14000 100 0") });
    QVERIFY(b.Graph.CursorMin->Visible);
    const int column = b.Graph.Raster->ColumnOf(14.0) + 35;
    QCOMPARE(b.Graph.CursorMin->X, column);
    QVERIFY(Near(b.Graph.CursorMin->Frequency, 14.0, 29.0 / 700));
    // One point per curve: the point is remembered, no segment yet.
    QCOMPARE(b.Graph.OsaPSV->LastX, b.Graph.OsaX->ValueToX(14.0));
    QVERIFY(b.Graph.OsaPSV->LastY > 0);
}

void TestTMereni::evaluateShortIsNeverTheMinimum()
{
    TBench b;
    b.Mereni.ShowMinSWR = [] { return true; };
    b.Evaluate(
        { QStringLiteral("7000 55 0"), QStringLiteral("20000 0 0"), QStringLiteral("25000 50 0") });
    // The short's replacement SWR is negative, but it reflects everything: the match wins.
    QCOMPARE(b.Graph.CursorMin->X, b.Graph.Raster->ColumnOf(25.0) + 35);
}

void TestTMereni::evaluateTieKeepsEarlierPoint()
{
    TBench b;
    b.Mereni.ShowMinSWR = [] { return true; };
    b.Evaluate({ QStringLiteral("7000 100 0"), QStringLiteral("20000 25 0"),
        QStringLiteral("25000 100 0") });
    QCOMPARE(b.Graph.CursorMin->X, b.Graph.Raster->ColumnOf(7.0) + 35);
}

void TestTMereni::evaluateNoMinimumBelowStart()
{
    TBench b;
    b.Mereni.ShowMinSWR = [] { return true; };
    b.Graph.CursorMin->Visible = false;
    b.Evaluate({ QStringLiteral("14000 1e7 0"), QStringLiteral("15000 2e7 0") });
    QVERIFY(b.Mereni.SWRValues.Item(0) > 100000.0);
    QCOMPARE(b.Graph.CursorMin->X, 0);
    QVERIFY(!b.Graph.CursorMin->Visible);

    // A minimum at or below 0.5 MHz places no cursor either.
    b.Evaluate({ QStringLiteral("500 50 0") });
    QCOMPARE(b.Graph.CursorMin->X, 0);
}

void TestTMereni::evaluateMinimumCursorNotWanted()
{
    TBench b;
    b.Graph.CursorMin->Visible = true;
    b.Evaluate({ QStringLiteral("14000 50 0") });
    QVERIFY(!b.Graph.CursorMin->Visible);
    QCOMPARE(b.Graph.CursorMin->X, 0);

    b.Mereni.ShowMinSWR = [] { return false; };
    b.Graph.CursorMin->Visible = true;
    b.Evaluate({ QStringLiteral("14000 50 0") });
    QVERIFY(!b.Graph.CursorMin->Visible);
}

void TestTMereni::evaluateZeroReference()
{
    TBench b;
    ChImp = 0;
    b.Mereni.ShowMinSWR = [] { return true; };
    b.Evaluate({ QStringLiteral("14000 50 0"), QStringLiteral("14100 0 0"),
        QStringLiteral("14200 75 -20") });
    for (TDoubleArray *series : AllSeries(b.Mereni)) {
        QCOMPARE(series->Count(), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY(std::isfinite(series->Item(i)));
    }
    // The short against 0 ohm cannot be computed.
    QCOMPARE(b.Mereni.SWRValues.Item(1), 0.0);
    QVERIFY(b.Mereni.SWRValues.Item(0) < -1.9e7);
}

void TestTMereni::evaluateWithoutPointsEmptiesSeries()
{
    // Nothing of an earlier sweep survives lines that hold no point, or none at all: no
    // series, no minimum cursor, and its row reads "E" in every field.
    for (const QStringList &none : { QStringList {}, QStringList { QStringLiteral("garbage") } }) {
        TBench b;
        TRecordingRow row;
        b.Graph.CursorMin->Readout = &row;
        b.Mereni.ShowMinSWR = [] { return true; };
        b.Evaluate({ QStringLiteral("14000 50 0"), QStringLiteral("14010 60 5") });
        QVERIFY(b.Graph.CursorMin->X > 0);
        QVERIFY(row.Valid.value(QStringLiteral("PSV")));
        b.Evaluate(none);
        for (TDoubleArray *series : AllSeries(b.Mereni))
            QCOMPARE(series->Count(), 0);
        QCOMPARE(b.Graph.CursorMin->X, 0);
        QCOMPARE(b.Graph.CursorMin->Frequency, 0.0);
        for (const QString &field : row.Valid.keys())
            QVERIFY2(!row.Valid.value(field), qPrintable(field));
        QCOMPARE(row.Valid.size(), 9);
    }
}

void TestTMereni::minimumRowShowsTheMinimumPoint()
{
    // 10 kHz steps on a plot of 0.041 MHz a column: the column of 14.230 MHz has 14.2157,
    // where the points at or below are those of 14.21 and 14.22.
    TBench b;
    TRecordingRow row;
    b.Graph.CursorMin->Readout = &row;
    b.Mereni.ShowMinSWR = [] { return true; };
    b.Evaluate({ QStringLiteral("14200 70 -9"), QStringLiteral("14210 60 -6"),
        QStringLiteral("14220 55 -3"), QStringLiteral("14230 50 -2"),
        QStringLiteral("14240 56 4") });
    QCOMPARE(b.Graph.CursorMin->X, b.Graph.Raster->ColumnOf(14.23) + 35);
    QCOMPARE(b.Graph.CursorMin->Frequency, 14.23);
    QCOMPARE(row.Value.value(QStringLiteral("F")), 14.23);
    QCOMPARE(row.Value.value(QStringLiteral("Rx")), 50.0);
    QCOMPARE(row.Value.value(QStringLiteral("Xx")), -2.0);
    QCOMPARE(row.Value.value(QStringLiteral("PSV")), ComputeSWR(50, -2, 50));
    // A drag step draws it again on the same point.
    b.Graph.MoveCursor1(300, 100);
    QCOMPARE(row.Value.value(QStringLiteral("Xx")), -2.0);
    QCOMPARE(b.Graph.CursorMin->Frequency, 14.23);
}

void TestTMereni::smoothingFewerThanWindow()
{
    TDialogsScope scope(Dialogs);
    TBench b;
    SmoothCurves = true;
    QStringList lines;
    for (int i = 0; i < 10; ++i)
        lines << QStringLiteral("%1 %2 %3").arg(7000 + 10 * i).arg(40 + i * i).arg(-i * 3);
    b.Evaluate(lines);
    QCOMPARE(b.Mereni.Resistances.Count(), 10);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(b.Mereni.Resistances.Item(i), b.Mereni.RawResistances.Item(i));
        QCOMPARE(b.Mereni.Reactances.Item(i), b.Mereni.RawReactances.Item(i));
    }
    QVERIFY(Dialogs.Shown().empty());
}

void TestTMereni::smoothingOverPointIndex()
{
    TDialogsScope scope(Dialogs);
    TBench b;
    SmoothCurves = true;
    // Uneven frequency steps: the fit runs over the point number, so a polynomial in the
    // index without a constant term is reproduced whatever the frequencies are.
    QStringList lines;
    double f = 3000;
    for (int i = 0; i < 40; ++i) {
        f += (i % 3 == 0) ? 10 : 50;
        lines << QStringLiteral("%1 %2 %3").arg(f).arg(i * i + 20 * i).arg(i % 2 ? 30 : -30);
    }
    b.Evaluate(lines);
    QCOMPARE(b.Mereni.Resistances.Count(), 40);
    for (int i = 16; i <= 31; ++i)
        QVERIFY(Near(b.Mereni.Resistances.Item(i), i * i + 20.0 * i, 1e-6));
    // The alternating reactance is flattened inside the fitted range only.
    QVERIFY(std::fabs(b.Mereni.Reactances.Item(20)) < 29.0);
    QCOMPARE(b.Mereni.Reactances.Item(3), 30.0);
    QCOMPARE(b.Mereni.Reactances.Item(35), 30.0);
    // The raw series and the plotted R follow what was evaluated.
    QCOMPARE(b.Mereni.RawReactances.Item(20), -30.0);
    QCOMPARE(b.Mereni.RValues.Item(20), b.Mereni.Resistances.Item(20));
    QVERIFY(Dialogs.Shown().empty());
}

QTEST_MAIN(TestTMereni)
#include "tst_TMereni.moc"
