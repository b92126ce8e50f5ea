#include "objects/Geometry.h"

#include "platform/Classes.h"

namespace Mapobjects {

std::span<const TMapPoint> TGeometryView::Part(int Index) const {
    if (FParts) {
        const TMapPoints& Points = FParts->Items(Index)->Points();
        return {Points.Data(), static_cast<size_t>(Points.Count())};
    }
    if (!FPoint || Index != 0) Platform::ListIndexError(Index);
    return {FPoint, 1};
}

int TGeometryView::PointCount() const {
    if (!FParts) return FPoint ? 1 : 0;
    return FParts->PointCount();
}

} // namespace Mapobjects
