#include "platform/FloatOps.h"

#include "platform/Errors.h"

#include <cmath>
#include <limits>

const char *const kZeroDivideMessage = "Floating point division by zero";
const char *const kInvalidOpMessage = "Invalid floating point operation";
const char *const kOverflowMessage = "Floating point overflow";

namespace {

template <typename F> int RoundWith(F Value, F (*Op)(F))
{
    if (std::isnan(Value))
        throw EFloatError(kInvalidOpMessage);
    const F r = Op(Value);
    if (!(r >= static_cast<F>(std::numeric_limits<int>::min())
            && r <= static_cast<F>(std::numeric_limits<int>::max())))
        throw EFloatError(kInvalidOpMessage);
    return static_cast<int>(r);
}

double TruncD(double v) { return std::trunc(v); }

} // namespace

void RaiseInvalidOp() { throw EFloatError(kInvalidOpMessage); }

int Trunc(double Value) { return RoundWith<double>(Value, TruncD); }

double FDiv(double A, double B)
{
    if (std::isnan(A) || std::isnan(B))
        throw EFloatError(kInvalidOpMessage);
    if (B == 0.0)
        throw EFloatError(A == 0.0 ? kInvalidOpMessage : kZeroDivideMessage);
    return FCheck(A / B);
}

long double FDiv(long double A, long double B)
{
    if (std::isnan(A) || std::isnan(B))
        throw EFloatError(kInvalidOpMessage);
    if (B == 0.0L)
        throw EFloatError(A == 0.0L ? kInvalidOpMessage : kZeroDivideMessage);
    const long double q = A / B;
    if (std::isinf(q))
        throw EFloatError(kOverflowMessage);
    return q;
}

double FSqrt(double Value)
{
    if (std::isnan(Value) || Value < 0.0)
        throw EFloatError(kInvalidOpMessage);
    return FCheck(std::sqrt(Value));
}

double FLog10(double Value)
{
    if (std::isnan(Value) || Value < 0.0)
        throw EFloatError(kInvalidOpMessage);
    if (Value == 0.0)
        throw EFloatError(kZeroDivideMessage);
    return FCheck(std::log10(Value));
}

double FLn(double Value)
{
    if (std::isnan(Value) || Value < 0.0)
        throw EFloatError(kInvalidOpMessage);
    if (Value == 0.0)
        throw EFloatError(kZeroDivideMessage);
    return FCheck(std::log(Value));
}

void RaiseNotFinite(double Value)
{
    if (std::isnan(Value))
        throw EFloatError(kInvalidOpMessage);
    throw EFloatError(kOverflowMessage);
}
