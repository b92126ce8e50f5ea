#include "core/PreciseHit.h"

#include "objects/Polys.h"

#include <algorithm>
#include <cmath>

namespace Mapobjects {

namespace {

double SegmentDistance(const TMapPoint& A, const TMapPoint& B, double X, double Y) {
    const double DX = B.X - A.X, DY = B.Y - A.Y;
    const double Len2 = DX * DX + DY * DY;
    double T = Len2 > 0 ? ((X - A.X) * DX + (Y - A.Y) * DY) / Len2 : 0;
    T = std::clamp(T, 0.0, 1.0);
    return std::hypot(X - (A.X + T * DX), Y - (A.Y + T * DY));
}

bool NearPath(const TMapPoints& Points, double X, double Y, double Tolerance, bool Closed) {
    const int N = Points.Count();
    if (N == 1) return std::hypot(X - Points.GetPoint(0).X, Y - Points.GetPoint(0).Y) <= Tolerance;
    for (int I = 1; I < N; ++I)
        if (SegmentDistance(Points.GetPoint(I - 1), Points.GetPoint(I), X, Y) <= Tolerance)
            return true;
    return Closed && N > 2 &&
           SegmentDistance(Points.GetPoint(N - 1), Points.GetPoint(0), X, Y) <= Tolerance;
}

// Crossings of a rightward ray from (X, Y) with the ring's edges: an odd sum
// over all rings is inside, holes and overlaps cancelling as the fill does.
int Crossings(const TMapPoints& Points, double X, double Y) {
    const int N = Points.Count();
    int Count = 0;
    for (int I = 0, J = N - 1; I < N; J = I++) {
        const TMapPoint& A = Points.GetPoint(I);
        const TMapPoint& B = Points.GetPoint(J);
        if ((A.Y > Y) != (B.Y > Y) && X < (B.X - A.X) * (Y - A.Y) / (B.Y - A.Y) + A.X) ++Count;
    }
    return Count;
}

} // namespace

bool HitsPrecisely(TCustomMapObject& Object, double X, double Y, double Tolerance) {
    const bool Region = dynamic_cast<TRegion*>(&Object) != nullptr;
    if (!Region && !dynamic_cast<TPolyline*>(&Object)) return Object.ContainsPoint(X, Y);
    const TBounds B = Object.GetBounds();
    if (X < B.MinX - Tolerance || X > B.MaxX + Tolerance || Y < B.MinY - Tolerance ||
        Y > B.MaxY + Tolerance)
        return false;
    const TParts& Parts = Object.Parts();
    int Crossed = 0;
    for (int P = 0; P < Parts.Count(); ++P) {
        const TMapPoints& Points = Parts.Items(P)->Points();
        if (NearPath(Points, X, Y, Tolerance, Region)) return true;
        if (Region) Crossed += Crossings(Points, X, Y);
    }
    return (Crossed & 1) != 0;
}

} // namespace Mapobjects
