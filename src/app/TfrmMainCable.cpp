// The cable tools: length or velocity factor from the distance of the cursors, and the
// cable's impedance from the short and open measurements.
#include "app/TfrmMain.h"
#include "app/WidgetHelpers.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "measure/Globals.h"
#include "platform/Format.h"
#include "platform/QtColor.h"
#include "readout/TfraData.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cmath>

namespace {

// Half the speed of light in m·MHz, as the cable tools have always used it.
constexpr double kHalfLightSpeed = 149.96;
// A cursor distance of zero would divide by zero.
constexpr double kZeroDelta = 0.000001;

} // namespace

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
            QTimer::singleShot(0, this,
                [this] { ShowErrorBox(QStringLiteral("Byla zadaná neplatná číselná hodnota!")); });
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
    ShowErrorBox(QStringLiteral("Oba kurzory (levým tlačítkem myši) nastavte tak,\n\raby ukazovaly "
                                "na maximum nebo minimum impedance!"));
}

bool TfrmMain::CursorOneZ(double &Z)
{
    const TFrekvence &Cursor1 = *Model().Cursor1;
    if (Cursor1.Readout != nullptr && Cursor1.Readout->GetZ(Z))
        return true;
    ShowErrorBox(QStringLiteral("Impedance Z is not valid!"), QStringLiteral("Cable impedance"));
    return false;
}

void TfrmMain::btnZkratClick()
{
    TFrekvence &Cursor1 = *Model().Cursor1;
    if (!Cursor1.IsPlaced()) {
        ShowErrorBox(
            QStringLiteral("Zelený kříž není nastaven!"), QStringLiteral("Impedance kabelu"));
        return;
    }
    if (!CursorOneZ(ShortZ))
        return;
    btnRozp->setEnabled(true);
    btnZkrat->setEnabled(false);
}

void TfrmMain::btnRozpClick()
{
    double OpenZ = 0.0;
    if (!CursorOneZ(OpenZ))
        return;
    edZKab->setText(QStr(FormatFloat("#0.0", std::sqrt(ShortZ * OpenZ))));
    btnRozp->setEnabled(false);
    btnZkrat->setEnabled(true);
}

void TfrmMain::rbDelkaKabClick() { UpdateCableGroup(); }

void TfrmMain::rbZkracKabClick() { UpdateCableGroup(); }
