#include "platform/Region.h"

#include <QPolygon>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <vector>

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

namespace {

// No canvas is larger than this, and Qt cannot build a region of a polygon
// much taller (above about 130,000 rows it fails, and leaks).
constexpr double RegionLimit = 32768;

struct TXY {
    double X, Y;
};

// One pass of clipping a closed ring to the side of a line where Inside
// holds. Points inside keep their winding numbers, so the fill inside stays
// as it was for either fill rule.
template <class In, class Cut>
void ClipRing(const std::vector<TXY>& From, std::vector<TXY>& To, In Inside, Cut Crossing) {
    To.clear();
    for (size_t I = 0; I < From.size(); ++I) {
        const TXY& A = From[I == 0 ? From.size() - 1 : I - 1];
        const TXY& B = From[I];
        const bool AIn = Inside(A), BIn = Inside(B);
        if (AIn != BIn) To.push_back(Crossing(A, B));
        if (BIn) To.push_back(B);
    }
}

// The ring cut to the square of +-RegionLimit: what lies beyond can never
// be painted.
QPolygon LimitedPolygon(const TPoint* Points, int Count) {
    bool Within = true;
    for (int I = 0; I < Count && Within; ++I)
        Within = std::abs(static_cast<double>(Points[I].X)) <= RegionLimit &&
                 std::abs(static_cast<double>(Points[I].Y)) <= RegionLimit;
    QPolygon Polygon;
    if (Within) {
        Polygon.reserve(Count);
        for (int I = 0; I < Count; ++I)
            Polygon << QPoint(Points[I].X, Points[I].Y);
        return Polygon;
    }
    std::vector<TXY> Ring(static_cast<size_t>(Count)), Next;
    for (int I = 0; I < Count; ++I)
        Ring[static_cast<size_t>(I)] = {double(Points[I].X), double(Points[I].Y)};
    const double L = RegionLimit;
    auto AtX = [](double X) {
        return [X](const TXY& A, const TXY& B) {
            return TXY{X, A.Y + (B.Y - A.Y) * (X - A.X) / (B.X - A.X)};
        };
    };
    auto AtY = [](double Y) {
        return [Y](const TXY& A, const TXY& B) {
            return TXY{A.X + (B.X - A.X) * (Y - A.Y) / (B.Y - A.Y), Y};
        };
    };
    ClipRing(
        Ring, Next, [L](const TXY& P) { return P.X >= -L; }, AtX(-L));
    ClipRing(
        Next, Ring, [L](const TXY& P) { return P.X <= L; }, AtX(L));
    ClipRing(
        Ring, Next, [L](const TXY& P) { return P.Y >= -L; }, AtY(-L));
    ClipRing(
        Next, Ring, [L](const TXY& P) { return P.Y <= L; }, AtY(L));
    Polygon.reserve(static_cast<int>(Ring.size()));
    for (const TXY& P : Ring)
        Polygon << QPoint(static_cast<int>(std::lround(P.X)), static_cast<int>(std::lround(P.Y)));
    return Polygon;
}

} // namespace

TRgn TRgn::CreatePolygonRgn(const TPoint* Points, int Count, TPolyFillMode Mode) {
    TRgn Result;
    if (!Points || Count < 3) return Result;
    const QPolygon Polygon = LimitedPolygon(Points, Count);
    if (Polygon.size() < 3) return Result;
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
