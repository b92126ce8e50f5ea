#include "support/MapFixture.h"

#include "objects/Polys.h"
#include "platform/Dialogs.h"

#include <stdexcept>
#include <string>
#include <vector>

using namespace Mapobjects;
using Platform::Application;
using Platform::TColor;
using Testing::MapFixture;

namespace {

TRegion* AddSquare(TMapLayer* L, double X, double Y, double Size, TColor Fill) {
    auto* R = L->NewObject<TRegion>();
    R->Brush()->SetColor(Fill);
    R->Pen()->SetColor(Fill);
    TPart* P = R->Parts().Add();
    P->Points().Add(X, Y);
    P->Points().Add(X + Size, Y);
    P->Points().Add(X + Size, Y + Size);
    P->Points().Add(X, Y + Size);
    P->Points().Add(X, Y);
    return R;
}

TColor SurfacePixel(TChartix& Map, int X, int Y) {
    return Platform::FromQColor(QColor(Map.Surface().pixel(X, Y)));
}

// An object that fails while drawing, to test the clean-up of a rebuild.
struct FailingObject : TCustomMapObject {
    void Draw() override { throw std::runtime_error("draw failed"); }
};

} // namespace

struct Painting : MapFixture {
    std::vector<std::string> Log;
    void Record() {
        Map.OnStartProgress = [&](Platform::TObject* S, int Min, int Max, const std::string& T) {
            EXPECT_EQ(S, &Map);
            Log.push_back("start " + std::to_string(Min) + ".." + std::to_string(Max) + " '" + T + "'");
        };
        Map.OnShowProgress = [&](Platform::TObject*, int P) { Log.push_back("show " + std::to_string(P)); };
        Map.OnStopProgress = [&](Platform::TObject*) { Log.push_back("stop"); };
        Map.OnUpdate = [&](Platform::TObject*) { Log.push_back("update"); };
        Map.OnPaint = [&](Platform::TObject*) {
            EXPECT_TRUE(Map.IsBusy()); // still drawing on the bitmap
            Log.push_back("paint");
        };
    }
};

TEST_F(Painting, EmptyMapPaintsOnlyItsBackgroundAndFiresNothing) {
    Record();
    Map.SetColor(0x00336699);
    Map.Invalidate();
    Application()->ProcessMessages();
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(SurfacePixel(Map, 0, 0), 0x00336699u);
    EXPECT_EQ(SurfacePixel(Map, 359, 179), 0x00336699u);
    EXPECT_FALSE(Map.IsBusy());
}

TEST_F(Painting, EventsAndProgressInOrderForEveryLayerVisibleOrNot) {
    Map.Layers().Add("", "A");
    Map.Layers().Add("", "B")->SetVisible(false);
    Map.Layers().Add("", "C");
    Record();
    Application()->ProcessMessages();
    EXPECT_EQ(Log, (std::vector<std::string>{"start 0..2 ''", "show 0", "show 1", "show 2", "stop", "update",
                                              "paint"}));
}

TEST_F(Painting, PaintsWithoutChangeReuseTheBitmap) {
    Map.Layers().Add("", "A");
    Record();
    Application()->ProcessMessages();
    EXPECT_EQ(Log.size(), 5u);
    Map.Invalidate(); // a window paint without a change
    Application()->ProcessMessages();
    EXPECT_EQ(Log.size(), 5u);
    Map.DoUpdate(true);
    Application()->ProcessMessages();
    EXPECT_EQ(Log.size(), 10u);
}

TEST_F(Painting, UpdatesCanBeSuspendedByAFlagNotACounter) {
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

TEST_F(Painting, PaintDuringAnUpdateDrawsNothing) {
    TMapLayer* L = Map.Layers().Add("", "A");
    Application()->ProcessMessages();
    Map.BeginUpdate();
    AddSquare(L, -170, 70, 10, Platform::clRed);
    Map.Invalidate();
    Application()->ProcessMessages();
    EXPECT_NE(SurfacePixel(Map, 15, 15), Platform::clRed);
    Map.EndUpdate(true);
    Application()->ProcessMessages();
    EXPECT_EQ(SurfacePixel(Map, 15, 15), Platform::clRed);
}

TEST_F(Painting, LaterObjectsCoverEarlierOnesAndLayersStackUpward) {
    TMapLayer* Bottom = Map.Layers().Add("", "Bottom");
    TMapLayer* Top = Map.Layers().Add("", "Top");
    AddSquare(Bottom, -10, -10, 20, Platform::clRed);
    AddSquare(Bottom, -5, -5, 10, Platform::clLime);
    AddSquare(Top, 0, 0, 3, Platform::clBlue);
    Application()->ProcessMessages();
    EXPECT_EQ(SurfacePixel(Map, 180 - 8, 90 + 8), Platform::clRed);
    EXPECT_EQ(SurfacePixel(Map, 180 - 3, 90 + 3), Platform::clLime);
    EXPECT_EQ(SurfacePixel(Map, 181, 89), Platform::clBlue);
    ASSERT_EQ(Map.Displayed().Count(), 3);
    EXPECT_EQ(Map.Displayed().Get(2)->Layer(), Top);
}

TEST_F(Painting, ObjectsOutsideTheViewAreNotDrawnOrListed) {
    TMapLayer* L = Map.Layers().Add("", "A");
    AddSquare(L, -10, -10, 5, Platform::clRed);
    AddSquare(L, 100, 50, 5, Platform::clRed);
    Map.SetZoom(8); // view is 45 x 22.5 around the centre
    Application()->ProcessMessages();
    EXPECT_EQ(Map.Displayed().Count(), 1);
}

TEST_F(Painting, AddingAnObjectOutsideAnUpdatePaintsItAtOnce) {
    TMapLayer* L = Map.Layers().Add("", "A");
    Application()->ProcessMessages();
    auto* R = new TRegion();
    TPart* P = R->Parts().Add();
    for (auto [X, Y] : {std::pair{-170.0, 70.0}, {-160.0, 70.0}, {-160.0, 80.0}, {-170.0, 80.0}, {-170.0, 70.0}})
        P->Points().Add(X, Y);
    Map.Options().DefaultBrush()->SetColor(Platform::clRed);
    L->AddObject(R, false); // drawn straight onto the window
    EXPECT_EQ(SurfacePixel(Map, 15, 15), Platform::clRed);
    EXPECT_EQ(Map.Displayed().Count(), 1);
    EXPECT_TRUE(Map.Modified());
}

TEST_F(Painting, FailureDuringRebuildResetsBusyAndKeepsTheBitmapStale) {
    TMapLayer* L = Map.Layers().Add("", "A");
    Map.BeginUpdate();
    auto* F = L->NewObject<FailingObject>();
    TPart* P = F->Parts().Add();
    P->Points().Add(0, 0);
    Map.EndUpdate(true);
    EXPECT_THROW(Application()->ProcessMessages(), std::runtime_error);
    EXPECT_FALSE(Map.IsBusy());
    EXPECT_TRUE(Map.Modified());
    EXPECT_EQ(Map.Canvas(), static_cast<Platform::TCustomControl&>(Map).Canvas());
}

TEST_F(Painting, CanvasIsTheBitmapOnlyWhileRebuilding) {
    Platform::TCanvas* During = nullptr;
    Map.Layers().Add("", "A");
    Map.OnUpdate = [&](Platform::TObject*) { During = Map.Canvas(); };
    Application()->ProcessMessages();
    EXPECT_EQ(During, Map.MapCanvas());
    EXPECT_NE(Map.Canvas(), Map.MapCanvas());
}

TEST_F(Painting, AssignToBitmapCopiesTheMapBitmap) {
    TMapLayer* L = Map.Layers().Add("", "A");
    AddSquare(L, -10, -10, 20, Platform::clRed);
    Application()->ProcessMessages();
    Platform::TBitmap Copy;
    Map.AssignToBitmap(&Copy);
    EXPECT_EQ(Copy.Width(), 360);
    EXPECT_EQ(Copy.Height(), 180);
    EXPECT_EQ(Copy.Canvas()->Pixel(180, 90), Platform::clRed);
}

TEST_F(Painting, GeneralizationSettersRepaintOnlyOnChange) {
    Application()->ProcessMessages();
    Map.SetModified(false);
    Map.SetUseGeneralization(true);
    Map.SetGeneralizationLevel(1);
    EXPECT_FALSE(Map.Modified());
    Map.SetGeneralizationLevel(3);
    EXPECT_TRUE(Map.Modified());
    Map.SetModified(false);
    Map.SetEasyDraw(false); // stores and repaints without a change test
    EXPECT_TRUE(Map.Modified());
}

TEST_F(Painting, AutoLabelIsCentredOnItsObject) {
    TMapLayer* L = Map.Layers().Add("", "A");
    L->Fields().Add("NAME", dtString, 10);
    L->AutoLabelFont()->SetColor(Platform::clRed);
    L->AutoLabelFont()->SetSize(12);
    auto* R = AddSquare(L, 20, 20, 20, Platform::clWhite); // white on white: only the label shows
    R->Fields().GetFields(0)->SetAsString("WWWW");
    L->SetAutoLabel(true);
    Application()->ProcessMessages();
    int MinX = 1000, MaxX = -1, MinY = 1000, MaxY = -1;
    for (int Y = 0; Y < 180; ++Y)
        for (int X = 0; X < 360; ++X)
            if (SurfacePixel(Map, X, Y) == Platform::clRed) {
                MinX = std::min(MinX, X);
                MaxX = std::max(MaxX, X);
                MinY = std::min(MinY, Y);
                MaxY = std::max(MaxY, Y);
            }
    ASSERT_GE(MaxX, 0) << "no label drawn";
    // The square's centre (30, 30) is pixel (210, 60).
    EXPECT_NEAR((MinX + MaxX) / 2.0, 210, 3);
    EXPECT_NEAR((MinY + MaxY) / 2.0, 60, 5);
}

TEST_F(Painting, NoLabelForBadFieldIndexOrPartlyHiddenObject) {
    TMapLayer* L = Map.Layers().Add("", "A");
    L->Fields().Add("NAME", dtString, 10);
    L->AutoLabelFont()->SetColor(Platform::clRed);
    auto* Inside = AddSquare(L, 20, 20, 20, Platform::clWhite);
    auto* Outside = AddSquare(L, 170, 20, 20, Platform::clWhite); // runs past the right edge
    Inside->Fields().GetFields(0)->SetAsString("IN");
    Outside->Fields().GetFields(0)->SetAsString("OUT");
    L->SetAutoLabel(true);
    L->SetLabelFieldIndex(1); // equal to the field count
    Application()->ProcessMessages();
    auto RedCount = [&] {
        int N = 0;
        for (int Y = 0; Y < 180; ++Y)
            for (int X = 0; X < 360; ++X) N += SurfacePixel(Map, X, Y) == Platform::clRed;
        return N;
    };
    EXPECT_EQ(RedCount(), 0);
    L->SetLabelFieldIndex(0);
    Map.DoUpdate();
    Application()->ProcessMessages();
    int WithInside = RedCount();
    EXPECT_GT(WithInside, 0);
    for (int Y = 0; Y < 180; ++Y) // nothing near the outside object's centre (355, 60)
        for (int X = 330; X < 360; ++X) EXPECT_NE(SurfacePixel(Map, X, Y), Platform::clRed);
}

TEST_F(Painting, FastSelectionMarksAreDrawnOverEveryCopy) {
    TMapLayer* L = Map.Layers().Add("", "A");
    auto* R = AddSquare(L, -10, -10, 20, Platform::clRed);
    Application()->ProcessMessages();
    TColor Plain = SurfacePixel(Map, 180, 90);
    R->Select(); // marks drawn at once on the window
    TColor Marked = SurfacePixel(Map, 180, 90);
    EXPECT_NE(Marked, Plain);
    Map.Invalidate();
    Application()->ProcessMessages(); // copy of the bitmap, then the marks again
    EXPECT_EQ(SurfacePixel(Map, 180, 90), Marked);
    EXPECT_EQ(Map.MapBitmap()->Canvas()->Pixel(180, 90), Plain); // never in the bitmap
    Map.Selection().Remove(R);
    EXPECT_EQ(SurfacePixel(Map, 180, 90), Plain);
}
