#include "numerics/TDoubleArray.h"

#include "platform/Errors.h"

void TDoubleArray::Clear()
{
    std::vector<double>().swap(Items);
    FCount = 0;
    FAllocated = 0;
}

void TDoubleArray::Reserve(int N)
{
    if (N > 0)
        Items.reserve(static_cast<std::size_t>(N));
}

void TDoubleArray::SetCount(int N)
{
    // The same outcome as Clear followed by N appends, without giving the storage back.
    const int n = N > 0 ? N : 0;
    Items.assign(static_cast<std::size_t>(n), 0.0);
    FCount = n;
    FAllocated = static_cast<std::int64_t>(FCount) * ElementSize;
    if (n == 0)
        Clear();
}

void TDoubleArray::RaiseIndexError() { throw EKivraError("20522"); }
