// Raster backgrounds that know where they lie: a GeoTIFF made by
// gdal_translate, a PNG with a world file, and one warped from Web Mercator
// onto a map in degrees. The image is 20 x 10 pixels over 10..12 E, 49..50 N:
// red in the west, green in the north-east, blue in the south-east.

#include "core/CoordinateSystems.h"
#include "core/MapObjects.h"
#include "objects/Shapes.h"
#include "platform/Controls.h"
#include "platform/SysUtils.h"
#include "support/GdalTools.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>

using namespace Mapobjects;
using namespace Testing;

namespace {

struct GeoRasters : ::testing::Test {
    TTempDir Dir;
    Platform::TWinControl Form{nullptr};
    TChartix Map{nullptr};
    std::string Png = Dir.Path("image.png");

    void SetUp() override {
        Map.SetParent(&Form);
        // The map draws its backgrounds only under layers.
        Map.Layers().Add("", "empty");
        QImage Image(20, 10, QImage::Format_RGB32);
        for (int Y = 0; Y < 10; ++Y)
            for (int X = 0; X < 20; ++X)
                Image.setPixel(X, Y,
                               X < 10  ? qRgb(255, 0, 0)
                               : Y < 5 ? qRgb(0, 255, 0)
                                       : qRgb(0, 0, 255));
        ASSERT_TRUE(Image.save(QString::fromStdString(Png)));
    }

    std::string Translate(const std::string& Name, const std::string& Options) {
        const std::string Out = Dir.Path(Name);
        bool Ok;
        const std::string Said = RunCommand(std::string(GDAL_TRANSLATE) + " -q -of GTiff " +
                                                Options + " '" + Png + "' '" + Out + "'",
                                            &Ok);
        EXPECT_TRUE(Ok) << Said;
        return Out;
    }

    // The substrate covers 10..12 x 49..50 (within Tolerance degrees) and
    // shows its colours there, north up: the view is 100 pixels a degree.
    void ExpectPlaced(const TSubstrate& S, double Tolerance) {
        TRectangle& Box = *S.Placement();
        EXPECT_NEAR(Box.X0(), 10, Tolerance);
        EXPECT_NEAR(Box.X1(), 12, Tolerance);
        EXPECT_NEAR(Box.Y0(), 49, Tolerance);
        EXPECT_NEAR(Box.Y1(), 50, Tolerance);
        Map.SetBounds(0, 0, 400, 200);
        Map.SetMinX(10);
        Map.SetMaxX(14);
        Map.SetMinY(48);
        Map.SetMaxY(50);
        Map.SetCenterX(11);
        Map.SetCenterY(49.5);
        Map.PaintMapToBitmap();
        Map.MapBitmap()->Canvas()->Flush();
        struct {
            double X, Y;
            Platform::TColor Colour;
        } const Spots[] = {{10.3, 49.5, Platform::clRed},
                           {11.5, 49.8, Platform::clLime},
                           {11.5, 49.2, Platform::clBlue}};
        for (const auto& Spot : Spots) {
            int PX, PY;
            Map.MapToScreen(Spot.X, Spot.Y, PX, PY, false);
            EXPECT_EQ(Map.MapBitmap()->Canvas()->Pixel(PX, PY), Spot.Colour)
                << Spot.X << " " << Spot.Y;
        }
    }
};

} // namespace

TEST_F(GeoRasters, GeoTiffGivesAMapWithoutSystemItsOwn) {
    const std::string Tif = Translate("geo.tif", "-a_ullr 10 50 12 49 -a_srs EPSG:4326");
    TSubstrate* S = Map.Substrates().LoadGeoreferenced(Tif);
    ASSERT_TRUE(S && S->Bitmap());
    EXPECT_EQ(S->Bitmap()->Width(), 20);
    EXPECT_TRUE(CoordinateSystems()->Same(Map.CoordSys(), "EPSG:4326")) << Map.CoordSys();
    ExpectPlaced(*S, 1e-9);
}

TEST_F(GeoRasters, WorldFileBesidePngPlacesIt) {
    // The world file gives the centre of the top-left pixel.
    WriteFile(Dir.Path("image.pgw"), "0.1\n0\n0\n-0.1\n10.05\n49.95\n");
    TSubstrate* S = Map.Substrates().LoadGeoreferenced(Png);
    ASSERT_TRUE(S);
    EXPECT_EQ(S->CoordSys(), "");
    EXPECT_EQ(Map.CoordSys(), "");
    ExpectPlaced(*S, 1e-9);
}

TEST_F(GeoRasters, MercatorImageIsWarpedOntoDegrees) {
    // 10..12 E, 49..50 N in Web Mercator metres.
    const std::string Tif = Translate("merc.tif", "-a_ullr 1113194.90793274 6446275.84101716 "
                                                  "1335833.88951928 6274861.39400658 "
                                                  "-a_srs EPSG:3857");
    Map.SetCoordSys("EPSG:4326");
    TSubstrate* S = Map.Substrates().LoadGeoreferenced(Tif);
    ASSERT_TRUE(S);
    EXPECT_TRUE(CoordinateSystems()->Same(S->CoordSys(), "EPSG:4326")) << S->CoordSys();
    // The warp's grid may reach up to half a pixel (0.05 degrees) past the image.
    ExpectPlaced(*S, 0.06);
}

TEST_F(GeoRasters, UnplacedOrMissingImagesAreRefused) {
    try {
        Map.Substrates().LoadGeoreferenced(Png);
        ADD_FAILURE() << "a PNG without a world file was placed";
    } catch (const Platform::EInvalidGraphic& E) {
        EXPECT_NE(E.Message().find("carries no georeferencing"), std::string::npos) << E.Message();
    }
    EXPECT_THROW(Map.Substrates().LoadGeoreferenced(Dir.Path("none.tif")), Platform::EFOpenError);
    EXPECT_EQ(Map.Substrates().Count(), 0);
}
