#include "numerics/TIntDymArray.h"

#include "platform/Errors.h"

std::int32_t &TIntDymArray::Add()
{
    if (FCapacity <= FCount) {
        FCapacity += GrowBy;
        Items.resize(static_cast<std::size_t>(FCapacity), 0);
    }
    std::int32_t &item = Items[static_cast<std::size_t>(FCount)];
    item = 0;
    ++FCount;
    return item;
}

void TIntDymArray::AddZeros(int N)
{
    for (int i = 0; i < N; ++i)
        Add();
}

void TIntDymArray::RaiseIndexError() { throw EKivraError("20517"); }
