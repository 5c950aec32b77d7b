#pragma once

#include <stdexcept>
#include <string>

// An error that carries the text the user is shown ("20522", "Unable to write to ...").
class EKivraError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A floating-point fault (division by zero, invalid operation, overflow). C++ arithmetic
// yields infinities and NaNs instead; the checked operations in FloatOps.h raise this so
// that the places that expect a fault can catch exactly it.
class EFloatError : public EKivraError
{
public:
    using EKivraError::EKivraError;
};

// Text that is not a number where one was required.
class EConvertError : public EKivraError
{
public:
    using EKivraError::EKivraError;
};
