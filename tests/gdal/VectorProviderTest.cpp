// The GDAL vector provider on files ogr2ogr makes from the samples: every
// value and vertex count as ogrinfo reads them, saved and read back by
// ogrinfo, the coordinate system kept; layers of a GeoPackage by name;
// damaged features reported and skipped; holes and islands written as
// polygons; a Shapefile refused a mix of kinds.

#include "core/GdalModule.h"
#include "core/MapObjects.h"
#include "formats/StandardProviders.h"
#include "formats/VectorSources.h"
#include "objects/Polys.h"
#include "objects/Symbol.h"
#include "support/GdalTools.h"
#include "support/MapFixture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

using namespace Mapobjects;
using namespace Platform;
using namespace Testing;

namespace {

std::string Sample(const std::string& Name) {
    return std::string(CHARTIX_SOURCE_DIR) + "/" + Name;
}

// A feature as ogrinfo prints it: values by column name, and the number of
// vertices of its geometry.
struct TOracle {
    std::map<std::string, std::string> Values;
    size_t Vertices = 0;
};

std::vector<TOracle> OgrFeatures(const std::string& File, const std::string& Layer = {}) {
    std::vector<TOracle> Features;
    std::istringstream In(
        RunCommand(std::string(OGRINFO) + " -ro -q " +
                   (Layer.empty() ? "-al '" + File + "'" : "'" + File + "' '" + Layer + "'")));
    static const std::regex Number(R"(-?[0-9.]+(e[-+]?[0-9]+)?)");
    for (std::string Line; std::getline(In, Line);) {
        if (Line.rfind("OGRFeature(", 0) == 0) Features.emplace_back();
        if (Features.empty() || Line.rfind("  ", 0) != 0 || Line.rfind("  Style = ", 0) == 0)
            continue;
        const size_t Type = Line.find(" ("), Eq = Line.find(") = ");
        if (Type != std::string::npos && Eq != std::string::npos && Type < Eq)
            Features.back().Values[Line.substr(2, Type - 2)] = Line.substr(Eq + 4);
        else
            Features.back().Vertices = static_cast<size_t>(std::distance(
                                           std::sregex_iterator(Line.begin(), Line.end(), Number),
                                           std::sregex_iterator())) /
                                       2;
    }
    return Features;
}

// A feature in one line, to compare sets of features whatever their order.
std::string Line(const TOracle& F) {
    std::string S;
    for (const auto& [Name, Value] : F.Values)
        S += Name + "=" + Value + ";";
    return S + std::to_string(F.Vertices);
}

std::vector<std::string> Lines(const std::vector<TOracle>& Features) {
    std::vector<std::string> Result;
    for (const TOracle& F : Features)
        Result.push_back(Line(F));
    std::sort(Result.begin(), Result.end());
    return Result;
}

// Whether the object's row says what ogrinfo printed.
void ExpectRow(const TCustomMapObject& O, const TOracle& F, const std::string& Where) {
    const TObjectRow& Row = O.Row();
    ASSERT_EQ(static_cast<size_t>(Row.Count()), F.Values.size()) << Where;
    for (int K = 0; K < Row.Count(); ++K) {
        const TDataField& Column = Row.Column(K);
        const auto It = F.Values.find(Column.Name());
        ASSERT_NE(It, F.Values.end()) << Where << " " << Column.Name();
        const std::string& Want = It->second;
        const TVariant V = Row.Value(K);
        const std::string At = Where + " " + Column.Name();
        if (Want == "(null)") {
            EXPECT_TRUE(V.IsNull()) << At;
        } else if (Column.DataType() == dtFloat || Column.DataType() == dtDecimal) {
            EXPECT_NEAR(V.ToDouble(), std::stod(Want),
                        1e-12 * std::max(1.0, std::abs(V.ToDouble())))
                << At;
        } else if (Column.DataType() == dtDate) {
            int Y, M, D;
            DecodeDate(V.ToDouble(), Y, M, D);
            EXPECT_EQ(Format("%04d/%02d/%02d", Y, M, D), Want) << At;
        } else {
            EXPECT_EQ(Row.Text(K), Want) << At;
        }
    }
}

// The style ogrinfo shows for each feature, in order ("" for none).
std::vector<std::string> OgrStyles(const std::string& File) {
    std::vector<std::string> Styles;
    std::istringstream In(RunCommand(std::string(OGRINFO) + " -ro -q -al '" + File + "'"));
    for (std::string Line; std::getline(In, Line);)
        if (Line.rfind("OGRFeature(", 0) == 0)
            Styles.emplace_back();
        else if (Line.rfind("  Style = ", 0) == 0 && !Styles.empty())
            Styles.back() = Line.substr(10);
    return Styles;
}

// The first group of Pattern in Style, lower case; "" for none.
std::string Param(const std::string& Style, const char* Pattern) {
    std::smatch M;
    return std::regex_search(Style, M, std::regex(Pattern)) ? LowerCase(M[1].str()) : "";
}

std::string Hex(TColor C) {
    return Format("%02x%02x%02x", C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF);
}

// An object's look, and a style string's, in the same words.
std::string Look(const TCustomMapObject& O) {
    if (dynamic_cast<const TSymbol*>(&O))
        return "symbol " + Hex(O.ReadFont()->Color()) + " " + std::to_string(O.ReadFont()->Size());
    return "pen " + Hex(O.ReadPen()->Color()) + " " + std::to_string(O.ReadPen()->Width()) +
           " brush " + (O.ReadBrush()->Style() == bsClear ? "none" : Hex(O.ReadBrush()->Color()));
}
std::string Look(const std::string& Style) {
    if (Style.find("SYMBOL(") != std::string::npos)
        return "symbol " + Param(Style, R"(SYMBOL\([^)]*c:#([0-9a-fA-F]{6}))") + " " +
               Param(Style, R"(SYMBOL\([^)]*s:([0-9]+)(\.0*)?pt)");
    const std::string Fill = Param(Style, R"(BRUSH\([^)]*fc:#([0-9a-fA-F]{6}))");
    return "pen " + Param(Style, R"(PEN\([^)]*c:#([0-9a-fA-F]{6}))") + " " +
           Param(Style, R"(PEN\([^)]*w:([0-9]+)(\.0*)?px)") + " brush " +
           (Fill.empty() || Style.find("ogr-brush-1") != std::string::npos ? "none" : Fill);
}

std::string Summary(const std::string& File) {
    return RunCommand(std::string(OGRINFO) + " -ro -so -al '" + File + "'");
}

struct VectorProviderTest : MapFixture {
    static inline std::unique_ptr<TTempDir> Inputs;
    TTempDir Dir;
    TCustomFormatProvider* Gdal = nullptr;
    TMapLayer* Layer = nullptr;

    // The inputs once for all tests: each format from the samples, in WGS 84.
    static void SetUpTestSuite() {
        Inputs = std::make_unique<TTempDir>();
        const std::string Countries = Sample("samples/countries.mif");
        const std::string Gpkg = Inputs->Path("world.gpkg");
        const std::string Commands[] = {
            "-a_srs EPSG:4326 '" + Inputs->Path("countries.shp") + "' '" + Countries + "'",
            "-a_srs EPSG:4326 '" + Inputs->Path("countries.geojson") + "' '" + Countries + "'",
            "-a_srs EPSG:4326 '" + Inputs->Path("countries.fgb") + "' '" + Countries + "'",
            "-a_srs EPSG:4326 -nln countries '" + Gpkg + "' '" + Countries + "'",
            "-update -a_srs EPSG:4326 -nln places '" + Gpkg + "' '" + Sample("samples/places.mif") +
                "'",
            "-update -a_srs EPSG:4326 -nln b_countries -where \"name LIKE 'B%'\" '" + Gpkg + "' '" +
                Countries + "'",
            "-nln kinds '" + Inputs->Path("kinds.gpkg") + "' '" +
                Sample("tests/data/gdal-kinds.mif") + "'",
        };
        for (const std::string& C : Commands) {
            bool Ok = false;
            const std::string Out = RunCommand(std::string(OGR2OGR) + " " + C, &Ok);
            ASSERT_TRUE(Ok) << C << "\n" << Out;
        }
    }
    static void TearDownTestSuite() { Inputs.reset(); }

    void SetUp() override {
        MapFixture::SetUp();
        RegisterStandardProviders();
        Gdal = FormatProviders()->FindSuitableProvider("x.gpkg");
        ASSERT_TRUE(Gdal) << GdalModuleProblem();
        ASSERT_EQ(Gdal->Description(), "GDAL Vector Formats Provider");
        Layer = Map.Layers().Add("", "layer");
    }

    TFileResult Load(const std::string& File) {
        Layer->DeleteObjects();
        return Gdal->LoadFile(Layer, File);
    }
};

TEST_F(VectorProviderTest, IdentityAndFileNames) {
    EXPECT_EQ(GUIDToString(Gdal->GetGUID()), "{D5504507-A47E-4D1A-BEE7-CF5321333D24}");
    const std::string Filter = Gdal->Filter();
    EXPECT_EQ(Filter.rfind("Vector files (GDAL) (*.shp; ", 0), 0u) << Filter;
    for (const char* Entry : {"|ESRI Shapefile (*.shp)|*.shp|", "|GeoPackage (*.gpkg)|*.gpkg|",
                              "|FlatGeobuf (*.fgb)|*.fgb|", "|KML (*.kml)|*.kml|"})
        EXPECT_NE(Filter.find(Entry), std::string::npos) << Entry;
    const std::pair<const char*, bool> Names[] = {
        {"A.SHP", true},     {"w.gpkg|layername=places", true},
        {"a.GeoJSON", true}, {"a.fgb", true},
        {"a.shp.zip", true}, {"a.docx", false},
        {"shp", false},      {"a.gpkg.bak", false},
    };
    for (auto [Name, Accepted] : Names)
        EXPECT_EQ(Gdal->CanProcessFile(Name), Accepted) << Name;
}

// Each input loads with GDAL's values and vertices, and our save of it reads
// back, in the same format, with the same features and coordinate system.
TEST_F(VectorProviderTest, ReadsAndWritesWhatGdalReads) {
    struct TCase {
        const char* File;
        const char* Layer;
        const char* Saved;
        size_t Count;
        const char* System; // in our WKT and in ogrinfo's of what we wrote
    };
    const char* Wgs84 = "GEOGCRS[\"WGS 84\"";
    const TCase Cases[] = {
        {"countries.shp", "", "out.shp", 177, Wgs84},
        {"countries.geojson", "", "out.geojson", 177, Wgs84},
        {"countries.fgb", "", "out.fgb", 177, Wgs84},
        {"world.gpkg", "places", "out.gpkg|layername=places", 177, Wgs84},
        {"world.gpkg", "b_countries", "out.gpkg|layername=b", 15, Wgs84},
        {"kinds.gpkg", "kinds", "out.gpkg|layername=kinds", 8,
         "GEOGCRS[\"Undefined geographic SRS\""},
    };
    for (const TCase& C : Cases) {
        const std::string File = Inputs->Path(C.File);
        const std::string Name = *C.Layer ? SourceLayerFileName(File, C.Layer) : File;
        SCOPED_TRACE(Name);
        const TFileResult Read = Load(Name);
        ASSERT_TRUE(Read.Ok) << Read.Describe();
        EXPECT_TRUE(Read.Problems.Empty()) << Read.Describe();
        EXPECT_EQ(Layer->CoordSys().rfind(C.System, 0), 0u) << Layer->CoordSys();
        const std::vector<TOracle> Want = OgrFeatures(File, C.Layer);
        ASSERT_EQ(Want.size(), C.Count);
        ASSERT_EQ(static_cast<size_t>(Layer->ObjectCount()), Want.size());
        for (size_t I = 0; I < Want.size(); ++I) {
            const TCustomMapObject& O = *Layer->Objects(static_cast<int>(I));
            ExpectRow(O, Want[I], "feature " + std::to_string(I + 1));
            EXPECT_EQ(static_cast<size_t>(O.Geometry().PointCount()), Want[I].Vertices) << I + 1;
        }

        const std::string Saved = Dir.Path(C.Saved);
        const TFileResult Written = Gdal->SaveFile(Layer, Saved);
        ASSERT_TRUE(Written.Ok) << Written.Describe();
        const size_t Bar = Saved.find('|');
        const std::string OutFile = Saved.substr(0, Bar);
        const std::string OutLayer =
            Bar == std::string::npos ? "" : Saved.substr(Saved.find('=') + 1);
        EXPECT_EQ(Lines(OgrFeatures(OutFile, OutLayer)), Lines(Want));
        EXPECT_NE(Summary(OutFile).find(C.System), std::string::npos);
    }
}

TEST_F(VectorProviderTest, ListsTheLayersOfASourceAndOpensTheNamedOne) {
    const std::string Gpkg = Inputs->Path("world.gpkg");
    std::vector<std::string> Names;
    std::string Error;
    ASSERT_TRUE(SourceLayers(Gpkg, Names, Error)) << Error;
    EXPECT_EQ(Names, (std::vector<std::string>{"countries", "places", "b_countries"}));
    ASSERT_TRUE(Load(SourceLayerFileName(Gpkg, "places")).Ok);
    EXPECT_TRUE(dynamic_cast<TSymbol*>(Layer->Objects(0)));
    ASSERT_TRUE(Load(Gpkg).Ok); // the first layer
    EXPECT_TRUE(dynamic_cast<TRegion*>(Layer->Objects(0)));
    const TFileResult Missing = Load(SourceLayerFileName(Gpkg, "rivers"));
    EXPECT_FALSE(Missing.Ok);
    EXPECT_NE(Missing.Message.find("countries, places, b_countries"), std::string::npos)
        << Missing.Message;
    EXPECT_FALSE(SourceLayers(Dir.Path("none.gpkg"), Names, Error));
    EXPECT_FALSE(Error.empty());
}

// The samples' MapInfo styles as GDAL hands them: pens, fills and symbols,
// then written through GDAL's MapInfo driver, which keeps them.
TEST_F(VectorProviderTest, ReadsAndWritesOgrStyles) {
    for (const auto& [Name, Looks] :
         {std::pair{"samples/countries.mif", 5u}, {"samples/places.mif", 1u}}) {
        const std::string File = Sample(Name);
        SCOPED_TRACE(File);
        ASSERT_TRUE(Load(File).Ok);
        const std::vector<std::string> Want = OgrStyles(File);
        ASSERT_EQ(Want.size(), static_cast<size_t>(Layer->ObjectCount()));
        std::set<std::string> Distinct;
        for (size_t I = 0; I < Want.size(); ++I) {
            EXPECT_EQ(Look(*Layer->Objects(static_cast<int>(I))), Look(Want[I])) << Want[I];
            Distinct.insert(Look(Want[I]));
        }
        EXPECT_GE(Distinct.size(), Looks);
        const std::string Tab = Dir.Path("styled.tab");
        const TFileResult Saved = Gdal->SaveFile(Layer, Tab);
        ASSERT_TRUE(Saved.Ok) << Saved.Describe();
        const std::vector<std::string> Back = OgrStyles(Tab);
        ASSERT_EQ(Back.size(), Want.size());
        for (size_t I = 0; I < Want.size(); ++I)
            EXPECT_EQ(Look(Back[I]), Look(Want[I])) << Back[I];
    }
}

// Damaged features are reported by their number and skipped; what cannot be
// opened at all fails with a reason.
TEST_F(VectorProviderTest, ReportsDamagedFeaturesAndLoadsTheRest) {
    const std::string Bad = Dir.Path("bad.geojson");
    WriteFile(Bad, R"({"type":"FeatureCollection","features":[
{"type":"Feature","properties":{"n":1},"geometry":{"type":"Point","coordinates":[1,2]}},
{"type":"Feature","properties":{"n":2},"geometry":{"type":"Polygon","coordinates":[[[0,0],[1,1]]]}},
{"type":"Feature","properties":{"n":3},"geometry":null},
{"type":"Feature","properties":{"n":4},"geometry":{"type":"LineString","coordinates":[[0,0]]}},
{"type":"Feature","properties":{"n":5},"geometry":{"type":"LineString","coordinates":[[0,0],[1,1]]}}
]})");
    TFileResult R = Load(Bad);
    ASSERT_TRUE(R.Ok) << R.Describe();
    std::vector<int> Lines;
    for (const TReadProblem& P : R.Problems.Items())
        Lines.push_back(P.Line);
    // GDAL's own warning about the open ring comes once, from opening the file.
    EXPECT_EQ(Lines, (std::vector<int>{0, 2, 4})) << R.Describe();
    ASSERT_EQ(Layer->ObjectCount(), 3);
    EXPECT_EQ(Layer->Objects(1)->Row().Text(0), "3"); // its row, without geometry
    EXPECT_FALSE(Layer->Objects(1)->HasPoints());
    // FlatGeobuf would drop that row without a word: the save says so.
    const TFileResult Fgb = Gdal->SaveFile(Layer, Dir.Path("rows.fgb"));
    EXPECT_NE(Fgb.Describe().find("index 1 has no geometry"), std::string::npos) << Fgb.Describe();

    // A Shapefile cut short: the features before the cut load.
    const std::string Whole = ReadFile(Inputs->Path("countries.shp"));
    for (const char* Ext : {".shx", ".dbf", ".prj"})
        std::filesystem::copy_file(Inputs->Path(std::string("countries") + Ext),
                                   Dir.Path(std::string("cut") + Ext));
    WriteFile(Dir.Path("cut.shp"), Whole.substr(0, Whole.size() / 3));
    R = Load(Dir.Path("cut.shp"));
    ASSERT_TRUE(R.Ok) << R.Describe();
    EXPECT_GT(Layer->ObjectCount(), 10);
    EXPECT_LT(Layer->ObjectCount(), 177);
    ASSERT_FALSE(R.Problems.Empty());
    EXPECT_GT(R.Problems.Items().front().Line, Layer->ObjectCount() / 2) << R.Describe();

    for (const char* Broken : {"empty.geojson", "empty.shp"}) {
        WriteFile(Dir.Path(Broken), "");
        R = Load(Dir.Path(Broken));
        EXPECT_FALSE(R.Ok) << Broken;
        EXPECT_FALSE(R.Message.empty()) << Broken;
    }
}

// Rings are grouped by containment: a hole in its outer ring, an island in
// the hole a polygon of its own. A Shapefile takes one kind of geometry.
TEST_F(VectorProviderTest, WritesHolesAndIslandsAndRefusesAMixedShapefile) {
    Layer->Fields().Add("name", dtString, 10);
    auto* Region = AddShape<TRegion>(
        Layer, {Box(0, 0, 10, 10), Box(2, 2, 8, 8), Box(4, 4, 6, 6), Box(20, 0, 21, 1)});
    Region->Row().SetValue(0, TVariant("holed"));
    const std::string Gpkg = Dir.Path("holes.gpkg");
    const TFileResult R = Gdal->SaveFile(Layer, Gpkg);
    ASSERT_TRUE(R.Ok) << R.Describe();
    const std::string Info = RunCommand(std::string(OGRINFO) + " -ro -q -al '" + Gpkg + "'");
    EXPECT_NE(Info.find("MULTIPOLYGON (((0 0,10 0,10 10,0 10,0 0),(2 2,8 2,8 8,2 8,2 2)),"
                        "((4 4,6 4,6 6,4 6,4 4)),((20 0,21 0,21 1,20 1,20 0)))"),
              std::string::npos)
        << Info;

    Layer->NewObject<TSymbol>()->SetPoint(1, 1);
    const TFileResult Mixed = Gdal->SaveFile(Layer, Dir.Path("mixed.shp"));
    EXPECT_FALSE(Mixed.Ok);
    EXPECT_NE(Mixed.Message.find("regions 1"), std::string::npos) << Mixed.Message;
    EXPECT_NE(Mixed.Message.find("symbols 1"), std::string::npos) << Mixed.Message;
    EXPECT_FALSE(std::filesystem::exists(Dir.Path("mixed.shp")));

    // Saving over a file replaces it whole, through a sibling that leaves no
    // trace; when the sibling cannot be made, the old file stays as it was.
    ASSERT_TRUE(Gdal->SaveFile(Layer, Gpkg).Ok);
    const auto Count = [&] {
        return RunCommand(std::string(OGRINFO) + " -ro -so -al '" + Gpkg + "'").find("Count: 2");
    };
    EXPECT_NE(Count(), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Dir.Path("holes-chartix-part.gpkg")));
    std::filesystem::create_directories(Dir.Path("holes-chartix-part.gpkg/busy"));
    Layer->NewObject<TSymbol>()->SetPoint(2, 2);
    EXPECT_FALSE(Gdal->SaveFile(Layer, Gpkg).Ok);
    EXPECT_NE(Count(), std::string::npos);
}

} // namespace
