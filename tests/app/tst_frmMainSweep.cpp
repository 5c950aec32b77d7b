#include "AnalyzerModel.h"
#include "app/ColourButton.h"
#include "app/TfrmMain.h"
#include "app/WindowProbe.h"
#include "device/SimProcess.h"
#include "graph/TAnGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "smith/TSmithChart.h"
#include "smith/TvSmithChart.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cmath>
#include <complex>

// The whole program against the simulated analyzer on a pseudo terminal: the window as the
// user drives it, the real port, the real watchdog.
class TfrmMainSweepTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ChImp = 50;
        MeasureMode = mmImpedance;
        // A failed check ends a test with its simulator killed, which leaves the link.
        QFile::remove(QString::fromStdString(KivraConfigDir()) + QStringLiteral("/ports/COM9"));
        QFile::remove(QString::fromStdString(KivraIniPath()));
    }
    void SweepOf160mWithTheMinimumCursorAtTheDip();
    void CableLengthFromTwoMaximaOfAnOpenCable();

private:
    // Presses "Mensuration" and waits for the watchdog to end the sweep.
    static bool Sweep(TfrmMain &Window)
    {
        QTest::mouseClick(Child<TColourButton>(Window, "btnMereni"), Qt::LeftButton);
        if (!Window.IsMeasuring())
            return false;
        return RunUntil([&] { return !Window.IsMeasuring(); }, 20000, 10);
    }
};

void TfrmMainSweepTest::SweepOf160mWithTheMinimumCursorAtTheDip()
{
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TSimProcess Sim;
    QVERIFY2(Sim.Start({ QStringLiteral("--baud"), QStringLiteral("0") }), qPrintable(Sim.Error));
    TfrmMain Window;
    Window.show();
    Child<QCheckBox>(Window, "chkMinPSV")->click();
    TAnGraph &G = Window.Model();
    const QImage Empty = G.Composite.copy();

    QVERIFY(Sweep(Window));
    const QStringList &Lines = Window.Mereni().LastLines();
    QCOMPARE(Lines.size(), 20);
    QCOMPARE(Lines.first(), QString::fromStdString(TAnalyzerModel(TLoadParams()).ReplyLine(181)));
    QCOMPARE(Window.SmithFrame()->Chart()->Points().size(), std::size_t(20));
    // The chart's live frames lose nothing: at the end it is the sweep drawn at once.
    const TSmithChart &Chart = *Window.SmithFrame()->Chart();
    TSmithChart Fresh(Chart.CentreX(), Chart.CentreY(), Chart.Radius(), nullptr);
    Fresh.GraphBackColor = Chart.GraphBackColor;
    Fresh.Resize(Chart.Size().width(), Chart.Size().height());
    Fresh.ReplotLines(Lines, ChImp);
    QVERIFY(Chart.Buffer() == Fresh.Buffer());
    QVERIFY(G.Composite != Empty);

    // The dip of the load itself, on the sweep's 10 kHz steps.
    double DipMHz = 0;
    double Best = 1e9;
    for (int Code = 181; Code <= 200; ++Code) {
        const std::complex<double> Z = LoadImpedance(TLoadParams(), Code / 100.0);
        const double Gamma = std::abs((Z - 50.0) / (Z + 50.0));
        if (Gamma < Best) {
            Best = Gamma;
            DipMHz = Code / 100.0;
        }
    }
    QVERIFY2(std::abs(G.CursorMin->Frequency - DipMHz) <= 0.0101,
        qPrintable(QStringLiteral("%1 vs %2").arg(G.CursorMin->Frequency).arg(DipMHz)));
    // A drag redraws the cursor layer; the minimum cursor stays in it.
    G.MoveCursor1(G.OsaX->PlotLeft() + 100, 120);
    int Red = 0;
    for (int Y = 60; Y < G.CursorLayer.height() - 60; ++Y)
        Red += G.CursorLayer.pixel(G.CursorMin->X, Y) == qRgb(255, 0, 0);
    QVERIFY(Red > 10);
    QVERIFY(Dialogs.Texts().empty());
    QCOMPARE(Sim.Terminate(), 0); // and its link goes
}

void TfrmMainSweepTest::CableLengthFromTwoMaximaOfAnOpenCable()
{
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TSimProcess Sim;
    QVERIFY2(Sim.Start({ QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--load"),
                 QStringLiteral("open"), QStringLiteral("--length"), QStringLiteral("10") }),
        qPrintable(Sim.Error));
    // The configured band is the full range: a sweep brings the bar back to it.
    QDir().mkpath(QString::fromStdString(KivraConfigDir()));
    QFile Ini(QString::fromStdString(KivraIniPath()));
    QVERIFY(Ini.open(QIODevice::WriteOnly));
    Ini.write("[COM_PORT]\nBAND160=N\nOTHER=A\n");
    Ini.close();
    TfrmMain Window;
    Window.show();
    Child<QRadioButton>(Window, "btnLKab")->click(); // selects the full range too
    QCOMPARE(Window.Model().OsaX->MaxValue, 30.0);
    QVERIFY(Sweep(Window));
    TMereni &M = Window.Mereni();
    QCOMPARE(M.LastLines().size(), 291);

    QList<double> Maxima;
    for (int I = 1; I + 1 < M.Impedances.Count(); ++I)
        if (M.Impedances.Item(I) > M.Impedances.Item(I - 1)
            && M.Impedances.Item(I) >= M.Impedances.Item(I + 1))
            Maxima << M.Frequencies.Item(I);
    QVERIFY(Maxima.size() >= 2);
    TAnGraph &G = Window.Model();
    G.Cursor1->Frequency = Maxima[0];
    G.Cursor2->Frequency = Maxima[1];
    G.Refresh();
    Child<QPushButton>(Window, "btnDelkaKabelu")->click();
    const double Length = Child<QLineEdit>(Window, "edLenKa")->text().toDouble();
    QVERIFY2(
        std::abs(Length - 10.0) < 0.2, qPrintable(Child<QLineEdit>(Window, "edLenKa")->text()));
    QVERIFY(Dialogs.Texts().empty());
    QCOMPARE(Sim.Terminate(), 0);
}

QTEST_MAIN(TfrmMainSweepTest)
#include "tst_frmMainSweep.moc"
