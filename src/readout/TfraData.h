#pragma once

#include "graph/TCursorReadout.h"

#include <QColor>
#include <QFrame>

class QLabel;
class QLineEdit;

// A small filled shape of the readout row: the cursor's colour mark or the SWR warning.
class TShape : public QWidget
{
public:
    enum class TKind
    {
        RoundRect,
        Circle
    };

    TShape(QWidget *Parent, TKind AKind, const QColor &AFill);
    void SetFill(const QColor &AFill);
    QColor Fill() const { return FFill; }

protected:
    void paintEvent(QPaintEvent *Event) override;

private:
    TKind Kind;
    QColor FFill;
};

// One row of numbers under the graph: the values of the measured point at one frequency
// cursor. It only formats what the cursor hands it; a value that cannot be shown reads "E".
class TfraData : public QFrame, public TCursorReadout
{
public:
    // Size of a new row; ResetLayout gives it its working height.
    static constexpr int kInitialWidth = 443;
    static constexpr int kInitialHeight = 21;
    static constexpr int kRowHeight = 22;
    // Every component lies inside this width.
    static constexpr int kContentWidth = 694;

    // A row is made with its Qt parent, which owns it. One made without a parent is a window
    // of its own: it must never be shown before it has been given one.
    explicit TfraData(QWidget *Parent);

    TShape *Shape1 = nullptr;
    QLineEdit *edFrekvence = nullptr;
    QLineEdit *edPSV = nullptr;
    QLineEdit *edZ = nullptr;
    QLineEdit *edRL = nullptr;
    QLineEdit *edPhase = nullptr;
    QLineEdit *edRx = nullptr;
    QLineEdit *edXx = nullptr;
    QLineEdit *edKapacita = nullptr;
    QLineEdit *edIIndukcnost = nullptr;
    QLineEdit *edAny = nullptr;
    // The SWR limit warning, with its hint.
    TShape *Shape2 = nullptr;
    // A reference trace's name, where a cursor's row has its bandwidth or Q; null in a
    // cursor's row.
    QLabel *lbName = nullptr;

    // The last impedance magnitude shown as valid.
    double ZValue = 0.0;
    int RowIndex = 0;

    // The left edge of a field inside the row: the main window lines its column headings up
    // with cursor 2's fields.
    static int FieldLeft(const QWidget *Field);

    void ShowFrekvence(bool Invalid, double MHz) override;
    // At the SWR limit (99 when rounded, halves to even, impedance mode only) the value gets
    // the prefix ">= " and the red circle shows, whether the value is valid or not.
    void ShowPSV(bool Invalid, double Swr) override;
    void ShowZ(bool Invalid, double Ohm) override;
    // Only outside impedance mode; ZValue stays.
    void ShowCableLoss(bool Invalid, double DB) override;
    void ShowRL(bool Invalid, double DB) override;
    void ShowPhase(bool Invalid, double Degrees) override;
    void ShowRx(bool Invalid, double Ohm) override;
    void ShowXx(bool Invalid, double Ohm) override;
    void ShowKapacita(bool Invalid, double PF) override;
    void ShowIndukcnost(bool Invalid, double UH) override;
    void ShowAny(bool Invalid, int Kind, double Value) override;
    void SetMarkColor(TColor Color) override;
    // Index 3 (the minimum-SWR cursor's row) hides the bandwidth/Q field.
    void SetRowIndex(int Index) override;
    // Hides the warning, gives the fields the button-face colour and the row its height, and
    // shows the fields that MeasureMode needs.
    void ResetLayout() override;
    bool GetZ(double &Value) const override;
    // Makes this the row of a reference trace named Name: the name shows at its right end
    // and names its fields for a screen reader.
    void SetReference(const QString &Name);
    // Every field empty, as before the row's cursor was first placed; GetZ has no value.
    void Clear();
    void SetRowVisible(bool Shown) override;
    // Never shows a row without a parent: that would open a window of its own.
    void setVisible(bool Visible) override;

    // The SWR limit test of ShowPSV: any finite value is compared, none raises.
    static bool AtSwrLimit(double Swr);

private:
    bool ZShown = false;

    QLineEdit *MakeField(int Left, int Width);
    // Each field's name for a screen reader: Row, then its column.
    void NameFields(const QString &Row);
    static void ShowValue(QLineEdit *Field, bool Invalid, const char *Pattern, double Value);
};
