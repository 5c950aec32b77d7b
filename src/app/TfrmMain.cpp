// The main window's life: creation, the start-up of the display, the measure button and the
// sweep's start and end, the resize redraw, the configuration dialog and closing.
#include "app/TfrmMain.h"

#include "app/ColourButton.h"
#include "config/ConfigStore.h"
#include "config/TfrmCfg.h"
#include "device/TComm.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "graph/TOsaX.h"
#include "graph/TOsaY.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "measure/SweepRange.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Guard.h"
#include "platform/Parse.h"
#include "platform/Paths.h"
#include "platform/QtColor.h"
#include "platform/SerialPort.h"
#include "readout/TfraData.h"
#include "readout/TfrmTestColor.h"
#include "smith/TvSmithChart.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr int kRedrawDelayMs = 1000;
// The wanted maximum that puts the impedance axes to their full range.
constexpr double kFullRange = 1000000;

const char *const kNotMeasuring = " Měření vypnuto";
const char *const kMeasuring = " Měření zapnuto";

} // namespace

// ---- Creation and layout ----

TfrmMain::TfrmMain()
{
    setWindowTitle(QStringLiteral("KIVRA Antenne analyzer "));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // The captions and the header line up with fields laid out for a narrow 8 pt face; the
    // wide default sans face would clip "Cable length" and run the header labels together.
    QFont Font(QStringLiteral("Sans Serif"), 8);
    Font.setFamilies({ QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif") });
    Font.setStyleHint(QFont::SansSerif);
    setFont(Font);
    resize(1144, 604);
    // The default size is the smallest at which every field, heading and warning is whole.
    setMinimumSize(1144, 604);

    BuildLayout();
    BuildMenu();

    Cfg = new TfrmCfg(this);
    Cfg->hide();
    // The rows live in the readout area from the start; the layout decides which show.
    Graph = new TvGraph(pnGraph, [this](int Index) -> TCursorReadout * {
        Rows[Index] = new TfraData(pnData);
        return Rows[Index];
    });
    Graph->MainWindow = this;
    Graph->setFocusPolicy(Qt::StrongFocus);
    Graph->setObjectName(QStringLiteral("Graph"));
    Graph->installEventFilter(this);
    for (int Index : { 1, 2 })
        Rows[static_cast<std::size_t>(Index)]->edFrekvence->installEventFilter(this);
    TestColor = new TfrmTestColor(nullptr);
    qobject_cast<QVBoxLayout *>(pnGraph->layout())->insertWidget(1, Graph, 1);

    QObject::connect(mnResonances, &QAction::toggled, this,
        [this](bool On) { GuardHandler([this, On] { ShowResonances(On); }); });

    Timer2.setInterval(kRedrawDelayMs);
    Timer2.setSingleShot(true);
    QObject::connect(
        &Timer2, &QTimer::timeout, this, [this] { GuardHandler([this] { Timer2Timer(); }); });
    Timer2.start();
    BuildShortcuts();
    Connect();
}

TfrmMain::~TfrmMain() { FormDestroy(); }

TAnGraph &TfrmMain::Model() const { return Graph->Graph(); }

TMereni &TfrmMain::Mereni() const { return *Model().Mereni; }

// ---- Start-up ----

void TfrmMain::showEvent(QShowEvent *Event)
{
    QMainWindow::showEvent(Event);
    // Qt shows a window again after every hide; the display comes up only once.
    if (FStarted)
        return;
    FStarted = true;
    GuardHandler([this] { FormShow(); });
}

void TfrmMain::FormShow()
{
    if (const QScreen *Screen = screen())
        move(Screen->availableGeometry().center() - rect().center());

    // The decimal separator of every conversion is the point already (platform/Parse.h).
    // Each step stands on its own: one that fails is reported and the rest still runs, so
    // a refused write or a broken value never keeps the window from coming up.
    const auto Step = [](const std::function<void()> &Run) { GuardHandler(Run); };
    // The steps below change what the graph shows many times; it is drawn once, at the end.
    Model().HoldDrawing = true;

    Step([this] { Cfg->LoadSettings(); });
    Step([] {
        int Value = 50;
        if (TryStrToInt(StdStr(ReadConfigValue(ciChImp)), Value)) {
            ChImp = Value;
            return;
        }
        ChImp = 50;
        WriteConfigValue(ciChImp, QStringLiteral("50"));
    });
    Step([this] {
        Model().OsaXX->SetRange(kFullRange);
        Model().OsaZ->SetRange(kFullRange);
        Model().OsaR->SetRange(kFullRange);
    });
    Step([this] { ApplyCurveColours(); });
    Step([this] {
        ApplyCurveVisibility(false);
        ApplyAxisChoice(false);
    });
    Step([this] { Model().SetBackColor(Cfg->pnColor->Color()); });
    Mereni().ShowMinSWR = [this] { return IsMinSwrShown(); };
    Mereni().OnEvaluated = [this] { UpdateResonances(); };
    Step([this] { SetFrequencyRange(0, 0); });
    Step([this] {
        Model().ResizeLayers();
        Graph->DrawGraph();
        Model().Present(false);
    });
    Step([this] { UpdateReadoutHeader(); });
    Cfg->OnChange = [this] { ApplyGraphColour(); };
    OnCursorMoved = [this](int Index) {
        UpdateZoomButton();
        if (Index == 1)
            UpdateReferenceRows();
    };
    // Cursor 1 unplaced, a new Z0 or display mode: the reference rows follow every picture.
    Model().OnDrawn = [this] { UpdateReferenceRows(); };
    Step([this] {
        // Each change of the box lays the readout area out through its handler.
        chkMinPSV->setChecked(true);
        chkMinPSV->setChecked(false);
    });
    SmoothCurves = chkVyhlazovat->isChecked();
    Step([this] { UpdateBandButtons(); });
    Step([this] { UpdateCableGroup(); });
    Model().Cursor1->OnDifference = [this](double Delta) { CableCursorMoved(Delta); };
    Step([this] { edZkracKa->setText(ReadConfigValue(ciVelocityFactor)); });
    Smith = new TvSmithChart(pnSmihGraph);
    pnSmihGraph->layout()->addWidget(Smith);
    Smith->OnApply = [this] { SmithChanged(); };
    Smith->SetBackColor(Model().GraphBackColor);
    // Shown and laid out first, so the chart's grid, the costliest picture of the window, is
    // drawn once, at the size it keeps.
    pnSmihGraph->show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    Step([this] { Smith->InitChart(); });
    Mereni().SmithFrame = Smith;
    Model().Cursor1->SmithFrame = Smith;
    BuildTabOrder();
    // The keyboard starts where a sweep starts, never in a hidden control.
    btnMereni->setFocus();
    // The layouts settle what the start-up changed (the readout area's height, the Smith
    // panel), and each resize of the graph frame clears its layers: the first picture is
    // drawn after the last of them, not a second later by the redraw timer.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    Model().HoldDrawing = false;
    Step([this] { Model().Refresh(); });
    DescribeGraph();
    Timer2.start();
}

// ---- Measuring ----

bool TfrmMain::IsMeasuring() const
{
    return Graph != nullptr && Graph->GraphPtr() != nullptr && Graph->Graph().Mereni != nullptr
        && Graph->Graph().Mereni->Measuring();
}

void TfrmMain::btnMereniClick()
{
    // A range the analyzer would refuse is not sent: the user learns why nothing comes.
    const std::string Refusal = SweepRangeRefusal(Model().OsaX->MinValue, Model().OsaX->MaxValue);
    if (!Refusal.empty()) {
        StatusBar1->showMessage(QString::fromStdString(Refusal));
        FRepeating = false;
        return;
    }
    FRepeating = chkRepeat->isChecked();
    SmoothCurves = chkVyhlazovat->isChecked();
    StatusBar1->showMessage(QString::fromUtf8(IsMeasuring() ? kMeasuring : kNotMeasuring));
    TestColor->setParent(nullptr);
    UpdateMeasureButton();
    TMereni &M = Mereni();
    M.ProgressBar = ProgressBar1;
    M.OnStart = [this] { SweepStarted(); };
    M.OnEnd = [this] { SweepStopped(); };
    FPortFailed = false;
    try {
        M.StartSweep();
    } catch (const EConvertError &) {
        ReportPortProblem();
        throw;
    }
    if (!M.Comm->WasConnected()) {
        // The sweep still ends by its watchdog; the user learns why nothing comes.
        FPortFailed = true;
        const std::string Name = M.Comm->PortName();
        StatusBar1->showMessage(QStr(PortOpenFailureText(Name)));
    }
    UpdateCableGroup();
}

void TfrmMain::ReportPortProblem()
{
    // The box says only which text is no number; the status bar says where it is.
    TConfigItem Bad = ciSelCom;
    int Selection = 0;
    if (TryStrToInt(StdStr(ReadConfigValue(ciSelCom)), Selection))
        Bad = Selection == 3 ? ciPort3 : ciPort2;
    const char *const Keys[] = { "PORT2", "PORT3", "SELCOM" };
    const char *Key = Keys[Bad == ciPort2 ? 0 : Bad == ciPort3 ? 1 : 2];
    StatusBar1->showMessage(
        QStringLiteral("The setting %1 in section COM_PORT of %2 is not a number")
            .arg(QString::fromLatin1(Key), QStr(KivraIniPath())));
}

void TfrmMain::SweepStarted()
{
    UpdateMeasureButton();
    // The sweep measures the range shown; the bar keeps its band and only hides.
    pnBand->setVisible(!IsMeasuring() && !FRepeating);
}

void TfrmMain::SweepStopped()
{
    UpdateMeasureButton();
    // The watchdog tells the end before the received lines become the last sweep.
    TMereni &M = Mereni();
    const int Received = static_cast<int>(M.CurrentLines().size());
    // A complete sweep leaves the text of its start; an early end says how far it came.
    const bool Short = !FPortFailed && M.ExpectedLines > 0 && Received < M.ExpectedLines;
    if (Short)
        StatusBar1->showMessage(
            QStringLiteral("Sweep ended after %1 of %2 points").arg(Received).arg(M.ExpectedLines));
    if (FRepeating) {
        if (FCloseAfterSweep || !chkRepeat->isChecked())
            FRepeating = false;
        else if (FPortFailed || Short || M.ExpectedLines == 0)
            // A repetition that cannot measure stops at once instead of trying again and
            // again; the status bar keeps the reason.
            StopRepeat(StatusBar1->currentMessage().trimmed());
        else {
            FRepeatPending = true;
            for (int I : { 0, 1 }) {
                const TFrekvence &Cursor = I == 0 ? *Model().Cursor1 : *Model().Cursor2;
                FRepeatCursors[static_cast<std::size_t>(I)]
                    = Cursor.IsPlaced() ? Cursor.Frequency : 0.0;
            }
        }
    }
    // The lines become the last sweep and are drawn once this returns.
    QTimer::singleShot(0, this, [this] { GuardHandler([this] { SweepDrawn(); }); });
    UpdateMeasureButton();
    pnBand->setVisible(!IsMeasuring() && !FRepeating);
    DescribeGraph();
    if (FCloseAfterSweep)
        QTimer::singleShot(0, this, [this] { close(); });
}

void TfrmMain::UpdateMeasureButton()
{
    const bool Measuring = IsMeasuring();
    btnMereni->SetTextColour(Measuring ? QColor(255, 0, 0) : QColor(0, 0, 0));
    // What would empty the lines received so far, or move the axis under them, waits.
    // Between two sweeps of a repetition nothing is enabled for a moment only to flicker.
    const bool Busy = Measuring || FRepeatPending;
    btnMereni->setEnabled(!Busy);
    for (QWidget *Control : std::initializer_list<QWidget *> { GroupBox3 })
        Control->setEnabled(!Busy);
    for (QAction *Command : { Konfigurace1, MenLoad, MenSave, mnSaveToZPlots, mnSaveS11 })
        Command->setEnabled(!Busy);
}

void TfrmMain::ShowErrorBox(const QString &Text, const QString &Caption)
{
    Dialogs().ShowErrorBox(StdStr(Text), StdStr(Caption));
}

void TfrmMain::ApplyGraphColour()
{
    Model().SetBackColor(Cfg->pnColor->Color());
    if (Smith != nullptr) {
        Smith->SetBackColor(Model().GraphBackColor);
        Smith->Replot();
    }
}

void TfrmMain::SmithChanged()
{
    Smith->Replot();
    Model().ResizeLayers();
    Graph->DrawGraph();
    Model().Present(false);
}

void TfrmMain::Konfigurace1Click()
{
    if (!Cfg->ShowConfigDialog(Mereni().Comm.get()))
        return;
    Cfg->LoadSettings();
    // SetFrequencyRange draws the new range from cleared layers; a second DrawGraph on top
    // would double the grid, so the picture is only presented.
    if (!SetFrequencyRange(0, 0))
        Model().Refresh();
    UpdateBandButtons();
    if (Smith != nullptr)
        Smith->RedrawGrid();
}

void TfrmMain::resizeEvent(QResizeEvent *Event)
{
    QMainWindow::resizeEvent(Event);
    FormResize();
}

void TfrmMain::FormResize()
{
    if (FDestroying)
        return;
    Timer2.start();
}

void TfrmMain::Timer2Timer()
{
    Timer2.stop();
    if (FDestroying || Graph == nullptr)
        return;
    ++FResizeRedraws;
    // The frame has resized the layers already; drawing them before the clear of Refresh
    // would only be thrown away.
    Model().Refresh();
}

bool TfrmMain::event(QEvent *Event)
{
    // The status bar holds one text: what the last sweep did or why it brought nothing. A
    // menu entry under the pointer would replace it with its (empty) tip and wipe it.
    if (Event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(Event);
}

void TfrmMain::closeEvent(QCloseEvent *Event)
{
    if (FormClose())
        Event->accept();
    else
        Event->ignore();
}

bool TfrmMain::FormClose()
{
    // A repetition ends with the sweep that runs.
    FRepeating = false;
    chkRepeat->setChecked(false);
    // The sweep is not cut short: the window closes by itself once it has ended.
    if (IsMeasuring()) {
        FCloseAfterSweep = true;
        StatusBar1->showMessage(QStringLiteral("KIVRA closes when the sweep has ended"));
        return false;
    }
    // A refused write is shown, but never keeps the user in the program.
    GuardHandler([this] { WriteConfigValue(ciVelocityFactor, edZkracKa->text()); });
    setAttribute(Qt::WA_DeleteOnClose, false);
    GuardSilently([this] { ShutdownDevice(); });
    return true;
}

void TfrmMain::ShutdownDevice()
{
    QCoreApplication::processEvents();
    TComm &Comm = *Mereni().Comm;
    if (Comm.WasConnected()) {
        Comm.EnsureOpen();
        Comm.Close();
    }
}

void TfrmMain::FormDestroy()
{
    if (FDestroying)
        return;
    FDestroying = true;
    Timer2.stop();
    OnCursorMoved = nullptr;
    // The graph's callbacks point back into this window.
    if (Graph != nullptr && Graph->GraphPtr() != nullptr) {
        TMereni &M = *Graph->Graph().Mereni;
        M.OnStart = nullptr;
        M.OnEnd = nullptr;
        M.ShowMinSWR = nullptr;
        M.OnEvaluated = nullptr;
        M.ProgressBar = nullptr;
        Graph->Graph().Cursor1->OnDifference = nullptr;
        Graph->Graph().Cursor1->SmithFrame = nullptr;
        Graph->Graph().OnDrawn = nullptr;
        M.SmithFrame = nullptr;
    }
    delete Cfg;
    Cfg = nullptr;
    delete Graph;
    Graph = nullptr;
    delete TestColor;
    TestColor = nullptr;
    delete Smith;
    Smith = nullptr;
}

void TfrmMain::Konec2Click() { close(); }
