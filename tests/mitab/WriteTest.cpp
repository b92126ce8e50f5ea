// Tables written through the module and read back by ogrinfo: columns,
// values, geometry, pens, brushes, symbols and texts. The module's reading is
// ReadTest's, on tables ogr2ogr made; the provider's round trips go through
// both (tests/mapinfo).

#include "MitabFixture.h"
#include "support/Wkt.h"

using namespace Testing;

namespace {

struct TKind {
    const char* Extension;
    const char* CoordSys;
    double North, South, East, West;
};

void PrintTo(const TKind& K, std::ostream* Out) {
    *Out << K.Extension << " " << K.CoordSys;
}

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

struct WriteTest : MitabTest, ::testing::WithParamInterface<TKind> {
    std::string Table;
    mitab_handle H = nullptr;

    void SetUp() override {
        MitabTest::SetUp();
        const TKind& K = GetParam();
        Table = Dir.Path(std::string("out.") + K.Extension);
        H = M.create(Table.c_str(), K.Extension, K.CoordSys, K.North, K.South, K.East, K.West);
        ASSERT_NE(H, nullptr) << M.getlasterrormsg();
    }
    void TearDown() override {
        if (H) M.close(H);
    }

    mitab_feature Feature(int Class, const std::vector<std::vector<double>>& Parts) {
        mitab_feature F = M.create_feature(H, Class);
        EXPECT_NE(F, nullptr);
        SetParts(F, Parts);
        return F;
    }

    void Write(mitab_feature F, std::vector<const char*> Row = {}) {
        for (size_t I = 0; I < Row.size(); ++I)
            M.set_field(F, static_cast<int>(I), Row[I]);
        EXPECT_EQ(M.write_feature(H, F), 1);
        M.destroy_feature(F);
    }

    void AddColumns() {
        struct {
            const char* Name;
            int Type, Width, Precision;
        } const Columns[] = {
            {"name", TABFT_Char, 20, 0},     {"count", TABFT_Integer, 0, 0},
            {"small", TABFT_SmallInt, 0, 0}, {"amount", TABFT_Decimal, 12, 3},
            {"ratio", TABFT_Float, 0, 0},    {"day", TABFT_Date, 0, 0},
            {"flag", TABFT_Logical, 0, 0},   {"at", TABFT_Time, 0, 0},
            {"stamp", TABFT_DateTime, 0, 0},
        };
        for (int I = 0; I < 9; ++I) {
            auto& C = Columns[I];
            EXPECT_EQ(M.add_field(H, C.Name, C.Type, C.Width, C.Precision, 0, 0), I);
            EXPECT_EQ(M.get_field_type(H, I), C.Type);
        }
    }

    // One feature of every class that the map provider writes, and more.
    void WriteFeatures() {
        mitab_feature F = Feature(TABFC_Region, {{0, 0, 10, 0, 10, 10, 0, 10, 0, 0},
                                                 {2, 2, 4, 2, 4, 4, 2, 4}}); // left open
        M.set_pen(F, 2, 2, 0x0000FF);
        M.set_brush(F, 0x00FF00, 0xFF0000, 5, 0);
        Write(F, {"'quoted'", "42", "-7", "1234.567", "0.125", "20210304", "T", "050607",
                  "2021-03-04 05:06:07"});

        F = Feature(TABFC_Region, {{20, 20, 30, 20, 30, 30, 20, 20}});
        M.set_pen(F, 130, 9, 0x010203); // 12 points
        M.set_brush(F, 0xABCDEF, 0xFFFFFF, 3, 1);
        Write(F, {"clear", "0", "0", "-0.5", "1e6", "", "F", "", ""});

        F = Feature(TABFC_Polyline, {{0, 0, 1, 1}, {2, 2, 3, 3, 4, 2}, {5, 5, 6, 6}});
        M.set_pen(F, 3, 5, 0x123456);
        Write(F, {"line"});

        F = Feature(TABFC_Point, {{10.12345, 20.25}}); // finer than default bounds keep
        M.set_symbol(F, 40, 14, 0xFF0000);
        Write(F, {"point"});

        F = Feature(TABFC_FontPoint, {{11, 21}});
        M.set_font(F, "Wingdings");
        M.set_symbol(F, 66, 18, 0x00FF00);
        Write(F, {"font point"});

        F = Feature(TABFC_Text, {{12, 22}});
        M.set_text(F, "Hello, map");
        M.set_font(F, "Verdana");
        M.set_text_display(F, 0, 2, 12, 0x0000FF, 0xFFFF00, 1, 0, 0);
        Write(F, {"text"});

        F = Feature(TABFC_Text, {{13, 23}});
        M.set_text(F, "plain");
        M.set_text_display(F, 0, 1.5, 4, 0x00FF00, 0xFFFFFF, 0, 0, 0);
        Write(F, {"white"});

        F = Feature(TABFC_NoGeom, {});
        Write(F, {"none"});
    }
};

TEST_P(WriteTest, OgrinfoReadsWhatWasWritten) {
    AddColumns();
    WriteFeatures();
    M.close(H);
    H = nullptr;

    std::vector<TOgrFeature> F = OgrInfo(Table);
    ASSERT_EQ(F.size(), 8u);
    struct {
        const char* Geometry;
        std::vector<const char*> Style;
    } const Expected[] = {
        {"POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,4 2,4 4,2 4,2 2))",
         {"fc:#00ff00", "bc:#ff0000", "mapinfo-brush-5", "w:2px", "c:#0000ff", "mapinfo-pen-2"}},
        {"POLYGON ((20 20,30 20,30 30,20 20))",
         {"BRUSH(fc:#abcdef,id:\"mapinfo-brush-3", "w:12pt", "c:#010203", "mapinfo-pen-9"}},
        {"MULTILINESTRING ((0 0,1 1),(2 2,3 3,4 2),(5 5,6 6))",
         {"w:3px", "c:#123456", "mapinfo-pen-5"}},
        {"POINT (10.12345 20.25)", {"c:#ff0000", "s:14pt", "mapinfo-sym-40"}},
        {"POINT (11 21)", {"c:#00ff00", "s:18pt", "font-sym-66", "f:\"Wingdings\""}},
        {"POINT (12 22)",
         {"t:\"Hello, map\"", "a:0.0", "s:1.38", "c:#0000ff", "b:#ffff00", "p:2", "Verdana"}},
        {"POINT (13 23)", {"t:\"plain\"", "s:1.035", "c:#00ff00", "p:1"}},
        {"", {}},
    };
    for (size_t I = 0; I < F.size(); ++I) {
        SCOPED_TRACE(I);
        ExpectWkt(F[I].Geometry, Expected[I].Geometry, 1e-7);
        for (const char* Part : Expected[I].Style)
            EXPECT_NE(F[I].Style.find(Part), std::string::npos) << F[I].Style << " lacks " << Part;
    }
    EXPECT_EQ(F[6].Style.find("b:"), std::string::npos) << "a white background is the default";

    // SmallInt is stored as Integer, Logical as Char(1).
    const std::map<std::string, std::string> Row = {
        {"name (String)", "'quoted'"},
        {"count (Integer)", "42"},
        {"small (Integer)", "-7"},
        {"amount (Real)", "1234.567"},
        {"ratio (Real)", "0.125"},
        {"day (Date)", "2021/03/04"},
        {"flag (String)", "T"},
        {"at (Time)", "05:06:07"},
        {"stamp (DateTime)", "2021/03/04 05:06:07"},
    };
    EXPECT_EQ(F[0].Values, Row);
    EXPECT_EQ(F[1].Values.at("flag (String)"), "F");
    EXPECT_EQ(F[1].Values.at("ratio (Real)"), "1000000");
    EXPECT_EQ(F[1].Values.at("amount (Real)"), "-0.500");
    EXPECT_EQ(F[1].Values.count("day (Date)"), 0u) << "an empty date stays null";

    std::map<std::string, std::string> Columns = OgrColumns(Table);
    EXPECT_EQ(Columns["name"], "String (20.0)");
    EXPECT_EQ(Columns["amount"], "Real (12.3)");
    EXPECT_EQ(Columns["ratio"], "Real (0.0)");
    EXPECT_EQ(Columns["day"], "Date (10.0)");
    EXPECT_EQ(Columns["flag"], "String (1.0)");
}

// Text that is no value of its column fails its feature, with the value and
// the column in the last error, rather than reaching the file as a 0 or as
// nothing; blank text is a null; the table goes on.
TEST_P(WriteTest, AValueOfAnotherTypeFailsItsFeatureOnly) {
    AddColumns();
    const std::pair<int, const char*> Bad[] = {
        {1, "abc"},   {1, "1.5"},      {1, "3000000000"}, {2, "40000"},
        {3, "1,5"},   {4, "x"},        {5, "2024-13-45"}, {5, "1000000000"},
        {6, "maybe"}, {7, "25:00:00"}, {8, "tomorrow"},
    };
    for (auto [Column, Value] : Bad) {
        SCOPED_TRACE(Value);
        mitab_feature F = Feature(TABFC_Point, {{1, 1}});
        M.set_field(F, Column, Value);
        EXPECT_EQ(M.write_feature(H, F), 0);
        const std::string Error = M.getlasterrormsg();
        EXPECT_NE(Error.find(std::string("'") + Value + "'"), std::string::npos) << Error;
        EXPECT_NE(Error.find(M.get_field_name(H, Column)), std::string::npos) << Error;
        M.destroy_feature(F);
    }
    Write(Feature(TABFC_Point, {{2, 2}}),
          {"kept", " 42 ", "-32768", "+1.25", "1e3", "20240229", "y", "235959", ""});
    Write(Feature(TABFC_Point, {{3, 3}}), {"", "", "", "", "", "", "", "", " "});
    M.close(H);
    H = nullptr;
    const std::vector<TOgrFeature> F = OgrInfo(Table);
    ASSERT_EQ(F.size(), 2u);
    EXPECT_EQ(F[0].Values.at("count (Integer)"), "42");
    EXPECT_EQ(F[0].Values.at("small (Integer)"), "-32768");
    EXPECT_EQ(F[0].Values.at("day (Date)"), "2024/02/29");
    EXPECT_EQ(F[0].Values.at("flag (String)"), "T");
    // Dates and times are the driver's only nulls; numbers read back 0.
    for (const char* Column : {"day (Date)", "at (Time)", "stamp (DateTime)"})
        EXPECT_EQ(F[1].Values.count(Column), 0u) << Column;
    EXPECT_EQ(F[1].Values.at("count (Integer)"), "0");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, WriteTest,
    ::testing::Values(TKind{"tab", "CoordSys Earth Projection 1, 104", 0, 0, 0, 0},
                      TKind{"mif", "CoordSys Earth Projection 1, 0", 0, 0, 0, 0},
                      TKind{"tab", "CoordSys NonEarth Units \"m\"", 100, -10, 100, -10}),
    [](const auto& Info) {
        return std::string(Info.param.Extension) + std::to_string(Info.index);
    });

// Features read from one table and written to another keep all that the
// driver stores: ogrinfo prints both tables alike, styles to the letter.
struct CopyTest : MitabTest, ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(CopyTest, ACopiedTableReadsLikeItsSource) {
    auto [From, To] = GetParam();
    std::string Source = Dir.Path(std::string("source.") + From);
    std::string Copy = Dir.Path(std::string("copy.") + To);
    MakeSampleTable(Source);
    mitab_handle In = M.open(Source.c_str());
    ASSERT_NE(In, nullptr);
    mitab_handle Out = M.create(Copy.c_str(), To, M.get_mif_coordsys(In), 0, 0, 0, 0);
    ASSERT_NE(Out, nullptr);
    for (int I = 0; I < M.get_field_count(In); ++I)
        EXPECT_EQ(M.add_field(Out, M.get_field_name(In, I), M.get_field_type(In, I),
                              M.get_field_width(In, I), M.get_field_precision(In, I), 0, 0),
                  I);
    for (int Id = M.next_feature_id(In, -1); Id != -1; Id = M.next_feature_id(In, Id)) {
        mitab_feature F = M.read_feature(In, Id);
        EXPECT_EQ(M.write_feature(Out, F), 1) << Id;
        M.destroy_feature(F);
    }
    M.close(In);
    M.close(Out);

    std::vector<TOgrFeature> Expected = OgrInfo(Source), Actual = OgrInfo(Copy);
    ASSERT_EQ(Actual.size(), Expected.size());
    ASSERT_EQ(Actual.size(), 7u);
    for (size_t I = 0; I < Actual.size(); ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(Actual[I].Values, Expected[I].Values);
        EXPECT_EQ(Actual[I].Style, Expected[I].Style);
        ExpectWkt(Actual[I].Geometry, Expected[I].Geometry, 1e-7);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, CopyTest,
                         ::testing::Values(std::pair{"tab", "mif"}, std::pair{"mif", "tab"}),
                         [](const auto& Info) {
                             return std::string(Info.param.first) + "_to_" + Info.param.second;
                         });

// A .tab keeps a text's angle and any character; the driver's MIF writer
// keeps neither a rotated box nor a double quote.
TEST_F(MitabTest, TabTextsKeepAnglesAndAwkwardCharacters) {
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

    H = M.open(Table.c_str());
    ASSERT_NE(H, nullptr);
    for (int Id = 1; Id <= 3; ++Id) {
        mitab_feature F = M.read_feature(H, Id);
        ASSERT_NE(F, nullptr);
        EXPECT_EQ(M.get_type(F), TABFC_Text);
        EXPECT_STREQ(M.get_text(F), Texts[Id - 1].Text);
        EXPECT_NEAR(M.get_text_angle(F), Texts[Id - 1].Angle, 1e-9);
        EXPECT_NEAR(M.get_text_height(F), Texts[Id - 1].Height, 1e-6);
        EXPECT_EQ(M.get_text_fgcolor(F), 0x102030);
        EXPECT_EQ(M.get_text_justification(F), 2);
        EXPECT_EQ(M.get_text_font_style(F), Texts[Id - 1].FontStyle);
        EXPECT_EQ(PartsOf(F), "5 6");
        M.destroy_feature(F);
    }
    M.close(H);
}

// A region's rings nest as MapInfo fills them, by the even-odd rule, whatever
// their order: the .tab keeps holes as holes and islands as polygons.
TEST_F(MitabTest, RegionRingsNestByTheEvenOddRule) {
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
