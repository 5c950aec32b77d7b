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

void RaiseQuotientFault(long double A, long double B)
{
    if (std::isnan(A) || std::isnan(B))
        throw EFloatError(kInvalidOpMessage);
    throw EFloatError(A == 0.0L ? kInvalidOpMessage : kZeroDivideMessage);
}

void RaiseZeroDivide() { throw EFloatError(kZeroDivideMessage); }

void RaiseOverflow() { throw EFloatError(kOverflowMessage); }

void RaiseNotFinite(double Value)
{
    if (std::isnan(Value))
        throw EFloatError(kInvalidOpMessage);
    throw EFloatError(kOverflowMessage);
}
