#include "graph/TOsaX.h"
#include "graph/TOsaY.h"
#include "measure/Globals.h"
#include "platform/Errors.h"
#include "platform/QtColor.h"

#include <QImage>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

// A layer 795 x 400: plot columns 35..735, rows 50..350, PlotHeight 300.
struct TLayer
{
    explicit TLayer(int W = 795, int H = 400)
        : Image(W, H, QImage::Format_RGB32)
        , Canvas(&Image)
    {
        Image.fill(Qt::white);
    }
    TColor At(int X, int Y) const { return FromQColor(QColor(Image.pixel(X, Y))); }
    int CountNotWhite() const
    {
        int N = 0;
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                N += At(X, Y) != clWhite;
        return N;
    }
    // Pixels of Color in column X between rows Y1 and Y2 (inclusive).
    int CountInColumn(int X, int Y1, int Y2, TColor Color) const
    {
        int N = 0;
        for (int Y = Y1; Y <= Y2; ++Y)
            N += At(X, Y) == Color;
        return N;
    }
    QImage Image;
    TCanvas Canvas;
};

// Restores the program-wide values a test changes.
struct TGlobalsGuard
{
    ~TGlobalsGuard()
    {
        ChImp = 50;
        MeasureMode = mmImpedance;
    }
};

} // namespace

class TAxesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layout();
    void linearRows_data();
    void linearRows();
    void ohmRows_data();
    void ohmRows();
    void reactanceRows_data();
    void reactanceRows();
    void faultsRaise();
    void visibilityByMode_data();
    void visibilityByMode();
    void lineToPointBreaksOutsidePlot();
    void swrSkipsWithoutBreaking();
    void swrAboveTopBreaks();
    void pinnedCurveNotDrawnAlongEdge();
    void ticksFollowChImp();
    void referenceLineAtChImp();
    void cableLengthMode();
    void axisDrawingFailsOnZeroRange();

private:
    std::unique_ptr<TGlobalsGuard> Guard;
};

void TAxesTest::init()
{
    ChImp = 50;
    MeasureMode = mmImpedance;
    Guard = std::make_unique<TGlobalsGuard>();
}

void TAxesTest::cleanup() { Guard.reset(); }

void TAxesTest::layout()
{
    TLayer L(795, 400);
    TOsaY Frame(&L.Canvas);
    QCOMPARE(Frame.PlotLeft(), 35);
    QCOMPARE(Frame.PlotTop(), 50);
    QCOMPARE(Frame.PlotWidth(), 700);
    QCOMPARE(Frame.PlotHeight(), 300);
    QCOMPARE(Frame.PlotRight(), 735);
    QCOMPARE(Frame.PlotBottom(), 350);
    QCOMPARE(Frame.BottomY(), 350);
    Frame.DrawFrame();
    QCOMPARE(L.At(35, 200), clBlack);
    QCOMPARE(L.At(735, 200), clBlack);
    QCOMPARE(L.At(400, 50), clBlack);
    QCOMPARE(L.At(400, 350), clBlack);
    QCOMPARE(L.At(400, 200), clWhite);
}

void TAxesTest::linearRows_data()
{
    QTest::addColumn<QString>("Axis");
    QTest::addColumn<double>("Value");
    QTest::addColumn<int>("Row");
    QTest::newRow("RL 0 dB at the top") << "RL" << 0.0 << 50;
    QTest::newRow("RL 30 dB at the bottom") << "RL" << 30.0 << 350;
    QTest::newRow("RL 31 dB below the plot") << "RL" << 31.0 << 360;
    QTest::newRow("cable loss 10 dB at the bottom") << "T" << 10.0 << 350;
    QTest::newRow("cable loss 2.5 dB") << "T" << 2.5 << 125;
    QTest::newRow("SWR 1 at the bottom") << "PSV" << 1.0 << 350;
    QTest::newRow("SWR 10^1.1 at the top") << "PSV" << std::pow(10.0, 1.1) << 50;
    QTest::newRow("SWR 2") << "PSV" << 2.0 << 350 - 82;
    QTest::newRow("phase 0 in the middle") << "PHASE" << 0.0 << 200;
    QTest::newRow("phase 180 at the top") << "PHASE" << 180.0 << 50;
    QTest::newRow("phase -180 at the bottom") << "PHASE" << -180.0 << 350;
    QTest::newRow("phase 45") << "PHASE" << 45.0 << 162;
}

void TAxesTest::linearRows()
{
    QFETCH(QString, Axis);
    QFETCH(double, Value);
    QFETCH(int, Row);
    TLayer L;
    if (Axis == QLatin1String("RL"))
        QCOMPARE(TOsaRL(&L.Canvas).ValueToY(Value), Row);
    else if (Axis == QLatin1String("T"))
        QCOMPARE(TOsaT(&L.Canvas).ValueToY(Value), Row);
    else if (Axis == QLatin1String("PSV"))
        QCOMPARE(TOsaPSV(&L.Canvas).ValueToY(10.0 * std::log10(Value)), Row);
    else
        QCOMPARE(TOsaPHASE(&L.Canvas).ValueToY(Value), Row);
}

void TAxesTest::ohmRows_data()
{
    QTest::addColumn<double>("Value");
    QTest::addColumn<int>("Row");
    QTest::newRow("ChImp in the middle") << 50.0 << 200;
    QTest::newRow("0 ohm at the bottom") << 0.0 << 350;
    QTest::newRow("10000 ohm just below the top") << 10000.0 << 51;
    QTest::newRow("-10 ohm clamped to the bottom") << -10.0 << 350;
    QTest::newRow("very large clamped below the top") << 1e12 << 50;
    QTest::newRow("-1e300 clamped to the top") << -1e300 << 50;
    // Just above -ChImp the row rounds to about -2^31 + 100 below the bottom edge: clamped
    // to the bottom, not wrapped round to the top.
    QTest::newRow("just above -ChImp clamped to the bottom") << -49.999993015081344 << 350;
}

void TAxesTest::ohmRows()
{
    QFETCH(double, Value);
    QFETCH(int, Row);
    TLayer L;
    TOsaOHM Axis(&L.Canvas);
    QCOMPARE(Axis.ValueToY(Value), Row);
}

void TAxesTest::reactanceRows_data()
{
    QTest::addColumn<double>("Value");
    QTest::addColumn<int>("Row");
    QTest::newRow("0 in the middle") << 0.0 << 200;
    QTest::newRow("+ChImp a quarter above") << 50.0 << 125;
    QTest::newRow("-ChImp a quarter below") << -50.0 << 275;
    QTest::newRow("huge positive near the top") << 1e15 << 50;
    QTest::newRow("huge negative near the bottom") << -1e15 << 350;
}

void TAxesTest::reactanceRows()
{
    QFETCH(double, Value);
    QFETCH(int, Row);
    TLayer L;
    TOsaXX Axis(&L.Canvas);
    QCOMPARE(Axis.ValueToY(Value), Row);
}

void TAxesTest::faultsRaise()
{
    TLayer L;
    TOsaOHM Ohm(&L.Canvas);
    TOsaXX Reactance(&L.Canvas);
    TOsaRL RL(&L.Canvas);
    TOsaX OsaX(&L.Canvas, 1.0, 30.0);
    QVERIFY_THROWS_EXCEPTION(EFloatError, Ohm.ValueToY(-50.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, Ohm.ValueToY(std::nan("")));
    QVERIFY_THROWS_EXCEPTION(EFloatError, RL.ValueToY(1e300));
    // Rows that round inside the int range but leave it when the top margin is added.
    TOsaPHASE Phase(&L.Canvas);
    QVERIFY_THROWS_EXCEPTION(EFloatError, RL.ValueToY((2147483647.0 - 20.0) / 10.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, Phase.ValueToY((-2147483648.0 + 10.0) * 360.0 / 300.0));
    ChImp = 0;
    QVERIFY_THROWS_EXCEPTION(EFloatError, Ohm.ValueToY(50.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, Reactance.ValueToY(50.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, Ohm.PlotPoint(OsaX, 50.0, 7.0));
    QCOMPARE(L.CountNotWhite(), 0);
}

void TAxesTest::visibilityByMode_data()
{
    QTest::addColumn<QString>("Axis");
    QTest::addColumn<int>("Mode");
    QTest::addColumn<bool>("Flag");
    QTest::addColumn<bool>("Visible");
    const struct
    {
        const char *Axis;
        bool Impedance; // follows its flag in impedance mode
        bool CableLoss;
        bool CableLength;
    } Rows[] = {
        { "RL", true, false, false },
        { "PSV", true, false, false },
        { "XX", true, false, false },
        { "PHASE", true, false, true },
        { "OHM", true, false, true },
        { "FRQ", true, true, true },
    };
    for (const auto &R : Rows) {
        for (bool Flag : { true, false }) {
            const char *F = Flag ? "on" : "off";
            QTest::addRow("%s %s impedance", R.Axis, F)
                << QString::fromLatin1(R.Axis) << int(mmImpedance) << Flag << Flag;
            QTest::addRow("%s %s cable loss", R.Axis, F)
                << QString::fromLatin1(R.Axis) << int(mmCableLoss) << Flag << (R.CableLoss && Flag);
            const bool Length = QByteArray(R.Axis) == "FRQ" ? Flag : R.CableLength;
            QTest::addRow("%s %s cable length", R.Axis, F)
                << QString::fromLatin1(R.Axis) << int(mmCableLength) << Flag << Length;
        }
    }
    for (bool Flag : { true, false }) {
        QTest::addRow("T %s impedance", Flag ? "on" : "off")
            << QStringLiteral("T") << int(mmImpedance) << Flag << false;
        QTest::addRow("T %s cable loss", Flag ? "on" : "off")
            << QStringLiteral("T") << int(mmCableLoss) << Flag << Flag;
        QTest::addRow("T %s cable length", Flag ? "on" : "off")
            << QStringLiteral("T") << int(mmCableLength) << Flag << false;
    }
}

void TAxesTest::visibilityByMode()
{
    QFETCH(QString, Axis);
    QFETCH(int, Mode);
    QFETCH(bool, Flag);
    QFETCH(bool, Visible);
    TLayer L;
    std::unique_ptr<TDraw> Object;
    if (Axis == QLatin1String("RL"))
        Object = std::make_unique<TOsaRL>(&L.Canvas);
    else if (Axis == QLatin1String("PSV"))
        Object = std::make_unique<TOsaPSV>(&L.Canvas);
    else if (Axis == QLatin1String("XX"))
        Object = std::make_unique<TOsaXX>(&L.Canvas);
    else if (Axis == QLatin1String("PHASE"))
        Object = std::make_unique<TOsaPHASE>(&L.Canvas);
    else if (Axis == QLatin1String("OHM"))
        Object = std::make_unique<TOsaOHM>(&L.Canvas);
    else if (Axis == QLatin1String("T"))
        Object = std::make_unique<TOsaT>(&L.Canvas);
    else
        Object = std::make_unique<TOsaFRQ>(&L.Canvas);
    Object->Visible = Flag;
    MeasureMode = static_cast<TMeasureMode>(Mode);
    QCOMPARE(Object->IsVisible(), Visible);
}

void TAxesTest::lineToPointBreaksOutsidePlot()
{
    TLayer L;
    TOsaRL Axis(&L.Canvas);
    Axis.Line = TPropertyLine(clRed, psSolid, 1);
    Axis.ResetPath();
    Axis.LineToPoint(100, 100);
    QCOMPARE(L.CountNotWhite(), 0);
    Axis.LineToPoint(110, 49);
    Axis.LineToPoint(120, 100);
    Axis.LineToPoint(130, 351);
    Axis.LineToPoint(140, 100);
    QCOMPARE(L.CountNotWhite(), 0);
    QCOMPARE(Axis.LastX, 140);
    QCOMPARE(Axis.LastY, 100);
    Axis.LineToPoint(150, 50);
    Axis.LineToPoint(160, 350);
    QCOMPARE(L.At(145, 75), clRed);
    QCOMPARE(L.At(155, 200), clRed);
}

void TAxesTest::swrSkipsWithoutBreaking()
{
    TLayer L;
    TOsaX OsaX(&L.Canvas, 1.0, 30.0);
    TOsaPSV Axis(&L.Canvas);
    Axis.Line = TPropertyLine(clRed, psSolid, 1);
    Axis.ResetPath();
    // Columns: 1 MHz -> 35, 15.5 MHz -> 385, 30 MHz -> 735; SWR 2 lies on row 268.
    Axis.PlotPoint(OsaX, 2.0, 1.0);
    Axis.PlotPoint(OsaX, 50.5, 8.0);
    Axis.PlotPoint(OsaX, 0.0, 10.0);
    Axis.PlotPoint(OsaX, -3.0, 12.0);
    Axis.PlotPoint(OsaX, std::nan(""), 13.0);
    QCOMPARE(L.CountNotWhite(), 0);
    Axis.PlotPoint(OsaX, 2.0, 30.0);
    QCOMPARE(L.At(385, 268), clRed);
    QCOMPARE(L.At(100, 268), clRed);
}

void TAxesTest::swrAboveTopBreaks()
{
    TLayer L;
    TOsaX OsaX(&L.Canvas, 1.0, 30.0);
    TOsaPSV Axis(&L.Canvas);
    Axis.Line = TPropertyLine(clRed, psSolid, 1);
    Axis.ResetPath();
    Axis.PlotPoint(OsaX, 2.0, 1.0);
    Axis.PlotPoint(OsaX, 20.0, 15.5);
    Axis.PlotPoint(OsaX, 2.0, 30.0);
    QCOMPARE(L.CountNotWhite(), 0);
}

void TAxesTest::pinnedCurveNotDrawnAlongEdge()
{
    TLayer L;
    TOsaX OsaX(&L.Canvas, 0.0, 700.0); // one column per MHz: x = f + 35
    TOsaOHM Axis(&L.Canvas);
    Axis.Line = TPropertyLine(clGreen, psSolid, 1);
    Axis.ResetPath();
    Axis.PlotPoint(OsaX, -10.0, 100.0);
    Axis.PlotPoint(OsaX, -20.0, 200.0);
    Axis.PlotPoint(OsaX, 0.0, 300.0);
    QCOMPARE(L.CountNotWhite(), 0);
    QCOMPARE(Axis.LastX, 335);
    QCOMPARE(Axis.LastY, 350);
    // Rising again: the first segment starts at the last pinned point.
    Axis.PlotPoint(OsaX, 50.0, 400.0);
    QVERIFY(L.CountInColumn(336, 200, 350, clGreen) > 0);
    QVERIFY(L.CountInColumn(434, 200, 350, clGreen) > 0);
    QCOMPARE(L.CountInColumn(250, 200, 350, clGreen), 0);
}

void TAxesTest::ticksFollowChImp()
{
    TLayer L;
    TOsaX OsaX(&L.Canvas, 1.0, 30.0);
    TOsaOHM Axis(&L.Canvas);
    Axis.Kind = 2;
    TOsaXX Reactance(&L.Canvas);
    const std::array<double, 8> At50 = { 0, 10, 25, 50, 100, 250, 500, 10000 };
    QCOMPARE(Axis.OhmTicks, At50);
    QCOMPARE(Reactance.ReactanceTicks, At50);
    // A new Z0, set wherever: the scales drawn next show its ticks, up to 200 Z0.
    ChImp = 75;
    Axis.DrawAxis(735, OsaX);
    Reactance.DrawAxis(35, OsaX, false);
    const std::array<double, 8> At75 = { 0, 15, 37.5, 75, 150, 375, 750, 15000 };
    QCOMPARE(Axis.OhmTicks, At75);
    QCOMPARE(Reactance.ReactanceTicks, At75);
    QCOMPARE(Axis.MaxValue, 15000.0);
    QCOMPARE(Reactance.MinValue, -15000.0);
    // The tick at Z0 stands in the middle of the 300 rows.
    QCOMPARE(Axis.ValueToY(Axis.OhmTicks[3]), 200);
}

namespace {

// The longest run of GridColor pixels in row Y between the plot edges.
int LongestRun(const TLayer &L, int Y, TColor GridColor)
{
    int Best = 0;
    int Run = 0;
    for (int X = 40; X < 730; ++X) {
        Run = L.At(X, Y) == GridColor ? Run + 1 : 0;
        Best = std::max(Best, Run);
    }
    return Best;
}

} // namespace

void TAxesTest::referenceLineAtChImp()
{
    for (int Imp : { 50, 75 }) {
        TLayer L;
        ChImp = Imp;
        TOsaX OsaX(&L.Canvas, 1.0, 30.0);
        TOsaOHM Axis(&L.Canvas);
        Axis.Kind = 2;
        Axis.Grid = true;
        Axis.GridLine.Color = clGreen;
        Axis.DrawAxis(735, OsaX);
        const int RowRef = Axis.ValueToY(Imp);
        const int RowTwice = Axis.ValueToY(2.0 * Imp);
        // A dotted grid line has no run longer than one pixel; the dash-dot-dot reference
        // line, at the Z0 in use, has dashes.
        QCOMPARE(LongestRun(L, RowTwice, clGreen), 1);
        QVERIFY(LongestRun(L, RowRef, clGreen) > 3);
        ChImp = 50;
    }
}

void TAxesTest::cableLengthMode()
{
    MeasureMode = mmCableLength;
    TLayer L;
    TOsaX OsaX(&L.Canvas, 1.0, 30.0);
    TOsaOHM OsaR(&L.Canvas);
    OsaR.Kind = 0;
    TOsaXX OsaXX(&L.Canvas);
    OsaXX.Kind = 1;
    TOsaPSV OsaPSV(&L.Canvas);
    TOsaRL OsaRL(&L.Canvas);
    OsaR.DrawAxis(735, OsaX);
    OsaXX.DrawAxis(35, OsaX, false);
    OsaPSV.DrawAxis(35, OsaX);
    OsaRL.DrawAxis(35, OsaX);
    for (TOsaY *Axis : std::initializer_list<TOsaY *> { &OsaR, &OsaXX, &OsaPSV, &OsaRL }) {
        Axis->Line = TPropertyLine(clRed, psSolid, 1);
        Axis->ResetPath();
        Axis->PlotPoint(OsaX, 2.0, 5.0);
        Axis->PlotPoint(OsaX, 3.0, 25.0);
    }
    QCOMPARE(L.CountNotWhite(), 0);

    TOsaOHM OsaZ(&L.Canvas);
    OsaZ.Kind = 2;
    OsaZ.Visible = false;
    TOsaPHASE OsaPhase(&L.Canvas);
    OsaPhase.Visible = false;
    OsaZ.DrawAxis(735, OsaX);
    const int Scale = L.CountNotWhite();
    QVERIFY(Scale > 0);
    OsaPhase.DrawAxis(735, OsaX);
    QVERIFY(L.CountNotWhite() > Scale);
    OsaZ.Line = TPropertyLine(clRed, psSolid, 1);
    OsaZ.ResetPath();
    OsaZ.PlotPoint(OsaX, 50.0, 5.0);
    OsaZ.PlotPoint(OsaX, 50.0, 25.0);
    QCOMPARE(L.At(400, 200), clRed);
}

void TAxesTest::axisDrawingFailsOnZeroRange()
{
    TLayer L;
    TOsaX OsaX(&L.Canvas, 7.0, 7.0);
    TOsaRL Axis(&L.Canvas);
    Axis.Grid = true;
    QVERIFY_THROWS_EXCEPTION(EFloatError, OsaX.ValueToX(7.0));
    QVERIFY_THROWS_EXCEPTION(EFloatError, Axis.PlotPoint(OsaX, 10.0, 7.0));
}

QTEST_MAIN(TAxesTest)
#include "tst_Axes.moc"
