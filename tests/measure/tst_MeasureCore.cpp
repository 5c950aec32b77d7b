#include "measure/PointFormulas.h"
#include "measure/ReplyLine.h"
#include "measure/ReplyLineQt.h"
#include "platform/Errors.h"

#include <QtTest>

#include <cmath>
#include <string>

using namespace std::string_view_literals;

class TestMeasureCore : public QObject
{
    Q_OBJECT

private slots:
    void readLineField_data();
    void readLineField();
    void readLineFieldKeepsValueOnFailure();
    void readLineFieldsStopsAtFirstFailure();
    void readLineFieldLatin1();

    void computePoint_data();
    void computePoint();
    void computePointShort();
    void computePointRaises_data();
    void computePointRaises();
    void computePointZeroImpedanceReference();

    void computeLC_data();
    void computeLC();
    void computeQ_data();
    void computeQ();
};

void TestMeasureCore::readLineField_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");

    QTest::newRow("freq") << QByteArray("14000 50 0") << 1 << true << 14000.0;
    QTest::newRow("r") << QByteArray("14000 50 0") << 2 << true << 50.0;
    QTest::newRow("x last field runs to end") << QByteArray("14000 50 -3.5") << 3 << true << -3.5;
    QTest::newRow("text after third space ignored")
        << QByteArray("14000 50 7 garbage") << 3 << true << 7.0;
    QTest::newRow("sign and exponent") << QByteArray("+1.4e4 5E1 -2e-1") << 1 << true << 14000.0;
    QTest::newRow("exponent field 3") << QByteArray("+1.4e4 5E1 -2e-1") << 3 << true << -0.2;
    QTest::newRow("missing third field") << QByteArray("14000 50") << 3 << false << 0.0;
    QTest::newRow("trailing space empty field") << QByteArray("14000 50 ") << 3 << false << 0.0;
    QTest::newRow("two spaces empty field") << QByteArray("14000  50 0") << 2 << false << 0.0;
    QTest::newRow("two spaces shift") << QByteArray("14000  50 0") << 3 << true << 50.0;
    QTest::newRow("empty line") << QByteArray("") << 1 << false << 0.0;
    QTest::newRow("comma decimal") << QByteArray("14000 50,5 0") << 2 << false << 0.0;
    QTest::newRow("line feed kept in field") << QByteArray("\n14000 50 0") << 1 << false << 0.0;
    QTest::newRow("line feed at end") << QByteArray("14000 50 0\n") << 3 << false << 0.0;
    QTest::newRow("nan") << QByteArray("14000 nan 0") << 2 << false << 0.0;
    QTest::newRow("inf") << QByteArray("14000 50 inf") << 3 << false << 0.0;
    QTest::newRow("overflow") << QByteArray("14000 1e999 0") << 2 << false << 0.0;
    QTest::newRow("hex") << QByteArray("0x10 50 0") << 1 << false << 0.0;
    QTest::newRow("nul inside") << QByteArray("140\0000 50 0", 10) << 1 << false << 0.0;
    QTest::newRow("nul after field") << QByteArray("14000 50 0\0", 11) << 3 << false << 0.0;
    QTest::newRow("tab") << QByteArray("14000\t50 0") << 1 << false << 0.0;
    QTest::newRow("garbage bytes") << QByteArray("\xff\xfe\x80 50 0") << 1 << false << 0.0;
    QTest::newRow("field 0") << QByteArray("14000 50 0") << 0 << false << 0.0;
    QTest::newRow("field 4 after text") << QByteArray("1 2 3 4") << 4 << true << 4.0;
    QTest::newRow("field 4 missing") << QByteArray("1 2 3") << 4 << false << 0.0;
}

void TestMeasureCore::readLineField()
{
    QFETCH(QByteArray, line);
    QFETCH(int, field);
    QFETCH(bool, ok);
    QFETCH(double, value);

    double v = 0.0;
    QCOMPARE(ReadLineField(
                 std::string_view(line.constData(), static_cast<size_t>(line.size())), field, v),
        ok);
    if (ok)
        QCOMPARE(v, value);
    // The stored form of a line (one character per byte) reads the same.
    double q = 0.0;
    QCOMPARE(ReadLineField(QString::fromLatin1(line), field, q), ok);
    if (ok)
        QCOMPARE(q, value);
    // The three fields read at once are the fields read one by one.
    TLineFields f;
    double freq = 0.0;
    double r = 0.0;
    double x = 0.0;
    const std::string_view view(line.constData(), static_cast<size_t>(line.size()));
    const bool all
        = ReadLineField(view, 1, freq) && ReadLineField(view, 2, r) && ReadLineField(view, 3, x);
    QCOMPARE(ReadLineFields(QString::fromLatin1(line), f), all);
    if (all)
        QVERIFY(f.FreqKHz == freq && f.R == r && f.X == x);
}

void TestMeasureCore::readLineFieldKeepsValueOnFailure()
{
    double v = 123.0;
    QVERIFY(!ReadLineField("1 x 3"sv, 2, v));
    QCOMPARE(v, 123.0);
}

void TestMeasureCore::readLineFieldsStopsAtFirstFailure()
{
    TLineFields f;
    QVERIFY(ReadLineFields("14000 50 0"sv, f));
    QCOMPARE(f.FreqKHz, 14000.0);
    QCOMPARE(f.R, 50.0);
    QCOMPARE(f.X, 0.0);

    TLineFields g;
    QVERIFY(!ReadLineFields("14000 50"sv, g));
    QVERIFY(!ReadLineFields(QStringLiteral("7000 x 5"), g));
}

void TestMeasureCore::readLineFieldLatin1()
{
    // A character outside Latin-1 cannot have come from the wire and must not parse.
    double v = 0.0;
    QVERIFY(!ReadLineField(QStringLiteral("14000 5\u20ac0 0"), 2, v));
    QVERIFY(ReadLineField(QStringLiteral("14000 \u00e950 0"), 1, v));
    QCOMPARE(v, 14000.0);
}

void TestMeasureCore::computePoint_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("gammaRe");
    QTest::addColumn<double>("gammaIm");
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("swr");
    QTest::addColumn<double>("rl");
    QTest::addColumn<double>("cableLoss");
    QTest::addColumn<double>("z");

    const double rl2 = 9.542425094;
    QTest::newRow("100 ohm") << 100.0 << 0.0 << 1.0 / 3 << 0.0 << 0.0 << 2.0 << rl2 << rl2 / 2
                             << 100.0;
    QTest::newRow("25 ohm") << 25.0 << 0.0 << -1.0 / 3 << 0.0 << 180.0 << 2.0 << rl2 << rl2 / 2
                            << 25.0;
    QTest::newRow("50+j50") << 50.0 << 50.0 << 0.2 << 0.4 << 63.434949 << 2.618034 << 6.9897
                            << 3.49485 << 70.710678;
    QTest::newRow("50-j50") << 50.0 << -50.0 << 0.2 << -0.4 << -63.434949 << 2.618034 << 6.9897
                            << 3.49485 << 70.710678;
    QTest::newRow("match") << 50.0 << 0.0 << 0.0 << 0.0 << 0.0 << 1.0000001 << 146.0206 << 73.0103
                           << 50.0;
    QTest::newRow("0+j50 pure reactance")
        << 0.0 << 50.0 << 0.0 << 1.0 << 0.0 << -20000001.0 << 8.7e-7 << 4.3e-7 << 50.0;
    QTest::newRow("25-j25 third quadrant") << 25.0 << -25.0 << -0.2 << -0.4 << -116.565051
                                           << 2.618034 << 6.9897 << 3.49485 << 35.355339;
}

static bool Near(double a, double b)
{
    const double tol = std::max(1e-6, std::fabs(b) * 2e-5);
    return std::fabs(a - b) <= tol;
}

void TestMeasureCore::computePoint()
{
    QFETCH(double, r);
    QFETCH(double, x);
    QFETCH(double, gammaRe);
    QFETCH(double, gammaIm);
    QFETCH(double, angle);
    QFETCH(double, swr);
    QFETCH(double, rl);
    QFETCH(double, cableLoss);
    QFETCH(double, z);

    TPointValues v;
    ComputePoint(r, x, 14.0, 50.0, v);
    QVERIFY2(Near(v.GammaRe, gammaRe), qPrintable(QString::number(v.GammaRe, 'g', 17)));
    QVERIFY2(Near(v.GammaIm, gammaIm), qPrintable(QString::number(v.GammaIm, 'g', 17)));
    QVERIFY2(Near(v.Angle, angle), qPrintable(QString::number(v.Angle, 'g', 17)));
    QVERIFY2(Near(v.SWR, swr), qPrintable(QString::number(v.SWR, 'g', 17)));
    QVERIFY2(Near(v.RL, rl), qPrintable(QString::number(v.RL, 'g', 17)));
    QVERIFY2(Near(v.CableLoss, cableLoss), qPrintable(QString::number(v.CableLoss, 'g', 17)));
    QVERIFY2(Near(v.Z, z), qPrintable(QString::number(v.Z, 'g', 17)));
    QVERIFY(
        v.ZValid && v.SWRValid && v.RLValid && v.AngleValid && v.GammaValid && v.CableLossValid);
}

void TestMeasureCore::computePointShort()
{
    TPointValues v;
    ComputePoint(0.0, 0.0, 1.0, 50.0, v);
    QCOMPARE(v.GammaRe, -1.0);
    QCOMPARE(v.Angle, 180.0);
    // |Gamma| = 1 is replaced by 1.0000001: (2.0000001) / (-0.0000001).
    QCOMPARE(v.SWR, (1.0 + 1.0000001) / (1.0 - 1.0000001));
    QVERIFY(v.SWR < -1.9e7 && v.SWR > -2.1e7);
    QVERIFY(Near(v.RL, 8.7e-7));
    QCOMPARE(v.Z, 0.0);
    // The perfect match reports the replaced SWR exactly.
    ComputePoint(50.0, 0.0, 1.0, 50.0, v);
    QCOMPARE(v.SWR, 1.0000001);
}

void TestMeasureCore::computePointRaises_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("z0");

    QTest::newRow("R = -Z0, X = 0") << -50.0 << 0.0 << 50.0;
    QTest::newRow("short against Z0 0") << 0.0 << 0.0 << 0.0;
    QTest::newRow("overflowing R") << 1e200 << 0.0 << 50.0;
    QTest::newRow("overflowing X") << 50.0 << -1e300 << 50.0;
    QTest::newRow("NaN R") << std::nan("") << 0.0 << 50.0;
    QTest::newRow("infinite X") << 50.0 << HUGE_VAL << 50.0;
}

void TestMeasureCore::computePointRaises()
{
    QFETCH(double, r);
    QFETCH(double, x);
    QFETCH(double, z0);

    TPointValues v;
    QVERIFY_THROWS_EXCEPTION(EFloatError, ComputePoint(r, x, 14.0, z0, v));
    QVERIFY(!v.SWRValid);
    QVERIFY(!std::isnan(v.SWR) && !std::isnan(v.GammaRe));
}

void TestMeasureCore::computePointZeroImpedanceReference()
{
    // A reference impedance of 0 makes every load a total reflection, not a fault.
    TPointValues v;
    ComputePoint(50.0, 10.0, 14.0, 0.0, v);
    QCOMPARE(v.GammaRe, 1.0);
    QCOMPARE(v.GammaIm, 0.0);
    QVERIFY(v.SWR < -1.9e7);
    QVERIFY(std::isfinite(v.RL) && std::isfinite(v.CableLoss));
}

void TestMeasureCore::computeLC_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("f");
    QTest::addColumn<bool>("cValid");
    QTest::addColumn<double>("c");
    QTest::addColumn<bool>("lValid");
    QTest::addColumn<double>("l");

    QTest::newRow("capacitive") << -100.0 << 14.0 << true << -113.571429 << true << -1.136821;
    QTest::newRow("inductive") << 100.0 << 14.0 << true << 113.571429 << true << 1.136821;
    QTest::newRow("below 1 kHz") << 100.0 << 0.0005 << false << 0.0 << false << 0.0;
    QTest::newRow("tiny reactance only L")
        << 0.0005 << 14.0 << false << 0.0 << true << 0.0005 / (14.0 * 6.283185308);
    QTest::newRow("zero reactance") << 0.0 << 7.0 << false << 0.0 << true << 0.0;
    QTest::newRow("overflowing product") << 1e308 << 10.0 << false << 0.0 << false << 0.0;
    QTest::newRow("NaN reactance") << std::nan("") << 10.0 << false << 0.0 << false << 0.0;
}

void TestMeasureCore::computeLC()
{
    QFETCH(double, x);
    QFETCH(double, f);
    QFETCH(bool, cValid);
    QFETCH(double, c);
    QFETCH(bool, lValid);
    QFETCH(double, l);

    const TLCValues lc = ComputeLC(x, f);
    QCOMPARE(lc.CValid, cValid);
    QCOMPARE(lc.LValid, lValid);
    if (cValid)
        QVERIFY2(Near(lc.C, c), qPrintable(QString::number(lc.C, 'g', 17)));
    if (lValid)
        QVERIFY2(Near(lc.L, l), qPrintable(QString::number(lc.L, 'g', 17)));
}

void TestMeasureCore::computeQ_data()
{
    QTest::addColumn<double>("f1");
    QTest::addColumn<double>("f2");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("q");

    QTest::newRow("20 m") << 14.0 << 14.2 << true << std::sqrt(14.0 * 14.2) / 0.2;
    QTest::newRow("reversed") << 7.2 << 7.0 << true << std::sqrt(7.0 * 7.2) / 0.2;
    QTest::newRow("equal") << 14.0 << 14.0 << false << 0.0;
    QTest::newRow("negative product") << -1.0 << 2.0 << false << 0.0;
}

void TestMeasureCore::computeQ()
{
    QFETCH(double, f1);
    QFETCH(double, f2);
    QFETCH(bool, valid);
    QFETCH(double, q);

    double result = -1.0;
    QCOMPARE(ComputeQ(f1, f2, result), valid);
    if (valid)
        QVERIFY(Near(result, q));
    if (f1 == 14.0 && f2 == 14.2)
        QVERIFY(std::fabs(result - 70.5) < 0.05);
}

QTEST_GUILESS_MAIN(TestMeasureCore)
#include "tst_MeasureCore.moc"
