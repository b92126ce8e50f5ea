#include "platform/Region.h"

#include <QPolygon>
#include <QRegion>
#include <algorithm>

namespace Platform {

TRgn::TRgn() : FRegion(std::make_unique<QRegion>()) {}

TRgn::~TRgn() = default;

// A moved-from region stays usable: it is empty.
TRgn::TRgn(TRgn&& Other) noexcept : FRegion(std::make_unique<QRegion>()) {
    FRegion.swap(Other.FRegion);
}

TRgn& TRgn::operator=(TRgn&& Other) noexcept {
    if (this != &Other) {
        FRegion->swap(*Other.FRegion);
        *Other.FRegion = QRegion();
    }
    return *this;
}

TRgn TRgn::CreatePolygonRgn(const TPoint* Points, int Count, TPolyFillMode Mode) {
    TRgn Result;
    if (!Points || Count < 3) return Result;
    QPolygon Polygon;
    Polygon.reserve(Count);
    for (int I = 0; I < Count; ++I)
        Polygon << QPoint(Points[I].X, Points[I].Y);
    *Result.FRegion = QRegion(Polygon, Mode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    return Result;
}

TRgn TRgn::CreateRectRgn(int Left, int Top, int Right, int Bottom) {
    TRgn Result;
    if (Left > Right) std::swap(Left, Right);
    if (Top > Bottom) std::swap(Top, Bottom);
    if (Left < Right && Top < Bottom)
        *Result.FRegion = QRegion(QRect(Left, Top, Right - Left, Bottom - Top));
    return Result;
}

TRegionKind TRgn::Combine(const TRgn& Other, TCombineMode Mode) {
    const QRegion& B = *Other.FRegion;
    switch (Mode) {
    case RGN_AND:
        *FRegion = FRegion->intersected(B);
        break;
    case RGN_OR:
        *FRegion = FRegion->united(B);
        break;
    case RGN_XOR:
        *FRegion = FRegion->xored(B);
        break;
    case RGN_DIFF:
        *FRegion = FRegion->subtracted(B);
        break;
    case RGN_COPY:
        *FRegion = B;
        break;
    default:
        return RGN_ERROR;
    }
    return Kind();
}

TRegionKind TRgn::Kind() const {
    if (FRegion->isEmpty()) return NULLREGION;
    return FRegion->rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool TRgn::IsEmpty() const {
    return FRegion->isEmpty();
}

bool TRgn::Contains(int X, int Y) const {
    return FRegion->contains(QPoint(X, Y));
}

} // namespace Platform
