#pragma once

#include "platform/Color.h"

#include <functional>

// What a frequency cursor shows its measured point in: one readout row. The row widget
// implements it; Invalid true means the field shows "E" instead of the value.
class TCursorReadout
{
public:
    virtual ~TCursorReadout() = default;

    virtual void ShowFrekvence(bool Invalid, double MHz) = 0;
    virtual void ShowPSV(bool Invalid, double Swr) = 0;
    virtual void ShowZ(bool Invalid, double Ohm) = 0;
    virtual void ShowCableLoss(bool Invalid, double DB) = 0;
    virtual void ShowRL(bool Invalid, double DB) = 0;
    virtual void ShowPhase(bool Invalid, double Degrees) = 0;
    virtual void ShowRx(bool Invalid, double Ohm) = 0;
    virtual void ShowXx(bool Invalid, double Ohm) = 0;
    virtual void ShowKapacita(bool Invalid, double PF) = 0;
    virtual void ShowIndukcnost(bool Invalid, double UH) = 0;
    // Kind 1 a bandwidth in MHz, 2 a Q, anything else empties the field.
    virtual void ShowAny(bool Invalid, int Kind, double Value) = 0;
    // The colour mark of the row.
    virtual void SetMarkColor(TColor Color) = 0;
    virtual void SetRowIndex(int Index) = 0;
    virtual void ResetLayout() = 0;

    // The impedance magnitude last shown as valid; false and 0 while the Z field shows "E".
    virtual bool GetZ(double &Value) const
    {
        Value = 0.0;
        return false;
    }
    // Shows or hides the whole row; the graph model hides the rows of cursors 1 and 2 until
    // the main window has laid them out.
    virtual void SetRowVisible(bool Shown) { static_cast<void>(Shown); }
};

// Makes the readout row of cursor CursorIndex (0 the minimum-SWR cursor, 1 and 2 the
// draggable ones) while the graph model is built. The row belongs to whoever made it (a
// widget row to its Qt parent); the cursor only links it. An empty factory, or one that
// answers null, leaves the cursor without a row: it then shows nothing.
using TReadoutFactory = std::function<TCursorReadout *(int CursorIndex)>;
