// Parts and point lists: bounds that widen as points come, copies, errors.
#include "objects/Parts.h"
#include "objects/MapObject.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace Mapobjects;

namespace {

auto BoundsOf(const TParts& P) {
    return std::tuple(P.MinX, P.MinY, P.MaxX, P.MaxY);
}

} // namespace

TEST(Parts, BoundsStartEmptyAndCoverAllPartsEachPartOnlyItsOwn) {
    TParts Parts;
    EXPECT_EQ(BoundsOf(Parts),
              std::tuple(2147483647.0, 2147483647.0, -2147483647.0, -2147483647.0));
    TPart* A = Parts.Add();
    TPart* B = Parts.Add();
    A->Points().Add(3, 4);
    EXPECT_EQ(BoundsOf(Parts), std::tuple(3, 4, 3, 4));
    A->Points().Add(0, 0);
    A->Points().Add(1, 2);
    B->Points().Add(-5, 10);
    EXPECT_EQ(BoundsOf(Parts), std::tuple(-5, 0, 3, 10));
    EXPECT_EQ(std::tuple(A->Points().MinX, A->Points().MaxY), std::tuple(0, 4));
    EXPECT_EQ(std::tuple(B->Points().MinX, B->Points().MaxX), std::tuple(-5, -5));

    // The empty limits are those of 32-bit integers, whatever the points.
    TParts Huge;
    Huge.Add()->Points().Add(3e9, 1);
    EXPECT_EQ(Huge.MaxX, 3e9);
    EXPECT_EQ(Huge.MinX, 2147483647.0);
}

TEST(Parts, AddingAPointStoresACopyAndAnnouncesZeroZ) {
    TMapPoints Points;
    std::vector<double> Zs;
    Points.OnAddPoint = [&](double, double, double Z) { Zs.push_back(Z); };
    Points.Add(1, 2);
    TMapPoint Mine{7, 8};
    TMapPoint& Stored = Points.Add(Mine);
    EXPECT_EQ(Zs, (std::vector<double>{0, 0}));
    EXPECT_NE(&Stored, &Mine);
    Stored.X = 100;
    EXPECT_EQ(Mine.X, 7);
    EXPECT_EQ(Points.GetPoint(1).X, 100);

    EXPECT_THROW(Points.GetPoint(2), Platform::EListError);
    EXPECT_THROW(Points.GetPoint(-1), Platform::EListError);
    TParts Parts;
    EXPECT_THROW(Parts.GetLast(), Platform::EListError);
    EXPECT_THROW(Parts.GetFirst(), Platform::EListError);
}

TEST(Parts, ObjectBoundsOnlyWidenUntilRecomputed) {
    TCustomMapObject Obj;
    TPart* P = Obj.Parts().Add();
    P->Points().Add(0, 0);
    P->Points().Add(10, 10);
    P->Points().GetPoint(1) = TMapPoint{2, 3};
    EXPECT_EQ(Obj.GetBounds().MaxX, 10);
    Obj.UpdateBounds();
    EXPECT_EQ(std::tuple(Obj.GetBounds().MaxX, Obj.GetBounds().MaxY), std::tuple(2, 3));
    EXPECT_EQ(P->Points().MaxX, 10); // a point list's own bounds are never recomputed

    TCustomMapObject Empty;
    Empty.Parts().Add();
    Empty.UpdateBounds();
    EXPECT_GT(Empty.GetBounds().MinX, Empty.GetBounds().MaxX);
    EXPECT_GT(Empty.GetBounds().MinY, Empty.GetBounds().MaxY);
}
