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

// The recorder, also telling when an object's removal is announced after
// its destructor has begun (it is then no longer a region).
struct TWholeRecorder : Testing::TRecorder {
    void MapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender, int Info) override {
        if (dynamic_cast<TCustomMapObject*>(Sender) && !dynamic_cast<TRegion*>(Sender))
            Note("not whole");
        TRecorder::MapEvent(Event, Sender, Info);
    }
};

// Layers A (o1, o2) and B (o3) on the painted view of ViewFixture; the
// recorder watches the middle of o1 for its marks.
struct TScene : Testing::ViewFixture {
    TWholeRecorder Rec;
    TMapLayer *A = nullptr, *B = nullptr;
    TRegion *O1 = nullptr, *O2 = nullptr, *O3 = nullptr;

    TScene() {
        SetUp();
        A = Layer;
        A->SetName("A");
        B = Map.Layers().Add("", "B");
        O1 = Square(A, -90, -40, 1);
        O2 = Square(A, 0, 0, 2);
        O3 = Square(B, 50, 0, 3);
        Application()->ProcessMessages();
        Rec.Attach(Map);
        Rec.Watch(QPoint(20, 80)); // map (-80, -30): inside o1 only
    }
    void TestBody() override {}
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
         {"repaint", "mdlMoveLayer(A)"},
         [](TScene& S) { EXPECT_EQ(S.Map.Layers().Get(1), S.A); }},
        {"Exchange",
         nullptr,
         [](TScene& S) { S.Map.Layers().Exchange(0, 1); },
         {"repaint", "mdlExchangeLayer(layers)"},
         [](TScene& S) { EXPECT_EQ(S.Map.Layers().Get(0), S.B); }},
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
        {"editable takes over",
         [](TScene& S) { S.A->SetEditable(true); },
         [](TScene& S) { S.B->SetEditable(true); },
         {"mdlLayerEditableChanged(A)", "mdlLayerEditableChanged(B)"}},
        {"auto label",
         nullptr,
         [](TScene& S) { S.A->SetAutoLabel(true); },
         {"mdlLayerAutolabelChanged(A)", "repaint"}},
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
        {"DeleteObjects offers all first, tells once after",
         [](TScene& S) { S.O1->Select(); },
         [](TScene& S) { S.A->DeleteObjects(); },
         {"OnBeforeRemoveObject(o2)", "OnBeforeRemoveObject(o1)", "OnDeleteObject(o2)",
          "mdlRemoveObject(o2)", "repaint", "OnDelSelection(o1)", "marks off",
          "mdlDelSelection(o1)", "OnUpdate(map)", "OnDeleteObject(o1)", "mdlRemoveObject(o1)",
          "OnAfterRemoveObject(map)"},
         [](TScene& S) { EXPECT_EQ(S.Map.Displayed().Get(0), S.O3); }},
        {"deleted directly: no request, announced from the base destructor",
         nullptr,
         [](TScene& S) { delete S.O2; },
         {"OnDeleteObject(o2)", "not whole", "mdlRemoveObject(o2)", "repaint"}},
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
        {"Remove: erased after the host event",
         Select(&TScene::O1),
         [](TScene& S) { S.Map.Selection().Remove(S.O1); },
         {"OnDelSelection(o1)", "marks off", "mdlDelSelection(o1)", "OnUpdate(map)"}},
        {"Clear: last first",
         [](TScene& S) {
             S.O1->Select();
             S.O2->Select();
         },
         [](TScene& S) { S.Map.Selection().Clear(); },
         {"OnDelSelection(o2)", "mdlDelSelection(o2)", "OnUpdate(map)", "OnDelSelection(o1)",
          "marks off", "mdlDelSelection(o1)", "OnUpdate(map)"}},
        {"Remove without fast selection",
         [](TScene& S) {
             S.Map.SetFastSelection(false);
             S.O1->Select();
         },
         [](TScene& S) { S.Map.Selection().Remove(S.O1); },
         {"OnDelSelection(o1)", "repaint", "mdlDelSelection(o1)"}},
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
