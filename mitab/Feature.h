#pragma once
// A feature as MITAB hands it out: a class, parts of vertices, field values
// as text and MapInfo styles. It holds copies only, so it outlives the
// dataset it came from and can be written to another one.

#include "Style.h"

#include <ogr_api.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Mitab {

struct TVertex {
    double X, Y;
};

struct TFeature {
    static constexpr std::uint32_t Tag = 0x4D544246; // tells a feature handle from a dataset
    std::uint32_t Magic = Tag;
    int Class = 0;
    // A collection's parts are its region's rings, then its polyline's
    // sections, then one part of points; these count the first two groups.
    std::vector<std::vector<TVertex>> Parts;
    int Rings = 0;
    int Sections = 0;
    // A collection's region, polyline and multipoint as features of their
    // own, made when first asked for and owned here.
    std::unique_ptr<TFeature> Components[3];
    std::vector<std::optional<std::string>> Values; // nullopt: null
    TStyle Style;
    std::string Returned; // the last string handed out

    TFeature() = default;
    TFeature(TFeature&&) = default;
    TFeature& operator=(TFeature&&) = default;
    ~TFeature() { Magic = 0; }
};

// The class, vertices, values and styles of an OGR feature.
TFeature FromOgr(OGRFeatureH Source);

// An OGR feature of the layer's definition made of F; values go by column
// index as the MITAB types say. Null when the class has no OGR form or a
// value is none of its column's type (a CPLError tells which).
OGRFeatureH ToOgr(const TFeature& F, OGRFeatureDefnH Defn, const std::vector<int>& Types);

// The classes a new feature may have: every one but arcs, rectangles and
// ellipses, which the driver writes as their outlines. GDAL's driver writes
// a multipoint or a collection as one feature per point or part.
bool IsWritableClass(int FeatureClass);

// A collection's region (0), polyline (1) or multipoint (2) as a feature of
// its own, with the collection's styles; null when it has none.
TFeature* CollectionComponent(TFeature& Collection, int Which);
// Puts Part's geometry in the collection as its region, polyline or
// multipoint (by Part's class), replacing what it had there, with Part's
// tools of that kind; false for a part of another class.
bool SetCollectionComponent(TFeature& Collection, const TFeature& Part);

} // namespace Mitab
