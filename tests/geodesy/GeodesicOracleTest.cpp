// The region geodesic circle against GeographicLib: every vertex's geodesic
// distance from the centre on Krassovsky's ellipsoid (GeodSolve -i) against
// the radius. Near the pole the series give out unguarded: those circles are
// GeoCircleTest.cpp's.
#include "support/GeodesyOracle.h"

#include <gtest/gtest.h>

namespace {

// Half-width of the circle in radians of longitude at its centre.
double HalfWidth(const Testing::TCircleCase& C) {
    return C.Radius / (Testing::KrassovskyA * std::cos(C.Lat * Testing::RadPerDeg));
}

// What the error of a vertex's distance may be, relative to the radius:
// - the inverse reads whole metres of easting (up to 1 m) and its series
//   are some 0.1 m off: 1.2 m over the radius;
// - the radius is stepped out in plane metres, which Gauss–Krüger stretches
//   by the scale 1 + y^2 / 2R^2 at y from the central meridian: at most
//   (|y0| + radius)^2 / 2R^2 for a centre y0 from it;
// - the inverse series stop at the fifth power of the longitude offset z
//   (in radians over the parallel): measured to stay under z^6 / 2 while z
//   is under 0.45, that is while the circle keeps twice its radius from the
//   pole.
double Bound(const Testing::TCircleCase& C) {
    double X0, Y0;
    Mapobjects::BL2XY(C.Lat, C.Lon, X0, Y0, 0);
    const double Y = std::fabs(std::fmod(Y0, 1000000) - 500000) + C.Radius;
    const double Re = 6371000;
    return 1.2 / C.Radius + Y * Y / (2 * Re * Re) + std::pow(HalfWidth(C), 6) / 2;
}

} // namespace

// Centres on zone 7's meridian and 2.5° east of it, up to 88°; the new
// circle's defaults on zone 1's western edge, where plane metres run 0.2 %
// long; one across the antimeridian.
TEST(GeodesicOracle, VerticesLieOnTheRadius) {
    if (!Testing::HaveProgram("GeodSolve"))
        GTEST_SKIP() << "GeographicLib's GeodSolve is not installed (scripts/deps installs it)";
    std::vector<Testing::TCircleCase> Cases;
    for (double Lat : {0.0, 55.0, 80.0, 88.0})
        for (double Lon : {39.0, 41.5})
            for (double R : {1000.0, 100000.0, 500000.0})
                Cases.push_back({Lon, Lat, R});
    Cases.push_back({0, 0, 100000});
    Cases.push_back({179.5, -20, 200000});
    ASSERT_TRUE(Testing::MeasureCircles(Cases));
    int Checked = 0;
    for (const Testing::TCircleCase& C : Cases) {
        if (HalfWidth(C) > 0.45) continue; // too close to the pole
        EXPECT_LE(C.MaxRelError, Bound(C))
            << "centre " << C.Lon << " " << C.Lat << ", radius " << C.Radius;
        ++Checked;
    }
    EXPECT_EQ(Checked, 22);
}
