// Circles and rectangles: their predicates, and their drawing on a 200 x 100 view.
#include "objects/Shapes.h"
#include "support/MapFixture.h"

using namespace Mapobjects;
using namespace Platform;

namespace {

void Place(TCircle& C, double X, double Y, double R) {
    Testing::Place(&C, X, Y)->SetRadius(R);
}

} // namespace

TEST(Circle, PredicatesOfTheDisc) {
    TCircle A, B, C;
    Place(A, 0, 0, 5);
    EXPECT_TRUE(A.ContainsPoint(3, 4)) << "closed disc";
    EXPECT_FALSE(A.ContainsPoint(3, 4.001));
    EXPECT_TRUE(A.ContainsRect(-3, -4, 3, 4));
    EXPECT_FALSE(A.ContainsRect(-3, -4, 3.1, 4));
    Place(A, 0, 0, 1);
    Place(B, 2, 0, 1);
    Place(C, 0, 1.9, 1);
    EXPECT_FALSE(A.Intersects(&B)) << "touching circles";
    EXPECT_TRUE(A.Intersects(&C));
    EXPECT_TRUE(A.WithinRect(-2, -2, 2, 2));
    EXPECT_FALSE(A.WithinRect(-1, -2, 2, 2)) << "box touches the left side";
    EXPECT_FALSE(A.WithinRect(-2, -2, 2, 1)) << "box touches the top";
    EXPECT_TRUE(A.IntersectsRect(0.5, 0.5, 5, 5));
    EXPECT_FALSE(A.IntersectsRect(-5, -5, 5, 5)) << "encloses the circle, no corner inside";
    EXPECT_FALSE(A.IntersectsRect(-0.2, -5, 0.2, 5)) << "crosses it, no corner inside";

    // Against an object of another kind one point of it is enough.
    TPolyline L;
    EXPECT_FALSE(A.Contains(&L)) << "no points";
    TMapPoints& P = L.Parts().Add()->Points();
    P.Add(10, 10);
    EXPECT_FALSE(A.Intersects(&L));
    P.Add(0.5, 0);
    P.Add(-10, 3);
    EXPECT_TRUE(A.Contains(&L));
    EXPECT_TRUE(A.Intersects(&L));
    EXPECT_TRUE(L.Within(&A));
}

TEST(Circle, SettersCreateTheCentreButLeaveTheExtent) {
    TCircle C;
    C.Parts().Items(0)->Points().Clear();
    C.SetY(7);
    EXPECT_EQ(Testing::PointsOf(&C), "0 7");
    TCircle M;
    Testing::Place(&M, 10, 20);
    EXPECT_EQ(M.GetBounds().MaxX, 0) << "kept extent still at the creation point";
    M.UpdateBounds();
    EXPECT_EQ(M.GetBounds().MinX, 10);
    EXPECT_EQ(M.GetBounds().MaxY, 20);

    TCircle Empty;
    Empty.Parts().Clear();
    EXPECT_EQ(Empty.Y(), 0);
    EXPECT_EQ(Testing::PointsOf(&Empty), "0 0") << "reading creates the missing centre";
}

TEST(Rectangle, CornersAreReadOrdered) {
    TRectangle R;
    R.SetX1(10);
    R.SetY1(5);
    EXPECT_EQ(std::tuple(R.X0(), R.Y0(), R.X1(), R.Y1()), std::tuple(0, 0, 10, 5));
    R.SetX1(3);
    R.SetX0(5); // goes to the first corner as such
    EXPECT_EQ(R.X0(), 3);
    EXPECT_EQ(R.X1(), 5);

    TRectangle Short;
    Short.Parts().Items(0)->Points().Delete(1);
    EXPECT_EQ(Short.Y1(), 0);
    EXPECT_EQ(Testing::PointsOf(&Short), "0 0,0 0") << "filled up to two corners";
}

TEST(Rectangle, PredicatesUseTheKeptExtent) {
    TRectangle R;
    Testing::Corners(&R, -10, -5, 10, 5);
    EXPECT_FALSE(R.ContainsPoint(3, 2)) << "setters leave the creation extent";
    EXPECT_TRUE(R.ContainsPoint(0, 0));
    R.UpdateBounds();
    EXPECT_TRUE(R.ContainsPoint(3, 2));
    EXPECT_TRUE(R.ContainsPoint(10, 5));

    EXPECT_TRUE(R.IntersectsRect(5, 2, 50, 50));
    EXPECT_FALSE(R.IntersectsRect(-20, -20, 20, 20)) << "encloses it without a corner inside";
    EXPECT_FALSE(R.IntersectsRect(-2, -20, 2, 20)) << "crosses it";
    EXPECT_TRUE(R.WithinRect(-10, -5, 10, 5));
    EXPECT_FALSE(R.WithinRect(-9, -5, 10, 5));

    // Contains compares the other's bounding box, not its points.
    TPolyline L;
    TMapPoints& P = L.Parts().Add()->Points();
    P.Add(-9, -4);
    P.Add(9, 4);
    EXPECT_TRUE(R.Contains(&L));
    P.Add(20, 0);
    EXPECT_FALSE(R.Contains(&L));
    EXPECT_TRUE(R.Intersects(&L));
}

// --- drawing -------------------------------------------------------------------------------

using ShapesView = Testing::ViewFixture;

TEST_F(ShapesView, CircleRadiusFollowsTheZoomAndItsSelectionToggles) {
    TCircle* C = Add<TCircle>();
    Place(*C, 10, 0, 20);
    C->UpdateBounds();
    Rebuild();
    EXPECT_EQ(At(110, 50), clRed);
    EXPECT_EQ(At(125, 50), clRed);
    EXPECT_EQ(At(135, 50), clWhite);
    EXPECT_EQ(At(110, 25), clWhite);
    EXPECT_EQ(At(90, 50), clBlack) << "left edge of the ellipse";
    Map.SetCenterX(10);
    Map.SetZoom(2);
    Rebuild(); // 40 pixels of radius about the centre of the view
    EXPECT_EQ(At(135, 50), clRed);
    EXPECT_EQ(At(100, 15), clRed);
    EXPECT_EQ(At(145, 50), clWhite);
    Testing::ExpectSelectionToggles(Map, C, {100, 50}, {5, 5});
}

TEST_F(ShapesView, ARoundedRectangleLeavesItsCornersEmpty) {
    TRectangle* Round = Testing::Corners(Add<TRectangle>(), 10, 40, 90, -40);
    Round->SetCornerDiameter(40);
    Round->UpdateBounds();
    Rebuild();
    // Three pixels in from each corner of the box (pixels 110-190 across,
    // 10-90 down), then the middle of each side.
    for (auto [DX, DY] : {std::pair{3, 3}, {77, 3}, {3, 77}, {77, 77}})
        EXPECT_EQ(At(110 + DX, 10 + DY), clWhite) << DX << "," << DY;
    for (auto [X, Y] : {std::pair{150, 12}, {150, 88}, {112, 50}, {188, 50}, {150, 50}})
        EXPECT_EQ(At(X, Y), clRed) << X << "," << Y;
    EXPECT_EQ(At(150, 10), clBlack) << "the outline along the straight top";
    Round->SetCornerDiameter(-1);
    EXPECT_EQ(Round->CornerDiameter(), 0);
}
