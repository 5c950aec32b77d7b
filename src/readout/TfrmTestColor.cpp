#include "readout/TfrmTestColor.h"

#include <QLabel>

namespace {

constexpr int kLabelLeft = 6;

QLabel *MakeLabel(QWidget *Parent, int Top, const QString &Caption, bool Heading)
{
    auto *Label = new QLabel(Caption, Parent);
    if (Heading) {
        QFont Font = Label->font();
        Font.setBold(true);
        Font.setUnderline(true);
        Label->setFont(Font);
    }
    // The main window colours the voltage labels' background.
    Label->setAutoFillBackground(true);
    Label->adjustSize();
    Label->move(kLabelLeft, Top);
    return Label;
}

} // namespace

TfrmTestColor::TfrmTestColor(QWidget *Parent)
    : QFrame(Parent)
{
    resize(kInitialWidth, kInitialHeight);
    Label4 = MakeLabel(this, 9, QStringLiteral("A/D[2.5V]"), true);
    lbU1 = MakeLabel(this, 25, QStringLiteral("U1 (50)"), false);
    lbU2 = MakeLabel(this, 41, QStringLiteral("U2 (Z)"), false);
    lbU3 = MakeLabel(this, 57, QStringLiteral("U3(diag)"), false);
    Label5 = MakeLabel(this, 77, QStringLiteral("Výs.[250mV]"), true);
    lbU1v = MakeLabel(this, 93, QStringLiteral("U1 (50)"), false);
    lbU2v = MakeLabel(this, 109, QStringLiteral("U2 (Z)"), false);
    lbU3v = MakeLabel(this, 125, QStringLiteral("U3(diag)"), false);
}

void TfrmTestColor::setVisible(bool Visible) { QFrame::setVisible(Visible && parentWidget()); }
