// Circles and rectangles: their predicates and corners.
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
