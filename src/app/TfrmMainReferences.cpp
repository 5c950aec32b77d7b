// Reference traces: a sweep kept, or a file read, for comparison with the live one. Their
// curves lie under the live curves, their points on the Smith chart, and each has a row
// that reads it at cursor 1's frequency.
#include "app/FileCommands.h"
#include "app/TfrmMain.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "measure/Globals.h"
#include "measure/PointFormulas.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "readout/TfraData.h"
#include "smith/TvSmithChart.h"

#include <QAction>
#include <QDateTime>
#include <QFrame>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// The row mark of a reference: the grey of its points on the Smith chart.
constexpr TColor kReferenceMark = clGray;

} // namespace

void TfrmMain::KeepReferenceClick()
{
    const QStringList &Lines = Mereni().LastLines();
    if (Lines.isEmpty()) {
        Dialogs().ShowMessage("No data for reference!");
        return;
    }
    // A file keeps its own name for as long as its lines are the ones shown.
    const TOpenedFile &Opened = LastOpenedFile();
    const QString Name = Opened.LinesVersion == Mereni().LinesVersion()
        ? Opened.Name
        : QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"));
    AddReference(Name, Lines);
}

void TfrmMain::OpenReferenceClick()
{
    QString Name;
    QStringList Lines;
    if (ReadReferenceFile(ChImp, Name, Lines))
        AddReference(Name, Lines);
}

void TfrmMain::ClearReferenceClick()
{
    Mereni().References.Clear();
    ShowReferences();
    StatusBar1->showMessage(QStringLiteral("References cleared"));
}

void TfrmMain::AddReference(const QString &Name, const QStringList &Lines)
{
    QString Dropped;
    if (!Mereni().References.Add(Name, Lines, &Dropped)) {
        Dialogs().ShowMessage("No measured point in " + Name.toStdString() + ", nothing kept");
        return;
    }
    ShowReferences();
    QString Status = QStringLiteral("Reference %1 kept").arg(Name);
    if (!Dropped.isEmpty())
        Status += QStringLiteral("; %1 dropped, three are kept at most").arg(Dropped);
    StatusBar1->showMessage(Status);
}

void TfrmMain::ShowReferences()
{
    const TReferenceTraces &References = Mereni().References;
    while (static_cast<int>(FReferenceRows.size()) > References.Count()) {
        delete FReferenceRows.back();
        FReferenceRows.pop_back();
    }
    while (static_cast<int>(FReferenceRows.size()) < References.Count()) {
        auto *Row = new TfraData(pnData);
        Row->SetMarkColor(kReferenceMark);
        FReferenceRows.push_back(Row);
    }
    std::vector<QStringList> Lines;
    for (int I = 0; I < References.Count(); ++I) {
        FReferenceRows[static_cast<std::size_t>(I)]->SetReference(References.At(I).Name);
        Lines.push_back(References.At(I).Lines);
    }
    if (Smith != nullptr)
        Smith->SetReferenceLines(Lines);
    mnClearReference->setEnabled(!References.IsEmpty());
    // The new rows take the fields of the display mode, then the area their height.
    UpdateReadoutHeader();
    LayoutReadout();
}

void TfrmMain::StackReferenceRows()
{
    auto *Stack = static_cast<QVBoxLayout *>(pnData->layout());
    for (TfraData *Row : FReferenceRows) {
        Stack->addWidget(Row);
        Row->SetRowVisible(true);
    }
}

void TfrmMain::UpdateReferenceRows()
{
    const TFrekvence &Cursor = *Model().Cursor1;
    for (std::size_t I = 0; I < FReferenceRows.size(); ++I) {
        TfraData &Row = *FReferenceRows[I];
        const TSweepSeries &Series = Mereni().References.At(static_cast<int>(I)).Series;
        // Outside the reference's own range its nearest point may lie a band away: no point.
        const int Count = Series.Frequencies.Count();
        const bool Inside = Count > 0 && Cursor.Frequency > 0.0
            && Cursor.Frequency >= Series.Frequencies.Item(0)
            && Cursor.Frequency <= Series.Frequencies.Item(Count - 1);
        const int Point = Inside ? Series.NearestPoint(Cursor.Frequency) : -1;
        if (Point < 0) {
            Row.ShowFrekvence(true, 0.0);
            TFrekvence::ShowNoValues(Row);
            continue;
        }
        const double F = Series.Frequencies.Item(Point);
        const double R = Series.Resistances.Item(Point);
        const double X = Series.Reactances.Item(Point);
        Row.ShowFrekvence(false, F);
        TPointValues Values;
        try {
            ComputePoint(R, X, F, ChImp, Values);
        } catch (const EFloatError &) {
            TFrekvence::ShowNoValues(Row);
            continue;
        }
        if (MeasureMode == mmCableLoss)
            Row.ShowCableLoss(!Values.CableLossValid, Values.CableLoss);
        else
            TFrekvence::ShowPointValues(Row, R, X, F, Values);
    }
}
