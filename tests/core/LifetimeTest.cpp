// Lifetimes around a map: what handlers may look at while layers and objects
// go, parts replaced on a living map, tools moving between maps, and the map's
// own destruction.
#include "core/MapObjects.h"
#include "objects/Sprite.h"
#include "support/MapFixture.h"

#include <memory>
#include <string>
#include <vector>

using namespace Mapobjects;
using Platform::TObject;
using Testing::AddSquare;

namespace {

// Every notification as text, host events and link notifications in one
// stream: "event:kind(name)" / "link:event(name)". Objects are named by Tag.
struct TJournal : TMapDataLink {
    std::vector<std::string> Lines;
    static std::string NameOf(TObject* O) {
        if (auto* Obj = dynamic_cast<TCustomMapObject*>(O)) {
            // A region still whole says so; a half-destroyed one has lost its kind.
            const char* Kind = dynamic_cast<TRegion*>(Obj) ? "region" : "object";
            return Platform::Format("%s %d", Kind, Obj->Tag());
        }
        if (auto* L = dynamic_cast<TMapLayer*>(O)) return L->Name();
        return "?";
    }
    void MapEvent(TMapDataLinkEvent Event, TObject* Sender, int) override {
        Lines.push_back(Platform::Format("link:%d(%s)", static_cast<int>(Event), NameOf(Sender)));
    }
    void Watch(TChartix& Map) {
        SetMap(&Map);
        Map.OnDelSelection = [this](TChartix*, TCustomMapObject* O) {
            Lines.push_back("event:delselection(" + NameOf(O) + ")");
        };
        Map.OnDeleteObject = [this](TObject* O) {
            Lines.push_back("event:delete(" + NameOf(O) + ")");
        };
    }
};

std::string Link(TMapDataLinkEvent E, const std::string& Name) {
    return Platform::Format("link:%d(%s)", static_cast<int>(E), Name);
}

// Numbered squares on a layer: Tag I, at (I * 20 - 90, -40) in the view.
std::vector<TRegion*> Squares(TMapLayer* L, int Count) {
    std::vector<TRegion*> Result;
    for (int I = 0; I < Count; ++I) {
        Result.push_back(AddSquare(L, I * 20 - 90, -40, 10));
        Result.back()->SetTag(I);
    }
    return Result;
}

struct Lifetime : Testing::ViewFixture {
    TJournal Journal;
    void TearDown() override { Journal.SetMap(nullptr); }
};

} // namespace

TEST_F(Lifetime, ADeletedObjectIsAnnouncedWhileWholeAndItsMarksGoAtOnce) {
    std::vector<TRegion*> R = Squares(Layer, 2);
    Platform::Application()->ProcessMessages();
    const Platform::TColor Plain = Testing::SurfacePixel(Map, 15, 85);
    R[0]->Select();
    ASSERT_NE(Testing::SurfacePixel(Map, 15, 85), Plain) << "no marks drawn";
    Journal.Watch(Map);
    Layer->DeleteObject(0);
    EXPECT_EQ(Journal.Lines, (std::vector<std::string>{
                                 "event:delselection(region 0)", Link(mdlDelSelection, "region 0"),
                                 "event:delete(region 0)", Link(mdlRemoveObject, "region 0")}));
    // Erased by the object itself, before any repaint is delivered.
    EXPECT_EQ(Testing::SurfacePixel(Map, 15, 85), Plain);
    EXPECT_EQ(Map.Displayed().Count(), 1);

    // Deleting it directly still unlinks it everywhere, only without its kind.
    R[1]->Select();
    Journal.Lines.clear();
    delete R[1];
    EXPECT_EQ(Layer->ObjectCount(), 0);
    EXPECT_EQ(Map.Selection().Count(), 0);
    EXPECT_EQ(Map.Displayed().Count(), 0);
    EXPECT_EQ(Journal.Lines.size(), 4u);
}

// Bulk deletion takes the objects out of the selection and Displayed at once
// but still announces each one, whole, last first, in the order a single one
// uses.
TEST_F(Lifetime, BulkDeletionAnnouncesEveryObjectLastFirst) {
    TMapLayer* Other = Map.Layers().Add("", "other");
    TRegion* Kept = AddSquare(Other, 50, 0, 10);
    std::vector<TRegion*> R = Squares(Layer, 3);
    Platform::Application()->ProcessMessages();
    ASSERT_EQ(Map.Displayed().Count(), 4);
    R[0]->Select();
    Kept->Select();
    R[2]->Select();
    Journal.Watch(Map);
    Layer->DeleteObjects();
    EXPECT_EQ(Journal.Lines, (std::vector<std::string>{
                                 "event:delselection(region 2)", Link(mdlDelSelection, "region 2"),
                                 "event:delete(region 2)", Link(mdlRemoveObject, "region 2"),
                                 "event:delete(region 1)", Link(mdlRemoveObject, "region 1"),
                                 "event:delselection(region 0)", Link(mdlDelSelection, "region 0"),
                                 "event:delete(region 0)", Link(mdlRemoveObject, "region 0")}));
    EXPECT_EQ(Layer->ObjectCount(), 0);
    EXPECT_EQ(Map.Selection().Count(), 1);
    EXPECT_EQ(Map.Selection().Get(0), Kept);
    ASSERT_EQ(Map.Displayed().Count(), 1);
    EXPECT_EQ(Map.Displayed().Get(0), Kept);
}

TEST_F(Lifetime, ReplacedPartsAreBoundToTheMap) {
    std::vector<TRegion*> R = Squares(Layer, 1);
    auto OldSelection = Map.SetSelection(std::make_unique<TSelection>());
    auto OldDisplayed = Map.SetDisplayed(std::make_unique<TMapObjectsList>());
    EXPECT_EQ(Map.Selection().Map(), &Map);
    EXPECT_EQ(Map.Displayed().Map(), &Map);
    EXPECT_EQ(OldSelection->Map(), nullptr);
    EXPECT_EQ(OldDisplayed->Map(), nullptr);
    R[0]->Select(); // the new selection announces and draws
    EXPECT_TRUE(R[0]->GetSelected());
    Platform::Application()->ProcessMessages();
    EXPECT_EQ(Map.Displayed().Count(), 1);

    // Layers: the new list is the map's; the old one, its layers and their
    // objects leave the map, and the selection lets their objects go.
    auto OldLayers = Map.SetLayers(std::make_unique<TMapLayers>());
    EXPECT_EQ(Map.Layers().Map(), &Map);
    EXPECT_EQ(OldLayers->Map(), nullptr);
    EXPECT_EQ(Layer->Map(), nullptr);
    EXPECT_EQ(R[0]->Map(), nullptr);
    EXPECT_EQ(Map.Selection().Count(), 0);
    EXPECT_EQ(Map.Displayed().Count(), 0);
    AddSquare(Map.Layers().Add("", "new"), 0, 0, 5)->Select();
    EXPECT_EQ(Map.Selection().Count(), 1);
}

// Parts handed back by the setters may outlive the map: destroying them then
// must not reach it (the sanitizer build reports any use of the freed map).
TEST(LifetimeOfParts, PartsHandedBackOutliveTheMap) {
    Platform::TWinControl Form(nullptr);
    auto Map = std::make_unique<TChartix>(nullptr);
    Map->SetParent(&Form);
    TMapLayer* L = Map->Layers().Add("", "A");
    AddSquare(L, 0, 0, 10)->Select();
    int LayerEvents = 0;
    Map->OnBeforeDelLayer = [&](TChartix*, TMapLayer*, bool, bool&) { ++LayerEvents; };
    TJournal Link;
    Link.SetMap(Map.get());
    TCustomMapTool Tool(nullptr);
    Tool.SetChartix(Map.get());

    auto Layers = Map->SetLayers(std::make_unique<TMapLayers>());
    auto Links = Map->SetDataLinks(std::make_unique<TMapDataLinks>());
    auto Tools = Map->SetMapToolsManager(std::make_unique<TMapToolsManager>());
    auto Selection = Map->SetSelection(std::make_unique<TSelection>());
    EXPECT_EQ(Links->Map(), nullptr);
    EXPECT_EQ(Link.Map(), nullptr);
    EXPECT_EQ(Tool.Chartix(), nullptr);
    EXPECT_EQ(Tool.MapToolsManager(), nullptr);
    EXPECT_EQ(Selection->Count(), 0);
    Map.reset();
    Layers.reset();
    EXPECT_EQ(LayerEvents, 0) << "a layer that left the map told it of its end";
    Tools.reset();
    Links.reset();
    Selection.reset();
    Link.SetMap(nullptr);
}

TEST(LifetimeOfTools, AToolMovedToAnotherMapOutlivesTheFirst) {
    auto A = std::make_unique<TChartix>(nullptr);
    TChartix B(nullptr);
    TCustomMapTool Tool(nullptr);
    Tool.SetChartix(A.get());
    Tool.SetChartix(&B);
    EXPECT_EQ(A->MapToolsManager().Count(), 0);
    EXPECT_EQ(B.MapToolsManager().Count(), 1);
    A.reset();
    EXPECT_EQ(Tool.Chartix(), &B);
    EXPECT_EQ(Tool.MapToolsManager(), &B.MapToolsManager());
    Tool.SetActive(true);
    EXPECT_EQ(B.MapToolsManager().GetActiveMapTool(), &Tool);
}

// A map frees its layers first (as Clear does: a handler sees only the
// layers still there), while the rest of it is whole; objects freed
// with them announce nothing, to the host or its links, and the selection is
// empty by then.
TEST(LifetimeOfMap, LayersGoWhileTheMapIsWhole) {
    Platform::TWinControl Form(nullptr);
    auto Map = std::make_unique<TChartix>(nullptr);
    Map->SetParent(&Form);
    AddSquare(Map->Layers().Add("", "A"), 0, 0, 10)->Select();
    AddSquare(Map->Layers().Add("", "B"), 20, 0, 10)->Select();
    std::vector<std::string> Seen;
    Map->OnBeforeDelLayer = [&](TChartix* M, TMapLayer* L, bool, bool&) {
        Seen.push_back(Platform::Format("%s %d %d %d", L->Name(), M->Layers().Count(),
                                        M->Selection().Count(), M->Options().DefaultSymbolShape()));
    };
    int Deleted = 0;
    Map->OnDeleteObject = [&](TObject*) { ++Deleted; };
    TJournal Link;
    Link.SetMap(Map.get());
    Map.reset();
    EXPECT_EQ(Seen, (std::vector<std::string>{"A 1 0 58", "B 0 0 58"}));
    EXPECT_EQ(Deleted, 0);
    EXPECT_EQ(Link.Lines, std::vector<std::string>{});
    EXPECT_EQ(Link.Map(), nullptr);
}

// An object taken off its layer keeps its map while the map lives (freeing it
// then still announces it), and loses it when the map goes first: freeing,
// moving or showing it afterwards reaches nothing of the freed map (the
// sanitizer build reports any use of it). An object that went on to another
// map's layer keeps that map.
TEST(LifetimeOfObjects, ObjectsTakenOffTheirLayerOutliveTheMap) {
    Platform::TWinControl Form(nullptr);
    auto Map = std::make_unique<TChartix>(nullptr);
    Map->SetParent(&Form);
    Map->SetBounds(0, 0, 200, 100);
    TChartix Other(nullptr);
    TMapLayer* L = Map->Layers().Add("", "A");
    TRegion* Region = AddSquare(L, 0, 0, 10);
    TRegion* Moved = AddSquare(L, 20, 0, 10);
    TRegion* Freed = AddSquare(L, 40, 0, 10);
    auto* Sprite = L->NewObject<TSprite>();
    Platform::TBitmap Glyph;
    Glyph.SetSize(4, 4);
    Sprite->SetGlyph(&Glyph);
    Platform::Application()->ProcessMessages();
    Region->Select();
    int Deleted = 0;
    Map->OnDeleteObject = [&](TObject*) { ++Deleted; };

    std::unique_ptr<TCustomMapObject> Kept[] = {L->RemoveObject(Region), L->RemoveObject(Sprite)};
    Other.Layers().Add("", "B")->AddObject(L->RemoveObject(Moved), false);
    L->RemoveObject(Freed).reset();
    EXPECT_EQ(Deleted, 1) << "an object taken off and freed is announced";
    EXPECT_EQ(Kept[0]->Map(), Map.get());
    EXPECT_EQ(Moved->Map(), &Other);

    Map.reset();
    EXPECT_EQ(Kept[0]->Map(), nullptr);
    EXPECT_EQ(Kept[1]->Map(), nullptr);
    EXPECT_EQ(Moved->Map(), &Other);
    Sprite->Move(5, 5);
    Sprite->SetVisible(false);
    Sprite->SetVisible(true);
    EXPECT_EQ(Sprite->X(), 5);
    EXPECT_FALSE(Kept[0]->GetSelected());
    for (auto& Object : Kept)
        Object.reset();
    EXPECT_EQ(Deleted, 1);
}
