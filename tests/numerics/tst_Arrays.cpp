#include "Outcome.h"
#include "numerics/TDoubleArray.h"
#include "numerics/TIntDymArray.h"
#include "platform/Errors.h"

#include <QTest>

#include <climits>
#include <functional>

namespace {

QString Expect(bool Raises, const char *Code)
{
    return Raises ? QString::fromUtf8(Code) : QString();
}

} // namespace

class TArraysTest : public QObject
{
    Q_OBJECT

private slots:
    void DoubleIndexCheck_data();
    void DoubleIndexCheck();
    void DoubleGrowthKeepsValuesAndAllocation();
    void DoubleSetCountAndClear_data();
    void DoubleSetCountAndClear();
    void DoubleCopiesAreIndependent();
    void IntGrowsInStepsOf100();
    void IntAddZerosAppends();
    void IntIndexCheck_data();
    void IntIndexCheck();
};

void TArraysTest::DoubleIndexCheck_data()
{
    QTest::addColumn<int>("Count");
    QTest::addColumn<bool>("Cleared");
    QTest::addColumn<int>("Index");
    QTest::addColumn<bool>("Raises");

    QTest::newRow("last item") << 3 << false << 2 << false;
    QTest::newRow("first item") << 3 << false << 0 << false;
    QTest::newRow("one past the end") << 3 << false << 3 << true;
    QTest::newRow("negative") << 3 << false << -1 << true;
    QTest::newRow("smallest int") << 3 << false << INT_MIN << true;
    QTest::newRow("largest int") << 3 << false << INT_MAX << true;
    QTest::newRow("new array") << 0 << false << 0 << true;
    QTest::newRow("after Clear") << 3 << true << 0 << true;
}

void TArraysTest::DoubleIndexCheck()
{
    QFETCH(int, Count);
    QFETCH(bool, Cleared);
    QFETCH(int, Index);
    QFETCH(bool, Raises);

    TDoubleArray a;
    for (int i = 0; i < Count; ++i)
        a.Add(10.0 + i);
    if (Cleared)
        a.Clear();
    const TDoubleArray &readOnly = a;

    QCOMPARE(ErrorOf([&] { a.ItemRef(Index) = -1.0; }), Expect(Raises, "20522"));
    QCOMPARE(ErrorOf([&] { (void)readOnly.Item(Index); }), Expect(Raises, "20522"));
    if (Raises) {
        // Nothing was written anywhere.
        for (int i = 0; i < a.Count(); ++i)
            QCOMPARE(a.Item(i), 10.0 + i);
    } else {
        QCOMPARE(a.Item(Index), -1.0);
    }
}

void TArraysTest::DoubleGrowthKeepsValuesAndAllocation()
{
    TDoubleArray a;
    QCOMPARE(a.Count(), 0);
    QCOMPARE(a.Allocated(), 0);
    for (int i = 0; i < 5000; ++i) {
        a.Add(i * 0.5);
        QCOMPARE(a.Allocated(), static_cast<std::int64_t>(a.Count()) * 8);
    }
    QCOMPARE(a.Count(), 5000);
    for (int i = 0; i < 5000; ++i)
        QCOMPARE(a.Item(i), i * 0.5);
}

void TArraysTest::DoubleSetCountAndClear_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("ExpectedCount");

    QTest::newRow("grow") << 7 << 7;
    QTest::newRow("shrink") << 2 << 2;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("negative") << -4 << 0;
}

void TArraysTest::DoubleSetCountAndClear()
{
    QFETCH(int, N);
    QFETCH(int, ExpectedCount);

    TDoubleArray a;
    for (int i = 0; i < 4; ++i)
        a.Add(3.25);
    a.SetCount(N);
    QCOMPARE(a.Count(), ExpectedCount);
    QCOMPARE(a.Allocated(), static_cast<std::int64_t>(ExpectedCount) * 8);
    for (int i = 0; i < a.Count(); ++i)
        QCOMPARE(a.Item(i), 0.0); // no old value survives SetCount
    QCOMPARE(ErrorOf([&] { a.ItemRef(ExpectedCount); }), QStringLiteral("20522"));

    a.Clear();
    QCOMPARE(a.Count(), 0);
    QCOMPARE(a.Allocated(), 0);
    a.Add(1.5);
    QCOMPARE(a.Count(), 1);
    QCOMPARE(a.Item(0), 1.5);
}

void TArraysTest::DoubleCopiesAreIndependent()
{
    TDoubleArray a;
    a.Add(1.0);
    TDoubleArray b = a;
    b.ItemRef(0) = 2.0;
    b.Add(3.0);
    QCOMPARE(a.Count(), 1);
    QCOMPARE(a.Item(0), 1.0);
    QCOMPARE(b.Count(), 2);
}

void TArraysTest::IntGrowsInStepsOf100()
{
    TIntDymArray a;
    QCOMPARE(a.Count(), 0);
    QCOMPARE(a.Capacity(), 0);
    for (int i = 0; i < 100; ++i) {
        std::int32_t &item = a.Add();
        QCOMPARE(item, 0);
        item = i * 7;
    }
    QCOMPARE(a.Count(), 100);
    QCOMPARE(a.Capacity(), 100);

    QCOMPARE(a.Add(), 0);
    QCOMPARE(a.Count(), 101);
    QCOMPARE(a.Capacity(), 200);
    for (int i = 0; i < 100; ++i)
        QCOMPARE(a.ItemRef(i), i * 7);

    while (a.Count() < 200)
        a.Add();
    QCOMPARE(a.Capacity(), 200);
    a.Add();
    QCOMPARE(a.Capacity(), 300);
}

void TArraysTest::IntAddZerosAppends()
{
    TIntDymArray a;
    a.Add() = 4;
    a.Add() = 5;
    a.AddZeros(3);
    QCOMPARE(a.Count(), 5);
    QCOMPARE(a.GetItem(1), 4);
    QCOMPARE(a.GetItem(2), 5);
    for (int i = 3; i <= 5; ++i)
        QCOMPARE(a.GetItem(i), 0);
    a.AddZeros(0);
    a.AddZeros(-2);
    QCOMPARE(a.Count(), 5);
}

void TArraysTest::IntIndexCheck_data()
{
    QTest::addColumn<int>("Index"); // 1-based, for GetItem and SetItem
    QTest::addColumn<bool>("Raises");

    QTest::newRow("first") << 1 << false;
    QTest::newRow("last") << 3 << false;
    QTest::newRow("zero") << 0 << true;
    QTest::newRow("one past the end") << 4 << true;
    QTest::newRow("inside the capacity") << 50 << true;
    QTest::newRow("smallest int") << INT_MIN << true;
    QTest::newRow("largest int") << INT_MAX << true;
}

void TArraysTest::IntIndexCheck()
{
    QFETCH(int, Index);
    QFETCH(bool, Raises);

    TIntDymArray a;
    a.AddZeros(3);
    QCOMPARE(ErrorOf([&] { a.SetItem(Index, 9); }), Expect(Raises, "20517"));
    QCOMPARE(ErrorOf([&] { (void)a.GetItem(Index); }), Expect(Raises, "20517"));
    QCOMPARE(a.Count(), 3);
    int sum = 0;
    for (int i = 0; i < a.Count(); ++i)
        sum += a.ItemRef(i);
    QCOMPARE(sum, Raises ? 0 : 9);
}

QTEST_GUILESS_MAIN(TArraysTest)
#include "tst_Arrays.moc"
