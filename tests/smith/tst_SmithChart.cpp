#include "graph/ImageProbe.h"
#include "measure/Globals.h"
#include "smith/TSmithChart.h"

#include <QtTest>

#include <memory>

namespace {

constexpr int kW = 443;
constexpr int kH = 400;

std::unique_ptr<TSmithChart> MakeChart(int W = kW, int H = kH, TColor Back = 0xC0F9FA)
{
    auto Chart = std::make_unique<TSmithChart>(173, 180, 160, nullptr);
    Chart->GraphBackColor = Back;
    Chart->Resize(W, H);
    return Chart;
}

bool AllWhite(const QImage &Image)
{
    return CountColor(Image, clWhite) == Image.width() * Image.height();
}

// Whole-number lines over a resonance, crossing most of the chart.
QStringList Sweep(int N, int FirstKHz)
{
    QStringList Lines;
    for (int I = 0; I < N; ++I)
        Lines << QStringLiteral("%1 %2 %3")
                     .arg(FirstKHz + 10 * I)
                     .arg(5 + 300 * I * (N - I) / (N * N))
                     .arg(-400 + 800 * I / N);
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
    void labelStaysInsideTheChart_data();
    void labelStaysInsideTheChart();
    void picture_data();
    void picture();
    void keptLayerEqualsFullRedraw();
    void linesRoundTripByteForByte();
};

void TSmithChartTest::init() { ChImp = 50; }

void TSmithChartTest::mapping_data()
{
    QTest::addColumn<int>("R");
    QTest::addColumn<int>("X");
    QTest::addColumn<int>("Z0");
    QTest::addColumn<QPoint>("Where"); // (0, 0): not placed
    QTest::newRow("matched: centre") << 50 << 0 << 50 << QPoint(173, 180);
    QTest::newRow("150+j0: SWR 3") << 150 << 0 << 50 << QPoint(253, 180);
    QTest::newRow("0+j50: border, phase 0") << 0 << 50 << 50 << QPoint(333, 180);
    QTest::newRow("30+j40: phase 0") << 30 << 40 << 50 << QPoint(253, 180);
    QTest::newRow("100+j100") << 100 << 100 << 50 << QPoint(259, 131);
    QTest::newRow("25+j25") << 25 << 25 << 50 << QPoint(141, 116);
    QTest::newRow("25-j25") << 25 << -25 << 50 << QPoint(141, 244);
    QTest::newRow("short circuit") << 0 << 0 << 50 << QPoint(13, 180);
    QTest::newRow("Z0 0, load 0: zero by zero") << 0 << 0 << 0 << QPoint();
    QTest::newRow("Z0 negative") << 50 << 20 << -50 << QPoint();
    QTest::newRow("load -Z0: D is 0") << -50 << 0 << 50 << QPoint();
    QTest::newRow("beyond the layer") << -49 << 0 << 50 << QPoint(-15667, 180);
}

void TSmithChartTest::mapping()
{
    QFETCH(int, R);
    QFETCH(int, X);
    QFETCH(int, Z0);
    QFETCH(QPoint, Where);
    auto Chart = MakeChart();
    Chart->AddPoint(true, 14000, R, X, Z0);
    QCOMPARE(int(Chart->Points().size()), 1);
    const TSmithPoint &P = Chart->Points().front();
    QCOMPARE(P.Plotted, !Where.isNull());
    if (!P.Plotted) {
        // Kept for a later re-plot, but nothing on the chart and no label.
        QVERIFY(AllWhite(Chart->PointLayer()) && AllWhite(Chart->LabelLayer()));
        return;
    }
    QCOMPARE(QPoint(173 + P.OffsetX, 180 - P.OffsetY), Where);
    QCOMPARE(CountColor(Chart->PointLayer(), clRed),
        Chart->PointLayer().rect().contains(Where) ? 16 : 0);
}

void TSmithChartTest::findPoint_data()
{
    QTest::addColumn<QList<int>>("Freqs");
    QTest::addColumn<int>("Cursor");
    QTest::addColumn<int>("FoundR"); // R of the point found (10 + its index); 0: none
    QTest::newRow("equally near: the first") << QList<int> { 14000, 14060 } << 14030 << 10;
    QTest::newRow("equally near, other order") << QList<int> { 14060, 14000 } << 14030 << 10;
    QTest::newRow("nearer wins") << QList<int> { 14000, 14040 } << 14030 << 11;
    QTest::newRow("20 kHz away") << QList<int> { 14050 } << 14030 << 10;
    QTest::newRow("49 kHz away") << QList<int> { 14079 } << 14030 << 10;
    QTest::newRow("50 kHz away") << QList<int> { 14080 } << 14030 << 0;
    QTest::newRow("same frequency twice") << QList<int> { 7000, 7000 } << 7000 << 10;
    QTest::newRow("extreme distance") << QList<int> { 2147483647 } << -2147483647 << 0;
    QTest::newRow("frequency 0: not repeated after a resize") << QList<int> { 20 } << 0 << 10;
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
    Chart->Resize(kW + 50, kH + 10);
    QCOMPARE(AllWhite(Chart->LabelLayer()), FoundR == 0 || Cursor == 0);
    QVERIFY(Chart->TimerActive());
    Chart->TimerElapsed();
    QVERIFY(!Chart->TimerActive());
}

void TSmithChartTest::labelLooks()
{
    auto Chart = MakeChart();
    Chart->AddPoint(true, 14030, 150, 0, 50); // at (253, 180)
    const QImage &L = Chart->LabelLayer();
    QRect Box[3]; // frequency in black, R in green, X in purple, outside the cross
    int Row = 0, Column = 0;
    for (int Y = 0; Y < kH; ++Y)
        for (int X = 0; X < kW; ++X) {
            const TColor C = At(L, X, Y);
            Row += Y == 180 && C == clGreen;
            Column += X == 253 && C == clGreen;
            const int I = C == clBlack                 ? 0
                : C == clGreen && X != 253 && Y != 180 ? 1
                : C == clPurple                        ? 2
                                                       : -1;
            if (I >= 0)
                Box[I] |= QRect(X, Y, 1, 1);
        }
    QVERIFY(Box[0].left() >= 228 && Box[0].bottom() < 16 && Box[0].width() > 60);
    QVERIFY(Box[1].left() >= 233 && Box[1].top() >= kH - 35 && Box[1].bottom() < kH - 20);
    QVERIFY(Box[2].left() >= 233 && Box[2].top() >= kH - 20);
    // Ten points, not ten pixels: the digits stand 9 pixels high.
    QVERIFY2(Box[0].height() >= 9, qPrintable(QString::number(Box[0].height())));
    // Dotted: every other pixel of the row and of the column from 15 to H - 35.
    QVERIFY(Row > kW / 3 && Row < kW * 2 / 3);
    QVERIFY(Column > (kH - 50) / 3 && Column < (kH - 50) * 2 / 3);
    // The texts' white boxes let the grid show through.
    QCOMPARE(At(Chart->Buffer(), 1, 1), ButtonFaceColor());
}

void TSmithChartTest::labelStaysInsideTheChart_data()
{
    QTest::addColumn<int>("R");
    QTest::addColumn<int>("X");
    QTest::addColumn<int>("Width");
    QTest::newRow("right rim, layer ending there") << 5000 << 0 << 173 + 160 + 10;
    QTest::newRow("right rim, wide layer") << 5000 << 300 << kW;
    QTest::newRow("left rim") << 0 << 0 << kW;
}

void TSmithChartTest::labelStaysInsideTheChart()
{
    QFETCH(int, R);
    QFETCH(int, X);
    QFETCH(int, Width);
    auto Chart = MakeChart(Width, kH);
    Chart->AddPoint(true, 14030, R, X, 50);
    // The texts (frequency in black, X in purple) lie within the chart's width, whole.
    const QImage &L = Chart->LabelLayer();
    QRect Text;
    for (int Y = 0; Y < kH; ++Y)
        for (int Xp = 0; Xp < Width; ++Xp)
            if (At(L, Xp, Y) == clBlack || At(L, Xp, Y) == clPurple)
                Text |= QRect(Xp, Y, 1, 1);
    QVERIFY(Text.width() > 60);
    QVERIFY2(Text.left() >= 173 - 160 && Text.right() <= 173 + 160,
        qPrintable(QStringLiteral("%1..%2").arg(Text.left()).arg(Text.right())));
}

void TSmithChartTest::picture_data()
{
    QTest::addColumn<bool>("BackIsButtonFace");
    QTest::newRow("graph background") << false;
    QTest::newRow("background equal to button face") << true;
}

void TSmithChartTest::picture()
{
    // Drawn small, then enlarged: same centre and radius, points kept, the grid redrawn.
    QFETCH(bool, BackIsButtonFace);
    const TColor Face = ButtonFaceColor();
    const TColor Back = BackIsButtonFace ? Face : 0xC0F9FA;
    auto Chart = MakeChart(300, 200, Back);
    Chart->AddPoint(true, 14000, 150, 0, 50);
    Chart->AddPoint(true, 14010, 25, 25, 50);
    Chart->Resize(600, 500);
    Chart->ShowCursor(0);
    QCOMPARE(int(Chart->Points().size()), 2);
    const QImage &B = Chart->Buffer();
    const struct
    {
        int X, Y;
        TColor Colour;
        const char *What;
    } Rows[] = {
        { 253, 100, clBlack, "top of the r = 1 circle" },
        { 286, 67, clSilver, "outer circle, drawn over by the mirror of r = 0" },
        { 287, 67, clGray, "border at radius + 1 beside it" },
        { 173, 340, clGray, "border below, inside the exclusive box edge" },
        { 220, 133, clBlack, "reactance circle x = 1 above the axis" },
        { 126, 227, clSilver, "susceptance circle b = 1 below the axis" },
        { 333, 100, Face, "outside, where x = 1 ran on" },
        { 590, 490, Face, "the added area" },
        { 173, 140, Back, "background inside" },
        { 251, 178, clRed & Back, "a point laid over the background" },
        { 140, 117, clRed & Back, "the point kept from before" },
    };
    for (const auto &Row : Rows)
        QVERIFY2(At(B, Row.X, Row.Y) == Row.Colour, Row.What);
    // Two pixels or more beyond the border the grid is button face: no arc survives.
    int Other = 0;
    for (int Y = 0; Y < B.height(); ++Y)
        for (int X = 0; X < B.width(); ++X)
            Other += (X - 173) * (X - 173) + (Y - 180) * (Y - 180) >= 163 * 163
                && At(Chart->GridLayer(), X, Y) != Face;
    QCOMPARE(Other, 0);
}

void TSmithChartTest::keptLayerEqualsFullRedraw()
{
    // Points drawn one by one over the kept layer, through what makes it stale, against all
    // drawn at once; and the composition of what changed against the whole composition.
    const QStringList First = Sweep(300, 1000);
    const QStringList Second = Sweep(200, 5000);
    auto Kept = MakeChart(300, 360);
    auto AddAll = [&Kept](const QStringList &Lines) {
        for (const QString &Line : Lines) {
            const QStringList F = Line.split(QLatin1Char(' '));
            Kept->AddPoint(true, F[0].toInt(), F[1].toInt(), F[2].toInt(), 50);
        }
    };
    AddAll(First);
    Kept->ClearPoints();
    AddAll(Second);
    Kept->Resize(200, 200);
    Kept->Resize(kW, kH);
    AddAll(First);
    Kept->ShowCursor(1500);
    Kept->ShowCursor(6000);
    const QImage Partial = Kept->Buffer();
    Kept->Compose();
    QVERIFY(Partial == Kept->Buffer());

    auto Fresh = MakeChart();
    Fresh->ReplotLines(Second + First, 50);
    Fresh->ShowCursor(6000);
    QVERIFY(Kept->Points().size() == Fresh->Points().size());
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
