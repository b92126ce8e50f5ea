// The module's contract around its handles: the walk over feature ids, lifetimes, and bad input
// answered with null, 0 or -1.

#include "MitabFixture.h"

using namespace Testing;

namespace {

// The walk over ids, reads in and out of its order, and lifetimes.
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
    EXPECT_EQ(M.next_feature_id(H, 3), 4);
    for (int Bad : {0, -1, 8, 1000})
        EXPECT_EQ(M.read_feature(H, Bad), nullptr) << Bad;
    // Features outlive their table; a returned string lives until the next
    // call on its own handle.
    mitab_feature A = M.read_feature(H, 1), B = M.read_feature(H, 3);
    const char* Name = M.get_field_name(H, 1);
    M.get_field_as_string(A, 1);
    EXPECT_STREQ(Name, "count");
    M.close(H);
    EXPECT_STREQ(M.get_field_as_string(A, 0), "'quoted'");
    EXPECT_STREQ(M.get_text(B), "Hello, map");
    EXPECT_EQ(PartsOf(A), "10.5 20.25");
    M.destroy_feature(A);
    M.destroy_feature(B);
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

    const std::string Good = Dir.Path("made.tab"), Folder = Dir.Path("folder.tab");
    std::filesystem::create_directories(Folder);
    const char* const LonLat = "CoordSys Earth Projection 1, 104";
    const std::tuple<const char*, const char*, const char*> Bad[] = {
        {nullptr, "tab", LonLat},         {Good.c_str(), nullptr, LonLat},
        {Good.c_str(), "shp", LonLat},    {Good.c_str(), "tab", "CoordSys Nowhere"},
        {"/no/dir/x.tab", "tab", LonLat}, {Good.c_str(), "mif", LonLat}, // not the file's kind
        {Folder.c_str(), "tab", LonLat},
    };
    for (const auto& [File, Kind, CoordSys] : Bad)
        EXPECT_EQ(M.create(File, Kind, CoordSys, 0, 0, 0, 0), nullptr)
            << (Kind ? Kind : "-") << CoordSys;
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
        EXPECT_STREQ(M.get_field_name(Bad, 0), "");
        EXPECT_EQ(M.next_feature_id(Bad, -1), -1);
        EXPECT_EQ(M.read_feature(Bad, 1), nullptr);
        EXPECT_EQ(M.write_feature(Bad, F), 0);
        M.close(Bad); // refused for the feature
    }
    for (mitab_feature Bad : {static_cast<void*>(nullptr), H}) {
        EXPECT_EQ(M.get_type(Bad), -1);
        EXPECT_EQ(M.get_parts(Bad), 0);
        EXPECT_STREQ(M.get_text(Bad), "");
        double X = 1;
        M.set_points(Bad, 0, 1, &X, &X);
        M.destroy_feature(Bad); // refused for the table
    }
    for (int Field : {-1, 7}) {
        EXPECT_EQ(M.get_field_type(H, Field), -1);
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
    for (int Class = -1; Class <= 12; ++Class) {
        mitab_feature F = M.create_feature(H, Class);
        EXPECT_EQ(M.get_type(F), Class >= 0 && Class <= 11 ? Class : -1) << Class;
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
    EXPECT_EQ(std::tuple(M.get_text_angle(F), M.get_text_height(F), M.get_text_width(F),
                         M.get_text_fgcolor(F), M.get_text_bgcolor(F), M.get_text_justification(F),
                         M.get_text_spacing(F), M.get_text_linetype(F)),
              std::tuple(20.0, 2.0, 3.0, 4, 5, 1, 1, 1));
    EXPECT_EQ(M.write_feature(H, F), 1);
    M.destroy_feature(F);
    M.close(H);
}

} // namespace
