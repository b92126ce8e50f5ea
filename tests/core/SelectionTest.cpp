// Hit testing: what a click selects and what can be hit at all. What the
// selection list's operations tell is in NotificationsTest.cpp.
#include "support/MapFixture.h"

#include <string>

using namespace Mapobjects;
using Platform::Application;

namespace {

// The view of ViewFixture: map (X, Y) at pixel (100 + X, 50 - Y).
struct Selecting : Testing::ViewFixture {
    Testing::TRecorder Rec;

    static TRegion* Square(TMapLayer* L, double X, double Y, double Size, int Tag) {
        TRegion* R = Testing::AddSquare(L, X, Y, Size);
        R->SetTag(Tag);
        return R;
    }
    void Paint() { Application()->ProcessMessages(); }
    std::string Selected() const {
        std::string S;
        for (int I = 0; I < Map.Selection().Count(); ++I)
            S += (I ? " o" : "o") + std::to_string(Map.Selection().Get(I)->Tag());
        return S;
    }
    // What the recorder heard, the lines joined by ", ".
    std::string Told() {
        std::string S;
        for (const std::string& L : Rec.Lines())
            S += (S.empty() ? "" : ", ") + L;
        return S;
    }
};

} // namespace

// A click replaces the selection or, adding, toggles the object; each hit
// ends with OnUpdate, a miss clears. Layers are hit from the top down,
// within a layer the object drawn last (on top) first; CtrlClickCount skips
// topmost layers and clears first. SelectObjectsAt takes everything under
// the point, top down, in a progress bracket.
TEST_F(Selecting, ClicksHitWhatIsSeenOnTopAndCtrlClicksReachLowerLayers) {
    Square(Layer, -50, -40, 90, 1);
    Square(Layer, -10, -10, 20, 2); // drawn over o1
    Square(Map.Layers().Add("", "top"), 0, 0, 30, 3);
    Paint();
    Rec.Attach(Map);
    struct {
        int CtrlClicks;
        bool Single;
        double X, Y;
        const char *Selection, *Lines;
    } const Clicks[] = {
        {0, true, 5, 5, "o3", "OnAddSelection(o3), mdlAddSelection(o3), OnUpdate(map)"},
        {0, true, 5, 5, "o3", "OnUpdate(map)"},
        {0, false, -5, -5, "o3 o2", "OnAddSelection(o2), mdlAddSelection(o2), OnUpdate(map)"},
        {0, true, 5, 5, "o3",
         "OnDelSelection(o2), mdlDelSelection(o2), OnUpdate(map), OnUpdate(map)"},
        {0, false, 5, 5, "",
         "OnDelSelection(o3), mdlDelSelection(o3), OnUpdate(map), OnUpdate(map)"},
        {1, true, 5, 5, "o2", "OnAddSelection(o2), mdlAddSelection(o2), OnUpdate(map)"},
        {1, true, 35, 35, "o1",
         "OnDelSelection(o2), mdlDelSelection(o2), OnUpdate(map), OnAddSelection(o1), "
         "mdlAddSelection(o1), OnUpdate(map)"},
        {2, true, 5, 5, "", "OnDelSelection(o1), mdlDelSelection(o1), OnUpdate(map)"},
        {-1, true, 5, 5, "o3", "OnAddSelection(o3), mdlAddSelection(o3), OnUpdate(map)"},
        {0, true, 70, -45, "", "OnDelSelection(o3), mdlDelSelection(o3), OnUpdate(map)"},
    };
    for (const auto& C : Clicks) {
        Rec.Reset();
        Map.SetCtrlClickCount(C.CtrlClicks);
        Map.SelectObjectAt(C.X, C.Y, C.Single);
        EXPECT_EQ(Selected(), C.Selection) << C.CtrlClicks << " ctrl-clicks at " << C.X;
        EXPECT_EQ(Told(), C.Lines) << C.CtrlClicks << " ctrl-clicks at " << C.X;
    }
    Map.SetCtrlClickCount(0);
    Layer->Objects(1)->Select();
    Rec.Reset();
    Map.SelectObjectsAt(5, 5, false);
    EXPECT_EQ(Selected(), "o2 o3 o1");
    EXPECT_EQ(Told(),
              "OnStartProgress(map,0,0), OnAddSelection(o3), mdlAddSelection(o3), "
              "OnAddSelection(o1), mdlAddSelection(o1), OnUpdate(map), OnStopProgress(map)");
    Map.SelectObjectsAt(5, 5, true);
    EXPECT_EQ(Selected(), "o3 o2 o1");
}

// Only what the picture on the window shows can be hit: objects added since
// the last paint, beyond the edge or out of their layer's zoom range are not.
TEST_F(Selecting, OnlyWhatTheWindowShowsCanBeHit) {
    Paint();
    auto Hit = [&](double X, double Y) {
        Map.SelectObjectAt(X, Y, false);
        const bool Any = Map.Selection().Count() > 0;
        Map.Selection().Clear();
        return Any;
    };
    auto Whole = [&](TMapLayer* L, double X, int Tag) { // added whole, as drawing tools do
        auto* R = new TRegion();
        R->SetTag(Tag);
        for (auto [PX, PY] : Testing::Box(X, 0, X + 10, 10))
            R->Parts().Add()->Points().Add(PX, PY);
        L->AddObject(R, true);
    };
    Whole(Layer, 0, 1); // painted at once
    EXPECT_TRUE(Hit(5, 5));
    Square(Layer, 40, 0, 10, 3); // added empty, its points come after
    Whole(Layer, 120, 4);        // beyond the right edge
    EXPECT_FALSE(Hit(45, 5)) << "hit where nothing was painted";
    Map.DoUpdate();
    Paint();
    EXPECT_TRUE(Hit(45, 5));
    EXPECT_FALSE(Hit(125, 5));

    // Out of its zoom range the layer hides its objects at once, before the
    // repaint has taken them from the picture.
    Layer->SetMinZoom(2);
    Layer->SetMaxZoom(4);
    EXPECT_FALSE(Hit(5, 5));
    Map.SetZoom(2);
    Paint();
    EXPECT_TRUE(Hit(5, 5));
}

// With PreciseHitTest a click picks what is drawn there: inside a ring and
// not in its hole, near a line, and never in the empty parts of a box (an
// L-shaped region, islands far apart like a country's across the world).
TEST_F(Selecting, PreciseHitTestFollowsTheDrawnGeometry) {
    using Testing::AddShape;
    using Testing::Box;
    TRegion* Holed = AddShape<TRegion>(Layer, {Box(-90, -40, -50, 0), Box(-80, -30, -60, -10)});
    Holed->SetTag(1);
    TRegion* Ell = AddShape<TRegion>(
        Layer, {{{0, 0}, {40, 0}, {40, 10}, {10, 10}, {10, 40}, {0, 40}, {0, 0}}});
    Ell->SetTag(2);
    TRegion* Islands = AddShape<TRegion>(Layer, {Box(50, -45, 55, -40), Box(90, 40, 95, 45)});
    Islands->SetTag(3);
    TPolyline* Line = AddShape<TPolyline>(Layer, {{{-90, 30}, {-40, 45}}});
    Line->SetTag(4);
    Paint();
    struct TCase {
        double X, Y;
        const char* Boxed;   // what the bounding-box rule selects
        const char* Precise; // what PreciseHitTest selects
    };
    const TCase Cases[] = {
        {-85, -20, "o1", "o1"},  // in the ring
        {-70, -20, "o1", ""},    // in the hole
        {-80, -30, "o1", "o1"},  // on the hole's edge
        {5, 30, "o2", "o2"},     // in the L's upright
        {30, 30, "o2", ""},      // in the L's empty corner
        {70, 0, "o3", ""},       // between the islands
        {92, 42, "o3", "o3"},    // on an island
        {-65, 37.5, "o4", "o4"}, // on the line
        {-65, 38.5, "o4", "o4"}, // a pixel off it
        {-85, 43, "o4", ""},     // far from it, in its box
    };
    for (bool Precise : {false, true}) {
        Map.SetPreciseHitTest(Precise);
        for (const TCase& C : Cases) {
            Map.Selection().Clear();
            Map.SelectObjectAt(C.X, C.Y, true);
            EXPECT_EQ(Selected(), Precise ? C.Precise : C.Boxed)
                << C.X << "," << C.Y << (Precise ? " precise" : " boxed");
        }
    }
}
