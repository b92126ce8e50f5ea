// Layers of a map: events and link notifications in order, flags, zooming to a layer.
#include "objects/Symbol.h"
#include "support/MapFixture.h"

#include <string>
#include <vector>

using namespace Mapobjects;
using Platform::TObject;
using Testing::AddSquare;

namespace {

using TKinds = std::vector<TMapDataLinkEvent>;

// Records every notification a map sends to its links, with the sender.
struct RecordingLink : TMapDataLink {
    std::vector<std::pair<TMapDataLinkEvent, TObject*>> Events;
    void MapEvent(TMapDataLinkEvent Event, TObject* Sender, int Info) override {
        EXPECT_EQ(Info, 0);
        Events.emplace_back(Event, Sender);
    }
    TKinds Kinds() const {
        TKinds K;
        for (const auto& E : Events)
            K.push_back(E.first);
        return K;
    }
};

struct Layers : Testing::MapFixture {
    RecordingLink Link;
    TMapLayers& All = Map.Layers();
    void SetUp() override {
        MapFixture::SetUp();
        Link.SetMap(&Map);
    }
    void TearDown() override { Link.SetMap(nullptr); }
};

} // namespace

TEST(Layer, Defaults) {
    TMapLayer L;
    EXPECT_EQ(std::tuple(L.Visible(), L.Editable(), L.Selectable(), L.UseIndex2D()),
              std::tuple(true, false, true, false));
    EXPECT_EQ(std::tuple(L.AutoLabelFont()->Name(), L.AutoLabelFont()->Size(), L.LabelFieldIndex()),
              std::tuple("Arial", 8, 0));
    EXPECT_EQ(L.Index2D().Layer(), nullptr);
}

TEST_F(Layers, AddSendsTheEventThenTheLinkNotificationInsertOnlyTheEvent) {
    std::vector<std::string> Added;
    Map.OnAddLayer = [&](TChartix* Sender, TMapLayer* L) {
        EXPECT_EQ(Sender, &Map);
        Added.push_back(L->Name());
        EXPECT_TRUE(Link.Events.empty());
    };
    TMapLayer* L = All.Add("/nonexistent/file.mif", "Roads");
    EXPECT_EQ(Added, std::vector<std::string>{"Roads"});
    EXPECT_EQ(Link.Events, (decltype(Link.Events){{mdlAfterAddLayer, L}}));
    EXPECT_EQ(L->ObjectCount(), 0); // a missing file leaves an empty layer

    Link.Events.clear();
    TMapLayer* First = All.Insert("", 0);
    EXPECT_EQ(All.Get(0), First);
    EXPECT_EQ(Added.size(), 2u);
    EXPECT_TRUE(Link.Events.empty());
    EXPECT_THROW(All.Insert("", 5), Platform::EListError);
}

TEST_F(Layers, MoveExchangeAndSearch) {
    TMapLayer* A = All.Add("", "roads");
    All.Add("", "ROADS");
    Link.Events.clear();
    All.Move(0, 1);
    EXPECT_EQ(All.Get(1), A);
    All.Exchange(0, 1);
    EXPECT_EQ(All.Get(0), A);
    EXPECT_EQ(Link.Events, (decltype(Link.Events){{mdlMoveLayer, A}, {mdlExchangeLayer, &All}}));
    // Search ignores case and prefers the lower layer.
    EXPECT_EQ(All.Search("ROADS"), A);
    EXPECT_EQ(All.Search("rivers"), nullptr);
}

TEST_F(Layers, EditableIsExclusiveAndNeedsVisibility) {
    TMapLayer* A = All.Add("", "A");
    TMapLayer* B = All.Add("", "B");
    A->SetEditable(true);
    Link.Events.clear();
    B->SetEditable(true);
    EXPECT_FALSE(A->Editable());
    EXPECT_TRUE(B->Editable());
    EXPECT_EQ(All.GetEditableLayer(), B);
    EXPECT_EQ(Link.Events,
              (decltype(Link.Events){{mdlLayerEditableChanged, A}, {mdlLayerEditableChanged, B}}));

    A->SetVisible(false);
    Link.Events.clear();
    A->SetEditable(true); // hidden: stays not editable, but still announces
    EXPECT_FALSE(A->Editable());
    EXPECT_EQ(Link.Kinds(), TKinds{mdlLayerEditableChanged});

    // Editable layers stay selectable; hidden ones are neither.
    B->SetSelectable(false);
    EXPECT_TRUE(B->Selectable());
    B->SetVisible(false);
    EXPECT_FALSE(B->Editable());
    EXPECT_FALSE(B->Selectable());
    B->SetVisible(true);
    EXPECT_TRUE(B->Selectable());

    // Auto labels announce changes only.
    Link.Events.clear();
    A->SetAutoLabel(true);
    A->SetAutoLabel(true);
    EXPECT_EQ(Link.Kinds(), TKinds{mdlLayerAutolabelChanged});
}

TEST_F(Layers, ValidZoomNeedsBothBounds) {
    TMapLayer* A = All.Add("", "A");
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
    TMapLayer* A = All.Add("", "A");
    auto View = [&] { return std::tuple(Map.CenterX(), Map.CenterY(), Map.Zoom()); };
    A->Zoom(); // an empty layer leaves the view alone
    EXPECT_EQ(View(), std::tuple(0, 0, 1));
    Testing::Place(A->NewObject<TSymbol>(), 5, 7); // moved: the point counts, not the extent
    A->Zoom();
    EXPECT_EQ(View(), std::tuple(5, 7, 1));
    AddSquare(A, 10, 10, 20); // extent 5..30 x 7..30
    A->Zoom();
    EXPECT_EQ(std::tuple(Map.CenterX(), Map.CenterY()), std::tuple(17.5, 18.5));
    EXPECT_DOUBLE_EQ(Map.Zoom(), std::max(180 / 23.0, 360 / 25.0));
}

TEST_F(Layers, AddObjectAnnouncesWithTheLayerAsSender) {
    TMapLayer* A = All.Add("", "A");
    A->Fields().Add("NAME", dtString, 10);
    Link.Events.clear();
    int Notified = 0;
    Map.OnAddObject = [&](TChartix*, TCustomMapObject*) { ++Notified; };
    auto* R = A->NewObject<TRegion>(); // NewObject does not notify the host
    EXPECT_EQ(Notified, 0);
    EXPECT_EQ(Link.Events, (decltype(Link.Events){{mdlAddObject, A}}));
    ASSERT_EQ(R->Fields().Count(), 1);
    EXPECT_EQ(R->Fields().GetFields(0)->Name(), "NAME");
    A->AddObject(new TRegion(), true);
    EXPECT_EQ(Notified, 1);
    EXPECT_TRUE(Map.Modified());
}

TEST_F(Layers, DestroyingAnObjectUnlinksAndAnnouncesIt) {
    TMapLayer* A = All.Add("", "A");
    TRegion* R = AddSquare(A, 0, 0, 10);
    AddSquare(A, 50, 50, 10);
    Platform::Application()->ProcessMessages();
    ASSERT_EQ(Map.Displayed().Count(), 2);
    R->Select();
    Link.Events.clear();
    int Deleted = 0;
    Map.OnDeleteObject = [&](TObject* Sender) {
        EXPECT_EQ(Sender, R);
        ++Deleted;
    };
    A->DeleteObject(0);
    EXPECT_EQ(Deleted, 1);
    EXPECT_EQ(A->ObjectCount(), 1);
    EXPECT_EQ(Map.Selection().Count(), 0);
    EXPECT_EQ(Map.Displayed().Count(), 1);
    EXPECT_EQ(Link.Kinds(), (TKinds{mdlDelSelection, mdlRemoveObject}));
    A->DeleteObject(-1); // nothing, but still a repaint request
    EXPECT_EQ(A->ObjectCount(), 1);
    EXPECT_THROW(A->DeleteObject(3), Platform::EListError);
}

TEST_F(Layers, LinksMoveBetweenMapsAndAFreedMapLetsThemGoSilently) {
    TChartix Other(nullptr);
    Link.SetMap(&Other);
    EXPECT_EQ(Map.DataLinks().Count(), 0);
    EXPECT_EQ(Other.DataLinks().Count(), 1);
    All.Add("", "A");
    EXPECT_TRUE(Link.Events.empty());
    Link.SetMap(nullptr);
    Other.Layers().Add("", "B");
    EXPECT_TRUE(Link.Events.empty());

    // Freeing a map announces no removal of its objects.
    auto M = std::make_unique<TChartix>(nullptr);
    Link.SetMap(M.get());
    AddSquare(M->Layers().Add("", "A"), 0, 0, 1);
    Link.Events.clear();
    int Deleted = 0;
    M->OnDeleteObject = [&](TObject*) { ++Deleted; };
    M.reset();
    EXPECT_EQ(Deleted, 0);
    EXPECT_TRUE(Link.Events.empty());
    EXPECT_EQ(Link.Map(), nullptr);
}

// The list owns its layers through every operation: a layer put in is bound
// to the map, one that comes out is handed over unbound, its objects gone
// from the selection, and the old one of a replacement is handed back.
TEST_F(Layers, EveryWayInOrOutOfTheListKeepsOneOwner) {
    TMapLayer* A = All.Add("", "A");
    AddSquare(A, 0, 0, 10)->Select();
    auto B = std::make_unique<TMapLayer>();
    TRegion* InB = AddSquare(B.get(), 5, 5, 1);
    EXPECT_EQ(InB->Map(), nullptr);

    std::unique_ptr<TMapLayer> Old = All.SetLayer(0, std::move(B));
    EXPECT_EQ(Old.get(), A);
    EXPECT_EQ(A->Map(), nullptr);
    EXPECT_EQ(Map.Selection().Count(), 0);
    EXPECT_EQ(InB->Map(), &Map);
    InB->Select();
    EXPECT_TRUE(InB->GetSelected());

    std::unique_ptr<TMapLayer> Taken = All.Extract(0);
    EXPECT_EQ(Taken->Objects(0), InB);
    EXPECT_EQ(InB->Map(), nullptr);
    EXPECT_EQ(std::tuple(All.Count(), Map.Selection().Count()), std::tuple(0, 0));
    All.Add("", "C");
    All.Insert(0, std::move(Taken));
    EXPECT_EQ(All.Get(0)->Map(), &Map);
    EXPECT_EQ(All.Get(1)->Name(), "C");

    // An object taken off its layer is the caller's, and still announces its end.
    TMapLayer* L = All.Get(0);
    std::unique_ptr<TCustomMapObject> Off = L->RemoveObject(InB);
    EXPECT_EQ(std::tuple(Off.get(), Off->Layer(), L->ObjectCount()),
              std::tuple(static_cast<TCustomMapObject*>(InB), nullptr, 0));
    EXPECT_EQ(L->RemoveObject(InB), nullptr);
    Link.Events.clear();
    Off.reset();
    EXPECT_EQ(Link.Kinds(), TKinds{mdlRemoveObject});
}
