#include "config/TfrmCfg.h"

#include "config/ConfigStore.h"
#include "config/TDlgConfig.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/QtColor.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The band item of each band button, in band-index order.
constexpr TConfigItem BandItems[TfrmCfg::BandCount] = { ciBand160, ciBand80, ciBand40, ciBand30,
    ciBand20, ciBand17, ciBand15, ciBand12, ciBand10, ciBandOther };

// Every flag a save clears, in the order they are written.
constexpr TConfigItem AllBandFlags[] = { ciBand160, ciBand80, ciBand40, ciBand30, ciBand20,
    ciBand17, ciBand15, ciBand12, ciBand10, ciBand6, ciBand2, ciBand70, ciBandOther };

QLineEdit *NewEdit(const QString &Text, QWidget *Parent)
{
    auto *Edit = new QLineEdit(Text, Parent);
    Edit->setFixedWidth(81);
    return Edit;
}

// Inside a dialog a push button would otherwise take plain Enter for a click.
QPushButton *NewButton(const QString &Caption, QWidget *Parent)
{
    auto *Button = new QPushButton(Caption, Parent);
    Button->setAutoDefault(false);
    return Button;
}

QComboBox *NewAdapterList(const QString &Name, QWidget *Parent)
{
    auto *List = new QComboBox(Parent);
    List->setObjectName(Name);
    // Adapter names are long: the list takes the width it is given, not its longest name.
    List->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    List->setMinimumContentsLength(20);
    return List;
}

} // namespace

TColorPanel::TColorPanel(QWidget *Parent)
    : QFrame(Parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    SetColor(clBlack);
}

void TColorPanel::SetColor(TColor Color)
{
    FColor = Color;
    QPalette Palette = palette();
    Palette.setColor(QPalette::Window, ToQColor(Color));
    setPalette(Palette);
}

TfrmCfg::TfrmCfg(QWidget *Parent)
    : QFrame(Parent)
{
    resize(443, 270);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    PageControl1 = new QTabWidget(this);
    Layout->addWidget(PageControl1, 1);

    // Band setings
    tsFrekvence = new QWidget;
    PageControl1->addTab(tsFrekvence, QStringLiteral("Band setings"));
    auto *BandPage = new QHBoxLayout(tsFrekvence);
    RadioGroup1 = new QGroupBox(QStringLiteral("Band (m)"), tsFrekvence);
    BandPage->addWidget(RadioGroup1);
    auto *BandGrid = new QGridLayout(RadioGroup1);
    FBandGroup = new QButtonGroup(this);
    const QString Captions[BandCount]
        = { QStringLiteral("160"), QStringLiteral("80"), QStringLiteral("40"), QStringLiteral("30"),
              QStringLiteral("20"), QStringLiteral("17"), QStringLiteral("15"),
              QStringLiteral("12"), QStringLiteral("10"), QStringLiteral("Max range") };
    QRadioButton **const Buttons[BandCount]
        = { &rb160, &rb80, &rb40, &rb30, &rb20, &rb17, &rb15, &rb12, &rb10, &rbOther };
    void (TfrmCfg::*const Handlers[BandCount])() = { &TfrmCfg::rb160Click, &TfrmCfg::rb80Click,
        &TfrmCfg::rb40Click, &TfrmCfg::rb30Click, &TfrmCfg::rb20Click, &TfrmCfg::rb17Click,
        &TfrmCfg::rb15Click, &TfrmCfg::rb12Click, &TfrmCfg::rb10Click, &TfrmCfg::rbOtherClick };
    for (int Index = 0; Index < BandCount; ++Index) {
        auto *Button = new QRadioButton(Captions[Index], RadioGroup1);
        *Buttons[Index] = Button;
        FBandGroup->addButton(Button, Index);
        BandGrid->addWidget(Button, Index % 5, Index / 5);
        const auto Handler = Handlers[Index];
        connect(Button, &QRadioButton::clicked, this,
            [this, Handler] { GuardHandler([this, Handler] { (this->*Handler)(); }); });
    }
    rb160->setChecked(true);
    auto *Limits = new QVBoxLayout;
    BandPage->addLayout(Limits);
    Limits->addWidget(new QLabel(QStringLiteral("Band start (MHz)"), tsFrekvence));
    edFROD = NewEdit(QStringLiteral("1.000"), tsFrekvence);
    Limits->addWidget(edFROD);
    Limits->addWidget(new QLabel(QStringLiteral("Band end (MHz)"), tsFrekvence));
    edFRDO = NewEdit(QStringLiteral("30.000"), tsFrekvence);
    Limits->addWidget(edFRDO);
    Limits->addStretch(1);

    // Base
    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, QStringLiteral("Base"));
    auto *BasePage = new QVBoxLayout(TabSheet2);
    GroupBox1 = new QGroupBox(QStringLiteral("COM ports"), TabSheet2);
    BasePage->addWidget(GroupBox1);
    auto *Ports = new QGridLayout(GroupBox1);
    chkUsbCom = new QRadioButton(QStringLiteral("COM or virtual USB COM port (A)"), GroupBox1);
    edUsbCom = NewEdit(QStringLiteral("8"), GroupBox1);
    lbCom3 = new QRadioButton(QStringLiteral("COM or virtual USB COM port (B)"), GroupBox1);
    edCom3 = NewEdit(QStringLiteral("10"), GroupBox1);
    cbUsbComAdapter = NewAdapterList(QStringLiteral("cbUsbComAdapter"), GroupBox1);
    cbCom3Adapter = NewAdapterList(QStringLiteral("cbCom3Adapter"), GroupBox1);
    btnRefreshAdapters = NewButton(QStringLiteral("Refresh"), GroupBox1);
    btnRefreshAdapters->setObjectName(QStringLiteral("btnRefreshAdapters"));
    lbAdapters = new QLabel(GroupBox1);
    lbAdapters->setObjectName(QStringLiteral("lbAdapters"));
    lbAdapters->setWordWrap(true);
    // Each option's adapter list sits under its port field, as wide as the group: adapter
    // names are long and the dialog has no room beside the fields.
    Ports->addWidget(chkUsbCom, 0, 0);
    Ports->addWidget(edUsbCom, 0, 1);
    Ports->addWidget(cbUsbComAdapter, 1, 0, 1, 2);
    Ports->addWidget(lbCom3, 2, 0);
    Ports->addWidget(edCom3, 2, 1);
    Ports->addWidget(cbCom3Adapter, 3, 0, 1, 2);
    Ports->addWidget(lbAdapters, 4, 0);
    Ports->addWidget(btnRefreshAdapters, 4, 1, Qt::AlignRight | Qt::AlignTop);
    Ports->setColumnStretch(0, 1);
    connect(btnRefreshAdapters, &QPushButton::clicked, this,
        [this] { GuardHandler([this] { RefreshAdapters(); }); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int) {
        if (PageControl1->currentWidget() == TabSheet2)
            GuardHandler([this] { RefreshAdapters(); });
    });
    GroupBox2 = new QGroupBox(QStringLiteral("Impedance"), TabSheet2);
    BasePage->addWidget(GroupBox2);
    auto *Impedance = new QHBoxLayout(GroupBox2);
    Impedance->addWidget(
        new QLabel(QStringLiteral("Characteristic impedance (50 - 600 ohm)"), GroupBox2));
    edChImp = NewEdit(QStringLiteral("50"), GroupBox2);
    Impedance->addWidget(edChImp);
    GroupBox2->hide();
    BasePage->addStretch(1);

    // Graph color
    TabSheet4 = new QWidget;
    PageControl1->addTab(TabSheet4, QStringLiteral("Graph color"));
    auto *ColorPage = new QHBoxLayout(TabSheet4);
    btnBarvaPozadi = NewButton(QStringLiteral("Background color"), TabSheet4);
    pnColor = new TColorPanel(TabSheet4);
    pnColor->setFixedSize(121, 41);
    ColorPage->addWidget(btnBarvaPozadi, 0, Qt::AlignTop);
    ColorPage->addWidget(pnColor, 0, Qt::AlignTop);
    ColorPage->addStretch(1);
    connect(btnBarvaPozadi, &QPushButton::clicked, this,
        [this] { GuardHandler([this] { btnBarvaPozadiClick(); }); });

    pnBottom = new QFrame(this);
    pnBottom->setFixedHeight(41);
    Layout->addWidget(pnBottom);
    auto *Bar = new QHBoxLayout(pnBottom);
    btnSaveCfg = NewButton(QStringLiteral("Save"), pnBottom);
    Bar->addStretch(1);
    Bar->addWidget(btnSaveCfg);
    connect(btnSaveCfg, &QPushButton::clicked, this,
        [this] { GuardHandler([this] { btnSaveCfgClick(); }); });
    // Hidden until shown on purpose, so that the main window can keep it as its copy of the
    // settings without it ever appearing there.
    hide();
}

TfrmCfg::~TfrmCfg() = default;

std::array<QRadioButton *, TfrmCfg::BandCount> TfrmCfg::BandButtons() const
{
    return { rb160, rb80, rb40, rb30, rb20, rb17, rb15, rb12, rb10, rbOther };
}

int TfrmCfg::SelectedBand() const { return FBandGroup->checkedId(); }

void TfrmCfg::CheckBandButton(int Index)
{
    if (Index >= 0 && Index < BandCount) {
        FBandGroup->button(Index)->setChecked(true);
        return;
    }
    // An exclusive group refuses to uncheck its last button.
    FBandGroup->setExclusive(false);
    for (QAbstractButton *Button : FBandGroup->buttons())
        Button->setChecked(false);
    FBandGroup->setExclusive(true);
}

void TfrmCfg::LoadSettings()
{
    const int SelCom = ReadConfigInt(ciSelCom);
    if (SelCom == 2)
        chkUsbCom->setChecked(true);
    else if (SelCom == 3)
        lbCom3->setChecked(true);
    edUsbCom->setText(ReadConfigValue(ciPort2));
    edCom3->setText(ReadConfigValue(ciPort3));

    // Each "A" selects its button and deselects the earlier ones, so the last one wins.
    int Selected = -1;
    for (int Index = 0; Index < BandCount; ++Index)
        if (ReadConfigValue(BandItems[Index]) == QStringLiteral("A"))
            Selected = Index;
    CheckBandButton(Selected);

    pnColor->SetColor(static_cast<TColor>(ReadConfigInt(ciGraphColor)));
    edChImp->setText(ReadConfigValue(ciChImp));
    ShowBandLimits();
}

void TfrmCfg::ShowBandLimits()
{
    const int Selected = SelectedBand();
    if (Selected < 0) {
        edFROD->clear();
        edFRDO->clear();
        return;
    }
    QString Lower, Upper;
    ReadBandLimitsByIndex(Selected, Lower, Upper);
    edFROD->setText(Lower);
    edFRDO->setText(Upper);
}

void TfrmCfg::SaveComPort()
{
    if (chkUsbCom->isChecked()) {
        WriteConfigValue(ciSelCom, QStringLiteral("2"));
        WriteConfigValue(ciPort2, edUsbCom->text());
    } else if (lbCom3->isChecked()) {
        WriteConfigValue(ciSelCom, QStringLiteral("3"));
        WriteConfigValue(ciPort3, edCom3->text());
    }
}

void TfrmCfg::btnSaveCfgClick()
{
    SaveComPort();
    // Not checked here: the main window reports unusable limits when it applies them.
    const QString Lower = edFROD->text();
    const QString Upper = edFRDO->text();
    for (TConfigItem Flag : AllBandFlags)
        WriteConfigValue(Flag, QStringLiteral("N"));
    WriteConfigValue(ciGraphColor, QString::number(pnColor->Color()));
    const int Selected = SelectedBand();
    if (Selected >= 0)
        WriteBandLimits(BandItems[Selected], Lower, Upper, QStringLiteral("A"));
    if (OnChange)
        OnChange();
}

void TfrmCfg::Prepare()
{
    ClearAdapterChoices();
    LoadSettings();
    PageControl1->setCurrentWidget(tsFrekvence);
}

bool TfrmCfg::ShowConfigDialog(TComm *Comm)
{
    // Centred over the main window; never over the frame itself, which is about to move
    // into the dialog.
    QWidget *Owner = parentWidget() ? parentWidget()->window() : nullptr;
    TDlgConfig Dialog(Owner);
    Dialog.SetFrame(this);
    Dialog.SetComm(Comm);
    return Dialog.exec() == QDialog::Accepted;
}

void TfrmCfg::btnBarvaPozadiClick()
{
    TColor Chosen = FColorDialogColor;
    if (!Dialogs().PickColor(FColorDialogColor, Chosen))
        return;
    FColorDialogColor = Chosen;
    pnColor->SetColor(Chosen);
}
