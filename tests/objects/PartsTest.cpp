#include "objects/Parts.h"
#include "objects/MapObject.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

using namespace Mapobjects;

TEST(Parts, NewCollectionHasEmptyBoundsUntilFirstPoint) {
    TParts Parts;
    EXPECT_EQ(Parts.MinX, 2147483647.0);
    EXPECT_EQ(Parts.MaxX, -2147483647.0);
    EXPECT_EQ(Parts.MinY, 2147483647.0);
    EXPECT_EQ(Parts.MaxY, -2147483647.0);
    Parts.Add()->Points().Add(3, 4);
    EXPECT_EQ(Parts.MinX, 3);
    EXPECT_EQ(Parts.MaxX, 3);
    EXPECT_EQ(Parts.MinY, 4);
    EXPECT_EQ(Parts.MaxY, 4);
}

TEST(Parts, CollectionBoundsCoverAllPartsEachPartOnlyItsOwn) {
    TParts Parts;
    TPart* A = Parts.Add();
    TPart* B = Parts.Add();
    A->Points().Add(0, 0);
    A->Points().Add(1, 2);
    B->Points().Add(-5, 10);
    EXPECT_EQ(Parts.MinX, -5);
    EXPECT_EQ(Parts.MaxY, 10);
    EXPECT_EQ(Parts.MaxX, 1);
    EXPECT_EQ(Parts.MinY, 0);
    EXPECT_EQ(A->Points().MinX, 0);
    EXPECT_EQ(A->Points().MaxY, 2);
    EXPECT_EQ(B->Points().MinX, -5);
    EXPECT_EQ(B->Points().MaxX, -5);
}

TEST(Parts, AddPointEventGetsZeroZ) {
    TMapPoints Points;
    std::vector<double> Zs;
    Points.OnAddPoint = [&](double, double, double Z) { Zs.push_back(Z); };
    Points.Add(1, 2);
    Points.Add(TMapPoint{3, 4});
    EXPECT_EQ(Zs, (std::vector<double>{0, 0}));
}

TEST(Parts, AddOfPointAddsADistinctCopy) {
    TMapPoints Points;
    TMapPoint Mine{7, 8};
    TMapPoint& Stored = Points.Add(Mine);
    EXPECT_NE(&Stored, &Mine);
    Stored.X = 100;
    EXPECT_EQ(Mine.X, 7);
    EXPECT_EQ(Points.GetPoint(0).X, 100);
}

TEST(Parts, IndexErrors) {
    TMapPoints Points;
    Points.Add(1, 1);
    EXPECT_THROW(Points.GetPoint(1), Platform::EListError);
    EXPECT_THROW(Points.GetPoint(-1), Platform::EListError);
    TParts Parts;
    EXPECT_THROW(Parts.GetLast(), Platform::EListError);
    EXPECT_THROW(Parts.GetFirst(), Platform::EListError);
}

TEST(Parts, HugeCoordinatesStillMeetTheEmptyLimits) {
    TParts Parts;
    Parts.Add()->Points().Add(3e9, 1);
    EXPECT_EQ(Parts.MaxX, 3e9);
    EXPECT_EQ(Parts.MinX, 2147483647.0); // the empty minimum is smaller than the point
}

TEST(Parts, BoundsOnlyWidenUntilRecomputed) {
    TCustomMapObject Obj;
    TPart* P = Obj.Parts().Add();
    P->Points().Add(0, 0);
    P->Points().Add(10, 10);
    P->Points().GetPoint(1) = TMapPoint{2, 3};
    EXPECT_EQ(Obj.GetBounds().MaxX, 10);
    Obj.UpdateBounds();
    EXPECT_EQ(Obj.GetBounds().MaxX, 2);
    EXPECT_EQ(Obj.GetBounds().MaxY, 3);
    EXPECT_EQ(P->Points().MaxX, 10); // a point list's own bounds are never recomputed
}

TEST(Parts, RecomputingEmptyGeometryLeavesEmptyBounds) {
    TCustomMapObject Obj;
    Obj.Parts().Add();
    Obj.UpdateBounds();
    TBounds B = Obj.GetBounds();
    EXPECT_GT(B.MinX, B.MaxX);
    EXPECT_GT(B.MinY, B.MaxY);
}

TEST(Parts, ReplacedPointListIsHandedBackAndNotConnected) {
    TParts Parts;
    TPart* P = Parts.Add();
    P->Points().Add(1, 1);
    auto Old = P->SetPoints(std::make_unique<TMapPoints>());
    ASSERT_TRUE(Old);
    EXPECT_EQ(Old->Count(), 1);
    P->Points().Add(50, 50);
    EXPECT_EQ(Parts.MaxX, 1); // the new list does not report to the collection
}

TEST(Parts, WritingAPartCopiesItsPoints) {
    TParts A, B;
    TPart* Src = A.Add();
    Src->Points().Add(1, 2);
    Src->Points().Add(3, 4);
    B.Add()->Points().Add(9, 9);
    B.SetFirst(Src);
    ASSERT_EQ(B.GetFirst()->Points().Count(), 2);
    EXPECT_EQ(B.GetFirst()->Points().GetPoint(1).Y, 4);
    EXPECT_EQ(B.MinX, 1); // the copy went through the connected list
    EXPECT_EQ(A.GetFirst()->Points().Count(), 2);
}

TEST(Parts, PointsCostTheirTwoDoubles) {
    TMapPoints Points;
    Points.Reserve(1000);
    for (int I = 0; I < 1000; ++I)
        Points.Add(I, I);
    EXPECT_EQ(sizeof(TMapPoint), 16u);
    EXPECT_LE(Points.MemoryUsed(), 1000 * 16 + 256);
}
