#pragma once

#include <cmath>

// Checked arithmetic: every operation that the program expects to be able to fail goes
// through one of these, so a fault becomes an EFloatError instead of a NaN on screen. The
// checks are inline, since the point formulas and the curves run through them at every
// point; only raising is out of line.

extern const char *const kZeroDivideMessage;
extern const char *const kInvalidOpMessage;
extern const char *const kOverflowMessage;

// Raise EFloatError for an invalid operation, a division by zero, an overflow.
[[noreturn]] void RaiseInvalidOp();
[[noreturn]] void RaiseZeroDivide();
[[noreturn]] void RaiseOverflow();
// The fault of A / B when either is NaN (an invalid operation) or B is zero (0/0 an invalid
// operation, any other a division by zero).
[[noreturn]] void RaiseQuotientFault(long double A, long double B);
// Raises EFloatError for NaN (invalid operation) or an infinity (overflow).
[[noreturn]] void RaiseNotFinite(double Value);

// Nearest integer, halves to even (0.5 -> 0, 1.5 -> 2, -2.5 -> -2). NaN, infinity or a
// value outside the 32-bit range raises EFloatError.
inline int Round(double Value)
{
    const double R = std::nearbyint(Value);
    if (!(R >= -2147483648.0 && R <= 2147483647.0))
        RaiseInvalidOp();
    return static_cast<int>(R);
}

// rint rounds exactly as nearbyint under the default rounding mode, which the program never
// changes; nearbyintl saves and restores the x87 environment on every call. The whole number
// goes to int through double, where it is exact: converting an extended value to an integer
// directly switches the x87 rounding mode twice, which costs more than all the rest.
inline int Round(long double Value)
{
    const long double R = std::rint(Value);
    if (!(R >= -2147483648.0L && R <= 2147483647.0L))
        RaiseInvalidOp();
    return static_cast<int>(static_cast<double>(R));
}

// Towards zero, with the same fault rules as Round.
int Trunc(double Value);

// Raises when Value is NaN (invalid operation) or infinite (overflow); returns it otherwise.
inline double FCheck(double Value)
{
    if (!std::isfinite(Value))
        RaiseNotFinite(Value);
    return Value;
}

// a / b: b == 0 raises (0/0 as an invalid operation); an infinite quotient raises overflow.
inline double FDiv(double A, double B)
{
    if (std::isnan(A) || std::isnan(B) || B == 0.0)
        RaiseQuotientFault(A, B);
    return FCheck(A / B);
}

inline long double FDiv(long double A, long double B)
{
    if (std::isnan(A) || std::isnan(B) || B == 0.0L)
        RaiseQuotientFault(A, B);
    const long double q = A / B;
    if (std::isinf(q))
        RaiseOverflow();
    return q;
}

// Square root; a negative argument raises.
inline double FSqrt(double Value)
{
    if (std::isnan(Value) || Value < 0.0)
        RaiseInvalidOp();
    return FCheck(std::sqrt(Value));
}

// Common logarithm; zero raises division by zero, a negative argument an invalid operation.
inline double FLog10(double Value)
{
    if (std::isnan(Value) || Value < 0.0)
        RaiseInvalidOp();
    if (Value == 0.0)
        RaiseZeroDivide();
    return FCheck(std::log10(Value));
}

// Natural logarithm, same rules as FLog10.
inline double FLn(double Value)
{
    if (std::isnan(Value) || Value < 0.0)
        RaiseInvalidOp();
    if (Value == 0.0)
        RaiseZeroDivide();
    return FCheck(std::log(Value));
}
