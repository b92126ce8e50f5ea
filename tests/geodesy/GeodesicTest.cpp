// Geodesic lengths against GeographicLib's GeodSolve (values it printed).
#include "geodesy/Geodesic.h"

#include <gtest/gtest.h>

using namespace Mapobjects;

TEST(Geodesic, DistancesMatchAReferenceSolution) {
    struct {
        const TEllipsoid& E;
        double Lat1, Lon1, Lat2, Lon2, Metres, Tolerance;
    } const Cases[] = {
        {Wgs84Ellipsoid, 10, 20, -30, 40, 4917385.849, 0.001},
        {KrassovskyEllipsoid, 55.75, 37.62, 59.94, 30.31, 636667.921, 0.001},
        {Wgs84Ellipsoid, 0, -179.5, 0, 179.5, 111319.491, 0.001}, // across the antimeridian
        {Wgs84Ellipsoid, 0, 0, 0.5, 179.7, 19944127.421, 19944127.421 * 0.005}, // nearly antipodal
        {Wgs84Ellipsoid, 45, 45, 45, 45, 0, 0},
    };
    for (const auto& C : Cases)
        EXPECT_NEAR(GeodesicDistance(C.E, C.Lon1, C.Lat1, C.Lon2, C.Lat2), C.Metres, C.Tolerance)
            << C.Lat1 << " " << C.Lon1 << " " << C.Lat2 << " " << C.Lon2;
}
