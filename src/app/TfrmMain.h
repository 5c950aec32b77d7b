#pragma once

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QVBoxLayout;
class TAnGraph;
class TColourButton;
class TfraData;
class TfrmCfg;
class TfrmTestColor;
class TMereni;
class TResonancePanel;
class TvGraph;
class TvSmithChart;

// The program's main window: it owns the graph frame, the hidden configuration frame, the
// bridge voltage legend and the Smith chart frame, brings the display up from KIVRA.INI when
// first shown, starts sweeps, keeps the measure button and the band bar in step with the
// sweep controller, and holds the display controls and the cable tools.
//
// One class in several sources: TfrmMainForm.cpp builds the widget tree, TfrmMain.cpp the
// window's life and the sweeps, TfrmMainDisplay.cpp what the graph shows and the bands,
// TfrmMainCable.cpp the cable tools, TfrmMainKeys.cpp the cursors from the keyboard,
// TfrmMainTuning.cpp repeated sweeps and the resonance table, and TfrmMainFiles.cpp the
// file commands' hand-off.
class TfrmMain : public QMainWindow
{
public:
    // FormCreate: the frames are created; nothing is wired or read before the first show.
    TfrmMain();
    ~TfrmMain() override;

    // ---- Part of the window the other commands use ----
    bool IsMeasuring() const;
    bool SetFrequencyRange(double Start, double Stop);
    void UpdateMeasureButton();
    void SweepStarted();
    void SweepStopped();
    void ApplyGraphColour();
    void SmithChanged();
    void ApplyCurveColours();
    void ShutdownDevice();
    void ShowErrorBox(const QString &Text, const QString &Caption = QString());
    // Whether sweeps follow one another: from the first start with "Repeat" on until the
    // repetition stops.
    bool IsRepeating() const { return FRepeating; }

    // ---- Window events ----
    void FormShow();
    void btnMereniClick();
    void Konfigurace1Click();
    void FormResize();
    void Timer2Timer();
    // False when the window refuses to close.
    bool FormClose();
    void FormDestroy();
    void Konec2Click();
    // "Repeat" turned on or off; off lets the running sweep finish and stops there.
    void chkRepeatClick();

    // ---- File commands and the about window ----
    void MenLoadClick();
    // Opens a measurement or Touchstone file as "Open" does, without the dialog (the
    // command line's FILE).
    void OpenFile(const QString &FileName);
    void MenSaveClick();
    void mnSaveS11Click();
    void mnSaveToZPlotsClick();
    void Oprogramu1Click();

    // ---- Reference traces ----
    // "Keep as reference": the sweep shown (or the file opened) becomes a reference.
    void KeepReferenceClick();
    // "Open as reference…": a measurement file read as a reference, the live sweep untouched.
    void OpenReferenceClick();
    // "Clear reference": every reference is dropped.
    void ClearReferenceClick();
    // The references' rows at cursor 1's frequency, or "E" with cursor 1 unplaced.
    void UpdateReferenceRows();

    // ---- Display selection ----
    void ApplyCurveVisibility(bool Redraw);
    void ApplyAxisChoice(bool Redraw);
    bool IsMinSwrShown() const;
    void LayoutReadout();
    void SelectBand();
    void UpdateBandButtons();
    void UpdateZoomButton();
    void btnZoomPClick();
    void btnZoomSClick();
    void rbImpedanceClick();
    void rbTClick();
    void btnLKabClick();
    void UpdateReadoutHeader();
    void CHsMITHClick();
    void chkVyhlazovatClick();
    void Skrtosy2Click();

    // ---- Keyboard ----
    // "Go to frequency…": cursor 1 on the measured point nearest a typed frequency.
    void GoToFrequencyClick();
    void GoToFrequency(int CursorIndex);
    // Left/Right, PageUp/PageDown, Home/End in the graph (with Shift for cursor 2); false
    // for any other key, or when there is no point to step to.
    bool StepCursor(int Key, Qt::KeyboardModifiers Modifiers);

    // ---- Cable tools ----
    void UpdateCableGroup();
    void CableCursorMoved(double Delta);
    void btnDelkaKabeluClick();
    void btnZkratClick();
    void btnRozpClick();
    void rbDelkaKabClick();
    void rbZkracKabClick();

    // ---- What the window holds, read-only ----
    // The graph model of the graph frame.
    TAnGraph &Model() const;
    TMereni &Mereni() const;
    TvGraph *GraphFrame() const { return Graph; }
    TfrmCfg *ConfigFrame() const { return Cfg; }
    TfrmTestColor *VoltagePanel() const { return TestColor; }
    // Null until the window is first shown.
    TvSmithChart *SmithFrame() const { return Smith; }
    // Null until "Resonances" is first opened.
    TResonancePanel *ResonancePanel() const { return Resonances; }
    // The readout rows of CursorMin (0), Cursor1 (1) and Cursor2 (2).
    TfraData *ReadoutRow(int Index) const { return Rows.at(static_cast<std::size_t>(Index)); }
    bool IsZoomSaved() const { return ZoomSaved; }
    // The rows of the references, oldest first.
    const std::vector<TfraData *> &ReferenceRows() const { return FReferenceRows; }
    // The band buttons in band-index order (160 m first, "Max" last).
    std::array<QRadioButton *, 10> BandButtons() const;
    // Whether the start-up sequence has run.
    bool Started() const { return FStarted; }
    // How often the graph has been redrawn by the resize timer.
    int ResizeRedraws() const { return FResizeRedraws; }

protected:
    bool event(QEvent *Event) override;
    void showEvent(QShowEvent *Event) override;
    void closeEvent(QCloseEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    // The graph's cursor keys and the rows' double-clicks.
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    // ---- The widget tree (TfrmMainForm.cpp) ----
    void BuildLayout();
    void BuildMenu();
    QFrame *BuildRightColumn();
    QFrame *BuildSmithColumn();
    QFrame *BuildGraphColumn();
    QGroupBox *BuildCableGroup(QWidget *Parent);
    void BuildShortcuts();
    // Once the Smith chart frame exists.
    void BuildTabOrder();
    void Connect();

    // A band button selected by program, running its click when it was not selected.
    void SelectBandButton(QRadioButton *Button, bool Selected);
    // The band bar shows the band whose range is the graph's, or none; nothing is applied.
    void ShowBandOfRange();
    // The zoom memory ("<<") is dropped with the range it was taken from.
    void ForgetZoom();
    // What a newly opened file shows besides its sweep: empty rows, its band, no zoom.
    void ShowOpenedFile();
    // The frequencies of the measured points, as the cursors' rows read them.
    std::vector<double> MeasuredFrequencies() const;
    static int NearestPoint(const std::vector<double> &Points, double MHz);
    // The cursor on measured point Point, redrawn as after a drag.
    void PutCursorOnPoint(int CursorIndex, int Point);
    // The graph's and the Smith chart's text for a screen reader.
    void DescribeGraph();
    void ReportPortProblem();
    // After the end of a sweep, once its lines are drawn: the resonance table, and in a
    // repetition the cursors put back and the next sweep started.
    void SweepDrawn();
    void StopRepeat(const QString &Reason);
    // The resonance table from the evaluated sweep, when it has changed.
    void UpdateResonances();
    void ShowResonances(bool On);
    // What every measurement type shows: property group, measure button, graph, header.
    void ShowMeasuringControls();
    // |Z| of cursor 1's row, or the box that says it has none.
    bool CursorOneZ(double &Z);
    // Keeps Lines as the reference Name, or says why not.
    void AddReference(const QString &Name, const QStringList &Lines);
    // Rows, Smith chart points, commands and curves after the references changed.
    void ShowReferences();
    // The reference rows under the cursor rows, after the cursor rows have been laid out.
    void StackReferenceRows();

    // ---- Owned objects ----
    TvGraph *Graph = nullptr;
    TfrmCfg *Cfg = nullptr;
    TfrmTestColor *TestColor = nullptr;
    TvSmithChart *Smith = nullptr;
    TResonancePanel *Resonances = nullptr;
    std::array<TfraData *, 3> Rows {};
    std::vector<TfraData *> FReferenceRows;

    // ---- Regions ----
    QFrame *pnRight = nullptr;
    QFrame *pnMereniON = nullptr;
    TColourButton *btnMereni = nullptr;
    QCheckBox *chkRepeat = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *btnZoomS = nullptr;
    QPushButton *btnZoomP = nullptr;
    QFrame *pnMerSeting = nullptr;
    QFrame *Panel4 = nullptr;
    QFrame *pnSmihBase = nullptr;
    QFrame *pnSmithHeader = nullptr;
    QFrame *pnSmihGraph = nullptr;
    QFrame *pnGraph = nullptr;
    QFrame *pnTop = nullptr;
    QFrame *pnBand = nullptr;
    QFrame *pnBottom = nullptr;
    QFrame *pnHeader = nullptr;
    QFrame *pnData = nullptr;
    QStatusBar *StatusBar1 = nullptr;

    // ---- Main menu ----
    QMenu *Funkce1 = nullptr;
    QAction *MenLoad = nullptr;
    QAction *MenSave = nullptr;
    QAction *mnSaveToZPlots = nullptr;
    QAction *mnSaveS11 = nullptr;
    QAction *N1 = nullptr;
    QAction *Skrtosy2 = nullptr;
    QAction *mnGoTo = nullptr;
    QAction *mnRepeat = nullptr;
    QAction *mnResonances = nullptr;
    QAction *mnKeepReference = nullptr;
    QAction *mnOpenReference = nullptr;
    QAction *mnClearReference = nullptr;
    QAction *Konfigurace1 = nullptr;
    QMenu *Konec1 = nullptr;
    QAction *Konec2 = nullptr;
    QAction *Oprogramu1 = nullptr;

    // ---- Curves, axes, bands, type ----
    QGroupBox *gbKrivky = nullptr;
    QCheckBox *chkMinPSV = nullptr;
    QCheckBox *chkPSV = nullptr;
    QCheckBox *chkZ = nullptr;
    QCheckBox *chkRx = nullptr;
    QCheckBox *chkXx = nullptr;
    QCheckBox *chkPhase = nullptr;
    QCheckBox *chkRL = nullptr;
    QGroupBox *gbOsy = nullptr;
    QRadioButton *rbR = nullptr;
    QRadioButton *rbPSV = nullptr;
    QRadioButton *rbPhase = nullptr;
    QRadioButton *rbRL = nullptr;
    QRadioButton *rbNone = nullptr;
    QRadioButton *chkOther = nullptr;
    QRadioButton *chk160 = nullptr;
    QRadioButton *chk80 = nullptr;
    QRadioButton *chk40 = nullptr;
    QRadioButton *chk30 = nullptr;
    QRadioButton *chk20 = nullptr;
    QRadioButton *chk17 = nullptr;
    QRadioButton *chk15 = nullptr;
    QRadioButton *chk12 = nullptr;
    QRadioButton *chk10 = nullptr;
    QButtonGroup *BandGroup = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QRadioButton *rbImpedance = nullptr;
    QRadioButton *rbT = nullptr;
    QRadioButton *btnLKab = nullptr;
    QCheckBox *CHsMITH = nullptr;
    QGroupBox *gbMerBody = nullptr;
    QCheckBox *chkVyhlazovat = nullptr;

    // ---- Readout header ----
    QLabel *lbFrekvence = nullptr;
    QLabel *lbPSV = nullptr;
    QLabel *lbRL = nullptr;
    QLabel *lbPhase = nullptr;
    QLabel *lbXx = nullptr;
    QLabel *lbRx = nullptr;
    QLabel *lbC = nullptr;
    QLabel *lbAny = nullptr;
    QLabel *lbH = nullptr;
    QLabel *lbZ = nullptr;

    // ---- Cable group ----
    QGroupBox *gbLenKabelu = nullptr;
    QRadioButton *rbDelkaKab = nullptr;
    QRadioButton *rbZkracKab = nullptr;
    QLabel *lbZkacCin = nullptr;
    QLineEdit *edZkracKa = nullptr;
    QLabel *lbLenKa = nullptr;
    QLineEdit *edLenKa = nullptr;
    QPushButton *btnDelkaKabelu = nullptr;
    QPushButton *btnZkrat = nullptr;
    QPushButton *btnRozp = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *edZKab = nullptr;
    QLabel *Label2 = nullptr;

    // The redraw timer after resizing.
    QTimer Timer2;

    // ---- Zoom memory ----
    bool ZoomSaved = false;
    double ZoomMin = 0.0;
    double ZoomMax = 0.0;
    double ZoomCursor1 = 0.0;
    double ZoomCursor2 = 0.0;

    // ---- Cable tool state ----
    double ShortZ = 0.0;
    bool CableErrorShown = false;

    bool FStarted = false;
    bool FDestroying = false;
    bool FPortFailed = false;
    // Close was asked for during a sweep.
    bool FCloseAfterSweep = false;
    bool FRepeating = false;
    // A sweep of the repetition has ended and the next is about to start.
    bool FRepeatPending = false;
    // The frequencies of cursors 1 and 2 when the last repeated sweep ended; 0 = not placed.
    std::array<double, 2> FRepeatCursors {};
    // What the resonance table was last filled from.
    std::array<double, 4> FResonancesFrom { -1.0, -1.0, -1.0, -1.0 };
    int FResizeRedraws = 0;
};
