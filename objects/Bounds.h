#pragma once
// Extents in map units. Empty bounds hold +-2147483647 with Min above Max, so
// the first point added replaces all four values.

#include "../core/ChartixExport.h"

namespace Mapobjects {

/// The Min and Max values of empty bounds: any point added replaces them.
///@{
constexpr double EmptyMin = 2147483647.0;
constexpr double EmptyMax = -2147483647.0;
///@}

/// An axis-parallel extent in map units; empty (Min above Max) by default.
struct CHARTIX_EXPORT TBounds {
    /// The extent's edges, in map units.
    ///@{
    double MinX = EmptyMin;
    double MinY = EmptyMin;
    double MaxX = EmptyMax;
    double MaxY = EmptyMax;
    ///@}
};

} // namespace Mapobjects
