#pragma once

#include "graph/TCursorReadout.h"

#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <memory>

class TAnGraph;

// The frame that shows the graph: it owns the graph model, hands it its paint box, forwards
// resizing and painting to it and turns mouse drags on the plot into movements of cursor 1
// or cursor 2.
class TvGraph : public QWidget
{
public:
    // CreateReadout makes the cursors' readout rows while the model is built (see
    // TReadoutFactory); it may be empty.
    explicit TvGraph(QWidget *Parent, const TReadoutFactory &CreateReadout = {});
    ~TvGraph() override;
    TvGraph(const TvGraph &) = delete;
    TvGraph &operator=(const TvGraph &) = delete;

    // The paint box: fills the frame, cross-hair pointer.
    QWidget *pbGraph = nullptr;
    // Fires once, a second after creation, and switches itself off.
    QTimer Timer1;
    // Never enabled.
    QTimer timerOzn;

    // True while no mouse button is held on the paint box.
    bool MouseUp = true;
    // 1 or 2: the cursor the current drag moves.
    int ActiveCursor = 1;
    // The main window (a link, not used by the frame).
    QWidget *MainWindow = nullptr;

    // The graph model; the main window and the sweep controller use it directly.
    TAnGraph &Graph() const { return *FGraph; }
    TAnGraph *GraphPtr() const { return FGraph.get(); }

    // Draws the whole picture into the layers and presents it.
    void DrawGraph();

    // The layers take the paint box's new size and the picture is drawn again at it, so a
    // resize that a layout makes after a handler has drawn never leaves the graph blank.
    void FrameResize();
    // Composes the existing layers and paints them, within Area; nothing is redrawn.
    void pbGraphPaint(const QRegion &Area);
    // Picks the cursor nearer to column X for the drag that starts; moves nothing.
    void pbGraphMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    // One drag step of the active cursor, inside the plot's columns and without Shift or
    // Ctrl. A failure is shown in the error box and ends the drag.
    void pbGraphMouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void pbGraphMouseUp();
    void Timer1Timer();
    void timerOznTimer();

protected:
    void resizeEvent(QResizeEvent *Event) override;

private:
    std::unique_ptr<TAnGraph> FGraph;
};
