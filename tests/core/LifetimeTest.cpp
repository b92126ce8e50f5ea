// Lifetimes around a map: parts replaced on a living map and handed back,
// objects taken off their layer, and the map's own destruction. (The
// sanitizer build reports any use of a freed map.)
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

struct CountingLink : TMapDataLink {
    int Heard = 0;
    void MapEvent(TMapDataLinkEvent, TObject*, int) override { ++Heard; }
};

} // namespace

// Replaced parts are the map's at once; the old ones, handed back, leave it
// and may outlive it without reaching it.
TEST(Lifetime, ReplacedPartsAreBoundAndTheOldOnesOutliveTheMap) {
    Platform::TWinControl Form(nullptr);
    auto Map = std::make_unique<TChartix>(nullptr);
    Map->SetParent(&Form);
    TMapLayer* L = Map->Layers().Add("", "A");
    TRegion* R = AddSquare(L, 0, 0, 10);
    R->Select();
    CountingLink Link;
    Link.SetMap(Map.get());
    TCustomMapTool Tool(nullptr);
    Tool.SetChartix(Map.get());

    auto Selection = Map->SetSelection(std::make_unique<TSelection>());
    auto Displayed = Map->SetDisplayed(std::make_unique<TMapObjectsList>());
    EXPECT_EQ(std::tuple(Map->Selection().Map(), Selection->Map(), Displayed->Map()),
              std::tuple(Map.get(), nullptr, nullptr));
    R->Select(); // the new selection announces and draws
    EXPECT_TRUE(R->GetSelected());

    // The old layer list, its layers and their objects leave the map, and
    // the selection lets their objects go.
    auto Layers = Map->SetLayers(std::make_unique<TMapLayers>());
    EXPECT_EQ(std::tuple(Map->Layers().Map(), Layers->Map(), L->Map(), R->Map()),
              std::tuple(Map.get(), nullptr, nullptr, nullptr));
    EXPECT_EQ(Map->Selection().Count(), 0);

    auto Links = Map->SetDataLinks(std::make_unique<TMapDataLinks>());
    auto Tools = Map->SetMapToolsManager(std::make_unique<TMapToolsManager>());
    EXPECT_EQ(std::tuple(Links->Map(), Link.Map()), std::tuple(nullptr, nullptr));
    EXPECT_EQ(std::tuple(Tool.Chartix(), Tool.MapToolsManager()), std::tuple(nullptr, nullptr));
    Map.reset();
    Layers.reset(); // tells nothing to the freed map
    Tools.reset();
    Links.reset();
}

// A map frees its layers first (as Clear does: a handler sees only the
// layers still there), while the rest of it is whole; objects freed
// with them announce nothing, to the host or its links, and the selection is
// empty by then.
TEST(Lifetime, LayersGoWhileTheMapIsWhole) {
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
    CountingLink Link;
    Link.SetMap(Map.get());
    Map.reset();
    EXPECT_EQ(Seen, (std::vector<std::string>{"A 1 0 58", "B 0 0 58"}));
    EXPECT_EQ(std::tuple(Deleted, Link.Heard, Link.Map()), std::tuple(0, 0, nullptr));
}

// An object taken off its layer keeps its map while the map lives (freeing it
// then still announces it), and loses it when the map goes first: freeing,
// moving or showing it afterwards reaches nothing of the freed map. An
// object that went on to another map's layer keeps that map.
TEST(Lifetime, ObjectsTakenOffTheirLayerOutliveTheMap) {
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

    Map.reset();
    EXPECT_EQ(std::tuple(Kept[0]->Map(), Kept[1]->Map(), Moved->Map()),
              std::tuple(nullptr, nullptr, &Other));
    Sprite->Move(5, 5);
    Sprite->SetVisible(false);
    Sprite->SetVisible(true);
    EXPECT_EQ(Sprite->X(), 5);
    EXPECT_FALSE(Kept[0]->GetSelected());
    for (auto& Object : Kept)
        Object.reset();
    EXPECT_EQ(Deleted, 1);
}
