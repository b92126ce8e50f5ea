// The two geodesic circles: the region stepped around its centre in
// Gauss–Krüger metres, and the ellipse kept as its bounding box. The region's
// distances against GeographicLib, the new circle's and those that cross a
// zone's edge included, are in GeodesicOracleTest.cpp.
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

Mapobjects::TGeoCircle* Make(Mapobjects::TGeoCircle* G, double X, double Y, double R, int N) {
    G->SetPieCount(N);
    G->SetRadius(R);
    G->SetCenterY(Y);
    G->SetCenterX(X);
    return G;
}

} // namespace

// --- Mapobjects::TGeoCircle -----------------------------------------------------------------

// A new circle has 90 points and the first again; four points show the
// order: clockwise from one step east of north round to north.
TEST(RegionGeoCircle, NewOneIsAClosedRingSteppedClockwise) {
    Mapobjects::TGeoCircle G;
    ASSERT_EQ(G.Parts().Count(), 1);
    std::vector<XY> R = Ring(G);
    ASSERT_EQ(R.size(), 91u);
    EXPECT_EQ(R.front(), R.back());
    EXPECT_TRUE(dynamic_cast<Mapobjects::TRegion*>(&G)) << "drawn, hit and stored as a region";

    G.SetPieCount(4);
    R = Ring(G);
    ASSERT_EQ(R.size(), 5u);
    const struct {
        double DX, DY; // the direction the point lies in from the centre
        const char* Bearing;
    } Expected[] = {{1, 0, "90"}, {0, -1, "180"}, {-1, 0, "270"}, {0, 1, "360"}, {1, 0, "90"}};
    for (size_t I = 0; I < 5; ++I) {
        const auto [X, Y] = R[I];
        const double Along = X * Expected[I].DX + Y * Expected[I].DY;
        const double Across = std::fabs(X * Expected[I].DY - Y * Expected[I].DX);
        EXPECT_GT(Along, 0.89) << Expected[I].Bearing;
        EXPECT_LT(Across, 0.001) << Expected[I].Bearing;
    }
    EXPECT_EQ(R[4], R[0]);
}

// Each setter rebuilds the ring at once, and the extent is the new ring's:
// a region is hit anywhere in its box, so a stale box would keep catching
// clicks where the circle used to be.
TEST(RegionGeoCircle, SettersRebuildAndTheExtentFollows) {
    Mapobjects::TGeoCircle G;
    G.SetCenterX(20);
    EXPECT_NEAR(Ring(G)[89].first, 20, 0.001) << "the north point moved with the centre";
    G.SetCenterY(-40);
    G.SetRadius(10000);
    G.SetPieCount(12);
    EXPECT_EQ(Ring(G).size(), 13u);
    const Mapobjects::TBounds B = G.GetBounds();
    EXPECT_GT(B.MinX, 19.8);
    EXPECT_LT(B.MaxX, 20.2);
    EXPECT_GT(B.MinY, -40.1);
    EXPECT_LT(B.MaxY, -39.9);
    EXPECT_FALSE(G.ContainsPoint(0, 0)) << "the first circle's place";
    EXPECT_TRUE(G.ContainsPoint(20, -40));
}

// Past the antimeridian longitudes above 180 come back 360 lower; the ring
// then jumps across the map, and only by that: shifted back it is smooth.
TEST(RegionGeoCircle, AntimeridianReducesLongitudesAbove180) {
    Mapobjects::TGeoCircle G;
    G.SetRadius(200000);
    for (double CX : {179.5, -179.5}) {
        G.SetCenterX(CX);
        const std::vector<XY> R = Ring(G);
        int East = 0, West = 0;
        for (size_t I = 0; I < R.size(); ++I) {
            const double X = R[I].first;
            EXPECT_GT(X, -180) << CX;
            EXPECT_LE(X, 180) << CX;
            (X < 0 ? East : West)++;
            const double Unwrapped = X < 0 ? X + 360 : X;
            const double Prev =
                I ? (R[I - 1].first < 0 ? R[I - 1].first + 360 : R[I - 1].first) : Unwrapped;
            EXPECT_LT(std::fabs(Unwrapped - Prev), 0.2) << CX << " point " << I;
        }
        EXPECT_GT(East, 20) << CX;
        EXPECT_GT(West, 20) << CX;
        EXPECT_EQ(R.front(), R.back());
    }
    // Nothing is added below -180: a centre a full turn and more west gets
    // the one full turn of the projection, and its ring stays at -181.
    G.SetCenterX(-541);
    for (const auto& [X, Y] : Ring(G))
        EXPECT_NEAR(X, -181, 1.9) << Y;
}

// Nothing guards the pole: a ring that runs over it gets the latitudes past
// 90° that the series give (the plane point lies beyond the pole), and a
// centre on the pole gives numbers without meaning. The ring still closes
// and its numbers stay finite.
TEST(RegionGeoCircle, OverThePoleTheSeriesAnswer) {
    Mapobjects::TGeoCircle G;
    Make(&G, 39, 89.5, 100000, 8);
    std::vector<XY> R = Ring(G);
    EXPECT_NEAR(R[7].second, 90.395, 0.001) << "due north, 55 km past the pole";
    EXPECT_NEAR(R[7].first, 39, 0.01);
    EXPECT_EQ(R.front(), R.back());
    Make(&G, 39, 90, 100000, 8);
    R = Ring(G);
    EXPECT_EQ(R.front(), R.back());
    for (const auto& [X, Y] : R)
        EXPECT_TRUE(std::isfinite(X) && std::isfinite(Y));
    EXPECT_GT(R[7].second, 90);
}

TEST(RegionGeoCircle, DegenerateInputs) {
    // Radius 0: every ring point on the centre, as the series give it back
    // (within a metre).
    Mapobjects::TGeoCircle G;
    Make(&G, 10, 10, 0, 4);
    const std::vector<XY> R = Ring(G);
    for (const XY& P : R) {
        EXPECT_EQ(P, R[0]);
        EXPECT_NEAR(P.first, 10, 1e-5);
        EXPECT_NEAR(P.second, 10, 1e-5);
    }
    // No points on the circumference: one empty ring, no division by zero.
    for (int N : {0, -3}) {
        G.SetPieCount(N);
        ASSERT_EQ(G.Parts().Count(), 1) << N;
        EXPECT_EQ(G.Parts().Items(0)->Points().Count(), 0) << N;
        EXPECT_GT(G.GetBounds().MinX, G.GetBounds().MaxX) << "empty extent";
    }
    G.SetPieCount(1);
    EXPECT_EQ(Ring(G).size(), 2u) << "the north point and its repetition";
}

// --- Geocircle::TGeoCircle ------------------------------------------------------------------

TEST(EllipseGeoCircle, NewOneKeepsTheUnitSquareUntilASetterRuns) {
    Geocircle::TGeoCircle G;
    EXPECT_EQ(G.Radius(), 0);
    EXPECT_EQ(G.X(), 0);
    EXPECT_EQ(G.Y(), 0);
    EXPECT_EQ(Testing::PointsOf(&G), "0 0,0 1,1 1,1 0");
    EXPECT_TRUE(G.ContainsPoint(0.5, 0.5));
    G.SetRadius(111000);
    EXPECT_NE(Testing::PointsOf(&G), "0 0,0 1,1 1,1 0");
}

TEST(EllipseGeoCircle, BoxCornersAndHalfAxes) {
    const struct {
        double Lat, Radius, B; // b expected in degrees
        double AOverB;         // a / b about 1 / cos(latitude)
    } Cases[] = {{0, 111000, 1.0040, 1.0}, {60, 111000, 0.9974, 2.0}, {-45, 5000, 0.04500, 1.414}};
    for (const auto& C : Cases) {
        Geocircle::TGeoCircle G;
        G.SetRadius(C.Radius);
        G.SetY(C.Lat);
        G.SetX(39.5);
        const std::vector<XY> R = Ring(G);
        ASSERT_EQ(R.size(), 4u);
        const double A = R[2].first - 39.5, B = R[2].second - C.Lat;
        EXPECT_NEAR(B, C.B, C.B * 0.002) << C.Lat;
        EXPECT_NEAR(A / B, C.AOverB, C.AOverB * 0.01) << C.Lat;
        const XY Corners[] = {{39.5 - A, C.Lat - B},
                              {39.5 - A, C.Lat + B},
                              {39.5 + A, C.Lat + B},
                              {39.5 + A, C.Lat - B}};
        for (int I = 0; I < 4; ++I) {
            EXPECT_NEAR(R[I].first, Corners[I].first, 1e-12) << C.Lat << " corner " << I;
            EXPECT_NEAR(R[I].second, Corners[I].second, 1e-12) << C.Lat << " corner " << I;
        }
        // The extent is the box's, also though the points were overwritten.
        EXPECT_DOUBLE_EQ(G.GetBounds().MinX, 39.5 - A);
        EXPECT_DOUBLE_EQ(G.GetBounds().MaxY, C.Lat + B);
    }
}

// Less than an arc-second west of the border at 36° the step east lands in
// zone 7: dE takes in the zone step, and the ellipse all but closes in x.
TEST(EllipseGeoCircle, ZoneBorderSqueezesTheWidth) {
    Geocircle::TGeoCircle Near, Far;
    for (auto [G, X] : {std::pair{&Near, 36 - 0.5 / 3600}, std::pair{&Far, 35.99}}) {
        G->SetRadius(50000);
        G->SetY(50);
        G->SetX(X);
    }
    const double ANear = Ring(Near)[2].first - Near.X();
    const double AFar = Ring(Far)[2].first - Far.X();
    EXPECT_NEAR(AFar, 0.70, 0.01);
    EXPECT_LT(ANear, AFar / 1000);
    EXPECT_GT(ANear, 0);
    EXPECT_NEAR(Ring(Near)[2].second - 50, Ring(Far)[2].second - 50, 1e-6) << "b unchanged";
}

TEST(EllipseGeoCircle, ContainsPointIsTheInscribedEllipse) {
    Geocircle::TGeoCircle G;
    G.SetRadius(100000);
    G.SetY(0);
    G.SetX(10);
    const std::vector<XY> R = Ring(G);
    const double A = (R[2].first - R[0].first) / 2, B = (R[2].second - R[0].second) / 2;
    const struct {
        double X, Y;
        bool In;
    } Cases[] = {{10, 0, true},
                 {R[2].first, 0, true}, // the boundary counts
                 {10, R[0].second, true},
                 {10 + A * 0.71, B * 0.71, false}, // in the box's corner, out of the ellipse
                 {10 + A * 0.7, B * 0.7, true},
                 {R[2].first + 1e-9, 0, false}};
    for (const auto& C : Cases)
        EXPECT_EQ(G.ContainsPoint(C.X, C.Y), C.In) << C.X << " " << C.Y;

    G.SetRadius(0);
    EXPECT_FALSE(G.ContainsPoint(10, 0)) << "a zero box holds nothing";
    G.Parts().Items(0)->Points().Clear();
    EXPECT_FALSE(G.ContainsPoint(10, 0)) << "fewer than four points";
    G.SetRadius(100000);
    EXPECT_TRUE(G.ContainsPoint(10, 0)) << "recalculation restores the corners";
}

// --- The ellipse on a map, a 200 x 100 view of -100..100 x -50..50 degrees ----------------

namespace {
struct GeoCircleView : Testing::ViewFixture {};
} // namespace

TEST_F(GeoCircleView, EllipseDrawsInItsBoxAndTogglesItsSelection) {
    auto* G = Add<Geocircle::TGeoCircle>();
    G->SetRadius(2000000); // about 18° each way on the equator
    Rebuild();
    EXPECT_EQ(At(100, 50), Platform::clRed) << "the centre";
    EXPECT_EQ(At(100, 37), Platform::clRed) << "inside, north";
    EXPECT_EQ(At(113, 37), Platform::clWhite) << "the box's corner, outside the ellipse";
    EXPECT_EQ(At(125, 50), Platform::clWhite) << "outside the box";
    EXPECT_EQ(Map.Displayed().IndexOf(G), 0);
    Testing::ExpectSelectionToggles(Map, G, QPoint(100, 50), QPoint(125, 50));
}
