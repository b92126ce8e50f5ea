#include "support/MapFixture.h"

#include "objects/Polys.h"
#include "platform/SysUtils.h"

#include <cmath>

using namespace Mapobjects;
using Testing::MapFixture;

using ViewTransform = MapFixture;

TEST_F(ViewTransform, ConstructorDefaults) {
    TChartix M(nullptr);
    EXPECT_EQ(M.Width(), 100);
    EXPECT_EQ(M.Height(), 100);
    EXPECT_EQ(M.MinX(), -180);
    EXPECT_EQ(M.MaxX(), 180);
    EXPECT_EQ(M.MinY(), -90);
    EXPECT_EQ(M.MaxY(), 90);
    EXPECT_EQ(M.Zoom(), 1.0);
    EXPECT_EQ(M.MaxZoom(), 100);
    EXPECT_EQ(M.MinZoom(), 0.01);
    EXPECT_TRUE(M.UseGeneralization());
    EXPECT_EQ(M.GeneralizationLevel(), 1);
    EXPECT_TRUE(M.FastSelection());
    EXPECT_TRUE(M.ShowSelection());
    EXPECT_TRUE(M.WheelMouse());
    EXPECT_EQ(M.ZoomType(), wmCenter);
    EXPECT_FALSE(M.isMapRotated());
    EXPECT_EQ(M.Color(), Platform::clWindow);
    EXPECT_EQ(&M.Layers(), &M.Layers());
    EXPECT_EQ(M.Layers().Map(), &M);
    EXPECT_EQ(M.Selection().Map(), &M);
    EXPECT_EQ(M.Substrates().Map(), &M);
}

TEST_F(ViewTransform, SelectionPatternIsBlueWithDefaultColourOnOddPixels) {
    Platform::TBitmap* P = Map.SelectionPattern();
    ASSERT_EQ(P->Width(), 8);
    ASSERT_EQ(P->Height(), 8);
    EXPECT_TRUE(P->Transparent());
    EXPECT_EQ(P->TransparentMode(), Platform::tmAuto);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) {
            Platform::TColor Expected = (X % 2 && Y % 2) ? 0x000000 : Platform::clBlue;
            EXPECT_EQ(P->Canvas()->Pixel(X, Y), Expected) << X << "," << Y;
        }
}

TEST_F(ViewTransform, WorldCornersAndCentre) {
    int X, Y;
    Map.MapToScreen(0, 0, X, Y, false);
    EXPECT_EQ(X, 180);
    EXPECT_EQ(Y, 90);
    Map.MapToScreen(-180, 90, X, Y, false);
    EXPECT_EQ(X, 0);
    EXPECT_EQ(Y, 0);
    double MX, MY;
    Map.ScreenToMap(360, 180, MX, MY);
    EXPECT_DOUBLE_EQ(MX, 180);
    EXPECT_DOUBLE_EQ(MY, -90);
}

TEST_F(ViewTransform, ZoomHalvesDistancePerPixelAndCentreStaysFixed) {
    Map.SetCenterX(12.5);
    Map.SetCenterY(-3);
    double AX, AY, BX, BY;
    Map.ScreenToMap(0, 0, AX, AY);
    Map.ScreenToMap(1, 0, BX, BY);
    double Before = BX - AX;
    Map.SetZoom(2);
    Map.ScreenToMap(0, 0, AX, AY);
    Map.ScreenToMap(1, 0, BX, BY);
    EXPECT_DOUBLE_EQ(BX - AX, Before / 2);
    double CX, CY;
    Map.ScreenToMap(180, 90, CX, CY);
    EXPECT_DOUBLE_EQ(CX, 12.5);
    EXPECT_DOUBLE_EQ(CY, -3);
}

TEST_F(ViewTransform, OddWidthGivesHalfPixelCentre) {
    Resize(361, 181);
    double MX, MY;
    Map.ScreenToMap(180, 90, MX, MY);
    // The centre lies half a pixel to the right of and below pixel (180, 90).
    double K = 361 / 360.0;
    EXPECT_DOUBLE_EQ(MX, -0.5 / K);
    EXPECT_DOUBLE_EQ(MY, 0.5 / K);
}

TEST_F(ViewTransform, ClippedConversionMarksPointsOutsideTheView) {
    int X, Y;
    Map.MapToScreen(-200, 0, X, Y, true);
    EXPECT_EQ(X, -1);
    Map.MapToScreen(200, 0, X, Y, true);
    EXPECT_EQ(X, 360);
    Map.MapToScreen(0, 100, X, Y, true);
    EXPECT_EQ(Y, -1);
    Map.MapToScreen(0, -100, X, Y, true);
    EXPECT_EQ(Y, 180);
    Map.MapToScreen(180, -90, X, Y, true); // on the edge: converted normally
    EXPECT_EQ(X, 360);
    EXPECT_EQ(Y, 180);
    Map.MapToScreen(-180, 90, X, Y, true);
    EXPECT_EQ(X, 0);
    EXPECT_EQ(Y, 0);
}

TEST_F(ViewTransform, RoundsHalvesToEven) {
    // With 360 px for 360 units one unit is one pixel: x = 180 + MX.
    int X, Y;
    Map.MapToScreen(0.5, 0, X, Y, false);
    EXPECT_EQ(X, 180); // 180.5 -> 180
    Map.MapToScreen(1.5, 0, X, Y, false);
    EXPECT_EQ(X, 182); // 181.5 -> 182
}

TEST_F(ViewTransform, OverflowNeverPropagates) {
    Map.SetZoom(1e12);
    int X = 5, Y = 5;
    Map.MapToScreen(170, -80, X, Y, true); // outside: pinned markers
    EXPECT_EQ(X, 360);
    EXPECT_EQ(Y, 180);
    Map.MapToScreen(170, -80, X, Y, false); // unclipped: pinned, not wrapped
    EXPECT_GT(X, 1000000000);
    EXPECT_GT(Y, 1000000000);
}

TEST_F(ViewTransform, DegenerateExtentRaisesFloatingPointError) {
    Map.SetMaxX(-180);
    double MX, MY;
    EXPECT_THROW(Map.ScreenToMap(0, 0, MX, MY), Platform::EZeroDivide);
    EXPECT_THROW(Map.GetViewBounds(), Platform::EZeroDivide);
    int X, Y;
    EXPECT_THROW(Map.MapToScreen(0, 0, X, Y, true), Platform::EZeroDivide);
    Map.SetMaxX(180);
    Map.SetMinY(90);
    EXPECT_THROW(Map.ScreenToMap(0, 0, MX, MY), Platform::EZeroDivide);
}

TEST_F(ViewTransform, ViewBoundsFollowZoomAndCentre) {
    Map.SetZoom(4);
    Map.SetCenterX(10);
    Map.SetCenterY(20);
    TBounds B = Map.GetViewBounds();
    EXPECT_DOUBLE_EQ(B.MinX, 10 - 45);
    EXPECT_DOUBLE_EQ(B.MaxX, 10 + 45);
    EXPECT_DOUBLE_EQ(B.MinY, 20 - 22.5);
    EXPECT_DOUBLE_EQ(B.MaxY, 20 + 22.5);
}

TEST_F(ViewTransform, NegativeZoomMirrorsThroughTheCentre) {
    Map.SetZoom(-1);
    int X, Y;
    Map.MapToScreen(-180, 90, X, Y, false);
    EXPECT_EQ(X, 360);
    EXPECT_EQ(Y, 180);
}

TEST_F(ViewTransform, SetZoomIgnoresZeroAndUnchangedValue) {
    int Zooms = 0;
    Map.OnZoom = [&](Platform::TObject* Sender) {
        EXPECT_EQ(Sender, &Map);
        ++Zooms;
    };
    Platform::Application()->ProcessMessages();
    int Paints = Map.PaintCount();
    Map.SetZoom(1);
    Map.SetZoom(0);
    Platform::Application()->ProcessMessages();
    EXPECT_EQ(Zooms, 0);
    EXPECT_EQ(Map.PaintCount(), Paints);
    Map.SetZoom(3);
    EXPECT_EQ(Zooms, 1);
    EXPECT_TRUE(Map.Modified());
    Platform::Application()->ProcessMessages();
    EXPECT_EQ(Map.PaintCount(), Paints + 1);
}

TEST_F(ViewTransform, ZoomLimitsOnlyStore) {
    Map.SetZoom(50);
    Map.SetMaxZoom(10);
    Map.SetMinZoom(20);
    EXPECT_EQ(Map.Zoom(), 50);
}

TEST_F(ViewTransform, ResizeMarksBitmapStale) {
    Map.SetModified(false);
    Resize(200, 100);
    EXPECT_TRUE(Map.Modified());
    double MX, MY;
    Map.ScreenToMap(200, 100, MX, MY); // client size is read afresh
    EXPECT_DOUBLE_EQ(MX, 180);
}

// --- rotation of the data --------------------------------------------------------

namespace {
TPolyline* AddLine(TChartix& Map, std::initializer_list<std::pair<double, double>> Points) {
    TMapLayer* L = Map.Layers().Count() ? Map.Layers().Get(0) : Map.Layers().Add("", "L");
    auto* Line = L->NewObject<TPolyline>();
    TPart* Part = Line->Parts().Add();
    for (auto [X, Y] : Points) Part->Points().Add(X, Y);
    return Line;
}
} // namespace

TEST_F(ViewTransform, RotateAndBackRestoresPoints) {
    TPolyline* Line = AddLine(Map, {{10, 0}, {0, 10}, {-5, -7}});
    Map.RotateMap(0, 0, 30);
    EXPECT_TRUE(Map.isMapRotated());
    const TMapPoint& P = Line->Parts().Items(0)->Points().GetPoint(0);
    // Positive angles turn the data clockwise on screen.
    EXPECT_NEAR(P.X, 10 * std::cos(M_PI / 6), 1e-9);
    EXPECT_NEAR(P.Y, -10 * std::sin(M_PI / 6), 1e-9);
    Map.RotateMap(0, 0, 0);
    EXPECT_FALSE(Map.isMapRotated());
    const TMapPoints& Pts = Line->Parts().Items(0)->Points();
    EXPECT_NEAR(Pts.GetPoint(0).X, 10, 1e-9);
    EXPECT_NEAR(Pts.GetPoint(0).Y, 0, 1e-9);
    EXPECT_NEAR(Pts.GetPoint(2).X, -5, 1e-9);
    EXPECT_NEAR(Pts.GetPoint(2).Y, -7, 1e-9);
}

TEST_F(ViewTransform, SameRotationTwiceRotatesOnce) {
    TPolyline* Line = AddLine(Map, {{10, 0}});
    Map.RotateMap(1, 2, 90);
    TMapPoint Once = Line->Parts().Items(0)->Points().GetPoint(0);
    Map.RotateMap(1, 2, 90);
    TMapPoint Twice = Line->Parts().Items(0)->Points().GetPoint(0);
    EXPECT_DOUBLE_EQ(Once.X, Twice.X);
    EXPECT_DOUBLE_EQ(Once.Y, Twice.Y);
}

TEST_F(ViewTransform, NewAngleAppliesToUnrotatedData) {
    TPolyline* Line = AddLine(Map, {{10, 0}});
    Map.RotateMap(1, 1, 30);
    Map.RotateMap(1, 1, 45);
    const TMapPoint& P = Line->Parts().Items(0)->Points().GetPoint(0);
    double A = -45 * M_PI / 180;
    EXPECT_NEAR(P.X, 9 * std::cos(A) - (-1) * std::sin(A) + 1, 1e-9);
    EXPECT_NEAR(P.Y, 9 * std::sin(A) + (-1) * std::cos(A) + 1, 1e-9);
    double NX, NY;
    Map.RotatedToNormal(P.X, P.Y, NX, NY);
    EXPECT_NEAR(NX, 10, 1e-9);
    EXPECT_NEAR(NY, 0, 1e-9);
}

TEST_F(ViewTransform, RotationWidensPointBoundsButNotObjectBounds) {
    TPolyline* Line = AddLine(Map, {{10, 0}});
    TBounds Before = Line->GetBounds();
    Map.RotateMap(0, 0, 90);
    const TMapPoints& Pts = Line->Parts().Items(0)->Points();
    EXPECT_NEAR(Pts.MinY, -10, 1e-9); // the point list's bounds follow the point
    EXPECT_DOUBLE_EQ(Line->GetBounds().MinY, Before.MinY); // the object's extent is not recomputed
}

TEST_F(ViewTransform, UnRotateOfUnrotatedMapChangesNothing) {
    TPolyline* Line = AddLine(Map, {{3, 4}});
    EXPECT_FALSE(Map.UnRotate());
    EXPECT_EQ(Line->Parts().Items(0)->Points().GetPoint(0).X, 3);
    double RX, RY;
    Map.NormalToRotated(3, 4, RX, RY);
    EXPECT_EQ(RX, 3);
    EXPECT_EQ(RY, 4);
}
