#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The byte-level side of the measurement files. Files are 8-bit text: one byte per
// character, every line ended by CR LF.

// Cuts the bytes of a raw line file into lines: CR, LF and the pair CR LF each end one line
// (LF followed by CR is two ends), a last line without an end is taken too, and empty lines
// are kept. Any byte value is allowed; nothing is dropped but the line ends.
std::vector<std::string> SplitFileLines(std::string_view Bytes);

// The line of an S11 (Separator ' ') or ZPlots (',') file for one reply line: frequency in
// MHz "#000.00000", the real and imaginary part of the reflection coefficient against Z0
// "#0.000000", without the line end. False when a field of the line does not convert; a
// floating-point fault of the evaluation raises EFloatError.
bool FormatGammaLine(std::string_view ReplyLine, char Separator, double Z0, std::string &Out);

// The whole S11 or ZPlots file of the reply lines, every line ended by CR LF. Lines whose
// fields do not convert and points the formulas cannot evaluate (Z0 = 0, a load of exactly
// -Z0) are left out, as the graph leaves them out; Rows counts the lines written.
std::string GammaFile(const std::vector<std::string> &Lines, char Separator, double Z0, int &Rows);

// The longest sweep gives a file of under 60 kB; anything past this size is not a
// measurement and is refused before it is read.
constexpr std::int64_t kMaxMeasurementFileBytes = 4 * 1024 * 1024;
