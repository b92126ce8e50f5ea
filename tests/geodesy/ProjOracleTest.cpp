// BL2XY and XY2BL against PROJ's transverse Mercator on the same ellipsoid
// (cs2cs), over every zone's central meridian ±3° and latitudes -80°..80°.
// bench's geodesy-compare prints the same comparison on a finer grid.
#include "support/GeodesyOracle.h"

#include <gtest/gtest.h>
#include <set>

TEST(ProjOracle, SeriesAgreeWithTransverseMercatorInEveryZone) {
    if (!Testing::HaveProgram("cs2cs"))
        GTEST_SKIP() << "PROJ's cs2cs is not installed (proj-bin, scripts/deps installs it)";
    std::vector<Testing::TGridPoint> Grid = Testing::MakeGrid(0.5, 5);
    std::string Error;
    ASSERT_TRUE(Testing::CompareWithProj(Grid, &Error)) << Error;
    // Forward: the series agree with PROJ to about a millimetre; the zone
    // width a hair over 6° and the full turn a hair over 2π move the central
    // meridians by up to 5 mm. Measured: at most 5.6 mm. Inverse: the shorter
    // series with rounded coefficients, and 9.5492966 for 30/π, are up to
    // 10.5 cm off. Both grow towards the zone's edge and the equator, as the
    // series' truncation does (so the comparison is not flat). BL2XY never
    // projects a point in a zone whose meridian is more than 3° away, and
    // every zone is met.
    double Forward = 0, Inverse = 0;
    double Band[2][2] = {}; // inverse: within 1° / beyond 2° of the meridian, |B| < 20° / > 60°
    std::set<int> Zones;
    for (const Testing::TGridPoint& P : Grid) {
        ASSERT_FALSE(std::isnan(P.Forward) || std::isnan(P.Inverse)) << P.B << " " << P.L;
        EXPECT_LE(std::fabs(P.Offset), 3 + 1e-9) << P.B << " " << P.L;
        Zones.insert(P.Zone);
        Forward = std::max(Forward, P.Forward);
        Inverse = std::max(Inverse, P.Inverse);
        const double O = std::fabs(P.Offset), A = std::fabs(P.B);
        if ((O < 1 || O > 2) && (A < 20 || A > 60)) {
            double& M = Band[O > 2][A > 60];
            M = std::max(M, P.Inverse);
        }
    }
    EXPECT_LT(Forward, 0.01);
    EXPECT_LT(Inverse, 0.15);
    EXPECT_GT(Band[1][0], Band[0][0]) << "grows towards the zone's edge";
    EXPECT_GT(Band[1][0], Band[1][1]) << "and towards the equator";
    EXPECT_EQ(Zones.size(), 60u);
    EXPECT_EQ(*Zones.begin(), 1);
    EXPECT_EQ(*Zones.rbegin(), 60);
}
