#include "config/TDlgConfig.h"

#include "config/TfrmCfg.h"
#include "measure/SweepRange.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Parse.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const kStartCaption = "Band start (MHz)";
const char *const kEndCaption = "Band end (MHz)";

} // namespace

std::string BandLimitsProblem(const TfrmCfg &Frame, QLineEdit *&Field)
{
    const struct
    {
        QLineEdit *Edit;
        const char *Caption;
    } Limits[] = { { Frame.edFROD, kStartCaption }, { Frame.edFRDO, kEndCaption } };
    double Values[2] = {};
    for (int I = 0; I < 2; ++I) {
        Field = Limits[I].Edit;
        const std::string Text = Field->text().trimmed().toStdString();
        if (Text.empty())
            return std::string(Limits[I].Caption) + " is empty: select a band.";
        if (!TryStrToFloat(Text, Values[I]))
            return std::string(Limits[I].Caption) + ": \"" + Text + "\" is not a number.";
    }
    if (Values[0] >= Values[1]) {
        Field = Frame.edFROD;
        return std::string(kStartCaption) + " must be below " + kEndCaption + ".";
    }
    const bool StartOutside = Values[0] < kAnalyzerMinMHz || Values[0] > kAnalyzerMaxMHz;
    Field = StartOutside ? Frame.edFROD : Frame.edFRDO;
    const std::string Refusal = SweepRangeRefusal(Values[0], Values[1]);
    if (!Refusal.empty())
        return std::string(StartOutside ? kStartCaption : kEndCaption) + ": " + Refusal + ".";
    Field = nullptr;
    return {};
}

TDlgConfig::TDlgConfig(QWidget *Parent)
    : QDialog(Parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Configuration"));
    setFixedSize(499, 456);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    pnMain = new QFrame(this);
    auto *MainLayout = new QVBoxLayout(pnMain);
    MainLayout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(pnMain, 1);

    pnBottom = new QFrame(this);
    pnBottom->setFixedHeight(30);
    Layout->addWidget(pnBottom);
    auto *Bar = new QHBoxLayout(pnBottom);
    Bar->setContentsMargins(4, 2, 4, 2);
    btnOk = new QPushButton(QStringLiteral("OK"), pnBottom);
    btnStorno = new QPushButton(QStringLiteral("Storno"), pnBottom);
    Bar->addStretch(1);
    for (QPushButton *Button : { btnOk, btnStorno }) {
        // Only Ctrl+Enter means OK; no button may take plain Enter.
        Button->setAutoDefault(false);
        Button->setDefault(false);
        Bar->addWidget(Button);
    }
    connect(btnOk, &QPushButton::clicked, this, [this] { GuardHandler([this] { btnOkClick(); }); });
    connect(btnStorno, &QPushButton::clicked, this,
        [this] { GuardHandler([this] { btnStornoClick(); }); });
}

TDlgConfig::~TDlgConfig()
{
    qApp->removeEventFilter(this);
    FormDestroy();
}

void TDlgConfig::showEvent(QShowEvent *Event)
{
    QDialog::showEvent(Event);
    // Keys reach the dialog before the control with the focus, as a keyboard preview.
    qApp->installEventFilter(this);
    GuardHandler([this] { FormShow(); });
}

void TDlgConfig::FormShow()
{
    if (!FFrame || FFrameBorrowed)
        return;
    FFrameHome = FFrame->parentWidget();
    FFrameWasVisible = !FFrame->isHidden();
    FFrameBorrowed = true;
    FFrame->SetComm(FComm);
    pnMain->layout()->addWidget(FFrame);
    FFrame->pnBottom->hide();
    FFrame->show();
    FFrame->Prepare();
}

void TDlgConfig::FormDestroy()
{
    if (!FFrame || !FFrameBorrowed)
        return;
    // The frame belongs to the main window: left in here, the dialog would delete it.
    FFrameBorrowed = false;
    pnMain->layout()->removeWidget(FFrame);
    FFrame->hide();
    FFrame->setParent(FFrameHome);
    FFrame->pnBottom->show();
    FFrame->setVisible(FFrameWasVisible);
}

void TDlgConfig::btnOkClick()
{
    // Limits the analyzer could not sweep are refused here, naming the field, rather than
    // later by a sweep that sends nothing.
    if (FFrame) {
        QLineEdit *Field = nullptr;
        const std::string Problem = BandLimitsProblem(*FFrame, Field);
        if (!Problem.empty()) {
            Dialogs().ShowErrorBox(Problem, "Configuration");
            if (Field != nullptr)
                Field->setFocus();
            return;
        }
    }
    // A failed save raises out of here, and the dialog stays open.
    if (FFrame) {
        FFrame->btnSaveCfgClick();
        FFrame->ApplyAdapterChoices();
    }
    accept();
}

void TDlgConfig::btnStornoClick() { reject(); }

bool TDlgConfig::FormKeyDown(int Key, Qt::KeyboardModifiers Modifiers)
{
    const Qt::KeyboardModifiers Held = Modifiers
        & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (Held == Qt::ControlModifier) {
        if (Key != Qt::Key_Return && Key != Qt::Key_Enter)
            return false;
        GuardHandler([this] { btnOkClick(); });
        return true;
    }
    if (Key != Qt::Key_Escape)
        return false;
    btnStornoClick();
    return true;
}

bool TDlgConfig::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::KeyPress && Watched->isWidgetType()) {
        auto *Target = static_cast<QWidget *>(Watched);
        if ((Target == this || isAncestorOf(Target)) && isVisible()) {
            const auto *Key = static_cast<QKeyEvent *>(Event);
            if (FormKeyDown(Key->key(), Key->modifiers()))
                return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}
