#pragma once

#include <cmath>

// Checked arithmetic: every operation that the program expects to be able to fail goes
// through one of these, so a fault becomes an EFloatError instead of a NaN on screen.

extern const char *const kZeroDivideMessage;
extern const char *const kInvalidOpMessage;
extern const char *const kOverflowMessage;

// Raises EFloatError for an invalid operation.
[[noreturn]] void RaiseInvalidOp();

// Nearest integer, halves to even (0.5 -> 0, 1.5 -> 2, -2.5 -> -2). NaN, infinity or a
// value outside the 32-bit range raises EFloatError. Inline: every curve point is placed
// through here.
inline int Round(double Value)
{
    const double R = std::nearbyint(Value);
    if (!(R >= -2147483648.0 && R <= 2147483647.0))
        RaiseInvalidOp();
    return static_cast<int>(R);
}

// rint rounds exactly as nearbyint under the default rounding mode, which the program never
// changes; nearbyintl saves and restores the x87 environment on every call.
inline int Round(long double Value)
{
    const long double R = std::rint(Value);
    if (!(R >= -2147483648.0L && R <= 2147483647.0L))
        RaiseInvalidOp();
    return static_cast<int>(R);
}

// Towards zero, with the same fault rules as Round.
int Trunc(double Value);

// a / b: b == 0 raises (0/0 as an invalid operation); an infinite quotient raises overflow.
double FDiv(double A, double B);
long double FDiv(long double A, long double B);

// Square root; a negative argument raises.
double FSqrt(double Value);

// Common logarithm; zero raises division by zero, a negative argument an invalid operation.
double FLog10(double Value);

// Natural logarithm, same rules as FLog10.
double FLn(double Value);

// Raises EFloatError for NaN (invalid operation) or an infinity (overflow).
[[noreturn]] void RaiseNotFinite(double Value);

// Raises when Value is NaN (invalid operation) or infinite (overflow); returns it otherwise.
// Inline: the point formulas check every step of every point with it.
inline double FCheck(double Value)
{
    if (!std::isfinite(Value))
        RaiseNotFinite(Value);
    return Value;
}
