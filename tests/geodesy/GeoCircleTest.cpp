// The two geodesic circles: the region stepped around its centre in
// Gauss–Krüger metres, and the ellipse kept as its bounding box. How far the
// region's vertices lie from the radius is GeodesicOracleTest.cpp's.
#include "geodesy/GeoCircle.h"
#include "support/MapFixture.h"

#include <cmath>

using Testing::XY;

namespace {

std::vector<XY> Ring(const Mapobjects::TCustomMapObject& O) {
    std::vector<XY> R;
    for (const Mapobjects::TMapPoint& P : O.Parts().Items(0)->Points())
        R.emplace_back(P.X, P.Y);
    return R;
}

// The ring rounded to tenths of a degree.
std::string Tenths(const Mapobjects::TCustomMapObject& O) {
    std::string S;
    for (const auto& [X, Y] : Ring(O))
        S += Platform::Format("%g %g,", std::round(X * 10) / 10 + 0.0,
                              std::round(Y * 10) / 10 + 0.0);
    return S;
}

} // namespace

// A new circle has 90 points and the first again. Four points show the
// order: clockwise from one step east of north round to north. Each setter
// rebuilds the ring, and the extent is the new ring's: a region is hit in
// its box, so a stale box would keep catching clicks where the circle was.
TEST(RegionGeoCircle, ClosedRingSteppedClockwiseRebuiltByEverySetter) {
    Mapobjects::TGeoCircle G;
    ASSERT_EQ(Ring(G).size(), 91u);
    EXPECT_EQ(Ring(G).front(), Ring(G).back());
    G.SetPieCount(4);
    EXPECT_EQ(Tenths(G), "0.9 0,0 -0.9,-0.9 0,0 0.9,0.9 0,");
    G.SetCenterX(20);
    EXPECT_EQ(Tenths(G), "20.9 0,20 -0.9,19.1 0,20 0.9,20.9 0,");
    G.SetCenterY(-40);
    EXPECT_EQ(Tenths(G), "21.2 -40,20 -40.9,18.8 -40,20 -39.1,21.2 -40,");
    G.SetRadius(20000);
    EXPECT_EQ(Tenths(G), "20.2 -40,20 -40.2,19.8 -40,20 -39.8,20.2 -40,");
    const Mapobjects::TBounds B = G.GetBounds();
    EXPECT_TRUE(B.MinX > 19.7 && B.MaxX < 20.3 && B.MinY > -40.2 && B.MaxY < -39.8);
}

// Past the antimeridian longitudes above 180 come back 360 lower; nothing
// is added below -180. Over the pole the series answer unguarded: latitudes
// past 90°, the ring still closed and finite. Radius 0 puts every point on
// the centre; no points on the circumference leave one empty ring.
TEST(RegionGeoCircle, UnguardedInputsGiveWhatTheSeriesGive) {
    Mapobjects::TGeoCircle G;
    G.SetPieCount(4);
    G.SetRadius(200000);
    G.SetCenterX(179.5);
    EXPECT_EQ(Tenths(G), "-178.7 0,179.5 -1.8,177.7 0,179.5 1.8,-178.7 0,");
    G.SetCenterX(-179.5);
    EXPECT_EQ(Tenths(G), "-177.7 0,-179.5 -1.8,178.7 0,-179.5 1.8,-177.7 0,");
    G.SetCenterX(-541);
    EXPECT_EQ(Tenths(G), "-179.2 0,-181 -1.8,-182.8 0,-181 1.8,-179.2 0,");

    G.SetPieCount(8);
    G.SetRadius(100000);
    G.SetCenterX(39);
    G.SetCenterY(89.5);
    EXPECT_NEAR(Ring(G)[7].second, 90.395, 0.001) << "due north, 55 km past the pole";
    G.SetCenterY(90);
    EXPECT_EQ(Ring(G).front(), Ring(G).back());
    for (const auto& [X, Y] : Ring(G))
        EXPECT_TRUE(std::isfinite(X) && std::isfinite(Y));

    G.SetCenterY(10);
    G.SetRadius(0);
    for (const auto& [X, Y] : Ring(G))
        EXPECT_EQ(Platform::Format("%.4f %.4f", X, Y), "39.0000 10.0000");
    for (int N : {0, -3}) {
        G.SetPieCount(N);
        ASSERT_EQ(G.Parts().Count(), 1) << N;
        EXPECT_EQ(G.Parts().Items(0)->Points().Count(), 0) << N;
    }
}

// The ellipse keeps the unit square until a setter runs; then its box is
// (x ± a, y ± b) with b the radius in degrees of latitude and a about
// b / cos(latitude). Less than an arc-second west of the zone border at 36°
// the step east lands in zone 7 and a all but vanishes.
TEST(EllipseGeoCircle, BoxCornersAndHalfAxes) {
    Geocircle::TGeoCircle G;
    EXPECT_EQ(Testing::PointsOf(&G), "0 0,0 1,1 1,1 0");
    const struct {
        double X, Lat, Radius, B; // b expected in degrees
        double AOverB;            // about 1 / cos(latitude)
    } Cases[] = {{39.5, 0, 111000, 1.0040, 1.0},
                 {39.5, 60, 111000, 0.9974, 2.0},
                 {39.5, -45, 5000, 0.04500, 1.414},
                 {35.99, 50, 50000, 0.4495, 1.556},
                 {36 - 0.5 / 3600, 50, 50000, 0.4495, 0}};
    for (const auto& C : Cases) {
        G.SetRadius(C.Radius);
        G.SetY(C.Lat);
        G.SetX(C.X);
        const std::vector<XY> R = Ring(G);
        ASSERT_EQ(R.size(), 4u);
        const double A = R[2].first - C.X, B = R[2].second - C.Lat;
        EXPECT_NEAR(B, C.B, C.B * 0.002) << C.X << " " << C.Lat;
        EXPECT_NEAR(A / B, C.AOverB, std::max(C.AOverB * 0.01, 1e-3)) << C.X << " " << C.Lat;
        EXPECT_GT(A, 0);
        // South-west, north-west, north-east, south-east about the centre.
        EXPECT_NEAR(R[0].first + R[2].first, 2 * C.X, 1e-9);
        EXPECT_NEAR(R[0].second + R[2].second, 2 * C.Lat, 1e-9);
        EXPECT_EQ(R[1], XY(R[0].first, R[2].second));
        EXPECT_EQ(R[3], XY(R[2].first, R[0].second));
        EXPECT_DOUBLE_EQ(G.GetBounds().MinX, C.X - A) << "the extent follows the box";
    }
}

TEST(EllipseGeoCircle, ContainsPointIsTheInscribedEllipse) {
    Geocircle::TGeoCircle G;
    G.SetRadius(100000);
    G.SetX(10);
    const std::vector<XY> R = Ring(G);
    const double A = (R[2].first - R[0].first) / 2, B = (R[2].second - R[0].second) / 2;
    const struct {
        double X, Y;
        bool In;
    } Cases[] = {{R[2].first, 0, true},            // the boundary counts
                 {10 + A * 0.71, B * 0.71, false}, // in the box's corner, out of the ellipse
                 {10 + A * 0.7, B * 0.7, true},
                 {R[2].first + 1e-9, 0, false}};
    for (const auto& C : Cases)
        EXPECT_EQ(G.ContainsPoint(C.X, C.Y), C.In) << C.X << " " << C.Y;
    G.SetRadius(0);
    EXPECT_FALSE(G.ContainsPoint(10, 0)) << "a zero box holds nothing";
}
