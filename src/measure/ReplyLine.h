#pragma once

#include <string_view>

// The analyzer answers every frequency step with one line of three fields separated by
// single spaces: frequency in kHz, resistance R and signed reactance X in ohm. Every user of
// a line reads its fields through this one routine, so they all agree on what a field is.
//
// Field k is the text between the (k-1)-th and the k-th space; the last field runs to the
// end of the line, and text after a third space is ignored. Returns true when field FieldNo
// exists and is a strict decimal number ('.' as separator); Value is left unchanged
// otherwise. Two adjacent spaces make an empty, invalid field.
bool ReadLineField(std::string_view Line, int FieldNo, double &Value);

// The three fields of a line, read in order and stopping at the first that fails.
struct TLineFields
{
    double FreqKHz = 0.0;
    double R = 0.0;
    double X = 0.0;
};
bool ReadLineFields(std::string_view Line, TLineFields &Fields);
