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
    EXPECT_EQ(Screen(-0.5, 0).first, 180);
    EXPECT_EQ(Screen(-1.5, 0).first, 178);
    EXPECT_EQ(Screen(1e300, -1e300), std::pair(1073741823, 1073741823)); // pinned, not wrapped
    EXPECT_EQ(Screen(std::nan(""), 0).first, 0);
    Map.SetZoom(-1); // mirrors through the centre
    EXPECT_EQ(Screen(-180, 90), std::pair(360, 180));
    Map.SetMaxY(Map.MinY()); // a degenerate world, after a scale was worked out
    EXPECT_THROW(Screen(0, 0), Platform::EZeroDivide);
}

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
    Map.RotateMap(1, 1, 0); // back to the data as it was
    EXPECT_FALSE(Map.isMapRotated());
    EXPECT_NEAR(Pts.GetPoint(0).X, 10, 1e-9);
    EXPECT_NEAR(Pts.GetPoint(0).Y, 0, 1e-9);
}

TEST_F(ViewTransform, FitViewShowsAllTheDataWithItsMargin) {
    Map.SetBounds(0, 0, 200, 100);
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
