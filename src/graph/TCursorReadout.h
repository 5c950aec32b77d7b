#pragma once

#include "platform/Color.h"

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
};
