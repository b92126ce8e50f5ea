// Map and screen coordinates: conversions, zoom, view bounds and the rotation of the data.
#include "platform/SysUtils.h"
#include "support/MapFixture.h"

#include <cmath>

using namespace Mapobjects;

namespace {

struct ViewTransform : Testing::MapFixture {
    // The pixel of a map point, -1 or the size for points outside the view when clipped.
    std::pair<int, int> Screen(double MX, double MY, bool Clip = false) {
        int X = 5, Y = 5;
        Map.MapToScreen(MX, MY, X, Y, Clip);
        return {X, Y};
    }
    std::pair<double, double> World(int X, int Y) {
        double MX, MY;
        Map.ScreenToMap(X, Y, MX, MY);
        return {MX, MY};
    }
    // A polyline through these points on the first layer; gives its first part.
    TMapPoints& Line(std::initializer_list<std::pair<double, double>> Points) {
        TMapLayer* L = Map.Layers().Count() ? Map.Layers().Get(0) : Map.Layers().Add("", "L");
        return Testing::AddShape<TPolyline>(L, {Points})->Parts().Items(0)->Points();
    }
};

} // namespace

// The selection pattern: blue, the default colour on odd pixels.
TEST_F(ViewTransform, SelectionPatternIsBlueWithTheDefaultColourOnOddPixels) {
    Platform::TBitmap* P = Map.SelectionPattern();
    ASSERT_EQ(P->Image().size(), QSize(8, 8));
    EXPECT_TRUE(P->Transparent());
    EXPECT_EQ(P->TransparentMode(), Platform::tmAuto);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            EXPECT_EQ(P->Canvas()->Pixel(X, Y), (X % 2 && Y % 2) ? 0x000000 : Platform::clBlue)
                << X << "," << Y;
}

TEST_F(ViewTransform, ConversionsRoundHalvesToEvenAndMarkPointsOutsideWhenClipped) {
    EXPECT_EQ(Screen(0, 0), std::pair(180, 90));
    EXPECT_EQ(Screen(-180, 90), std::pair(0, 0));
    EXPECT_EQ(World(360, 180), std::pair(180.0, -90.0));
    // One unit is one pixel: x = 180 + MX.
    EXPECT_EQ(Screen(0.5, 0).first, 180);
    EXPECT_EQ(Screen(1.5, 0).first, 182);
    EXPECT_EQ(Screen(-200, 0, true).first, -1);
    EXPECT_EQ(Screen(200, 0, true).first, 360);
    EXPECT_EQ(Screen(0, 100, true).second, -1);
    EXPECT_EQ(Screen(0, -100, true).second, 180);
    EXPECT_EQ(Screen(180, -90, true), std::pair(360, 180)); // on the edge: converted normally
    EXPECT_EQ(Screen(-180, 90, true), std::pair(0, 0));
    Map.SetZoom(-1); // mirrors through the centre
    EXPECT_EQ(Screen(-180, 90), std::pair(360, 180));
}

TEST_F(ViewTransform, ZoomHalvesDistancePerPixelAndCentreStaysFixed) {
    Map.SetCenterX(12.5);
    Map.SetCenterY(-3);
    const double Before = World(1, 0).first - World(0, 0).first;
    Map.SetZoom(2);
    EXPECT_DOUBLE_EQ(World(1, 0).first - World(0, 0).first, Before / 2);
    EXPECT_EQ(World(180, 90), std::pair(12.5, -3.0));
    Map.SetZoom(4);
    Map.SetCenterX(10);
    Map.SetCenterY(20);
    TBounds B = Map.GetViewBounds();
    EXPECT_EQ(std::tuple(B.MinX, B.MaxX, B.MinY, B.MaxY),
              std::tuple(10 - 45, 10 + 45, 20 - 22.5, 20 + 22.5));
}

TEST_F(ViewTransform, OddWidthGivesHalfPixelCentreAndResizesAreReadAfresh) {
    Resize(361, 181);
    // The centre lies half a pixel to the right of and below pixel (180, 90).
    const double K = 361 / 360.0;
    EXPECT_DOUBLE_EQ(World(180, 90).first, -0.5 / K);
    EXPECT_DOUBLE_EQ(World(180, 90).second, 0.5 / K);
    Map.SetModified(false);
    Resize(200, 100);
    EXPECT_TRUE(Map.Modified());
    EXPECT_DOUBLE_EQ(World(200, 100).first, 180);
}

TEST_F(ViewTransform, OverflowNeverPropagatesAndDegenerateExtentsRaise) {
    Map.SetZoom(1e12);
    EXPECT_EQ(Screen(170, -80, true), std::pair(360, 180)); // outside: pinned markers
    const auto [X, Y] = Screen(170, -80);                   // unclipped: pinned, not wrapped
    EXPECT_GT(X, 1000000000);
    EXPECT_GT(Y, 1000000000);

    Map.SetMaxX(-180);
    EXPECT_THROW(World(0, 0), Platform::EZeroDivide);
    EXPECT_THROW(Map.GetViewBounds(), Platform::EZeroDivide);
    EXPECT_THROW(Screen(0, 0, true), Platform::EZeroDivide);
    Map.SetMaxX(180);
    Map.SetMinY(90);
    EXPECT_THROW(World(0, 0), Platform::EZeroDivide);
}

// What a change of zoom tells is NotificationsTest.cpp's.
TEST_F(ViewTransform, SetZoomIgnoresZeroLimitsOnlyStore) {
    Platform::Application()->ProcessMessages();
    int Zooms = 0;
    Map.OnZoom = [&](Platform::TObject*) { ++Zooms; };
    Map.SetZoom(0);
    EXPECT_EQ(std::tuple(Map.Zoom(), Zooms, Map.PaintPending()), std::tuple(1.0, 0, false));
    Map.SetMaxZoom(10);
    Map.SetMinZoom(20);
    Map.SetZoom(50);
    EXPECT_EQ(std::tuple(Map.Zoom(), Zooms), std::tuple(50.0, 1));
}

// --- rotation of the data --------------------------------------------------------

TEST_F(ViewTransform, SameRotationTwiceRotatesOnceANewAngleStartsFromUnrotatedData) {
    TMapPoints& Pts = Line({{10, 0}});
    EXPECT_FALSE(Map.UnRotate()) << "nothing to undo";
    Map.RotateMap(1, 2, 90);
    EXPECT_TRUE(Map.isMapRotated());
    const TMapPoint Once = Pts.GetPoint(0);
    Map.RotateMap(1, 2, 90);
    EXPECT_EQ(std::pair(Pts.GetPoint(0).X, Pts.GetPoint(0).Y), std::pair(Once.X, Once.Y));

    Map.RotateMap(1, 1, 30);
    Map.RotateMap(1, 1, 45);
    const TMapPoint& P = Pts.GetPoint(0);
    const double A = -45 * M_PI / 180;
    EXPECT_NEAR(P.X, 9 * std::cos(A) - (-1) * std::sin(A) + 1, 1e-9);
    EXPECT_NEAR(P.Y, 9 * std::sin(A) + (-1) * std::cos(A) + 1, 1e-9); // clockwise on screen
    double NX, NY;
    Map.RotatedToNormal(P.X, P.Y, NX, NY);
    EXPECT_NEAR(NX, 10, 1e-9);
    EXPECT_NEAR(NY, 0, 1e-9);
}

// Objects keep their extents (and so the index its boxes) through rotation:
// six squares above the view, indexed, are turned into it and back.
TEST_F(ViewTransform, RotatedObjectsAreDrawnAndHitAtTheirNewPlace) {
    TMapLayer* L = Map.Layers().Add("", "L");
    for (double X : {-100, -60, -20, 20, 60, 100}) {
        TRegion* R = Testing::AddSquare(L, X, 100, 10);
        Testing::SetStyles(R, Platform::clRed, 1, Platform::psSolid, Platform::clRed,
                           Platform::bsSolid);
    }
    L->SetUseIndex2D(true);
    TCustomMapObject* Third = L->Objects(2); // -20..-10 x 100..110
    Map.RotateMap(0, 0, -90);                // (X, Y) -> (-Y, X)
    const TBounds B = Third->GetBounds();
    for (auto [Got, Want] : {std::pair{B.MinX, -110}, {B.MinY, -20}, {B.MaxX, -100}, {B.MaxY, -10}})
        EXPECT_NEAR(Got, Want, 1e-9);
    Platform::Application()->ProcessMessages();
    EXPECT_EQ(Testing::SurfacePixel(Map, 180 - 105, 90 + 15), Platform::clRed);
    Map.SelectObjectAt(-105, -15, true);
    ASSERT_EQ(Map.Selection().Count(), 1);
    EXPECT_EQ(Map.Selection().Get(0), Third);

    Map.RotateMap(0, 0, 0);
    EXPECT_FALSE(Map.isMapRotated());
    const TBounds Back = Third->GetBounds();
    EXPECT_NEAR(Back.MinX, -20, 1e-9);
    EXPECT_NEAR(Back.MaxY, 110, 1e-9);
    TCardinalArray Ids;
    ASSERT_TRUE(L->GetAllIdsInRect(Bounds2CellBounds(TBounds{-16, 104, -14, 106}), Ids));
    EXPECT_EQ(Ids.Count(), 1);
    EXPECT_EQ(Ids[0], 2u);
}

TEST_F(ViewTransform, FitViewShowsAllTheDataWithItsMargin) {
    Resize(200, 100);
    Map.SetMinX(-180);
    Map.SetMaxX(180);
    struct TCase {
        std::initializer_list<std::pair<double, double>> Points;
        double CX, CY, Zoom; // Zoom 0: left as it was
    };
    const TCase Cases[] = {
        {{{0, 0}, {36, 10}}, 18, 5, 10 / 1.03},  // the width decides
        {{{0, 0}, {10, 36}}, 5, 18, 5 / 1.03},   // the height decides
        {{{-50, 7}, {50, 7}}, 0, 7, 3.6 / 1.03}, // no height
        {{{7, 8}, {7, 8}}, 7, 8, 0},             // one point: centred only
    };
    for (const TCase& C : Cases) {
        Map.Layers().Clear();
        Map.SetZoom(1.5);
        Line(C.Points);
        Map.FitView();
        EXPECT_DOUBLE_EQ(Map.CenterX(), C.CX);
        EXPECT_DOUBLE_EQ(Map.CenterY(), C.CY);
        EXPECT_DOUBLE_EQ(Map.Zoom(), C.Zoom ? C.Zoom : 1.5);
        for (auto [X, Y] : C.Points) {
            auto [SX, SY] = Screen(X, Y);
            EXPECT_TRUE(SX >= 0 && SX <= 200 && SY >= 0 && SY <= 100) << X << "," << Y;
        }
    }
    Map.Layers().Clear();
    Map.Layers().Add("", "empty");
    Map.SetCenterX(3);
    Map.FitView();
    EXPECT_EQ(Map.CenterX(), 3) << "no data, no change";
}
