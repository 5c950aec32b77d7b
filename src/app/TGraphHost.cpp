#include "app/TGraphHost.h"

#include "graph/TAnGraph.h"
#include "platform/Guard.h"

#include <QMouseEvent>
#include <QPainter>

#include <cstdlib>

TGraphHost::TGraphHost(QWidget *Parent)
    : QFrame(Parent)
    , Graph(std::make_unique<TAnGraph>(this, 0.0, 0.0))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setMinimumSize(200, 150);
}

TGraphHost::~TGraphHost() = default;

void TGraphHost::DrawGraph() { Graph->DrawAll(); }

void TGraphHost::paintEvent(QPaintEvent *)
{
    QPainter Painter(this);
    Painter.drawImage(0, 0, Graph->Composite);
}

void TGraphHost::resizeEvent(QResizeEvent *)
{
    GuardSilently([this] { Graph->ResizeLayers(); });
}

void TGraphHost::mousePressEvent(QMouseEvent *Event)
{
    const int X = Event->position().toPoint().x();
    ActiveCursor = std::abs(Graph->Cursor2->X - X) < std::abs(Graph->Cursor1->X - X) ? 2 : 1;
    MouseUp = false;
}

void TGraphHost::mouseMoveEvent(QMouseEvent *Event)
{
    if (MouseUp || (Event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) != 0)
        return;
    const QPoint At = Event->position().toPoint();
    if (At.x() < Graph->OsaX->PlotLeft() || At.x() > Graph->OsaX->PlotRight())
        return;
    GuardHandler([&] {
        if (ActiveCursor == 1)
            Graph->MoveCursor1(At.x(), At.y());
        else
            Graph->MoveCursor2(At.x(), At.y());
    });
}

void TGraphHost::mouseReleaseEvent(QMouseEvent *) { MouseUp = true; }
