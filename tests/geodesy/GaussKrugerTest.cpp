// The Gauss–Krüger series on their own: the published examples to the
// millimetre, the zone a longitude falls into, and what the inverse gives
// back. PROJ's opinion is in ProjOracleTest.cpp.
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

// Ground distance in metres between two nearby geodetic points, good to a
// fraction of a percent, which is all a bound of a metre needs.
double Metres(double B1, double L1, double B2, double L2) {
    const double R = 6371000 * 3.141592653589793 / 180;
    return std::hypot((B2 - B1) * R, (L2 - L1) * R * std::cos(B1 * 3.141592653589793 / 180));
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

TEST(GaussKruger, InverseExamples) {
    double X, Y, B, L;
    BL2XY(55.75, 37.62, X, Y, 0);
    XY2BL(X, Y, B, L);
    EXPECT_NEAR(B, 55.7499997, 0.5e-7);
    EXPECT_NEAR(L, 37.6199900, 0.5e-7);

    // The fraction of a metre of the easting plays no part; the next whole
    // metre does.
    double B1, L1, B2, L2, B3, L3;
    XY2BL(6181699.089, 7413344.9, B1, L1);
    XY2BL(6181699.089, 7413344.1, B2, L2);
    XY2BL(6181699.089, 7413345.0, B3, L3);
    EXPECT_EQ(B1, B2);
    EXPECT_EQ(L1, L2);
    EXPECT_NE(L1, L3);
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

// Forward then inverse gives the point back to within about a metre inside
// a zone: up to a metre is the easting's dropped fraction, the rest the
// shorter inverse series (about 0.1 m, ProjOracleTest).
TEST(GaussKruger, RoundTripWithinAMetre) {
    double Worst = 0;
    for (double B = -80; B <= 80; B += 2.5)
        for (double Off = -2.95; Off <= 3; Off += 0.25)
            for (double L0 : {3.0, 39.0, 177.0, -171.0, -3.0}) {
                double X, Y, B2, L2;
                BL2XY(B, L0 + Off, X, Y, 0);
                XY2BL(X, Y, B2, L2);
                // XY2BL leaves western longitudes as given by their zone: 357.
                const double L = L0 + Off < 0 ? L0 + Off + 360 : L0 + Off;
                const double D = Metres(B, L, B2, L2);
                EXPECT_LT(D, 1.1) << B << " " << L;
                Worst = std::max(Worst, D);
            }
    EXPECT_GT(Worst, 0.5) << "the dropped fraction of the easting shows";
}

TEST(GaussKruger, ZoneShiftMovesZoneNumberAndMeridianTogether) {
    for (int Shift : {-1, 1}) {
        double X, Y, B, L;
        BL2XY(55.75, 37.62, X, Y, Shift);
        EXPECT_EQ(ZoneOf(Y), 7 - Shift);
        // Read back in the zone written into Y, the point is where it was,
        // as far as the series reach so far from the meridian.
        XY2BL(X, Y, B, L);
        EXPECT_LT(Metres(55.75, 37.62, B, L), 2.0) << Shift;
    }
}

TEST(GaussKruger, InverseLeavesTheLongitudeUnreduced) {
    double X, Y, B, L;
    BL2XY(50, -1, X, Y, 0); // zone 60
    XY2BL(X, Y, B, L);
    EXPECT_NEAR(L, 359, 1e-4);
    BL2XY(50, -176, X, Y, 0); // zone 31
    XY2BL(X, Y, B, L);
    EXPECT_NEAR(L, 184, 1e-4);
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
