#include "Outcome.h"
#include "numerics/SmoothCurve.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/FloatOps.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace {

TDoubleArray Series(int Count, const std::function<double(int)> &Value)
{
    TDoubleArray a;
    for (int i = 0; i < Count; ++i)
        a.Add(Value(i));
    return a;
}

TDoubleArray Index(int Count)
{
    return Series(Count, [](int i) { return i; });
}

// The smoothing as the matrix classes do it, window by window: what SmoothCurve must give
// bit for bit (argument checks left out; callers pass valid arguments). Whatever it raises
// propagates, with the points before it written.
void SmoothWithMatrices(const TDoubleArray &xList, const TDoubleArray &yList, int xstep,
    int nKrivka, TDoubleArray &result)
{
    result.SetCount(xList.Count());
    TSmoothMatrices w;
    w.A.SetSize(xstep, nKrivka + 1);
    w.B.SetVectorSize(xstep);
    const int half = xstep / 2;
    for (int i = 0; i + xstep < yList.Count(); ++i) {
        for (int j = 1; j <= xstep; ++j)
            FillDesignRow(w.A, w.B, xList, i + j - 1, j, yList);
        if (i < half)
            result.ItemRef(i) = yList.ItemRef(i);
        else
            result.ItemRef(half + i) = FitAndEvaluate(w, xList, nKrivka + 1, half + i);
    }
}

// Runs Smooth on a zeroed result and tells what it raised ("" for nothing).
QString RunSmoothing(const std::function<void(TDoubleArray &)> &Smooth, TDoubleArray &Result)
{
    try {
        Smooth(Result);
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

// Noisy reactance-like data quantised to 0.1, with sign changes and exact zeros, so the
// elimination meets every kind of value.
TDoubleArray NoisySeries(int Points, double Scale)
{
    std::mt19937 gen(11);
    std::normal_distribution<double> noise(0.0, 3.0);
    return Series(Points, [&](int i) {
        return Scale * std::round((20.0 * std::sin(i * 0.01) + noise(gen)) * 10.0) / 10.0;
    });
}

__extension__ typedef __int128 TWide;
__extension__ typedef __float128 TQuad;

// The fit y = c1 x + c2 x^2 + c3 x^3 of the 16 points from First, evaluated at First + 8, for
// whole-number abscissae: the normal equations are summed exactly, and elimination of the
// positive definite system in quadruple precision leaves an error far below 1e-9 ohm.
double ExactFit(const TDoubleArray &x, const TDoubleArray &y, int First)
{
    TQuad n[3][4] = {};
    for (int k = First; k < First + 16; ++k) {
        const TWide xk = static_cast<TWide>(x.Item(k));
        const TWide powers[7] = { 1, xk, xk * xk, xk * xk * xk, xk * xk * xk * xk,
            xk * xk * xk * xk * xk, xk * xk * xk * xk * xk * xk };
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                n[r][c] += static_cast<TQuad>(powers[r + c + 2]);
            n[r][3] += static_cast<TQuad>(powers[r + 1]) * static_cast<TQuad>(y.Item(k));
        }
    }
    for (int c = 0; c < 3; ++c)
        for (int r = c + 1; r < 3; ++r)
            for (int j = 3; j >= c; --j)
                n[r][j] -= n[r][c] / n[c][c] * n[c][j];
    const TQuad x0 = static_cast<TQuad>(x.Item(First + 8));
    const TQuad c3 = n[2][3] / n[2][2];
    const TQuad c2 = (n[1][3] - n[1][2] * c3) / n[1][1];
    const TQuad c1 = (n[0][3] - n[0][2] * c3 - n[0][1] * c2) / n[0][0];
    return static_cast<double>(((c3 * x0 + c2) * x0 + c1) * x0);
}

bool SameBits(const TDoubleArray &A, const TDoubleArray &B)
{
    return A.Count() == B.Count()
        && std::memcmp(A.Data(), B.Data(), sizeof(double) * static_cast<std::size_t>(A.Count()))
        == 0;
}

} // namespace

class TSmoothCurveTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ArgumentFaultsLeaveResult_data();
    void ArgumentFaultsLeaveResult();
    void ResizesResultOnlyWhenLengthsDiffer_data();
    void ResizesResultOnlyWhenLengthsDiffer();
    void SquareIsFittedExactly();
    void ConstantIsNotReproduced();
    void ShortResultReadsZeroWhereNotWritten();
    void ResultMayBeTheInput();
    void OtherWindowAndDegree();
    void SingularWindowRaisesAfterWrittenPoints();
    void FitStaysAccurateOverTheLongestSweep_data();
    void FitStaysAccurateOverTheLongestSweep();
    void FitStaysCloseToTheExactFit_data();
    void FitStaysCloseToTheExactFit();
    void SameBitsAsTheMatrixFit_data();
    void SameBitsAsTheMatrixFit();
    void PairGivesWhatTwoCallsGive_data();
    void PairGivesWhatTwoCallsGive();

private:
    std::unique_ptr<TScriptedDialogs> ScriptedDialogs;
    std::unique_ptr<TDialogsScope> Scope;
};

void TSmoothCurveTest::init()
{
    ScriptedDialogs = std::make_unique<TScriptedDialogs>();
    Scope = std::make_unique<TDialogsScope>(*ScriptedDialogs);
}

void TSmoothCurveTest::cleanup()
{
    Scope.reset();
    ScriptedDialogs.reset();
}

void TSmoothCurveTest::ArgumentFaultsLeaveResult_data()
{
    QTest::addColumn<int>("XCount");
    QTest::addColumn<int>("YCount");
    QTest::addColumn<int>("XStep");
    QTest::addColumn<int>("NKrivka");
    QTest::addColumn<QString>("Message");

    QTest::newRow("degree 0") << 40 << 40 << 16 << 0 << QStringLiteral("nKrivka nemůže být 0");
    QTest::newRow("negative degree")
        << 40 << 40 << 16 << -3 << QStringLiteral("nKrivka nemůže být 0");
    QTest::newRow("window shorter than the model")
        << 40 << 40 << 2 << 2 << QStringLiteral("xstep hodnota je nízká");
    QTest::newRow("largest degree")
        << 40 << 40 << 16 << INT_MAX << QStringLiteral("xstep hodnota je nízká");
    QTest::newRow("lists of different length")
        << 10 << 11 << 16 << 2 << QStringLiteral("xList a yList nemá shodný počet hodnot");
    QTest::newRow("degree checked before the lists")
        << 10 << 11 << 16 << 0 << QStringLiteral("nKrivka nemůže být 0");
    QTest::newRow("empty lists") << 0 << 0 << 16 << 2 << QString();
}

void TSmoothCurveTest::ArgumentFaultsLeaveResult()
{
    QFETCH(int, XCount);
    QFETCH(int, YCount);
    QFETCH(int, XStep);
    QFETCH(int, NKrivka);
    QFETCH(QString, Message);

    TDoubleArray result = Series(3, [](int) { return -1.0; });
    SmoothCurve(
        Index(XCount), Series(YCount, [](int i) { return i * 2.0; }), XStep, NKrivka, result);
    QCOMPARE(Shown(*ScriptedDialogs), Message.isEmpty() ? QStringList() : QStringList { Message });
    QCOMPARE(result.Count(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(result.Item(i), -1.0);
}

void TSmoothCurveTest::ResizesResultOnlyWhenLengthsDiffer_data()
{
    QTest::addColumn<int>("Points");
    QTest::addColumn<int>("ResultCount");

    QTest::newRow("15 points, same length") << 15 << 15;
    QTest::newRow("16 points, same length") << 16 << 16;
    QTest::newRow("16 points, result shorter") << 16 << 5;
    QTest::newRow("16 points, result longer") << 16 << 20;
    QTest::newRow("3 points, result empty") << 3 << 0;
}

void TSmoothCurveTest::ResizesResultOnlyWhenLengthsDiffer()
{
    QFETCH(int, Points);
    QFETCH(int, ResultCount);

    // With no more points than the window, no window is fitted.
    TDoubleArray result = Series(ResultCount, [](int) { return -1.0; });
    SmoothCurve(Index(Points), Series(Points, [](int i) { return i * 3.0; }), 16, 2, result);
    QVERIFY(Shown(*ScriptedDialogs).isEmpty());
    QCOMPARE(result.Count(), Points);
    const double unwritten = ResultCount == Points ? -1.0 : 0.0;
    for (int i = 0; i < Points; ++i)
        QCOMPARE(result.Item(i), unwritten);
}

void TSmoothCurveTest::SquareIsFittedExactly()
{
    const int n = 40;
    const TDoubleArray y = Series(n, [](int i) { return double(i) * i; });
    TDoubleArray result = Series(n, [](int) { return -1.0; });
    SmoothCurve(Index(n), y, 16, 2, result);

    QVERIFY(Shown(*ScriptedDialogs).isEmpty());
    QCOMPARE(result.Count(), n);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(result.Item(i), double(i) * i); // copied raw
    for (int i = 8; i < 16; ++i)
        QCOMPARE(result.Item(i), -1.0);
    for (int i = 16; i < 32; ++i)
        QVERIFY2(std::fabs(result.Item(i) - double(i) * i) < 1e-6,
            qPrintable(QStringLiteral("point %1: %2").arg(i).arg(result.Item(i), 0, 'g', 17)));
    for (int i = 32; i < n; ++i)
        QCOMPARE(result.Item(i), -1.0);
}

void TSmoothCurveTest::ConstantIsNotReproduced()
{
    // The model has no constant term, so a flat line comes out slightly bent.
    const int n = 40;
    TDoubleArray result = Series(n, [](int) { return -1.0; });
    SmoothCurve(Index(n), Series(n, [](int) { return 5.0; }), 16, 2, result);

    for (int i = 0; i < 8; ++i)
        QCOMPARE(result.Item(i), 5.0);
    QCOMPARE(QString::number(result.Item(16), 'f', 4), QStringLiteral("5.0048"));
    QCOMPARE(QString::number(result.Item(31), 'f', 4), QStringLiteral("4.9986"));
    for (int i = 17; i < 31; ++i)
        QVERIFY(std::fabs(result.Item(i) - 5.0) < 0.01);
    QCOMPARE(result.Item(15), -1.0);
    QCOMPARE(result.Item(32), -1.0);
}

void TSmoothCurveTest::ShortResultReadsZeroWhereNotWritten()
{
    const int n = 40;
    TDoubleArray result = Series(2, [](int) { return -1.0; });
    SmoothCurve(Index(n), Series(n, [](int) { return 5.0; }), 16, 2, result);
    QCOMPARE(result.Count(), n);
    QCOMPARE(result.Item(0), 5.0);
    QCOMPARE(result.Item(8), 0.0);
    QCOMPARE(result.Item(15), 0.0);
    QVERIFY(result.Item(16) > 5.0);
    QCOMPARE(result.Item(32), 0.0);
    QCOMPARE(result.Item(39), 0.0);
}

void TSmoothCurveTest::ResultMayBeTheInput()
{
    const int n = 60;
    const TDoubleArray x = Index(n);
    const TDoubleArray y = Series(n, [](int i) { return 50.0 + 10.0 * std::sin(i * 0.3); });
    TDoubleArray separate = y;
    SmoothCurve(x, y, 16, 2, separate);

    // Fits must read the raw values even when they are written over as the windows move on.
    TDoubleArray inPlace = y;
    SmoothCurve(x, inPlace, 16, 2, inPlace);
    TDoubleArray indexInPlace = x;
    SmoothCurve(indexInPlace, y, 16, 2, indexInPlace);
    for (int i = 0; i < n; ++i) {
        QCOMPARE(inPlace.Item(i), separate.Item(i));
        const bool copied = i < 8;
        const bool fitted = i >= 16 && i < n - 8;
        QCOMPARE(indexInPlace.Item(i), copied || fitted ? separate.Item(i) : x.Item(i));
    }
}

void TSmoothCurveTest::OtherWindowAndDegree()
{
    // An odd window of 5 (half 2) and a linear-plus-square model: a parabola through the
    // origin is reproduced, and the written points follow the same layout rules.
    const int n = 12;
    TDoubleArray result = Series(n, [](int) { return -1.0; });
    SmoothCurve(Index(n), Series(n, [](int i) { return 3.0 * i - 0.5 * i * i; }), 5, 1, result);
    QVERIFY(Shown(*ScriptedDialogs).isEmpty());
    QCOMPARE(result.Item(0), 0.0);
    QCOMPARE(result.Item(1), 2.5);
    QCOMPARE(result.Item(2), -1.0);
    QCOMPARE(result.Item(3), -1.0);
    for (int i = 4; i <= n - 5 + 2 - 1; ++i)
        QVERIFY(std::fabs(result.Item(i) - (3.0 * i - 0.5 * i * i)) < 1e-9);
    QCOMPARE(result.Item(n - 5 + 2), -1.0);
}

void TSmoothCurveTest::SingularWindowRaisesAfterWrittenPoints()
{
    // From point 4 on every index is 0: the window starting at 3 holds one nonzero x only,
    // so its normal equations are singular (exactly so, every factor being a power of 2).
    const int n = 12;
    const TDoubleArray x = Series(n, [](int i) { return i < 4 ? i + 1.0 : 0.0; });
    TDoubleArray result = Series(n, [](int) { return -1.0; });
    QString error;
    try {
        SmoothCurve(x, Series(n, [](int i) { return 2.0 * i; }), 3, 1, result);
    } catch (const EKivraError &e) {
        error = QString::fromUtf8(e.what());
    }
    QCOMPARE(error, QStringLiteral("20517"));
    QCOMPARE(Shown(*ScriptedDialogs), QStringList { QStringLiteral("Pivot nenalezen") });
    QCOMPARE(result.Item(0), 0.0);
    QCOMPARE(result.Item(1), -1.0);
    // The windows starting at 1 and 2 were fitted before the singular one.
    QVERIFY(result.Item(2) != -1.0);
    QVERIFY(result.Item(3) != -1.0);
    QCOMPARE(result.Item(4), -1.0);
}

void TSmoothCurveTest::FitStaysAccurateOverTheLongestSweep_data()
{
    QTest::addColumn<int>("Points");
    QTest::newRow("longest sweep") << 501; // 10 kHz steps over 5 MHz
    QTest::newRow("loaded file") << 2901; // 10 kHz steps over 1-30 MHz
}

void TSmoothCurveTest::FitStaysAccurateOverTheLongestSweep()
{
    // The normal equations grow ill-conditioned with the index, so check the far end with a
    // cubic through the origin, which lies in the model and must come back unchanged.
    QFETCH(int, Points);
    const auto model = [](int i) {
        const double x = i;
        return 0.5 * x - 1e-3 * x * x + 1e-6 * x * x * x;
    };
    TDoubleArray result = Series(Points, [](int) { return -1.0; });
    SmoothCurve(Index(Points), Series(Points, model), 16, 2, result);
    double worst = 0.0;
    for (int i = 16; i < Points - 8; ++i)
        worst = std::max(worst, std::fabs(result.Item(i) - model(i)));
    QVERIFY2(worst < 1e-4, qPrintable(QString::number(worst)));
}

void TSmoothCurveTest::FitStaysCloseToTheExactFit_data()
{
    QTest::addColumn<int>("Points");
    QTest::addColumn<double>("FirstX");
    QTest::addColumn<double>("Step");
    QTest::addColumn<double>("Bound");

    // A sweep keeps the values of its normal equations, whose own error it is.
    QTest::newRow("longest sweep") << 501 << 0.0 << 1.0 << 1e-3;
    QTest::newRow("loaded file") << 2901 << 0.0 << 1.0 << 1e-2;
    QTest::newRow("abscissa in kHz") << 2901 << 1000.0 << 10.0 << 1e-2;
}

void TSmoothCurveTest::FitStaysCloseToTheExactFit()
{
    QFETCH(int, Points);
    QFETCH(double, FirstX);
    QFETCH(double, Step);
    QFETCH(double, Bound);

    const TDoubleArray x = Series(Points, [&](int i) { return FirstX + Step * i; });
    const TDoubleArray y = NoisySeries(Points, 1.0);
    TDoubleArray result = y;
    SmoothCurve(x, y, 16, 2, result);
    QVERIFY(Shown(*ScriptedDialogs).isEmpty());
    double worst = 0.0;
    int worstAt = 0;
    for (int i = 8; i + 16 < Points; ++i) {
        const double error = std::fabs(result.Item(i + 8) - ExactFit(x, y, i));
        if (error > worst) {
            worst = error;
            worstAt = i + 8;
        }
    }
    QVERIFY2(worst < Bound, qPrintable(QStringLiteral("%1 at %2").arg(worst).arg(worstAt)));
}

void TSmoothCurveTest::SameBitsAsTheMatrixFit_data()
{
    QTest::addColumn<int>("Points");
    QTest::addColumn<int>("Window");
    QTest::addColumn<int>("Degree");
    QTest::addColumn<double>("Scale");
    QTest::addColumn<int>("ConstantFrom");
    QTest::addColumn<QString>("Raised");

    const QString none;
    QTest::newRow("longest sweep") << 501 << 16 << 2 << 1.0 << 0 << none;
    QTest::newRow("short window, line") << 130 << 5 << 1 << 1.0 << 0 << none;
    QTest::newRow("high degree") << 400 << 24 << 12 << 1.0 << 0 << none;
    QTest::newRow("degree beyond the flat fit") << 200 << 40 << 33 << 1.0 << 0 << none;
    // Values near the top of the double range overflow the normal equations: the fit
    // raises at the first window it evaluates, as the matrix code does.
    QTest::newRow("overflowing values")
        << 100 << 16 << 2 << 1e300 << 0 << QString::fromUtf8(kOverflowMessage);
    // From point 300 on every x is 1024: the first window held entirely there lies far from
    // the origin against its zero spread, and its exactly singular normal equations raise.
    QTest::newRow("singular window far out")
        << 400 << 16 << 2 << 1.0 << 300 << QStringLiteral("20517");
}

void TSmoothCurveTest::SameBitsAsTheMatrixFit()
{
    QFETCH(int, Points);
    QFETCH(int, Window);
    QFETCH(int, Degree);
    QFETCH(double, Scale);
    QFETCH(int, ConstantFrom);
    QFETCH(QString, Raised);

    const TDoubleArray x
        = Series(Points, [&](int i) { return ConstantFrom > 0 && i >= ConstantFrom ? 1024 : i; });
    const TDoubleArray y = NoisySeries(Points, Scale);

    TDoubleArray expected;
    const QString expectedError = RunSmoothing(
        [&](TDoubleArray &r) { SmoothWithMatrices(x, y, Window, Degree, r); }, expected);
    const QStringList expectedShown = Shown(*ScriptedDialogs);
    ScriptedDialogs->ClearShown();
    TDoubleArray actual;
    actual.SetCount(Points);
    const QString actualError
        = RunSmoothing([&](TDoubleArray &r) { SmoothCurve(x, y, Window, Degree, r); }, actual);

    QVERIFY(expectedError.startsWith(Raised));
    QCOMPARE(actualError, expectedError);
    QCOMPARE(Shown(*ScriptedDialogs), expectedShown);
    QVERIFY(SameBits(actual, expected));
}

void TSmoothCurveTest::PairGivesWhatTwoCallsGive_data()
{
    QTest::addColumn<int>("Count");
    QTest::addColumn<bool>("Singular");
    QTest::addColumn<int>("Window");
    QTest::newRow("a file of 2901 points, far windows") << 2901 << false << 16;
    QTest::newRow("fewer points than the window") << 10 << false << 16;
    QTest::newRow("a singular window") << 12 << true << 3;
    QTest::newRow("a window too small") << 40 << false << 2;
}

void TSmoothCurveTest::PairGivesWhatTwoCallsGive()
{
    QFETCH(int, Count);
    QFETCH(bool, Singular);
    QFETCH(int, Window);
    const TDoubleArray x
        = Singular ? Series(Count, [](int i) { return i < 4 ? i + 1.0 : 0.0; }) : Index(Count);
    std::mt19937 gen(3);
    std::normal_distribution<double> noise(0.0, 2.0);
    const TDoubleArray y1 = Series(Count, [&](int i) { return 0.01 * i * i + noise(gen); });
    const TDoubleArray y2 = Series(Count, [&](int i) { return 50.0 - i + noise(gen); });
    const auto Run = [&](bool Pair) {
        TScriptedDialogs Dialogs;
        TDialogsScope Answering(Dialogs);
        TDoubleArray r1 = Series(Count, [](int) { return -1.0; });
        TDoubleArray r2 = r1;
        const QString Error = ErrorOf([&] {
            if (Pair) {
                SmoothCurvePair(x, y1, y2, Window, 2, r1, r2);
            } else {
                SmoothCurve(x, y1, Window, 2, r1);
                SmoothCurve(x, y2, Window, 2, r2);
            }
        });
        std::vector<double> Bits(r1.Data(), r1.Data() + r1.Count());
        Bits.insert(Bits.end(), r2.Data(), r2.Data() + r2.Count());
        return std::make_tuple(Bits, Error, Shown(Dialogs));
    };
    const auto Apart = Run(false);
    const auto Together = Run(true);
    QCOMPARE(std::get<1>(Together), std::get<1>(Apart));
    QCOMPARE(std::get<2>(Together), std::get<2>(Apart));
    const std::vector<double> &A = std::get<0>(Apart);
    const std::vector<double> &B = std::get<0>(Together);
    QCOMPARE(B.size(), A.size());
    QVERIFY(std::memcmp(A.data(), B.data(), A.size() * sizeof(double)) == 0);
}

QTEST_GUILESS_MAIN(TSmoothCurveTest)
#include "tst_SmoothCurve.moc"
