#pragma once

#include <QMainWindow>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class TAnGraph;

// Shows the graph of the selected band and measures it with the configured analyzer: the
// program as far as it is built, until the full main window takes its place.
class TPreviewWindow : public QMainWindow
{
    Q_OBJECT

public:
    TPreviewWindow();
    ~TPreviewWindow() override;

    TAnGraph &Graph() const { return *AnGraph; }
    QPushButton *btnMereni = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    void btnMereniClick();

protected:
    void closeEvent(QCloseEvent *Event) override;

private:
    QWidget *pbGraph = nullptr;
    std::unique_ptr<TAnGraph> AnGraph;
};
