#pragma once
// Platform polygon regions: built from a point block with a fill mode,
// combined (XOR makes holes), painted with a canvas's brush.

#include "PlatformExport.h"
#include "Types.h"

#include <memory>

class QRegion;

namespace Platform {

/// How a self-crossing ring is filled: by the even-odd rule (ALTERNATE) or
/// the non-zero winding rule (WINDING).
enum TPolyFillMode { ALTERNATE = 1, WINDING = 2 };
/// How Combine joins two regions: intersection, union, exclusive or,
/// difference, or a copy of the other.
enum TCombineMode { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
/// Results of a combination, as the GDI reports them.
enum TRegionKind { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

/// A set of pixels built from polygons and rectangles; movable, not copyable.
class CHARTIX_PLATFORM_EXPORT TRgn {
public:
    /// An empty region.
    TRgn();
    ~TRgn();
    /// Takes Other's pixels; Other is left empty.
    ///@{
    TRgn(TRgn&&) noexcept;
    TRgn& operator=(TRgn&&) noexcept;
    ///@}
    /// The region of a closed ring of Count points filled by Mode; empty for fewer than 3 points.
    static TRgn CreatePolygonRgn(const TPoint* Points, int Count, TPolyFillMode Mode);
    /// The region of a rectangle, right and bottom edge excluded; corners in either order.
    static TRgn CreateRectRgn(int Left, int Top, int Right, int Bottom);
    /// Combines this region with Other in place; returns the kind of the result.
    TRegionKind Combine(const TRgn& Other, TCombineMode Mode);
    /// Whether the region is empty, one rectangle or more.
    TRegionKind Kind() const;
    /// True when the region holds no pixel.
    bool IsEmpty() const;
    /// True when pixel (X, Y) is in the region.
    bool Contains(int X, int Y) const;
    /// The region as Qt holds it.
    const QRegion& Region() const { return *FRegion; }

private:
    std::unique_ptr<QRegion> FRegion;
};

} // namespace Platform
