#include "AnalyzerModel.h"
#include "ImageProbe.h"
#include "graph/TAnGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "measure/TSmithLink.h"
#include "numerics/TDoubleArray.h"
#include "platform/QtColor.h"

#include <QtTest>

#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace {

constexpr int kW = 795;
constexpr int kH = 400;

int CountInColumn(const QImage &Image, int X, TColor Color)
{
    int N = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
        N += At(Image, X, Y) == Color;
    return N;
}

// A sweep of 7.0 to 7.2 MHz with its SWR minimum at 7.1 MHz.
QStringList SweepLines()
{
    QStringList Lines;
    for (int I = 0; I <= 20; ++I) {
        const int KHz = 7000 + 10 * I;
        const int R = 50 + 4 * std::abs(I - 10);
        Lines << QStringLiteral("%1 %2 %3").arg(KHz).arg(R).arg(3 * (I - 10));
    }
    return Lines;
}

// A readout row that remembers what it was last told, field by field.
class TRecordingReadout : public TCursorReadout
{
public:
    struct TField
    {
        bool Invalid = true;
        double Value = 0.0;
    };
    std::map<std::string, TField> Fields;
    int AnyKind = 0;
    int RowIndex = -1;
    TColor Mark = clWhite;

    void ShowFrekvence(bool Invalid, double V) override { Fields["f"] = { Invalid, V }; }
    void ShowPSV(bool Invalid, double V) override { Fields["swr"] = { Invalid, V }; }
    void ShowZ(bool Invalid, double V) override { Fields["z"] = { Invalid, V }; }
    void ShowCableLoss(bool Invalid, double V) override { Fields["loss"] = { Invalid, V }; }
    void ShowRL(bool Invalid, double V) override { Fields["rl"] = { Invalid, V }; }
    void ShowPhase(bool Invalid, double V) override { Fields["phase"] = { Invalid, V }; }
    void ShowRx(bool Invalid, double V) override { Fields["rx"] = { Invalid, V }; }
    void ShowXx(bool Invalid, double V) override { Fields["xx"] = { Invalid, V }; }
    void ShowKapacita(bool Invalid, double V) override { Fields["c"] = { Invalid, V }; }
    void ShowIndukcnost(bool Invalid, double V) override { Fields["l"] = { Invalid, V }; }
    void ShowAny(bool Invalid, int Kind, double V) override
    {
        AnyKind = Kind;
        Fields["any"] = { Invalid, V };
    }
    void SetMarkColor(TColor Color) override { Mark = Color; }
    void SetRowIndex(int Index) override { RowIndex = Index; }
    void ResetLayout() override { }
    void SetRowVisible(bool Visible) override { Shown = Visible; }
    bool Shown = true;
};

// A Smith chart frame that remembers the frequencies it was told.
class TRecordingSmith : public TSmithLink
{
public:
    std::vector<int> Shown;
    void ClearChart() override { }
    void AddMeasuredPoint(int, int, int) override { }
    void ShowFrequency(int FreqKHz) override { Shown.push_back(FreqKHz); }
};

} // namespace

class TAnGraphTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void shadeColourOfBackground_data();
    void shadeColourOfBackground();
    void bandsShadeBackgroundOnly();
    void bandOfEqualColumnsShadesNothing();
    void bandReachingOutsideRange_data();
    void bandReachingOutsideRange();
    void bandOperations();
    void pointIndexAt();
    void placedCursorsShowOnce();
    void phaseCurveThroughResonance();
    void minimumCursorOnMeasuredPoint_data();
    void minimumCursorOnMeasuredPoint();
    void cursorLayerComposedByAnd();
    void minimumCursorPlacedByEvaluation();
    void redrawKeepsCursorFrequency();
    void resetCursors();
    void drawAllRestoresImpedanceRange();
    void zeroRangeFailsSilently();
    void chImpZeroDrawsNoCurve();
    void narrowLayerDrawsNothingOdd_data();
    void narrowLayerDrawsNothingOdd();
    void graphRasterFollowsLifetime();
    void cursorReadouts();
    void smithToldCursorKHz();

private:
    std::unique_ptr<TAnGraph> Graph;
};

void TAnGraphTest::init()
{
    ChImp = 50;
    MeasureMode = mmImpedance;
    Graph = std::make_unique<TAnGraph>(nullptr, 7.0, 7.2);
    Graph->GraphBackColor = clWhite;
    Graph->OsaZ->SetRange();
    Graph->OsaR->SetRange();
    Graph->OsaXX->SetRange();
    Graph->ResizeLayers(kW, kH);
}

void TAnGraphTest::cleanup()
{
    Graph.reset();
    ChImp = 50;
    MeasureMode = mmImpedance;
    SmoothCurves = false;
}

void TAnGraphTest::shadeColourOfBackground_data()
{
    QTest::addColumn<TColor>("Back");
    QTest::addColumn<TColor>("Shade");
    // White has lightness 240; 230 of 240 is a light grey.
    QTest::newRow("white becomes light grey") << clWhite << RGBColor(244, 244, 244);
    QTest::newRow("black stays black") << clBlack << clBlack;
    QTest::newRow("default background") << TColor(0xC0F9FA) << RGBColor(0xF9, 0xF7, 0xAC);
    QTest::newRow("light blue") << TColor(0xFFF3EA) << RGBColor(0xD5, 0xE7, 0xFF);
}

void TAnGraphTest::shadeColourOfBackground()
{
    QFETCH(TColor, Back);
    QFETCH(TColor, Shade);
    QCOMPARE(TAnGraph::ShadeColorOf(Back), Shade);
}

void TAnGraphTest::bandsShadeBackgroundOnly()
{
    Graph->Markers->AddBand(7.15, 7.05);
    Graph->Refresh();
    const QImage &C = Graph->Composite;
    const TColor Shade = TAnGraph::ShadeColorOf(clWhite);
    // 7.05 -> column 175 + 35, 7.15 -> 525 + 35.
    int L = 0;
    int R = 0;
    Graph->Markers->BandColumns(0, L, R);
    QCOMPARE(L, 210);
    QCOMPARE(R, 560);
    QCOMPARE(At(C, 300, 120), Shade);
    QCOMPARE(At(C, 210, 120), Shade);
    QCOMPARE(At(C, 559, 120), Shade);
    QCOMPARE(At(C, 560, 120), clWhite);
    QCOMPARE(At(C, 209, 120), clWhite);
    // Only rows 52 to H - 53.
    QCOMPARE(At(C, 300, 51), clWhite);
    QCOMPARE(At(C, 300, 52), Shade);
    QCOMPARE(At(C, 300, kH - 53), Shade);
    QCOMPARE(At(C, 300, kH - 52), clWhite);
    // The grid line inside the band stays visible (silver AND grey).
    QVERIFY(CountInColumn(C, 315, Shade) < 290);
    QCOMPARE(At(Graph->MainLayer, 300, 120), clWhite);
}

void TAnGraphTest::bandOfEqualColumnsShadesNothing()
{
    Graph->Markers->AddBand(7.1, 7.1);
    Graph->Refresh();
    QCOMPARE(CountColor(Graph->Composite, TAnGraph::ShadeColorOf(clWhite)), 0);
}

void TAnGraphTest::bandReachingOutsideRange_data()
{
    QTest::addColumn<double>("Lower");
    QTest::addColumn<double>("Upper");
    // Columns 0, 20 (left margin), 100, 400, 700, 760 (right margin), 794.
    QTest::addColumn<QString>("Shaded");
    QTest::newRow("lower end below: from the layer's left edge") << 6.9 << 7.05 << "xxx....";
    QTest::newRow("upper end above: to the layer's right edge") << 7.15 << 7.5 << "....xxx";
    QTest::newRow("both beyond") << 6.0 << 8.0 << "xxxxxxx";
    QTest::newRow("wholly above") << 8.0 << 9.0 << ".......";
    QTest::newRow("wholly below") << 5.0 << 6.0 << ".......";
}

void TAnGraphTest::bandReachingOutsideRange()
{
    QFETCH(double, Lower);
    QFETCH(double, Upper);
    QFETCH(QString, Shaded);
    Graph->Markers->AddBand(Lower, Upper);
    Graph->Refresh();
    const TColor Shade = TAnGraph::ShadeColorOf(clWhite);
    QString Seen;
    for (int X : { 0, 20, 100, 400, 700, 760, kW - 1 })
        Seen += At(Graph->Composite, X, 120) == Shade ? u'x' : u'.';
    QCOMPARE(Seen, Shaded);
}

void TAnGraphTest::bandOperations()
{
    TOzn &M = *Graph->Markers;
    M.RemoveLastBand();
    QCOMPARE(M.BandCount(), 0);
    const struct
    {
        double F1;
        double F2;
        const char *Bands;
    } Steps[] = {
        { 7.2, 7.0, "7-7.2" },
        { 6.9, 7.3, "6.9-7.3" },
        { 7.05, 7.1, "6.9-7.3" },
        { 7.25, 7.5, "6.9-7.3 7.25-7.5" },
        { 6.9, 7.3, "6.9-7.3 7.25-7.5" },
        { 6.0, 8.0, "6-8 7.25-7.5" },
    };
    for (const auto &Step : Steps) {
        M.AddBand(Step.F1, Step.F2);
        QStringList Bands;
        for (int I = 0; I < M.BandCount(); ++I)
            Bands << QStringLiteral("%1-%2").arg(M.Band(I).Lower).arg(M.Band(I).Upper);
        QCOMPARE(Bands.join(u' '), QString::fromLatin1(Step.Bands));
    }
    M.RemoveLastBand();
    QCOMPARE(M.BandCount(), 1);
    // The band between the cursors, whichever stands lower.
    Graph->Refresh();
    Graph->MoveCursor1(455, 150);
    Graph->MoveCursor2(385, 150);
    M.ClearBands();
    M.AddCursorBand();
    QCOMPARE(M.BandCount(), 1);
    QCOMPARE(M.Band(0).Lower, Graph->Cursor2->Frequency);
    QCOMPARE(M.Band(0).Upper, Graph->Cursor1->Frequency);
}

void TAnGraphTest::pointIndexAt()
{
    TDoubleArray Four;
    for (double F : { 7.0, 7.1, 7.2, 7.3 })
        Four.Add(F);
    TDoubleArray One;
    One.Add(7.0);
    const TDoubleArray None;
    // Measured, first, last (reads the one before), between (the lower), below, above.
    const std::tuple<const TDoubleArray *, double, int> Cases[]
        = { { &Four, 7.1, 1 }, { &Four, 7.0, 0 }, { &Four, 7.3, 2 }, { &Four, 7.19, 1 },
              { &Four, 6.0, 0 }, { &Four, 8.0, 3 }, { &One, 8.0, 0 }, { &None, 7.0, 0 } };
    for (const auto &[Series, F, Index] : Cases)
        QCOMPARE(TFrekvence::PointIndexAt(*Series, F), Index);
}

void TAnGraphTest::placedCursorsShowOnce()
{
    Graph->Mereni->ShowMinSWR = [] { return true; };
    Graph->Mereni->SetLastLines(SweepLines());
    const struct
    {
        const char *Name;
        std::function<void(TAnGraph &)> Run;
    } Operations[] = {
        { "refresh", [](TAnGraph &G) { G.Refresh(); } },
        { "drag 1", [](TAnGraph &G) { G.MoveCursor1(245, 150); } },
        { "drag 2", [](TAnGraph &G) { G.MoveCursor2(525, 160); } },
        { "draw all without clearing", [](TAnGraph &G) { G.DrawAll(); } },
        { "draw all twice",
            [](TAnGraph &G) {
                G.DrawAll();
                G.DrawAll();
            } },
        { "redraw cursors over themselves",
            [](TAnGraph &G) {
                G.Cursors->RedrawCursors();
                G.Present(false);
            } },
        { "redraw cursor 1 alone",
            [](TAnGraph &G) {
                G.Cursor1->Redraw();
                G.Present(false);
            } },
        { "show cursors", [](TAnGraph &G) { G.Cursors->SetShowCursors(true); } },
        { "resize and draw",
            [](TAnGraph &G) {
                G.ResizeLayers(kW, kH);
                G.DrawAll();
            } },
    };
    Graph->Markers->AddBand(7.02, 7.06);
    const TColor Shade = TAnGraph::ShadeColorOf(clWhite);
    for (const auto &Op : Operations) {
        Op.Run(*Graph);
        // A drag step composes only what it changed: the picture must be the whole one.
        const QImage Composed = Graph->Composite.copy();
        Graph->Present(false);
        QVERIFY2(Composed == Graph->Composite, qPrintable(QString::fromLatin1(Op.Name)));
        for (const TFrekvence *C :
            { Graph->Cursor1.get(), Graph->Cursor2.get(), Graph->CursorMin.get() }) {
            if (!C->IsPlaced())
                continue;
            // The dotted line covers every other row of the plot; gone, it covers none.
            const int Count = CountInColumn(Graph->Composite, C->X, C->Line.Color);
            QVERIFY2(Count > (kH - 100) / 3, qPrintable(QString::fromLatin1(Op.Name)));
        }
        for (const TOsaHorizont *H : { Graph->Horizontal1.get(), Graph->Horizontal2.get() }) {
            if (H->Y == 0)
                continue;
            int Count = 0;
            for (int X = 40; X < 700; ++X) {
                const TColor Seen = At(Graph->Composite, X, H->Y);
                Count += Seen == H->Line.Color || Seen == (H->Line.Color & Shade);
            }
            QVERIFY2(Count > 200, qPrintable(QString::fromLatin1(Op.Name)));
        }
    }
    QVERIFY(
        Graph->Cursor1->IsPlaced() && Graph->Cursor2->IsPlaced() && Graph->CursorMin->IsPlaced());
}

void TAnGraphTest::phaseCurveThroughResonance()
{
    // The middle line has X = 0 and R = 50: a phase of exactly 0 degrees at 7.1 MHz.
    for (TOsaY *Axis : std::initializer_list<TOsaY *> { Graph->OsaPSV.get(), Graph->OsaZ.get(),
             Graph->OsaR.get(), Graph->OsaXX.get(), Graph->OsaRL.get() })
        Axis->Visible = false;
    Graph->OsaPhase->Line = TPropertyLine(clFuchsia, psSolid, 2);
    Graph->Mereni->SetLastLines(SweepLines());
    Graph->Refresh();
    QCOMPARE(Graph->Mereni->PhaseValues.Item(10), 0.0);
    for (int X = 352; X <= 418; X += 6) {
        int N = 0;
        for (int Y = 50; Y < kH - 50; ++Y)
            N += At(Graph->MainLayer, X, Y) == clFuchsia;
        QVERIFY2(N > 0, qPrintable(QString::number(X)));
    }
}

void TAnGraphTest::cursorLayerComposedByAnd()
{
    Graph->Refresh();
    Graph->MoveCursor1(385, 150);
    QCOMPARE(Graph->Cursor1->X, 385);
    QCOMPARE(Graph->Cursor1->Frequency, Graph->Raster->FrequencyAt(350));
    QCOMPARE(Graph->Horizontal1->Y, 150);
    QVERIFY(CountInColumn(Graph->Composite, 385, clGreen) > 50);
    QVERIFY(CountColor(Graph->Composite, clGreen) > 300);
    Graph->ShowCursors = false;
    Graph->Present(false);
    QCOMPARE(CountInColumn(Graph->Composite, 385, clGreen), 0);
    QVERIFY(CountInColumn(Graph->CursorLayer, 385, clGreen) > 50);
    Graph->Cursors->SetShowCursors(true);
    QVERIFY(CountInColumn(Graph->Composite, 385, clGreen) > 50);
    // A horizontal line dragged into the top margin keeps its row.
    Graph->MoveCursor1(385, 30);
    QCOMPARE(Graph->Horizontal1->Y, 150);
}

void TAnGraphTest::minimumCursorPlacedByEvaluation()
{
    Graph->Mereni->ShowMinSWR = [] { return true; };
    Graph->Mereni->SetLastLines(SweepLines());
    Graph->Refresh();
    QCOMPARE(Graph->CursorMin->Frequency, Graph->Raster->FrequencyAt(350));
    QCOMPARE(Graph->CursorMin->X, 385);
    QVERIFY(CountInColumn(Graph->Composite, 385, clRed) > 50);
    // Curves reached the main layer.
    QVERIFY(CountColor(Graph->MainLayer, Graph->OsaXX->Line.Color) > 100);
    // Without the check box the cursor is not drawn.
    Graph->Mereni->ShowMinSWR = [] { return false; };
    Graph->Refresh();
    QCOMPARE(CountInColumn(Graph->CursorLayer, 385, clRed), 0);
}

void TAnGraphTest::redrawKeepsCursorFrequency()
{
    Graph->Refresh();
    Graph->MoveCursor1(385, 150);
    Graph->MoveCursor2(455, 150);
    const double F1 = Graph->Cursor1->Frequency;
    const double F2 = Graph->Cursor2->Frequency;
    QVERIFY(Graph->CursorsPlaced());
    // Zoom out: the cursors stay at their frequencies.
    Graph->OsaX->SetMinValue(6.0);
    Graph->OsaX->SetMaxValue(8.0);
    Graph->Refresh();
    QVERIFY(std::abs(Graph->Cursor1->Frequency - F1) < 2.0 / 700);
    QVERIFY(std::abs(Graph->Cursor2->Frequency - F2) < 2.0 / 700);
    QCOMPARE(Graph->Cursor1->X, Graph->Raster->ColumnOf(Graph->Cursor1->Frequency) + 35);
    // Zoom to a range below both: they stand at the right edge with its frequency.
    Graph->OsaX->SetMinValue(1.0);
    Graph->OsaX->SetMaxValue(3.0);
    Graph->Refresh();
    QCOMPARE(Graph->Cursor1->X, 735);
    QCOMPARE(Graph->Cursor1->Frequency, 3.0);
    // And above: the left edge, never left of the plot.
    Graph->OsaX->SetMinValue(10.0);
    Graph->OsaX->SetMaxValue(12.0);
    Graph->Refresh();
    QCOMPARE(Graph->Cursor1->X, 35);
    QCOMPARE(Graph->Cursor1->Frequency, 10.0);
}

void TAnGraphTest::resetCursors()
{
    Graph->Refresh();
    Graph->MoveCursor1(385, 150);
    Graph->MoveCursor2(455, 160);
    QVERIFY(Graph->CursorsPlaced());
    Graph->ResetCursors();
    QVERIFY(!Graph->CursorsPlaced());
    QCOMPARE(Graph->Cursor1->X, 0);
    QCOMPARE(Graph->Horizontal2->Y, 0);
    Graph->Refresh();
    QCOMPARE(CountColor(Graph->CursorLayer, clGreen), 0);
    QCOMPARE(CountColor(Graph->CursorLayer, clBlue), 0);
}

void TAnGraphTest::drawAllRestoresImpedanceRange()
{
    Graph->OsaZ->MaxValue = 5.0;
    Graph->OsaXX->MaxValue = 5.0;
    Graph->DrawAll();
    QCOMPARE(Graph->OsaZ->MaxValue, 5.0);
    Graph->Mereni->SetLastLines(SweepLines());
    Graph->DrawAll();
    QCOMPARE(Graph->OsaZ->MaxValue, 10000.0);
    QCOMPARE(Graph->OsaR->MaxValue, 10000.0);
    QCOMPARE(Graph->OsaXX->MaxValue, 10000.0);
    QCOMPARE(Graph->OsaXX->MinValue, -10000.0);
    QCOMPARE(Graph->OsaXX->TopValue, 5000.0);
}

void TAnGraphTest::zeroRangeFailsSilently()
{
    Graph->OsaX->SetMinValue(7.0);
    Graph->OsaX->SetMaxValue(7.0);
    Graph->Mereni->SetLastLines(SweepLines());
    Graph->ClearLayers();
    Graph->DrawAll();
    // The frame was drawn before the failure; nothing was presented.
    QCOMPARE(At(Graph->MainLayer, 35, 200), clBlack);
    QCOMPARE(CountColor(Graph->Composite, clWhite), kW * kH);
    // No grid line or label at an invented column, no curve.
    QCOMPARE(CountColor(Graph->MainLayer, clSilver), 0);
    QCOMPARE(CountColor(Graph->MainLayer, clGray), 0);
    Graph->MoveCursor1(400, 150);
    QCOMPARE(Graph->Cursor1->Frequency, 0.0);
}

void TAnGraphTest::chImpZeroDrawsNoCurve()
{
    ChImp = 0;
    Graph->OsaZ->Line.Color = clFuchsia;
    Graph->OsaR->Line.Color = clFuchsia;
    Graph->OsaXX->Line.Color = clFuchsia;
    Graph->OsaZ->Text.Color = clRed;
    Graph->OsaXX->Text.Color = clRed;
    Graph->Mereni->SetLastLines(SweepLines());
    Graph->Refresh();
    QCOMPARE(CountColor(Graph->MainLayer, clFuchsia), 0);
}

void TAnGraphTest::narrowLayerDrawsNothingOdd_data()
{
    QTest::addColumn<int>("Width");
    QTest::addColumn<int>("Height");
    QTest::newRow("no size") << 0 << 0;
    QTest::newRow("narrower than the margins") << 80 << 300;
    QTest::newRow("exactly the margins") << 95 << 100;
    QTest::newRow("lower than the margins") << 400 << 60;
}

void TAnGraphTest::narrowLayerDrawsNothingOdd()
{
    QFETCH(int, Width);
    QFETCH(int, Height);
    Graph->ResizeLayers(Width, Height);
    Graph->Mereni->ShowMinSWR = [] { return true; };
    Graph->Mereni->SetLastLines(SweepLines());
    Graph->Markers->AddBand(7.05, 7.15);
    Graph->Refresh();
    Graph->MoveCursor1(36, 55);
    QCOMPARE(Graph->Raster->Count() == 0, Width <= 95);
    QCOMPARE(Graph->Composite.width(), Width);
    // Without columns no cursor has a frequency to stand on.
    if (Width <= 95)
        QCOMPARE(Graph->CursorMin->Frequency, 0.0);
}

void TAnGraphTest::graphRasterFollowsLifetime()
{
    // Everything that maps through a raster maps through the model's own.
    const TRastrFr *Own = Graph->Raster.get();
    for (const TRastrFr *Linked : { Graph->OsaFRQ->GraphRaster, Graph->Markers->GraphRaster,
             Graph->Cursor1->GraphRaster, Graph->Cursor2->GraphRaster,
             Graph->CursorMin->GraphRaster, Graph->Mereni->GraphRaster })
        QCOMPARE(Linked, Own);
}

void TAnGraphTest::cursorReadouts()
{
    // The rows belong to the test and outlive the model, which only links them.
    TRecordingReadout Rows[3];
    std::vector<int> Asked;
    Graph = std::make_unique<TAnGraph>(nullptr, 7.0, 7.2, [&](int Index) -> TCursorReadout * {
        Asked.push_back(Index);
        return &Rows[Index];
    });
    QCOMPARE(Asked, (std::vector<int> { 0, 1, 2 }));
    TRecordingReadout &Min = Rows[0];
    TRecordingReadout &Row1 = Rows[1];
    TRecordingReadout &Row2 = Rows[2];
    QVERIFY(Min.Shown && !Row1.Shown && !Row2.Shown);
    QCOMPARE(Min.RowIndex, 3);
    QCOMPARE(Row1.RowIndex, 1);
    double Difference = -1.0;
    Graph->Cursor1->OnDifference = [&Difference](double D) { Difference = D; };
    Graph->ResizeLayers(kW, kH);
    Graph->Refresh();

    // Without a sweep: frequencies, bandwidth and Q, everything else invalid.
    Graph->MoveCursor1(35, 150);
    Graph->MoveCursor2(735, 150);
    QCOMPARE(Row1.Fields["f"].Value, 7.0);
    QCOMPARE(Row1.Mark, clGreen);
    QVERIFY(Row1.Fields["swr"].Invalid);
    QVERIFY(Row2.Fields["c"].Invalid);
    QCOMPARE(Row2.AnyKind, 1);
    QVERIFY(!Row2.Fields["any"].Invalid);
    QVERIFY(std::abs(Row2.Fields["any"].Value - 0.2) < 1e-9);
    QCOMPARE(Row1.AnyKind, 2);
    QVERIFY(std::abs(Row1.Fields["any"].Value - std::sqrt(7.0 * 7.2) / 0.2) < 1e-6);
    QVERIFY(std::abs(Difference - 0.2) < 1e-9);

    // With a sweep: the point at cursor 1 (the first line) and at cursor 2 (the last
    // frequency reads the point before it).
    Graph->Mereni->SetLastLines(SweepLines());
    Graph->Refresh();
    QVERIFY(!Row1.Fields["rx"].Invalid);
    QCOMPARE(Row1.Fields["rx"].Value, 90.0);
    QCOMPARE(Row1.Fields["xx"].Value, -30.0);
    QVERIFY(!Row1.Fields["swr"].Invalid);
    QVERIFY(!Row1.Fields["c"].Invalid);
    QCOMPARE(Row2.Fields["rx"].Value, 86.0);
    QCOMPARE(Row2.Fields["xx"].Value, 27.0);

    // Moving cursor 1 after cursor 2 fills the same two fields.
    Row1.Fields["any"] = {};
    Row2.Fields["any"] = {};
    Difference = -1.0;
    Graph->MoveCursor1(35, 150);
    QVERIFY(std::abs(Row2.Fields["any"].Value - 0.2) < 1e-9);
    QVERIFY(std::abs(Row1.Fields["any"].Value - 35.4965) < 1e-4);
    QVERIFY(std::abs(Difference - 0.2) < 1e-9);

    // At 7.1 MHz the reactance is 0: no capacitance, an inductance of 0.
    Graph->MoveCursor1(385, 150);
    QCOMPARE(Row1.Fields["xx"].Value, 0.0);
    QVERIFY(Row1.Fields["c"].Invalid);
    QVERIFY(!Row1.Fields["l"].Invalid);

    // Equal frequencies: a bandwidth of 0 and no Q.
    Graph->MoveCursor1(35, 150);
    Graph->MoveCursor2(35, 150);
    QCOMPARE(Row2.Fields["any"].Value, 0.0);
    QVERIFY(Row1.Fields["any"].Invalid);
    Graph.reset();
}

void TAnGraphTest::smithToldCursorKHz()
{
    // 1..30 MHz on 80 columns: column 1 holds 1.3625 MHz, a Double a little above the half
    // kHz, so the chart is told 1363 kHz, as the label 1.363 reads.
    Graph->OsaX->SetMinValue(1.0);
    Graph->OsaX->SetMaxValue(30.0);
    Graph->ResizeLayers(175, kH);
    TRecordingSmith Smith;
    Graph->Cursor1->SmithFrame = &Smith;
    Graph->Refresh();
    Graph->MoveCursor1(36, 150);
    QCOMPARE(Graph->Cursor1->Frequency, Graph->Raster->FrequencyAt(1));
    QCOMPARE(Smith.Shown, std::vector<int> { 1363 });
    Graph->MoveCursor1(35, 150);
    QCOMPARE(Smith.Shown.back(), 1000);
    Graph->Cursor1->SmithFrame = nullptr;
}

namespace {

// The simulator's dipole over a range, one line per StepKHz, with smoothing as given.
QStringList DipoleSweep(double F0MHz, int FromKHz, int ToKHz, int StepKHz)
{
    TLoadParams Params;
    Params.Kind = TLoadKind::Dipole;
    Params.F0MHz = F0MHz;
    TAnalyzerModel Model(Params);
    QStringList Lines;
    for (int KHz = FromKHz; KHz <= ToKHz; KHz += StepKHz)
        Lines << QString::fromStdString(Model.ReplyLine(KHz / 10));
    return Lines;
}

} // namespace

void TAnGraphTest::minimumCursorOnMeasuredPoint_data()
{
    QTest::addColumn<QStringList>("Lines");
    QTest::addColumn<double>("FromMHz");
    QTest::addColumn<double>("ToMHz");
    // 0: no cursor; otherwise where it must stand (within a column).
    QTest::addColumn<double>("Expected");
    QStringList Dead = DipoleSweep(14.2, 1000, 30000, 100);
    Dead[0] = QStringLiteral("1000 0 -900");
    QTest::newRow("a short line is no minimum") << Dead << 1.0 << 30.0 << 14.2;
    QStringList Huge = DipoleSweep(14.2, 1000, 30000, 100);
    Huge[3] = QStringLiteral("1300 50 100000000000000000000");
    QTest::newRow("a reactance of 1e20 is no minimum") << Huge << 1.0 << 30.0 << 14.2;
    QStringList Shorts;
    for (int KHz = 7000; KHz <= 7200; KHz += 10)
        Shorts << QStringLiteral("%1 0 %2").arg(KHz).arg(KHz / 100);
    QTest::newRow("all R = 0: no minimum") << Shorts << 7.0 << 7.2 << 0.0;
    QTest::newRow("smoothing ringing beside the peaks")
        << DipoleSweep(1.9, 1000, 30000, 100) << 1.0 << 30.0 << 1.9;
    // Here smoothed and measured minimum agree: -1 asks for the smoothed series' minimum.
    QTest::newRow("narrow sweep keeps its point")
        << DipoleSweep(14.2, 13000, 15500, 10) << 13.0 << 15.5 << -1.0;
}

void TAnGraphTest::minimumCursorOnMeasuredPoint()
{
    QFETCH(QStringList, Lines);
    QFETCH(double, FromMHz);
    QFETCH(double, ToMHz);
    QFETCH(double, Expected);
    SmoothCurves = true;
    Graph->OsaX->SetMinValue(FromMHz);
    Graph->OsaX->SetMaxValue(ToMHz);
    Graph->Mereni->ShowMinSWR = [] { return true; };
    // A previous sweep's minimum must not survive a sweep without one.
    Graph->Mereni->SetLastLines(SweepLines());
    Graph->OsaX->SetMinValue(7.0);
    Graph->OsaX->SetMaxValue(7.2);
    Graph->Refresh();
    QVERIFY(Graph->CursorMin->IsPlaced());
    Graph->OsaX->SetMinValue(FromMHz);
    Graph->OsaX->SetMaxValue(ToMHz);
    Graph->Mereni->SetLastLines(Lines);
    Graph->Refresh();
    SmoothCurves = false;
    const double Column = (ToMHz - FromMHz) / 700;
    TMereni &M = *Graph->Mereni;
    if (Expected == 0.0) {
        QVERIFY(!Graph->CursorMin->IsPlaced());
        QCOMPARE(CountColor(Graph->CursorLayer, clRed), 0);
        return;
    }
    if (Expected < 0.0) {
        int Best = 0;
        for (int I = 1; I < M.SWRValues.Count(); ++I)
            if (M.SWRValues.Item(I) < M.SWRValues.Item(Best))
                Best = I;
        Expected = M.Frequencies.Item(Best);
    }
    QVERIFY2(std::abs(Graph->CursorMin->Frequency - Expected) <= Column,
        qPrintable(QString::number(Graph->CursorMin->Frequency)));
    QVERIFY(CountInColumn(Graph->Composite, Graph->CursorMin->X, clRed) > 50);
}

QTEST_MAIN(TAnGraphTest)
#include "tst_AnGraph.moc"
