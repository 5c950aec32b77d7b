#pragma once

#include <string>

// The frequencies the analyzer sweeps, in MHz. Its commands count in 10 kHz steps from 1 to
// 30 MHz; a range outside that, or one that rounds to no step at all, it refuses.
constexpr double kAnalyzerMinMHz = 1.0;
constexpr double kAnalyzerMaxMHz = 30.0;

// Why the analyzer would refuse a sweep from MinMHz to MaxMHz, for the status bar; empty when
// it takes it.
std::string SweepRangeRefusal(double MinMHz, double MaxMHz);
