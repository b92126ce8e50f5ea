// Tables written through the module and read back by ogrinfo: values that
// are no values of their columns, texts and the nesting of rings.
// The provider's round trips (tests/mapinfo) check columns and styles.

#include "MitabFixture.h"
#include "support/Wkt.h"

using namespace Testing;

namespace {

// Each part given as x y x y ...
void SetParts(mitab_feature F, const std::vector<std::vector<double>>& Parts) {
    for (size_t P = 0; P < Parts.size(); ++P) {
        std::vector<double> X, Y;
        for (size_t I = 0; I + 1 < Parts[P].size(); I += 2) {
            X.push_back(Parts[P][I]);
            Y.push_back(Parts[P][I + 1]);
        }
        Mitab().set_points(F, static_cast<int>(P), static_cast<int>(X.size()), X.data(), Y.data());
    }
}

mitab_feature Point(mitab_handle H, double X) {
    mitab_feature F = Mitab().create_feature(H, TABFC_Point);
    SetParts(F, {{X, X}});
    return F;
}

using WriteTest = MitabTest;

// Text that is no value of its column fails its feature, with the value and
// the column in the last error, rather than reaching the file as a 0 or as
// nothing; the table goes on.
TEST_F(WriteTest, AValueOfAnotherTypeFailsItsFeatureOnly) {
    const std::string Table = Dir.Path("values.tab");
    mitab_handle H = M.create(Table.c_str(), "tab", "CoordSys Earth Projection 1, 104", 0, 0, 0, 0);
    ASSERT_NE(H, nullptr);
    const std::tuple<const char*, int, int> Columns[] = {
        {"name", TABFT_Char, 20},      {"count", TABFT_Integer, 0}, {"small", TABFT_SmallInt, 0},
        {"amount", TABFT_Decimal, 12}, {"ratio", TABFT_Float, 0},   {"day", TABFT_Date, 0},
        {"flag", TABFT_Logical, 0},    {"at", TABFT_Time, 0},       {"stamp", TABFT_DateTime, 0},
    };
    for (auto [Name, Type, Width] : Columns)
        ASSERT_GE(M.add_field(H, Name, Type, Width, Width == 12 ? 3 : 0, 0, 0), 0) << Name;
    const std::pair<int, const char*> Bad[] = {
        {1, "abc"},   {1, "1.5"},      {1, "3000000000"}, {2, "40000"},
        {3, "1,5"},   {4, "x"},        {5, "2024-13-45"}, {5, "1000000000"},
        {6, "maybe"}, {7, "25:00:00"}, {8, "tomorrow"},
    };
    for (auto [Column, Value] : Bad) {
        SCOPED_TRACE(Value);
        mitab_feature F = Point(H, 1);
        M.set_field(F, Column, Value);
        EXPECT_EQ(M.write_feature(H, F), 0);
        const std::string Error = M.getlasterrormsg();
        EXPECT_NE(Error.find(std::string("'") + Value + "'"), std::string::npos) << Error;
        EXPECT_NE(Error.find(std::get<0>(Columns[Column])), std::string::npos) << Error;
        M.destroy_feature(F);
    }
    const std::vector<const char*> Row = {"kept",     " 42 ", "-32768", "+1.25", "1e3",
                                          "20240229", "y",    "235959", ""};
    mitab_feature F = Point(H, 2);
    for (size_t I = 0; I < Row.size(); ++I)
        M.set_field(F, static_cast<int>(I), Row[I]);
    EXPECT_EQ(M.write_feature(H, F), 1);
    M.destroy_feature(F);
    M.close(H);
    const std::vector<TOgrFeature> Read = OgrInfo(Table);
    ASSERT_EQ(Read.size(), 1u);
    EXPECT_EQ(Read[0].Values.at("count (Integer)"), "42");
    EXPECT_EQ(Read[0].Values.at("small (Integer)"), "-32768");
    EXPECT_EQ(Read[0].Values.at("day (Date)"), "2024/02/29");
    EXPECT_EQ(Read[0].Values.at("flag (String)"), "T");
}

// A .tab keeps a text's angle and any character; the driver's MIF writer
// keeps neither a rotated box nor a double quote.
TEST_F(WriteTest, TabTextsKeepAnglesAndAwkwardCharacters) {
    std::string Table = Dir.Path("texts.tab");
    mitab_handle H = M.create(Table.c_str(), "tab", "CoordSys Earth Projection 1, 104", 0, 0, 0, 0);
    ASSERT_NE(H, nullptr);
    struct {
        const char* Text;
        double Angle, Height;
        const char* Label; // as ogrinfo shows it
        int FontStyle;     // bold 1, italic 2, underline 4
    } const Texts[] = {
        {"it's \"quoted\" a\\b", 30, 2, "LABEL(t:\"it's \\\"quoted\\\" a\\\\b\",a:30.000000", 1},
        {"two\nlines", 0, 4, "LABEL(t:\"two\\nlines\",a:0.000000,s:1.380000g", 6},
        {"", 270, 1, "LABEL(t:\"\",a:270.000000", 0},
    };
    for (const auto& T : Texts) {
        mitab_feature F = M.create_feature(H, TABFC_Text);
        double X = 5, Y = 6;
        M.set_points(F, 0, 1, &X, &Y);
        M.set_text(F, T.Text);
        M.set_text_display(F, T.Angle, T.Height, 1, 0x102030, 0xFFFFFF, 2, 0, 0);
        M.set_text_font_style(F, T.FontStyle);
        EXPECT_EQ(M.write_feature(H, F), 1);
        M.destroy_feature(F);
    }
    M.close(H);

    std::vector<TOgrFeature> Shown = OgrInfo(Table);
    ASSERT_EQ(Shown.size(), 3u);
    for (size_t I = 0; I < 3; ++I)
        EXPECT_EQ(Shown[I].Style.rfind(Texts[I].Label, 0), 0u) << Shown[I].Style;
}

// A region's rings nest as MapInfo fills them, by the even-odd rule, whatever
// their order: the .tab keeps holes as holes and islands as polygons.
TEST_F(WriteTest, RegionRingsNestByTheEvenOddRule) {
    using TRings = std::vector<std::vector<double>>;
    const std::vector<double> Outer = {0, 0, 10, 0, 10, 10, 0, 10}, Hole = {2, 2, 8, 2, 8, 8, 2, 8},
                              Island = {4, 4, 6, 4, 6, 6, 4, 6}, Apart = {20, 0, 30, 0, 30, 10};
    struct {
        TRings Rings;
        const char* Wkt;
    } const Cases[] = {
        {{Outer, Apart}, "MULTIPOLYGON (((0 0,10 0,10 10,0 10,0 0)),((20 0,30 0,30 10,20 0)))"},
        {{Hole, Outer}, "POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,8 2,8 8,2 8,2 2))"},
        {{Island, Apart, Outer, Hole},
         "MULTIPOLYGON (((4 4,6 4,6 6,4 6,4 4)),((20 0,30 0,30 10,20 0)),"
         "((0 0,10 0,10 10,0 10,0 0),(2 2,8 2,8 8,2 8,2 2)))"},
    };
    std::string Table = Dir.Path("rings.tab");
    mitab_handle H = M.create(Table.c_str(), "tab", "CoordSys Earth Projection 1, 104", 0, 0, 0, 0);
    ASSERT_NE(H, nullptr);
    for (const auto& C : Cases) {
        mitab_feature F = M.create_feature(H, TABFC_Region);
        SetParts(F, C.Rings);
        EXPECT_EQ(M.write_feature(H, F), 1);
        M.destroy_feature(F);
    }
    M.close(H);
    std::vector<TOgrFeature> Shown = OgrInfo(Table);
    ASSERT_EQ(Shown.size(), std::size(Cases));
    for (size_t I = 0; I < Shown.size(); ++I)
        ExpectWkt(Shown[I].Geometry, Cases[I].Wkt, 1e-7);
}

} // namespace
