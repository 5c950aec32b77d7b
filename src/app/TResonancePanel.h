#pragma once

#include "measure/Resonances.h"

#include <QDockWidget>

#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The "Resonances" tool window: every SWR dip of the last sweep below an editable threshold,
// one row each, kept up to date as sweeps come in. Choosing a row hands its point to OnSelect.
class TResonancePanel : public QDockWidget
{
public:
    explicit TResonancePanel(QWidget *Parent);

    // The evaluated series of the sweep shown (one value per point).
    void SetSweep(std::vector<double> FrequenciesMHz, std::vector<double> SWR,
        std::vector<double> R, std::vector<double> X);
    double Threshold() const { return FThreshold; }
    const std::vector<TResonance> &Found() const { return FFound; }
    // The table as tab-separated lines, a header line first.
    QString TableText() const;

    // The measured point of the row chosen.
    std::function<void(int Point)> OnSelect;

private:
    void ReadThreshold();
    void Fill();

    QLineEdit *edThreshold = nullptr;
    QTableWidget *tbResonances = nullptr;
    QLabel *lbNoResonance = nullptr;
    QPushButton *btnCopyResonances = nullptr;

    double FThreshold = 2.0;
    std::vector<double> FFrequencies;
    std::vector<double> FSWR;
    std::vector<double> FR;
    std::vector<double> FX;
    std::vector<TResonance> FFound;
};
