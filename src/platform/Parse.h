#pragma once

#include <string>
#include <string_view>

// Strict text-to-number conversion for reply lines, configuration values and edit fields:
// optional sign, digits with an optional '.' fraction, optional exponent; nothing else
// (no blanks, comma, nan, inf or hex). Independent of the process locale.

bool TryStrToFloat(std::string_view Text, double &Value);

// Raises EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(std::string_view Text);

// Optional sign and decimal digits within the signed 32-bit range.
bool TryStrToInt(std::string_view Text, int &Value);

// Raises EConvertError "'<text>' is not a valid integer value".
int StrToInt(std::string_view Text);
