// Tables made by ogr2ogr, read through the module: columns, the walk over
// feature ids, classes, parts, values and styles.

#include "MitabFixture.h"

using namespace Testing;

namespace {

struct ReadTest : MitabTest, ::testing::WithParamInterface<const char*> {
    mitab_handle H = nullptr;

    void SetUp() override {
        MitabTest::SetUp();
        std::string Table = Dir.Path(std::string("made.") + GetParam());
        MakeSampleTable(Table);
        H = M.open(Table.c_str());
        ASSERT_NE(H, nullptr);
    }
    void TearDown() override { M.close(H); }

    std::vector<mitab_feature> ReadAll() {
        std::vector<mitab_feature> All;
        for (int Id = M.next_feature_id(H, -1); Id != -1; Id = M.next_feature_id(H, Id)) {
            EXPECT_EQ(Id, static_cast<int>(All.size()) + 1);
            All.push_back(M.read_feature(H, Id));
            if (All.size() > 100) break;
        }
        return All;
    }
};

TEST_P(ReadTest, ColumnsKeepTheirTypesWidthsAndPrecisions) {
    struct {
        const char* Name;
        int Type, Width, Precision;
    } const Expected[] = {
        {"name", TABFT_Char, 20, 0},      {"count", TABFT_Integer, 0, 0},
        {"amount", TABFT_Decimal, 12, 3}, {"ratio", TABFT_Float, 0, 0},
        {"day", TABFT_Date, 10, 0},       {"at", TABFT_Time, 9, 0},
        {"stamp", TABFT_DateTime, 19, 0},
    };
    ASSERT_EQ(M.get_field_count(H), 7);
    for (int I = 0; I < 7; ++I) {
        SCOPED_TRACE(Expected[I].Name);
        EXPECT_STREQ(M.get_field_name(H, I), Expected[I].Name);
        EXPECT_EQ(M.get_field_type(H, I), Expected[I].Type);
        EXPECT_EQ(M.get_field_width(H, I), Expected[I].Width);
        EXPECT_EQ(M.get_field_precision(H, I), Expected[I].Precision);
    }
}

TEST_P(ReadTest, FeaturesComeWithTheirClassesPartsAndValues) {
    std::vector<mitab_feature> F = ReadAll();
    ASSERT_EQ(F.size(), 7u);
    struct {
        int Class;
        const char* Parts;
        const char* Row;
    } const Expected[] = {
        {TABFC_Point, "10.5 20.25",
         "'quoted'|42|1234.567|0.125|2021/03/04|05:06:07|2021/03/04 05:06:07"},
        {TABFC_FontPoint, "11 21", "Font point|-3|-0.500|1000000|||"},
        {TABFC_Text, "12 22", "label|0|0.000|0|||"},
        {TABFC_Polyline, "0 0,1 1|2 2,3 3,4 2|5 5,6 6", "line|1|1.000|1|||"},
        {TABFC_Region, "0 0,10 0,10 10,0 10,0 0|2 2,4 2,4 4,2 4,2 2", "hole|2|2.000|2|||"},
        {TABFC_Region, "20 20,30 20,30 30,20 20", "clear|3|3.000|3|||"},
        // MapInfo has no null numbers: the empty row reads as zeros.
        {TABFC_NoGeom, "", "|0|0.000|0|||"},
    };
    for (size_t I = 0; I < F.size(); ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(M.get_type(F[I]), Expected[I].Class);
        EXPECT_EQ(PartsOf(F[I]), Expected[I].Parts);
        std::string Row;
        for (int C = 0; C < 7; ++C)
            Row += (C ? "|" : "") + std::string(M.get_field_as_string(F[I], C));
        EXPECT_EQ(Row, Expected[I].Row);
    }
    // Each feature keeps its own returned string.
    const char* First = M.get_field_as_string(F[0], 0);
    M.get_field_as_string(F[1], 0);
    EXPECT_STREQ(First, "'quoted'");
    EXPECT_EQ(M.get_field_as_double(F[0], 2), 1234.567);
    for (mitab_feature X : F)
        M.destroy_feature(X);
}

TEST_P(ReadTest, StylesComeAsMapInfoNumbers) {
    std::vector<mitab_feature> F = ReadAll();
    ASSERT_EQ(F.size(), 7u);
    // Pens and brushes as width, pattern, colour (and back colour, transparency).
    auto Pen = [&](mitab_feature X) {
        return std::tuple(M.get_pen_width(X), M.get_pen_pattern(X), M.get_pen_color(X));
    };
    auto Brush = [&](mitab_feature X) {
        return std::tuple(M.get_brush_fgcolor(X), M.get_brush_bgcolor(X), M.get_brush_pattern(X),
                          M.get_brush_transparent(X));
    };
    auto Symbol = [&](mitab_feature X) {
        return std::tuple(M.get_symbol_no(X), M.get_symbol_size(X), M.get_symbol_color(X));
    };
    EXPECT_EQ(Symbol(F[0]), std::tuple(40, 14, 0xFF0000));
    EXPECT_EQ(Symbol(F[1]), std::tuple(66, 18, 0x00FF00));
    EXPECT_STREQ(M.get_font(F[1]), "Wingdings");
    // The text: 0.6 of the height wide per character.
    EXPECT_EQ(std::tuple(std::string(M.get_text(F[2])), std::string(M.get_font(F[2])),
                         M.get_text_angle(F[2]), M.get_text_fgcolor(F[2]), M.get_text_bgcolor(F[2]),
                         M.get_text_justification(F[2])),
              std::tuple("Hello, map", "Verdana", 0.0, 0x0000FF, 0xFFFF00, 1));
    EXPECT_NEAR(M.get_text_height(F[2]), 1.0, 1e-6);
    EXPECT_NEAR(M.get_text_width(F[2]), 0.6 * 10, 1e-6);
    EXPECT_EQ(Pen(F[3]), std::tuple(3, 5, 0x123456));
    // The region with a hole: an opaque hatch.
    EXPECT_EQ(Brush(F[4]), std::tuple(0x00FF00, 0xFF0000, 5, 0));
    EXPECT_EQ(Pen(F[4]), std::tuple(2, 2, 0x0000FF));
    // The clear region: no background, a pen 12 points wide.
    EXPECT_EQ(std::tuple(M.get_brush_fgcolor(F[5]), M.get_brush_pattern(F[5]),
                         M.get_brush_transparent(F[5])),
              std::tuple(0xABCDEF, 1, 1));
    EXPECT_EQ(Pen(F[5]), std::tuple(10 + 12 * 10, 9, 0x010203));
    for (mitab_feature X : F)
        M.destroy_feature(X);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReadTest, ::testing::Values("tab", "mif"));

} // namespace
