#pragma once
// Platform polygon regions: built from a point block with a fill mode,
// combined (XOR makes holes), painted with a canvas's brush.

#include "PlatformExport.h"
#include "Types.h"

#include <memory>

class QRegion;

namespace Platform {

enum TPolyFillMode { ALTERNATE = 1, WINDING = 2 };
enum TCombineMode { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
/// Results of a combination, as the GDI reports them.
enum TRegionKind { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

class CHARTIX_PLATFORM_EXPORT TRgn {
public:
    TRgn();
    ~TRgn();
    TRgn(TRgn&&) noexcept;
    TRgn& operator=(TRgn&&) noexcept;
    static TRgn CreatePolygonRgn(const TPoint* Points, int Count, TPolyFillMode Mode);
    static TRgn CreateRectRgn(int Left, int Top, int Right, int Bottom);
    /// Combines this region with Other in place; returns the kind of the result.
    TRegionKind Combine(const TRgn& Other, TCombineMode Mode);
    TRegionKind Kind() const;
    bool IsEmpty() const;
    bool Contains(int X, int Y) const;
    const QRegion& Region() const { return *FRegion; }

private:
    std::unique_ptr<QRegion> FRegion;
};

} // namespace Platform
