// The Gauss–Krüger series on their own: the published examples to the
// millimetre, the zone a longitude falls into, what the inverse reads and
// what any input gives. The accuracy of both directions in every zone, and
// with a zone shift, is PROJ's comparison in ProjOracleTest.cpp.
#include "geodesy/GaussKruger.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Mapobjects;

namespace {

// Values given to the millimetre hold when they round to it.
constexpr double Millimetre = 0.0005;

int ZoneOf(double Y) {
    return static_cast<int>(std::floor(Y / 1000000));
}

} // namespace

TEST(GaussKruger, ForwardExamplesToTheMillimetre) {
    struct Case {
        double B, L;
        int Shift;
        double X, Y; // NAN where no value is given
        const char* What;
    };
    const Case Cases[] = {
        {55.75, 37.62, 0, 6181699.089, 7413344.619, "zone 7, central meridian 39"},
        {50, 36, 0, NAN, 6715073.845, "a zone border goes west: eastern edge of zone 6"},
        {50, -3, 0, NAN, 60499999.998, "-3 is taken as 357, zone 60"},
        {55.75, 37.62, 1, NAN, 6790002.093, "one zone west: zone 6, measured from 33"},
    };
    for (const Case& C : Cases) {
        double X, Y;
        BL2XY(C.B, C.L, X, Y, C.Shift);
        if (!std::isnan(C.X)) {
            EXPECT_NEAR(X, C.X, Millimetre) << C.What;
        }
        EXPECT_NEAR(Y, C.Y, Millimetre) << C.What;
    }
}

// The inverse of the example above reads whole metres of easting: their
// fraction plays no part, the next whole metre does. The zone comes from
// the millions of Y and L is not reduced: zone 60 gives 359 for -1.
TEST(GaussKruger, InverseReadsWholeMetresAndLeavesTheLongitudeUnreduced) {
    double B, L, B2, L2;
    XY2BL(6181699.089, 7413344.619, B, L);
    EXPECT_NEAR(B, 55.7499997, 0.5e-7);
    EXPECT_NEAR(L, 37.6199900, 0.5e-7);
    for (double Y : {7413344.9, 7413344.1}) {
        XY2BL(6181699.089, Y, B2, L2);
        EXPECT_EQ(B2, B) << Y;
        EXPECT_EQ(L2, L) << Y;
    }
    XY2BL(6181699.089, 7413345.0, B2, L2);
    EXPECT_NE(L2, L);
    for (auto [Lon, Unreduced] : {std::pair{-1.0, 359.0}, {-176.0, 184.0}}) {
        double X, Y;
        BL2XY(50, Lon, X, Y, 0);
        XY2BL(X, Y, B, L);
        EXPECT_NEAR(L, Unreduced, 1e-4) << Lon;
    }
}

// Zone k spans (6k - 6)°..(6k)°. The zone width is a hair over 6° and the
// full turn added to western longitudes a hair over 2π, so every border
// goes to the western zone and -180 and 180 fall on either side of the
// antimeridian.
TEST(GaussKruger, ZoneOfALongitude) {
    const struct {
        double L;
        int Zone;
    } Cases[] = {{0, 1},       {5.999, 1}, {6, 1},     {6.001, 2},    {36, 6},
                 {179.99, 30}, {180, 30},  {-180, 31}, {-179.99, 31}, {-0.001, 60},
                 {-3, 60},     {360, 60},  {-360, 1}};
    for (const auto& C : Cases) {
        double X, Y;
        BL2XY(50, C.L, X, Y, 0);
        EXPECT_EQ(ZoneOf(Y), C.Zone) << "L = " << C.L;
    }
    // The full turn is added once only: two turns west stays negative and
    // gives a zone number below 1.
    double X, Y;
    BL2XY(50, -540, X, Y, 0);
    EXPECT_EQ(ZoneOf(Y), -29);
}

// No input is refused: the pole and eastings outside every zone give what
// the series give, and nothing undefined happens on the way (the sanitizer
// build would tell).
TEST(GaussKruger, AnyInputGivesAResult) {
    double X, Y, B, L;
    BL2XY(90, 0, X, Y, 0);
    EXPECT_TRUE(std::isfinite(X) && std::isfinite(Y));
    EXPECT_NEAR(Y, 1500000, 0.001) << "no offset at the pole";
    for (double E : {-1.0e6, 1.0e300, -1.0e300, 5.0e12}) {
        XY2BL(5e6, E, B, L);
        EXPECT_TRUE(std::isfinite(B) && std::isfinite(L)) << E;
    }
    XY2BL(5e6, NAN, B, L);
    EXPECT_TRUE(std::isnan(L));
}
