// The MapInfo provider: its identity and place in the registry, what it does
// without a usable library, and tables through MITAB both ways: files of
// tests/data saved and loaded back, tables made by ogr2ogr, damaged tables.

#include "MapInfoFixture.h"

#include "formats/MitabBinding.h"
#include "formats/MitabName.h"
#include "objects/NoGeometry.h"
#include "objects/Polys.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>

using namespace Mapobjects;
using namespace Platform;
using namespace Testing;

namespace {

using ProviderTest = MapInfoFixture;

TEST_F(ProviderTest, IdentityAndFileNames) {
    EXPECT_EQ(Tab.Description(), "MapInfo Format Provider (mif, tab)");
    EXPECT_EQ(Tab.Filter(), "MapInfo Files (*.mif; *.tab)|*.mif; *.tab");
    EXPECT_EQ(GUIDToString(Tab.GetGUID()), "{4AC2894A-85A3-4613-80D2-27DDCDFEA816}");
    const std::pair<const char*, bool> Names[] = {
        {"ROADS.TAB", true},  {"a/b.Tab", true},        {"Roads.MIF", true},
        {"roads.mid", false}, {"roads.tab.bak", false}, {"tab", false},
    };
    for (auto [Name, Accepted] : Names)
        EXPECT_EQ(Tab.CanProcessFile(Name), Accepted) << Name;
}

TEST_F(ProviderTest, RegistryOrderDecidesMifAndOnlyThisProviderTakesTab) {
    TFormatProviders* Registry = FormatProviders();
    EXPECT_EQ(Registry->FindSuitableProvider("x.mif"), &Mif);
    EXPECT_EQ(Registry->FindSuitableProvider("x.TAB"), &Tab);
    EXPECT_EQ(Registry->GetProviderByGUID(Tab.GetGUID()), &Tab);
    Mif.SetEnabled(false);
    EXPECT_EQ(Registry->FindSuitableProvider("x.mif"), &Tab);
    Tab.SetEnabled(false);
    EXPECT_EQ(Registry->FindSuitableProvider("x.tab"), nullptr);
}

// Without a usable library: loading raises the message that says where to
// put it, saving answers false and writes nothing, the MIF provider works. A
// library of the right level that lacks entry points is refused by name
// rather than called through a null pointer.
TEST_F(ProviderTest, WithoutAUsableLibraryLoadAndSaveRefuseAndTheRestWorks) {
    const std::string Saved = MitabLibraryName();
    struct TRestore {
        std::string Name;
        ~TRestore() {
            SetMitabLibraryName(Name);
            MITAB_load();
        }
    } Restore{Saved};
    // The message names the program's folder and the system's, where libc is.
    ASSERT_TRUE(std::filesystem::exists(SystemLibraryDirectory() + "libc.so.6"));
    const std::string NotFound = "MITAB.DLL not fond! Please place DLL to " +
                                 std::string(CHARTIX_BIN_DIR) + "/ or " + SystemLibraryDirectory() +
                                 " directory!";
    const std::string StandIns = std::string(STANDIN_DIR) + "/libmitab_standin_";
    const std::tuple<const char*, std::string, std::string> Libraries[] = {
        {"missing", "libmitab-nowhere.so", NotFound},
        {"no entry points", StandIns + "bare.so", "lacks mitab_c_close"},
    };
    for (const auto& [What, Name, Expected] : Libraries) {
        SCOPED_TRACE(What);
        SetMitabLibraryName(Name);
        TMapInfoFormatProvider Provider(nullptr); // loads again
        ASSERT_EQ(MITAB_LibOK(), Expected != NotFound);
        // Our own MIF provider works on.
        EXPECT_EQ(Map.Layers().Add(DataFile("mapinfo/kinds.mif"), "")->ObjectCount(), 14);
        TMapLayer* Layer = Map.Layers().Add("", "layer");
        AddSquare(Layer, 0, 0, 1);
        const std::string Message =
            MessageOf<Exception>([&] { Provider.Load(Layer, Dir.Path("x.tab")); });
        if (Expected == NotFound)
            EXPECT_EQ(Message, Expected);
        else
            EXPECT_NE(Message.find(Expected), std::string::npos) << Message;
        EXPECT_FALSE(Provider.Save(Layer, Dir.Path("x.tab")));
        EXPECT_FALSE(std::filesystem::exists(Dir.Path("x.tab")));
        // Through the layer, the error reaches the caller unchanged.
        EXPECT_EQ(MessageOf<Exception>([&] { Layer->LoadFromFile(Dir.Path("x.tab"), ""); }),
                  Message);
        EXPECT_EQ(Layer->ObjectCount(), 1);
    }
}

#ifdef CHARTIX_HAVE_MITAB

// What GDAL says of a feature that a save must keep: the geometry type and
// vertex count, and the MapInfo numbers, colours, angle, font and text of
// its style.
std::string Essence(const TOgrFeature& F) {
    static const std::regex Number(R"(-?[0-9.]+(e[-+]?[0-9]+)? -?[0-9.]+)");
    static const std::regex Style(
        R"((mapinfo-(pen|brush|sym)-[0-9]+|mapinfo-custom-sym-[0-9]+-[^,"]+|font-sym-[0-9]+|\b(c|fc|bc|a|s|bo|p):[^,)]+|[ft]:"[^"]*"))");
    const auto Count = std::distance(
        std::sregex_iterator(F.Geometry.begin(), F.Geometry.end(), Number), std::sregex_iterator());
    std::string S = F.Geometry.substr(0, F.Geometry.find(' ')) + " " + std::to_string(Count);
    for (auto It = std::sregex_iterator(F.Style.begin(), F.Style.end(), Style);
         It != std::sregex_iterator(); ++It)
        S += " " + It->str();
    return S;
}

std::vector<std::string> Essences(const std::string& Table) {
    std::vector<std::string> Result;
    for (const TOgrFeature& F : OgrInfo(Table))
        Result.push_back(Essence(F));
    return Result;
}

// The hand-made files of tests/data: MITAB reads a .mif's kinds of objects
// as our reader does; saved through MITAB as .tab and as .mif, each loads
// back as mapinfo/through-mitab.txt holds it (the system never invented nor
// lost, a table without one in plane metres as ogr2ogr makes it) (a .tab saved again loads the
// same; a .mif keeps a turned text only as the box around it), and GDAL finds in our .tab the
// styles its own driver writes from the source. GDAL's driver splits multipoints and collections,
// which is told.
TEST_F(ProviderTest, HandMadeFilesSaveAndLoadBackThroughMitab) {
    ASSERT_TRUE(MITAB_LibOK()) << MITAB_LoadErr;
    std::vector<std::string> Files;
    for (const char* Folder : {"mapinfo", "roundtrip"})
        for (const auto& E : std::filesystem::directory_iterator(DataFile(Folder)))
            if (E.path().extension() == ".mif" && E.path().stem() != "nulls")
                Files.push_back(E.path().string());
    std::sort(Files.begin(), Files.end());
    const std::vector<std::string> SameAsOurs = {"kinds", "collection", "multipoint"};
    const std::vector<std::string> SameAsGdal = {
        "roundrect",       "custom-symbol", "font-symbol-angle",
        "pen-patterns",    "text-box",      "brush-bg-smooth-center",
        "no-symbol-point", "text-cyrillic", "charset-latin1"};
    std::string All;
    for (const std::string& File : Files) {
        const std::string Name = std::filesystem::path(File).stem().string();
        SCOPED_TRACE(Name);
        TMapLayer* Ours = Map.Layers().Add(File, "");
        ASSERT_NE(Ours, nullptr);
        if (std::count(SameAsOurs.begin(), SameAsOurs.end(), Name)) {
            TMapLayer* Theirs = Map.Layers().Add("", "mitab");
            ASSERT_TRUE(Tab.Load(Theirs, File));
            EXPECT_TRUE(Tab.Problems().Empty());
            EXPECT_EQ(Dump(*Theirs, false), Dump(*Ours, false));
        }
        for (const char* Ext : {".tab", ".mif"}) {
            const std::string Saved = Dir.Path(Name + Ext), Again = Dir.Path(Name + "-again" + Ext);
            ASSERT_TRUE(Tab.Save(Ours, Saved));
            All += "== " + Name + Ext + "\n";
            for (const TReadProblem& P : Tab.Problems().Items())
                All += P.Message + "\n";
            TMapLayer* Back = Map.Layers().Add("", "back");
            if (!Tab.Load(Back, Saved)) All += "(not loaded)\n";
            All += Dump(*Back);
            if (std::string(Ext) == ".mif") continue; // where a turned text is only its box
            ASSERT_TRUE(Tab.Save(Back, Again));
            TMapLayer* BackAgain = Map.Layers().Add("", "again");
            ASSERT_EQ(Tab.Load(BackAgain, Again), Back->ObjectCount() > 0);
            EXPECT_EQ(Dump(*BackAgain), Dump(*Back));
        }
        if (std::count(SameAsGdal.begin(), SameAsGdal.end(), Name)) {
            const std::string Gdal = Dir.Path(Name + "-gdal.tab");
            RunCommand(std::string(OGR2OGR) + " -f 'MapInfo File' '" + Gdal + "' '" + File + "'");
            EXPECT_EQ(Essences(Dir.Path(Name + ".tab")), Essences(Gdal));
        }
        Map.Layers().Clear();
    }
    EXPECT_EQ(All, ReadFile(DataFile("mapinfo/through-mitab.txt")));
}

// The other way: a table written by ogr2ogr, its columns, objects, styles
// (a turned text placed from GDAL's point where its baseline starts) and
// system, as mapinfo/made.txt holds them.
TEST_F(ProviderTest, ATabMadeByOgr2ogrLoads) {
    const std::string Table = Dir.Path("made.tab");
    MakeTable(Table, ReadFile(DataFile("mapinfo/made.csv")),
              ReadFile(DataFile("mapinfo/made.csvt")), "name,count,amount,day", "-a_srs EPSG:4326");
    TMapLayer* Layer = Map.Layers().Add(Table, "");
    ASSERT_NE(Layer, nullptr);
    EXPECT_EQ(Dump(*Layer), ReadFile(DataFile("mapinfo/made.txt")));
    EXPECT_NE(Layer->CoordSys().find("Earth Projection 1"), std::string::npos) << Layer->CoordSys();
}

// The original provider's output stays available: every table in
// longitude and latitude, text as it is.
TEST_F(ProviderTest, TheClassicDialectWritesTheOriginalSystem) {
    TMapLayer* Layer = Map.Layers().Add(DataFile("roundtrip/crs-utm.mif"), "");
    Tab.SetDialect(mdClassic);
    ASSERT_TRUE(Tab.Save(Layer, Dir.Path("classic.tab")));
    TMapLayer* FromTab = Map.Layers().Add("", "table");
    ASSERT_TRUE(Tab.Load(FromTab, Dir.Path("classic.tab")));
    EXPECT_EQ(FromTab->CoordSys().rfind("CoordSys Earth Projection 1, 0", 0), 0u)
        << FromTab->CoordSys();
}

// The classes the provider asks the library for, by way of the bound entry
// point: the module here drops empty parts itself, another MITAB would not.
std::vector<int> CreatedClasses;
decltype(mitab_c_create_feature) RealCreateFeature = nullptr;
mitab_feature RecordCreateFeature(mitab_handle H, int Class) {
    CreatedClasses.push_back(Class);
    return RealCreateFeature(H, Class);
}

// A region or polyline without points keeps its row, saved without geometry:
// GDAL rejects a ring or line of no points when it reads the table.
TEST_F(ProviderTest, ShapesWithoutPointsSaveTheirRowsWithoutGeometry) {
    TMapLayer* Layer = Map.Layers().Add("", "empty");
    Layer->Fields().Add("name", dtString, 10);
    TCustomMapObject* Objects[] = {Layer->NewObject<TRegion>(), AddSquare(Layer, 0, 0, 1),
                                   Layer->NewObject<TPolyline>()};
    Objects[2]->Parts().Add(); // a part, but no points
    for (int I = 0; I < 3; ++I) {
        Objects[I]->UpdateBounds();
        Objects[I]->Fields().GetFields(0)->SetAsString(std::to_string(I));
    }
    const std::string Table = Dir.Path("empty.tab");
    RealCreateFeature = mitab_c_create_feature;
    mitab_c_create_feature = RecordCreateFeature;
    const bool Saved = Tab.Save(Layer, Table);
    mitab_c_create_feature = RealCreateFeature;
    ASSERT_TRUE(Saved);
    EXPECT_TRUE(Tab.Problems().Empty()) << TReadProblems::Describe(Tab.Problems().Items()[0]);
    EXPECT_EQ(CreatedClasses, (std::vector<int>{0, 7, 0})) << "no geometry, region, no geometry";
    TMapLayer* Back = Map.Layers().Add("", "back");
    ASSERT_TRUE(Tab.Load(Back, Table));
    EXPECT_EQ(Dump(*Back, false),
              "CoordSys NonEarth Units \"m\" Bounds (-0.1, -0.1) (1.1, 1.1) | Neutral\n"
              "name:0(10.0) \nTNoGeometry|0\nTRegion 0 0 1 1|1\nTNoGeometry|2\n");
}

// The second row of a .mid file.
std::string SecondRow(const std::string& Mif) {
    std::istringstream In(ReadFile(ChangeFileExt(Mif, ".mid")));
    std::string Row;
    std::getline(In, Row) && std::getline(In, Row);
    if (!Row.empty() && Row.back() == '\r') Row.pop_back();
    return Row;
}

// Nulls of every column type (mapinfo/nulls.mif as ogr2ogr writes it, its
// header given the SmallInt and Logical that GDAL cannot declare): saved as
// .mif they are written as GDAL writes them (a Logical column goes as
// Char(1), whose null is ""), so ogrinfo reads them alike; a .tab keeps the
// null dates and times, GDAL's only nulls, and they load back as nulls.
TEST_F(ProviderTest, NullsSaveAsGdalWritesThemAndLoadBack) {
    const std::string Source = DataFile("mapinfo/nulls.mif");
    TMapLayer* Layer = Map.Layers().Add(Source, "");
    ASSERT_EQ(Layer->ObjectCount(), 2);
    const std::string Mif = Dir.Path("nulls.mif"), Table = Dir.Path("nulls.tab");
    ASSERT_TRUE(Tab.Save(Layer, Mif));
    EXPECT_EQ(SecondRow(Mif), SecondRow(Source) + "\"\"");
    EXPECT_EQ(OgrInfo(Mif).at(1).Values, OgrInfo(Source).at(1).Values);
    ASSERT_TRUE(Tab.Save(Layer, Table));
    EXPECT_TRUE(Tab.Problems().Empty()) << TReadProblems::Describe(Tab.Problems().Items()[0]);
    const std::vector<TOgrFeature> F = OgrInfo(Table);
    for (const char* Column : {"dt (Date)", "tm (Time)", "dtm (DateTime)"})
        EXPECT_EQ(F.at(1).Values.count(Column), 0u) << Column;
    EXPECT_EQ(F.at(1).Values.at("i (Integer)"), "0");
    TMapLayer* Back = Map.Layers().Add("", "back");
    ASSERT_TRUE(Tab.Load(Back, Table));
    ASSERT_EQ(Back->ObjectCount(), 2);
    for (int C = 5; C < 8; ++C) {
        EXPECT_TRUE(Back->Objects(1)->Row().Value(C).IsNull()) << C;
        EXPECT_EQ(Back->Objects(1)->Row().Text(C), "");
        EXPECT_NE(Back->Objects(0)->Row().Text(C), "");
    }
}

// A value that cannot be written costs its own object only: the problem
// names the object's index and what failed, and the others are written.
TEST_F(ProviderTest, AnObjectWithAValueThatCannotBeWrittenIsToldAndTheRestSaved) {
    const std::pair<TDataType, TVariant> Cases[] = {{dtInteger, TVariant("many")},
                                                    {dtDate, TVariant(1e9)}};
    const char* const Told[] = {"'many' is not an integer for column v",
                                "'1000000000' is not a date for column v"};
    for (int K = 0; K < 2; ++K) {
        SCOPED_TRACE(Told[K]);
        TMapLayer* Layer = Map.Layers().Add("", "values");
        Layer->Fields().Add("name", dtString, 10);
        Layer->Fields().Add("v", Cases[K].first, 0);
        for (int I = 0; I < 3; ++I) {
            TCustomMapObject* O = AddSquare(Layer, I, 0, 1);
            O->UpdateBounds();
            O->Row().SetValue(0, std::to_string(I));
            O->Row().SetValue(1, I == 1 ? Cases[K].second : TVariant::Null());
        }
        const std::string Table = Dir.Path("values.tab");
        ASSERT_TRUE(Tab.Save(Layer, Table));
        ASSERT_EQ(Tab.Problems().Count(), 1);
        EXPECT_EQ(Tab.Problems().Items()[0].Message.rfind(
                      std::string("object at index 1 could not be written: ") + Told[K], 0),
                  0u)
            << Tab.Problems().Items()[0].Message;
        const std::vector<TOgrFeature> F = OgrInfo(Table);
        ASSERT_EQ(F.size(), 2u);
        EXPECT_EQ(F[1].Values.at("name (String)"), "2");
        ExpectWkt(F[1].Geometry, "POLYGON ((2 0,3 0,3 1,2 1,2 0))");
    }
}

// A table large enough to take a while reports its progress to the map.
TEST_F(ProviderTest, LargeTablesReportProgress) {
    TMapLayer* Layer = Map.Layers().Add("", "many");
    for (int I = 0; I < 600; ++I)
        Place(Layer->NewObject<TSymbol>(), I * 0.1, 1);
    ASSERT_TRUE(Tab.Save(Layer, Dir.Path("many.tab")));
    std::string Calls;
    Map.OnStartProgress = [&](TObject*, int, int M, const std::string&) {
        Calls += Format("start %d,", M);
    };
    Map.OnShowProgress = [&](TObject*, int P) { Calls += Format("%d,", P); };
    Map.OnStopProgress = [&](TObject*) { Calls += "stop"; };
    TMapLayer* Back = Map.Layers().Add("", "back");
    ASSERT_TRUE(Tab.Load(Back, Dir.Path("many.tab")));
    EXPECT_EQ(Back->ObjectCount(), 600);
    EXPECT_EQ(Calls, "start 600,0,256,512,stop");
}

// Damaged tables: each says what is wrong, naming the file, and loads what
// can be loaded.
TEST_F(ProviderTest, DamagedTablesAreToldAndWhatCanBeReadLoads) {
    const std::string Samples = std::string(CHARTIX_SOURCE_DIR) + "/samples/places";
    TMapLayer* Whole = Map.Layers().Add("", "whole");
    ASSERT_TRUE(Tab.Load(Whole, Samples + ".tab"));
    ASSERT_EQ(Whole->ObjectCount(), 177);
    namespace fs = std::filesystem;
    struct TCase {
        const char* What;
        std::function<void(const std::string&)> Damage; // given the folder
        int Objects;                                    // -1: some, fewer than the whole table's
        std::string Says;                               // after "FOLDER/places.tab: "
    } const Cases[] = {
        {"no .dat", [](const std::string& D) { fs::remove(D + "/places.dat"); }, 0,
         "places.dat is missing"},
        {"no .map",
         [](const std::string& D) {
             fs::remove(D + "/places.map");
             fs::remove(D + "/places.id");
         },
         177, "places.map is missing"},
        {"a .map cut short", [](const std::string& D) { fs::resize_file(D + "/places.map", 3000); },
         -1, "after feature "},
        {"not a table", [](const std::string& D) { WriteFile(D + "/places.tab", "no table\n"); }, 0,
         ""},
        {"no table", [](const std::string& D) { fs::remove(D + "/places.tab"); }, 0, ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.What);
        const std::string Folder = Dir.Path(C.What);
        fs::create_directory(Folder);
        for (const char* Ext : {".tab", ".dat", ".map", ".id"})
            fs::copy_file(Samples + Ext, Folder + "/places" + Ext);
        C.Damage(Folder);
        TMapLayer* Layer = Map.Layers().Add("", C.What);
        EXPECT_EQ(Tab.Load(Layer, Folder + "/places.tab"), C.Objects != 0);
        // Every problem names the table (no line of it), one says what.
        ASSERT_FALSE(Tab.Problems().Empty());
        std::string Said;
        for (const TReadProblem& P : Tab.Problems().Items()) {
            Said += TReadProblems::Describe(P) + "\n";
            EXPECT_EQ(TReadProblems::Describe(P).rfind(Folder + "/places.tab: ", 0), 0u) << Said;
        }
        EXPECT_NE(Said.find(C.Says), std::string::npos) << Said;
        if (C.Objects >= 0)
            EXPECT_EQ(Layer->ObjectCount(), C.Objects);
        else
            EXPECT_TRUE(Layer->ObjectCount() > 0 && Layer->ObjectCount() < 177);
        // What was read is what the whole table holds at those places.
        const bool Shapes = C.Says != "places.map is missing";
        for (int I = 0; I < Layer->ObjectCount(); ++I)
            EXPECT_EQ(PointsOf(Layer->Objects(I)), Shapes ? PointsOf(Whole->Objects(I)) : "") << I;
    }
    EXPECT_FALSE(Tab.Save(Whole, Dir.Path("no/such/folder/x.tab")));
}

// A projected table keeps its coordinates as stored, and its system when
// saved again; nothing is cut at the bounds the driver assumes for the
// projection (Antarctica lies beyond them), the grid of metres a centimetre.
TEST_F(ProviderTest, AProjectedTableLoadsAndSavesAsStored) {
    const std::string Projected = Dir.Path("mercator.tab"), Again = Dir.Path("again.tab");
    bool Ok;
    const std::string Out =
        RunCommand(std::string(OGR2OGR) + " -f 'MapInfo File' -t_srs EPSG:3857 '" + Projected +
                       "' '" + CHARTIX_SOURCE_DIR + "/samples/places.tab'",
                   &Ok);
    ASSERT_TRUE(Ok) << Out;
    // A workspace over it gives zoom ranges in the table's metres: 1000 km across.
    WriteFile(Dir.Path("m.wor"), "!Workspace\n!Version 600\nOpen Table \"mercator\" As m\n"
                                 "Map From m\nSet Map Layer 1 Zoom (0, 1000) Units \"km\" On\n");
    Map.LoadWOR(Dir.Path("m.wor"));
    ASSERT_EQ(Map.Layers().Count(), 1);
    EXPECT_NEAR(Map.Layers().GetLayer(0)->MinZoom(), 360 / 1e6, 1e-12);
    Map.Layers().Clear();
    TMapLayer* Layer = Map.Layers().Add("", "mercator");
    ASSERT_TRUE(Tab.Load(Layer, Projected));
    const std::vector<TOgrFeature> F = OgrInfo(Projected);
    ASSERT_EQ(static_cast<int>(F.size()), Layer->ObjectCount());
    ExpectWkt("POINT (" + std::string(PointsOf(Layer->Objects(0))) + ")", F[0].Geometry);
    EXPECT_NE(Layer->CoordSys().find("Projection 10"), std::string::npos) << Layer->CoordSys();
    ASSERT_TRUE(Tab.Save(Layer, Again));
    EXPECT_NE(
        RunCommand(std::string(OGRINFO) + " -ro -so -al '" + Again + "'").find("Pseudo-Mercator"),
        std::string::npos);
    const std::vector<TOgrFeature> Back = OgrInfo(Again);
    ASSERT_EQ(Back.size(), F.size());
    for (size_t I = 0; I < F.size(); ++I)
        ExpectWkt(Back[I].Geometry, F[I].Geometry, 0.02);
}

#endif

} // namespace
