// Hit testing and the selection list: what a click selects, what can be hit
// at all, and the list's own operations with what they tell and draw.
#include "objects/Symbol.h"
#include "support/MapFixture.h"

#include <string>
#include <vector>

using namespace Mapobjects;
using Platform::Application;
using Testing::TLines;

namespace {

// The view of ViewFixture: map (X, Y) at pixel (100 + X, 50 - Y).
struct Selecting : Testing::ViewFixture {
    Testing::TRecorder Rec;

    void SetUp() override {
        ViewFixture::SetUp();
        Layer->SetName("bottom");
    }
    static TRegion* Square(TMapLayer* L, double X, double Y, double Size, int Tag) {
        TRegion* R = Testing::AddSquare(L, X, Y, Size);
        R->SetTag(Tag);
        return R;
    }
    // A square added whole, as drawing tools add their objects.
    static TRegion* Whole(TMapLayer* L, double X, double Y, double Size, int Tag) {
        auto* R = new TRegion();
        R->SetTag(Tag);
        for (auto [PX, PY] : Testing::Box(X, Y, X + Size, Y + Size))
            R->Parts().Add()->Points().Add(PX, PY);
        L->AddObject(R, true);
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
    QRgb Window(double X, double Y) {
        return Map.Surface().pixel(static_cast<int>(100 + X), static_cast<int>(50 - Y));
    }
};

} // namespace

TEST_F(Selecting, ClicksReplaceInSingleModeAndToggleInAdditiveMode) {
    Square(Layer, -80, -40, 20, 1);
    Square(Layer, 0, 0, 20, 2);
    Paint();
    Rec.Attach(Map);
    Rec.Watch(QPoint(30, 80)); // inside o1
    // A click and what it leaves selected and tells.
    auto Click = [&](double X, double Y, bool Single, const char* Selection, const char* Lines) {
        SCOPED_TRACE(Platform::Format("click at %g,%g %s", X, Y, Single ? "single" : "adding"));
        Rec.Reset();
        Map.SelectObjectAt(X, Y, Single);
        EXPECT_EQ(Selected(), Selection);
        EXPECT_EQ(Told(), Lines);
    };
    Click(-70, -30, true, "o1", "marks on, OnAddSelection(o1), mdlAddSelection(o1), OnUpdate(map)");
    Click(-70, -30, true, "o1", "OnUpdate(map)");
    Click(10, 10, true, "o2",
          "OnDelSelection(o1), marks off, mdlDelSelection(o1), OnUpdate(map), "
          "OnAddSelection(o2), mdlAddSelection(o2), OnUpdate(map)");
    Click(-70, -30, false, "o2 o1",
          "marks on, OnAddSelection(o1), mdlAddSelection(o1), OnUpdate(map)");
    // A single click on one of several selected objects keeps it alone.
    Click(-70, -30, true, "o1",
          "OnDelSelection(o2), mdlDelSelection(o2), OnUpdate(map), OnUpdate(map)");
    Click(10, 10, false, "o1 o2", "OnAddSelection(o2), mdlAddSelection(o2), OnUpdate(map)");
    Click(10, 10, false, "o1",
          "OnDelSelection(o2), mdlDelSelection(o2), OnUpdate(map), OnUpdate(map)");
    Click(50, -40, true, "", "OnDelSelection(o1), marks off, mdlDelSelection(o1), OnUpdate(map)");
    Click(50, -40, false, "", "");
}

// Layers from the top down; within a layer the object drawn last (on top)
// first; CtrlClickCount skips topmost layers.
TEST_F(Selecting, WhatIsSeenOnTopIsHitAndCtrlClicksReachLowerLayers) {
    Square(Layer, -50, -40, 90, 1);
    Square(Layer, -10, -10, 20, 2); // drawn over o1
    Square(Map.Layers().Add("", "top"), 0, 0, 30, 3);
    Paint();
    struct TClick {
        int CtrlClicks;
        double X, Y;
        std::string Selection;
    };
    for (const TClick& C : std::vector<TClick>{{0, 5, 5, "o3"},
                                               {0, -5, -5, "o2"},
                                               {0, -30, -30, "o1"},
                                               {1, 5, 5, "o2"},
                                               {1, 35, 35, "o1"},
                                               {2, 5, 5, ""},
                                               {5, 5, 5, ""},
                                               {-1, 5, 5, "o3"}}) {
        SCOPED_TRACE(Platform::Format("%d ctrl-clicks at %g,%g", C.CtrlClicks, C.X, C.Y));
        Map.Selection().Clear();
        Map.Layers().Get(1)->First()->Select();
        Map.SetCtrlClickCount(C.CtrlClicks);
        Map.SelectObjectAt(C.X, C.Y, true);
        EXPECT_EQ(Selected(), C.Selection);
    }
}

// Displayed is the picture on the window: what the last paint drew and what
// was painted onto it since. Marks drawn over it do not make an object
// hittable, and a layer the picture does not show hides its objects.
TEST_F(Selecting, OnlyWhatTheWindowShowsCanBeHit) {
    Paint();
    auto Hit = [&](double X, double Y) {
        Map.SelectObjectAt(X, Y, false);
        const bool Any = Map.Selection().Count() > 0;
        Map.Selection().Clear();
        return Any;
    };
    Whole(Layer, 0, 0, 10, 1); // painted at once
    EXPECT_TRUE(Hit(5, 5));
    Map.BeginUpdate();
    Whole(Layer, 20, 0, 10, 2);
    Map.EndUpdate(true);
    EXPECT_FALSE(Hit(25, 5)) << "hit before it was painted";
    Paint();
    EXPECT_TRUE(Hit(25, 5));
    Square(Layer, 40, 0, 10, 3); // added empty, its points come after
    EXPECT_FALSE(Hit(45, 5)) << "hit where nothing was painted";
    Map.DoUpdate();
    Paint();
    EXPECT_TRUE(Hit(45, 5));

    TRegion* Outside = Whole(Layer, 120, 0, 10, 4); // beyond the right edge
    EXPECT_FALSE(Hit(125, 5));
    Map.DoUpdate();
    Paint();
    EXPECT_FALSE(Hit(125, 5));
    Outside->Select(); // its marks are drawn, off the window
    Map.SelectObjectAt(125, 5, true);
    EXPECT_EQ(Selected(), "") << "the marks made it hittable";

    TMapLayer* Hidden = Map.Layers().Add("", "hidden");
    Hidden->SetVisible(false);
    Map.Options().DefaultBrush()->SetColor(Platform::clBlue);
    const QRgb Plain = Window(-45, 5);
    Whole(Hidden, -50, 0, 10, 5);
    EXPECT_EQ(Window(-45, 5), Plain) << "painted on a hidden layer";
    EXPECT_FALSE(Hit(-45, 5));

    // Out of its zoom range the layer hides its objects at once, before the
    // repaint has taken them from the picture.
    Layer->SetMinZoom(2);
    Layer->SetMaxZoom(4);
    EXPECT_FALSE(Hit(5, 5));
    Map.SetZoom(2);
    Paint();
    EXPECT_TRUE(Hit(5, 5));
}

TEST_F(Selecting, MarksShowOnlyWhereTheLayerIsDrawn) {
    TRegion* R = Square(Layer, -20, -20, 40, 1);
    Testing::SetStyles(R, Platform::clBlack, 1, Platform::psSolid, Platform::clRed,
                       Platform::bsSolid);
    Map.DoUpdate();
    Paint();
    const QRgb Plain = Window(0, 0);
    Layer->SetMinZoom(2);
    Layer->SetMaxZoom(4);
    Map.DoUpdate();
    Paint();
    const QRgb Background = Window(0, 0);
    ASSERT_NE(Background, Plain);
    R->Select();
    EXPECT_EQ(Window(0, 0), Background) << "marks of an object not drawn";
    Map.Invalidate();
    Paint();
    EXPECT_EQ(Window(0, 0), Background);
    Map.Selection().Remove(R);
    EXPECT_EQ(Window(0, 0), Background);
}

TEST_F(Selecting, SelectObjectsAtTakesEverythingUnderThePointTopDown) {
    Square(Layer, -50, -40, 90, 1);
    Square(Layer, -10, -10, 20, 2);
    Square(Map.Layers().Add("", "top"), 0, 0, 30, 3);
    TMapLayer* Hidden = Map.Layers().Add("", "hidden");
    Square(Hidden, 0, 0, 30, 4);
    Paint();
    Hidden->SetVisible(false);
    Layer->Objects(1)->Select();
    Rec.Attach(Map);
    Map.SelectObjectsAt(5, 5, false);
    EXPECT_EQ(Selected(), "o2 o3 o1");
    EXPECT_EQ(Told(),
              "OnStartProgress(map,0,0), OnAddSelection(o3), mdlAddSelection(o3), "
              "OnAddSelection(o1), mdlAddSelection(o1), OnUpdate(map), OnStopProgress(map)");
    Map.SelectObjectsAt(5, 5, true);
    EXPECT_EQ(Selected(), "o3 o2 o1");

    // A picture that shows nothing still clears when asked to.
    Map.SetCenterX(1000);
    Paint();
    ASSERT_EQ(Map.Displayed().Count(), 0);
    Map.SelectObjectsAt(5, 5, true);
    EXPECT_EQ(Selected(), "");
    Layer->First()->Select();
    Map.SelectObjectAt(5, 5, true);
    EXPECT_EQ(Selected(), "") << "a click on an empty picture keeps the selection";
}

TEST_F(Selecting, ListOperations) {
    TRegion* A = Square(Layer, -80, -40, 20, 1);
    TRegion* B = Square(Layer, 0, 0, 20, 2);
    TRegion* C = Square(Layer, 40, 0, 20, 3);
    Paint();
    TSelection& S = Map.Selection();
    S.Add(A, false);
    S.Insert(B, 0, false);
    S.Insert(C, 1, false);
    EXPECT_EQ(Selected(), "o2 o3 o1");
    S.Insert(A, 0, false);
    EXPECT_EQ(Selected(), "o2 o3 o1") << "listed twice";
    EXPECT_EQ(S.GetItem(-1), nullptr);
    EXPECT_EQ(S.GetItem(3), nullptr);
    EXPECT_EQ(S.GetItem(2), A);
    S.Delete(1);
    EXPECT_EQ(Selected(), "o2 o1");
    EXPECT_THROW(S.Delete(2), Platform::EListError);
    S.Insert(C, 0, true);
    EXPECT_EQ(Selected(), "o3");
}

// Selection.Paint toggles the marks of every selected object, so a second
// call takes them off again; without fast selection it draws nothing.
TEST_F(Selecting, PaintTogglesTheMarksOfTheWholeSelection) {
    TRegion* A = Square(Layer, -80, -40, 20, 1);
    TRegion* B = Square(Layer, 0, 0, 20, 2);
    Paint();
    const QImage Plain = Map.Surface().copy();
    A->Select();
    B->Select();
    const QImage Marked = Map.Surface().copy();
    ASSERT_NE(Marked, Plain);
    Map.Selection().Paint();
    EXPECT_EQ(Map.Surface(), Plain);
    Map.Selection().Paint();
    EXPECT_EQ(Map.Surface(), Marked);
    Map.SetFastSelection(false);
    Paint();
    const QImage Patterned = Map.Surface().copy();
    Map.Selection().Paint();
    EXPECT_EQ(Map.Surface(), Patterned);
}

// Removing a layer's objects without fast selection is one batch, repainted
// at its end; inside the host's own update it leaves that update alone.
TEST_F(Selecting, RemoveLayerBatchesWithoutEndingTheHostsUpdate) {
    TMapLayer* Other = Map.Layers().Add("", "other");
    Square(Layer, -80, -40, 20, 1)->Select();
    Square(Other, 40, 0, 20, 2)->Select();
    Square(Layer, 0, 0, 20, 3)->Select();
    Map.SetFastSelection(false);
    Paint();
    std::vector<bool> InUpdate;
    Map.OnDelSelection = [&](TChartix* M, TCustomMapObject*) { InUpdate.push_back(M->InUpdate()); };
    Map.Selection().RemoveLayer(Layer);
    EXPECT_EQ(Selected(), "o2");
    EXPECT_EQ(InUpdate, (std::vector<bool>{true, true}));
    EXPECT_FALSE(Map.InUpdate());
    EXPECT_TRUE(Map.PaintPending());

    Paint();
    Map.BeginUpdate();
    Map.Selection().RemoveLayer(Other);
    EXPECT_EQ(Selected(), "");
    EXPECT_TRUE(Map.InUpdate()) << "the host's update was ended";
    EXPECT_FALSE(Map.PaintPending());
    EXPECT_TRUE(Map.Modified());
    Map.EndUpdate(true);
    Map.OnDelSelection = nullptr;
}

TEST_F(Selecting, ZoomFitsTheViewToTheSelection) {
    auto View = [&] { return std::tuple(Map.CenterX(), Map.CenterY(), Map.Zoom()); };
    Map.Selection().Zoom();
    EXPECT_EQ(View(), std::tuple(0, 0, 1)) << "an empty selection moved the view";
    Testing::Place(Layer->NewObject<TSymbol>(), 30, 20)->Select();
    Map.Selection().Zoom(); // one point: centred, zoom kept
    EXPECT_EQ(View(), std::tuple(30, 20, 1));
    Square(Layer, -40, -10, 10, 1)->Select(); // extent -40..30 x -10..20
    Map.Selection().Zoom();
    EXPECT_EQ(View(), std::tuple(-5, 5, std::max(100 / 30.0, 200 / 70.0)));
}

// A map not yet on a window still announces every change of its selection.
TEST(SelectionOffWindow, ClearAnnouncesWithoutAParent) {
    Testing::TRecorder Rec;
    TChartix Map(nullptr);
    TMapLayer* L = Map.Layers().Add("", "A");
    TRegion* R = Testing::AddSquare(L, 0, 0, 10);
    R->SetTag(1);
    R->Select();
    Rec.Attach(Map);
    Map.Selection().Clear();
    EXPECT_EQ(Rec.Lines(), (TLines{"OnDelSelection(o1)", "mdlDelSelection(o1)", "OnUpdate(map)"}));
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
