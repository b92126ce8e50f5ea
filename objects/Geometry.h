#pragma once
// Reading an object's geometry without touching it: a view over its parts
// that never allocates, so a loop over a layer of a million points keeps the
// layer's memory as it was.

#include "../core/ChartixExport.h"
#include "Parts.h"

#include <cstddef>
#include <span>

namespace Mapobjects {

/// A read-only view of an object's geometry (TCustomMapObject::Geometry): its parts, each a
/// run of points. Making and reading it allocates nothing: a one-point object's point is read
/// where the object keeps it. Valid while the object's geometry is left as it is.
class CHARTIX_EXPORT TGeometryView {
public:
    /// No parts.
    TGeometryView() = default;
    /// The parts of Parts (null: none).
    explicit TGeometryView(const TParts* Parts) : FParts(Parts) {}
    /// One part of one point.
    explicit TGeometryView(const TMapPoint& Point) : FPoint(&Point) {}

    /// The number of parts.
    int PartCount() const { return FParts ? FParts->Count() : FPoint ? 1 : 0; }
    /// The points of the part at Index; EListError outside 0..PartCount-1.
    std::span<const TMapPoint> Part(int Index) const;
    /// The number of points of all parts together.
    int PointCount() const;
    /// Whether there is no point at all.
    bool Empty() const { return PointCount() == 0; }

    /// Iteration over the parts, each a std::span of its points.
    class const_iterator {
    public:
        /// The part this position stands at.
        std::span<const TMapPoint> operator*() const { return FView->Part(FIndex); }
        /// The next part.
        const_iterator& operator++() {
            ++FIndex;
            return *this;
        }
        /// Positions compare by part index.
        bool operator==(const const_iterator&) const = default;

    private:
        friend class TGeometryView;
        const_iterator(const TGeometryView* View, int Index) : FView(View), FIndex(Index) {}
        const TGeometryView* FView;
        int FIndex;
    };
    /// The first part.
    const_iterator begin() const { return const_iterator(this, 0); }
    /// Past the last part.
    const_iterator end() const { return const_iterator(this, PartCount()); }

private:
    const TParts* FParts = nullptr;
    const TMapPoint* FPoint = nullptr;
};

} // namespace Mapobjects
