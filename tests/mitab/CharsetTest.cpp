// Beyond MITAB's own calls: a table's charset, and its system with the
// bounds that set its grid. Text goes in and out in the table's charset, as
// it stands in its files, whatever GDAL makes of it on the way.

#include "MitabFixture.h"

using namespace Testing;

namespace {

TEST_F(MitabTest, TextStaysInTheTablesCharset) {
    const std::string Table = Dir.Path("cyrillic.tab");
    // "Поле" and "Москва" in Windows-1251.
    const std::string Column = "\xcf\xee\xeb\xe5", Value = "\xcc\xee\xf1\xea\xe2\xe0";
    mitab_handle H = M.create_with_charset(Table.c_str(), "tab", "CoordSys Earth Projection 1, 104",
                                           "WindowsCyrillic", 0, 0, 0, 0);
    ASSERT_NE(H, nullptr);
    ASSERT_EQ(M.add_field(H, Column.c_str(), TABFT_Char, 20, 0, 0, 0), 0);
    mitab_feature F = M.create_feature(H, TABFC_Text);
    M.set_field(F, 0, Value.c_str());
    M.set_text(F, Value.c_str());
    double X = 1, Y = 2;
    M.set_points(F, 0, 1, &X, &Y);
    EXPECT_EQ(M.write_feature(H, F), 1);
    M.destroy_feature(F);
    M.close(H);

    // GDAL reads it as Cyrillic.
    const std::vector<TOgrFeature> Ogr = OgrInfo(Table);
    ASSERT_EQ(Ogr.size(), 1u);
    EXPECT_EQ(Ogr[0].Values.count("\xd0\x9f\xd0\xbe\xd0\xbb\xd0\xb5 (String)"), 1u);

    H = M.open(Table.c_str());
    ASSERT_NE(H, nullptr);
    EXPECT_STREQ(M.get_charset(H), "WindowsCyrillic");
    EXPECT_EQ(std::string(M.get_field_name(H, 0)), Column);
    F = M.read_feature(H, 1);
    ASSERT_NE(F, nullptr);
    EXPECT_EQ(std::string(M.get_field_as_string(F, 0)), Value);
    EXPECT_EQ(std::string(M.get_text(F)), Value);
    M.destroy_feature(F);
    M.close(H);

    // A charset GDAL does not know leaves the text as it is.
    H = M.create_with_charset(Dir.Path("odd.tab").c_str(), "tab",
                              "CoordSys Earth Projection 1, 104", "Klingon", 0, 0, 0, 0);
    ASSERT_NE(H, nullptr);
    EXPECT_STREQ(M.get_charset(H), "");
    M.close(H);
}

TEST_F(MitabTest, TheExtendedClauseCarriesBoundsTheDriverWouldNotGive) {
    struct TCase {
        const char* CoordSys;
        double North, South, East, West;
        const char* Extended;
    } Cases[] = {
        {"CoordSys Earth Projection 1, 104", 0, 0, 0, 0, "Earth Projection 1, 104"},
        {"CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)", 0, 0, 0, 0,
         "NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)"},
        {"CoordSys Earth Projection 8, 104, \"m\", -93, 0, 0.9996, 500000, 0", 5e6, 4e6, 6e5, 4e5,
         "Earth Projection 8, 104, \"m\", -93, 0, 0.9996, 500000, 0 Bounds (400000, 4000000) "
         "(600000, 5000000)"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.CoordSys);
        const std::string Table = Dir.Path("b.tab");
        mitab_handle H =
            M.create(Table.c_str(), "tab", C.CoordSys, C.North, C.South, C.East, C.West);
        ASSERT_NE(H, nullptr);
        M.add_field(H, "n", TABFT_Integer, 0, 0, 0, 0);
        // GDAL's driver keeps no system for a table without objects.
        mitab_feature F = M.create_feature(H, TABFC_FontPoint);
        double X = 500, Y = 500;
        M.set_points(F, 0, 1, &X, &Y);
        M.set_field(F, 0, "1");
        EXPECT_EQ(M.write_feature(H, F), 1);
        M.destroy_feature(F);
        M.close(H);
        H = M.open(Table.c_str());
        ASSERT_NE(H, nullptr);
        EXPECT_STREQ(M.get_extended_mif_coordsys(H), C.Extended);
        M.close(H);
    }
}

} // namespace
