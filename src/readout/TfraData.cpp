#include "readout/TfraData.h"

#include "measure/Globals.h"
#include "platform/Format.h"
#include "platform/QtColor.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <cmath>

namespace {

const QString kInvalid = QStringLiteral("E");
const QString kAnyIndent = QStringLiteral("  ");
// Two blanks before Z, as the hint has always read.
const QString kSwrLimitHint
    = QStringLiteral("PSV je mimo rozsah měření a RX, Ry,  Z nejsou platné!");
const QString kSwrLimitPrefix = QStringLiteral(">= ");

// The SWR the analyzer's bridge still resolves; a rounded SWR of exactly this is its limit.
constexpr double kSwrLimit = 99.0;
// Beyond this a value has no 64-bit integer to round to, and is far from the limit.
constexpr double kRoundRange = 9.2e18;
// The frequency text is right-aligned to this many characters, then indented.
constexpr int kFrequencyWidth = 11;

constexpr int kFieldTop = 1;
constexpr int kFieldHeight = 19;

} // namespace

TShape::TShape(QWidget *Parent, TKind AKind, const QColor &AFill)
    : QWidget(Parent)
    , Kind(AKind)
    , FFill(AFill)
{
}

void TShape::SetFill(const QColor &AFill)
{
    FFill = AFill;
    update();
}

void TShape::paintEvent(QPaintEvent *)
{
    QPainter Painter(this);
    Painter.setRenderHint(QPainter::Antialiasing, true);
    Painter.setPen(Qt::black);
    Painter.setBrush(FFill);
    const QRectF Box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (Kind == TKind::Circle)
        Painter.drawEllipse(Box);
    else
        Painter.drawRoundedRect(Box, 3.0, 3.0);
}

TfraData::TfraData(QWidget *Parent)
    : QFrame(Parent)
{
    resize(kInitialWidth, kInitialHeight);
    setMinimumWidth(kContentWidth);
    Shape1 = new TShape(this, TShape::TKind::RoundRect, Qt::white);
    Shape1->setGeometry(6, 3, 12, 14);
    edFrekvence = MakeField(28, 86);
    edPSV = MakeField(116, 54);
    edZ = MakeField(172, 54);
    edRL = MakeField(228, 54);
    edPhase = MakeField(284, 54);
    edRx = MakeField(341, 54);
    edXx = MakeField(397, 54);
    edKapacita = MakeField(453, 62);
    edIIndukcnost = MakeField(518, 62);
    edAny = MakeField(582, 86);
    Shape2 = new TShape(this, TShape::TKind::Circle, ToQColor(clRed));
    Shape2->setGeometry(674, 3, 19, 15);
    Shape2->setToolTip(kSwrLimitHint);
}

QLineEdit *TfraData::MakeField(int Left, int Width)
{
    auto *Field = new QLineEdit(this);
    Field->setReadOnly(true);
    Field->setFocusPolicy(Qt::NoFocus);
    Field->setFrame(false);
    Field->setGeometry(Left, kFieldTop, Width, kFieldHeight);
    return Field;
}

int TfraData::FieldLeft(const QWidget *Field) { return Field ? Field->x() : 0; }

void TfraData::ShowValue(QLineEdit *Field, bool Invalid, const char *Pattern, double Value)
{
    Field->setText(Invalid ? kInvalid : QStr(FormatFloat(Pattern, Value)));
}

void TfraData::ShowFrekvence(bool Invalid, double MHz)
{
    if (Invalid) {
        edFrekvence->setText(kInvalid);
        return;
    }
    const QString Text = QStr(FormatFloat("#0.000 000", MHz));
    edFrekvence->setText(QStringLiteral("  ") + Text.rightJustified(kFrequencyWidth, u' '));
}

bool TfraData::AtSwrLimit(double Swr)
{
    if (!std::isfinite(Swr) || std::fabs(Swr) >= kRoundRange)
        return false;
    // nearbyint rounds halves to even under the default rounding mode.
    return std::nearbyint(Swr) == kSwrLimit;
}

void TfraData::ShowPSV(bool Invalid, double Swr)
{
    Shape2->hide();
    QString Prefix;
    // A reflection of 1 or more (a load with no resistance) has no SWR; the evaluation hands
    // a replacement below 1 for it, which reads as the bridge's limit.
    const bool Beyond = !Invalid && !(Swr >= 1.0);
    if (MeasureMode == mmImpedance && (AtSwrLimit(Swr) || Beyond)) {
        Prefix = kSwrLimitPrefix;
        Shape2->show();
    }
    if (MeasureMode == mmImpedance && Beyond)
        Swr = kSwrLimit;
    edPSV->setText(Invalid ? kInvalid : Prefix + QStr(FormatFloat("#0.00", Swr)));
}

void TfraData::ShowZ(bool Invalid, double Ohm)
{
    ShowValue(edZ, Invalid, "#0.0", Ohm);
    if (!Invalid) {
        ZValue = Ohm;
        ZShown = true;
    }
}

void TfraData::ShowCableLoss(bool Invalid, double DB)
{
    if (MeasureMode != mmImpedance)
        ShowValue(edZ, Invalid, "#0.00", DB);
}

void TfraData::ShowRL(bool Invalid, double DB) { ShowValue(edRL, Invalid, "#0.00", DB); }

void TfraData::ShowPhase(bool Invalid, double Degrees)
{
    ShowValue(edPhase, Invalid, "#0.00", Degrees);
}

void TfraData::ShowRx(bool Invalid, double Ohm) { ShowValue(edRx, Invalid, "#0", Ohm); }

void TfraData::ShowXx(bool Invalid, double Ohm) { ShowValue(edXx, Invalid, "#0.0", Ohm); }

void TfraData::ShowKapacita(bool Invalid, double PF) { ShowValue(edKapacita, Invalid, "#0.0", PF); }

void TfraData::ShowIndukcnost(bool Invalid, double UH)
{
    ShowValue(edIIndukcnost, Invalid, "#0.000", UH);
}

void TfraData::ShowAny(bool Invalid, int Kind, double Value)
{
    if (Kind != 1 && Kind != 2) {
        edAny->clear();
        return;
    }
    if (Invalid) {
        edAny->setText(kInvalid);
        return;
    }
    edAny->setText(kAnyIndent + QStr(FormatFloat(Kind == 1 ? "#0.000 000" : "#0.00", Value)));
}

void TfraData::Clear()
{
    for (QLineEdit *Field :
        { edFrekvence, edPSV, edZ, edRL, edPhase, edRx, edXx, edKapacita, edIIndukcnost, edAny })
        Field->clear();
    Shape2->hide();
    ZShown = false;
    ZValue = 0.0;
}

void TfraData::SetMarkColor(TColor Color) { Shape1->SetFill(ToQColor(Color)); }

void TfraData::SetRowIndex(int Index)
{
    RowIndex = Index;
    NameFields(Index == 3 ? QStringLiteral("Min SWR") : QStringLiteral("Cursor %1").arg(Index));
    if (Index == 3)
        edAny->hide();
}

void TfraData::NameFields(const QString &Row)
{
    // Row and column make each field's name for a screen reader; its value is the text shown.
    const std::pair<QLineEdit *, const char *> Columns[] = { { edFrekvence, "frequency" },
        { edPSV, "SWR" }, { edZ, "impedance" }, { edRL, "return loss" }, { edPhase, "phase" },
        { edRx, "resistance" }, { edXx, "reactance" }, { edKapacita, "capacitance" },
        { edIIndukcnost, "inductance" }, { edAny, "bandwidth or Q" } };
    for (const auto &[Field, Column] : Columns)
        Field->setAccessibleName(Row + u' ' + QString::fromLatin1(Column));
}

void TfraData::ResetLayout()
{
    Shape2->hide();
    QLineEdit *const Fields[]
        = { edFrekvence, edPSV, edZ, edRL, edPhase, edRx, edXx, edKapacita, edIIndukcnost, edAny };
    for (QLineEdit *Field : Fields) {
        QPalette Colours = Field->palette();
        Colours.setColor(QPalette::Base, Colours.color(QPalette::Button));
        Field->setPalette(Colours);
    }
    setFixedHeight(kRowHeight);

    // Which fields each display mode needs, in the order of Fields.
    static const bool Shown[3][10] = {
        { true, true, true, true, true, true, true, true, true, true },
        { true, false, true, false, false, false, false, false, false, false },
        { true, false, true, false, true, false, false, false, false, false },
    };
    const int Mode = static_cast<int>(MeasureMode);
    if (Mode < 0 || Mode > 2)
        return;
    Shape1->show();
    for (int I = 0; I < 10; ++I)
        Fields[I]->setVisible(Shown[Mode][I]);
    // The minimum-SWR row has no second cursor to give a bandwidth or Q, nor has a
    // reference's.
    if (RowIndex == 3 || lbName)
        edAny->hide();
}

void TfraData::SetReference(const QString &Name)
{
    if (!lbName) {
        lbName = new QLabel(this);
        lbName->setGeometry(edAny->geometry().adjusted(4, 0, 26, 0));
    }
    lbName->setText(lbName->fontMetrics().elidedText(Name, Qt::ElideMiddle, lbName->width()));
    lbName->setToolTip(Name);
    lbName->show();
    edAny->hide();
    NameFields(QStringLiteral("Reference ") + Name);
}

bool TfraData::GetZ(double &Value) const
{
    // A row that has never shown an impedance has none to give, though its field is empty.
    if (ZShown && edZ->text() != kInvalid) {
        Value = ZValue;
        return true;
    }
    Value = 0.0;
    return false;
}

void TfraData::SetRowVisible(bool Shown) { setVisible(Shown); }

void TfraData::setVisible(bool Visible) { QFrame::setVisible(Visible && parentWidget()); }
