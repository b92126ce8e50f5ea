// Drawing tools: gestures through the map's input make objects in the
// editable layer with the map's styles; the rubber bands leave nothing
// behind on the window. And the measure tool, which draws like them.
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "tools/ToolFixture.h"

using namespace Mapobjects;
using namespace Platform;
using Testing::Difference;
using Testing::PointsOf;

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
};

} // namespace

TEST_F(DrawingTools, DragsMakeLinesAndRectanglesWithTheMapsStyles) {
    Map.Options().DefaultPen()->SetColor(clTeal);
    Map.Options().DefaultBrush()->SetColor(clYellow);
    auto Line = Use<TLineTool>();
    Drag({{100, 50}, {120, 40}, {140, 30}});
    Click(60, 60); // press and release at one pixel: nothing
    ASSERT_EQ(Edit->ObjectCount(), 1);
    ASSERT_NE(dynamic_cast<TPolyline*>(Edit->Last()), nullptr);
    EXPECT_EQ(PointsOf(Edit->Last()), "0 0,20 10");
    EXPECT_EQ(Edit->Last()->Pen()->Color(), clTeal);

    auto Rect = Use<TRectTool>();
    Drag({{140, 70}, {90, 40}, {80, 30}}); // lower right to upper left
    Click(60, 60);
    ASSERT_EQ(Edit->ObjectCount(), 2);
    ASSERT_NE(dynamic_cast<TRectangle*>(Edit->Last()), nullptr);
    EXPECT_EQ(PointsOf(Edit->Last()), "20 -10,-10 10");
    EXPECT_EQ(Edit->Last()->Brush()->Color(), clYellow);
}

TEST_F(DrawingTools, VerticesAreCollectedUntilADoubleClick) {
    auto Polyline = Use<TPolylineTool>();
    Click(100, 50);
    Map.MouseMove(0, 120, 50);
    Click(120, 50);
    DoubleClick(120, 70);
    ASSERT_EQ(Edit->ObjectCount(), 1);
    EXPECT_EQ(PointsOf(Edit->Last()), "0 0,10 0,10 -10") << "the second press is swallowed";
    DoubleClick(10, 10); // one point only
    EXPECT_EQ(Edit->ObjectCount(), 1);

    auto Region = Use<TRegionTool>();
    Figure({{100, 50}, {120, 50}});
    EXPECT_EQ(Edit->ObjectCount(), 1) << "two vertices make no region";
    Figure({{100, 50}, {120, 50}, {120, 30}});
    ASSERT_EQ(Edit->ObjectCount(), 2);
    ASSERT_NE(dynamic_cast<TRegion*>(Edit->Last()), nullptr);
    EXPECT_EQ(PointsOf(Edit->Last()), "0 0,10 0,10 10,0 0") << "the ring is stored closed";

    // Cancel erases the moving segment and drawing goes on from the last
    // vertex; another tool taking over drops the figure.
    Click(100, 50);
    Click(140, 50);
    Region->Cancel();
    Click(140, 30);
    EXPECT_EQ(Region->Points().Count(), 3);
    Polyline->SetActive(true);
    EXPECT_EQ(Region->Points().Count(), 0);
}

// A double click places one symbol: its second press is swallowed.
TEST_F(DrawingTools, ClicksPlaceSymbolsWithTheMapsSymbol) {
    Map.Options().SetDefaultSymbolShape(40);
    Map.Options().DefaultSymbolFont()->SetColor(clBlue);
    auto Tool = Use<TSymbolTool>();
    Click(110, 30);
    DoubleClick(60, 60);
    ASSERT_EQ(Edit->ObjectCount(), 2);
    auto* S = dynamic_cast<TSymbol*>(Edit->Objects(0));
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(std::tuple(S->X(), S->Y(), S->Shape(), S->Font()->Color()),
              std::tuple(5.0, 10.0, 40, clBlue));
}

TEST_F(DrawingTools, RubberBandsInvertAndLeaveNothingBehind) {
    PaintLandscape();
    const QImage Before = Map.Surface().copy();
    // Before with the pixels of each horizontal or vertical segment (end
    // excluded) inverted.
    auto Inverted = [&](std::vector<TRect> Segments) {
        QImage Expected = Before.copy();
        for (const TRect& S : Segments) {
            const int DX = (S.Right > S.Left) - (S.Right < S.Left);
            const int DY = (S.Bottom > S.Top) - (S.Bottom < S.Top);
            for (int X = S.Left, Y = S.Top; X != S.Right || Y != S.Bottom; X += DX, Y += DY)
                Expected.setPixel(X, Y, ~Expected.pixel(X, Y) | 0xFF000000u);
        }
        return Difference(Map.Surface(), Expected);
    };
    auto Region = Use<TRegionTool>();
    Click(20, 20);
    EXPECT_EQ(Inverted({}), "") << "a press draws nothing";
    Map.MouseMove(0, 60, 20);
    EXPECT_EQ(Inverted({{20, 20, 60, 20}}), "");
    Click(60, 20);
    Map.MouseMove(0, 90, 20); // two vertices, pointer on the fixed edge's line
    EXPECT_EQ(Inverted({{20, 20, 60, 20}, {60, 20, 90, 20}}), "") << "no closing edge";
    Map.MouseMove(0, 60, 70); // below the last vertex: still none
    EXPECT_EQ(Inverted({{20, 20, 60, 20}, {60, 20, 60, 70}}), "");
    Click(60, 70);
    Map.MouseMove(0, 20, 70); // the moving segment and the closing edge
    EXPECT_EQ(Inverted({{20, 20, 60, 20}, {60, 20, 60, 70}, {60, 70, 20, 70}, {20, 70, 20, 20}}),
              "");
    DoubleClick(20, 70);
    Deliver();
    const QImage Finished = Map.Surface().copy();
    Map.SetModified(true); // the picture as a full rebuild paints it
    Map.Invalidate();
    Deliver();
    EXPECT_EQ(Difference(Finished, Map.Surface()), "") << "edges of the figure left behind";

    auto Line = Use<TLineTool>();
    const QImage Plain = Map.Surface().copy();
    Drag({{30, 80}, {120, 10}, {150, 85}, {31, 81}});
    EXPECT_EQ(Difference(Map.Surface(), Plain), "") << "a one-pixel line was added at most";
}

// A gesture belongs to the tool that saw it begin: a tool switched on while
// the button is held neither draws nor finishes it, and a double click cut
// short by a switch does not swallow the first click after it.
TEST_F(DrawingTools, AGestureCutByASwitchOfToolIsLeftAlone) {
    auto Line = Use<TLineTool>();
    auto Pan = Use<TPanTool>();
    PaintLandscape();
    const QImage Plain = Map.Surface().copy();
    Map.MouseDown(mbLeft, ssLeft, 30, 30);
    Map.MouseMove(ssLeft, 60, 50);
    Line->SetActive(true); // a pan dropped mid-drag puts the picture back
    EXPECT_EQ(Difference(Map.Surface(), Plain), "");
    EXPECT_EQ(Pan->Snapshot().Width(), 1);
    Map.MouseMove(ssLeft, 90, 60);
    Map.MouseUp(mbLeft, 0, 90, 60);
    EXPECT_EQ(std::pair(Difference(Map.Surface(), Plain), Added), std::pair(std::string(), 0));
    Map.MouseDown(mbLeft, ssLeft, 30, 30);
    Map.MouseMove(ssLeft, 90, 60);
    ASSERT_NE(Difference(Map.Surface(), Plain), "");
    Pan->SetActive(true); // switched off mid-drag, the band goes with it
    EXPECT_EQ(Difference(Map.Surface(), Plain), "");

    auto Symbols = Use<TSymbolTool>();
    Click(40, 40);
    Map.DblClick();
    Pan->SetActive(true);
    Symbols->SetActive(true);
    Click(50, 50);
    EXPECT_EQ(Added, 2) << "the first click after a switch was swallowed";
}

// The leg to the pointer and the whole path at each press and move, in map
// units or geodesic metres; nothing added, a read-only map will do.
TEST_F(DrawingTools, TheMeasureToolReportsLegsAndTotals) {
    Edit->SetEditable(false);
    auto Tool = Use<TMeasureTool>();
    EXPECT_TRUE(Tool->GetEnabled());
    std::vector<std::pair<double, double>> Told; // (last leg, total)
    Tool->OnMeasure = [&](TMeasureTool& T) { Told.push_back({T.LastLeg(), T.Total()}); };
    Deliver();
    Map.MouseMove(0, 90, 40);  // no path yet: nothing to tell
    Click(100, 50);            // (0, 0)
    Map.MouseMove(0, 106, 42); // (3, 4)
    EXPECT_EQ(Testing::SurfacePixel(Map, 103, 46), clBlack) << "the leg shows inverted";
    Click(106, 42);
    Map.MouseMove(0, 106, 30); // (3, 10)
    DoubleClick(106, 30);
    EXPECT_EQ(Told, (std::vector<std::pair<double, double>>{
                        {0, 0}, {5, 5}, {0, 5}, {6, 11}, {0, 11}, {0, 11}}));
    EXPECT_EQ(std::pair(Added, Tool->Points().Count()), std::pair(0, 0));

    Tool->SetGeographic(true);
    Click(100, 50);            // (0°, 0°)
    Map.MouseMove(0, 102, 50); // (1°, 0°): a degree of the equator
    EXPECT_NEAR(Told.back().second, 111319.491, 0.001);
}
