#pragma once
// A feature as MITAB hands it out: a class, parts of vertices, field values
// as text and MapInfo styles. It holds copies only, so it outlives the
// dataset it came from and can be written to another one.

#include "Style.h"

#include <ogr_api.h>

#include <cstdint>
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
    std::vector<std::vector<TVertex>> Parts;
    std::vector<std::optional<std::string>> Values; // nullopt: null
    TStyle Style;
    std::string Returned; // the last string handed out

    ~TFeature() { Magic = 0; }
};

// The class, vertices, values and styles of an OGR feature.
TFeature FromOgr(OGRFeatureH Source);

// An OGR feature of the layer's definition made of F; values go by column
// index as the MITAB types say. Null when the class has no OGR form or a
// value is none of its column's type (a CPLError tells which).
OGRFeatureH ToOgr(const TFeature& F, OGRFeatureDefnH Defn, const std::vector<int>& Types);

// The classes a new feature may have: those the driver writes as one
// feature (arcs and ellipses as their outlines).
bool IsWritableClass(int FeatureClass);

} // namespace Mitab
