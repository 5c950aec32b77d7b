// The cursors from the keyboard: keys that step them point by point in the focused graph,
// and a typed frequency ("Go to frequency…", or a double-click on a row's frequency).
#include "app/TfrmMain.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "graph/TvGraph.h"
#include "measure/TMereni.h"
#include "numerics/TDoubleArray.h"
#include "platform/Dialogs.h"
#include "platform/Format.h"
#include "platform/Guard.h"
#include "platform/Parse.h"
#include "readout/TfraData.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <cmath>

namespace {

// PageUp and PageDown step this many points.
constexpr int kPageStep = 10;

} // namespace

std::vector<double> TfrmMain::MeasuredFrequencies() const
{
    const TDoubleArray *Frequencies = nullptr;
    const TDoubleArray *Resistances = nullptr;
    const TDoubleArray *Reactances = nullptr;
    Mereni().GetPointSeries(Frequencies, Resistances, Reactances);
    std::vector<double> Points;
    if (Frequencies != nullptr)
        for (int I = 0; I < Frequencies->Count(); ++I)
            Points.push_back(Frequencies->Item(I));
    return Points;
}

int TfrmMain::NearestPoint(const std::vector<double> &Points, double MHz)
{
    int Best = 0;
    for (int I = 1; I < static_cast<int>(Points.size()); ++I)
        if (std::fabs(Points[I] - MHz) < std::fabs(Points[Best] - MHz))
            Best = I;
    return Best;
}

void TfrmMain::PutCursorOnPoint(int CursorIndex, int Point)
{
    TFrekvence &Cursor = CursorIndex == 2 ? *Model().Cursor2 : *Model().Cursor1;
    const std::vector<double> Points = MeasuredFrequencies();
    // It stands on the point itself, drawn at the point's column, and its row reads it.
    Cursor.Point = Point;
    Cursor.Frequency = Points[static_cast<std::size_t>(Point)];
    // Drawn whole, as after a drag: the rows, the Smith chart's cross and the cable tools
    // follow the cursor's new place.
    Model().Refresh();
}

void TfrmMain::GoToFrequencyClick() { GoToFrequency(1); }

void TfrmMain::GoToFrequency(int CursorIndex)
{
    if (IsMeasuring())
        return;
    const std::vector<double> Points = MeasuredFrequencies();
    if (Points.empty()) {
        Dialogs().ShowMessageBox(
            "There is no measured point to put a cursor on.", "Go to frequency");
        return;
    }
    const std::string Range = FormatFloat("0.000###", Points.front()) + " to "
        + FormatFloat("0.000###", Points.back()) + " MHz";
    std::string Text;
    if (!Dialogs().AskText("Go to frequency",
            "Frequency of cursor " + std::to_string(CursorIndex) + " in MHz (" + Range + "):", {},
            Text))
        return;
    double MHz = 0.0;
    const QString Typed = QString::fromStdString(Text).trimmed();
    if (!TryStrToFloat(Typed.toStdString(), MHz) || !(MHz >= Points.front())
        || !(MHz <= Points.back())) {
        Dialogs().ShowErrorBox("Type a frequency in MHz from " + Range + ".", "Go to frequency");
        return;
    }
    PutCursorOnPoint(CursorIndex, NearestPoint(Points, MHz));
}

bool TfrmMain::StepCursor(int Key, Qt::KeyboardModifiers Modifiers)
{
    const std::vector<double> Points = MeasuredFrequencies();
    if (Points.empty() || IsMeasuring())
        return false;
    const int CursorIndex = Modifiers & Qt::ShiftModifier ? 2 : 1;
    const TFrekvence &Cursor = CursorIndex == 2 ? *Model().Cursor2 : *Model().Cursor1;
    const int Last = static_cast<int>(Points.size()) - 1;
    const bool Placed = Cursor.IsPlaced();
    const int At = !Placed                          ? -1
        : Cursor.Point >= 0 && Cursor.Point <= Last ? Cursor.Point
                                                    : NearestPoint(Points, Cursor.Frequency);
    int Next = At;
    switch (Key) {
    case Qt::Key_Left:
        Next = Placed ? At - 1 : Last;
        break;
    case Qt::Key_Right:
        Next = Placed ? At + 1 : 0;
        break;
    case Qt::Key_PageDown:
        Next = Placed ? At - kPageStep : Last;
        break;
    case Qt::Key_PageUp:
        Next = Placed ? At + kPageStep : 0;
        break;
    case Qt::Key_Home:
        Next = 0;
        break;
    case Qt::Key_End:
        Next = Last;
        break;
    default:
        return false;
    }
    Next = std::clamp(Next, 0, Last);
    PutCursorOnPoint(CursorIndex, Next);
    return true;
}

bool TfrmMain::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::KeyPress && Watched == Graph) {
        const auto *Key = static_cast<QKeyEvent *>(Event);
        bool Used = false;
        GuardHandler([&] { Used = StepCursor(Key->key(), Key->modifiers()); });
        if (Used)
            return true;
    }
    if (Event->type() == QEvent::MouseButtonDblClick) {
        for (int Index : { 1, 2 })
            if (Rows[static_cast<std::size_t>(Index)] != nullptr
                && Watched == Rows[static_cast<std::size_t>(Index)]->edFrekvence) {
                GuardHandler([this, Index] { GoToFrequency(Index); });
                return true;
            }
    }
    return QMainWindow::eventFilter(Watched, Event);
}
