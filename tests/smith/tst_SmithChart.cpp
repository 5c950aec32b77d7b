#include "graph/ImageProbe.h"
#include "measure/Globals.h"
#include "smith/TSmithChart.h"

#include <QtTest>

#include <memory>

namespace {

constexpr int kW = 443;
constexpr int kH = 400;

std::unique_ptr<TSmithChart> MakeChart(int W = kW, int H = kH)
{
    auto Chart = std::make_unique<TSmithChart>(173, 180, 160, nullptr);
    Chart->Resize(W, H);
    return Chart;
}

bool AllWhite(const QImage &Image)
{
    return CountColor(Image, clWhite) == Image.width() * Image.height();
}

// A sweep over a resonance, as whole numbers: it crosses most of the chart.
QStringList Sweep(int N, int FirstKHz = 1000)
{
    QStringList Lines;
    for (int I = 0; I < N; ++I) {
        const double T = double(I) / N;
        Lines << QStringLiteral("%1 %2 %3")
                     .arg(FirstKHz + 10 * I)
                     .arg(int(5 + 300 * T * (1 - T)))
                     .arg(int(-400 + 800 * T));
    }
    return Lines;
}

} // namespace

class TSmithChartTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void mapping_data();
    void mapping();
    void findPoint_data();
    void findPoint();
    void labelLooks();
    void cursorAfterResize_data();
    void cursorAfterResize();
    void largerResizeKeepsChart_data();
    void largerResizeKeepsChart();
    void composedPicture();
    void keptLayerEqualsFullRedraw();
    void linesRoundTripByteForByte();
};

void TSmithChartTest::init()
{
    ChImp = 50;
    GraphBackColor = 0xC0F9FA;
}

void TSmithChartTest::mapping_data()
{
    QTest::addColumn<int>("R");
    QTest::addColumn<int>("X");
    QTest::addColumn<int>("Z0");
    QTest::addColumn<bool>("Plotted");
    QTest::addColumn<QPoint>("Where");
    QTest::newRow("matched: centre") << 50 << 0 << 50 << true << QPoint(173, 180);
    QTest::newRow("150+j0: SWR 3") << 150 << 0 << 50 << true << QPoint(253, 180);
    QTest::newRow("0+j50: border, phase 0") << 0 << 50 << 50 << true << QPoint(333, 180);
    QTest::newRow("30+j40: phase 0") << 30 << 40 << 50 << true << QPoint(253, 180);
    QTest::newRow("100+j100") << 100 << 100 << 50 << true << QPoint(259, 131);
    QTest::newRow("25+j25") << 25 << 25 << 50 << true << QPoint(141, 116);
    QTest::newRow("25-j25") << 25 << -25 << 50 << true << QPoint(141, 244);
    QTest::newRow("75+j0 against 75") << 75 << 0 << 75 << true << QPoint(173, 180);
    QTest::newRow("short circuit") << 0 << 0 << 50 << true << QPoint(13, 180);
    QTest::newRow("Z0 0, load 0: zero by zero") << 0 << 0 << 0 << false << QPoint();
    QTest::newRow("Z0 0, any load") << 50 << 20 << 0 << false << QPoint();
    QTest::newRow("Z0 negative") << 50 << 20 << -50 << false << QPoint();
    QTest::newRow("Z0 negative, load -Z0") << 50 << 0 << -50 << false << QPoint();
    QTest::newRow("load -Z0: D is 0") << -50 << 0 << 50 << false << QPoint();
    QTest::newRow("offset beyond any pixel") << -49 << 0 << 50 << true << QPoint(-15667, 180);
}

void TSmithChartTest::mapping()
{
    QFETCH(int, R);
    QFETCH(int, X);
    QFETCH(int, Z0);
    QFETCH(bool, Plotted);
    QFETCH(QPoint, Where);
    auto Chart = MakeChart();
    Chart->AddPoint(true, 14000, R, X, Z0);
    QCOMPARE(int(Chart->Points().size()), 1);
    const TSmithPoint &P = Chart->Points().front();
    QCOMPARE(P.Plotted, Plotted);
    QCOMPARE(P.R, R);
    QCOMPARE(P.X, X);
    if (!Plotted) {
        // Kept for a later re-plot, but nothing on the chart and no label.
        QVERIFY(AllWhite(Chart->PointLayer()));
        QVERIFY(AllWhite(Chart->LabelLayer()));
        return;
    }
    QCOMPARE(QPoint(173 + P.OffsetX, 180 - P.OffsetY), Where);
    if (Chart->PointLayer().rect().contains(Where)) {
        QCOMPARE(At(Chart->PointLayer(), Where.x(), Where.y()), clRed);
        QCOMPARE(At(Chart->PointLayer(), Where.x() + 2, Where.y() + 2), clWhite);
    }
}

void TSmithChartTest::findPoint_data()
{
    QTest::addColumn<QList<int>>("Freqs");
    QTest::addColumn<int>("Cursor");
    QTest::addColumn<int>("FoundR"); // R of the point found (the R is 10 + its index), 0: none
    QTest::newRow("equally near: the first") << QList<int> { 14000, 14060 } << 14030 << 10;
    QTest::newRow("equally near, the other order") << QList<int> { 14060, 14000 } << 14030 << 10;
    QTest::newRow("nearer wins") << QList<int> { 14000, 14040 } << 14030 << 11;
    QTest::newRow("20 kHz away") << QList<int> { 14050 } << 14030 << 10;
    QTest::newRow("49 kHz away") << QList<int> { 14079 } << 14030 << 10;
    QTest::newRow("50 kHz away") << QList<int> { 14080 } << 14030 << 0;
    QTest::newRow("same frequency twice") << QList<int> { 7000, 7000 } << 7000 << 10;
    QTest::newRow("none") << QList<int> {} << 7000 << 0;
    QTest::newRow("extreme distance") << QList<int> { 2147483647 } << -2147483647 << 0;
}

void TSmithChartTest::findPoint()
{
    QFETCH(QList<int>, Freqs);
    QFETCH(int, Cursor);
    QFETCH(int, FoundR);
    auto Chart = MakeChart();
    for (int I = 0; I < Freqs.size(); ++I)
        Chart->AddPoint(true, Freqs[I], 10 + I, 5, 50);
    Chart->ShowCursor(Cursor);
    int PX = -1, PY = -1, R = -1, X = -1;
    QCOMPARE(Chart->FindPoint(Cursor, PX, PY, R, X), FoundR != 0);
    QCOMPARE(R, FoundR);
    QCOMPARE(AllWhite(Chart->LabelLayer()), FoundR == 0);
    QCOMPARE(Chart->CursorFreq(), Cursor);
}

void TSmithChartTest::labelLooks()
{
    // 150+j0 sits at (253, 180).
    auto Chart = MakeChart();
    Chart->AddPoint(true, 14030, 150, 0, 50);
    const QImage &L = Chart->LabelLayer();
    // Frequency in black at (228, 0), R in green at (233, H-35), X in purple at (233, H-20).
    QRect Black, Green, Purple;
    for (int Y = 0; Y < kH; ++Y)
        for (int X = 0; X < kW; ++X) {
            const TColor C = At(L, X, Y);
            QRect *Box = C == clBlack ? &Black
                : C == clGreen        ? &Green
                : C == clPurple       ? &Purple
                                      : nullptr;
            if (Box && (C != clGreen || (X != 253 && Y != 180)))
                *Box |= QRect(X, Y, 1, 1);
        }
    QVERIFY2(Black.left() >= 228 && Black.top() >= 0 && Black.bottom() < 16, "frequency");
    QVERIFY2(Green.left() >= 233 && Green.top() >= kH - 35 && Green.bottom() < kH - 20, "Rx");
    QVERIFY2(Purple.left() >= 233 && Purple.top() >= kH - 20, "Xx");
    // Ten points, not ten pixels: digits about 9 pixels high, and not bold.
    QVERIFY2(Black.height() >= 9, qPrintable(QString::number(Black.height())));
    QVERIFY(Black.width() > 60);
    // The dotted cross: every other pixel of row 180 and of column 253 between 15 and H-35.
    int Row = 0, Column = 0;
    for (int X = 0; X < kW; ++X)
        Row += At(L, X, 180) == clGreen;
    for (int Y = 15; Y <= kH - 35; ++Y)
        Column += At(L, 253, Y) == clGreen;
    QVERIFY(Row > kW / 3 && Row < kW * 2 / 3);
    QVERIFY(Column > (kH - 50) / 3 && Column < (kH - 50) * 2 / 3);
    QCOMPARE(At(L, 253, 10) == clGreen, false);
    // The texts' white boxes let the grid show through.
    QCOMPARE(At(Chart->Buffer(), 1, 1), ButtonFaceColor());
}

void TSmithChartTest::cursorAfterResize_data()
{
    QTest::addColumn<int>("Cursor");
    QTest::addColumn<bool>("Repeated");
    QTest::newRow("frequency 0 is not repeated") << 0 << false;
    QTest::newRow("any other is") << 30 << true;
}

void TSmithChartTest::cursorAfterResize()
{
    QFETCH(int, Cursor);
    QFETCH(bool, Repeated);
    auto Chart = MakeChart();
    Chart->AddPoint(true, 20, 150, 0, 50);
    Chart->ShowCursor(Cursor);
    QVERIFY(!AllWhite(Chart->LabelLayer()));
    Chart->Resize(kW + 50, kH + 10);
    QCOMPARE(!AllWhite(Chart->LabelLayer()), Repeated);
    QCOMPARE(At(Chart->PointLayer(), 253, 180), clRed);
    QVERIFY(Chart->TimerActive());
    Chart->TimerElapsed();
    QVERIFY(!Chart->TimerActive());
}

void TSmithChartTest::largerResizeKeepsChart_data()
{
    QTest::addColumn<bool>("BackIsButtonFace");
    QTest::newRow("graph background") << false;
    QTest::newRow("background equal to button face") << true;
}

void TSmithChartTest::largerResizeKeepsChart()
{
    QFETCH(bool, BackIsButtonFace);
    if (BackIsButtonFace)
        GraphBackColor = ButtonFaceColor();
    const TColor Face = ButtonFaceColor();
    auto Chart = MakeChart(300, 200);
    Chart->AddPoint(true, 14000, 50, 0, 50);
    Chart->AddPoint(true, 14010, 25, 25, 50);
    Chart->Resize(600, 500);
    QCOMPARE(Chart->CentreX(), 173);
    QCOMPARE(Chart->CentreY(), 180);
    QCOMPARE(Chart->Radius(), 160);
    QCOMPARE(int(Chart->Points().size()), 2);
    const QImage &B = Chart->Buffer();
    QCOMPARE(B.size(), QSize(600, 500));
    QCOMPARE(At(Chart->PointLayer(), 173, 180), clRed);
    QCOMPARE(At(Chart->PointLayer(), 141, 116), clRed);
    // Everything two pixels or more beyond the border is button face: no arc survives.
    const QImage &G = Chart->GridLayer();
    int Other = 0;
    for (int Y = 0; Y < B.height(); ++Y)
        for (int X = 0; X < B.width(); ++X) {
            const int Dx = X - 173, Dy = Y - 180;
            if (Dx * Dx + Dy * Dy >= 163 * 163 && At(G, X, Y) != Face)
                ++Other;
        }
    QCOMPARE(Other, 0);
    QCOMPARE(At(B, 173, 180 - 161), clGray);
}

void TSmithChartTest::composedPicture()
{
    auto Chart = MakeChart();
    Chart->AddPoint(true, 14000, 150, 0, 50);
    Chart->ShowCursor(0);
    const QImage &B = Chart->Buffer();
    const struct
    {
        int X, Y;
        TColor Colour;
        const char *What;
    } Rows[] = {
        { 253, 100, clBlack, "top of the r = 1 circle" },
        { 93, 100, clSilver, "top of its mirror, g = 1" },
        { 286, 67, clSilver, "outer circle, drawn over by the mirror of r = 0" },
        { 287, 67, clGray, "border at radius + 1 beside it" },
        { 173, 340, clGray, "border below, inside the exclusive box edge" },
        { 173, 341, ButtonFaceColor(), "below the border" },
        { 100, 180, clBlack, "horizontal line" },
        { 220, 133, clBlack, "reactance circle x = 1 above the axis" },
        { 126, 227, clSilver, "susceptance circle b = 1 below the axis" },
        { 5, 5, ButtonFaceColor(), "outside the chart" },
        { 333, 100, ButtonFaceColor(), "outside, where x = 1 ran on" },
        { 173, 140, GraphBackColor, "background inside" },
        { 251, 178, clRed & GraphBackColor, "the point, laid over the background" },
    };
    for (const auto &Row : Rows)
        QVERIFY2(At(B, Row.X, Row.Y) == Row.Colour, Row.What);
}

void TSmithChartTest::keptLayerEqualsFullRedraw()
{
    // Points added one by one, each drawn alone over the kept layer, against every point
    // drawn anew on a white layer, through what makes the kept layer stale.
    const QStringList First = Sweep(300);
    const QStringList Second = Sweep(200, 5000);
    auto Kept = MakeChart(300, 360);
    auto addAll = [&Kept](const QStringList &Lines) {
        for (const QString &Line : Lines) {
            const QStringList F = Line.split(QLatin1Char(' '));
            Kept->AddPoint(true, F[0].toInt(), F[1].toInt(), F[2].toInt(), 50);
        }
    };
    addAll(First);
    Kept->ClearPoints();
    addAll(Second);
    Kept->Resize(200, 200);
    Kept->Resize(443, 400);
    addAll(First);
    Kept->ShowCursor(6000);

    auto Fresh = MakeChart();
    Fresh->ReplotLines(Second + First, 50);
    Fresh->ShowCursor(6000);
    QCOMPARE(Kept->Points().size(), Fresh->Points().size());
    QVERIFY(Kept->PointLayer() == Fresh->PointLayer());
    QVERIFY(Kept->Buffer() == Fresh->Buffer());
    QVERIFY(CountColor(Fresh->PointLayer(), clRed) > 1000);
}

void TSmithChartTest::linesRoundTripByteForByte()
{
    auto Chart = MakeChart();
    Chart->ReplotLines(
        { QStringLiteral("14000 50 0"), QStringLiteral("bad"), QStringLiteral("14010 50"),
            QStringLiteral("14020 1e20 0"), QStringLiteral("14030 75.5 -20.5"),
            QStringLiteral("-3 0 -7"), QStringLiteral("14040 0 0 trailing") },
        50);
    Chart->SaveLines();
    QCOMPARE(Chart->Lines().join(QString()).toLatin1(),
        QByteArray("14000 50 0 \r14030 76 -20 \r-3 0 -7 \r14040 0 0 \r"));
    QCOMPARE(Chart->CursorFreq(), 14040);
    // Re-plotting the saved lines against another Z0 keeps every value.
    ChImp = 75;
    const QStringList Saved = Chart->Lines();
    Chart->ClearPoints();
    Chart->ReplotStored();
    Chart->SaveLines();
    QCOMPARE(Chart->Lines(), Saved);
}

QTEST_MAIN(TSmithChartTest)
#include "tst_SmithChart.moc"
