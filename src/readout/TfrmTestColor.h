#pragma once

#include <QFrame>

class QLabel;

// The colour legend of the three bridge voltages, as raw A/D values and as output voltages.
// It shows no values; the main window colours the six voltage labels.
class TfrmTestColor : public QFrame
{
public:
    static constexpr int kInitialWidth = 115;
    static constexpr int kInitialHeight = 203;

    // Without a parent the legend is a window of its own: keep it hidden then.
    explicit TfrmTestColor(QWidget *Parent);

    QLabel *Label4 = nullptr;
    QLabel *lbU1 = nullptr;
    QLabel *lbU2 = nullptr;
    QLabel *lbU3 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *lbU1v = nullptr;
    QLabel *lbU2v = nullptr;
    QLabel *lbU3v = nullptr;

    // Shows only while it has a parent.
    void setVisible(bool Visible) override;
};
