#include "app/TfrmMain.h"

#include "app/ColourButton.h"
#include "app/FileCommands.h"
#include "app/TfrmAbout.h"
#include "config/ConfigStore.h"
#include "config/TfrmCfg.h"
#include "device/TComm.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "graph/TOsaX.h"
#include "graph/TOsaY.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Format.h"
#include "platform/Guard.h"
#include "platform/Parse.h"
#include "platform/Paths.h"
#include "platform/QtColor.h"
#include "platform/SerialPort.h"
#include "readout/TfraData.h"
#include "readout/TfrmTestColor.h"
#include "smith/TvSmithChart.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Half the speed of light in m·MHz, as the cable tools have always used it.
constexpr double kHalfLightSpeed = 149.96;
// A cursor distance of zero would divide by zero.
constexpr double kZeroDelta = 0.000001;
constexpr int kRedrawDelayMs = 1000;
// The wanted maximum that puts the impedance axes to their full range.
constexpr double kFullRange = 1000000;

const char *const kNotMeasuring = " M\xc4\x9b\xc5\x99\x65n\xc3\xad vypnuto";
const char *const kMeasuring = " M\xc4\x9b\xc5\x99\x65n\xc3\xad zapnuto";

QString U(const char *Utf8) { return QString::fromUtf8(Utf8); }

void SetFontColour(QWidget *Widget, const QColor &Colour, bool Bold)
{
    QPalette Palette = Widget->palette();
    Palette.setColor(QPalette::WindowText, Colour);
    Palette.setColor(QPalette::ButtonText, Colour);
    Palette.setColor(QPalette::Text, Colour);
    Widget->setPalette(Palette);
    if (Bold) {
        QFont Font = Widget->font();
        Font.setBold(true);
        Widget->setFont(Font);
    }
}

TColor FontColour(const QWidget *Widget)
{
    return FromQColor(Widget->palette().color(QPalette::WindowText));
}

QFrame *MakePanel(QWidget *Parent, const char *Name)
{
    auto *Panel = new QFrame(Parent);
    Panel->setObjectName(QString::fromLatin1(Name));
    return Panel;
}

// A vertical stack filling Panel, with even margins.
QVBoxLayout *MakeStack(QWidget *Panel, int Margin, int Spacing)
{
    auto *Stack = new QVBoxLayout(Panel);
    Stack->setContentsMargins(Margin, Margin, Margin, Margin);
    Stack->setSpacing(Spacing);
    return Stack;
}

template <typename T> T *Named(T *Widget, const char *Name)
{
    Widget->setObjectName(QString::fromLatin1(Name));
    return Widget;
}

// Number in an edit field: empty counts as 0, anything else must be a number.
bool FieldNumber(const QLineEdit *Field, double &Value)
{
    Value = 0.0;
    return Field->text().isEmpty() || TryStrToFloat(StdStr(Field->text()), Value);
}

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
    TestColor = new TfrmTestColor(nullptr);
    qobject_cast<QVBoxLayout *>(pnGraph->layout())->insertWidget(1, Graph, 1);

    Timer2.setInterval(kRedrawDelayMs);
    Timer2.setSingleShot(true);
    QObject::connect(
        &Timer2, &QTimer::timeout, this, [this] { GuardHandler([this] { Timer2Timer(); }); });
    Timer2.start();
    Connect();
}

TfrmMain::~TfrmMain() { FormDestroy(); }

void TfrmMain::BuildLayout()
{
    auto *Central = new QWidget(this);
    auto *Columns = new QHBoxLayout(Central);
    Columns->setContentsMargins(0, 0, 0, 0);
    Columns->setSpacing(0);
    Columns->addWidget(BuildSmithColumn());
    Columns->addWidget(BuildGraphColumn(), 1);
    Columns->addWidget(BuildRightColumn());
    setCentralWidget(Central);

    StatusBar1 = statusBar();
    StatusBar1->setSizeGripEnabled(false);
}

QFrame *TfrmMain::BuildRightColumn()
{
    pnRight = MakePanel(this, "pnRight");
    pnRight->setFixedWidth(100);
    auto *Column = MakeStack(pnRight, 2, 2);

    pnMereniON = MakePanel(pnRight, "pnMereniON");
    pnMereniON->setFixedHeight(71);
    auto *Measure = MakeStack(pnMereniON, 0, 2);
    btnMereni = Named(new TColourButton(QStringLiteral("Mensuration"), pnMereniON), "btnMereni");
    ProgressBar1 = Named(new QProgressBar(pnMereniON), "ProgressBar1");
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(12);
    auto *Zoom = new QHBoxLayout;
    btnZoomS = Named(new QPushButton(QStringLiteral("<<"), pnMereniON), "btnZoomS");
    btnZoomS->setToolTip(U("Zp\xc4\x9bt na p\xc5\xafvodn\xc3\xad rozsah frekvence"));
    btnZoomS->setEnabled(false);
    btnZoomP = Named(new QPushButton(QStringLiteral("<>"), pnMereniON), "btnZoomP");
    btnZoomP->setToolTip(U("Nastavit rozsah frekvence dle os"));
    btnZoomP->setEnabled(false);
    Zoom->addWidget(btnZoomS);
    Zoom->addWidget(btnZoomP);
    Measure->addWidget(btnMereni);
    Measure->addWidget(ProgressBar1);
    Measure->addLayout(Zoom);
    Column->addWidget(pnMereniON);

    pnMerSeting = MakePanel(pnRight, "pnMerSeting");
    auto *Settings = MakeStack(pnMerSeting, 0, 2);

    gbKrivky = Named(new QGroupBox(QStringLiteral("Visible curve"), pnMerSeting), "gbKrivky");
    auto *Curves = new QVBoxLayout(gbKrivky);
    Curves->setContentsMargins(3, 2, 2, 2);
    Curves->setSpacing(0);
    const struct
    {
        QCheckBox **Box;
        const char *Name;
        const char *Caption;
        QColor Colour;
        bool Checked;
    } CurveBoxes[] = {
        { &chkMinPSV, "chkMinPSV", "Min SWR", Qt::red, false },
        { &chkPSV, "chkPSV", "SWR", Qt::red, false },
        { &chkZ, "chkZ", "Z", palette().color(QPalette::WindowText), false },
        { &chkRx, "chkRx", "Rx", QColor(0, 128, 0), true },
        { &chkXx, "chkXx", "Xx", QColor(128, 0, 128), true },
        { &chkPhase, "chkPhase", "Phase", QColor(128, 128, 128), false },
        { &chkRL, "chkRL", "RL", QColor(128, 128, 0), false },
    };
    for (const auto &C : CurveBoxes) {
        *C.Box = Named(new QCheckBox(QString::fromLatin1(C.Caption), gbKrivky), C.Name);
        SetFontColour(*C.Box, C.Colour, true);
        (*C.Box)->setChecked(C.Checked);
        Curves->addWidget(*C.Box);
    }
    Settings->addWidget(gbKrivky);

    gbOsy = Named(new QGroupBox(U("Vodorovn\xc3\xa9 osy"), pnMerSeting), "gbOsy");
    auto *Axes = new QVBoxLayout(gbOsy);
    Axes->setContentsMargins(3, 2, 2, 2);
    const struct
    {
        QRadioButton **Button;
        const char *Name;
        const char *Caption;
    } AxisButtons[]
        = { { &rbR, "rbR", "Z,R,X " }, { &rbPSV, "rbPSV", "PSV" }, { &rbPhase, "rbPhase", "Phase" },
              { &rbRL, "rbRL", "RL(dB)" }, { &rbNone, "rbNone", "Bez os" } };
    for (const auto &A : AxisButtons) {
        *A.Button = Named(new QRadioButton(QString::fromLatin1(A.Caption), gbOsy), A.Name);
        Axes->addWidget(*A.Button);
    }
    rbNone->setChecked(true);
    gbOsy->hide();
    Settings->addWidget(gbOsy);

    gbLenKabelu = BuildCableGroup(pnMerSeting);
    Settings->addWidget(gbLenKabelu);

    gbMerBody = Named(new QGroupBox(QStringLiteral("Property"), pnMerSeting), "gbMerBody");
    gbMerBody->setToolTip(U("M\xc4\x9bn\xc3\xad po\xc4\x8d\x65t m\xc4\x9b\xc5\x99\x65n\xc3\xad v "
                            "ose X (po\xc4\x8d\x65t m\xc4\x9b\xc5\x99\x65n\xc3\xad je odvozen od "
                            "rozm\xc4\x9bru okna).\r\nPokud nen\xc3\xad m\xc4\x9b\xc5\x99\x65n "
                            "ka\xc5\xbe\x64\xc3\xbd bod, p\xc5\x99\x65sko\xc4\x8d\x65n\xc3\xa9 "
                            "body jsou dopo\xc4\x8d\xc3\xadt\xc3\xa1v\xc3\xa1ny a\r\ndoba "
                            "jednoho cyklu m\xc4\x9b\xc5\x99\x65n\xc3\xad se zkracuje.\r\n "));
    auto *Property = new QVBoxLayout(gbMerBody);
    Property->setContentsMargins(3, 2, 2, 2);
    chkVyhlazovat = Named(new QCheckBox(QStringLiteral("Algr.curve"), gbMerBody), "chkVyhlazovat");
    chkVyhlazovat->setChecked(true);
    Property->addWidget(chkVyhlazovat);
    Settings->addWidget(gbMerBody);
    Settings->addStretch(1);
    Column->addWidget(pnMerSeting, 1);

    Panel4 = MakePanel(pnRight, "Panel4");
    auto *Type = new QVBoxLayout(Panel4);
    Type->setContentsMargins(0, 0, 0, 0);
    GroupBox3 = Named(new QGroupBox(QStringLiteral("Type"), Panel4), "GroupBox3");
    auto *Types = new QVBoxLayout(GroupBox3);
    Types->setContentsMargins(3, 2, 2, 2);
    Types->setSpacing(0);
    rbImpedance = Named(new QRadioButton(QStringLiteral("Impedance"), GroupBox3), "rbImpedance");
    rbT = Named(new QRadioButton(QStringLiteral("Cable loss"), GroupBox3), "rbT");
    btnLKab = Named(new QRadioButton(QStringLiteral("Cable length"), GroupBox3), "btnLKab");
    rbImpedance->setChecked(true);
    for (QRadioButton *B : { rbImpedance, rbT, btnLKab })
        Types->addWidget(B);
    CHsMITH = Named(new QCheckBox(QStringLiteral("Smith chart"), Panel4), "CHsMITH");
    CHsMITH->setChecked(true);
    Type->addWidget(GroupBox3);
    Type->addWidget(CHsMITH);
    Column->addWidget(Panel4);
    return pnRight;
}

QGroupBox *TfrmMain::BuildCableGroup(QWidget *Parent)
{
    auto *Group = Named(new QGroupBox(QStringLiteral("Cable"), Parent), "gbLenKabelu");
    auto *Lines = new QVBoxLayout(Group);
    Lines->setContentsMargins(3, 2, 2, 2);
    Lines->setSpacing(1);
    rbDelkaKab = Named(new QRadioButton(QStringLiteral("Length "), Group), "rbDelkaKab");
    rbZkracKab = Named(new QRadioButton(QStringLiteral("Vel. faktor"), Group), "rbZkracKab");
    rbDelkaKab->setChecked(true);
    lbZkacCin = Named(new QLabel(QStringLiteral("Velocity faktor"), Group), "lbZkacCin");
    edZkracKa = Named(new QLineEdit(Group), "edZkracKa");
    lbLenKa = Named(new QLabel(QStringLiteral("Length [m]"), Group), "lbLenKa");
    edLenKa = Named(new QLineEdit(Group), "edLenKa");
    btnDelkaKabelu = Named(new QPushButton(QStringLiteral("Recompute"), Group), "btnDelkaKabelu");
    btnZkrat = Named(new QPushButton(QStringLiteral("Short"), Group), "btnZkrat");
    btnZkrat->setToolTip(U("Zm\xc4\x9b\xc5\x99te zkratovan\xc3\xbd kabel a nastavte zelen\xc3\xbd "
                           "k\xc5\x99\xc3\xad\xc5\xbe na osu Z v bl\xc3\xadzkosti 50 ohm"));
    btnRozp = Named(new QPushButton(QStringLiteral("Free"), Group), "btnRozp");
    btnRozp->setToolTip(
        U("Zm\xc4\x9b\xc5\x99te rozpojen\xc3\xbd kabel a plohu k\xc5\x99\xc3\xad\xc5"
          "\xbe\x65 nem\xc4\x9b\xc5\x88te"));
    btnRozp->setEnabled(false);
    Label1 = Named(new QLabel(QStringLiteral("cable impedance"), Group), "Label1");
    edZKab = Named(new QLineEdit(Group), "edZKab");
    edZKab->setReadOnly(true);
    Label2 = Named(new QLabel(QStringLiteral("ohm"), Group), "Label2");
    for (QWidget *W : std::initializer_list<QWidget *> { rbDelkaKab, rbZkracKab, lbZkacCin,
             edZkracKa, lbLenKa, edLenKa, btnDelkaKabelu, btnZkrat, btnRozp, Label1 })
        Lines->addWidget(W);
    auto *Impedance = new QHBoxLayout;
    Impedance->addWidget(edZKab);
    Impedance->addWidget(Label2);
    Lines->addLayout(Impedance);
    Group->hide();
    return Group;
}

QFrame *TfrmMain::BuildSmithColumn()
{
    pnSmihBase = MakePanel(this, "pnSmihBase");
    pnSmihBase->setFixedWidth(345);
    auto *Column = MakeStack(pnSmihBase, 0, 0);
    pnSmithHeader = MakePanel(pnSmihBase, "pnSmithHeader");
    pnSmithHeader->setFixedHeight(16);
    pnSmihGraph = MakePanel(pnSmihBase, "pnSmihGraph");
    pnSmihGraph->setFixedHeight(428);
    new QVBoxLayout(pnSmihGraph);
    pnSmihGraph->layout()->setContentsMargins(0, 0, 0, 0);
    pnSmihGraph->hide();
    Column->addWidget(pnSmithHeader);
    Column->addWidget(pnSmihGraph);
    Column->addStretch(1);
    return pnSmihBase;
}

QFrame *TfrmMain::BuildGraphColumn()
{
    pnGraph = MakePanel(this, "pnGraph");
    auto *Column = MakeStack(pnGraph, 0, 0);

    pnTop = MakePanel(pnGraph, "pnTop");
    auto *Top = new QVBoxLayout(pnTop);
    Top->setContentsMargins(0, 0, 0, 0);
    pnBand = MakePanel(pnTop, "pnBand");
    pnBand->setFixedHeight(16);
    auto *Bar = new QHBoxLayout(pnBand);
    Bar->setContentsMargins(4, 0, 4, 0);
    BandGroup = new QButtonGroup(this);
    const struct
    {
        QRadioButton **Button;
        const char *Name;
        const char *Caption;
        bool Purple;
    } Bands[] = { { &chkOther, "chkOther", "Max", false }, { &chk160, "chk160", "160", false },
        { &chk80, "chk80", "80", false }, { &chk40, "chk40", "40", false },
        { &chk30, "chk30", "30", true }, { &chk20, "chk20", "20", false },
        { &chk17, "chk17", "17", true }, { &chk15, "chk15", "15", false },
        { &chk12, "chk12", "12", true }, { &chk10, "chk10", "10", false } };
    for (const auto &B : Bands) {
        *B.Button = Named(new QRadioButton(QString::fromLatin1(B.Caption), pnBand), B.Name);
        if (B.Purple)
            SetFontColour(*B.Button, QColor(128, 0, 128), false);
        BandGroup->addButton(*B.Button);
        Bar->addWidget(*B.Button);
    }
    Bar->addStretch(1);
    chkOther->setChecked(true);
    Top->addWidget(pnBand);
    Column->addWidget(pnTop);

    pnBottom = MakePanel(pnGraph, "pnBottom");
    auto *Bottom = MakeStack(pnBottom, 0, 0);
    pnHeader = MakePanel(pnBottom, "pnHeader");
    pnHeader->setFixedHeight(16);
    const struct
    {
        QLabel **Label;
        const char *Name;
        const char *Caption;
    } Header[] = { { &lbFrekvence, "lbFrekvence", "Frekvence [Mhz]" }, { &lbPSV, "lbPSV", "PSV" },
        { &lbRL, "lbRL", "RL [dB]" }, { &lbPhase, "lbPhase", "F\xc3\xa1ze [stup]" },
        { &lbXx, "lbXx", "Xx [ohm]" }, { &lbRx, "lbRx", "Rx [ohm]" }, { &lbC, "lbC", "XC [pF]" },
        { &lbAny, "lbAny", "\xc5\xa0.p\xc3\xa1sma [MHz]/ Q" }, { &lbH, "lbH", "XL {uH}" },
        { &lbZ, "lbZ", "Z [ohm]" } };
    for (const auto &H : Header) {
        *H.Label = Named(new QLabel(U(H.Caption), pnHeader), H.Name);
        (*H.Label)->adjustSize();
    }
    pnData = MakePanel(pnBottom, "pnData");
    // The rows are wider than the graph column of the default window; they are clipped at
    // its right edge rather than widening the window past its size.
    pnData->setMinimumWidth(1);
    new QVBoxLayout(pnData);
    pnData->layout()->setContentsMargins(0, 0, 0, 0);
    pnData->layout()->setSpacing(0);
    Bottom->addWidget(pnHeader);
    Bottom->addWidget(pnData);
    Column->addWidget(pnBottom);
    return pnGraph;
}

void TfrmMain::BuildMenu()
{
    QMenuBar *MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Funkce1 = MainMenu1->addMenu(QStringLiteral("Function"));
    MenLoad = Funkce1->addAction(QStringLiteral("Open"));
    MenSave = Funkce1->addAction(QStringLiteral("Save"));
    mnSaveToZPlots = Funkce1->addAction(QStringLiteral("Save as ZPlots (CSV)"));
    mnSaveS11 = Funkce1->addAction(QStringLiteral("Save as S11"));
    N1 = Funkce1->addSeparator();
    Skrtosy2 = Funkce1->addAction(QStringLiteral("Hyde axis"));
    Konfigurace1 = MainMenu1->addAction(QStringLiteral("Configuration"));
    Konec1 = MainMenu1->addMenu(QStringLiteral("Exit"));
    Konec2 = Konec1->addAction(QStringLiteral("Exit"));
    Oprogramu1 = Konec1->addAction(QStringLiteral("About KIVRA"));
}

void TfrmMain::Connect()
{
    // Every handler runs inside the guard: no error crosses the event loop.
    const auto On = [this](QAbstractButton *Button, void (TfrmMain::*Handler)()) {
        QObject::connect(Button, &QAbstractButton::clicked, this,
            [this, Handler] { GuardHandler([this, Handler] { (this->*Handler)(); }); });
    };
    const auto OnMenu = [this](QAction *Action, void (TfrmMain::*Handler)()) {
        QObject::connect(Action, &QAction::triggered, this,
            [this, Handler] { GuardHandler([this, Handler] { (this->*Handler)(); }); });
    };
    On(btnMereni, &TfrmMain::btnMereniClick);
    On(btnZoomP, &TfrmMain::btnZoomPClick);
    On(btnZoomS, &TfrmMain::btnZoomSClick);
    for (QCheckBox *Curve : { chkPSV, chkZ, chkRx, chkXx, chkPhase, chkRL })
        QObject::connect(Curve, &QAbstractButton::clicked, this,
            [this] { GuardHandler([this] { ApplyCurveVisibility(true); }); });
    On(chkMinPSV, &TfrmMain::LayoutReadout);
    for (QRadioButton *Axis : { rbR, rbPSV, rbPhase, rbRL, rbNone })
        QObject::connect(Axis, &QAbstractButton::clicked, this,
            [this] { GuardHandler([this] { ApplyAxisChoice(true); }); });
    for (QRadioButton *Band : BandButtons())
        On(Band, &TfrmMain::SelectBand);
    On(rbImpedance, &TfrmMain::rbImpedanceClick);
    On(rbT, &TfrmMain::rbTClick);
    On(btnLKab, &TfrmMain::btnLKabClick);
    On(CHsMITH, &TfrmMain::CHsMITHClick);
    On(chkVyhlazovat, &TfrmMain::chkVyhlazovatClick);
    On(btnDelkaKabelu, &TfrmMain::btnDelkaKabeluClick);
    On(btnZkrat, &TfrmMain::btnZkratClick);
    On(btnRozp, &TfrmMain::btnRozpClick);
    On(rbDelkaKab, &TfrmMain::rbDelkaKabClick);
    On(rbZkracKab, &TfrmMain::rbZkracKabClick);
    OnMenu(Skrtosy2, &TfrmMain::Skrtosy2Click);
    OnMenu(Konfigurace1, &TfrmMain::Konfigurace1Click);
    OnMenu(Konec2, &TfrmMain::Konec2Click);
    OnMenu(MenLoad, &TfrmMain::MenLoadClick);
    OnMenu(MenSave, &TfrmMain::MenSaveClick);
    OnMenu(mnSaveS11, &TfrmMain::mnSaveS11Click);
    OnMenu(mnSaveToZPlots, &TfrmMain::mnSaveToZPlotsClick);
    OnMenu(Oprogramu1, &TfrmMain::Oprogramu1Click);
}

std::array<QRadioButton *, 10> TfrmMain::BandButtons() const
{
    return { chk160, chk80, chk40, chk30, chk20, chk17, chk15, chk12, chk10, chkOther };
}

TAnGraph &TfrmMain::Model() const { return Graph->Graph(); }

TMereni &TfrmMain::Mereni() const { return *Model().Mereni; }

void TfrmMain::Redraw()
{
    Model().ClearLayers();
    Graph->DrawGraph();
    Model().Present(false);
}

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
    Step([this] { SetFrequencyRange(0, 0); });
    Step([this] {
        Model().ResizeLayers();
        Graph->DrawGraph();
        Model().Present(false);
    });
    Step([this] { UpdateReadoutHeader(); });
    Cfg->OnChange = [this] { ApplyGraphColour(); };
    OnCursorMoved = [this](int) { UpdateZoomButton(); };
    Step([this] {
        chkMinPSV->setChecked(true);
        LayoutReadout();
        chkMinPSV->setChecked(false);
        LayoutReadout();
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
    Step([this] { Smith->InitChart(); });
    Mereni().SmithFrame = Smith;
    Model().Cursor1->SmithFrame = Smith;
    pnSmihGraph->show();
    // The layouts settle what the start-up changed (the readout area's height, the Smith
    // panel), and each resize of the graph frame clears its layers: the first picture is
    // drawn after the last of them, not a second later by the redraw timer.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    Step([this] { Model().Refresh(); });
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
    SmoothCurves = chkVyhlazovat->isChecked();
    StatusBar1->showMessage(U(IsMeasuring() ? kMeasuring : kNotMeasuring));
    TestColor->setParent(nullptr);
    UpdateMeasureButton();
    TMereni &M = Mereni();
    M.ProgressBar = ProgressBar1;
    M.OnStart = [this] { SweepStarted(); };
    M.OnEnd = [this] { SweepStopped(); };
    FPortFailed = false;
    // A sweep brings the bar back to the configured band. That band's range is applied here,
    // before the sweep command is made from the range: applied after it, the lines of the
    // band picked on the bar would be drawn and read out against the configured band's axis.
    SelectConfiguredBand();
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
        StatusBar1->showMessage(QStringLiteral("Port %1 (%2) could not be opened")
                                    .arg(QStr(Name), QStr(ResolveSerialDevice(Name))));
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
    // The configured band was applied before the command went out; the bar only hides.
    pnBand->setVisible(!IsMeasuring());
}

void TfrmMain::SweepStopped()
{
    UpdateMeasureButton();
    // The watchdog tells the end before the received lines become the last sweep.
    TMereni &M = Mereni();
    const int Received = static_cast<int>(M.CurrentLines().size());
    // A complete sweep leaves the text of its start; an early end says how far it came.
    if (!FPortFailed && M.ExpectedLines > 0 && Received < M.ExpectedLines)
        StatusBar1->showMessage(
            QStringLiteral("Sweep ended after %1 of %2 points").arg(Received).arg(M.ExpectedLines));
    UpdateBandButtons();
}

void TfrmMain::UpdateMeasureButton()
{
    const bool Measuring = IsMeasuring();
    btnMereni->SetTextColour(Measuring ? QColor(255, 0, 0) : QColor(0, 0, 0));
    btnMereni->setEnabled(!Measuring);
}

bool TfrmMain::SetFrequencyRange(double Start, double Stop)
{
    bool Result = true;
    if (Start == 0 || Stop == 0) {
        if (!TryStrToFloat(StdStr(Cfg->edFROD->text()), Start)
            || !TryStrToFloat(StdStr(Cfg->edFRDO->text()), Stop)) {
            ShowErrorBox(U("Chyba v nastaven\xc3\xa9 frekvenci!\n\rV konfiguraci jsou ulo\xc5\xbe"
                           "eny neplatn\xc3\xad \xc4\x8d\xc3\xadseln\xc3\xa9 hodnoty.\n\rNyn\xc3"
                           "\xad budou nastaveny default frekvence"));
            Result = false;
            Start = 1.0;
            Stop = 50.0;
        }
    }
    if (Start >= Stop) {
        ShowErrorBox(U("Chyba v konfiguraci v nastaven\xc3\xa9 frekvenci!\n\rFrekvence OD mus"
                       "\xc3\xad b\xc3\xbdt men\xc5\xa1\xc3\xad ne\xc5\xbe frekvence DO."));
        return false;
    }
    Model().OsaX->SetMaxValue(Stop);
    Model().OsaX->SetMinValue(Start);
    // Drawn once, from cleared layers: drawing twice over the old picture would leave the
    // old grid under the new one and xor the cursors away.
    Redraw();
    return Result;
}

void TfrmMain::ShowErrorBox(const QString &Text, const QString &Caption)
{
    Dialogs().ShowErrorBox(StdStr(Text), StdStr(Caption));
}

void TfrmMain::ApplyCurveColours()
{
    TAnGraph &G = Model();
    G.OsaFRQ->Line.Color = clSilver;
    G.OsaX->Line.Color = clSilver;
    G.OsaY->Line.Color = clSilver;
    G.OsaX->Line.Width = 2;
    G.OsaY->Line.Width = G.OsaX->Line.Width;
    const struct
    {
        TDraw *Axis;
        const QCheckBox *Box;
    } Curves[] = { { G.OsaRL.get(), chkRL }, { G.OsaT.get(), chkRL },
        { G.OsaPhase.get(), chkPhase }, { G.OsaPSV.get(), chkPSV }, { G.OsaZ.get(), chkZ },
        { G.OsaR.get(), chkRx }, { G.OsaXX.get(), chkXx } };
    for (const auto &C : Curves) {
        const TColor Colour = FontColour(C.Box);
        C.Axis->GridLine.Color = Colour;
        C.Axis->Text.Color = Colour;
        C.Axis->Line.Color = Colour;
        C.Axis->Line.Width = 2;
    }
    const struct
    {
        QLabel *Label;
        const QCheckBox *Box;
    } Labels[] = { { lbPhase, chkPhase }, { lbPSV, chkPSV }, { lbZ, chkZ }, { lbRL, chkRL },
        { lbRx, chkRx }, { lbXx, chkXx } };
    for (const auto &L : Labels)
        SetFontColour(L.Label, ToQColor(FontColour(L.Box)), false);
    const struct
    {
        QLabel *Label;
        QColor Back;
        QColor Text;
    } Legend[]
        = { { TestColor->lbU1, Qt::blue, Qt::white }, { TestColor->lbU2, Qt::black, Qt::white },
              { TestColor->lbU3, Qt::red, Qt::white }, { TestColor->lbU1v, Qt::cyan, Qt::black },
              { TestColor->lbU2v, QColor(128, 128, 128), Qt::white },
              { TestColor->lbU3v, Qt::magenta, Qt::white } };
    for (const auto &L : Legend) {
        QPalette P = L.Label->palette();
        P.setColor(QPalette::Window, L.Back);
        P.setColor(QPalette::WindowText, L.Text);
        L.Label->setPalette(P);
    }
}

void TfrmMain::ApplyGraphColour()
{
    Model().SetBackColor(Cfg->pnColor->Color());
    if (Smith != nullptr)
        Smith->SetBackColor(Model().GraphBackColor);
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
        Redraw();
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
    if (IsMeasuring())
        return false;
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
        M.ProgressBar = nullptr;
        Graph->Graph().Cursor1->OnDifference = nullptr;
        Graph->Graph().Cursor1->SmithFrame = nullptr;
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

// ---- Display selection ----

void TfrmMain::ApplyCurveVisibility(bool Redraw)
{
    TAnGraph &G = Model();
    G.OsaRL->Visible = chkRL->isChecked();
    G.OsaPhase->Visible = chkPhase->isChecked();
    G.OsaPSV->Visible = chkPSV->isChecked();
    G.OsaZ->Visible = chkZ->isChecked();
    G.OsaR->Visible = chkRx->isChecked();
    G.OsaXX->Visible = chkXx->isChecked();
    G.CursorMin->Visible = chkMinPSV->isChecked();
    G.OsaZ->ShowScale = chkZ->isChecked() || chkRx->isChecked();
    if (Redraw)
        G.Refresh();
}

void TfrmMain::ApplyAxisChoice(bool Redraw)
{
    TAnGraph &G = Model();
    G.OsaPhase->Grid = rbPhase->isChecked();
    G.OsaRL->Grid = rbRL->isChecked();
    G.OsaPSV->Grid = rbPSV->isChecked();
    G.OsaZ->Grid = rbR->isChecked();
    if (Redraw)
        G.Refresh();
}

bool TfrmMain::IsMinSwrShown() const { return chkMinPSV->isChecked(); }

void TfrmMain::LayoutReadout()
{
    pnBottom->show();
    TfraData *const Row1 = Rows[1];
    TfraData *const Row2 = Rows[2];
    TfraData *const RowMin = Rows[0];
    auto *Stack = static_cast<QVBoxLayout *>(pnData->layout());
    Stack->addWidget(Row1);
    Stack->addWidget(Row2);
    const struct
    {
        QLabel *Label;
        const QWidget *Field;
    } Columns[]
        = { { lbFrekvence, Row2->edFrekvence }, { lbPSV, Row2->edPSV }, { lbPhase, Row2->edPhase },
              { lbZ, Row2->edZ }, { lbRL, Row2->edRL }, { lbRx, Row2->edRx }, { lbXx, Row2->edXx },
              { lbC, Row2->edKapacita }, { lbH, Row2->edIIndukcnost }, { lbAny, Row2->edAny } };
    for (const auto &C : Columns)
        C.Label->move(TfraData::FieldLeft(C.Field), C.Label->y());
    int RowCount = 2;
    if (chkMinPSV->isChecked()) {
        Row2->SetRowVisible(false);
        Row1->SetRowVisible(false);
        Stack->addWidget(RowMin);
        RowMin->SetRowVisible(true);
        Row1->SetRowVisible(true);
        Row2->SetRowVisible(true);
        RowCount = 3;
    } else {
        // Kept in the area, hidden: a row without a parent would be a window of its own.
        Stack->removeWidget(RowMin);
        RowMin->SetRowVisible(false);
    }
    pnBottom->setFixedHeight(RowCount * Row1->height() + pnHeader->height() + 1);
    Model().Refresh();
}

void TfrmMain::SelectBand()
{
    int Index = 9;
    const auto Buttons = BandButtons();
    for (int I = 0; I < static_cast<int>(Buttons.size()); ++I) {
        if (Buttons[I]->isChecked()) {
            Index = I;
            break;
        }
    }
    QString Lower;
    QString Upper;
    ReadBandLimitsByIndex(Index, Lower, Upper);
    GuardSilently([&] {
        const double Start = StrToFloat(StdStr(Lower));
        const double Stop = StrToFloat(StdStr(Upper));
        SetFrequencyRange(Start, Stop);
        Mereni().ClearLines();
        if (Smith != nullptr)
            Smith->ClearChart();
        Redraw();
    });
}

void TfrmMain::SelectBandButton(QRadioButton *Button, bool Selected)
{
    if (Button->isChecked() == Selected)
        return;
    if (!Selected) {
        // The group lets no button go by itself; deselecting runs nothing.
        BandGroup->setExclusive(false);
        Button->setChecked(false);
        BandGroup->setExclusive(true);
        return;
    }
    Button->setChecked(true);
    SelectBand();
}

void TfrmMain::UpdateBandButtons()
{
    pnBand->setVisible(!IsMeasuring());
    SelectConfiguredBand();
}

void TfrmMain::SelectConfiguredBand()
{
    const TConfigItem Flags[] = { ciBand160, ciBand80, ciBand40, ciBand30, ciBand20, ciBand17,
        ciBand15, ciBand12, ciBand10 };
    const auto Buttons = BandButtons();
    for (int I = 0; I < 9; ++I)
        SelectBandButton(Buttons[I], ReadConfigValue(Flags[I]) == QStringLiteral("A"));
}

void TfrmMain::UpdateZoomButton() { btnZoomP->setEnabled(Model().CursorsPlaced()); }

void TfrmMain::btnZoomPClick()
{
    if (IsMeasuring())
        return;
    TAnGraph &G = Model();
    double Lo = G.Cursor1->Frequency;
    double Hi = G.Cursor2->Frequency;
    if (Lo > Hi)
        std::swap(Lo, Hi);
    if (Lo == Hi)
        return;
    if (!ZoomSaved) {
        ZoomMin = G.OsaX->MinValue;
        ZoomMax = G.OsaX->MaxValue;
        ZoomCursor1 = Lo;
        ZoomCursor2 = Hi;
        ZoomSaved = true;
        btnZoomS->setEnabled(true);
    }
    const double Margin = (Hi - Lo) / 20;
    G.OsaX->SetMaxValue(Hi + Margin);
    G.OsaX->SetMinValue(Lo - Margin);
    G.Refresh();
}

void TfrmMain::btnZoomSClick()
{
    if (!ZoomSaved || IsMeasuring())
        return;
    TAnGraph &G = Model();
    G.Cursor1->Frequency = ZoomCursor1;
    G.Cursor2->Frequency = ZoomCursor2;
    ZoomSaved = false;
    btnZoomS->setEnabled(false);
    if (ZoomMin == ZoomMax)
        return;
    G.OsaX->SetMaxValue(std::max(ZoomMin, ZoomMax));
    G.OsaX->SetMinValue(std::min(ZoomMin, ZoomMax));
    G.Refresh();
}

void TfrmMain::rbImpedanceClick()
{
    pnSmihBase->setVisible(CHsMITH->isChecked());
    for (QWidget *W : std::initializer_list<QWidget *> { gbMerBody, pnMereniON, Graph, pnHeader })
        W->show();
    gbKrivky->setVisible(rbImpedance->isChecked());
    gbLenKabelu->hide();
    MeasureMode = mmImpedance;
    UpdateReadoutHeader();
    Redraw();
}

void TfrmMain::rbTClick()
{
    pnSmihBase->hide();
    for (QWidget *W : std::initializer_list<QWidget *> { gbMerBody, pnMereniON, Graph, pnHeader })
        W->show();
    gbKrivky->setVisible(!rbT->isChecked());
    gbLenKabelu->hide();
    MeasureMode = mmCableLoss;
    UpdateReadoutHeader();
    QCoreApplication::processEvents();
    Redraw();
}

void TfrmMain::btnLKabClick()
{
    pnSmihBase->hide();
    SelectBandButton(chkOther, true);
    SelectBand();
    for (QWidget *W : std::initializer_list<QWidget *> { gbMerBody, pnMereniON, Graph, pnHeader })
        W->show();
    gbKrivky->hide();
    gbLenKabelu->show();
    MeasureMode = mmCableLength;
    UpdateCableGroup();
    UpdateReadoutHeader();
    Redraw();
}

void TfrmMain::UpdateReadoutHeader()
{
    pnData->show();
    for (TfraData *Row : { Rows[1], Rows[2], Rows[0] })
        Row->ResetLayout();
    lbPSV->setText(QStringLiteral("PSV"));
    lbZ->setText(QStringLiteral("Z [ohm]"));
    SetFontColour(lbPSV, Qt::red, false);
    const bool Impedance = MeasureMode == mmImpedance;
    lbFrekvence->show();
    lbPSV->setVisible(Impedance);
    lbPhase->setVisible(MeasureMode != mmCableLoss);
    lbZ->show();
    if (MeasureMode == mmCableLoss)
        lbZ->setText(QStringLiteral("Attenuation[dB]"));
    for (QLabel *L : { lbRL, lbRx, lbXx, lbC, lbH, lbAny })
        L->setVisible(Impedance);
    lbZ->adjustSize();
}

void TfrmMain::CHsMITHClick()
{
    if (!rbImpedance->isChecked())
        return;
    pnSmihBase->setVisible(!pnSmihBase->isVisible());
    Timer2.start();
}

void TfrmMain::chkVyhlazovatClick()
{
    SmoothCurves = chkVyhlazovat->isChecked();
    Redraw();
}

void TfrmMain::Skrtosy2Click()
{
    TCursors &C = *Model().Cursors;
    C.SetShowCursors(!C.GetShowCursors());
}

// ---- Cable tools ----

void TfrmMain::UpdateCableGroup()
{
    gbLenKabelu->setVisible(MeasureMode == mmCableLength);
    edLenKa->setReadOnly(!rbZkracKab->isChecked());
    edZkracKa->setReadOnly(!rbDelkaKab->isChecked());
    const QColor Face = QApplication::palette().color(QPalette::Button);
    const QColor Input = QApplication::palette().color(QPalette::Base);
    for (QLineEdit *Field : { edLenKa, edZkracKa, edZKab }) {
        QPalette P = Field->palette();
        P.setColor(QPalette::Base, Field != edZKab && !Field->isReadOnly() ? Input : Face);
        Field->setPalette(P);
    }
}

void TfrmMain::CableCursorMoved(double Delta)
{
    if (MeasureMode != mmCableLength)
        return;
    const bool LengthFromFactor = rbDelkaKab->isChecked();
    QLineEdit *Input = LengthFromFactor ? edZkracKa : edLenKa;
    double Value = 0.0;
    if (!FieldNumber(Input, Value)) {
        if (!CableErrorShown) {
            // The cursor calls this while it draws; the box waits until the drawing is done,
            // so its event loop never runs in the middle of a picture.
            QTimer::singleShot(0, this, [this] {
                ShowErrorBox(U("Byla zadan\xc3\xa1 neplatn\xc3\xa1 \xc4\x8d\xc3\xadseln\xc3\xa1 "
                               "hodnota!"));
            });
        }
        CableErrorShown = true;
        return;
    }
    if (LengthFromFactor) {
        if (Delta == 0)
            Delta = kZeroDelta;
        edLenKa->setText(QStr(FormatFloat("#0.00", Value * kHalfLightSpeed / Delta)));
    } else {
        edZkracKa->setText(QStr(FormatFloat("#0.000", Delta * Value / kHalfLightSpeed)));
    }
    CableErrorShown = false;
}

void TfrmMain::btnDelkaKabeluClick()
{
    TAnGraph &G = Model();
    if (G.Cursor1->IsPlaced() && G.Cursor2->IsPlaced()) {
        // Cursor 1 drawn again over itself would xor itself away: the picture is redrawn
        // whole, which places cursor 1 at its frequency and reports the distance.
        G.Refresh();
        return;
    }
    ShowErrorBox(U("Oba kurzory (lev\xc3\xbdm tla\xc4\x8d\xc3\xadtkem my\xc5\xa1i) nastavte tak,"
                   "\n\raby ukazovaly na maximum nebo minimum impedance!"));
}

void TfrmMain::btnZkratClick()
{
    TFrekvence &Cursor1 = *Model().Cursor1;
    if (!Cursor1.IsPlaced()) {
        ShowErrorBox(U("Zelen\xc3\xbd k\xc5\x99\xc3\xad\xc5\xbe nen\xc3\xad nastaven!"),
            QStringLiteral("Impedance kabelu"));
        return;
    }
    if (Cursor1.Readout == nullptr || !Cursor1.Readout->GetZ(ShortZ)) {
        ShowErrorBox(
            QStringLiteral("Impedance Z is not valid!"), QStringLiteral("Cable impedance"));
        return;
    }
    btnRozp->setEnabled(true);
    btnZkrat->setEnabled(false);
}

void TfrmMain::btnRozpClick()
{
    const TFrekvence &Cursor1 = *Model().Cursor1;
    double OpenZ = 0.0;
    if (Cursor1.Readout == nullptr || !Cursor1.Readout->GetZ(OpenZ)) {
        ShowErrorBox(
            QStringLiteral("Impedance Z is not valid!"), QStringLiteral("Cable impedance"));
        return;
    }
    edZKab->setText(QStr(FormatFloat("#0.0", std::sqrt(ShortZ * OpenZ))));
    btnRozp->setEnabled(false);
    btnZkrat->setEnabled(true);
}

void TfrmMain::rbDelkaKabClick() { UpdateCableGroup(); }

void TfrmMain::rbZkracKabClick() { UpdateCableGroup(); }

void TfrmMain::MenLoadClick() { LoadMeasurement(Model(), IsMeasuring()); }

void TfrmMain::MenSaveClick() { SaveMeasurement(Mereni(), IsMeasuring(), TSaveFormat::Txt); }

void TfrmMain::mnSaveS11Click() { SaveMeasurement(Mereni(), IsMeasuring(), TSaveFormat::S11); }

void TfrmMain::mnSaveToZPlotsClick()
{
    SaveMeasurement(Mereni(), IsMeasuring(), TSaveFormat::ZPlots);
}

void TfrmMain::Oprogramu1Click() { ShowAbout(); }
