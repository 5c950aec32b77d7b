#include "measure/Globals.h"

int ChImp = 50;
TMeasureMode MeasureMode = mmImpedance;
bool SmoothCurves = true;
std::function<void(int CursorNo)> OnCursorMoved;
