#pragma once

#include <QMainWindow>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;
class TAnGraph;
class TvGraph;

// Shows the graph of the selected band and measures it with the configured analyzer: the
// program as far as it is built, until the full main window takes its place.
class TPreviewWindow : public QMainWindow
{
    Q_OBJECT

public:
    TPreviewWindow();
    ~TPreviewWindow() override;

    static constexpr int kRedrawDelayMs = 1000;

    TAnGraph &Graph() const;
    QPushButton *btnMereni = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    void btnMereniClick();

protected:
    void closeEvent(QCloseEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;

private:
    TvGraph *vGraph = nullptr;
    QTimer RedrawTimer;
};
