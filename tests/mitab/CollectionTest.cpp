// Multipoints and collections through the module: one feature each, a
// collection's members handed out and set as features of their own.

#include "MitabFixture.h"

using namespace Testing;

namespace {

constexpr const char* CollectionMif =
    "Version 300\nCharset \"Neutral\"\nDelimiter \",\"\nColumns 1\n  name Char(10)\nData\n"
    "Collection 3\n  Region 1\n    5\n0 0\n4 0\n4 4\n0 4\n0 0\n    Pen (2,2,255)\n"
    "    Brush (2,65280)\n  Pline 3\n5 5\n6 6\n7 5\n  Multipoint 2\n8 8\n9 9\n"
    "Collection 2\n  Line 0 0 1 1\n  Multipoint 1\n3 3\n"
    "Multipoint 3\n20 20\n21 21\n22 22\n    Symbol (35,16711680,9)\n";

struct CollectionTest : MitabTest {
    // The class and parts of a member, "none" when there is none.
    std::string Member(mitab_feature F) {
        if (!F) return "none";
        return std::to_string(M.get_type(F)) + " " + PartsOf(F);
    }
};

} // namespace

TEST_F(CollectionTest, MembersComeOutAsFeaturesOfTheirOwnClasses) {
    const std::string File = Dir.Path("c.mif");
    WriteFile(File, CollectionMif);
    WriteFile(Dir.Path("c.mid"), "\"a\"\n\"b\"\n\"c\"\n");
    mitab_handle H = M.open(File.c_str());
    ASSERT_NE(H, nullptr);
    struct TCase {
        int Id, Class;
        const char* Parts;
        const char* Region;
        const char* Polyline;
        const char* Points;
    } const Cases[] = {
        {1, TABFC_Collection, "0 0,4 0,4 4,0 4,0 0|5 5,6 6,7 5|8 8,9 9", "7 0 0,4 0,4 4,0 4,0 0",
         "5 5 5,6 6,7 5", "10 8 8,9 9"},
        {2, TABFC_Collection, "0 0,1 1|3 3", "none", "5 0 0,1 1", "10 3 3"},
        {3, TABFC_MultiPoint, "20 20,21 21,22 22", "none", "none", "none"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Id);
        mitab_feature F = M.read_feature(H, C.Id);
        ASSERT_NE(F, nullptr);
        EXPECT_EQ(M.get_type(F), C.Class);
        EXPECT_EQ(PartsOf(F), C.Parts);
        EXPECT_EQ(Member(M.get_collection_region_ref(F)), C.Region);
        EXPECT_EQ(Member(M.get_collection_polyline_ref(F)), C.Polyline);
        EXPECT_EQ(Member(M.get_collection_multipoint_ref(F)), C.Points);
        M.destroy_feature(F);
    }
    EXPECT_EQ(M.next_feature_id(H, 3), -1); // three features, whatever GDAL counts
    M.close(H);
}

TEST_F(CollectionTest, MembersSetMakeOneFeatureAndTheDriversSplitIsTold) {
    const std::string File = Dir.Path("w.mif");
    mitab_handle H = M.create(File.c_str(), "mif", "CoordSys Earth Projection 1, 104", 0, 0, 0, 0);
    ASSERT_NE(H, nullptr);
    ASSERT_EQ(M.add_field(H, "name", TABFT_Char, 10, 0, 0, 0), 0);
    mitab_feature C = M.create_feature(H, TABFC_Collection);
    ASSERT_NE(C, nullptr);
    double Xs[] = {0, 4, 4, 0}, Ys[] = {0, 0, 4, 0};
    mitab_feature R = M.create_feature(H, TABFC_Region);
    M.set_points(R, 0, 4, Xs, Ys);
    mitab_feature L = M.create_feature(H, TABFC_Polyline);
    M.set_points(L, 0, 2, Xs, Ys);
    mitab_feature P = M.create_feature(H, TABFC_MultiPoint);
    M.set_points(P, 0, 3, Xs, Ys);
    // A member of the wrong class is refused; a copy leaves the caller's own.
    EXPECT_EQ(M.set_collection_region(C, L, 1), 0);
    EXPECT_EQ(M.set_collection_region(C, R, 1), 1);
    EXPECT_EQ(M.set_collection_multipoint(C, P, 1), 1);
    EXPECT_EQ(M.set_collection_polyline(C, L, 0), 1); // handed over: freed by the module
    EXPECT_EQ(PartsOf(C), "0 0,4 0,4 4,0 0|0 0,4 0|0 0,4 0,4 4");
    // Setting a member from one handed out replaces it with itself.
    EXPECT_EQ(M.set_collection_region(C, M.get_collection_region_ref(C), 0), 1);
    EXPECT_EQ(PartsOf(C), "0 0,4 0,4 4,0 0|0 0,4 0|0 0,4 0,4 4");
    M.set_field(C, 0, "coll");
    EXPECT_EQ(M.write_feature(H, C), 1);
    EXPECT_NE(std::string(M.getlasterrormsg()).find("wrote 5 features"), std::string::npos)
        << M.getlasterrormsg();
    M.destroy_feature(C);
    M.destroy_feature(R);
    M.destroy_feature(P);
    M.close(H);
    EXPECT_EQ(OgrInfo(File).size(), 5u); // region, line, and three points
}
