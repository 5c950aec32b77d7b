#pragma once

#include <cstdint>
#include <vector>

// The program's growable list of doubles: every series of a sweep and the tick positions
// of the axes live in one. A bad index raises EKivraError("20522"), which callers rely on.
//
// Storage grows in amortised steps; the logical allocation (count x 8 bytes after every
// append, 0 after Clear) is kept as a separate figure because the index check tests it.
class TDoubleArray
{
public:
    static constexpr int ElementSize = 8;

    TDoubleArray() = default;

    // Releases the storage; count and allocation become 0.
    void Clear();
    // Inline: a sweep's evaluation appends a dozen series point by point.
    void Add(double Value)
    {
        Items.push_back(Value);
        ++FCount;
        FAllocated = static_cast<std::int64_t>(FCount) * ElementSize;
    }
    // Room for N items in all, so that appending up to them moves nothing; count and the
    // logical allocation stay as they are.
    void Reserve(int N);
    // Clear, then N zeros (N <= 0 leaves the array empty).
    void SetCount(int N);

    int Count() const { return FCount; }
    // Bytes logically allocated: Count() x 8 after an append or SetCount, 0 after Clear.
    std::int64_t Allocated() const { return FAllocated; }

    // 0-based, bounds-tested. The reference is valid until the next Add, SetCount or Clear.
    double &ItemRef(int Index)
    {
        CheckIndex(Index);
        return Items[static_cast<std::size_t>(Index)];
    }
    const double &ItemRef(int Index) const
    {
        CheckIndex(Index);
        return Items[static_cast<std::size_t>(Index)];
    }
    double Item(int Index) const { return ItemRef(Index); }

    // The Count() items in order, for loops that have already checked their range.
    const double *Data() const { return Items.data(); }
    double *Data() { return Items.data(); }

private:
    void CheckIndex(int Index) const
    {
        if (Index < 0 || Index >= FCount
            || static_cast<std::int64_t>(Index) * ElementSize >= FAllocated)
            RaiseIndexError();
    }
    [[noreturn]] static void RaiseIndexError();

    std::vector<double> Items;
    int FCount = 0;
    std::int64_t FAllocated = 0;
};
