#pragma once

#include <string>
#include <string_view>
#include <vector>

// One-port Touchstone 1.1 files (.s1p), the exchange format of network analyzers and
// antenna modelling programs. The program keeps its measurements as reply lines "kHz R X";
// these routines translate between such lines and a Touchstone file.

// Reads Bytes as a one-port Touchstone file into reply lines "kHz R X" (decimals kept), in
// file order. The option line may give any frequency unit (Hz, kHz, MHz, GHz), parameter S
// or Z (Z normalised to the reference resistance), format RI, MA or DB and any reference
// resistance; case does not matter, comments ('!') and blank lines may stand anywhere. A file
// without an option line is read as the program's own S11 form: MHz, S, RI, reference
// DefaultZ0. A point whose reflection coefficient is exactly 1 (an ideal open) has no finite
// impedance and is left out; Skipped counts such points.
// False with Error naming the first line that does not parse ("line 3: ..."), or saying that
// there is no point at all; Lines is then left empty.
bool ReadTouchstone(std::string_view Bytes, double DefaultZ0, std::vector<std::string> &Lines,
    int &Skipped, std::string &Error);

// What the writer needs to know beyond the lines.
struct TTouchstoneHeader
{
    std::string Program; // first comment line
    std::string Date; // as it is to be read
    double Z0 = 50.0;
};

// A one-port Touchstone 1.1 file of the reply lines: comment lines with program, date, range
// and Z0, the option line "# MHz S RI R <Z0>", then one line per point: frequency in MHz,
// real and imaginary part of the reflection coefficient. Lines whose fields do not convert
// and points that cannot be evaluated are left out; Points counts those written. Every line
// ends with CR LF.
std::string TouchstoneFile(
    const std::vector<std::string> &Lines, const TTouchstoneHeader &Header, int &Points);
