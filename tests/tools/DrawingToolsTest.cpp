// Drawing tools: gestures through the map's input make objects in the
// editable layer with the map's styles; the rubber bands leave nothing
// behind on the window.
#include "geodesy/GeoCircle.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "tools/ToolFixture.h"

#include <functional>
#include <memory>

using namespace Mapobjects;
using namespace Platform;
using Testing::Difference;

namespace {

struct DrawingTools : Testing::ToolFixture {
    TMapLayer* Edit = nullptr;
    int Added = 0;

    void SetUp() override {
        ToolFixture::SetUp();
        Map.SetZoom(2); // map (X, Y) at pixel (100 + 2X, 50 - 2Y)
        Map.OnAddObject = [this](TChartix*, TCustomMapObject*) { ++Added; };
        Edit = Map.Layers().Add("", "edit");
        Edit->SetEditable(true);
    }
    void TearDown() override {
        EXPECT_EQ(Completions, 0) << "new objects are told by the layer, not OnComplete";
        ToolFixture::TearDown();
    }
    // The map points of part 0 of the layer's last object.
    std::vector<std::pair<double, double>> Vertices(TCustomMapObject* Object) {
        std::vector<std::pair<double, double>> Result;
        for (const TMapPoint& P : Object->Parts().GetFirst()->Points())
            Result.push_back({P.X, P.Y});
        return Result;
    }
    void Press(int X, int Y, TShiftState Extra = 0) {
        Map.MouseDown(mbLeft, ssLeft | Extra, X, Y);
        Map.MouseUp(mbLeft, 0, X, Y);
    }
    // A double click as the platform delivers it: the first press and
    // release, the notification, then the second press flagged double.
    void DoubleClick(int X, int Y) {
        Press(X, Y);
        Map.DblClick();
        Press(X, Y, ssDouble);
    }
    // A press at each vertex, a double click at the last.
    void Figure(const std::vector<TPoint>& Vertices) {
        for (size_t I = 0; I + 1 < Vertices.size(); ++I)
            Press(Vertices[I].X, Vertices[I].Y);
        DoubleClick(Vertices.back().X, Vertices.back().Y);
    }
};

using TPairs = std::vector<std::pair<double, double>>;

} // namespace

TEST_F(DrawingTools, NamesCursorsAndEnabledOnlyWithAnEditableLayer) {
    using TGesture = std::function<void(DrawingTools&)>; // one that would add one object
    const TGesture Drag = [](DrawingTools& F) { F.Drag({{10, 10}, {30, 40}}); };
    const TGesture Press = [](DrawingTools& F) { F.Press(10, 10); };
    const TGesture Two = [](DrawingTools& F) { F.Figure({{10, 10}, {30, 40}}); };
    const TGesture Three = [](DrawingTools& F) { F.Figure({{10, 10}, {30, 10}, {30, 40}}); };
    struct TCase {
        std::function<std::unique_ptr<TCustomMapTool>()> Make;
        const char* Name;
        TGesture Gesture;
    };
    const TCase Cases[] = {
        {[] { return std::make_unique<TLineTool>(nullptr); }, "Line Tool", Drag},
        {[] { return std::make_unique<TRectTool>(nullptr); }, "Rectangle Tool", Drag},
        {[] { return std::make_unique<TPolylineTool>(nullptr); }, "Polyline Tool", Two},
        {[] { return std::make_unique<TRegionTool>(nullptr); }, "Region Tool", Three},
        {[] { return std::make_unique<TSymbolTool>(nullptr); }, "Symbol Tool", Press},
        {[] { return std::make_unique<TCircleTool>(nullptr); }, "Circle Tool", Press},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        auto Tool = C.Make();
        EXPECT_EQ(Tool->DisplayName(), C.Name);
        EXPECT_EQ(Tool->Cursor(), crCross);
        EXPECT_FALSE(Tool->GetEnabled()) << "no map";
        Tool->SetChartix(&Map);
        Tool->SetActive(true);
        EXPECT_TRUE(Tool->GetEnabled());

        Edit->SetEditable(false);
        EXPECT_FALSE(Tool->GetEnabled()) << "layers, none editable";
        C.Gesture(*this);
        EXPECT_EQ(Edit->ObjectCount() + Layer->ObjectCount(), 0);
        EXPECT_FALSE(Tool->Complete());

        Edit->SetEditable(true);
        C.Gesture(*this);
        EXPECT_EQ(Edit->ObjectCount(), 1) << "the gesture adds to the editable layer";
        Edit->DeleteObjects();
        Tool->SetChartix(nullptr);
    }
    EXPECT_EQ(Added, 6);
}

TEST_F(DrawingTools, DragsMakeLinesAndRectanglesAsDragged) {
    Map.Options().DefaultPen()->SetColor(clTeal);
    Map.Options().DefaultBrush()->SetColor(clYellow);
    auto Line = Use<TLineTool>();
    Drag({{100, 50}, {120, 40}, {140, 30}});
    ASSERT_EQ(Edit->ObjectCount(), 1);
    auto* Polyline = dynamic_cast<TPolyline*>(Edit->Last());
    ASSERT_NE(Polyline, nullptr);
    EXPECT_EQ(Polyline->Parts().Count(), 1);
    EXPECT_EQ(Vertices(Polyline), (TPairs{{0, 0}, {20, 10}}));
    EXPECT_EQ(Polyline->Pen()->Color(), clTeal) << "the map's default pen";
    Click(60, 60);
    EXPECT_EQ(Edit->ObjectCount(), 1) << "press and release at one pixel";
    Line->SetActive(false);

    auto Rect = Use<TRectTool>();
    Drag({{140, 70}, {90, 40}, {80, 30}}); // lower right to upper left
    ASSERT_EQ(Edit->ObjectCount(), 2);
    auto* R = dynamic_cast<TRectangle*>(Edit->Last());
    ASSERT_NE(R, nullptr);
    EXPECT_EQ(Testing::PointsOf(R), "20 -10,-10 10");
    EXPECT_EQ(R->Brush()->Color(), clYellow) << "the map's default brush";
    Click(60, 60);
    EXPECT_EQ(Edit->ObjectCount(), 2);
    EXPECT_EQ(Added, 2);
}

TEST_F(DrawingTools, VerticesAreCollectedUntilADoubleClick) {
    auto Polyline = Use<TPolylineTool>();
    Press(100, 50);
    Map.MouseMove(0, 120, 50);
    Press(120, 50);
    EXPECT_EQ(Polyline->PrevPoint(), (TPoint{120, 50}));
    DoubleClick(120, 70);
    ASSERT_EQ(Edit->ObjectCount(), 1);
    EXPECT_EQ(Vertices(Edit->Last()), (TPairs{{0, 0}, {10, 0}, {10, -10}}))
        << "the double click's own press is swallowed";
    EXPECT_EQ(Polyline->Points().Count(), 0);
    EXPECT_FALSE(Polyline->SkipNextPress());
    DoubleClick(10, 10); // one point only
    EXPECT_EQ(Edit->ObjectCount(), 1);
    Polyline->SetActive(false);

    auto Region = Use<TRegionTool>();
    Figure({{100, 50}, {120, 50}});
    EXPECT_EQ(Edit->ObjectCount(), 1) << "two vertices make no region";
    Figure({{100, 50}, {120, 50}, {120, 30}});
    ASSERT_EQ(Edit->ObjectCount(), 2);
    EXPECT_NE(dynamic_cast<TRegion*>(Edit->Last()), nullptr);
    EXPECT_EQ(Vertices(Edit->Last()), (TPairs{{0, 0}, {10, 0}, {10, 10}, {0, 0}}))
        << "the ring is stored closed";

    // Cancel erases the moving segment and drawing goes on from the last
    // vertex; another tool taking over drops the figure.
    Press(100, 50);
    Press(140, 50);
    Region->Cancel();
    EXPECT_EQ(Region->Points().Count(), 2);
    Press(140, 30);
    EXPECT_EQ(Region->Points().Count(), 3);
    auto Other = Use<TPolylineTool>();
    EXPECT_EQ(Region->Points().Count(), 0);
    Region->SetActive(true);
    Figure({{100, 50}, {120, 50}});
    EXPECT_EQ(Edit->ObjectCount(), 2) << "a fresh figure of two vertices";
    EXPECT_EQ(Added, 2);
}

TEST_F(DrawingTools, ClicksPlaceSymbolsAndCircles) {
    Map.Options().SetDefaultSymbolShape(40);
    Map.Options().DefaultSymbolFont()->SetSize(14);
    Map.Options().DefaultSymbolFont()->SetColor(clBlue);
    auto Tool = Use<TSymbolTool>();
    Press(110, 30);
    ASSERT_EQ(Edit->ObjectCount(), 1);
    auto* S = dynamic_cast<TSymbol*>(Edit->Last());
    ASSERT_NE(S, nullptr);
    EXPECT_EQ((TPairs{{S->X(), S->Y()}}), (TPairs{{5, 10}}));
    EXPECT_EQ(S->Shape(), 40);
    EXPECT_EQ(S->Font()->Size(), 14);
    EXPECT_EQ(S->Font()->Color(), clBlue);
    DoubleClick(60, 60);
    EXPECT_EQ(Edit->ObjectCount(), 2) << "a double click places one symbol";
    Map.MouseDown(mbRight, ssRight, 20, 20);
    EXPECT_EQ(Edit->ObjectCount(), 2);
    Tool->SetActive(false);

    // A circle: the click is its centre, in degrees; the rest as a new
    // circle has it.
    auto Circles = Use<TCircleTool>();
    Press(110, 30);
    ASSERT_EQ(Edit->ObjectCount(), 3);
    auto* C = dynamic_cast<TGeoCircle*>(Edit->Last());
    ASSERT_NE(C, nullptr);
    const TGeoCircle Fresh;
    EXPECT_EQ((TPairs{{C->CenterX(), C->CenterY()}}), (TPairs{{5, 10}}));
    EXPECT_EQ(C->Radius(), Fresh.Radius());
    EXPECT_EQ(C->PieCount(), Fresh.PieCount());
    EXPECT_EQ(C->Parts().GetFirst()->Points().Count(), Fresh.PieCount() + 1);
    EXPECT_EQ(C->Pen()->Color(), Map.Options().DefaultPen()->Color());
}

TEST_F(DrawingTools, RubberBandsInvertAndLeaveNothingBehind) {
    PaintLandscape();
    const QImage Before = Map.Surface().copy();
    // The expected window: Before with the pixels from (X0, Y) to (X1, Y)
    // (end excluded) or from (X, Y0) to (X, Y1) inverted.
    auto Inverted = [&](std::vector<TRect> Segments) {
        QImage Expected = Before.copy();
        for (const TRect& S : Segments) {
            const int DX = (S.Right > S.Left) - (S.Right < S.Left);
            const int DY = (S.Bottom > S.Top) - (S.Bottom < S.Top);
            for (int X = S.Left, Y = S.Top; X != S.Right || Y != S.Bottom; X += DX, Y += DY)
                Expected.setPixel(X, Y, ~Expected.pixel(X, Y) | 0xFF000000u);
        }
        return Expected;
    };
    auto Region = Use<TRegionTool>();
    Press(20, 20);
    EXPECT_EQ(Difference(Map.Surface(), Before), "") << "a press draws nothing";
    Map.MouseMove(0, 60, 20);
    EXPECT_EQ(Difference(Map.Surface(), Inverted({{20, 20, 60, 20}})), "");
    Press(60, 20);
    Map.MouseMove(0, 90, 20); // two vertices, pointer on the fixed edge's line
    EXPECT_EQ(Difference(Map.Surface(), Inverted({{20, 20, 60, 20}, {60, 20, 90, 20}})), "")
        << "no closing edge";
    Map.MouseMove(0, 60, 70); // below the last vertex: still no closing edge
    EXPECT_EQ(Difference(Map.Surface(), Inverted({{20, 20, 60, 20}, {60, 20, 60, 70}})), "");
    Press(60, 70);
    Map.MouseMove(0, 20, 70);
    // Three vertices: the moving segment and the closing edge; nothing is
    // left of the edge that was not shown with two.
    EXPECT_EQ(
        Difference(
            Map.Surface(),
            Inverted({{20, 20, 60, 20}, {60, 20, 60, 70}, {60, 70, 20, 70}, {20, 70, 20, 20}})),
        "");
    DoubleClick(20, 70);
    ASSERT_EQ(Edit->ObjectCount(), 1);
    Deliver();
    const QImage Finished = Map.Surface().copy();
    Map.SetModified(true); // the picture as a full rebuild paints it
    Map.Invalidate();
    Deliver();
    EXPECT_EQ(Difference(Finished, Map.Surface()), "") << "edges of the figure left behind";
    EXPECT_NE(Difference(Finished, Before), "") << "the region is on the window";

    auto Line = Use<TLineTool>();
    const QImage Plain = Map.Surface().copy();
    Drag({{30, 80}, {120, 10}, {150, 85}, {31, 81}});
    EXPECT_EQ(Difference(Map.Surface(), Plain), "") << "a one-pixel line was added at most";
}

// A gesture belongs to the tool that saw it begin: a tool switched on while
// the button is held neither draws nor finishes it, and a double click whose
// press went to another tool does not swallow the next tool's first click.
TEST_F(DrawingTools, AGestureCutByASwitchOfToolIsLeftAlone) {
    auto Pan = Use<TPanTool>();
    PaintLandscape();
    const QImage Plain = Map.Surface().copy();
    Map.MouseDown(mbLeft, ssLeft, 30, 30);
    auto Dragged = [&](std::unique_ptr<TCustomMapTool> Tool) {
        SCOPED_TRACE(Tool->DisplayName());
        Map.MouseMove(ssLeft, 90, 60);
        EXPECT_EQ(Difference(Map.Surface(), Plain), "");
        Map.MouseUp(mbLeft, 0, 90, 60);
        EXPECT_EQ(Added, 0);
        // Switched off mid-drag, the rubber band goes with the tool.
        Map.MouseDown(mbLeft, ssLeft, 30, 30);
        Map.MouseMove(ssLeft, 90, 60);
        ASSERT_NE(Difference(Map.Surface(), Plain), "");
        Pan->SetActive(true);
        EXPECT_EQ(Difference(Map.Surface(), Plain), "");
    };
    Dragged(Use<TLineTool>());
    Dragged(Use<TRectTool>());
    // A pan dropped mid-drag puts the moved picture back.
    Map.MouseDown(mbLeft, ssLeft, 30, 30);
    Map.MouseMove(ssLeft, 60, 50);
    ASSERT_NE(Difference(Map.Surface(), Plain), "");
    auto Line = Use<TLineTool>();
    EXPECT_EQ(Difference(Map.Surface(), Plain), "");
    Map.MouseUp(mbLeft, 0, 60, 50);

    auto Clicked = [&](std::unique_ptr<TCustomMapTool> Tool, int Objects) {
        SCOPED_TRACE(Tool->DisplayName());
        Press(40, 40);
        Map.DblClick();
        Line->SetActive(true);
        Tool->SetActive(true);
        const int Before = Added;
        Press(50, 50);
        Press(60, 40);
        Map.DblClick();
        EXPECT_EQ(Added, Before + Objects) << "the first click was swallowed";
    };
    Clicked(Use<TSymbolTool>(), 2);
    Clicked(Use<TPolylineTool>(), 1);
}

// The measure tool reports the leg to the pointer and the whole path at each
// press and move, in map units or, on a map of degrees, geodesic metres; it
// adds nothing to the layer and works on a read-only map.
TEST_F(DrawingTools, TheMeasureToolReportsLegsAndTotals) {
    Edit->SetEditable(false);
    auto Tool = Use<TMeasureTool>();
    EXPECT_TRUE(Tool->GetEnabled());
    std::vector<std::pair<double, double>> Told; // (last leg, total)
    Tool->OnMeasure = [&](TMeasureTool& T) { Told.push_back({T.LastLeg(), T.Total()}); };
    Press(100, 50);            // (0, 0)
    Map.MouseMove(0, 106, 42); // (3, 4)
    Press(106, 42);
    Map.MouseMove(0, 106, 30); // (3, 10)
    EXPECT_EQ(Told, (TPairs{{0, 0}, {5, 5}, {0, 5}, {6, 11}}));
    DoubleClick(106, 30);
    EXPECT_EQ(Told.back(), (std::pair<double, double>{0, 11}));
    EXPECT_EQ(Added, 0);
    EXPECT_EQ(Tool->Points().Count(), 0) << "a double click ends the path";

    Tool->SetGeographic(true);
    Told.clear();
    Press(100, 50);            // (0°, 0°)
    Map.MouseMove(0, 102, 50); // (1°, 0°): a degree of the equator
    ASSERT_EQ(Told.size(), 2u);
    EXPECT_NEAR(Told.back().second, 111319.491, 0.001);
}
