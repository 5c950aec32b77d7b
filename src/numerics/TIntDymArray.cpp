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

std::int32_t TIntDymArray::GetItem(int I) const
{
    // I - 1 must not overflow for the smallest int: such an index is out of range anyway.
    if (I <= 0)
        RaiseIndexError();
    return ItemRef(I - 1);
}

void TIntDymArray::SetItem(int I, std::int32_t Value)
{
    if (I <= 0)
        RaiseIndexError();
    ItemRef(I - 1) = Value;
}

void TIntDymArray::RaiseIndexError() { throw EKivraError("20517"); }
