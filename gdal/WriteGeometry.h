#pragma once
// The geometry a map object is written as through GDAL.

#include "gdal/VectorCommon.h"

namespace Mapobjects {
class TCustomMapObject;
}

namespace Mapobjects::Gdal {

/// The OGR geometry of Object (null for one without geometry), and its kind
/// for people ("regions", "symbols"...). Regions go as (multi)polygons, their
/// rings grouped by containment: a ring inside an odd number of others is a
/// hole of the smallest around it, so an island in a hole is a polygon again.
/// Circles and rectangles go as their outlines, texts and symbols as points,
/// multipoints and collections as theirs. Dropped counts the parts with too
/// few points to be written (lines of one point, rings of two).
TGeometry GeometryOf(TCustomMapObject* Object, const char*& Kind, int& Dropped);

} // namespace Mapobjects::Gdal
