// The geometry slot of an object (one point in place, or an owned part list),
// who a point list tells of its new points, and the box test of an extent.
#include "objects/PointOrParts.h"
#include "objects/MapObject.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace Mapobjects;

TEST(PointOrParts, APointBecomesTheFirstPartAndListsAreHandedBackOnce) {
    TPointOrParts G;
    EXPECT_EQ(G.ReplaceParts(nullptr), nullptr); // nothing held, nothing handed back
    G.SetPoint(3, 4);
    ASSERT_TRUE(G.HasPoint());
    EXPECT_EQ(G.Parts(), nullptr);

    TParts& L = G.MakeParts();
    EXPECT_FALSE(G.HasPoint());
    EXPECT_EQ(&G.MakeParts(), &L); // made once
    ASSERT_EQ(L.PointCount(), 1);
    EXPECT_EQ(std::tuple(L.MinX, L.MaxY), std::tuple(3, 4));

    auto Mine = std::make_unique<TParts>();
    TParts* Raw = Mine.get();
    std::unique_ptr<TParts> Old = G.ReplaceParts(std::move(Mine));
    EXPECT_EQ(Old.get(), &L);
    EXPECT_EQ(G.Parts(), Raw);
    EXPECT_EQ(G.ReplaceParts(nullptr).get(), Raw);
    EXPECT_EQ(G.Parts(), nullptr);
    EXPECT_FALSE(G.HasPoint()); // emptied, not back to the old point
}

TEST(PointOrParts, APartsListReportsToItsCollectionUntilGivenAnotherListener) {
    TParts Parts;
    TMapPoints& P = Parts.Add()->Points();
    ASSERT_TRUE(P.OnAddPoint);
    P.Add(5, 6);
    EXPECT_EQ(Parts.MaxX, 5);

    int Heard = 0;
    P.OnAddPoint = [&](double, double, double) { ++Heard; };
    P.Add(50, 60);
    EXPECT_EQ(Heard, 1);
    EXPECT_EQ(Parts.MaxX, 5); // the collection no longer hears

    // A list handed back by SetPoints is cut off from the collection.
    TPart* Q = Parts.Add();
    auto Old = Q->SetPoints(nullptr);
    EXPECT_FALSE(Old->OnAddPoint);
    Old->Add(900, 900);
    EXPECT_EQ(Parts.MaxX, 5);
}

TEST(PointOrParts, BoxesApartAreRefusedWhileTouchingOrCrossingOnesMeet) {
    const TBounds Box{0, 0, 10, 10};
    struct {
        double X1, Y1, X2, Y2;
        bool Meets;
    } Cases[] = {
        {11, 0, 20, 10, false},  // apart on x
        {2, 11, 3, 12, false},   // apart on y only
        {30, 30, 20, 20, false}, // apart, corners given in reverse
        {10, 2, 20, 3, true},    // shares the edge x = 10
        {20, 3, 10, 2, true},    // the same, corners in reverse
        {-5, 4, 15, 6, true},    // a cross: no corner of either in the other
        {10, 10, 10, 10, true},  // a point on the corner
    };
    for (const auto& C : Cases)
        EXPECT_EQ(BoxIntersectsRect(Box, C.X1, C.Y1, C.X2, C.Y2), C.Meets)
            << C.X1 << "," << C.Y1 << " " << C.X2 << "," << C.Y2;
}
