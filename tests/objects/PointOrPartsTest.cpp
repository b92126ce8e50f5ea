// The box test of an extent against a rectangle given by any two corners.
#include "objects/MapObject.h"

#include <gtest/gtest.h>

using namespace Mapobjects;

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
