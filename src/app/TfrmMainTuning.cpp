// Live tuning: repeated sweeps that keep the cursors where the user put them, and the table
// of the sweep's SWR dips that puts cursor 1 on the one chosen.
#include "app/TResonancePanel.h"
#include "app/TfrmMain.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "numerics/TDoubleArray.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QStatusBar>

#include <array>
#include <vector>

void TfrmMain::SweepDrawn()
{
    if (FDestroying)
        return;
    UpdateResonances();
    if (!FRepeatPending)
        return;
    FRepeatPending = false;
    if (!FRepeating || !chkRepeat->isChecked() || FCloseAfterSweep) {
        FRepeating = false;
        UpdateMeasureButton();
        pnBand->setVisible(!IsMeasuring());
        return;
    }
    // The cursors stay on the frequencies the user put them on, read from the new sweep.
    const std::vector<double> Points = MeasuredFrequencies();
    bool Moved = false;
    for (int I : { 0, 1 }) {
        const double MHz = FRepeatCursors[static_cast<std::size_t>(I)];
        if (MHz <= 0.0 || Points.empty())
            continue;
        TFrekvence &Cursor = I == 0 ? *Model().Cursor1 : *Model().Cursor2;
        Cursor.Point = NearestPoint(Points, MHz);
        Cursor.Frequency = Points[static_cast<std::size_t>(Cursor.Point)];
        Moved = true;
    }
    if (Moved)
        Model().Refresh();
    // A start that does not get going (a refused range, a port setting that is no number)
    // ends the repetition rather than leave it waiting for a sweep that never ends.
    const auto Settle = [this] {
        if (IsMeasuring())
            return;
        FRepeating = false;
        UpdateMeasureButton();
        pnBand->setVisible(true);
    };
    try {
        btnMereniClick();
    } catch (...) {
        Settle();
        throw;
    }
    Settle();
}

void TfrmMain::StopRepeat(const QString &Reason)
{
    FRepeating = false;
    FRepeatPending = false;
    chkRepeat->setChecked(false);
    StatusBar1->showMessage(Reason.isEmpty() ? QStringLiteral("Repeat stopped")
                                             : Reason + QStringLiteral("; repeat stopped"));
}

void TfrmMain::chkRepeatClick()
{
    mnRepeat->setChecked(chkRepeat->isChecked());
    // Turned off, the running sweep ends as any other: SweepStopped ends the repetition.
}

void TfrmMain::ShowResonances(bool On)
{
    // Made when first asked for: a window that is never opened costs nothing at start-up.
    if (Resonances == nullptr && On) {
        // A tool window of its own: docked, it would take its room from the graph.
        Resonances = new TResonancePanel(this);
        Resonances->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::RightDockWidgetArea);
        addDockWidget(Qt::BottomDockWidgetArea, Resonances);
        Resonances->setFloating(true);
        // First shown over the lower right of the graph, not wherever the desktop puts it.
        Resonances->move(
            geometry().bottomRight() - Resonances->rect().bottomRight() - QPoint(110, 80));
        // As a drag does, also while a sweep runs: the table and the cursor read the sweep
        // shown.
        Resonances->OnSelect = [this](int Point) {
            if (Point >= 0 && Point < static_cast<int>(MeasuredFrequencies().size()))
                PutCursorOnPoint(1, Point);
        };
        QObject::connect(Resonances, &QDockWidget::visibilityChanged, mnResonances, [this] {
            // A docked panel behind another tab is still open.
            mnResonances->setChecked(!Resonances->isHidden());
        });
    }
    if (Resonances == nullptr)
        return;
    Resonances->setVisible(On);
    UpdateResonances();
}

void TfrmMain::UpdateResonances()
{
    if (Resonances == nullptr || Resonances->isHidden())
        return;
    const TMereni &M = Mereni();
    const std::array<double, 4> From { static_cast<double>(M.LinesVersion()),
        static_cast<double>(M.Frequencies.Count()), static_cast<double>(ChImp),
        SmoothCurves ? 1.0 : 0.0 };
    if (From == FResonancesFrom)
        return;
    FResonancesFrom = From;
    const auto Values = [](const TDoubleArray &Series) {
        std::vector<double> V;
        V.reserve(static_cast<std::size_t>(Series.Count()));
        for (int I = 0; I < Series.Count(); ++I)
            V.push_back(Series.Item(I));
        return V;
    };
    Resonances->SetSweep(
        Values(M.Frequencies), Values(M.SWRValues), Values(M.RValues), Values(M.XValues));
}
