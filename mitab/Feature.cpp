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

// A collection's members sorted into its three groups, in MapInfo's order.
void CollectCollection(OGRGeometryH G, TFeature& F) {
    std::vector<std::vector<TVertex>> Rings, Sections;
    std::vector<TVertex> Points;
    for (int I = 0; I < OGR_G_GetGeometryCount(G); ++I) {
        OGRGeometryH M = OGR_G_GetGeometryRef(G, I);
        switch (wkbFlatten(OGR_G_GetGeometryType(M))) {
        case wkbPolygon:
        case wkbMultiPolygon:
            Collect(M, Rings);
            break;
        case wkbLineString:
        case wkbMultiLineString:
            Collect(M, Sections);
            break;
        case wkbPoint:
            if (!OGR_G_IsEmpty(M)) Points.push_back({OGR_G_GetX(M, 0), OGR_G_GetY(M, 0)});
            break;
        case wkbMultiPoint: {
            std::vector<std::vector<TVertex>> One;
            Collect(M, One);
            for (const auto& P : One)
                Points.insert(Points.end(), P.begin(), P.end());
            break;
        }
        default:
            break;
        }
    }
    F.Rings = static_cast<int>(Rings.size());
    F.Sections = static_cast<int>(Sections.size());
    F.Parts = std::move(Rings);
    F.Parts.insert(F.Parts.end(), std::make_move_iterator(Sections.begin()),
                   std::make_move_iterator(Sections.end()));
    if (!Points.empty()) F.Parts.push_back(std::move(Points));
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

// All the points of the parts from First on.
OGRGeometryH MultiPointOf(const std::vector<std::vector<TVertex>>& Parts, size_t First) {
    OGRGeometryH M = OGR_G_CreateGeometry(wkbMultiPoint);
    for (size_t I = First; I < Parts.size(); ++I)
        for (const TVertex& V : Parts[I]) {
            OGRGeometryH P = OGR_G_CreateGeometry(wkbPoint);
            OGR_G_SetPoint_2D(P, 0, V.X, V.Y);
            OGR_G_AddGeometryDirectly(M, P);
        }
    return M;
}

OGRGeometryH GeometryOf(const TFeature& F);

// A collection's groups as its members: a polygon or multipolygon, a line
// string or multi line string, a multipoint.
OGRGeometryH CollectionOf(const TFeature& F) {
    const size_t Rings = std::min<size_t>(std::max(F.Rings, 0), F.Parts.size());
    const size_t Sections = std::min<size_t>(std::max(F.Sections, 0), F.Parts.size() - Rings);
    OGRGeometryH C = OGR_G_CreateGeometry(wkbGeometryCollection);
    auto AddGroup = [&](int Class, size_t From, size_t To) {
        TFeature Group;
        Group.Class = Class;
        Group.Parts.assign(F.Parts.begin() + static_cast<std::ptrdiff_t>(From),
                           F.Parts.begin() + static_cast<std::ptrdiff_t>(To));
        if (OGRGeometryH G = GeometryOf(Group)) OGR_G_AddGeometryDirectly(C, G);
    };
    AddGroup(TABFC_Region, 0, Rings);
    AddGroup(TABFC_Polyline, Rings, Rings + Sections);
    if (F.Parts.size() > Rings + Sections) {
        OGRGeometryH M = MultiPointOf(F.Parts, Rings + Sections);
        if (OGR_G_GetGeometryCount(M) > 0)
            OGR_G_AddGeometryDirectly(C, M);
        else
            OGR_G_DestroyGeometry(M);
    }
    if (OGR_G_GetGeometryCount(C) > 0) return C;
    OGR_G_DestroyGeometry(C);
    return nullptr;
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
    case TABFC_MultiPoint:
        return MultiPointOf(F.Parts, 0);
    case TABFC_Collection:
        return CollectionOf(F);
    default:
        return nullptr;
    }
}

} // namespace

bool IsWritableClass(int C) {
    // Arcs and ellipses go as the lines and regions of their outlines, which
    // is all the driver can write of them.
    return C >= TABFC_NoGeom && C <= TABFC_Collection;
}

TFeature* CollectionComponent(TFeature& F, int Which) {
    if (F.Class != TABFC_Collection || Which < 0 || Which > 2) return nullptr;
    if (F.Components[Which]) return F.Components[Which].get();
    const size_t Rings = std::min<size_t>(std::max(F.Rings, 0), F.Parts.size());
    const size_t Sections = std::min<size_t>(std::max(F.Sections, 0), F.Parts.size() - Rings);
    const size_t From[] = {0, Rings, Rings + Sections};
    const size_t To[] = {Rings, Rings + Sections, F.Parts.size()};
    if (From[Which] == To[Which]) return nullptr;
    auto Part = std::make_unique<TFeature>();
    static constexpr int Classes[] = {TABFC_Region, TABFC_Polyline, TABFC_MultiPoint};
    Part->Class = Classes[Which];
    Part->Parts.assign(F.Parts.begin() + static_cast<std::ptrdiff_t>(From[Which]),
                       F.Parts.begin() + static_cast<std::ptrdiff_t>(To[Which]));
    Part->Style = F.Style;
    F.Components[Which] = std::move(Part);
    return F.Components[Which].get();
}

bool SetCollectionComponent(TFeature& F, const TFeature& Part) {
    int Which;
    switch (Part.Class) {
    case TABFC_Region:
        Which = 0;
        break;
    case TABFC_Polyline:
        Which = 1;
        break;
    case TABFC_MultiPoint:
        Which = 2;
        break;
    default:
        return false;
    }
    if (F.Class != TABFC_Collection) return false;
    // The three groups apart, the one replaced, then together again.
    const size_t Rings = std::min<size_t>(std::max(F.Rings, 0), F.Parts.size());
    const size_t Sections = std::min<size_t>(std::max(F.Sections, 0), F.Parts.size() - Rings);
    std::vector<std::vector<TVertex>> Groups[3];
    const size_t Bounds[] = {0, Rings, Rings + Sections, F.Parts.size()};
    for (int G = 0; G < 3; ++G)
        Groups[G].assign(F.Parts.begin() + static_cast<std::ptrdiff_t>(Bounds[G]),
                         F.Parts.begin() + static_cast<std::ptrdiff_t>(Bounds[G + 1]));
    Groups[Which].clear();
    for (const auto& P : Part.Parts)
        if (!P.empty()) {
            if (Which == 2 && !Groups[2].empty())
                Groups[2][0].insert(Groups[2][0].end(), P.begin(), P.end());
            else
                Groups[Which].push_back(P);
        }
    F.Rings = static_cast<int>(Groups[0].size());
    F.Sections = static_cast<int>(Groups[1].size());
    F.Parts.clear();
    for (auto& G : Groups)
        for (auto& P : G)
            F.Parts.push_back(std::move(P));
    // One pen for the whole feature: the region's, else the polyline's.
    if (Which == 0) F.Style.Brush = Part.Style.Brush;
    if (Which == 0 || (Which == 1 && F.Rings == 0)) F.Style.Pen = Part.Style.Pen;
    if (Which == 2) {
        F.Style.Symbol = Part.Style.Symbol;
        F.Style.Font = Part.Style.Font;
    }
    F.Components[Which].reset();
    return true;
}

TFeature FromOgr(OGRFeatureH Source) {
    TFeature F;
    if (const char* S = OGR_F_GetStyleString(Source)) F.Style = ParseStyle(S);
    OGRGeometryH G = OGR_F_GetGeometryRef(Source);
    F.Class = ClassOf(G, F.Style);
    if (F.Class == TABFC_Collection)
        CollectCollection(G, F);
    else if (G)
        Collect(G, F.Parts);
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
