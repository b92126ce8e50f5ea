#include "support/MapFixture.h"

#include "objects/Polys.h"
#include "objects/Symbol.h"

#include <string>
#include <vector>

using namespace Mapobjects;
using Testing::MapFixture;

namespace {

// Records every notification a map sends to its links, with the sender.
struct RecordingLink : TMapDataLink {
    std::vector<std::pair<TMapDataLinkEvent, Platform::TObject*>> Events;
    void MapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender, int Info) override {
        EXPECT_EQ(Info, 0);
        Events.emplace_back(Event, Sender);
    }
};

TRegion* AddSquare(TMapLayer* L, double X, double Y, double Size) {
    auto* R = L->NewObject<TRegion>();
    TPart* P = R->Parts().Add();
    P->Points().Add(X, Y);
    P->Points().Add(X + Size, Y);
    P->Points().Add(X + Size, Y + Size);
    P->Points().Add(X, Y + Size);
    P->Points().Add(X, Y);
    return R;
}

} // namespace

struct Layers : MapFixture {
    RecordingLink Link;
    void SetUp() override {
        MapFixture::SetUp();
        Link.SetMap(&Map);
    }
    void TearDown() override { Link.SetMap(nullptr); }
};

TEST_F(Layers, LayerDefaults) {
    TMapLayer L;
    EXPECT_TRUE(L.Visible());
    EXPECT_FALSE(L.Editable());
    EXPECT_TRUE(L.Selectable());
    EXPECT_EQ(L.AutoLabelFont()->Name(), "Arial");
    EXPECT_EQ(L.AutoLabelFont()->Size(), 8);
    EXPECT_EQ(L.LabelFieldIndex(), 0);
    EXPECT_FALSE(L.UseIndex2D());
    EXPECT_EQ(L.Index2D().Layer(), nullptr);
}

TEST_F(Layers, AddSendsEventThenLinkNotification) {
    std::vector<std::string> Order;
    Map.OnAddLayer = [&](TChartix* Sender, TMapLayer* L) {
        EXPECT_EQ(Sender, &Map);
        Order.push_back("OnAddLayer " + L->Name());
        EXPECT_TRUE(Link.Events.empty());
    };
    TMapLayer* L = Map.Layers().Add("/nonexistent/file.mif", "Roads");
    EXPECT_EQ(Order, (std::vector<std::string>{"OnAddLayer Roads"}));
    ASSERT_EQ(Link.Events.size(), 1u);
    EXPECT_EQ(Link.Events[0].first, mdlAfterAddLayer);
    EXPECT_EQ(Link.Events[0].second, L);
    EXPECT_EQ(L->ObjectCount(), 0); // a missing file leaves an empty layer
    EXPECT_EQ(Map.Layers().Count(), 1);
}

TEST_F(Layers, InsertSendsNoLinkNotification) {
    Map.Layers().Add("", "A");
    Link.Events.clear();
    int Added = 0;
    Map.OnAddLayer = [&](TChartix*, TMapLayer*) { ++Added; };
    TMapLayer* L = Map.Layers().Insert("", 0);
    EXPECT_EQ(Map.Layers().Get(0), L);
    EXPECT_EQ(Added, 1);
    EXPECT_TRUE(Link.Events.empty());
    EXPECT_THROW(Map.Layers().Insert("", 5), Platform::EListError);
}

TEST_F(Layers, DeleteAsksTwiceAndAnnouncesInOrder) {
    TMapLayer* L = Map.Layers().Add("", "A");
    Link.Events.clear();
    std::vector<std::string> Order;
    Map.OnBeforeDelLayer = [&](TChartix*, TMapLayer* Layer, bool Confirm, bool& Allow) {
        EXPECT_EQ(Layer, L);
        Order.push_back(Confirm ? "before(confirm)" : "before(destructor)");
    };
    Map.OnAfterDelLayer = [&](Platform::TObject*) { Order.push_back("after"); };
    Map.Layers().Delete(0);
    EXPECT_EQ(Order, (std::vector<std::string>{"before(confirm)", "before(destructor)", "after"}));
    ASSERT_EQ(Link.Events.size(), 2u);
    EXPECT_EQ(Link.Events[0].first, mdlDelLayer);
    EXPECT_EQ(Link.Events[1].first, mdlAfterDelLayer);
    EXPECT_EQ(Link.Events[1].second, &Map.Layers());
    EXPECT_EQ(Map.Layers().Count(), 0);
}

TEST_F(Layers, RefusedDeleteKeepsTheLayerSilently) {
    Map.Layers().Add("", "A");
    Link.Events.clear();
    Map.OnBeforeDelLayer = [&](TChartix*, TMapLayer*, bool, bool& Allow) { Allow = false; };
    Map.Layers().Delete(0);
    EXPECT_EQ(Map.Layers().Count(), 1);
    EXPECT_TRUE(Link.Events.empty());
    Map.OnBeforeDelLayer = nullptr;
}

TEST_F(Layers, MoveAndExchangeNotify) {
    TMapLayer* A = Map.Layers().Add("", "A");
    TMapLayer* B = Map.Layers().Add("", "B");
    Link.Events.clear();
    Map.Layers().Move(0, 1);
    EXPECT_EQ(Map.Layers().Get(1), A);
    Map.Layers().Exchange(0, 1);
    EXPECT_EQ(Map.Layers().Get(0), A);
    ASSERT_EQ(Link.Events.size(), 2u);
    EXPECT_EQ(Link.Events[0].first, mdlMoveLayer);
    EXPECT_EQ(Link.Events[0].second, A);
    EXPECT_EQ(Link.Events[1].first, mdlExchangeLayer);
    EXPECT_EQ(Link.Events[1].second, &Map.Layers());
    (void)B;
}

TEST_F(Layers, SearchIgnoresCaseAndPrefersTheLowerLayer) {
    TMapLayer* Low = Map.Layers().Add("", "roads");
    Map.Layers().Add("", "ROADS");
    EXPECT_EQ(Map.Layers().Search("ROADS"), Low);
    EXPECT_EQ(Map.Layers().Search("rivers"), nullptr);
}

TEST_F(Layers, EditableIsExclusiveAndNeedsVisibility) {
    TMapLayer* A = Map.Layers().Add("", "A");
    TMapLayer* B = Map.Layers().Add("", "B");
    A->SetEditable(true);
    Link.Events.clear();
    B->SetEditable(true);
    EXPECT_FALSE(A->Editable());
    EXPECT_TRUE(B->Editable());
    EXPECT_EQ(Map.Layers().GetEditableLayer(), B);
    ASSERT_EQ(Link.Events.size(), 2u);
    EXPECT_EQ(Link.Events[0], std::make_pair(mdlLayerEditableChanged, static_cast<Platform::TObject*>(A)));
    EXPECT_EQ(Link.Events[1], std::make_pair(mdlLayerEditableChanged, static_cast<Platform::TObject*>(B)));

    A->SetVisible(false);
    Link.Events.clear();
    A->SetEditable(true); // hidden: stays not editable, but still announces
    EXPECT_FALSE(A->Editable());
    ASSERT_EQ(Link.Events.size(), 1u);
    EXPECT_EQ(Link.Events[0].first, mdlLayerEditableChanged);
}

TEST_F(Layers, SelectabilityFollowsVisibilityAndEditability) {
    TMapLayer* A = Map.Layers().Add("", "A");
    A->SetEditable(true);
    A->SetSelectable(false);
    EXPECT_TRUE(A->Selectable()); // editable layers stay selectable
    A->SetVisible(false);
    EXPECT_FALSE(A->Editable());
    EXPECT_FALSE(A->Selectable());
    A->SetVisible(true);
    EXPECT_TRUE(A->Selectable());
}

TEST_F(Layers, ValidZoomNeedsBothBounds) {
    TMapLayer* A = Map.Layers().Add("", "A");
    EXPECT_TRUE(A->ValidZoom());
    A->SetMinZoom(0.5);
    for (double Z : {0.25, 0.5, 1.0, 50.0}) {
        Map.SetZoom(Z);
        EXPECT_FALSE(A->ValidZoom()) << Z;
    }
    A->SetMaxZoom(2);
    Map.SetZoom(1);
    EXPECT_TRUE(A->ValidZoom());
    Map.SetZoom(2.5);
    EXPECT_FALSE(A->ValidZoom());
}

TEST_F(Layers, ZoomToLayer) {
    TMapLayer* A = Map.Layers().Add("", "A");
    A->Zoom();
    EXPECT_EQ(Map.CenterX(), 0);
    EXPECT_EQ(Map.CenterY(), 0);
    EXPECT_EQ(Map.Zoom(), 1);
    auto* S = A->NewObject<TSymbol>();
    S->SetX(5); // moved anchor: the single point counts, not the kept extent
    S->SetY(7);
    A->Zoom();
    EXPECT_EQ(Map.CenterX(), 5);
    EXPECT_EQ(Map.CenterY(), 7);
    EXPECT_EQ(Map.Zoom(), 1);
    AddSquare(A, 10, 10, 20); // extent 5..30 x 7..30
    A->Zoom();
    EXPECT_DOUBLE_EQ(Map.CenterX(), 17.5);
    EXPECT_DOUBLE_EQ(Map.CenterY(), 18.5);
    EXPECT_DOUBLE_EQ(Map.Zoom(), std::max(180 / 23.0, 360 / 25.0));
}

TEST_F(Layers, AddObjectAnnouncesWithTheLayerAsSender) {
    TMapLayer* A = Map.Layers().Add("", "A");
    A->Fields().Add("NAME", dtString, 10);
    Link.Events.clear();
    int Notified = 0;
    Map.OnAddObject = [&](TChartix*, TCustomMapObject*) { ++Notified; };
    auto* R = A->NewObject<TRegion>(); // NewObject does not notify the host
    EXPECT_EQ(Notified, 0);
    ASSERT_EQ(Link.Events.size(), 1u);
    EXPECT_EQ(Link.Events[0], std::make_pair(mdlAddObject, static_cast<Platform::TObject*>(A)));
    EXPECT_EQ(R->Fields().Count(), 1);
    EXPECT_EQ(R->Fields().GetFields(0)->Name(), "NAME");
    A->AddObject(new TRegion(), true);
    EXPECT_EQ(Notified, 1);
    EXPECT_TRUE(Map.Modified());
}

TEST_F(Layers, DestroyingAnObjectUnlinksAndAnnouncesIt) {
    TMapLayer* A = Map.Layers().Add("", "A");
    TRegion* R = AddSquare(A, 0, 0, 10);
    AddSquare(A, 50, 50, 10);
    Platform::Application()->ProcessMessages();
    ASSERT_EQ(Map.Displayed().Count(), 2);
    R->Select();
    Link.Events.clear();
    int Deleted = 0;
    Map.OnDeleteObject = [&](Platform::TObject* Sender) {
        EXPECT_EQ(Sender, R);
        ++Deleted;
    };
    A->DeleteObject(0);
    EXPECT_EQ(Deleted, 1);
    EXPECT_EQ(A->ObjectCount(), 1);
    EXPECT_EQ(Map.Selection().Count(), 0);
    EXPECT_EQ(Map.Displayed().Count(), 1);
    ASSERT_EQ(Link.Events.size(), 2u);
    EXPECT_EQ(Link.Events[0].first, mdlDelSelection);
    EXPECT_EQ(Link.Events[1].first, mdlRemoveObject);
    A->DeleteObject(-1); // nothing, but still a repaint request
    EXPECT_EQ(A->ObjectCount(), 1);
    EXPECT_THROW(A->DeleteObject(3), Platform::EListError);
}

TEST_F(Layers, HidingALayerPrunesTheSelection) {
    TMapLayer* A = Map.Layers().Add("", "A");
    TRegion* R1 = AddSquare(A, 0, 0, 10);
    TRegion* R2 = AddSquare(A, 20, 0, 10);
    R1->Select();
    R2->Select();
    int Removed = 0;
    Map.OnDelSelection = [&](TChartix*, TCustomMapObject*) { ++Removed; };
    Link.Events.clear();
    A->SetVisible(false);
    EXPECT_EQ(Removed, 2);
    EXPECT_EQ(Map.Selection().Count(), 0);
    ASSERT_EQ(Link.Events.size(), 3u);
    EXPECT_EQ(Link.Events[0].first, mdlDelSelection);
    EXPECT_EQ(Link.Events[1].first, mdlDelSelection);
    EXPECT_EQ(Link.Events[2].first, mdlLayerVisibleChanged);
}

TEST_F(Layers, AutoLabelAnnouncesOnlyChanges) {
    TMapLayer* A = Map.Layers().Add("", "A");
    Link.Events.clear();
    A->SetAutoLabel(true);
    A->SetAutoLabel(true);
    ASSERT_EQ(Link.Events.size(), 1u);
    EXPECT_EQ(Link.Events[0].first, mdlLayerAutolabelChanged);
}

TEST_F(Layers, LinksDetachAndMoveBetweenMaps) {
    TChartix Other(nullptr);
    Link.SetMap(&Other);
    EXPECT_EQ(Map.DataLinks().Count(), 0);
    EXPECT_EQ(Other.DataLinks().Count(), 1);
    Map.Layers().Add("", "A");
    EXPECT_TRUE(Link.Events.empty());
    Link.SetMap(nullptr);
    Other.Layers().Add("", "B");
    EXPECT_TRUE(Link.Events.empty());
}

TEST_F(Layers, FreeingTheMapAnnouncesNoObjectRemoval) {
    auto M = std::make_unique<TChartix>(nullptr);
    RecordingLink L2;
    L2.SetMap(M.get());
    TMapLayer* A = M->Layers().Add("", "A");
    AddSquare(A, 0, 0, 1);
    L2.Events.clear();
    int Deleted = 0;
    M->OnDeleteObject = [&](Platform::TObject*) { ++Deleted; };
    M.reset();
    EXPECT_EQ(Deleted, 0);
    EXPECT_TRUE(L2.Events.empty());
    EXPECT_EQ(L2.Map(), nullptr); // the map lets its links go
}
