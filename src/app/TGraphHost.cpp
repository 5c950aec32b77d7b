#include "app/TGraphHost.h"

#include "config/ConfigStore.h"
#include "graph/TAnGraph.h"
#include "platform/Guard.h"

#include <QLineEdit>
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

TCfgCopy::TCfgCopy(QWidget *Parent)
    : QFrame(Parent)
    , edFROD(new QLineEdit(this))
    , edFRDO(new QLineEdit(this))
{
    hide();
}

void TCfgCopy::LoadSettings()
{
    const TConfigItem Flags[] = { ciBand160, ciBand80, ciBand40, ciBand30, ciBand20, ciBand17,
        ciBand15, ciBand12, ciBand10, ciBandOther };
    int Selected = -1;
    for (int I = 0; I < 10; ++I)
        if (ReadConfigValue(Flags[I]) == QStringLiteral("A"))
            Selected = I;
    QString Lower;
    QString Upper;
    if (Selected >= 0)
        ReadBandLimitsByIndex(Selected, Lower, Upper);
    edFROD->setText(Lower);
    edFRDO->setText(Upper);
    FColor = static_cast<TColor>(ReadConfigInt(ciGraphColor));
}

bool TCfgCopy::ShowConfigDialog(TComm *) { return false; }
