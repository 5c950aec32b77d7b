#include "graph/TOsaX.h"
#include "graph/TOsaY.h"
#include "platform/Errors.h"
#include "platform/Format.h"
#include "platform/QtColor.h"

#include <QImage>
#include <QtTest>

#include <memory>

namespace {

// A frequency axis on a layer of the given size with its raster, which the grid maps through.
struct TFixture
{
    TFixture(int W, int H, double Min, double Max)
        : Image(W, H, QImage::Format_RGB32)
        , Canvas(&Image)
        , OsaX(&Canvas, Min, Max)
        , OsaY(&Canvas)
        , OsaFRQ(&Canvas)
        , Raster(&OsaX, &OsaFRQ)
    {
        Image.fill(Qt::white);
        OsaFRQ.GraphRaster = &Raster;
    }
    TColor At(int X, int Y) const { return FromQColor(QColor(Image.pixel(X, Y))); }

    QImage Image;
    TCanvas Canvas;
    TOsaX OsaX;
    TOsaY OsaY;
    TOsaFRQ OsaFRQ;
    TRastrFr Raster;
};

} // namespace

class TRasterTest : public QObject
{
    Q_OBJECT

private slots:
    void gridOfFullRange_data();
    void gridOfFullRange();
    void gridLinesDrawnAtRasterColumns();
    void tieGoesToUpperColumn_data();
    void tieGoesToUpperColumn();
    void outsideTheRange_data();
    void outsideTheRange();
    void valueToX_data();
    void valueToX();
    void valueToXScaleRoundedOnce_data();
    void valueToXScaleRoundedOnce();
    void valueToXBeyondIntRaises();
    void narrowLayerLeavesRasterEmpty_data();
    void narrowLayerLeavesRasterEmpty();
    void followsRangeAndWidthWithoutRebuild();
    void emptyRange();
};

void TRasterTest::gridOfFullRange_data()
{
    QTest::addColumn<int>("Line");
    QTest::addColumn<int>("Column");
    QTest::addColumn<QString>("Label");
    const int Columns[6] = { 35, 175, 315, 455, 595, 735 };
    const char *Labels[6] = { "1.000", "6.800", "12.600", "18.400", "24.200", "30.000" };
    for (int I = 0; I < 6; ++I)
        QTest::addRow("line %d", I) << I << Columns[I] << QString::fromLatin1(Labels[I]);
}

void TRasterTest::gridOfFullRange()
{
    QFETCH(int, Line);
    QFETCH(int, Column);
    QFETCH(QString, Label);
    TFixture F(795, 400, 1.0, 30.0);
    QCOMPARE(F.Raster.Count(), 701);
    QCOMPARE(F.Raster.FrequencyAt(0), 1.0);
    // The grid's own computation of the sixth of the range.
    const double Step = static_cast<double>((30.0L - 1.0L) / 5.0L);
    const double Freq = static_cast<double>(Line * static_cast<long double>(Step) + 1.0);
    const int C = F.Raster.ColumnOf(Freq);
    QCOMPARE(C + 35, Column);
    QCOMPARE(QString::fromStdString(FormatFloat("0.000", F.Raster.FrequencyAt(C))), Label);
    QCOMPARE(FrequencyToColumn(&F.Raster, Freq), Column);
}

void TRasterTest::gridLinesDrawnAtRasterColumns()
{
    TFixture F(795, 400, 1.0, 30.0);
    F.OsaFRQ.DrawGrid(F.OsaX, F.OsaY);
    auto SilverIn = [&F](int X) {
        int N = 0;
        for (int Y = 60; Y < 340; ++Y)
            N += F.At(X, Y) == clSilver;
        return N;
    };
    for (int X : { 35, 175, 315, 455, 595, 735 })
        QVERIFY2(SilverIn(X) > 50, qPrintable(QString::number(X)));
    QCOMPARE(SilverIn(176), 0);
    QCOMPARE(SilverIn(400), 0);
    // Labels in grey below the plot.
    int Grey = 0;
    for (int Y = 360; Y < 380; ++Y)
        for (int X = 160; X < 220; ++X)
            Grey += F.At(X, Y) == clGray;
    QVERIFY(Grey > 10);
}

void TRasterTest::tieGoesToUpperColumn_data()
{
    QTest::addColumn<double>("Frequency");
    QTest::addColumn<int>("Column");
    // Range 0..1 on a plot 4 columns wide: 0, 0.25, 0.5, 0.75, 1.
    QTest::newRow("exact column") << 0.5 << 2;
    QTest::newRow("halfway goes up") << 0.125 << 1;
    QTest::newRow("halfway goes up, upper half") << 0.875 << 4;
    QTest::newRow("just below halfway goes down") << 0.12499999 << 0;
    QTest::newRow("just above halfway goes up") << 0.37500001 << 2;
    QTest::newRow("last column") << 1.0 << 4;
}

void TRasterTest::tieGoesToUpperColumn()
{
    QFETCH(double, Frequency);
    QFETCH(int, Column);
    TFixture F(99, 200, 0.0, 1.0);
    QCOMPARE(F.Raster.Count(), 5);
    QCOMPARE(F.Raster.ColumnOf(Frequency), Column);
}

void TRasterTest::outsideTheRange_data()
{
    QTest::addColumn<double>("Frequency");
    QTest::addColumn<int>("Column");
    QTest::addColumn<int>("Absolute");
    QTest::newRow("below the range") << 0.5 << -1 << -1;
    QTest::newRow("above the range") << 31.0 << 700 << -1;
    QTest::newRow("lower end") << 1.0 << 0 << 35;
    QTest::newRow("upper end") << 30.0 << 700 << 735;
}

void TRasterTest::outsideTheRange()
{
    QFETCH(double, Frequency);
    QFETCH(int, Column);
    QFETCH(int, Absolute);
    TFixture F(795, 400, 1.0, 30.0);
    QCOMPARE(F.Raster.ColumnOf(Frequency), Column);
    QCOMPARE(FrequencyToColumn(&F.Raster, Frequency), Absolute);
}

void TRasterTest::valueToX_data()
{
    QTest::addColumn<double>("Frequency");
    QTest::addColumn<int>("X");
    QTest::newRow("0 MHz is the left edge") << 0.0 << 35;
    QTest::newRow("below the range") << 0.5 << 35;
    QTest::newRow("lower end") << 1.0 << 35;
    QTest::newRow("upper end") << 30.0 << 735;
    QTest::newRow("above the range") << 31.0 << 759;
}

void TRasterTest::valueToX()
{
    QFETCH(double, Frequency);
    QFETCH(int, X);
    TFixture F(795, 400, 1.0, 30.0);
    QCOMPARE(F.OsaX.ValueToX(Frequency), X);
    // Half-way between two columns the column is rounded to even.
    TFixture G(99, 200, 0.0, 1.0);
    QCOMPARE(G.OsaX.ValueToX(0.125), 35);
    QCOMPARE(G.OsaX.ValueToX(0.375), 37);
}

void TRasterTest::valueToXScaleRoundedOnce_data()
{
    QTest::addColumn<int>("Width");
    QTest::addColumn<double>("Max");
    QTest::addColumn<double>("Frequency");
    QTest::addColumn<int>("X");
    // Ranges from 1 MHz where the quotient rounded once to a Double is one unit away from
    // the one a Double division gives, and the product lands on the other side of a half.
    QTest::newRow("1..2.27 on 937 columns") << 1032 << 2.27 << 1.635 << 504;
    QTest::newRow("1..2.79 on 873 columns") << 968 << 2.79 << 1.895 << 471;
    QTest::newRow("1..3.7 on 497 columns") << 592 << 3.7 << 2.35 << 284;
}

void TRasterTest::valueToXScaleRoundedOnce()
{
    QFETCH(int, Width);
    QFETCH(double, Max);
    QFETCH(double, Frequency);
    QFETCH(int, X);
    TFixture F(Width, 200, 1.0, Max);
    QCOMPARE(F.OsaX.ValueToX(Frequency), X);
}

void TRasterTest::valueToXBeyondIntRaises()
{
    // 700 columns per MHz: a frequency whose column rounds just below the int limit must not
    // wrap round when the plot's left margin is added.
    TFixture F(795, 400, 0.0, 1.0);
    const double NearLimit = (2147483647.0 - 10.0) / 700.0;
    QVERIFY_THROWS_EXCEPTION(EFloatError, F.OsaX.ValueToX(NearLimit));
    QVERIFY_THROWS_EXCEPTION(EFloatError, F.OsaX.ValueToX(1e10));
    QCOMPARE(F.OsaX.ValueToX(1000.0), 700035);
}

void TRasterTest::narrowLayerLeavesRasterEmpty_data()
{
    QTest::addColumn<int>("Width");
    QTest::addColumn<int>("Count");
    QTest::newRow("no layer") << 0 << 0;
    QTest::newRow("narrower than the margins") << 80 << 0;
    QTest::newRow("exactly the margins") << 95 << 0;
    QTest::newRow("one column more") << 96 << 2;
}

void TRasterTest::narrowLayerLeavesRasterEmpty()
{
    QFETCH(int, Width);
    QFETCH(int, Count);
    TFixture F(1, 400, 1.0, 30.0);
    F.Image = Width > 0 ? QImage(Width, 400, QImage::Format_RGB32) : QImage();
    if (Width > 0)
        F.Image.fill(Qt::white);
    QCOMPARE(F.Raster.Count(), Count);
    if (Count == 0) {
        QCOMPARE(F.Raster.ColumnOf(7.0), -1);
        QCOMPARE(F.Raster.FrequencyAt(0), 0.0);
        QCOMPARE(F.Raster.FrequencyAt(-1), 0.0);
        QCOMPARE(FrequencyToColumn(&F.Raster, 7.0), 34);
        // Without columns there is no grid to draw.
        if (Width > 0) {
            F.OsaFRQ.DrawGrid(F.OsaX, F.OsaY);
            for (int X = 0; X < Width; ++X)
                for (int Y = 0; Y < 400; ++Y)
                    QCOMPARE(F.At(X, Y), clWhite);
        }
    } else {
        QCOMPARE(F.Raster.FrequencyAt(1), 30.0);
    }
}

void TRasterTest::followsRangeAndWidthWithoutRebuild()
{
    TFixture F(795, 400, 1.0, 30.0);
    QCOMPARE(F.Raster.ColumnOf(30.0), 700);
    F.OsaX.SetMinValue(7.0);
    F.OsaX.SetMaxValue(7.2);
    QCOMPARE(F.Raster.FrequencyAt(0), 7.0);
    QCOMPARE(F.Raster.ColumnOf(7.1), 350);
    F.Image = QImage(495, 400, QImage::Format_RGB32);
    QCOMPARE(F.Raster.Count(), 401);
    QCOMPARE(F.Raster.ColumnOf(7.1), 200);
    // A cursor asking for the column left of the plot gets the frequency one step below.
    QVERIFY(qFuzzyCompare(F.Raster.FrequencyAt(-1), 7.0 - 0.2 / 400));
    QCOMPARE(F.Raster.FrequencyAt(401), 0.0);
}

void TRasterTest::emptyRange()
{
    TFixture F(795, 400, 0.0, 0.0);
    QCOMPARE(F.Raster.Count(), 0);
    QCOMPARE(F.Raster.ColumnOf(0.0), -1);
    QVERIFY_THROWS_EXCEPTION(EFloatError, F.OsaX.ValueToX(0.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, F.OsaX.Scale());
}

QTEST_MAIN(TRasterTest)
#include "tst_Raster.moc"
