// The geometry a map object is written as: OGR geometries of its parts,
// rings grouped into polygons as the region fills them.

#include "gdal/WriteGeometry.h"

#include "objects/Multi.h"
#include "objects/NoGeometry.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "objects/Text.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>
#include <vector>

namespace Mapobjects::Gdal {

namespace {

// A geometry of points given as the library keeps them.
OGRGeometryH PointsGeometry(OGRwkbGeometryType Type, std::span<const TMapPoint> Points) {
    OGRGeometryH G = OGR_G_CreateGeometry(Type);
    if (!Points.empty())
        OGR_G_SetPoints(G, static_cast<int>(Points.size()), &Points[0].X, sizeof(TMapPoint),
                        &Points[0].Y, sizeof(TMapPoint), nullptr, 0);
    return G;
}

// Whether (X, Y) lies inside the ring (crossing number).
bool InRing(double X, double Y, std::span<const TMapPoint> Ring) {
    bool In = false;
    for (size_t I = 0, J = Ring.size() - 1; I < Ring.size(); J = I++) {
        const TMapPoint &A = Ring[I], &B = Ring[J];
        if ((A.Y > Y) != (B.Y > Y) && X < (B.X - A.X) * (Y - A.Y) / (B.Y - A.Y) + A.X) In = !In;
    }
    return In;
}

double Area(std::span<const TMapPoint> Ring) {
    double A = 0;
    for (size_t I = 0, J = Ring.size() - 1; I < Ring.size(); J = I++)
        A += (Ring[J].X + Ring[I].X) * (Ring[J].Y - Ring[I].Y);
    return std::abs(A) / 2;
}

// A region's rings as polygons: a ring inside an even number of others is
// an outer ring, one inside an odd number a hole of the smallest ring around
// it (so an island in a hole is a polygon again), as the region fills them.
std::vector<TGeometry> Polygons(const std::vector<std::span<const TMapPoint>>& Rings) {
    struct TRing {
        TBounds B;
        double Area;
        int Depth = 0, Parent = -1, Polygon = -1;
    };
    std::vector<TRing> Info;
    for (std::span<const TMapPoint> R : Rings) {
        TBounds B;
        for (const TMapPoint& P : R) {
            B.MinX = std::min(B.MinX, P.X), B.MaxX = std::max(B.MaxX, P.X);
            B.MinY = std::min(B.MinY, P.Y), B.MaxY = std::max(B.MaxY, P.Y);
        }
        Info.push_back({B, Area(R)});
    }
    for (size_t I = 0; I < Rings.size(); ++I)
        for (size_t J = 0; J < Rings.size(); ++J) {
            const TBounds &In = Info[I].B, &Out = Info[J].B;
            if (I == J || In.MinX < Out.MinX || In.MaxX > Out.MaxX || In.MinY < Out.MinY ||
                In.MaxY > Out.MaxY || Info[J].Area < Info[I].Area)
                continue;
            if (!InRing(Rings[I][0].X, Rings[I][0].Y, Rings[J])) continue;
            ++Info[I].Depth;
            const int P = Info[I].Parent;
            if (P < 0 || Info[J].Area < Info[static_cast<size_t>(P)].Area)
                Info[I].Parent = static_cast<int>(J);
        }
    std::vector<TGeometry> Result;
    auto Ring = [&](size_t I) {
        OGRGeometryH R = PointsGeometry(wkbLinearRing, Rings[I]);
        OGR_G_CloseRings(R);
        return R;
    };
    for (size_t I = 0; I < Rings.size(); ++I)
        if (Info[I].Depth % 2 == 0) {
            Info[I].Polygon = static_cast<int>(Result.size());
            Result.emplace_back(OGR_G_CreateGeometry(wkbPolygon));
            OGR_G_AddGeometryDirectly(Result.back().get(), Ring(I));
        }
    for (size_t I = 0; I < Rings.size(); ++I)
        if (Info[I].Depth % 2 == 1) {
            const int Outer = Info[static_cast<size_t>(Info[I].Parent)].Polygon;
            if (Outer >= 0)
                OGR_G_AddGeometryDirectly(Result[static_cast<size_t>(Outer)].get(), Ring(I));
        }
    return Result;
}

// One polygon as it is, several as a multipolygon; null for none.
TGeometry Gathered(std::vector<TGeometry> Members, OGRwkbGeometryType Multi) {
    if (Members.empty()) return nullptr;
    if (Members.size() == 1) return std::move(Members.front());
    TGeometry G(OGR_G_CreateGeometry(Multi));
    for (TGeometry& M : Members)
        OGR_G_AddGeometryDirectly(G.get(), M.release());
    return G;
}

// The usable parts of an object: rings of three points and more, lines of two.
std::vector<std::span<const TMapPoint>> PartsFrom(const TGeometryView& View, int First, int Last,
                                                  size_t Least, int& Dropped) {
    std::vector<std::span<const TMapPoint>> Parts;
    for (int I = First; I < Last; ++I) {
        std::span<const TMapPoint> P = View.Part(I);
        if (P.size() >= Least)
            Parts.push_back(P);
        else if (!P.empty())
            ++Dropped;
    }
    return Parts;
}

std::vector<TGeometry> Lines(const std::vector<std::span<const TMapPoint>>& Parts) {
    std::vector<TGeometry> Result;
    for (std::span<const TMapPoint> P : Parts)
        Result.emplace_back(PointsGeometry(wkbLineString, P));
    return Result;
}

// The outline of a circle, as the MapInfo provider writes one: 72 steps.
std::vector<TMapPoint> CircleOutline(double X, double Y, double R) {
    std::vector<TMapPoint> Ring;
    for (int I = 0; I <= 72; ++I) {
        const double T = I * 2 * std::numbers::pi / 72;
        Ring.push_back({X + R * std::cos(T), Y + R * std::sin(T)});
    }
    Ring.back() = Ring.front();
    return Ring;
}

} // namespace

TGeometry GeometryOf(TCustomMapObject* Obj, const char*& Kind, int& Dropped) {
    const TGeometryView View = Obj->Geometry();
    const int N = View.PartCount();
    if (dynamic_cast<TNoGeometry*>(Obj)) {
        Kind = "rows without geometry";
        return nullptr;
    }
    if (auto* C = dynamic_cast<TCollectionObject*>(Obj)) {
        Kind = "collections";
        TGeometry G(OGR_G_CreateGeometry(wkbGeometryCollection));
        for (TGeometry& P : Polygons(PartsFrom(View, 0, C->FirstSection(), 3, Dropped)))
            OGR_G_AddGeometryDirectly(G.get(), P.release());
        for (TGeometry& L :
             Lines(PartsFrom(View, C->FirstSection(), C->FirstPointPart(), 2, Dropped)))
            OGR_G_AddGeometryDirectly(G.get(), L.release());
        if (C->FirstPointPart() < N) {
            OGRGeometryH M = OGR_G_CreateGeometry(wkbMultiPoint);
            for (int I = C->FirstPointPart(); I < N; ++I)
                for (const TMapPoint& P : View.Part(I))
                    OGR_G_AddGeometryDirectly(M, PointsGeometry(wkbPoint, {&P, 1}));
            OGR_G_AddGeometryDirectly(G.get(), M);
        }
        return G;
    }
    if (dynamic_cast<TMultiPoint*>(Obj)) {
        Kind = "multipoints";
        TGeometry G(OGR_G_CreateGeometry(wkbMultiPoint));
        for (std::span<const TMapPoint> Part : View)
            for (const TMapPoint& P : Part)
                OGR_G_AddGeometryDirectly(G.get(), PointsGeometry(wkbPoint, {&P, 1}));
        return G;
    }
    if (auto* C = dynamic_cast<TCircle*>(Obj)) {
        Kind = "circles";
        const std::vector<TMapPoint> Ring = CircleOutline(C->X(), C->Y(), C->Radius());
        return Gathered(Polygons({Ring}), wkbMultiPolygon);
    }
    if (auto* R = dynamic_cast<TRectangle*>(Obj)) {
        Kind = "rectangles";
        TMapPoints Ring;
        const double X0 = R->X0(), Y0 = R->Y0(), X1 = R->X1(), Y1 = R->Y1();
        if (R->CornerDiameter() > 0)
            AddRoundRectOutline(Ring, X0, Y0, X1, Y1, R->CornerDiameter());
        else
            for (const TMapPoint& P :
                 {TMapPoint{X0, Y0}, {X1, Y0}, {X1, Y1}, {X0, Y1}, TMapPoint{X0, Y0}})
                Ring.Add(P);
        return Gathered(Polygons({{Ring.Data(), static_cast<size_t>(Ring.Count())}}),
                        wkbMultiPolygon);
    }
    if (dynamic_cast<TRegion*>(Obj)) {
        Kind = "regions";
        return Gathered(Polygons(PartsFrom(View, 0, N, 3, Dropped)), wkbMultiPolygon);
    }
    if (dynamic_cast<TPolyline*>(Obj)) {
        Kind = "polylines";
        return Gathered(Lines(PartsFrom(View, 0, N, 2, Dropped)), wkbMultiLineString);
    }
    // Symbols, texts (their anchor) and any other kind of one point.
    Kind = dynamic_cast<TText*>(Obj) ? "texts" : dynamic_cast<TSymbol*>(Obj) ? "symbols" : "points";
    if (View.Empty()) return nullptr;
    if (View.PointCount() == 1 || dynamic_cast<TSymbol*>(Obj)) {
        for (std::span<const TMapPoint> Part : View)
            if (!Part.empty()) return TGeometry(PointsGeometry(wkbPoint, Part.first(1)));
    }
    Kind = "other objects";
    return Gathered(Lines(PartsFrom(View, 0, N, 2, Dropped)), wkbMultiLineString);
}

} // namespace Mapobjects::Gdal
