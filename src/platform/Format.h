#pragma once

#include <string>
#include <string_view>

// Display and file formatting as the program's numbers are shown to users and written to
// files: the point is always the decimal separator, whatever the process locale.

// Pattern-driven formatting: '0' is a digit always shown, '#' an optional digit, '.' the
// decimal point, any other character inside the digit run is copied at its place
// ("#0.000 000"). Rounds the exact binary value to the shown decimals, halves away from zero.
std::string FormatFloat(std::string_view Pattern, double Value);

// Shortest text of at most 15 significant digits without trailing zeros (1, 1.2, 37.5).
std::string FloatToStr(double Value);

std::string IntToStr(long long Value);
