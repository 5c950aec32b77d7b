#include "graph/TvGraph.h"

#include "graph/TAnGraph.h"
#include "platform/Guard.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <cstdlib>

namespace {

// The frame's size before its parent lays it out.
constexpr int kInitialWidth = 443;
constexpr int kInitialHeight = 270;
constexpr int kTimer1IntervalMs = 1000;
constexpr int kTimerOznIntervalMs = 100;

// The layer pixel under the pointer. Positions come with fractions (a device pixel ratio of 2
// gives halves, Wayland reports fractions at any ratio): the pixel that contains the point is
// the one below it, where rounding would take the next one for its right half.
QPoint PixelAt(const QMouseEvent *Event)
{
    const QPointF At = Event->position();
    return { static_cast<int>(std::floor(At.x())), static_cast<int>(std::floor(At.y())) };
}

// The paint box: shows the composed picture and hands its events to the frame.
class TGraphPaintBox : public QWidget
{
public:
    TGraphPaintBox(TvGraph *AFrame)
        : QWidget(AFrame)
        , Frame(AFrame)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent *Event) override { Frame->pbGraphPaint(Event->region()); }
    void mousePressEvent(QMouseEvent *Event) override
    {
        const QPoint P = PixelAt(Event);
        Frame->pbGraphMouseDown(Event->button(), Event->modifiers(), P.x(), P.y());
    }
    void mouseMoveEvent(QMouseEvent *Event) override
    {
        const QPoint P = PixelAt(Event);
        Frame->pbGraphMouseMove(Event->modifiers(), P.x(), P.y());
    }
    void mouseReleaseEvent(QMouseEvent *) override { Frame->pbGraphMouseUp(); }

private:
    TvGraph *Frame;
};

} // namespace

TvGraph::TvGraph(QWidget *Parent, const TReadoutFactory &CreateReadout)
    : QWidget(Parent)
{
    resize(kInitialWidth, kInitialHeight);
    pbGraph = new TGraphPaintBox(this);
    pbGraph->setGeometry(rect());

    Timer1.setInterval(kTimer1IntervalMs);
    QObject::connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1.start();
    timerOzn.setInterval(kTimerOznIntervalMs);
    QObject::connect(&timerOzn, &QTimer::timeout, this, [this] { timerOznTimer(); });

    FGraph = std::make_unique<TAnGraph>(pbGraph, 0.0, 0.0, CreateReadout);
    MouseUp = true;
}

TvGraph::~TvGraph()
{
    // The paint box outlives the model by a moment (Qt deletes children after this body):
    // it must not reach a model that is gone.
    FGraph.reset();
}

void TvGraph::DrawGraph()
{
    if (FGraph)
        FGraph->DrawAll();
}

void TvGraph::resizeEvent(QResizeEvent *Event)
{
    QWidget::resizeEvent(Event);
    if (pbGraph)
        pbGraph->setGeometry(rect());
    FrameResize();
}

void TvGraph::FrameResize()
{
    if (!FGraph)
        return;
    // Qt lays a frame out on a later pass of the event loop than the change that moved it
    // (a panel's new height, a bar hidden), so the handler that drew has long returned.
    FGraph->ResizeLayers();
    FGraph->DrawAll();
}

void TvGraph::pbGraphPaint(const QRegion &Area)
{
    QPainter Painter(pbGraph);
    // The layers hold one pixel per logical pixel, since every figure on them is drawn to
    // whole pixels. At a higher device pixel ratio each pixel becomes a solid block, never a
    // smoothed blur.
    Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    Painter.setClipRegion(Area);
    Painter.fillRect(pbGraph->rect(), Qt::white);
    if (!FGraph)
        return;
    // Only what is exposed is composed again: after a drag step that is a few strips.
    const std::vector<QRect> Parts(Area.begin(), Area.end());
    if (Area.boundingRect().contains(FGraph->Composite.rect()))
        FGraph->Present(true);
    else
        FGraph->PresentAreas(Parts, true);
    for (const QRect &Part : Parts)
        Painter.drawImage(Part.topLeft(), FGraph->Composite, Part);
}

void TvGraph::pbGraphMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)
{
    static_cast<void>(Button);
    if (!FGraph)
        return;
    const long long To1 = std::llabs(static_cast<long long>(FGraph->Cursor1->X) - X);
    const long long To2 = std::llabs(static_cast<long long>(FGraph->Cursor2->X) - X);
    ActiveCursor = To2 < To1 ? 2 : 1;
    MouseUp = false;
    // A plain click places the nearer cursor where it points, as the first step of a drag.
    pbGraphMouseMove(Shift, X, Y);
}

void TvGraph::pbGraphMouseMove(Qt::KeyboardModifiers Shift, int X, int Y)
{
    // Ctrl holds the cursor; Shift only keeps it from snapping to a peak.
    if (MouseUp || (Shift & Qt::ControlModifier) || !FGraph)
        return;
    FGraph->Cursors->SnapToPeaks = !(Shift & Qt::ShiftModifier);
    if (X < FGraph->OsaX->PlotLeft() || X > FGraph->OsaX->PlotRight())
        return;
    const bool Moved = GuardHandler([this, X, Y] {
        if (ActiveCursor == 2)
            FGraph->MoveCursor2(X, Y);
        else
            FGraph->MoveCursor1(X, Y);
    });
    // The error box took the button release with it: the drag is over, else the cursor
    // would follow a pointer whose button is no longer held.
    if (!Moved)
        MouseUp = true;
}

void TvGraph::pbGraphMouseUp() { MouseUp = true; }

void TvGraph::Timer1Timer() { Timer1.stop(); }

void TvGraph::timerOznTimer() { }
