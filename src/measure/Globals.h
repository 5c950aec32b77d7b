#pragma once

#include <functional>

// Program-wide values shared by the graph, the measurement engine, the Smith chart and the
// main window. They live below every widget library so each of those can read them.

enum TMeasureMode
{
    mmImpedance,
    mmCableLoss,
    mmCableLength
};

// Characteristic impedance in whole ohms ("CH_IMP").
extern int ChImp;
extern TMeasureMode MeasureMode;
// State of the smoothing check box.
extern bool SmoothCurves;
// Called by a frequency cursor (1 or 2) after it moved; installed by the main window.
extern std::function<void(int CursorNo)> OnCursorMoved;
