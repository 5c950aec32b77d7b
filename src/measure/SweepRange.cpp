#include "measure/SweepRange.h"

#include "platform/FloatOps.h"
#include "platform/Format.h"

#include <cmath>

namespace {

// The sweep command's unit: 10 kHz.
constexpr long double kStepsPerMHz = 100.0L;

std::string RangeText(double MinMHz, double MaxMHz)
{
    return "Range " + FormatFloat("#0.000", MinMHz) + "\u2013" + FormatFloat("#0.000", MaxMHz)
        + " MHz";
}

} // namespace

std::string SweepRangeRefusal(double MinMHz, double MaxMHz)
{
    if (!std::isfinite(MinMHz) || !std::isfinite(MaxMHz))
        return "The frequency range is not a number";
    const std::string Range = RangeText(MinMHz, MaxMHz);
    const std::string Outside
        = Range + " is outside " + RangeText(kAnalyzerMinMHz, kAnalyzerMaxMHz).substr(6);
    if (MinMHz < kAnalyzerMinMHz - 1 || MaxMHz > kAnalyzerMaxMHz + 1)
        return Outside;
    // Rounded as the sweep command rounds them.
    const int MinSteps = Round(static_cast<long double>(MinMHz) * kStepsPerMHz);
    const int MaxSteps = Round(static_cast<long double>(MaxMHz) * kStepsPerMHz);
    if (MinSteps < Round(kAnalyzerMinMHz * kStepsPerMHz)
        || MaxSteps > Round(kAnalyzerMaxMHz * kStepsPerMHz))
        return Outside;
    if (MinSteps >= MaxSteps)
        return Range + " is narrower than one step of 10 kHz";
    return {};
}
