#pragma once
// A growable array of 32-bit unsigned object ids. Its allocation (the
// capacity) starts at 32 and doubles as Add fills it; element access is
// checked against the allocation, not against Count.

#include "../core/ChartixExport.h"
#include "../platform/Classes.h"

#include <cstdint>
#include <vector>

namespace Mapobjects {

/// A growable array of object ids, used by the spatial index to collect query results.
class CHARTIX_EXPORT TCardinalArray : public Platform::TObject {
public:
    TCardinalArray() : FItems(32) {}
    /// The number of ids stored.
    ///@{
    int Count() const { return FCount; }
    int GetCount() const { return FCount; }
    ///@}
    /// The allocated size; always above Count, since Add keeps a spare slot.
    int Capacity() const { return static_cast<int>(FItems.size()); }
    /// Appends Value (duplicates are kept), doubling the allocation when it runs full.
    void Add(std::uint32_t Value);
    /// Removes all ids and shrinks the allocation back to 32.
    void Clear();
    /// Replaces the contents with the first Count ids of Source (allocated to that size).
    void Copy(const TCardinalArray& Source);
    /// Whether Value is among the first Count ids (a linear search).
    bool Exists(std::uint32_t Value) const;
    /// Removes the id at Index, shifting the rest down; ERangeError unless 0 <= Index < Count.
    void Remove(int Index);
    /// Reads or writes the element at Index; ERangeError outside the allocated array.
    /// Index is checked against Capacity, not Count, so slots past Count are reachable.
    ///@{
    std::uint32_t GetItem(int Index) const;
    void SetItem(int Index, std::uint32_t Value);
    std::uint32_t operator[](int Index) const { return GetItem(Index); }
    ///@}
    /// The first Count elements, for loops that stay inside them anyway.
    const std::uint32_t* Data() const { return FItems.data(); }

private:
    std::vector<std::uint32_t> FItems;
    int FCount = 0;
};

} // namespace Mapobjects
