#include "measure/Resonances.h"

#include <QtTest>

#include <cmath>

class TestResonances : public QObject
{
    Q_OBJECT

private slots:
    void findResonances_data();
    void findResonances();
};

namespace {

const double kNone = std::nan("");

} // namespace

void TestResonances::findResonances_data()
{
    // One point per MHz from 1 MHz; the expected rows are the minimum's frequency, the lower
    // and upper crossings, the bandwidth (kHz) and Q, worked out by hand; NaN where absent.
    QTest::addColumn<QList<double>>("swr");
    QTest::addColumn<QList<double>>("expected");

    QTest::newRow("two resonances") << QList<double> { 3, 2.5, 1.5, 1.2, 1.5, 3, 4, 1.8, 1.1, 2.4 }
                                    << QList<double> { 4, 2.5, 5.333333, 2833.333, 1.288759, //
                                           9, 7.909091, 9.692308, 1783.217, 4.909901 };
    QTest::newRow("flat dummy load") << QList<double> { 1, 1, 1, 1, 1, 1 } << QList<double> {};
    QTest::newRow("nothing below") << QList<double> { 5, 4, 3, 2, 3, 4 } << QList<double> {};
    QTest::newRow("falling off the low end")
        << QList<double> { 1.1, 1.3, 1.9, 2.5, 3 } << QList<double> {};
    QTest::newRow("running off the high end: no upper crossing")
        << QList<double> { 3, 2.5, 1.5, 1.2, 1.4 } << QList<double> { 4, 2.5, kNone, kNone, kNone };
    // A point that could not be evaluated reads 0: it ends the dip without a crossing.
    QTest::newRow("failed point beside the dip") << QList<double> { 3, 1.5, 1.2, 0,
        3 } << QList<double> { 3, 1.666667, kNone, kNone, kNone };
}

void TestResonances::findResonances()
{
    QFETCH(QList<double>, swr);
    QFETCH(QList<double>, expected);
    std::vector<double> F;
    std::vector<double> R;
    std::vector<double> X;
    for (int I = 0; I < swr.size(); ++I) {
        F.push_back(1.0 + I);
        R.push_back(50.0 + I);
        X.push_back(-10.0 * I);
    }
    const std::vector<double> S(swr.begin(), swr.end());
    const std::vector<TResonance> Found = FindResonances(F, S, R, X, 2.0);

    QCOMPARE(static_cast<int>(Found.size()), static_cast<int>(expected.size()) / 5);
    const auto Same = [](bool Has, double Value, double Expected) {
        return std::isnan(Expected) ? !Has : Has && std::fabs(Value - Expected) < 1e-3;
    };
    for (std::size_t K = 0; K < Found.size(); ++K) {
        const TResonance &D = Found[K];
        const double *E = expected.constData() + 5 * K;
        QCOMPARE(D.FrequencyMHz, E[0]);
        // The row reads the minimum's own point.
        QCOMPARE(D.SWR, S[static_cast<std::size_t>(D.Point)]);
        QCOMPARE(D.R, 50.0 + D.Point);
        QCOMPARE(D.X, -10.0 * D.Point);
        QVERIFY2(Same(D.HasLower, D.LowerMHz, E[1]), qPrintable(QString::number(D.LowerMHz)));
        QVERIFY2(Same(D.HasUpper, D.UpperMHz, E[2]), qPrintable(QString::number(D.UpperMHz)));
        QVERIFY2(Same(D.HasBandwidth, D.BandwidthKHz, E[3]),
            qPrintable(QString::number(D.BandwidthKHz)));
        QVERIFY2(Same(D.QValid, D.Q, E[4]), qPrintable(QString::number(D.Q)));
    }
}

QTEST_GUILESS_MAIN(TestResonances)
#include "tst_Resonances.moc"
