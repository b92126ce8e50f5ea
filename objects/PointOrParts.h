#pragma once
// The geometry slot of a map object: nothing, one point held in place, or a
// part list it owns. Most objects of a point layer are one point, so the
// point and the list pointer share the same 16 bytes and a one-byte tag says
// which is there; the list is freed here and only here.

#include "../core/ChartixExport.h"
#include "Parts.h"

#include <cstdint>
#include <memory>

namespace Mapobjects {

/// The geometry slot of a map object: empty, one point held in place, or an owned part
/// list.
class CHARTIX_EXPORT TPointOrParts {
public:
    /// An empty slot.
    TPointOrParts() : FParts(nullptr) {}
    /// Frees the part list, if any.
    ~TPointOrParts() { ReplaceParts(nullptr); }
    TPointOrParts(const TPointOrParts&) = delete;
    TPointOrParts& operator=(const TPointOrParts&) = delete;

    /// Whether the slot holds one point in place (and no part list).
    bool HasPoint() const { return FKind == Point; }
    /// The part list, or null while there is none.
    TParts* Parts() const { return FKind == List ? FParts : nullptr; }
    /// The point held in place; only meaningful while HasPoint.
    const TMapPoint& OnePoint() const { return FPoint; }
    /// Holds (X, Y) as the only point. Must not be called while a part list is
    /// held: its holders would be left with a freed list.
    void SetPoint(double X, double Y) {
        FPoint = TMapPoint{X, Y};
        FKind = Point;
    }
    /// The part list, made on first use: one part of the point held, if any.
    TParts& MakeParts() {
        if (FKind == List) return *FParts;
        auto L = std::make_unique<TParts>();
        if (FKind == Point) L->Add()->Points().Add(FPoint.X, FPoint.Y);
        ReplaceParts(std::move(L));
        return *FParts;
    }
    /// Takes V as the part list (a point held is dropped; null leaves the slot
    /// empty) and hands the previous list back, null when there was none.
    std::unique_ptr<TParts> ReplaceParts(std::unique_ptr<TParts> V) {
        std::unique_ptr<TParts> Old(FKind == List ? FParts : nullptr);
        FKind = V ? List : Empty;
        FParts = V.release();
        return Old;
    }

private:
    union {
        TMapPoint FPoint;
        TParts* FParts;
    };
    enum : std::uint8_t { Empty, Point, List } FKind = Empty;
};

} // namespace Mapobjects
