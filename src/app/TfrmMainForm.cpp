// The main window's widget tree: regions, groups, controls, captions, hints and the menu,
// built once when the window is created, and the wiring of each control to its handler.
#include "app/ColourButton.h"
#include "app/FileCommands.h"
#include "app/TfrmMain.h"
#include "app/WidgetHelpers.h"
#include "graph/TvGraph.h"
#include "platform/Guard.h"
#include "smith/TvSmithChart.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

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
    pnMereniON->setFixedHeight(87);
    auto *Measure = MakeStack(pnMereniON, 0, 2);
    btnMereni = Named(new TColourButton(QStringLiteral("Mensuration"), pnMereniON), "btnMereni");
    chkRepeat = Named(new QCheckBox(QStringLiteral("Repeat"), pnMereniON), "chkRepeat");
    chkRepeat->setToolTip(QStringLiteral("Start the next sweep as soon as one has ended"));
    ProgressBar1 = Named(new QProgressBar(pnMereniON), "ProgressBar1");
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(12);
    auto *Zoom = new QHBoxLayout;
    btnZoomS = Named(new QPushButton(QStringLiteral("<<"), pnMereniON), "btnZoomS");
    btnZoomS->setToolTip(QStringLiteral("Zpět na původní rozsah frekvence"));
    btnZoomS->setEnabled(false);
    btnZoomP = Named(new QPushButton(QStringLiteral("<>"), pnMereniON), "btnZoomP");
    btnZoomP->setToolTip(QStringLiteral("Nastavit rozsah frekvence dle os"));
    btnZoomP->setEnabled(false);
    Zoom->addWidget(btnZoomS);
    Zoom->addWidget(btnZoomP);
    Measure->addWidget(btnMereni);
    Measure->addWidget(chkRepeat);
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

    gbOsy = Named(new QGroupBox(QStringLiteral("Vodorovné osy"), pnMerSeting), "gbOsy");
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
    gbMerBody->setToolTip(
        QStringLiteral("Mění počet měření v ose X (počet měření je odvozen od rozměru "
                       "okna).\r\nPokud není měřen každý bod, přeskočené body jsou dopočítávány "
                       "a\r\ndoba jednoho cyklu měření se zkracuje.\r\n "));
    auto *Property = new QVBoxLayout(gbMerBody);
    Property->setContentsMargins(3, 2, 2, 2);
    chkVyhlazovat = Named(new QCheckBox(QStringLiteral("Algr.curve"), gbMerBody), "chkVyhlazovat");
    chkVyhlazovat->setChecked(true);
    chkVyhlazovat->setToolTip(QStringLiteral("Matematicky vyhlazovat křivky"));
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
    btnZkrat->setToolTip(QStringLiteral(
        "Změřte zkratovaný kabel a nastavte zelený kříž na osu Z v blízkosti 50 ohm"));
    btnRozp = Named(new QPushButton(QStringLiteral("Free"), Group), "btnRozp");
    btnRozp->setToolTip(QStringLiteral("Změřte rozpojený kabel a plohu kříže neměňte"));
    btnRozp->setEnabled(false);
    Group->setToolTip(QStringLiteral("The cursors snap to the nearest maximum or minimum of |Z|; "
                                     "hold Shift while dragging to place them freely."));
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
        { &lbRL, "lbRL", "RL [dB]" }, { &lbPhase, "lbPhase", "Fáze [stup]" },
        { &lbXx, "lbXx", "Xx [ohm]" }, { &lbRx, "lbRx", "Rx [ohm]" }, { &lbC, "lbC", "XC [pF]" },
        { &lbAny, "lbAny", "Š.pásma [MHz]/ Q" }, { &lbH, "lbH", "XL {uH}" },
        { &lbZ, "lbZ", "Z [ohm]" } };
    for (const auto &H : Header) {
        *H.Label = Named(new QLabel(QString::fromUtf8(H.Caption), pnHeader), H.Name);
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
    // The ampersands give each title and item its Alt key; the captions read as before.
    QMenuBar *MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Funkce1 = Named(MainMenu1->addMenu(QStringLiteral("&Function")), "Funkce1");
    MenLoad = Named(Funkce1->addAction(QStringLiteral("&Open")), "MenLoad");
    MenLoad->setShortcut(QKeySequence::Open);
    MenSave = Named(Funkce1->addAction(QStringLiteral("&Save")), "MenSave");
    MenSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnSaveToZPlots
        = Named(Funkce1->addAction(QStringLiteral("Save as &ZPlots (CSV)")), "mnSaveToZPlots");
    mnSaveS11 = Named(Funkce1->addAction(QStringLiteral("Save as S&11")), "mnSaveS11");
    mnSaveS11->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    N1 = Named(Funkce1->addSeparator(), "N1");
    Skrtosy2 = Named(Funkce1->addAction(QStringLiteral("&Hyde axis")), "Skrtosy2");
    mnGoTo = Named(Funkce1->addAction(QStringLiteral("&Go to frequency…")), "mnGoTo");
    mnGoTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    mnRepeat = Named(Funkce1->addAction(QStringLiteral("&Repeat sweeps")), "mnRepeat");
    mnRepeat->setCheckable(true);
    mnRepeat->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F5));
    mnResonances = Named(Funkce1->addAction(QStringLiteral("Reso&nances")), "mnResonances");
    mnResonances->setCheckable(true);
    mnResonances->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    Named(Funkce1->addSeparator(), "N2");
    mnKeepReference
        = Named(Funkce1->addAction(QStringLiteral("&Keep as reference")), "mnKeepReference");
    mnKeepReference->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    mnOpenReference
        = Named(Funkce1->addAction(QStringLiteral("Open as re&ference…")), "mnOpenReference");
    mnClearReference
        = Named(Funkce1->addAction(QStringLiteral("C&lear reference")), "mnClearReference");
    mnClearReference->setEnabled(false);
    Konfigurace1 = Named(MainMenu1->addAction(QStringLiteral("&Configuration")), "Konfigurace1");
    Konfigurace1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    Konec1 = Named(MainMenu1->addMenu(QStringLiteral("&Exit")), "Konec1");
    Konec2 = Named(Konec1->addAction(QStringLiteral("E&xit")), "Konec2");
    Konec2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Oprogramu1 = Named(Konec1->addAction(QStringLiteral("&About KIVRA")), "Oprogramu1");
}

void TfrmMain::BuildShortcuts()
{
    // Keys for the buttons and boxes beside the menu: each does what a click does, and
    // nothing where a click does nothing (a disabled button during a sweep).
    const struct
    {
        QAbstractButton *Target;
        QList<QKeySequence> Keys;
        const char *Name;
    } Keys[] = {
        { btnMereni, { QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_R) }, "acMereni" },
        { btnZoomP, { QKeySequence(Qt::Key_Plus) }, "acZoomP" },
        { btnZoomS, { QKeySequence(Qt::Key_Minus) }, "acZoomS" },
        { chkMinPSV, { QKeySequence(Qt::Key_M) }, "acMinPSV" },
    };
    for (const auto &K : Keys) {
        auto *Action = Named(new QAction(this), K.Name);
        Action->setShortcuts(K.Keys);
        Action->setShortcutContext(Qt::WindowShortcut);
        QAbstractButton *Target = K.Target;
        QObject::connect(Action, &QAction::triggered, Target, [Target] {
            if (Target->isEnabled() && Target->isVisible())
                Target->click();
        });
        addAction(Action);
        const QString Hint = Target->toolTip();
        const QString Shown = K.Keys.front().toString(QKeySequence::NativeText);
        Target->setToolTip(Hint.isEmpty() ? Shown : Hint + QStringLiteral(" (") + Shown + u')');
    }
}

void TfrmMain::BuildTabOrder()
{
    // Column by column, top to bottom: the right column, the Smith chart's field and button,
    // then the band bar and the graph. Hidden controls are passed over by Tab.
    QList<QWidget *> Order { btnMereni, chkRepeat, btnZoomS, btnZoomP, chkMinPSV, chkPSV, chkZ,
        chkRx, chkXx, chkPhase, chkRL, rbDelkaKab, rbZkracKab, edZkracKa, edLenKa, btnDelkaKabelu,
        btnZkrat, btnRozp, edZKab, chkVyhlazovat, rbImpedance, rbT, btnLKab, CHsMITH };
    if (Smith != nullptr)
        Order << Smith->edImp << Smith->btnAply;
    for (QRadioButton *Band : BandButtons())
        Order << Band;
    Order << Graph;
    for (int I = 1; I < Order.size(); ++I)
        QWidget::setTabOrder(Order[I - 1], Order[I]);
}

void TfrmMain::Connect()
{
    // Every handler runs inside the guard: no error crosses the event loop.
    const auto Bind = [this](auto *Sender, auto Signal, std::function<void()> Handler) {
        QObject::connect(Sender, Signal, this, [Handler] { GuardHandler(Handler); });
    };
    const auto Run
        = [this](void (TfrmMain::*Handler)()) { return [this, Handler] { (this->*Handler)(); }; };
    // A check box acts on every change of its state, a radio button when it becomes
    // selected, however the change was made: a click, a key, a screen reader or the program.
    const auto OnChange = [&](std::initializer_list<QAbstractButton *> Buttons,
                              std::function<void()> Handler) {
        for (QAbstractButton *Button : Buttons) {
            const bool Radio = qobject_cast<QRadioButton *>(Button) != nullptr;
            QObject::connect(Button, &QAbstractButton::toggled, this, [Radio, Handler](bool On) {
                if (On || !Radio)
                    GuardHandler(Handler);
            });
        }
    };
    Bind(btnMereni, &QAbstractButton::clicked, Run(&TfrmMain::btnMereniClick));
    Bind(btnZoomP, &QAbstractButton::clicked, Run(&TfrmMain::btnZoomPClick));
    OnChange({ chkRepeat }, Run(&TfrmMain::chkRepeatClick));
    QObject::connect(mnRepeat, &QAction::toggled, chkRepeat, &QCheckBox::setChecked);
    // Esc ends a repetition as unchecking "Repeat" does; without one it does nothing.
    auto *StopRepeat = Named(new QAction(this), "acStopRepeat");
    StopRepeat->setShortcut(QKeySequence(Qt::Key_Escape));
    StopRepeat->setShortcutContext(Qt::WindowShortcut);
    addAction(StopRepeat);
    // Enabled only while "Repeat" is on, so that Esc is left to the rest of the window.
    StopRepeat->setEnabled(false);
    QObject::connect(chkRepeat, &QCheckBox::toggled, StopRepeat, &QAction::setEnabled);
    QObject::connect(
        StopRepeat, &QAction::triggered, chkRepeat, [this] { chkRepeat->setChecked(false); });
    Bind(btnZoomS, &QAbstractButton::clicked, Run(&TfrmMain::btnZoomSClick));
    OnChange(
        { chkPSV, chkZ, chkRx, chkXx, chkPhase, chkRL }, [this] { ApplyCurveVisibility(true); });
    OnChange({ chkMinPSV }, Run(&TfrmMain::LayoutReadout));
    OnChange({ rbR, rbPSV, rbPhase, rbRL, rbNone }, [this] { ApplyAxisChoice(true); });
    for (QRadioButton *Band : BandButtons())
        OnChange({ Band }, Run(&TfrmMain::SelectBand));
    OnChange({ rbImpedance }, Run(&TfrmMain::rbImpedanceClick));
    OnChange({ rbT }, Run(&TfrmMain::rbTClick));
    OnChange({ btnLKab }, Run(&TfrmMain::btnLKabClick));
    OnChange({ CHsMITH }, Run(&TfrmMain::CHsMITHClick));
    OnChange({ chkVyhlazovat }, Run(&TfrmMain::chkVyhlazovatClick));
    OnChange({ rbDelkaKab }, Run(&TfrmMain::rbDelkaKabClick));
    OnChange({ rbZkracKab }, Run(&TfrmMain::rbZkracKabClick));
    Bind(btnDelkaKabelu, &QAbstractButton::clicked, Run(&TfrmMain::btnDelkaKabeluClick));
    Bind(btnZkrat, &QAbstractButton::clicked, Run(&TfrmMain::btnZkratClick));
    Bind(btnRozp, &QAbstractButton::clicked, Run(&TfrmMain::btnRozpClick));
    const struct
    {
        QAction *Action;
        void (TfrmMain::*Handler)();
    } Menu[]
        = { { Skrtosy2, &TfrmMain::Skrtosy2Click }, { Konfigurace1, &TfrmMain::Konfigurace1Click },
              { Konec2, &TfrmMain::Konec2Click }, { MenLoad, &TfrmMain::MenLoadClick },
              { MenSave, &TfrmMain::MenSaveClick }, { mnSaveS11, &TfrmMain::mnSaveS11Click },
              { mnSaveToZPlots, &TfrmMain::mnSaveToZPlotsClick },
              { Oprogramu1, &TfrmMain::Oprogramu1Click }, { mnGoTo, &TfrmMain::GoToFrequencyClick },
              { mnKeepReference, &TfrmMain::KeepReferenceClick },
              { mnOpenReference, &TfrmMain::OpenReferenceClick },
              { mnClearReference, &TfrmMain::ClearReferenceClick } };
    for (const auto &M : Menu)
        Bind(M.Action, &QAction::triggered, Run(M.Handler));
    AddFileCommands(Funkce1, *this);
    // A screen reader hears the status bar's account of each sweep as it changes.
    QObject::connect(StatusBar1, &QStatusBar::messageChanged, StatusBar1,
        [this](const QString &Text) { StatusBar1->setAccessibleName(Text); });
}

std::array<QRadioButton *, 10> TfrmMain::BandButtons() const
{
    return { chk160, chk80, chk40, chk30, chk20, chk17, chk15, chk12, chk10, chkOther };
}
