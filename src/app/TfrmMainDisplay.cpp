// What the graph shows: its frequency range, curve colours and boxes, the band bar, zoom, the
// measurement types, the Smith chart box, smoothing and the readout area's layout.
#include "app/TfrmMain.h"
#include "app/WidgetHelpers.h"
#include "config/ConfigStore.h"
#include "config/TfrmCfg.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "graph/TOsaX.h"
#include "graph/TOsaY.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "measure/SweepRange.h"
#include "measure/TMereni.h"
#include "platform/Guard.h"
#include "platform/Parse.h"
#include "platform/QtColor.h"
#include "readout/TfraData.h"
#include "readout/TfrmTestColor.h"
#include "smith/TvSmithChart.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

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

bool TfrmMain::SetFrequencyRange(double Start, double Stop)
{
    bool Result = true;
    if (Start == 0 || Stop == 0) {
        if (!TryStrToFloat(StdStr(Cfg->edFROD->text()), Start)
            || !TryStrToFloat(StdStr(Cfg->edFRDO->text()), Stop)) {
            ShowErrorBox(QStringLiteral(
                "Chyba v nastavené frekvenci!\n\rV konfiguraci jsou uloženy neplatní číselné "
                "hodnoty.\n\rNyní budou nastaveny default frekvence"));
            Result = false;
            Start = 1.0;
            Stop = 50.0;
        }
    }
    if (Start >= Stop) {
        ShowErrorBox(QStringLiteral("Chyba v konfiguraci v nastavené frekvenci!\n\rFrekvence OD "
                                    "musí být menší než frekvence DO."));
        return false;
    }
    Model().OsaX->SetMaxValue(Stop);
    Model().OsaX->SetMinValue(Start);
    // Drawn once, from cleared layers: drawing twice over the old picture would leave the
    // old grid under the new one and xor the cursors away.
    Model().Refresh();
    DescribeGraph();
    return Result;
}

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
    DescribeGraph();
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
    StackReferenceRows();
    RowCount += static_cast<int>(FReferenceRows.size());
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
    // The zoom memory belongs to the range it was taken from.
    ForgetZoom();
    GuardSilently([&] {
        const double Start = StrToFloat(StdStr(Lower));
        const double Stop = StrToFloat(StdStr(Upper));
        // Emptied first, so the one picture of the new range shows no sweep of the old one.
        Mereni().ClearLines();
        if (Smith != nullptr)
            Smith->ClearChart();
        if (!SetFrequencyRange(Start, Stop))
            Model().Refresh();
    });
}

void TfrmMain::SelectBandButton(QRadioButton *Button, bool Selected)
{
    if (Button->isChecked() == Selected)
        return;
    // The group lets no button go by itself. Selecting runs the button's handler through
    // its change of state; deselecting runs nothing.
    BandGroup->setExclusive(Selected);
    Button->setChecked(Selected);
    BandGroup->setExclusive(true);
}

void TfrmMain::UpdateBandButtons()
{
    pnBand->setVisible(!IsMeasuring());
    const TConfigItem Flags[] = { ciBand160, ciBand80, ciBand40, ciBand30, ciBand20, ciBand17,
        ciBand15, ciBand12, ciBand10, ciBandOther };
    const auto Buttons = BandButtons();
    for (int I = 0; I < 10; ++I)
        SelectBandButton(Buttons[I], ReadConfigValue(Flags[I]) == QStringLiteral("A"));
}

void TfrmMain::ShowBandOfRange()
{
    const double Min = Model().OsaX->MinValue;
    const double Max = Model().OsaX->MaxValue;
    const auto Buttons = BandButtons();
    QRadioButton *Match = nullptr;
    for (int I = 0; I < static_cast<int>(Buttons.size()) && Match == nullptr; ++I) {
        QString Lower;
        QString Upper;
        ReadBandLimitsByIndex(I, Lower, Upper);
        double Start = 0.0;
        double Stop = 0.0;
        if (TryStrToFloat(StdStr(Lower), Start) && TryStrToFloat(StdStr(Upper), Stop)
            && Start == Min && Stop == Max)
            Match = Buttons[I];
    }
    // Shown only: the range is the file's already, and selecting would empty its lines.
    const QSignalBlocker Quiet(BandGroup);
    BandGroup->setExclusive(false);
    for (QRadioButton *Button : Buttons) {
        const QSignalBlocker QuietButton(Button);
        Button->setChecked(Button == Match);
    }
    BandGroup->setExclusive(true);
}

void TfrmMain::ForgetZoom()
{
    ZoomSaved = false;
    btnZoomS->setEnabled(false);
}

void TfrmMain::UpdateZoomButton()
{
    btnZoomP->setEnabled(Model().CursorsPlaced());
    DescribeGraph();
}

void TfrmMain::DescribeGraph()
{
    // The pictures' text for a screen reader: the range, what is drawn, where the cursors are.
    TAnGraph &G = Model();
    const auto MHz = [](double F) { return QString::number(F, 'f', 3); };
    QStringList Curves;
    for (const QCheckBox *Box : { chkPSV, chkZ, chkRx, chkXx, chkPhase, chkRL })
        if (Box->isChecked())
            Curves << Box->text();
    QStringList Cursors;
    for (const auto &[Name, Cursor] :
        { std::pair { "cursor 1", G.Cursor1.get() }, std::pair { "cursor 2", G.Cursor2.get() } })
        Cursors << QString::fromLatin1(Name)
                + (Cursor->IsPlaced()
                        ? QStringLiteral(" at ") + MHz(Cursor->Frequency) + QStringLiteral(" MHz")
                        : QStringLiteral(" not placed"));
    const int Points = static_cast<int>(Mereni().LastLines().size());
    Graph->setAccessibleName(QStringLiteral("Graph"));
    Graph->setAccessibleDescription(
        QStringLiteral("%1 to %2 MHz, %3 points; curves %4; %5")
            .arg(MHz(G.OsaX->MinValue), MHz(G.OsaX->MaxValue))
            .arg(Points)
            .arg(Curves.isEmpty() ? QStringLiteral("none") : Curves.join(QStringLiteral(", ")),
                Cursors.join(QStringLiteral(", "))));
    if (Smith != nullptr) {
        Smith->setAccessibleName(QStringLiteral("Smith chart"));
        Smith->setAccessibleDescription(
            QStringLiteral("Reflection against %1 ohm, %2 points%3")
                .arg(ChImp)
                .arg(Points)
                .arg(G.Cursor1->IsPlaced() ? QStringLiteral("; cursor 1 at ")
                            + MHz(G.Cursor1->Frequency) + QStringLiteral(" MHz")
                                           : QString()));
    }
}

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
    // The margins stay inside what the analyzer sweeps; a loaded file's range that lies
    // outside it already is the file's own and keeps its margins.
    const double Margin = (Hi - Lo) / 20;
    double Top = Hi + Margin;
    double Bottom = Lo - Margin;
    if (Hi <= kAnalyzerMaxMHz && Top > kAnalyzerMaxMHz)
        Top = kAnalyzerMaxMHz;
    if (Lo >= kAnalyzerMinMHz && Bottom < kAnalyzerMinMHz)
        Bottom = kAnalyzerMinMHz;
    G.OsaX->SetMaxValue(Top);
    G.OsaX->SetMinValue(Bottom);
    G.Refresh();
}

void TfrmMain::btnZoomSClick()
{
    if (!ZoomSaved || IsMeasuring())
        return;
    TAnGraph &G = Model();
    G.Cursor1->Frequency = ZoomCursor1;
    G.Cursor2->Frequency = ZoomCursor2;
    ForgetZoom();
    if (ZoomMin == ZoomMax)
        return;
    G.OsaX->SetMaxValue(std::max(ZoomMin, ZoomMax));
    G.OsaX->SetMinValue(std::min(ZoomMin, ZoomMax));
    G.Refresh();
}

void TfrmMain::ShowMeasuringControls()
{
    for (QWidget *W : std::initializer_list<QWidget *> { gbMerBody, pnMereniON, Graph, pnHeader })
        W->show();
}

void TfrmMain::rbImpedanceClick()
{
    // What goes is hidden before anything shows: for a moment the window would have to hold
    // both, and it would grow to do so and stay grown.
    gbLenKabelu->hide();
    pnSmihBase->setVisible(CHsMITH->isChecked());
    ShowMeasuringControls();
    gbKrivky->setVisible(rbImpedance->isChecked());
    MeasureMode = mmImpedance;
    UpdateReadoutHeader();
    Model().Refresh();
}

void TfrmMain::rbTClick()
{
    // What goes is hidden before anything shows: for a moment the window would have to hold
    // both, and it would grow to do so and stay grown.
    gbLenKabelu->hide();
    pnSmihBase->hide();
    ShowMeasuringControls();
    gbKrivky->setVisible(!rbT->isChecked());
    MeasureMode = mmCableLoss;
    UpdateReadoutHeader();
    QCoreApplication::processEvents();
    Model().Refresh();
}

void TfrmMain::btnLKabClick()
{
    pnSmihBase->hide();
    // Selecting "Max" runs its handler; when it was selected already, that runs here.
    if (chkOther->isChecked())
        SelectBand();
    else
        SelectBandButton(chkOther, true);
    ShowMeasuringControls();
    gbKrivky->hide();
    gbLenKabelu->show();
    MeasureMode = mmCableLength;
    UpdateCableGroup();
    UpdateReadoutHeader();
    Model().Refresh();
}

void TfrmMain::UpdateReadoutHeader()
{
    pnData->show();
    for (TfraData *Row : { Rows[1], Rows[2], Rows[0] })
        Row->ResetLayout();
    for (TfraData *Row : FReferenceRows)
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
    pnSmihBase->setVisible(CHsMITH->isChecked());
    Timer2.start();
}

void TfrmMain::chkVyhlazovatClick()
{
    SmoothCurves = chkVyhlazovat->isChecked();
    Model().Refresh();
}

void TfrmMain::Skrtosy2Click()
{
    TCursors &C = *Model().Cursors;
    C.SetShowCursors(!C.GetShowCursors());
}
