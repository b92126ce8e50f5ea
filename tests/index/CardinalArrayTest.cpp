// The growing array of object ids.
#include "index/CardinalArray.h"
#include "platform/SysUtils.h"
#include "support/TestUtils.h"

#include <gtest/gtest.h>

using namespace Mapobjects;

TEST(CardinalArray, GrowsOneSlotEarlyAndClearsBackTo32) {
    TCardinalArray A;
    for (std::uint32_t I = 0; I < 40; ++I) {
        // Adding the 32nd value grows it: a slot always stays free.
        EXPECT_EQ(A.Capacity(), I < 32 ? 32 : 62) << I;
        A.Add(I * 10);
    }
    ASSERT_EQ(A.Count(), 40);
    for (int I = 0; I < 40; ++I)
        EXPECT_EQ(A[I], static_cast<std::uint32_t>(I * 10));
    A.Clear();
    EXPECT_EQ(A.Count(), 0);
    EXPECT_EQ(A.Capacity(), 32);

    // Access is checked against the allocation, not the count.
    A.SetItem(31, 5);
    EXPECT_EQ(A.GetItem(31), 5u);
    EXPECT_EQ(A.Count(), 0);
    EXPECT_EQ(Testing::MessageOf<Platform::ERangeError>([&] { A.GetItem(32); }),
              "Range check error");
    EXPECT_THROW(A.SetItem(-1, 0), Platform::ERangeError);
}

TEST(CardinalArray, RemoveExistsAndCopy) {
    TCardinalArray A;
    for (std::uint32_t V : {7u, 8u, 9u})
        A.Add(V);
    A.Remove(0);
    A.Remove(1);
    ASSERT_EQ(A.Count(), 1);
    EXPECT_EQ(A[0], 8u);
    EXPECT_FALSE(A.Exists(9)); // still in the allocation, no longer an element
    EXPECT_TRUE(A.Exists(8));
    EXPECT_THROW(A.Remove(1), Platform::ERangeError);

    TCardinalArray B;
    for (std::uint32_t V = 0; V < 5; ++V)
        B.Add(V);
    A.Copy(B);
    EXPECT_EQ(A.Capacity(), 5);
    // A copy is allocated to its exact size; adding to it must still have room.
    for (std::uint32_t V = 5; V < 12; ++V)
        A.Add(V);
    for (int I = 0; I < 12; ++I)
        EXPECT_EQ(A[I], static_cast<std::uint32_t>(I));
    EXPECT_GE(A.Capacity(), A.Count() + 1);
}
