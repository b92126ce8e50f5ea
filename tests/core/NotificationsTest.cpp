// What a map tells its host and its links, operation by operation: whole
// streams of events, link notifications, repaint requests and selection
// marks, compared line by line.
#include "support/MapFixture.h"

#include <functional>
#include <string>
#include <vector>

using namespace Mapobjects;
using Platform::Application;
using Testing::TLines;

namespace {

// Layers A (o1, o2) and B (o3) on a painted 200 x 100 view of -100..100 x
// -50..50; the recorder watches the middle of o1 for its marks.
struct TScene {
    Testing::TRecorder Rec; // outlives the map, whose end still calls it
    Platform::TWinControl Form{nullptr};
    TChartix Map{nullptr};
    TMapLayer* A = nullptr;
    TMapLayer* B = nullptr;
    TRegion *O1 = nullptr, *O2 = nullptr, *O3 = nullptr;

    TScene() {
        Map.SetParent(&Form);
        Map.SetBounds(0, 0, 200, 100);
        Map.SetMinX(-100);
        Map.SetMaxX(100);
        Map.SetMinY(-50);
        Map.SetMaxY(50);
        Map.SetColor(Platform::clWhite);
        A = Map.Layers().Add("", "A");
        B = Map.Layers().Add("", "B");
        O1 = Square(A, -90, -40, 1);
        O2 = Square(A, 0, 0, 2);
        O3 = Square(B, 50, 0, 3);
        Application()->ProcessMessages();
        Rec.Attach(Map);
        Rec.Watch(QPoint(20, 80)); // map (-80, -30): inside o1 only
    }
    static TRegion* Square(TMapLayer* L, double X, double Y, int Tag) {
        TRegion* R = Testing::AddSquare(L, X, Y, 20);
        R->SetTag(Tag);
        return R;
    }
};

struct TCase {
    const char* Name;
    std::function<void(TScene&)> Setup; // painted before the stream starts
    std::function<void(TScene&)> Operation;
    TLines Expected;
    std::function<void(TScene&)> After = nullptr;
};

void RunCases(const std::vector<TCase>& Cases) {
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TScene S;
        if (C.Setup) C.Setup(S);
        Application()->ProcessMessages();
        S.Rec.Reset();
        C.Operation(S);
        EXPECT_EQ(S.Rec.Lines(), C.Expected);
        if (C.After) C.After(S);
    }
}

} // namespace

TEST(Notifications, LayerListOperations) {
    RunCases({
        {"Add",
         nullptr,
         [](TScene& S) { S.Map.Layers().Add("", "C"); },
         {"OnAddLayer(C)", "mdlAfterAddLayer(C)"}},
        {"Insert", nullptr, [](TScene& S) { S.Map.Layers().Insert("", 0); }, {"OnAddLayer()"}},
        {"Delete of an empty layer",
         [](TScene& S) { S.Map.Layers().Add("", "C"); },
         [](TScene& S) { S.Map.Layers().Delete(2); },
         {"OnBeforeDelLayer(C,confirm)", "mdlDelLayer(C)", "OnBeforeDelLayer(C)", "repaint",
          "OnAfterDelLayer(map)", "mdlAfterDelLayer(layers)"}},
        {"Delete of a layer with objects",
         nullptr,
         [](TScene& S) { S.Map.Layers().Delete(0); },
         {"OnBeforeDelLayer(A,confirm)", "mdlDelLayer(A)", "OnBeforeDelLayer(A)",
          "OnDeleteObject(o2)", "mdlRemoveObject(o2)", "repaint", "OnDeleteObject(o1)",
          "mdlRemoveObject(o1)", "OnAfterDelLayer(map)", "mdlAfterDelLayer(layers)"}},
        {"Delete refused",
         [](TScene& S) { S.Rec.RefuseLayerDelete = true; },
         [](TScene& S) { S.Map.Layers().Delete(0); },
         {"OnBeforeDelLayer(A,confirm)"},
         [](TScene& S) { EXPECT_EQ(S.Map.Layers().Get(0), S.A); }},
        {"Clear",
         nullptr,
         [](TScene& S) { S.Map.Layers().Clear(); },
         {"OnBeforeDelLayer(A)", "OnDeleteObject(o2)", "mdlRemoveObject(o2)", "repaint",
          "OnDeleteObject(o1)", "mdlRemoveObject(o1)", "OnBeforeDelLayer(B)", "OnDeleteObject(o3)",
          "mdlRemoveObject(o3)"}},
        {"Move",
         nullptr,
         [](TScene& S) { S.Map.Layers().Move(0, 1); },
         {"repaint", "mdlMoveLayer(A)"}},
        {"Exchange",
         nullptr,
         [](TScene& S) { S.Map.Layers().Exchange(0, 1); },
         {"repaint", "mdlExchangeLayer(layers)"}},
    });
}

TEST(Notifications, LayerSwitchesAndZoom) {
    RunCases({
        {"hiding prunes the selection first, one pair each, marks erased at once",
         [](TScene& S) {
             S.O1->Select();
             S.O3->Select();
             S.O2->Select();
         },
         [](TScene& S) { S.A->SetVisible(false); },
         {"OnDelSelection(o2)", "mdlDelSelection(o2)", "OnUpdate(map)", "OnDelSelection(o1)",
          "marks off", "mdlDelSelection(o1)", "OnUpdate(map)", "repaint",
          "mdlLayerVisibleChanged(A)"},
         [](TScene& S) { EXPECT_EQ(S.Map.Selection().Get(0), S.O3); }},
        {"unselectable",
         [](TScene& S) { S.O1->Select(); },
         [](TScene& S) { S.A->SetSelectable(false); },
         {"OnDelSelection(o1)", "marks off", "mdlDelSelection(o1)", "OnUpdate(map)",
          "mdlLayerSelectableChanged(A)"}},
        {"editable takes over",
         [](TScene& S) { S.A->SetEditable(true); },
         [](TScene& S) { S.B->SetEditable(true); },
         {"mdlLayerEditableChanged(A)", "mdlLayerEditableChanged(B)"}},
        {"auto label",
         nullptr,
         [](TScene& S) { S.A->SetAutoLabel(true); },
         {"mdlLayerAutolabelChanged(A)", "repaint"}},
        {"auto label unchanged", nullptr, [](TScene& S) { S.A->SetAutoLabel(false); }, {}},
        {"SetZoom: the repaint request first",
         nullptr,
         [](TScene& S) { S.Map.SetZoom(2); },
         {"repaint", "OnZoom(map)"}},
        {"SetZoom unchanged", nullptr, [](TScene& S) { S.Map.SetZoom(1); }, {}},
    });
}

TEST(Notifications, ObjectsComingAndGoing) {
    RunCases({
        {"AddObject notifying: painted at once, no repaint",
         nullptr,
         [](TScene& S) {
             auto* R = new TRegion();
             R->SetTag(9);
             S.A->AddObject(R, true);
         },
         {"OnAddObject(o9)", "mdlAddObject(A)"},
         [](TScene& S) { EXPECT_TRUE(S.Map.Modified()); }},
        {"NewObject", nullptr, [](TScene& S) { S.A->NewObject<TRegion>(); }, {"mdlAddObject(A)"}},
        {"DeleteObject of a selected object",
         [](TScene& S) { S.O1->Select(); },
         [](TScene& S) { S.A->DeleteObject(0); },
         {"OnBeforeRemoveObject(o1)", "OnDelSelection(o1)", "marks off", "mdlDelSelection(o1)",
          "OnUpdate(map)", "OnDeleteObject(o1)", "mdlRemoveObject(o1)", "repaint",
          "OnAfterRemoveObject(map)"}},
        {"DeleteObject(-1) deletes and tells nothing",
         nullptr,
         [](TScene& S) { S.A->DeleteObject(-1); },
         {"repaint"}},
        {"DeleteObjects offers all first, tells once after",
         [](TScene& S) { S.O1->Select(); },
         [](TScene& S) { S.A->DeleteObjects(); },
         {"OnBeforeRemoveObject(o2)", "OnBeforeRemoveObject(o1)", "OnDeleteObject(o2)",
          "mdlRemoveObject(o2)", "repaint", "OnDelSelection(o1)", "marks off",
          "mdlDelSelection(o1)", "OnUpdate(map)", "OnDeleteObject(o1)", "mdlRemoveObject(o1)",
          "OnAfterRemoveObject(map)"}},
        {"DeleteObjects of an empty layer",
         [](TScene& S) { S.Map.Layers().Add("", "C"); },
         [](TScene& S) { S.Map.Layers().Get(2)->DeleteObjects(); },
         {"repaint"}},
        {"deleting an object directly is no request",
         nullptr,
         [](TScene& S) { delete S.O2; },
         {"OnDeleteObject(o2)", "mdlRemoveObject(o2)", "repaint"}},
    });
}

TEST(Notifications, SelectionOperations) {
    auto Select = [](TRegion* TScene::*Which) {
        return [Which](TScene& S) { (S.*Which)->Select(); };
    };
    RunCases({
        {"Add: marks before the events",
         nullptr,
         [](TScene& S) { S.Map.Selection().Add(S.O1, false); },
         {"marks on", "OnAddSelection(o1)", "mdlAddSelection(o1)"}},
        {"Add of a selected object, even clearing first",
         Select(&TScene::O1),
         [](TScene& S) { S.Map.Selection().Add(S.O1, true); },
         {}},
        {"Add clearing first",
         Select(&TScene::O2),
         [](TScene& S) { S.Map.Selection().Add(S.O1, true); },
         {"OnDelSelection(o2)", "mdlDelSelection(o2)", "OnUpdate(map)", "marks on",
          "OnAddSelection(o1)", "mdlAddSelection(o1)"}},
        {"Remove: erased after the host event",
         Select(&TScene::O1),
         [](TScene& S) { S.Map.Selection().Remove(S.O1); },
         {"OnDelSelection(o1)", "marks off", "mdlDelSelection(o1)", "OnUpdate(map)"}},
        {"Remove of an object not selected",
         nullptr,
         [](TScene& S) { S.Map.Selection().Remove(S.O1); },
         {}},
        {"Delete tells what Remove tells",
         Select(&TScene::O1),
         [](TScene& S) { S.Map.Selection().Delete(0); },
         {"OnDelSelection(o1)", "marks off", "mdlDelSelection(o1)", "OnUpdate(map)"}},
        {"Clear: last first",
         [](TScene& S) {
             S.O1->Select();
             S.O2->Select();
         },
         [](TScene& S) { S.Map.Selection().Clear(); },
         {"OnDelSelection(o2)", "mdlDelSelection(o2)", "OnUpdate(map)", "OnDelSelection(o1)",
          "marks off", "mdlDelSelection(o1)", "OnUpdate(map)"}},
        {"Insert tells what Add tells",
         Select(&TScene::O2),
         [](TScene& S) { S.Map.Selection().Insert(S.O1, 0, false); },
         {"marks on", "OnAddSelection(o1)", "mdlAddSelection(o1)"},
         [](TScene& S) { EXPECT_EQ(S.Map.Selection().Get(0), S.O1); }},
        {"Insert of a selected object",
         Select(&TScene::O1),
         [](TScene& S) { S.Map.Selection().Insert(S.O1, 0, true); },
         {},
         [](TScene& S) { EXPECT_EQ(S.Map.Selection().Count(), 1); }},
        {"Add without fast selection",
         [](TScene& S) { S.Map.SetFastSelection(false); },
         [](TScene& S) { S.Map.Selection().Add(S.O1, false); },
         {"repaint", "OnAddSelection(o1)", "mdlAddSelection(o1)"}},
        {"Remove without fast selection",
         [](TScene& S) {
             S.Map.SetFastSelection(false);
             S.O1->Select();
         },
         [](TScene& S) { S.Map.Selection().Remove(S.O1); },
         {"OnDelSelection(o1)", "repaint", "mdlDelSelection(o1)"}},
        {"Add in an update",
         [](TScene& S) { S.Map.BeginUpdate(); },
         [](TScene& S) { S.Map.Selection().Add(S.O1, false); },
         {"OnAddSelection(o1)", "mdlAddSelection(o1)"},
         [](TScene& S) { EXPECT_TRUE(S.Map.Modified()); }},
        {"Remove in an update: the update's repaint shows it plain",
         [](TScene& S) {
             S.O1->Select();
             Application()->ProcessMessages();
             S.Map.BeginUpdate();
         },
         [](TScene& S) { S.Map.Selection().Remove(S.O1); },
         {"OnDelSelection(o1)", "mdlDelSelection(o1)", "OnUpdate(map)"},
         [](TScene& S) { EXPECT_TRUE(S.Map.Modified()); }},
    });
}

// The map binds its list of links as it binds its other parts.
TEST(Notifications, TheLinkListKnowsItsMap) {
    Testing::TRecorder Link; // outlives the map, whose end still calls it
    TChartix Map(nullptr);
    EXPECT_EQ(Map.DataLinks().Map(), &Map);
    Link.Attach(Map);
    std::unique_ptr<TMapDataLinks> Old = Map.SetDataLinks(nullptr);
    EXPECT_EQ(Map.DataLinks().Map(), &Map);
    EXPECT_EQ(Old->Map(), nullptr);
    EXPECT_EQ(Link.Map(), nullptr) << "a link of the list given up stays with it";
    Map.Layers().Add("", "A");
    EXPECT_EQ(Link.Lines(), TLines{"OnAddLayer(A)"});
}
