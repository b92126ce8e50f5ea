#pragma once
// A growable array of 32-bit unsigned object ids. Its allocation (the
// capacity) starts at 32 and doubles as Add fills it; element access is
// checked against the allocation, not against Count.

#include "../core/ChartixExport.h"
#include "../platform/Classes.h"

#include <cstdint>
#include <vector>

namespace Mapobjects {

class CHARTIX_EXPORT TCardinalArray : public Platform::TObject {
public:
    TCardinalArray() : FItems(32) {}
    int Count() const { return FCount; }
    int GetCount() const { return FCount; }
    int Capacity() const { return static_cast<int>(FItems.size()); }
    void Add(std::uint32_t Value);
    void Clear();
    void Copy(const TCardinalArray& Source);
    bool Exists(std::uint32_t Value) const;
    void Remove(int Index);
    /// ERangeError outside the allocated array.
    std::uint32_t GetItem(int Index) const;
    void SetItem(int Index, std::uint32_t Value);
    std::uint32_t operator[](int Index) const { return GetItem(Index); }
    /// The first Count elements, for loops that stay inside them anyway.
    const std::uint32_t* Data() const { return FItems.data(); }

private:
    std::vector<std::uint32_t> FItems;
    int FCount = 0;
};

} // namespace Mapobjects
