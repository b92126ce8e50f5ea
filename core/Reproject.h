#pragma once
// Moving map objects from one coordinate system into another, each kind by
// what defines it: the points of lines, rings and multipoints; a symbol's,
// a sprite's or a text's anchor; a circle's centre (its radius follows the
// scale there); a rectangle's box; a geodesic ellipse's centre and axes.

#include "ChartixExport.h"

#include <vector>

namespace Mapobjects {

class TCoordinateTransform;
class TMapLayer;

/// Transforms the geometry of every object of Layer by Transform, many points per call, and
/// brings their extents up to date; marks the layer's spatial index stale, repaints nothing.
/// Returns the positions of the objects some point of which could not be transformed, in
/// increasing order: those are left exactly as they were.
CHARTIX_EXPORT std::vector<int> TransformObjects(TMapLayer& Layer,
                                                 const TCoordinateTransform& Transform);

} // namespace Mapobjects
