#include "app/TPreviewWindow.h"

#include "config/ConfigStore.h"
#include "graph/TAnGraph.h"
#include "graph/TOsaY.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Guard.h"
#include "platform/Parse.h"
#include "platform/QtColor.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// The band whose flag is "A" (the first, should a hand-edited file hold several), else
// the maximum range; limits that are not numbers give the full range.
void SelectedBand(double &MinMHz, double &MaxMHz)
{
    MinMHz = 1.0;
    MaxMHz = 30.0;
    const TConfigItem Flags[] = { ciBand160, ciBand80, ciBand40, ciBand30, ciBand20, ciBand17,
        ciBand15, ciBand12, ciBand10 };
    int Index = 9;
    for (int I = 0; I < 9; ++I) {
        if (ReadConfigValue(Flags[I]) == QStringLiteral("A")) {
            Index = I;
            break;
        }
    }
    QString Lower;
    QString Upper;
    ReadBandLimitsByIndex(Index, Lower, Upper);
    double Low = 0.0;
    double High = 0.0;
    if (TryStrToFloat(StdStr(Lower), Low) && TryStrToFloat(StdStr(Upper), High) && Low < High) {
        MinMHz = Low;
        MaxMHz = High;
    }
}

// Curve colours of the display's check boxes; every curve pen is 2 pixels wide.
void ApplyCurveColours(TAnGraph &Graph)
{
    Graph.OsaFRQ->Line.Color = clSilver;
    Graph.OsaX->Line.Color = clSilver;
    Graph.OsaY->Line.Color = clSilver;
    Graph.OsaX->Line.Width = 2;
    Graph.OsaY->Line.Width = Graph.OsaX->Line.Width;
    const struct
    {
        TDraw *Axis;
        TColor Color;
    } Curves[] = { { Graph.OsaRL.get(), clOlive }, { Graph.OsaT.get(), clOlive },
        { Graph.OsaPhase.get(), clGray }, { Graph.OsaPSV.get(), clRed },
        { Graph.OsaZ.get(), clBlack }, { Graph.OsaR.get(), clGreen },
        { Graph.OsaXX.get(), clPurple } };
    for (const auto &C : Curves) {
        C.Axis->GridLine.Color = C.Color;
        C.Axis->Text.Color = C.Color;
        C.Axis->Line.Color = C.Color;
        C.Axis->Line.Width = 2;
    }
}

} // namespace

TPreviewWindow::TPreviewWindow()
{
    setWindowTitle(QStringLiteral("KIVRA Antenne analyzer "));
    resize(1144, 604);

    // A characteristic impedance that is not a whole number is replaced for good.
    if (!TryStrToInt(StdStr(ReadConfigValue(ciChImp)), ChImp)) {
        ChImp = 50;
        WriteConfigValue(ciChImp, QStringLiteral("50"));
    }
    GraphBackColor = static_cast<TColor>(ReadConfigInt(ciGraphColor));

    auto *Central = new QWidget(this);
    auto *Layout = new QHBoxLayout(Central);
    vGraph = new TvGraph(Central);
    vGraph->setMinimumSize(200, 150);
    Layout->addWidget(vGraph, 1);
    // A resize only clears the layers; the picture is redrawn once the size has settled.
    RedrawTimer.setSingleShot(true);
    RedrawTimer.setInterval(kRedrawDelayMs);
    connect(&RedrawTimer, &QTimer::timeout, this,
        [this] { GuardSilently([this] { vGraph->DrawGraph(); }); });

    auto *Right = new QVBoxLayout;
    btnMereni = new QPushButton(QStringLiteral("Mensuration"), Central);
    ProgressBar1 = new QProgressBar(Central);
    ProgressBar1->setTextVisible(false);
    Right->addWidget(btnMereni);
    Right->addWidget(ProgressBar1);
    Right->addStretch();
    Layout->addLayout(Right);
    setCentralWidget(Central);

    double MinMHz = 1.0;
    double MaxMHz = 30.0;
    SelectedBand(MinMHz, MaxMHz);
    TAnGraph *AnGraph = vGraph->GraphPtr();
    AnGraph->OsaX->SetMinValue(MinMHz);
    AnGraph->OsaX->SetMaxValue(MaxMHz);
    BuildTickTables();
    AnGraph->OsaXX->SetRange(1000000);
    AnGraph->OsaZ->SetRange(1000000);
    AnGraph->OsaR->SetRange(1000000);
    ApplyCurveColours(*AnGraph);
    AnGraph->SetBackColor(GraphBackColor);

    TMereni &Mereni = *AnGraph->Mereni;
    Mereni.ProgressBar = ProgressBar1;
    Mereni.ShowMinSWR = [] { return true; };
    Mereni.OnStart = [this] { btnMereni->setEnabled(false); };
    Mereni.OnEnd = [this] { btnMereni->setEnabled(true); };
    connect(btnMereni, &QPushButton::clicked, this,
        [this] { GuardHandler([this] { btnMereniClick(); }); });

    statusBar()->showMessage(
        QStringLiteral("%1 – %2 MHz").arg(MinMHz, 0, 'f', 3).arg(MaxMHz, 0, 'f', 3));
}

TPreviewWindow::~TPreviewWindow() = default;

TAnGraph &TPreviewWindow::Graph() const { return vGraph->Graph(); }

void TPreviewWindow::resizeEvent(QResizeEvent *Event)
{
    QMainWindow::resizeEvent(Event);
    RedrawTimer.start();
}

void TPreviewWindow::btnMereniClick()
{
    if (Graph().Mereni->Measuring())
        return;
    Graph().Mereni->StartSweep();
}

void TPreviewWindow::closeEvent(QCloseEvent *Event)
{
    // Closing mid-sweep would pull the port from under the running sweep.
    if (Graph().Mereni->Measuring())
        Event->ignore();
    else
        Event->accept();
}
