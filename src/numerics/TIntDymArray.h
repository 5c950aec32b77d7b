#pragma once

#include <cstdint>
#include <vector>

// A growable list of 32-bit integers that grows 100 items at a time. A bad index raises
// EKivraError("20517").
class TIntDymArray
{
public:
    static constexpr int GrowBy = 100;

    TIntDymArray() = default;

    // Appends a 0 and returns a reference to it (valid until the array grows again).
    std::int32_t &Add();
    // Appends N zeros; N <= 0 appends nothing.
    void AddZeros(int N);

    // 0-based, bounds-tested.
    std::int32_t &ItemRef(int Index)
    {
        CheckIndex(Index);
        return Items[static_cast<std::size_t>(Index)];
    }
    const std::int32_t &ItemRef(int Index) const
    {
        CheckIndex(Index);
        return Items[static_cast<std::size_t>(Index)];
    }

    // 1-based read and write through ItemRef(I - 1).
    // I - 1 must not overflow for the smallest int: such an index is out of range anyway.
    std::int32_t GetItem(int I) const
    {
        if (I <= 0)
            RaiseIndexError();
        return ItemRef(I - 1);
    }
    void SetItem(int I, std::int32_t Value)
    {
        if (I <= 0)
            RaiseIndexError();
        ItemRef(I - 1) = Value;
    }

    int Count() const { return FCount; }
    int Capacity() const { return FCapacity; }

private:
    void CheckIndex(int Index) const
    {
        if (Index < 0 || Index >= FCount)
            RaiseIndexError();
    }
    [[noreturn]] static void RaiseIndexError();

    // Holds FCapacity items, the unused ones zero.
    std::vector<std::int32_t> Items;
    int FCount = 0;
    int FCapacity = 0;
};
