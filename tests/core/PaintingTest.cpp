// Painting a map: the rebuild of its bitmap, events in order, updates, labels, selection marks.
#include "support/MapFixture.h"

#include <stdexcept>
#include <string>
#include <vector>

using namespace Mapobjects;
using namespace Platform;
using Testing::SurfacePixel;

namespace {

TRegion* Square(TMapLayer* L, double X, double Y, double Size, TColor Fill) {
    TRegion* R = Testing::AddSquare(L, X, Y, Size);
    R->Brush()->SetColor(Fill);
    R->Pen()->SetColor(Fill);
    return R;
}

// An object that fails while drawing, to test the clean-up of a rebuild.
struct FailingObject : TCustomMapObject {
    void Draw() override { throw std::runtime_error("draw failed"); }
};

struct SmoothPainting : Testing::ViewFixture {};

struct Painting : Testing::MapFixture {
    std::vector<std::string> Log;
    void Record() {
        Map.OnStartProgress = [&](TObject* S, int Min, int Max, const std::string& T) {
            EXPECT_EQ(S, &Map);
            Log.push_back(Format("start %d..%d '%s'", Min, Max, T));
        };
        Map.OnShowProgress = [&](TObject*, int P) { Log.push_back(Format("show %d", P)); };
        Map.OnStopProgress = [&](TObject*) { Log.push_back("stop"); };
        Map.OnUpdate = [&](TObject*) { Log.push_back("update"); };
        Map.OnPaint = [&](TObject*) {
            EXPECT_TRUE(Map.IsBusy()); // still drawing on the bitmap
            Log.push_back("paint");
        };
    }
};

} // namespace

TEST_F(Painting, EventsInOrderForEveryLayerAndUnchangedPaintsReuseTheBitmap) {
    Record();
    Map.SetColor(0x00336699);
    Map.Invalidate();
    Application()->ProcessMessages();
    EXPECT_TRUE(Log.empty()) << "an empty map paints only its background";
    EXPECT_EQ(SurfacePixel(Map, 359, 179), 0x00336699u);
    Map.Layers().Add("", "A");
    Map.Layers().Add("", "B")->SetVisible(false);
    Map.Layers().Add("", "C");
    Application()->ProcessMessages();
    const std::vector<std::string> Rebuild = {"start 0..2 ''", "show 0", "show 1", "show 2",
                                              "stop",          "update", "paint"};
    EXPECT_EQ(Log, Rebuild);
    Map.Invalidate(); // a window paint without a change
    Application()->ProcessMessages();
    EXPECT_EQ(Log.size(), 7u);
    Map.DoUpdate(true);
    Application()->ProcessMessages();
    EXPECT_EQ(std::vector<std::string>(Log.begin() + 7, Log.end()), Rebuild);
}

TEST_F(Painting, UpdatesAreSuspendedByAFlagNotACounter) {
    Map.Layers().Add("", "A");
    Application()->ProcessMessages();
    Record();
    int Paints = Map.PaintCount();
    Map.BeginUpdate();
    Map.BeginUpdate();
    Map.SetCenterX(10);
    Map.SetZoom(2);
    Application()->ProcessMessages();
    EXPECT_EQ(Map.PaintCount(), Paints);
    Map.EndUpdate(false);
    Application()->ProcessMessages();
    EXPECT_TRUE(Log.empty()); // nothing invalidated yet
    EXPECT_TRUE(Map.Modified());
    Map.BeginUpdate();
    Map.EndUpdate(true); // one EndUpdate ends any number of BeginUpdates
    Application()->ProcessMessages();
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "update"), 1);
    EXPECT_FALSE(Map.Modified());
}

TEST_F(Painting, LaterObjectsCoverEarlierOnesLayersStackUpwardAndOnlyTheViewIsListed) {
    TMapLayer* Bottom = Map.Layers().Add("", "Bottom");
    TMapLayer* Top = Map.Layers().Add("", "Top");
    Square(Bottom, -10, -10, 20, clRed);
    Square(Bottom, -5, -5, 10, clLime);
    Square(Top, 0, 0, 3, clBlue);
    Square(Bottom, 100, 50, 5, clRed);
    Application()->ProcessMessages();
    EXPECT_EQ(SurfacePixel(Map, 180 - 8, 90 + 8), clRed);
    EXPECT_EQ(SurfacePixel(Map, 180 - 3, 90 + 3), clLime);
    EXPECT_EQ(SurfacePixel(Map, 181, 89), clBlue);
    ASSERT_EQ(Map.Displayed().Count(), 4);
    EXPECT_EQ(Map.Displayed().Get(3)->Layer(), Top);
    TBitmap Copy;
    Map.AssignToBitmap(&Copy);
    EXPECT_EQ(std::tuple(Copy.Width(), Copy.Height()), std::tuple(360, 180));
    EXPECT_EQ(Copy.Canvas()->Pixel(181, 89), clBlue);

    Map.SetZoom(8); // view is 45 x 22.5 around the centre
    Application()->ProcessMessages();
    EXPECT_EQ(Map.Displayed().Count(), 3);
}

TEST_F(Painting, CanvasIsTheBitmapOnlyWhileRebuildingAndFailuresResetBusy) {
    TMapLayer* L = Map.Layers().Add("", "A");
    TCanvas* During = nullptr;
    Map.OnUpdate = [&](TObject*) { During = Map.Canvas(); };
    Application()->ProcessMessages();
    EXPECT_EQ(During, Map.MapCanvas());
    EXPECT_NE(Map.Canvas(), Map.MapCanvas());

    // A failure keeps the bitmap stale.
    Map.BeginUpdate();
    L->NewObject<FailingObject>()->Parts().Add()->Points().Add(0, 0);
    Map.EndUpdate(true);
    EXPECT_THROW(Application()->ProcessMessages(), std::runtime_error);
    EXPECT_FALSE(Map.IsBusy());
    EXPECT_TRUE(Map.Modified());
    EXPECT_EQ(Map.Canvas(), static_cast<TCustomControl&>(Map).Canvas());
}

TEST_F(Painting, AutoLabelIsCentredOnAWhollyVisibleObjectOfAValidField) {
    TMapLayer* L = Map.Layers().Add("", "A");
    L->Fields().Add("NAME", dtString, 10);
    L->AutoLabelFont()->SetColor(clRed);
    L->AutoLabelFont()->SetSize(12);
    // White on white: only the labels show. The second runs past the right edge.
    Square(L, 20, 20, 20, clWhite)->Fields().GetFields(0)->SetAsString("WWWW");
    Square(L, 170, 20, 20, clWhite)->Fields().GetFields(0)->SetAsString("OUT");
    L->SetAutoLabel(true);
    L->SetLabelFieldIndex(1); // equal to the field count
    Application()->ProcessMessages();
    EXPECT_EQ(Testing::FindInk(Map.Canvas(), clRed).Count, 0);
    L->SetLabelFieldIndex(0);
    Map.DoUpdate();
    Application()->ProcessMessages();
    const QRect Label = Testing::FindInk(Map.Canvas(), clRed).Box;
    ASSERT_FALSE(Label.isEmpty()) << "no label drawn";
    // The first square's centre (30, 30) is pixel (210, 60); nothing near the
    // second one's at (355, 60).
    EXPECT_NEAR((Label.left() + Label.right()) / 2.0, 210, 3);
    EXPECT_NEAR((Label.top() + Label.bottom()) / 2.0, 60, 5);
    EXPECT_LT(Label.right(), 330);
}

// The map's option reaches both canvases its objects draw on (the smoothing
// itself is the canvas's, checked pixel by pixel there).
TEST_F(SmoothPainting, AntialiasingOptionReachesTheCanvasesObjectsDrawOn) {
    Map.Options().SetAntialiasing(true);
    Rebuild();
    EXPECT_TRUE(Map.MapBitmap()->Canvas()->Antialiasing() && Map.Canvas()->Antialiasing());
}
