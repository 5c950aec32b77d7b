#pragma once

#include "app/ColourButton.h"

#include <QMainWindow>
#include <QTimer>

#include <array>

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
class TAnGraph;
class TfraData;
class TfrmCfg;
class TfrmTestColor;
class TMereni;
class TvGraph;
class TvSmithChart;

// The program's main window: it owns the graph frame, the hidden configuration frame, the
// bridge voltage legend and the Smith chart frame, brings the display up from KIVRA.INI when
// first shown, starts sweeps, keeps the measure button and the band bar in step with the
// sweep controller, and holds the display controls and the cable tools.
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

    // ---- File commands and the about window ----
    void MenLoadClick();
    void MenSaveClick();
    void mnSaveS11Click();
    void mnSaveToZPlotsClick();
    void Oprogramu1Click();

    // ---- Display selection ----
    void ApplyCurveVisibility(bool Redraw);
    void ApplyAxisChoice(bool Redraw);
    bool IsMinSwrShown() const;
    void LayoutReadout();
    void SelectBand();
    void UpdateBandButtons();
    // The band bar selects the band flagged in KIVRA.INI, applying its range when it changes.
    void SelectConfiguredBand();
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

    // ---- Cable tools ----
    void UpdateCableGroup();
    void CableCursorMoved(double Delta);
    void btnDelkaKabeluClick();
    void btnZkratClick();
    void btnRozpClick();
    void rbDelkaKabClick();
    void rbZkracKabClick();

    // The graph model of the graph frame.
    TAnGraph &Model() const;
    TMereni &Mereni() const;

    // ---- Owned objects ----
    TvGraph *Graph = nullptr;
    TfrmCfg *Cfg = nullptr;
    TfrmTestColor *TestColor = nullptr;
    TvSmithChart *Smith = nullptr;
    // The readout rows of CursorMin, Cursor1 and Cursor2.
    std::array<TfraData *, 3> Rows {};

    // ---- Regions ----
    QFrame *pnRight;
    QFrame *pnMereniON;
    TColourButton *btnMereni;
    QProgressBar *ProgressBar1;
    QPushButton *btnZoomS;
    QPushButton *btnZoomP;
    QFrame *pnMerSeting;
    QFrame *Panel4;
    QFrame *pnSmihBase;
    QFrame *pnSmithHeader;
    QFrame *pnSmihGraph;
    QFrame *pnGraph;
    QFrame *pnTop;
    QFrame *pnBand;
    QFrame *pnBottom;
    QFrame *pnHeader;
    QFrame *pnData;
    QStatusBar *StatusBar1;

    // ---- Main menu ----
    QMenu *Funkce1;
    QAction *MenLoad;
    QAction *MenSave;
    QAction *mnSaveToZPlots;
    QAction *mnSaveS11;
    QAction *N1;
    QAction *Skrtosy2;
    QAction *Konfigurace1;
    QMenu *Konec1;
    QAction *Konec2;
    QAction *Oprogramu1;

    // ---- Curves, axes, bands, type ----
    QGroupBox *gbKrivky;
    QCheckBox *chkMinPSV;
    QCheckBox *chkPSV;
    QCheckBox *chkZ;
    QCheckBox *chkRx;
    QCheckBox *chkXx;
    QCheckBox *chkPhase;
    QCheckBox *chkRL;
    QGroupBox *gbOsy;
    QRadioButton *rbR;
    QRadioButton *rbPSV;
    QRadioButton *rbPhase;
    QRadioButton *rbRL;
    QRadioButton *rbNone;
    QRadioButton *chkOther;
    QRadioButton *chk160;
    QRadioButton *chk80;
    QRadioButton *chk40;
    QRadioButton *chk30;
    QRadioButton *chk20;
    QRadioButton *chk17;
    QRadioButton *chk15;
    QRadioButton *chk12;
    QRadioButton *chk10;
    QGroupBox *GroupBox3;
    QRadioButton *rbImpedance;
    QRadioButton *rbT;
    QRadioButton *btnLKab;
    QCheckBox *CHsMITH;
    QGroupBox *gbMerBody;
    QCheckBox *chkVyhlazovat;

    // ---- Readout header ----
    QLabel *lbFrekvence;
    QLabel *lbPSV;
    QLabel *lbRL;
    QLabel *lbPhase;
    QLabel *lbXx;
    QLabel *lbRx;
    QLabel *lbC;
    QLabel *lbAny;
    QLabel *lbH;
    QLabel *lbZ;

    // ---- Cable group ----
    QGroupBox *gbLenKabelu;
    QRadioButton *rbDelkaKab;
    QRadioButton *rbZkracKab;
    QLabel *lbZkacCin;
    QLineEdit *edZkracKa;
    QLabel *lbLenKa;
    QLineEdit *edLenKa;
    QPushButton *btnDelkaKabelu;
    QPushButton *btnZkrat;
    QPushButton *btnRozp;
    QLabel *Label1;
    QLineEdit *edZKab;
    QLabel *Label2;

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

private:
    void BuildLayout();
    void BuildMenu();
    QFrame *BuildRightColumn();
    QFrame *BuildSmithColumn();
    QFrame *BuildGraphColumn();
    QGroupBox *BuildCableGroup(QWidget *Parent);
    void Connect();
    // The picture drawn anew from cleared layers: one grid, each placed cursor once.
    void Redraw();
    // A band button selected by program, running its click when it was not selected.
    void SelectBandButton(QRadioButton *Button, bool Selected);
    void ReportPortProblem();

    QButtonGroup *BandGroup = nullptr;
    bool FStarted = false;
    bool FDestroying = false;
    bool FPortFailed = false;
    int FResizeRedraws = 0;
};
