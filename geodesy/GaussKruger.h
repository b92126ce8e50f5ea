#pragma once
// Gauss–Krüger conversion in 6° zones on the Krassovsky 1940 ellipsoid:
// geodetic latitude B and longitude L in decimal degrees, to and from the
// plane northing X and easting Y in metres. Y carries the zone number in its
// millions and 500,000 m on the zone's central meridian; zone k is centred on
// (6k - 3)°. Truncated series with fixed coefficients; nothing is validated,
// every input gives whatever the series give.

#include "../core/ChartixExport.h"
#include <cstdint>

namespace Mapobjects {

/// Forward conversion. ZoneShift p projects the point in the zone p places
/// west of the one holding its longitude (zone number and central meridian
/// both move); 0 is the zone of the longitude.
CHARTIX_EXPORT void BL2XY(double B, double L, double& X, double& Y, std::int32_t ZoneShift);

/// Inverse conversion; the zone comes from the millions of Y, and Y counts in
/// whole metres (its fraction is dropped). L is not reduced into any range.
CHARTIX_EXPORT void XY2BL(double X, double Y, double& B, double& L);

/// XY2BL with the zone given apart: Easting is measured in Zone's million
/// (500,000 on its central meridian, whole metres counted) and may run past
/// it on either side, where XY2BL would read the next zone's number. For an
/// easting inside the million it gives what XY2BL gives for
/// Zone * 1,000,000 + Easting.
CHARTIX_EXPORT void XY2BLInZone(double X, double Zone, double Easting, double& B, double& L);

} // namespace Mapobjects
