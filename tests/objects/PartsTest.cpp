// Point lists: points added as copies, out-of-range indices as errors.
#include "objects/Parts.h"
#include "objects/MapObject.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

using namespace Mapobjects;

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
