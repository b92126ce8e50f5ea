#pragma once
// Extents in map units. Empty bounds hold +-2147483647 with Min above Max, so
// the first point added replaces all four values.

#include "../core/ChartixExport.h"

namespace Mapobjects {

constexpr double EmptyMin = 2147483647.0;
constexpr double EmptyMax = -2147483647.0;

struct CHARTIX_EXPORT TBounds {
    double MinX = EmptyMin;
    double MinY = EmptyMin;
    double MaxX = EmptyMax;
    double MaxY = EmptyMax;
};

} // namespace Mapobjects
