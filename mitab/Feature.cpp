#include "Feature.h"

#include "Fields.h"
#include "Rings.h"
#include "mitab.h"

#include <algorithm>

namespace Mitab {

namespace {

std::vector<TVertex> Vertices(OGRGeometryH G) {
    std::vector<TVertex> V;
    int N = OGR_G_GetPointCount(G);
    V.reserve(std::max(N, 0));
    for (int I = 0; I < N; ++I)
        V.push_back({OGR_G_GetX(G, I), OGR_G_GetY(G, I)});
    return V;
}

// Parts in the order MITAB keeps them: the rings of every polygon, the
// sections of every line, one part for all the points of a multipoint.
void Collect(OGRGeometryH G, std::vector<std::vector<TVertex>>& Parts) {
    OGRwkbGeometryType Type = wkbFlatten(OGR_G_GetGeometryType(G));
    if (OGR_G_IsEmpty(G)) return;
    if (Type == wkbMultiPoint) {
        std::vector<TVertex> All;
        for (int I = 0; I < OGR_G_GetGeometryCount(G); ++I) {
            OGRGeometryH P = OGR_G_GetGeometryRef(G, I);
            if (!OGR_G_IsEmpty(P)) All.push_back({OGR_G_GetX(P, 0), OGR_G_GetY(P, 0)});
        }
        Parts.push_back(std::move(All));
    } else if (OGR_G_GetGeometryCount(G) > 0) { // polygons, multi-geometries, collections
        for (int I = 0; I < OGR_G_GetGeometryCount(G); ++I)
            Collect(OGR_G_GetGeometryRef(G, I), Parts);
    } else {
        Parts.push_back(Vertices(G));
    }
}

int ClassOf(OGRGeometryH G, const TStyle& Style) {
    if (!G) return TABFC_NoGeom;
    switch (wkbFlatten(OGR_G_GetGeometryType(G))) {
    case wkbPoint:
        // The driver gives texts as points with a label, and tells symbol
        // kinds apart by their ids.
        if (Style.HasLabel) return TABFC_Text;
        if (Style.Symbol.Kind == TSymbolKind::Font) return TABFC_FontPoint;
        if (Style.Symbol.Kind == TSymbolKind::Custom) return TABFC_CustomPoint;
        return TABFC_Point;
    case wkbLineString:
    case wkbMultiLineString:
        return TABFC_Polyline;
    case wkbPolygon:
    case wkbMultiPolygon:
        return TABFC_Region;
    case wkbMultiPoint:
        return TABFC_MultiPoint;
    case wkbGeometryCollection:
        return TABFC_Collection;
    default:
        return TABFC_NoGeom;
    }
}

OGRGeometryH LineOf(const std::vector<TVertex>& Part, OGRwkbGeometryType Type) {
    OGRGeometryH L = OGR_G_CreateGeometry(Type);
    for (const TVertex& V : Part)
        OGR_G_AddPoint_2D(L, V.X, V.Y);
    return L;
}

OGRGeometryH RingOf(const std::vector<TVertex>& Part) {
    OGRGeometryH Ring = LineOf(Part, wkbLinearRing);
    OGR_G_CloseRings(Ring);
    return Ring;
}

// The driver keeps the polygons of a region apart in a .tab, so the flat
// rings are first sorted into polygons with their holes.
OGRGeometryH RegionOf(const std::vector<const std::vector<TVertex>*>& Rings) {
    std::vector<int> Parents = RingParents(Rings);
    OGRGeometryH Region = OGR_G_CreateGeometry(wkbMultiPolygon);
    for (size_t Outer = 0; Outer < Rings.size(); ++Outer) {
        if (Parents[Outer] >= 0) continue;
        OGRGeometryH Polygon = OGR_G_CreateGeometry(wkbPolygon);
        OGR_G_AddGeometryDirectly(Polygon, RingOf(*Rings[Outer]));
        for (size_t Hole = 0; Hole < Rings.size(); ++Hole)
            if (Parents[Hole] == static_cast<int>(Outer))
                OGR_G_AddGeometryDirectly(Polygon, RingOf(*Rings[Hole]));
        OGR_G_AddGeometryDirectly(Region, Polygon);
    }
    if (OGR_G_GetGeometryCount(Region) != 1) return Region;
    OGRGeometryH Single = OGR_G_Clone(OGR_G_GetGeometryRef(Region, 0));
    OGR_G_DestroyGeometry(Region);
    return Single;
}

OGRGeometryH GeometryOf(const TFeature& F) {
    std::vector<const std::vector<TVertex>*> Parts;
    for (const auto& P : F.Parts)
        if (!P.empty()) Parts.push_back(&P);
    if (Parts.empty()) return nullptr;
    switch (F.Class) {
    case TABFC_Point:
    case TABFC_FontPoint:
    case TABFC_CustomPoint:
    case TABFC_Text: {
        OGRGeometryH P = OGR_G_CreateGeometry(wkbPoint);
        OGR_G_SetPoint_2D(P, 0, (*Parts[0])[0].X, (*Parts[0])[0].Y);
        return P;
    }
    case TABFC_Polyline:
    case TABFC_Arc: {
        if (Parts.size() == 1) return LineOf(*Parts[0], wkbLineString);
        OGRGeometryH M = OGR_G_CreateGeometry(wkbMultiLineString);
        for (const auto* P : Parts)
            OGR_G_AddGeometryDirectly(M, LineOf(*P, wkbLineString));
        return M;
    }
    case TABFC_Region:
    case TABFC_Rectangle:
    case TABFC_Ellipse:
        return RegionOf(Parts);
    default:
        return nullptr;
    }
}

} // namespace

bool IsWritableClass(int C) {
    // The driver splits a multipoint into points and has no collections to
    // make from vertices; arcs and ellipses go as the lines and regions of
    // their outlines, which is all the driver can write of them.
    return C >= TABFC_NoGeom && C <= TABFC_Ellipse;
}

TFeature FromOgr(OGRFeatureH Source) {
    TFeature F;
    if (const char* S = OGR_F_GetStyleString(Source)) F.Style = ParseStyle(S);
    OGRGeometryH G = OGR_F_GetGeometryRef(Source);
    F.Class = ClassOf(G, F.Style);
    if (G) Collect(G, F.Parts);
    int N = OGR_F_GetFieldCount(Source);
    F.Values.resize(std::max(N, 0));
    for (int I = 0; I < N; ++I)
        if (OGR_F_IsFieldSetAndNotNull(Source, I)) F.Values[I] = OGR_F_GetFieldAsString(Source, I);
    return F;
}

OGRFeatureH ToOgr(const TFeature& F, OGRFeatureDefnH Defn, const std::vector<int>& Types) {
    if (!IsWritableClass(F.Class)) return nullptr;
    OGRFeatureH O = OGR_F_Create(Defn);
    int N = std::min<int>(OGR_FD_GetFieldCount(Defn), static_cast<int>(F.Values.size()));
    for (int I = 0; I < N; ++I) {
        if (!F.Values[I]) continue;
        int Type = I < static_cast<int>(Types.size()) ? Types[I]
                                                      : TypeFromOgr(OGR_FD_GetFieldDefn(Defn, I));
        if (!SetOgrField(O, I, Type, *F.Values[I])) {
            OGR_F_Destroy(O);
            return nullptr;
        }
    }
    if (OGRGeometryH G = GeometryOf(F)) OGR_F_SetGeometryDirectly(O, G);
    std::string Style = ComposeStyle(F.Style, F.Class);
    if (!Style.empty()) OGR_F_SetStyleString(O, Style.c_str());
    return O;
}

} // namespace Mitab
