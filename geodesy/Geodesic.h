#pragma once
// Lengths on the ellipsoid between points given in degrees (x the longitude,
// y the latitude): what a measuring tool and a scale bar show for a map in
// longitude and latitude.

#include "../core/ChartixExport.h"

namespace Mapobjects {

/// An ellipsoid of revolution, the figure of the earth that distances are measured on.
struct CHARTIX_EXPORT TEllipsoid {
    double A; ///< semi-major axis, metres
    double F; ///< flattening
};

/// The WGS 84 ellipsoid, of GPS coordinates.
inline constexpr TEllipsoid Wgs84Ellipsoid{6378137.0, 1 / 298.257223563};
/// The Krassovsky 1940 ellipsoid, of the Gauss-Krüger zones.
inline constexpr TEllipsoid KrassovskyEllipsoid{6378245.0, 1 / 298.3};

/// The geodesic distance in metres (Vincenty's inverse solution, good to a
/// fraction of a millimetre). For nearly antipodal points, where the iteration
/// does not settle, the distance along the great circle of the mean sphere is
/// given instead (within half a percent).
CHARTIX_EXPORT double GeodesicDistance(const TEllipsoid& E, double Lon1, double Lat1, double Lon2,
                                       double Lat2);

} // namespace Mapobjects
