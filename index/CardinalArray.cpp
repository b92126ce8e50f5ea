#include "index/CardinalArray.h"

#include "platform/SysUtils.h"

#include <algorithm>

namespace Mapobjects {

namespace {

constexpr int InitialCapacity = 32;

[[noreturn]] void RangeError() {
    throw Platform::ERangeError("Range check error");
}

} // namespace

void TCardinalArray::Add(std::uint32_t Value) {
    int Capacity = this->Capacity();
    // Doubling is triggered one slot early, so there is always a spare slot.
    if (Capacity == FCount + 1) Capacity = 2 * FCount;
    // A copied array is allocated to its exact size, and tiny arrays double to
    // too little: give those room for the value and one spare slot as well.
    if (Capacity < FCount + 2) Capacity = std::max(2 * FCount, FCount + 2);
    if (Capacity != this->Capacity()) FItems.resize(static_cast<size_t>(Capacity));
    FItems[static_cast<size_t>(FCount)] = Value;
    ++FCount;
}

void TCardinalArray::Clear() {
    std::vector<std::uint32_t>(InitialCapacity).swap(FItems);
    FCount = 0;
}

void TCardinalArray::Copy(const TCardinalArray& Source) {
    if (&Source == this) return;
    FItems.assign(Source.FItems.begin(), Source.FItems.begin() + Source.FCount);
    FCount = Source.FCount;
}

bool TCardinalArray::Exists(std::uint32_t Value) const {
    const auto End = FItems.begin() + FCount;
    return std::find(FItems.begin(), End, Value) != End;
}

void TCardinalArray::Remove(int Index) {
    if (Index < 0 || Index >= FCount) RangeError();
    std::copy(FItems.begin() + Index + 1, FItems.begin() + FCount, FItems.begin() + Index);
    --FCount;
}

std::uint32_t TCardinalArray::GetItem(int Index) const {
    if (Index < 0 || Index >= Capacity()) RangeError();
    return FItems[static_cast<size_t>(Index)];
}

void TCardinalArray::SetItem(int Index, std::uint32_t Value) {
    if (Index < 0 || Index >= Capacity()) RangeError();
    FItems[static_cast<size_t>(Index)] = Value;
}

} // namespace Mapobjects
