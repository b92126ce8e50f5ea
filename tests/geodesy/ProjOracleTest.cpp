// BL2XY and XY2BL against PROJ's transverse Mercator on the same ellipsoid
// (cs2cs), over every zone's central meridian ±3° and latitudes -80°..80°.
// bench's geodesy-compare prints the same comparison on a finer grid.
#include "support/GeodesyOracle.h"

#include <gtest/gtest.h>
#include <iostream>
#include <set>

namespace {

class ProjOracle : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Testing::HaveProgram("cs2cs"))
            GTEST_SKIP() << "PROJ's cs2cs is not installed (proj-bin, scripts/deps installs it)";
    }
};

} // namespace

TEST_F(ProjOracle, SeriesAgreeWithTransverseMercatorInEveryZone) {
    std::vector<Testing::TGridPoint> Grid = Testing::MakeGrid(0.5, 5);
    std::string Error;
    ASSERT_TRUE(Testing::CompareWithProj(Grid, &Error)) << Error;
    std::cout << Testing::ProjTable(Grid);

    const Testing::TBandTable T = Testing::Bands(Grid);
    // Forward: the series themselves agree with PROJ to about a millimetre.
    // What grows is the central meridian: the zone width is 2.4e-11 rad over
    // 6°, which moves zone k's meridian east by (k - 0.5) * 0.15 mm at the
    // equator (4.5 mm in zone 30), and the full turn added to western
    // longitudes is 8.2e-10 rad over 2π (5 mm west, zones 31-60). Measured:
    // at most 5.6 mm.
    EXPECT_LT(T.All.Forward, 0.01);
    // Inverse: the shorter series with rounded coefficients are some 6 cm
    // off at the equator; 9.5492966 for 30/π puts zone k's meridian off by
    // 1.5e-9 of its longitude, 6 cm on the equator in zone 60. Measured: at
    // most 10.5 cm.
    EXPECT_LT(T.All.Inverse, 0.15);
    // Both grow towards the zone's edge and the equator, as the series'
    // truncation does: the bands show it, so the comparison is not flat.
    EXPECT_GT(T.Offsets[2].Inverse, T.Offsets[0].Inverse);
    EXPECT_GT(T.Cells[2][0].Inverse, T.Cells[2][3].Inverse);

    // BL2XY never projects a point in a zone whose meridian is more than 3°
    // away, and every zone is met.
    std::set<int> Zones;
    for (const Testing::TGridPoint& P : Grid) {
        EXPECT_LE(std::fabs(P.Offset), 3 + 1e-9) << P.B << " " << P.L;
        Zones.insert(P.Zone);
    }
    EXPECT_EQ(Zones.size(), 60u);
    EXPECT_EQ(*Zones.begin(), 1);
    EXPECT_EQ(*Zones.rbegin(), 60);
}

// ZoneShift projects in a neighbouring zone: PROJ, told that zone's meridian
// and number, agrees. Points 4.6° and 7.4° from the meridian, beyond the
// zone, where the truncated series drift: measured at most 7 cm (7.4° out,
// on the equator).
TEST_F(ProjOracle, ZoneShiftAgreesInTheShiftedZone) {
    for (int Shift : {1, -1}) {
        const int Zone = 7 - Shift;
        std::string In;
        for (double B : {0.0, 30.0, 55.75, 70.0})
            In += fmt::format("37.62 {}\n", B);
        const auto Out = Testing::RunFilter("cs2cs", Testing::Cs2csArgs(Zone, false), In);
        ASSERT_TRUE(Out);
        const auto EN = Testing::ParsePairs(*Out);
        ASSERT_EQ(EN.size(), 4u);
        int K = 0;
        for (double B : {0.0, 30.0, 55.75, 70.0}) {
            double X, Y;
            Mapobjects::BL2XY(B, 37.62, X, Y, Shift);
            EXPECT_NEAR(Y, EN[K].first, 0.1) << Shift << " " << B;
            EXPECT_NEAR(X, EN[K].second, 0.1) << Shift << " " << B;
            ++K;
        }
    }
}
