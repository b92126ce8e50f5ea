// Zoom tools: the arithmetic of clicks and rectangles, the centring, the
// repaint bracket, and a rubber band that leaves no trace.
#include "tools/ToolFixture.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>

using namespace Mapobjects;
using namespace Platform;
using Testing::Difference;

namespace {

struct ZoomTools : Testing::ToolFixture {};

enum TKind { ZoomIn, ZoomOut };

struct TGesture {
    const char* Name;
    TKind Kind;
    double Zoom, MinZoom, MaxZoom;
    std::vector<TPoint> Path; // press, moves, release
    double NewZoom, CenterX, CenterY;
};

// The 200 x 100 view of -100..100: Zoom pixels per map unit, the centre at
// pixel (100, 50); a new centre's pixel is cut toward zero. Zooming in, a
// click doubles and a drag of no width or no height acts as a click; a
// rectangle is fitted to the view and MaxZoom left alone. Zooming out, a
// click halves and a drag divides by the larger of its sides' counts (an
// up-only drag counts 0, halving).
const TGesture Gestures[] = {
    {"in: click, MaxZoom", ZoomIn, 3, 0.01, 4, {{130, 20}}, 4, 10, 10},
    {"in: vertical drag", ZoomIn, 1, 0.01, 100, {{40, 50}, {40, 45}, {40, 43}}, 2, -60, 3},
    {"in: horizontal drag", ZoomIn, 1, 0.01, 100, {{40, 50}, {47, 50}}, 2, -57, 0},
    {"in: fitted by the width", ZoomIn, 1, 0.01, 2, {{20, 20}, {60, 25}, {70, 30}}, 4, -55, 25},
    {"in: dragged backwards", ZoomIn, 1, 0.01, 2, {{70, 30}, {20, 20}}, 4, -55, 25},
    {"in: fitted by the height", ZoomIn, 1, 0.01, 100, {{0, 0}, {100, 80}}, 1.25, -50, 10},
    {"out: click", ZoomOut, 4, 0.01, 100, {{130, 20}}, 2, 7.5, 7.5},
    {"out: click onto zoom 1 centres the world", ZoomOut, 2, 0.01, 100, {{130, 20}}, 1, 0, 0},
    {"out: up only", ZoomOut, 0.015, 0.01, 100, {{40, 50}, {40, 40}}, 0.01, -60 / 0.015, 5 / 0.015},
    {"out: down only", ZoomOut, 2, 0.01, 100, {{40, 50}, {40, 60}}, 0.1, -30, -2.5},
    {"out: up 50, left 100", ZoomOut, 2, 0.01, 100, {{150, 80}, {50, 30}}, 0.5, 0, -2.5},
    {"out: right 100, up 300", ZoomOut, 4, 0.01, 100, {{50, 90}, {150, -210}}, 2, 0, 27.5},
    {"out: a drag stops at MinZoom", ZoomOut, 1, 0.5, 100, {{10, 10}, {30, 20}}, 0.5, -80, 35},
};

} // namespace

TEST_F(ZoomTools, GesturesSetZoomAndCentreInOneRepaint) {
    for (const TGesture& G : Gestures) {
        SCOPED_TRACE(G.Name);
        std::unique_ptr<TCustomZoomTool> Tool;
        if (G.Kind == ZoomIn)
            Tool = Use<TZoomInTool>();
        else
            Tool = Use<TZoomOutTool>();
        Map.SetMinZoom(G.MinZoom);
        Map.SetMaxZoom(G.MaxZoom);
        Map.SetZoom(G.Zoom);
        Map.SetCenterX(0);
        Map.SetCenterY(0);
        Deliver();
        const int Requests = Host.Requests;
        Completions = 0;
        Drag(G.Path);
        EXPECT_DOUBLE_EQ(Map.Zoom(), G.NewZoom);
        EXPECT_DOUBLE_EQ(Map.CenterX(), G.CenterX);
        EXPECT_DOUBLE_EQ(Map.CenterY(), G.CenterY);
        EXPECT_EQ(Host.Requests, Requests + 1) << "zoom and centre repaint once";
        EXPECT_FALSE(Map.InUpdate());
        EXPECT_EQ(Completions, 1);
    }
}

TEST_F(ZoomTools, UnchangedZoomChangesNothingAnswersFalseAndStillCompletes) {
    auto Tool = Use<Testing::Recorded<TZoomInTool>>();
    Map.SetMaxZoom(4);
    Map.SetZoom(4);
    Map.SetCenterX(5);
    Deliver();
    int Zooms = 0;
    Map.OnZoom = [&](TObject*) { ++Zooms; };
    const int Requests = Host.Requests;
    Click(130, 20);
    EXPECT_EQ(Map.Zoom(), 4);
    EXPECT_EQ(Map.CenterX(), 5);
    EXPECT_EQ(Map.CenterY(), 0);
    EXPECT_EQ(Zooms, 0);
    EXPECT_EQ(Host.Requests, Requests);
    EXPECT_FALSE(Map.Modified());
    EXPECT_EQ(Completions, 1);
    Map.SetMaxZoom(8); // now the same click zooms
    Click(130, 20);
    EXPECT_EQ(Map.Zoom(), 8);
    EXPECT_EQ(Completions, 2);
    EXPECT_EQ(Tool->Results, (std::vector<bool>{false, true}));
}

TEST_F(ZoomTools, AFailingZoomStillEndsTheUpdateAndPassesOn) {
    auto Tool = Use<TZoomInTool>();
    Deliver();
    Map.OnZoom = [](TObject*) { throw std::runtime_error("zoom refused"); };
    Map.MouseDown(mbLeft, ssLeft, 130, 20);
    EXPECT_THROW(Map.MouseUp(mbLeft, 0, 130, 20), std::runtime_error);
    EXPECT_FALSE(Map.InUpdate());
    EXPECT_TRUE(Map.PaintPending());
    EXPECT_EQ(Completions, 0);
}

namespace {

// Before with the outline of the rectangle spanned by R inverted, as one
// NOT-XOR pass of a black pen leaves it: right and bottom edge left out,
// every outline pixel once.
QImage WithInvertedOutline(const QImage& Before, TRect R) {
    QImage Expected = Before.copy();
    const int L = std::min(R.Left, R.Right), T = std::min(R.Top, R.Bottom);
    const int Rt = std::max(R.Left, R.Right) - 1, B = std::max(R.Top, R.Bottom) - 1;
    if (Rt < L || B < T) return Expected;
    std::set<std::pair<int, int>> Ring;
    for (int X = L; X <= Rt; ++X)
        Ring.insert({X, T}), Ring.insert({X, B});
    for (int Y = T; Y <= B; ++Y)
        Ring.insert({L, Y}), Ring.insert({Rt, Y});
    for (auto [X, Y] : Ring)
        if (Expected.valid(X, Y)) Expected.setPixel(X, Y, ~Expected.pixel(X, Y) | 0xFF000000u);
    return Expected;
}

} // namespace

TEST_F(ZoomTools, RubberBandInvertsItsOutlineAndLeavesNoTrace) {
    PaintLandscape();
    auto Tool = Use<TZoomOutTool>();
    Map.SetMinZoom(Map.Zoom()); // the gesture cannot change the view
    // A window canvas left in another state by its last user gets it back.
    Map.Canvas()->Pen()->SetMode(pmMask);
    Map.Canvas()->Brush()->SetStyle(bsCross);
    const QImage Before = Map.Surface().copy();
    ASSERT_EQ(Testing::SurfacePixel(Map, 55, 55), clRed);
    ASSERT_EQ(Testing::SurfacePixel(Map, 5, 3), clWhite);

    Map.MouseDown(mbLeft, ssLeft, 60, 30);
    EXPECT_EQ(Difference(Map.Surface(), Before), "") << "a point draws nothing";
    // Across the anchor in every direction, out of the window and back.
    const TPoint Moves[] = {{120, 70}, {150, 20}, {20, 80}, {0, 0}, {61, 31}, {230, -10}, {30, 10}};
    for (TPoint P : Moves) {
        Map.MouseMove(ssLeft, P.X, P.Y);
        EXPECT_EQ(Difference(Map.Surface(), WithInvertedOutline(Before, {60, 30, P.X, P.Y})), "")
            << "moved to " << P.X << "," << P.Y;
    }
    EXPECT_EQ(Completions, 0);
    Map.MouseUp(mbLeft, 0, 30, 10);
    EXPECT_EQ(Difference(Map.Surface(), Before), "");
    EXPECT_FALSE(Map.PaintPending());
    EXPECT_EQ(Completions, 1);
    EXPECT_EQ(Map.Canvas()->Pen()->Mode(), pmMask);
    EXPECT_EQ(Map.Canvas()->Brush()->Style(), bsCross);
}
