#pragma once

#include <QFrame>

#include <memory>

class TAnGraph;

// Hosts the graph model in the main window: paints the composed layers, resizes them with
// the widget and drags cursor 1 or 2 with the mouse.
class TGraphHost : public QFrame
{
public:
    explicit TGraphHost(QWidget *Parent);
    ~TGraphHost() override;

    std::unique_ptr<TAnGraph> Graph;
    void DrawGraph();

protected:
    void paintEvent(QPaintEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;

private:
    bool MouseUp = true;
    int ActiveCursor = 1;
};
