#include "AnalyzerModel.h"
#include "platform/Parse.h"

#include <QTest>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

namespace {

double Swr(std::complex<double> Z, double Z0)
{
    const double Gamma = std::abs((Z - Z0) / (Z + Z0));
    return (1 + Gamma) / (1 - Gamma);
}

// Frequencies (MHz) of the local minima of F over 1..30 MHz in 10 kHz steps.
template <typename TFunction> std::vector<double> LocalMinima(TFunction F)
{
    std::vector<double> Minima;
    for (int Code = 101; Code < 3000; ++Code) {
        const double Here = F(Code / 100.0);
        if (Here < F((Code - 1) / 100.0) && Here <= F((Code + 1) / 100.0))
            Minima.push_back(Code / 100.0);
    }
    return Minima;
}

} // namespace

class TestAnalyzerModel : public QObject
{
    Q_OBJECT

private slots:
    void SweepCommand_data()
    {
        QTest::addColumn<QString>("Command");
        QTest::addColumn<bool>("Valid");
        QTest::addColumn<int>("Start");
        QTest::addColumn<int>("Stop");
        QTest::addColumn<int>("Step");
        QTest::newRow("as the program sends it") << "100 3000 10 " << true << 100 << 3000 << 10;
        QTest::newRow("without the trailing space") << "1400 1435 1" << true << 1400 << 1435 << 1;
        QTest::newRow("step wider than the span") << "100 101 50 " << true << 100 << 101 << 50;
        QTest::newRow("start equals stop") << "500 500 5 " << false << 0 << 0 << 0;
        QTest::newRow("reversed") << "3000 100 10 " << false << 0 << 0 << 0;
        QTest::newRow("below range") << "99 3000 10 " << false << 0 << 0 << 0;
        QTest::newRow("above range") << "100 3001 10 " << false << 0 << 0 << 0;
        QTest::newRow("step zero") << "100 200 0 " << false << 0 << 0 << 0;
        QTest::newRow("negative step") << "100 200 -5 " << false << 0 << 0 << 0;
        QTest::newRow("two trailing spaces") << "100 200 5  " << false << 0 << 0 << 0;
        QTest::newRow("double space") << "100  200 5 " << false << 0 << 0 << 0;
        QTest::newRow("line feed") << "\n100 200 5 " << false << 0 << 0 << 0;
        QTest::newRow("two numbers") << "100 200 " << false << 0 << 0 << 0;
        QTest::newRow("huge number") << "100 200 99999999999 " << false << 0 << 0 << 0;
        QTest::newRow("empty") << "" << false << 0 << 0 << 0;
    }

    void SweepCommand()
    {
        QFETCH(QString, Command);
        QFETCH(bool, Valid);
        QFETCH(int, Start);
        QFETCH(int, Stop);
        QFETCH(int, Step);
        int GotStart = 0;
        int GotStop = 0;
        int GotStep = 0;
        QCOMPARE(ParseSweepCommand(Command.toStdString(), GotStart, GotStop, GotStep), Valid);
        if (Valid) {
            QCOMPARE(GotStart, Start);
            QCOMPARE(GotStop, Stop);
            QCOMPARE(GotStep, Step);
        }
    }

    void ReplyLineFields()
    {
        TLoadParams Params;
        Params.Kind = TLoadKind::Rlc;
        Params.F0MHz = 10;
        TAnalyzerModel Model(Params);
        QCOMPARE(Model.ReplyLine(1000), std::string("10000 50 0"));
        // Below resonance a series circuit is capacitive: X negative, sign and all.
        const std::string Below = Model.ReplyLine(500);
        QVERIFY(Below.rfind("5000 50 -", 0) == 0);
        int X = 0;
        QVERIFY(TryStrToInt(Below.substr(Below.rfind(' ') + 1), X));
        // X = R Q (f/f0 - f0/f) = 50 * 10 * (0.5 - 2).
        QCOMPARE(X, -750);
    }

    void DummyLoadIsNearlyPerfect()
    {
        TLoadParams Params;
        Params.Kind = TLoadKind::Dummy;
        for (int Code = 100; Code <= 3000; Code += 10) {
            const std::complex<double> Z = LoadImpedance(Params, Code / 100.0);
            QCOMPARE(Z.real(), 50.0);
            QVERIFY(Z.imag() > 0);
            QVERIFY2(Swr(Z, 50) < 1.05, qPrintable(QString::number(Code)));
        }
    }

    void RlcBandwidthFollowsQ_data()
    {
        QTest::addColumn<double>("Q");
        QTest::newRow("Q 10") << 10.0;
        QTest::newRow("Q 50") << 50.0;
    }

    void RlcBandwidthFollowsQ()
    {
        QFETCH(double, Q);
        TLoadParams Params;
        Params.Kind = TLoadKind::Rlc;
        Params.F0MHz = 7;
        Params.Q = Q;
        QVERIFY(std::abs(LoadImpedance(Params, 7).imag()) < 1e-9);
        // The half-power edges, where |X| = R, lie F0/Q apart.
        const double Half = std::sqrt(1 + 1 / (4 * Q * Q));
        const double Upper = 7 * (Half + 1 / (2 * Q));
        const double Lower = 7 * (Half - 1 / (2 * Q));
        QVERIFY(std::abs(LoadImpedance(Params, Upper).imag() - 50) < 1e-6);
        QVERIFY(std::abs(LoadImpedance(Params, Lower).imag() + 50) < 1e-6);
        QVERIFY(std::abs(Upper - Lower - 7 / Q) < 1e-9);
    }

    void DipoleResonatesNearOddMultiples()
    {
        TLoadParams Params;
        const auto SwrAt = [&Params](double F) { return Swr(LoadImpedance(Params, F), 50); };
        // The 160 m band shows its dip, a usable match.
        const std::vector<double> Dips = LocalMinima(SwrAt);
        QVERIFY(Dips.size() >= 4);
        QVERIFY(std::abs(Dips[0] - 1.9) < 0.1);
        QVERIFY(SwrAt(Dips[0]) < 2);
        for (std::size_t i = 0; i < Dips.size(); ++i) {
            const double Odd = (2 * double(i) + 1) * 1.9;
            QVERIFY2(std::abs(Dips[i] - Odd) < 0.05 * Odd, qPrintable(QString::number(Dips[i])));
        }
        // Between them, at the even multiples, the feed point is high impedance.
        QVERIFY(std::abs(LoadImpedance(Params, 3.8)) > 2000);
        // Below resonance a short dipole is capacitive.
        QVERIFY(LoadImpedance(Params, 1.0).imag() < -300);
    }

    void CableExtremesAreSpacedByHalfWaves_data()
    {
        QTest::addColumn<int>("Kind");
        QTest::addColumn<double>("LengthM");
        QTest::addColumn<double>("Vf");
        QTest::newRow("open, 10 m, vf 0.66") << int(TLoadKind::Open) << 10.0 << 0.66;
        QTest::newRow("short, 10 m, vf 0.66") << int(TLoadKind::Short) << 10.0 << 0.66;
        QTest::newRow("open, 25 m, vf 0.82") << int(TLoadKind::Open) << 25.0 << 0.82;
    }

    void CableExtremesAreSpacedByHalfWaves()
    {
        QFETCH(int, Kind);
        QFETCH(double, LengthM);
        QFETCH(double, Vf);
        TLoadParams Params;
        Params.Kind = static_cast<TLoadKind>(Kind);
        Params.LengthM = LengthM;
        Params.Vf = Vf;
        const double SpacingMHz = Vf * kSpeedOfLight / (2 * LengthM) / 1e6;
        const std::vector<double> Minima
            = LocalMinima([&Params](double F) { return std::abs(LoadImpedance(Params, F)); });
        const std::vector<double> Maxima
            = LocalMinima([&Params](double F) { return -std::abs(LoadImpedance(Params, F)); });
        QVERIFY(Minima.size() >= 2);
        QVERIFY(Maxima.size() >= 2);
        for (const std::vector<double> *Extremes : { &Minima, &Maxima }) {
            for (std::size_t i = 1; i < Extremes->size(); ++i)
                QVERIFY(std::abs((*Extremes)[i] - (*Extremes)[i - 1] - SpacingMHz) <= 0.011);
        }
        // An open cable starts high, a shorted one low; they swap every quarter wave.
        const double FirstMin = Minima.front();
        const double QuarterMHz = SpacingMHz / 2;
        const double Expected = Params.Kind == TLoadKind::Open ? QuarterMHz : SpacingMHz;
        QVERIFY(std::abs(FirstMin - Expected) <= 0.011);
    }

    void CableLossGrowsWithFrequency()
    {
        TLoadParams Params;
        Params.Kind = TLoadKind::Short;
        // At the half-wave points a shorted lossless line would read 0 ohm; the loss shows as
        // a small resistance that grows roughly with the square root of frequency.
        const double Half = 0.66 * kSpeedOfLight / 20 / 1e6;
        const double R1 = LoadImpedance(Params, Half).real();
        const double R2 = LoadImpedance(Params, 2 * Half).real();
        QVERIFY(R1 > 0.1 && R1 < 5);
        QVERIFY(std::abs(R2 / R1 - std::sqrt(2.0)) < 0.05);
    }

    void NoiseIsSeeded()
    {
        TLoadParams Params;
        Params.Kind = TLoadKind::Dummy;
        Params.NoiseOhm = 5;
        const auto Sweep = [](const TLoadParams &P) {
            TAnalyzerModel Model(P);
            std::vector<std::string> Lines;
            for (int Code = 100; Code <= 3000; Code += 100)
                Lines.push_back(Model.ReplyLine(Code));
            return Lines;
        };
        const std::vector<std::string> First = Sweep(Params);
        QCOMPARE(Sweep(Params), First);
        Params.Seed = 2;
        QVERIFY(Sweep(Params) != First);
        Params.NoiseOhm = 0;
        QCOMPARE(Sweep(Params).front(), std::string("1000 50 0"));
    }

    void ExtremeParametersStillGiveALine_data()
    {
        // Values the command line accepts, at which the model's arithmetic runs away to
        // infinities and their differences.
        QTest::addColumn<int>("Kind");
        QTest::addColumn<double>("F0MHz");
        QTest::addColumn<double>("Q");
        QTest::addColumn<double>("LengthM");
        QTest::addColumn<double>("NoiseOhm");
        QTest::newRow("R-L-C of enormous quality")
            << int(TLoadKind::Rlc) << 1.9 << 1e308 << 10.0 << 0.0;
        QTest::newRow("R-L-C resonant beyond any frequency")
            << int(TLoadKind::Rlc) << 1e308 << 10.0 << 10.0 << 0.0;
        QTest::newRow("open cable of enormous length")
            << int(TLoadKind::Open) << 1.9 << 10.0 << 1e308 << 0.0;
        QTest::newRow("shorted cable of enormous length")
            << int(TLoadKind::Short) << 1.9 << 10.0 << 1e308 << 0.0;
        QTest::newRow("dipole, tiny half-wave frequency")
            << int(TLoadKind::Dipole) << 1e-3 << 10.0 << 10.0 << 0.0;
        QTest::newRow("enormous noise") << int(TLoadKind::Dummy) << 1.9 << 10.0 << 10.0 << 1e308;
    }

    void ExtremeParametersStillGiveALine()
    {
        QFETCH(int, Kind);
        QFETCH(double, F0MHz);
        QFETCH(double, Q);
        QFETCH(double, LengthM);
        QFETCH(double, NoiseOhm);
        TLoadParams Params;
        Params.Kind = static_cast<TLoadKind>(Kind);
        Params.F0MHz = F0MHz;
        Params.Q = Q;
        Params.LengthM = LengthM;
        Params.NoiseOhm = NoiseOhm;
        TAnalyzerModel Model(Params);
        for (const int Code : { 100, 1234, 3000 }) {
            std::string Line;
            try {
                Line = Model.ReplyLine(Code);
            } catch (const std::exception &Error) {
                QFAIL(qPrintable(
                    QStringLiteral("code %1: %2").arg(Code).arg(QString::fromUtf8(Error.what()))));
            }
            // Three whole numbers, the frequency first.
            const auto First = Line.find(' ');
            const auto Second = Line.find(' ', First + 1);
            QVERIFY(First != std::string::npos && Second != std::string::npos);
            int Value = 0;
            QVERIFY(TryStrToInt(Line.substr(0, First), Value));
            QCOMPARE(Value, Code * 10);
            QVERIFY(TryStrToInt(Line.substr(First + 1, Second - First - 1), Value));
            QVERIFY(Value >= 0);
            QVERIFY(TryStrToInt(Line.substr(Second + 1), Value));
        }
    }
};

QTEST_GUILESS_MAIN(TestAnalyzerModel)
#include "tst_AnalyzerModel.moc"
