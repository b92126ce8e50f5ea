// Zoom tools: the arithmetic of clicks and rectangles, the centring, the
// repaint bracket, and a rubber band that leaves no trace.
#include "tools/ToolFixture.h"

#include <stdexcept>

using namespace Mapobjects;
using namespace Platform;
using Testing::Difference;

namespace {

struct ZoomTools : Testing::ToolFixture {};

struct TGesture {
    const char* Name;
    bool In;
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
    {"in: click, MaxZoom", true, 3, 0.01, 4, {{130, 20}}, 4, 10, 10},
    {"in: vertical drag", true, 1, 0.01, 100, {{40, 50}, {40, 45}, {40, 43}}, 2, -60, 3},
    {"in: horizontal drag", true, 1, 0.01, 100, {{40, 50}, {47, 50}}, 2, -57, 0},
    {"in: fitted by the width", true, 1, 0.01, 2, {{20, 20}, {60, 25}, {70, 30}}, 4, -55, 25},
    {"in: dragged backwards", true, 1, 0.01, 2, {{70, 30}, {20, 20}}, 4, -55, 25},
    {"in: fitted by the height", true, 1, 0.01, 100, {{0, 0}, {100, 80}}, 1.25, -50, 10},
    {"out: click", false, 4, 0.01, 100, {{130, 20}}, 2, 7.5, 7.5},
    {"out: click onto zoom 1 centres the world", false, 2, 0.01, 100, {{130, 20}}, 1, 0, 0},
    {"out: up only", false, 0.015, 0.01, 100, {{40, 50}, {40, 40}}, 0.01, -60 / 0.015, 5 / 0.015},
    {"out: down only", false, 2, 0.01, 100, {{40, 50}, {40, 60}}, 0.1, -30, -2.5},
    {"out: up 50, left 100", false, 2, 0.01, 100, {{150, 80}, {50, 30}}, 0.5, 0, -2.5},
    {"out: right 100, up 300", false, 4, 0.01, 100, {{50, 90}, {150, -210}}, 2, 0, 27.5},
    {"out: a drag stops at MinZoom", false, 1, 0.5, 100, {{10, 10}, {30, 20}}, 0.5, -80, 35},
};

} // namespace

TEST_F(ZoomTools, GesturesSetZoomAndCentreInOneRepaint) {
    for (const TGesture& G : Gestures) {
        SCOPED_TRACE(G.Name);
        std::unique_ptr<TCustomZoomTool> Tool;
        if (G.In)
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
        EXPECT_EQ(Completions, 1);
    }
}

TEST_F(ZoomTools, AnUnchangedZoomMovesNothingAndAFailingOneStillEndsTheUpdate) {
    auto Tool = Use<TZoomInTool>();
    Map.SetMaxZoom(4);
    Map.SetZoom(4);
    Map.SetCenterX(5);
    Deliver();
    const int Requests = Host.Requests;
    Map.MouseDown(mbLeft, ssLeft, 130, 20);
    Map.MouseUp(mbLeft, 0, 130, 20);
    EXPECT_FALSE(Tool->Complete()) << "the same zoom again";
    EXPECT_EQ(std::tuple(Map.Zoom(), Map.CenterX(), Host.Requests), std::tuple(4.0, 5.0, Requests));
    EXPECT_EQ(Completions, 2) << "and still completes";

    Map.SetMaxZoom(8);
    Map.OnZoom = [](TObject*) { throw std::runtime_error("zoom refused"); };
    Map.MouseDown(mbLeft, ssLeft, 130, 20);
    EXPECT_THROW(Map.MouseUp(mbLeft, 0, 130, 20), std::runtime_error);
    EXPECT_FALSE(Map.InUpdate());
    EXPECT_EQ(Completions, 2);
}
