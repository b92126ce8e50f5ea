// The Gauss–Krüger series on their own: the published examples, the zone a
// longitude falls into and what the inverse reads. The accuracy of both
// directions in every zone is PROJ's comparison in ProjOracleTest.cpp.
#include "geodesy/GaussKruger.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Mapobjects;

// A point projected from a neighbouring zone's meridian, as asked by the
// shift: the published value one zone west; one zone east checked against
// PROJ (cs2cs, zone 8), 7.4° out of the zone where the series drift by
// centimetres. Points in their own zone are ProjOracleTest.cpp's.
TEST(GaussKruger, ForwardExamples) {
    const struct {
        double B, L;
        int Shift;
        double X, Y, Tolerance; // X NaN where no value is given
        const char* What;
    } Cases[] = {
        {55.75, 37.62, 1, NAN, 6790002.093, 5e-4, "one zone west: zone 6, measured from 33"},
        {55.75, 37.62, -1, 6205537.949, 8037037.631, 0.1, "one zone east: zone 8, from 45"},
    };
    for (const auto& C : Cases) {
        double X, Y;
        BL2XY(C.B, C.L, X, Y, C.Shift);
        if (!std::isnan(C.X)) {
            EXPECT_NEAR(X, C.X, C.Tolerance) << C.What;
        }
        EXPECT_NEAR(Y, C.Y, C.Tolerance) << C.What;
    }
}

// Zone k spans (6k - 6)°..(6k)°. The zone width is a hair over 6° and the
// full turn added once to western longitudes a hair over 2π, so every border
// goes to the western zone, -180 and 180 fall on either side of the
// antimeridian, and two turns west give a zone below 1.
TEST(GaussKruger, ZoneOfALongitude) {
    const struct {
        double L;
        int Zone;
    } Cases[] = {{0, 1},       {5.999, 1}, {6, 1},     {6.001, 2},    {36, 6},
                 {179.99, 30}, {180, 30},  {-180, 31}, {-179.99, 31}, {-0.001, 60},
                 {-3, 60},     {360, 60},  {-360, 1},  {-540, -29}};
    for (const auto& C : Cases) {
        double X, Y;
        BL2XY(50, C.L, X, Y, 0);
        EXPECT_EQ(std::floor(Y / 1000000), C.Zone) << "L = " << C.L;
    }
}

// The inverse reads whole metres of easting: their fraction plays no part,
// the next whole metre does. L is not reduced: zone 60 gives 359 for -1.
// Eastings outside every zone give finite numbers, and nothing undefined
// happens on the way (the sanitizer build would tell).
TEST(GaussKruger, InverseReadsWholeMetresAndLeavesTheLongitudeUnreduced) {
    double B, L, B2, L2;
    XY2BL(6181699.089, 7413344.619, B, L);
    EXPECT_NEAR(B, 55.7499997, 0.5e-7);
    EXPECT_NEAR(L, 37.6199900, 0.5e-7);
    for (double Y : {7413344.9, 7413344.1, 7413345.0}) {
        XY2BL(6181699.089, Y, B2, L2);
        EXPECT_EQ(B2 == B && L2 == L, Y < 7413345) << Y;
    }
    double X, Y;
    BL2XY(50, -1, X, Y, 0);
    XY2BL(X, Y, B, L);
    EXPECT_NEAR(L, 359, 1e-4);
    for (double E : {-1.0e6, 1.0e300, -1.0e300, 5.0e12}) {
        XY2BL(5e6, E, B, L);
        EXPECT_TRUE(std::isfinite(B) && std::isfinite(L)) << E;
    }
}
