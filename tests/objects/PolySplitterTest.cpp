// Cutting rings by lines, and clipping them to the view.
#include "objects/PolySplitter.h"
#include "support/MapFixture.h"

#include <algorithm>
#include <random>

using namespace Mapobjects;
using Platform::TPoint;

namespace {

using TLongRing = std::vector<std::pair<long double, long double>>;

TLongRing PointsOf(const TPointsArray& A) {
    TLongRing R;
    for (int I = 0; I < A.Count(); ++I) {
        TPointEx P;
        A.GetPoint(I, P);
        R.emplace_back(P.X, P.Y);
    }
    return R;
}

TVectorEx Vec(long double X1, long double Y1, long double X2, long double Y2) {
    return VectorEx(PointEx(X1, Y1), PointEx(X2, Y2));
}

} // namespace

TEST(VectorOperations, ParallelLinesNeverIntersectCrossingsAreOnTheSegmentOnly) {
    TVectorOperations L;
    TPointEx P;
    L.SetVector(Vec(0, 0, 10, 0));
    EXPECT_FALSE(L.IsIntersected(Vec(2, 0, 5, 0), P)) << "collinear horizontals";
    EXPECT_FALSE(L.IsIntersected(Vec(4, 0, 4, 0), P)) << "zero-length segment, horizontal line";
    L.SetVector(Vec(0, 0, 0, 10));
    EXPECT_FALSE(L.IsIntersected(Vec(0, 2, 0, 8), P)) << "collinear verticals";
    EXPECT_FALSE(L.IsIntersected(Vec(0, 4, 0, 4), P)) << "zero-length segment, vertical line";
    L.SetVector(Vec(0, 0, 1, 1));
    EXPECT_FALSE(L.IsIntersected(Vec(0, 1, 2, 3), P)) << "equal slopes";

    L.SetVector(Vec(0, 0, 1, 0)); // short, but taken as an infinite line
    ASSERT_TRUE(L.IsIntersected(Vec(2, -2, 6, 2), P));
    EXPECT_EQ(P.X, 4);
    P = PointEx(-1, -1);
    EXPECT_FALSE(L.IsIntersected(Vec(2, 1, 6, 5), P)) << "beyond the segment";
    EXPECT_EQ(P.X, 1) << "the crossing is written all the same";
    L.SetVector(Vec(0, 0, 2, 2));
    ASSERT_TRUE(L.IsIntersected(Vec(0, 4, 4, 0), P));
    EXPECT_EQ(P.X, 2);
    EXPECT_EQ(P.Y, 2);
}

// --- view clipping -----------------------------------------------------------------------

namespace {

struct ClipView : Testing::ViewFixture {
    TMapPoints Points;

    void SetUp() override {
        ViewFixture::SetUp();
        Map.SetUseGeneralization(false);
    }
    std::vector<TPoint> Clip() { return ClipPointsToScreen(Points, Map); }

    // The four splits done one by one, each point converted by MapToScreen.
    std::vector<TPoint> Reference() {
        TBounds B = Map.GetViewBounds();
        int SX, SY;
        Map.MapToScreen(B.MinX, B.MinY, SX, SY, false);
        Map.ScreenToMap(SX - 2, SY + 2, B.MinX, B.MinY);
        Map.MapToScreen(B.MaxX, B.MaxY, SX, SY, false);
        Map.ScreenToMap(SX + 2, SY - 2, B.MaxX, B.MaxY);
        TPolySplitter S;
        for (const TMapPoint& P : Points)
            S.Source().Add(P.X, P.Y);
        S.Split(Vec(B.MinX, B.MinY, B.MinX, B.MaxY), smRight);
        S.Split(Vec(B.MinX, B.MaxY, B.MaxX, B.MaxY), smBelow);
        S.Split(Vec(B.MaxX, B.MaxY, B.MaxX, B.MinY), smLeft);
        S.Split(Vec(B.MaxX, B.MinY, B.MinX, B.MinY), smAbove);
        std::vector<TPoint> R;
        for (auto [X, Y] : PointsOf(S.Source())) {
            TPoint Q;
            Map.MapToScreen(static_cast<double>(X), static_cast<double>(Y), Q.X, Q.Y, false);
            R.push_back(Q);
        }
        return R;
    }
};

} // namespace

TEST_F(ClipView, MatchesTheFourSplitsAndMapToScreen) {
    for (int I = -80; I <= 80; ++I)
        Points.Add(I + 0.5, I * 0.25); // halves in X and Y
    ASSERT_EQ(Clip(), Reference());
    Map.SetZoom(3.7);
    Map.SetCenterX(12.3);
    Map.SetCenterY(-4.1);
    // Rings leaving the view on every combination of sides, and far away.
    std::mt19937 Rng(42);
    std::uniform_real_distribution<double> X(-60, 80), Y(-30, 20);
    for (int Ring = 0; Ring < 300; ++Ring) {
        Points.Clear();
        for (int I = 0; I < 3 + Ring % 9; ++I)
            Points.Add(X(Rng), Y(Rng));
        ASSERT_EQ(Clip(), Reference()) << "ring " << Ring;
    }
    Points.Clear();
    Points.Add(-1e15, 3e12);
    Points.Add(-1e15, -3e12);
    EXPECT_EQ(Clip(), Reference());
    EXPECT_EQ(Clip()[0].X, -1073741823);
}

TEST_F(ClipView, GeneralizationDropsPointsWithinTheLevel) {
    Map.SetUseGeneralization(true);
    Map.SetGeneralizationLevel(3);
    for (auto [PX, PY] :
         {std::pair{10, 10}, {12, 11}, {13, 13}, {11, 12}, {14, 10}, {17, 10}, {18, 10}, {18, 14}})
        Points.Add(PX - 100, 50 - PY);
    EXPECT_EQ(Clip(), (std::vector<TPoint>{{10, 10}, {14, 10}, {18, 10}, {18, 14}}));
    Map.SetUseGeneralization(false);
    EXPECT_EQ(Clip().size(), 8u);
}
