#include "measure/Globals.h"

int ChImp = 50;
TMeasureMode MeasureMode = mmImpedance;
TColor GraphBackColor = 0xC0F9FA;
bool SmoothCurves = true;
std::function<void(int CursorNo)> OnCursorMoved;
