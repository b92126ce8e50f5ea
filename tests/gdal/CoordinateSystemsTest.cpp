// Coordinate systems through the GDAL module, and layers of different
// systems meeting on one map. The inputs are made from the committed
// countries sample by ogr2ogr at test time; its own reprojection is the
// reference the library's is held to.

#include "core/CoordinateSystems.h"
#include "core/GdalModule.h"
#include "core/MapObjects.h"
#include "formats/StandardProviders.h"
#include "platform/Controls.h"
#include "support/GdalTools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Mapobjects;
using namespace Testing;

namespace {

// Central European countries, all within a few degrees of UTM zone 33's meridian.
const char* const Europe = "name IN ('Germany','Italy','Poland','Austria','Czechia','Hungary',"
                           "'Switzerland','Slovakia','Slovenia','Croatia','Denmark')";

const TCoordinateSystems& Systems() {
    const TCoordinateSystems* S = CoordinateSystems();
    if (!S) {
        // Nothing here means anything without the module: stop, saying why.
        std::fprintf(stderr, "%s\n", GdalModuleProblem().c_str());
        std::abort();
    }
    return *S;
}

// The European countries of the sample as a MIF in the system Srs.
std::string MakeMif(const TTempDir& Dir, const std::string& Name, const std::string& Srs) {
    const std::string File = Dir.Path(Name);
    bool Ok;
    const std::string Out = RunCommand(
        std::string(OGR2OGR) + " -f 'MapInfo File' -s_srs EPSG:4326 -t_srs " + Srs + " -where \"" +
            Europe + "\" '" + File + "' '" + CHARTIX_SOURCE_DIR + "/samples/countries.mif'",
        &Ok);
    EXPECT_TRUE(Ok) << Out;
    return File;
}

struct Maps : ::testing::Test {
    TTempDir Dir;
    Platform::TWinControl Form{nullptr};
    static void SetUpTestSuite() { RegisterStandardProviders(); }
    std::unique_ptr<TChartix> NewMap() {
        auto Map = std::make_unique<TChartix>(nullptr);
        Map->SetParent(&Form);
        Map->SetBounds(0, 0, 1920, 1080);
        Map->Options().SetReprojectLayers(true);
        return Map;
    }
    static TMapLayer* Load(TChartix& Map, const std::string& File) {
        TFileResult R;
        TMapLayer* L = Map.Layers().Add(File, "", R);
        EXPECT_TRUE(R.Ok) << R.Describe();
        return L;
    }
};

// The largest difference of any coordinate of two layers of the same objects.
double Farthest(const TMapLayer& A, const TMapLayer& B) {
    EXPECT_EQ(A.ObjectCount(), B.ObjectCount());
    double D = 0;
    for (int I = 0; I < std::min(A.ObjectCount(), B.ObjectCount()); ++I) {
        const TParts &PA = A.Objects(I)->Parts(), &PB = B.Objects(I)->Parts();
        EXPECT_EQ(PA.PointCount(), PB.PointCount()) << "object " << I;
        for (int P = 0; P < std::min(PA.Count(), PB.Count()); ++P) {
            const TMapPoints &QA = PA.Items(P)->Points(), &QB = PB.Items(P)->Points();
            for (int K = 0; K < std::min(QA.Count(), QB.Count()); ++K)
                D = std::max({D, std::abs(QA.GetPoint(K).X - QB.GetPoint(K).X),
                              std::abs(QA.GetPoint(K).Y - QB.GetPoint(K).Y)});
        }
    }
    return D;
}

} // namespace

TEST(CoordinateSystems, FormsOfOneSystemAreTheSame) {
    const TCoordinateSystems& S = Systems();
    const std::vector<std::string> LonLat = {
        "CoordSys Earth Projection 1, 104",
        "CoordSys Earth Projection 1, 104 Bounds (-180, -90) (180, 90)", "EPSG:4326",
        R"(GEOGCS["WGS 84",DATUM["WGS_1984",SPHEROID["WGS 84",6378137,298.257223563]],)"
        R"(PRIMEM["Greenwich",0],UNIT["degree",0.0174532925199433]])",
        "+proj=longlat +datum=WGS84 +no_defs"};
    for (const std::string& A : LonLat) {
        EXPECT_FALSE(S.ToWkt(A).empty()) << A;
        EXPECT_FALSE(S.Same(A, "EPSG:32633")) << A;
        for (const std::string& B : LonLat)
            EXPECT_TRUE(S.Same(A, B)) << A << " / " << B;
    }
    // A MapInfo clause names nothing: the registered system it matches does.
    EXPECT_EQ(S.DisplayName("CoordSys Earth Projection 8, 104, \"m\", 15, 0, 0.9996, 500000, 0"),
              "WGS 84 / UTM zone 33N");
}

TEST(CoordinateSystems, MapInfoClausesComeAndGo) {
    const TCoordinateSystems& S = Systems();
    for (const char* Srs : {"EPSG:32633", "EPSG:3857", "EPSG:4326"}) {
        const std::string Clause = S.ToMapInfo(Srs);
        EXPECT_EQ(Clause.rfind("CoordSys Earth Projection ", 0), 0u) << Clause;
        EXPECT_TRUE(S.Same(Clause, Srs)) << Srs << " came back as " << Clause;
    }
    // No place on the earth, or no system at all: not understood, so not joined.
    for (const char* Odd : {"CoordSys NonEarth Units \"m\" Bounds (0, 0) (100, 100)",
                            "NonEarth Units \"m\"", "EPSG:0", "not a system", ""}) {
        EXPECT_TRUE(S.ToWkt(Odd).empty()) << Odd;
        EXPECT_TRUE(S.ToMapInfo(Odd).empty()) << Odd;
        std::string Error;
        EXPECT_EQ(S.Transform(Odd, "EPSG:4326", Error), nullptr) << Odd;
        EXPECT_FALSE(Error.empty()) << Odd;
    }
    std::string Error;
    S.Transform("not a system", "EPSG:4326", Error);
    EXPECT_NE(Error.find("'not a system' is not understood"), std::string::npos) << Error;
}

TEST(CoordinateSystems, TransformsLongitudeFirst) {
    // Web Mercator's numbers for these points, as gdaltransform gives them.
    struct {
        double Lon, Lat, X, Y;
    } const Known[] = {{0, 0, 0, 0},
                       {10, 50, 1113194.90793274, 6446275.84101716},
                       {-74.006, 40.7128, -8238310.235647, 4970071.57914243},
                       {12, 49, 1335833.88951928, 6274861.39400658}};
    std::string Error;
    auto There = Systems().Transform("EPSG:4326", "EPSG:3857", Error);
    auto Back =
        Systems().Transform("CoordSys Earth Projection 10, 157, \"m\", 0", "EPSG:4326", Error);
    ASSERT_TRUE(There && Back) << Error;
    for (const auto& K : Known) {
        double X = K.Lon, Y = K.Lat;
        ASSERT_TRUE(There->Transform(&X, &Y, 1));
        EXPECT_NEAR(X, K.X, 1e-3);
        EXPECT_NEAR(Y, K.Y, 1e-3);
        ASSERT_TRUE(Back->Transform(&X, &Y, 1));
        EXPECT_NEAR(X, K.Lon, 1e-9);
        EXPECT_NEAR(Y, K.Lat, 1e-9);
    }
    // A point with no place in the target keeps its numbers, and says so.
    double X[] = {10, 0}, Y[] = {50, 95};
    EXPECT_FALSE(There->Transform(X, Y, 2));
    EXPECT_NEAR(X[0], 1113194.908, 1e-3);
    EXPECT_EQ(Y[1], 95);
}

// Whichever comes first gives the map its system; the other is brought into
// it, vertex for vertex within a pixel of the same country in the first.
TEST_F(Maps, LayersOfTwoSystemsAlign) {
    const std::string LonLat = MakeMif(Dir, "ll.mif", "EPSG:4326");
    const std::string Utm = MakeMif(Dir, "utm.mif", "EPSG:32633");
    for (const auto& [First, Second] : {std::pair{LonLat, Utm}, std::pair{Utm, LonLat}}) {
        SCOPED_TRACE(First);
        auto Map = NewMap();
        TMapLayer* A = Load(*Map, First);
        TMapLayer* B = Load(*Map, Second);
        ASSERT_TRUE(A && B);
        ASSERT_EQ(A->ObjectCount(), 11);
        EXPECT_EQ(Map->CoordSys(), A->CoordSys());
        EXPECT_EQ(B->CoordSys(), Map->CoordSys());
        EXPECT_FALSE(Systems().Same(B->SourceCoordSys(), Map->CoordSys()));
        EXPECT_FALSE(B->Modified());
        Map->FitView();
        int Worst = 0;
        for (int I = 0; I < A->ObjectCount(); ++I) {
            const TParts &PA = A->Objects(I)->Parts(), &PB = B->Objects(I)->Parts();
            ASSERT_EQ(PA.PointCount(), PB.PointCount());
            for (int P = 0; P < PA.Count(); ++P)
                for (int K = 0; K < PA.Items(P)->Points().Count(); ++K) {
                    const TMapPoint &QA = PA.Items(P)->Points().GetPoint(K),
                                    &QB = PB.Items(P)->Points().GetPoint(K);
                    int AX, AY, BX, BY;
                    Map->MapToScreen(QA.X, QA.Y, AX, AY, false);
                    Map->MapToScreen(QB.X, QB.Y, BX, BY, false);
                    Worst = std::max({Worst, std::abs(AX - BX), std::abs(AY - BY)});
                }
        }
        EXPECT_LE(Worst, 1);
        // The reprojected layer's extent is its new one: a click finds it there.
        const TBounds Box = B->Objects(0)->GetBounds();
        EXPECT_NEAR(Box.MinX, A->Objects(0)->GetBounds().MinX, 0.01 * (Box.MaxX - Box.MinX));
    }
    // Without the option, the second layer keeps its file's numbers and system.
    auto Plain = NewMap();
    Plain->Options().SetReprojectLayers(false);
    Load(*Plain, LonLat);
    TMapLayer* Kept = Load(*Plain, Utm);
    ASSERT_TRUE(Kept);
    EXPECT_EQ(Kept->CoordSys(), Kept->SourceCoordSys());
    EXPECT_GT(Kept->Objects(0)->GetBounds().MaxX, 1000);
}

TEST_F(Maps, MapSystemPlacesLayersByItsNumbers) {
    const std::string Merc = MakeMif(Dir, "merc.mif", "EPSG:3857");
    auto Reference = NewMap();
    TMapLayer* Expected = Load(*Reference, Merc);
    auto Map = NewMap();
    Map->SetCoordSys("EPSG:3857");
    TMapLayer* Layer = Load(*Map, MakeMif(Dir, "ll.mif", "EPSG:4326"));
    ASSERT_TRUE(Expected && Layer);
    EXPECT_EQ(Layer->CoordSys(), "EPSG:3857");
    EXPECT_TRUE(Systems().Same(Layer->SourceCoordSys(), "EPSG:4326"));
    EXPECT_LT(Farthest(*Layer, *Expected), 1e-3);

    // Setting the map's system again moves the layers already there, and the view.
    Map->SetCenterX(1113194.908);
    Map->SetCenterY(6446275.841);
    Map->SetCoordSys("EPSG:4326");
    EXPECT_NEAR(Map->CenterX(), 10, 1e-6);
    EXPECT_NEAR(Map->CenterY(), 50, 1e-6);
    EXPECT_EQ(Layer->CoordSys(), "EPSG:4326");
    EXPECT_LT(Farthest(*Layer, *Load(*NewMap(), MakeMif(Dir, "ll2.mif", "EPSG:4326"))), 1e-9);
}

TEST_F(Maps, ReprojectedLayerSavesAsOgr2ogrWrites) {
    auto Map = NewMap();
    TMapLayer* Layer = Load(*Map, MakeMif(Dir, "ll.mif", "EPSG:4326"));
    ASSERT_TRUE(Layer);
    std::string Error;
    EXPECT_FALSE(Layer->Reproject("not a system", Error));
    EXPECT_NE(Error.find("not understood"), std::string::npos) << Error;
    ASSERT_TRUE(Layer->Reproject("EPSG:3857", Error)) << Error;
    EXPECT_TRUE(Layer->Modified());
    const std::string Saved = Dir.Path("saved.mif");
    ASSERT_TRUE(Layer->SaveToFile(Saved));
    // Read back on maps of their own, each takes its file's system as it is.
    auto BackMap = NewMap(), ExpectedMap = NewMap();
    TMapLayer* Back = Load(*BackMap, Saved);
    TMapLayer* Expected = Load(*ExpectedMap, MakeMif(Dir, "merc.mif", "EPSG:3857"));
    ASSERT_TRUE(Back && Expected);
    EXPECT_EQ(Back->CoordSys().rfind("CoordSys Earth Projection 10", 0), 0u) << Back->CoordSys();
    EXPECT_TRUE(Systems().Same(Back->CoordSys(), "EPSG:3857")) << Back->CoordSys();
    EXPECT_LT(Farthest(*Back, *Expected), 1e-3);
}
