// The module's contract around its handles: what it exports, the walk over
// feature ids, lifetimes, and bad input answered with null, 0 or -1.

#include "MitabFixture.h"

#include <set>

using namespace Testing;

namespace {

TEST_F(MitabTest, ExportsTheCEntryPointsOnly) {
    EXPECT_EQ(M.getlibversion(), 1007000);
    bool Ok;
    std::istringstream Symbols(RunCommand("nm -D --defined-only '" MITAB_MODULE "'", &Ok));
    ASSERT_TRUE(Ok);
    std::string Address, Kind, Name;
    int Count = 0;
    while (Symbols >> Address >> Kind >> Name) {
        if (Kind != "T") continue;
        EXPECT_EQ(Name.rfind("mitab_c_", 0), 0u) << Name;
        ++Count;
    }
#define MITAB_COUNT(Name) +1
    EXPECT_EQ(Count, 0 MITAB_ENTRY_POINTS(MITAB_COUNT));
#undef MITAB_COUNT
}

// The walk over ids, and reads in and out of its order.
TEST_F(MitabTest, FeatureIdsRunFromOneAndAnyIdCanBeRead) {
    std::string Table = Dir.Path("walk.tab");
    MakeSampleTable(Table);
    mitab_handle H = M.open(Table.c_str());
    ASSERT_NE(H, nullptr);
    EXPECT_EQ(M.get_feature_count(H), 7);
    auto NameOf = [&](int Id) {
        mitab_feature F = M.read_feature(H, Id);
        std::string Name = F ? M.get_field_as_string(F, 0) : "(none)";
        M.destroy_feature(F);
        return Name;
    };
    struct {
        int Last, Next;
        const char* Name; // of the next one
    } const Steps[] = {
        {-1, 1, "'quoted'"}, {1, 2, "Font point"}, {4, 5, "hole"}, // skipping ahead
        {2, 3, "label"},                                           // going back
        {6, 7, ""},          {7, -1, nullptr},     {99, -1, nullptr},
    };
    for (const auto& S : Steps) {
        SCOPED_TRACE(S.Last);
        int Next = M.next_feature_id(H, S.Last);
        EXPECT_EQ(Next, S.Next);
        if (S.Name) {
            EXPECT_EQ(NameOf(Next), S.Name);
        }
    }
    // Random reads leave the walk intact.
    EXPECT_EQ(NameOf(6), "clear");
    EXPECT_EQ(NameOf(2), "Font point");
    EXPECT_EQ(M.next_feature_id(H, 3), 4);
    EXPECT_EQ(NameOf(4), "line");
    for (int Bad : {0, -1, 8, 1000})
        EXPECT_EQ(M.read_feature(H, Bad), nullptr) << Bad;
    M.close(H);
}

TEST_F(MitabTest, FeaturesOutliveTheirTableAndStringsTheNextCall) {
    std::string Table = Dir.Path("life.mif");
    MakeSampleTable(Table);
    mitab_handle H = M.open(Table.c_str());
    ASSERT_NE(H, nullptr);
    mitab_feature A = M.read_feature(H, 1);
    mitab_feature B = M.read_feature(H, 3);
    const char* Name = M.get_field_name(H, 1);
    M.get_field_as_string(A, 1); // another handle's call leaves Name alone
    EXPECT_STREQ(Name, "count");
    M.close(H);
    const char* Value = M.get_field_as_string(A, 0);
    const char* Text = M.get_text(B);
    EXPECT_STREQ(Value, "'quoted'");
    EXPECT_STREQ(Text, "Hello, map");
    EXPECT_EQ(PartsOf(A), "10.5 20.25");
    M.destroy_feature(A);
    M.destroy_feature(B);
}

TEST_F(MitabTest, ATableCreatedAgainReplacesTheOldOne) {
    for (const char* Kind : {"tab", "mif"}) {
        std::string Table = Dir.Path(std::string("again.") + Kind);
        for (int Round = 1; Round <= 2; ++Round) {
            mitab_handle H = M.create(Table.c_str(), Kind, "", 0, 0, 0, 0);
            ASSERT_NE(H, nullptr) << Round;
            EXPECT_EQ(M.add_field(H, Round == 1 ? "first" : "second", TABFT_Integer, 0, 0, 0, 0),
                      0);
            for (int I = 0; I < 4 - Round; ++I) {
                mitab_feature F = M.create_feature(H, TABFC_NoGeom);
                EXPECT_EQ(M.write_feature(H, F), 1);
                M.destroy_feature(F);
            }
            M.close(H);
        }
        mitab_handle H = M.open(Table.c_str());
        ASSERT_NE(H, nullptr);
        EXPECT_EQ(M.get_feature_count(H), 2) << Kind;
        EXPECT_STREQ(M.get_field_name(H, 0), "second");
        M.close(H);
    }
}

// SmallInt and Logical columns, which OGR reports as others, are known by the
// header; a multipoint, which ogr2ogr cannot make, reads as one feature.
TEST_F(MitabTest, AHandWrittenMifShowsWhatOgrHides) {
    std::string Table = Dir.Path("types.mif");
    WriteFile(Table, "Version 300\nCharset \"Neutral\"\nDelimiter \",\"\n"
                     "CoordSys Earth Projection 1, 104\nColumns 4\n"
                     "  Small SmallInt\n  Flag Logical\n  Code Char(1)\n  Money Decimal(8,2)\n"
                     "Data\n\nMultipoint 2\n1 1\n2 2\nNone\n");
    WriteFile(Dir.Path("types.mid"), "-5,T,x,12.50\n7,F,y,0\n");
    mitab_handle H = M.open(Table.c_str());
    ASSERT_NE(H, nullptr);
    const int Types[] = {TABFT_SmallInt, TABFT_Logical, TABFT_Char, TABFT_Decimal};
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(M.get_field_type(H, I), Types[I]) << I;
    EXPECT_EQ(M.get_field_width(H, 3), 8);
    EXPECT_EQ(M.get_field_precision(H, 3), 2);
    EXPECT_STREQ(M.get_mif_coordsys(H), "Earth Projection 1, 104");
    mitab_feature F = M.read_feature(H, 1);
    EXPECT_EQ(M.get_type(F), TABFC_MultiPoint);
    EXPECT_EQ(PartsOf(F), "1 1,2 2");
    EXPECT_STREQ(M.get_field_as_string(F, 0), "-5");
    EXPECT_STREQ(M.get_field_as_string(F, 1), "T");
    M.destroy_feature(F);
    F = M.read_feature(H, 2);
    EXPECT_EQ(M.get_type(F), TABFC_NoGeom);
    EXPECT_EQ(M.get_parts(F), 0);
    EXPECT_STREQ(M.get_field_as_string(F, 1), "F");
    M.destroy_feature(F);
    M.close(H);
}

// OGR hands arcs as lines and rectangles and ellipses as polygons; a .mif
// says what they were in its statements (a collection's parts are none of
// their own, a column named like a statement is no statement), a .tab made
// from it holds the lines and polygons only.
TEST_F(MitabTest, ArcsRectanglesAndEllipsesKeepTheirClassesInAMif) {
    std::string Table = Dir.Path("kinds.mif");
    WriteFile(Table, "Version 300\nCharset \"Neutral\"\nDelimiter \",\"\n"
                     "CoordSys Earth Projection 1, 104\nColumns 1\n  Point Integer\nData\n\n"
                     "Arc 0 0 10 10\n  0 90\nEllipse 0 0 10 6\nRect 1 1 3 4\n"
                     "roundrect 1 1 5 5 1\nMultipoint 2\n1 1\n2 2\n"
                     "Collection 2\nMultipoint 1\n1 1\nPline 2\n0 0\n1 1\n"
                     "Region 1\n4\n0 0\n0 1\n1 1\n0 0\nPline 2\n0 0\n1 1\n"
                     "Text\n  \"Ellipse\"\n  0 0 1 1\nPoint 1 1\nNone\n");
    WriteFile(Dir.Path("kinds.mid"), "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n");
    const std::string Tab = Dir.Path("kinds.tab");
    RunCommand(std::string(OGR2OGR) + " -f 'MapInfo File' '" + Tab + "' '" + Table + "'");
    const std::pair<std::string, std::vector<int>> Expected[] = {
        {Table,
         {TABFC_Arc, TABFC_Ellipse, TABFC_Rectangle, TABFC_Rectangle, TABFC_MultiPoint,
          TABFC_Collection, TABFC_Region, TABFC_Polyline, TABFC_Text, TABFC_Point, TABFC_NoGeom}},
        {Tab, {TABFC_Polyline, TABFC_Region, TABFC_Region, TABFC_Region}},
    };
    for (const auto& [File, Classes] : Expected) {
        SCOPED_TRACE(File);
        mitab_handle H = M.open(File.c_str());
        ASSERT_NE(H, nullptr);
        for (int Id = 1; Id <= static_cast<int>(Classes.size()); ++Id) {
            mitab_feature F = M.read_feature(H, Id);
            EXPECT_EQ(M.get_type(F), Classes[Id - 1]) << Id;
            if (Id <= 4) { // the outline
                EXPECT_GT(M.get_vertex_count(F, 0), 4) << Id;
            }
            M.destroy_feature(F);
        }
        M.close(H);
    }
}

TEST_F(MitabTest, TablesThatCannotBeOpenedOrCreatedGiveNull) {
    std::string Csv = Dir.Path("plain.csv");
    WriteFile(Csv, "a,b\n1,2\n");
    std::filesystem::create_directories(Dir.Path("folder"));
    MakeSampleTable(Dir.Path("folder/inside.tab")); // a folder of tables is no table
    for (const std::string& Name :
         {std::string(), std::string("/nonexistent/x.tab"), Csv, Dir.Path("folder")})
        EXPECT_EQ(M.open(Name.c_str()), nullptr) << Name;
    EXPECT_EQ(M.open(nullptr), nullptr);

    std::string Good = Dir.Path("made.tab"), Folder = Dir.Path("folder.tab");
    std::filesystem::create_directories(Folder);
    struct {
        const char* File;
        const char* Kind;
        const char* CoordSys;
    } const Bad[] = {
        {nullptr, "tab", "CoordSys Earth Projection 1, 104"},
        {Good.c_str(), nullptr, "CoordSys Earth Projection 1, 104"},
        {Good.c_str(), "shp", "CoordSys Earth Projection 1, 104"},
        {Good.c_str(), "tab", "CoordSys Nowhere"},
        {"/nonexistent/dir/x.tab", "tab", "CoordSys Earth Projection 1, 104"},
        {Good.c_str(), "mif", "CoordSys Earth Projection 1, 104"}, // not the file's kind
        {Folder.c_str(), "tab", "CoordSys Earth Projection 1, 104"},
    };
    for (const auto& B : Bad)
        EXPECT_EQ(M.create(B.File, B.Kind, B.CoordSys, 0, 0, 0, 0), nullptr)
            << (B.Kind ? B.Kind : "no kind") << " " << (B.CoordSys ? B.CoordSys : "");
    EXPECT_TRUE(std::filesystem::exists(Dir.Path("folder/inside.tab")));
    // The kind goes with the file name whatever its case.
    mitab_handle H = M.create(Dir.Path("Upper.TAB").c_str(), "tab", "", 0, 0, 0, 0);
    EXPECT_NE(H, nullptr);
    M.close(H);
}

// Null and foreign handles, indices out of range: answers, never a crash.
TEST_F(MitabTest, BadHandlesAndIndicesAreRefused) {
    std::string Table = Dir.Path("ro.tab");
    MakeSampleTable(Table);
    mitab_handle H = M.open(Table.c_str());
    ASSERT_NE(H, nullptr);
    mitab_feature F = M.read_feature(H, 4); // the polyline of three sections

    for (mitab_handle Bad : {static_cast<void*>(nullptr), F}) {
        EXPECT_EQ(M.get_field_count(Bad), -1);
        EXPECT_EQ(M.get_field_type(Bad, 0), -1);
        EXPECT_STREQ(M.get_field_name(Bad, 0), "");
        EXPECT_EQ(M.next_feature_id(Bad, -1), -1);
        EXPECT_EQ(M.read_feature(Bad, 1), nullptr);
        EXPECT_EQ(M.create_feature(Bad, TABFC_Point), nullptr);
        EXPECT_EQ(M.write_feature(Bad, F), 0);
        EXPECT_EQ(M.add_field(Bad, "x", TABFT_Char, 5, 0, 0, 0), -1);
        M.close(Bad); // refused for the feature
    }
    for (mitab_feature Bad : {static_cast<void*>(nullptr), H}) {
        EXPECT_EQ(M.get_type(Bad), -1);
        EXPECT_EQ(M.get_parts(Bad), 0);
        EXPECT_EQ(M.get_vertex_count(Bad, 0), 0);
        EXPECT_EQ(M.get_vertex_x(Bad, 0, 0), 0);
        EXPECT_STREQ(M.get_field_as_string(Bad, 0), "");
        EXPECT_STREQ(M.get_text(Bad), "");
        EXPECT_STREQ(M.get_font(Bad), "");
        EXPECT_EQ(M.get_pen_width(Bad), 0);
        M.set_field(Bad, 0, "x");
        M.set_pen(Bad, 1, 2, 3);
        double X = 1;
        M.set_points(Bad, 0, 1, &X, &X);
        M.destroy_feature(Bad); // refused for the table
    }
    for (int Field : {-1, 7}) {
        EXPECT_EQ(M.get_field_type(H, Field), -1);
        EXPECT_EQ(M.get_field_width(H, Field), -1);
        EXPECT_STREQ(M.get_field_name(H, Field), "");
        EXPECT_STREQ(M.get_field_as_string(F, Field), "");
        M.set_field(F, Field, "x");
    }
    for (auto [Part, Vertex] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}}) {
        EXPECT_EQ(M.get_vertex_x(F, Part, Vertex), 0) << Part << "," << Vertex;
        EXPECT_EQ(M.get_vertex_y(F, Part, Vertex), 0) << Part << "," << Vertex;
    }
    EXPECT_EQ(M.get_vertex_count(F, 3), 0);
    // Both survived being passed for the other kind. A table opened for
    // reading takes no columns and no features.
    EXPECT_EQ(M.add_field(H, "x", TABFT_Char, 5, 0, 0, 0), -1);
    EXPECT_EQ(M.write_feature(H, F), 0);
    EXPECT_EQ(M.get_field_count(H), 7);
    EXPECT_EQ(PartsOf(F), "0 0,1 1|2 2,3 3,4 2|5 5,6 6");
    M.destroy_feature(F);
    M.close(H);
}

TEST_F(MitabTest, NewFeaturesTakeWritableClassesAndSaneInput) {
    mitab_handle H =
        M.create(Dir.Path("new.mif").c_str(), "MIF", "CoordSys Earth Projection 1, 0", 0, 0, 0, 0);
    ASSERT_NE(H, nullptr);
    EXPECT_EQ(M.add_field(H, "name", TABFT_Char, 10, 0, 0, 0), 0);
    for (int Type : {0, 11, -1})
        EXPECT_EQ(M.add_field(H, "bad", Type, 10, 0, 0, 0), -1) << Type;
    EXPECT_EQ(M.add_field(H, "", TABFT_Char, 10, 0, 0, 0), -1);
    EXPECT_EQ(M.add_field(H, nullptr, TABFT_Char, 10, 0, 0, 0), -1);
    EXPECT_EQ(M.get_field_count(H), 1);

    // Every class (arcs and ellipses go as their outlines, multipoints and
    // collections split by the driver), nothing beyond.
    const std::set<int> Writable = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    for (int Class = -1; Class <= 12; ++Class) {
        mitab_feature F = M.create_feature(H, Class);
        EXPECT_EQ(F != nullptr, Writable.count(Class) == 1) << Class;
        if (F) {
            EXPECT_EQ(M.get_type(F), Class);
        }
        M.destroy_feature(F);
    }

    mitab_feature F = M.create_feature(H, TABFC_Polyline);
    double X[] = {1, 2, 3}, Y[] = {4, 5, 6};
    M.set_points(F, 0, 3, nullptr, Y);
    M.set_points(F, 0, 3, X, nullptr);
    M.set_points(F, 0, -2, X, Y);
    M.set_points(F, -1, 3, X, Y);
    EXPECT_EQ(M.get_parts(F), 0);
    M.set_points(F, 5, 2, X, Y); // past the end: the next part
    M.set_points(F, 1, 3, X, Y);
    M.set_points(F, 0, 1, X + 2, Y + 2); // replaces the first part
    EXPECT_EQ(PartsOf(F), "3 6|1 4,2 5,3 6");
    M.set_field(F, 0, "abc");
    M.set_field(F, 0, nullptr);
    EXPECT_STREQ(M.get_field_as_string(F, 0), "");
    // -1 keeps a text setting, other values replace it.
    M.set_text_display(F, 10, 2, 3, 4, 5, 1, 1, 1);
    M.set_text_display(F, 20, -1, -1, -1, -1, -1, -1, -1);
    EXPECT_EQ(M.get_text_angle(F), 20);
    EXPECT_EQ(M.get_text_height(F), 2);
    EXPECT_EQ(M.get_text_width(F), 3);
    EXPECT_EQ(M.get_text_fgcolor(F), 4);
    EXPECT_EQ(M.get_text_bgcolor(F), 5);
    EXPECT_EQ(M.get_text_justification(F), 1);
    EXPECT_EQ(M.get_text_spacing(F), 1);
    EXPECT_EQ(M.get_text_linetype(F), 1);
    EXPECT_EQ(M.write_feature(H, F), 1);
    M.destroy_feature(F);
    M.close(H);
}

} // namespace
