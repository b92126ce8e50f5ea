// Lifetimes around a map: what handlers may look at while layers and objects
// go, parts replaced on a living map, tools moving between maps, and the map's
// own destruction.
#include "core/MapObjects.h"
#include "support/MapFixture.h"

#include <memory>
#include <string>
#include <vector>

using namespace Mapobjects;
using Platform::TObject;
using Testing::AddSquare;

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

// A map frees its layers first, while the rest of it is whole; objects freed
// with them announce nothing, and the selection is empty by then.
TEST(LifetimeOfMap, LayersGoWhileTheMapIsWhole) {
    Platform::TWinControl Form(nullptr);
    auto Map = std::make_unique<TChartix>(nullptr);
    Map->SetParent(&Form);
    AddSquare(Map->Layers().Add("", "A"), 0, 0, 10)->Select();
    AddSquare(Map->Layers().Add("", "B"), 20, 0, 10)->Select();
    std::vector<std::string> Seen;
    Map->OnBeforeDelLayer = [&](TChartix* M, TMapLayer* L, bool, bool&) {
        Seen.push_back(Platform::Format("%s %d %d", L->Name(), M->Selection().Count(),
                                        M->Options().DefaultSymbolShape()));
    };
    int Deleted = 0;
    Map->OnDeleteObject = [&](TObject*) { ++Deleted; };
    Map.reset();
    EXPECT_EQ(Seen, (std::vector<std::string>{"A 0 58", "B 0 58"}));
    EXPECT_EQ(Deleted, 0);
}
