#pragma once

#include "platform/Color.h"
#include "platform/SerialAdapters.h"

#include <QFrame>

#include <array>
#include <functional>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;
class TComm;

// The lowered panel that shows the graph background colour; it keeps the stored number as
// it is, so saving writes back what was loaded.
class TColorPanel : public QFrame
{
public:
    explicit TColorPanel(QWidget *Parent = nullptr);
    TColor Color() const { return FColor; }
    void SetColor(TColor Color);

private:
    TColor FColor = clBlack;
};

// The settings the user edits: port choice, band with its limits, graph background colour.
// The main window keeps one of these hidden for the whole run as the program's copy of the
// configuration and lends it to the configuration dialog.
class TfrmCfg : public QFrame
{
public:
    // The band buttons in band-index order (160 m first, maximum range last).
    static constexpr int BandCount = 10;

    // Starts hidden, also inside a window that is shown.
    explicit TfrmCfg(QWidget *Parent = nullptr);
    ~TfrmCfg() override;

    // Fills every control from KIVRA.INI.
    void LoadSettings();
    // The stored limits of the selected band into edFROD and edFRDO; both empty with no
    // band selected.
    void ShowBandLimits();
    // SELCOM with the port of the chosen option; nothing with no option chosen.
    void SaveComPort();
    // Stores port choice, band flags, colour and the selected band's limits, then calls
    // OnChange. Raises the store's EKivraError when a write fails.
    void btnSaveCfgClick();
    // LoadSettings, then the band page in front.
    void Prepare();
    // Runs the configuration dialog over this frame; true when it closed with OK. The frame
    // comes back to its parent, hidden, before the dialog goes.
    bool ShowConfigDialog(TComm *Comm);
    void btnBarvaPozadiClick();

    // Lists the adapters present beside both port fields, each option showing the adapter
    // its ports/COM<n> already leads to. Runs when the "Base" page is shown and on "Refresh".
    void RefreshAdapters();
    // Forgets the adapters chosen, so a cancelled dialog leaves nothing for the next one.
    void ClearAdapterChoices();
    // For each option with an adapter chosen, makes ports/COM<n> (n from its port field) a
    // link to the adapter's stable path. A link elsewhere is replaced only when the user
    // agrees, the simulated analyzer's link and anything that is not a link never.
    void ApplyAdapterChoices();

    void rb160Click() { ShowBandLimits(); }
    void rb80Click() { ShowBandLimits(); }
    void rb40Click() { ShowBandLimits(); }
    void rb30Click() { ShowBandLimits(); }
    void rb20Click() { ShowBandLimits(); }
    void rb17Click() { ShowBandLimits(); }
    void rb15Click() { ShowBandLimits(); }
    void rb12Click() { ShowBandLimits(); }
    void rb10Click() { ShowBandLimits(); }
    void rbOtherClick() { ShowBandLimits(); }

    // Index 0..9 of the selected band button, -1 when none is selected.
    int SelectedBand() const;
    // Selects band Index (none for -1) without running ShowBandLimits.
    void CheckBandButton(int Index);

    TComm *Comm() const { return FComm; }
    void SetComm(TComm *Comm) { FComm = Comm; }

    // Called after every successful save.
    std::function<void()> OnChange;
    // Where the adapter lists come from; the system's serial adapters unless replaced.
    std::function<std::vector<TSerialAdapter>()> AdapterSource = ListSerialAdapters;

    QTabWidget *PageControl1;
    QWidget *tsFrekvence;
    QWidget *TabSheet2;
    QWidget *TabSheet4;

    QGroupBox *RadioGroup1;
    QRadioButton *rb160;
    QRadioButton *rb80;
    QRadioButton *rb40;
    QRadioButton *rb30;
    QRadioButton *rb20;
    QRadioButton *rb17;
    QRadioButton *rb15;
    QRadioButton *rb12;
    QRadioButton *rb10;
    QRadioButton *rbOther;
    QLineEdit *edFROD;
    QLineEdit *edFRDO;

    QGroupBox *GroupBox1;
    QRadioButton *chkUsbCom;
    QLineEdit *edUsbCom;
    QRadioButton *lbCom3;
    QLineEdit *edCom3;
    QComboBox *cbUsbComAdapter;
    QComboBox *cbCom3Adapter;
    QPushButton *btnRefreshAdapters;
    QLabel *lbAdapters;
    QGroupBox *GroupBox2;
    QLineEdit *edChImp;

    QPushButton *btnBarvaPozadi;
    TColorPanel *pnColor;

    QFrame *pnBottom;
    QPushButton *btnSaveCfg;

    // rb160 … rbOther.
    std::array<QRadioButton *, BandCount> BandButtons() const;

private:
    void ApplyAdapterChoice(QComboBox *Adapter, QLineEdit *PortField);

    QButtonGroup *FBandGroup;
    // The adapters the lists show, in list order after the "No change" entry.
    std::vector<TSerialAdapter> FAdapters;
    TComm *FComm = nullptr;
    // Where the colour dialog starts: the colour last confirmed in it.
    TColor FColorDialogColor = clBlack;
};
