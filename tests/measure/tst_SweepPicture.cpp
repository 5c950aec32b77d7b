#include "device/TComm.h"
#include "device/TMemorySerialPort.h"
#include "graph/TAnGraph.h"
#include "measure/Globals.h"
#include "measure/PointFormulas.h"
#include "measure/TMereni.h"
#include "platform/QtColor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 795;
constexpr int kHeight = 400;
constexpr int kPlotLeft = 35;
constexpr int kPlotRight = kWidth - 60;
constexpr int kPlotTop = 50;
constexpr int kPlotBottom = kHeight - 50;

constexpr TColor kSwrColor = clRed;

// A series-resonant antenna near 14.2 MHz, as the analyzer would report it: whole kHz, whole
// ohms, 1..30 MHz in 100 kHz steps.
QStringList ExampleSweep()
{
    QStringList lines;
    for (int kHz = 1000; kHz <= 30000; kHz += 100) {
        const double f = kHz * 1e3;
        const double w = 2.0 * M_PI * f;
        const double l = 2e-6;
        const double c = 1.0 / (std::pow(2.0 * M_PI * 14.2e6, 2) * l);
        const double r = 40.0 + 2.0 * kHz / 1000.0;
        const double x = w * l - 1.0 / (w * c);
        lines << QStringLiteral("%1 %2 %3").arg(kHz).arg(std::lround(r)).arg(std::lround(x));
    }
    return lines;
}

// The column and row the frequency and SWR mappings give, computed here independently.
int ColumnOf(double MHz)
{
    const long double scale = static_cast<long double>((kPlotRight - kPlotLeft) / 29.0);
    return static_cast<int>(std::nearbyint(scale * MHz - scale * 1.0L)) + kPlotLeft;
}

int SwrRow(double Swr)
{
    const double scale = (kPlotBottom - kPlotTop) / 11.0;
    const long double v = 10.0L * std::log10(static_cast<long double>(Swr));
    return static_cast<int>(std::nearbyint(static_cast<long double>(scale) * 11.0L)) + kPlotTop
        - static_cast<int>(std::nearbyint(static_cast<long double>(scale) * v));
}

bool HasColorNear(const QImage &Image, int X, int Y, TColor Color, int Radius)
{
    const QRgb want = ToQColor(Color).rgb();
    for (int y = Y - Radius; y <= Y + Radius; ++y)
        for (int x = X - Radius; x <= X + Radius; ++x)
            if (Image.valid(x, y) && Image.pixel(x, y) == want)
                return true;
    return false;
}

int CountColorInBox(const QImage &Image, const QRect &Box, TColor Color)
{
    const QRgb want = ToQColor(Color).rgb();
    int n = 0;
    for (int y = Box.top(); y <= Box.bottom(); ++y)
        for (int x = Box.left(); x <= Box.right(); ++x)
            if (Image.valid(x, y) && Image.pixel(x, y) == want)
                ++n;
    return n;
}

struct TPicture
{
    TPicture()
        : Graph(nullptr, 1.0, 30.0)
    {
        ChImp = 50;
        MeasureMode = mmImpedance;
        SmoothCurves = false;
        Graph.ResizeLayers(kWidth, kHeight);
        Graph.OsaZ->SetRange();
        Graph.OsaR->SetRange();
        Graph.OsaXX->SetRange();
        const struct
        {
            TOsaY *Axis;
            TColor Color;
        } pens[] = { { Graph.OsaPSV.get(), kSwrColor }, { Graph.OsaZ.get(), clFuchsia },
            { Graph.OsaR.get(), clBlack }, { Graph.OsaXX.get(), clBlue },
            { Graph.OsaRL.get(), clGreen }, { Graph.OsaT.get(), clTeal },
            { Graph.OsaPhase.get(), clMaroon } };
        for (const auto &pen : pens) {
            pen.Axis->Line.Color = pen.Color;
            pen.Axis->Line.Width = 2;
            pen.Axis->GridLine.Color = pen.Color;
        }
        Graph.Mereni->SetLastLines(ExampleSweep());
    }

    void Draw()
    {
        Graph.ClearLayers();
        Graph.DrawAll();
        Graph.Present(false);
    }

    TAnGraph Graph;
};

} // namespace

class TestSweepPicture : public QObject
{
    Q_OBJECT

private slots:
    void swrCurveAtMappedRows();
    void frameGridAndLabels();
    void allCurvesAndExamplePicture();
    void curvesStayInsideThePlotAfterAZoom();
    void keptEvaluationDrawsAsAFreshOne_data();
    void keptEvaluationDrawsAsAFreshOne();
};

void TestSweepPicture::swrCurveAtMappedRows()
{
    TPicture p;
    for (TOsaY *axis : std::initializer_list<TOsaY *> { p.Graph.OsaZ.get(), p.Graph.OsaR.get(),
             p.Graph.OsaXX.get(), p.Graph.OsaRL.get(), p.Graph.OsaPhase.get() })
        axis->Visible = false;
    p.Draw();
    const QImage &img = p.Graph.MainLayer;
    QCOMPARE(img.size(), QSize(kWidth, kHeight));

    const QStringList lines = ExampleSweep();
    QVector<int> rows;
    QVector<int> cols;
    for (const QString &line : lines) {
        const QStringList f = line.split(QLatin1Char(' '));
        TPointValues v;
        ComputePoint(f[1].toDouble(), f[2].toDouble(), 0.0, 50.0, v);
        const bool drawn = v.SWR > 0.0 && v.SWR <= 50.0;
        rows << (drawn ? SwrRow(v.SWR) : -1);
        cols << ColumnOf(f[0].toDouble() / 1000.0);
    }

    int checked = 0;
    for (int i = 1; i + 1 < rows.size(); ++i) {
        const auto inside = [&](int k) { return rows[k] >= kPlotTop && rows[k] <= kPlotBottom; };
        if (!inside(i - 1) || !inside(i) || !inside(i + 1))
            continue;
        ++checked;
        QVERIFY2(HasColorNear(img, cols[i], rows[i], kSwrColor, 1),
            qPrintable(QStringLiteral("no SWR pen at %1,%2").arg(cols[i]).arg(rows[i])));
        // Nothing of the curve lies outside the rows its two segments span.
        const int lo = std::min({ rows[i - 1], rows[i], rows[i + 1] }) - 2;
        const int hi = std::max({ rows[i - 1], rows[i], rows[i + 1] }) + 2;
        for (int y = kPlotTop; y <= kPlotBottom; ++y)
            if (y < lo || y > hi)
                QVERIFY2(img.pixel(cols[i], y) != ToQColor(kSwrColor).rgb(),
                    qPrintable(QStringLiteral("stray SWR pen at %1,%2").arg(cols[i]).arg(y)));
    }
    QVERIFY(checked > 40);

    // The minimum-SWR point (SWR 1.36 at 14.2 MHz) is where the curve comes lowest.
    int lowest = 0;
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i] > rows[lowest])
            lowest = i;
    QCOMPARE(cols[lowest], ColumnOf(14.2));
}

void TestSweepPicture::frameGridAndLabels()
{
    TPicture p;
    p.Draw();
    const QImage &img = p.Graph.MainLayer;
    const TColor frame = p.Graph.OsaY->Line.Color;

    // The plot rectangle.
    QVERIFY(CountColorInBox(img, QRect(kPlotLeft, 100, 1, 200), frame) > 150);
    QVERIFY(CountColorInBox(img, QRect(kPlotRight, 100, 1, 200), frame) > 150);
    QVERIFY(CountColorInBox(img, QRect(100, kPlotTop, 600, 1), frame) > 450);
    QVERIFY(CountColorInBox(img, QRect(100, kPlotBottom, 600, 1), frame) > 450);
    // Nothing of the frame one pixel outside it, away from scales and labels.
    QCOMPARE(CountColorInBox(img, QRect(300, kPlotTop - 3, 100, 1), frame), 0);

    // Six dotted grid lines, inner four checked (the outer two lie under the frame).
    const TColor grid = p.Graph.OsaFRQ->Line.Color;
    for (int x : { 175, 315, 455, 595 }) {
        const int dots = CountColorInBox(img, QRect(x, kPlotTop + 5, 1, 290), grid);
        QVERIFY2(dots > 80, qPrintable(QStringLiteral("grid at %1: %2").arg(x).arg(dots)));
        QCOMPARE(CountColorInBox(img, QRect(x + 3, kPlotTop + 5, 1, 290), grid), 0);
    }

    // Frequency labels below each grid line; none between them.
    const TColor label = p.Graph.OsaFRQ->Text.Color;
    for (int x : { 35, 175, 315, 455, 595, 735 }) {
        const int ink = CountColorInBox(img, QRect(x - 15, kPlotBottom + 13, 45, 14), label);
        QVERIFY2(ink > 20, qPrintable(QStringLiteral("label at %1: %2").arg(x).arg(ink)));
    }
    QCOMPARE(CountColorInBox(img, QRect(100, kPlotBottom + 13, 30, 14), label), 0);
    // The SWR caption above the plot's top row at the left edge.
    const int caption
        = CountColorInBox(img, QRect(kPlotLeft + 5, 30, 40, 16), p.Graph.OsaPSV->Text.Color);
    QVERIFY(caption > 10);
}

void TestSweepPicture::allCurvesAndExamplePicture()
{
    TPicture p;
    p.Graph.Mereni->ShowMinSWR = [] { return true; };
    p.Draw();
    const QString png = QDir(QCoreApplication::applicationDirPath())
                            .filePath(QStringLiteral("sweep-example.png"));
    QVERIFY(p.Graph.Composite.save(png));
    const QImage &img = p.Graph.MainLayer;
    const QRect plot(
        kPlotLeft + 1, kPlotTop + 1, kPlotRight - kPlotLeft - 2, kPlotBottom - kPlotTop - 2);
    for (TColor c : { kSwrColor, clFuchsia, clBlack, clBlue, clGreen, clMaroon })
        QVERIFY2(CountColorInBox(img, plot, c) > 100,
            qPrintable(QStringLiteral("colour %1").arg(c, 6, 16)));
    // The cable loss curve is hidden in impedance mode.
    QCOMPARE(CountColorInBox(img, plot, clTeal), 0);
    // The minimum-SWR cursor stands at 14.2 MHz on the cursor layer, dotted.
    QCOMPARE(p.Graph.CursorMin->X, ColumnOf(14.2));
    QVERIFY(CountColorInBox(p.Graph.CursorLayer, QRect(ColumnOf(14.2), 60, 1, 280),
                p.Graph.CursorMin->Line.Color)
        > 80);
}

void TestSweepPicture::curvesStayInsideThePlotAfterAZoom()
{
    // A zoom into the sweep before the next one: the points beside the new range lie left
    // and right of the plot, and the curves are cut off at its edges. Outside the plot the
    // picture is the one without a sweep: scales and labels only.
    TPicture zoomed;
    TPicture empty;
    empty.Graph.Mereni->SetLastLines({});
    for (TPicture *p : { &zoomed, &empty }) {
        p->Graph.OsaX->SetMinValue(10.0);
        p->Graph.OsaX->SetMaxValue(20.0);
        p->Draw();
    }
    const QImage &img = zoomed.Graph.Composite;
    const QRect left(0, 0, kPlotLeft - 1, kHeight);
    const QRect right(kPlotRight + 2, 0, kWidth - kPlotRight - 2, kHeight);
    QVERIFY(CountColorInBox(img, QRect(kPlotLeft + 5, kPlotTop, 600, 300), clBlue) > 300);
    QCOMPARE(img.copy(left), empty.Graph.Composite.copy(left));
    QCOMPARE(img.copy(right), empty.Graph.Composite.copy(right));
    // On the left edge itself only the ends of the curves that enter there, no stub of
    // piled-up points.
    int edge = 0;
    for (int y = kPlotTop; y <= kPlotBottom; ++y)
        for (int x = kPlotLeft - 1; x <= kPlotLeft + 1; ++x)
            edge += img.pixel(x, y) != empty.Graph.Composite.pixel(x, y);
    QVERIFY2(edge < 6 * 6, qPrintable(QString::number(edge)));
}

void TestSweepPicture::keptEvaluationDrawsAsAFreshOne_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("a sweep") << 0;
    QTest::newRow("a load") << 1;
    QTest::newRow("a Z0") << 2;
    QTest::newRow("the smoothing") << 3;
}

void TestSweepPicture::keptEvaluationDrawsAsAFreshOne()
{
    // Two graphs with the same sweep, one keeping its evaluation, one evaluating every time.
    // After a change of an input and then of the display, both show the same picture and
    // hold the same series, to the bit: what is kept is never an old sweep's numbers.
    QFETCH(int, change);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("load.txt"));
    QStringList other;
    for (int kHz = 3000; kHz <= 25000; kHz += 50)
        other << QStringLiteral("%1 %2 %3").arg(kHz).arg(30 + kHz / 400).arg(kHz / 100 - 140);
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(other.join(QStringLiteral("\r\n")).toLatin1());
    }
    const auto series = [](TMereni &m) {
        std::vector<std::vector<double>> all;
        for (const TDoubleArray *s : { &m.Frequencies, &m.Resistances, &m.Reactances,
                 &m.RawResistances, &m.RawReactances, &m.Impedances, &m.RValues, &m.XValues,
                 &m.SWRValues, &m.RLValues, &m.PhaseValues, &m.CableLosses })
            all.emplace_back(s->Data(), s->Data() + s->Count());
        return all;
    };
    TPicture kept;
    TPicture fresh;
    fresh.Graph.Mereni->KeepEvaluation = false;
    for (TPicture *p : { &kept, &fresh }) {
        TMereni &m = *p->Graph.Mereni;
        m.ShowMinSWR = [] { return true; };
        p->Draw();
        p->Draw();
    }
    const std::vector<std::vector<double>> before = series(*kept.Graph.Mereni);
    for (TPicture *p : { &kept, &fresh }) {
        TMereni &m = *p->Graph.Mereni;
        if (change == 0) {
            m.Comm = std::make_unique<TComm>(std::make_unique<TMemorySerialPort>());
            m.StartSweep();
            for (const QString &line : other)
                m.LineReceived(0, line);
            m.WatchdogTimer();
        } else if (change == 1) {
            m.LoadTXT(file);
        }
    }
    if (change == 2)
        ChImp = 75;
    if (change == 3)
        SmoothCurves = true;
    for (TPicture *p : { &kept, &fresh }) {
        p->Graph.OsaPhase->Visible = false;
        p->Graph.ResizeLayers(kWidth - 40, kHeight + 30);
        p->Draw();
    }
    ChImp = 50;
    SmoothCurves = false;

    QCOMPARE(kept.Graph.Composite, fresh.Graph.Composite);
    QVERIFY(series(*kept.Graph.Mereni) == series(*fresh.Graph.Mereni));
    QCOMPARE(kept.Graph.CursorMin->X, fresh.Graph.CursorMin->X);
    QCOMPARE(kept.Graph.CursorMin->Frequency, fresh.Graph.CursorMin->Frequency);
    // The change did reach the series.
    QVERIFY(series(*kept.Graph.Mereni) != before);
}

QTEST_MAIN(TestSweepPicture)
#include "tst_SweepPicture.moc"
