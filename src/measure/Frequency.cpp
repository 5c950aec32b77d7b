#include "measure/Frequency.h"

#include "platform/FloatOps.h"

// The quotient and product in extended precision. The step itself must be the extended
// 0.001: the double 0.001 promoted would put one whole kHz in seven a bit above its value
// (1.1500000000000001 for 1150 kHz), and the cursors, which look a point up by "at or below
// their frequency", would then read the point before it.
double KHzToMHz(double FreqKHz)
{
    constexpr long double kStepMHz = 0.001L;
    const double mhz = FreqKHz / 1000.0;
    const int steps = Round(static_cast<long double>(mhz) / kStepMHz);
    return static_cast<double>(steps * kStepMHz);
}
