#pragma once

#include "measure/TSmithLink.h"

#include <QFrame>

#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;
class TSmithChart;

// The frame around the Smith chart: the chart's paint box and, below it, the field where
// the user sets the characteristic impedance the points are plotted against. The rest of the
// program reaches the chart only through it.
class TvSmithChart : public QFrame, public TSmithLink
{
public:
    explicit TvSmithChart(QWidget *Parent = nullptr);
    ~TvSmithChart() override;

    QWidget *pbSmith;
    QFrame *pnBottom;
    QGroupBox *GroupBox2;
    QLabel *Label1;
    QLineEdit *edImp;
    QToolButton *btnAply;

    // Called after a new characteristic impedance has been applied.
    std::function<void()> OnApply;

    // The renderer; null until InitChart.
    TSmithChart *Chart() const { return FChart.get(); }

    void InitChart() override;
    void pbSmithPaint();
    void FrameResize();
    void ClearChart() override;
    void AddMeasuredPoint(int FreqKHz, int R, int X) override;
    void DrawPending() override;
    void LoadLines(const QStringList &Lines, int Z0) override;
    void ShowFrequency(int FreqKHz) override;
    void RedrawGrid() override;
    void SetBackColor(TColor Color) override;
    void Replot() override;
    void SetReferenceLines(const std::vector<QStringList> &References) override;
    // Takes the field's whole ohms (1 to 10000) as ChImp, stores them and tells OnApply;
    // anything else is refused with a message and the field shows the value in use again.
    // Enter in the field applies too.
    void btnAplyClick();

private:
    std::unique_ptr<TSmithChart> FChart;
    // Kept for a chart made later.
    TColor FBackColor = 0xC0F9FA;
};
