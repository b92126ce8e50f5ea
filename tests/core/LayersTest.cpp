// Layers of a map: the list's operations and ownership, flags, zooming to a
// layer. What each operation tells, in order, is in NotificationsTest.cpp.
#include "objects/Symbol.h"
#include "support/MapFixture.h"

#include <vector>

using namespace Mapobjects;
using Testing::AddSquare;

namespace {

// Records the kind of every notification a map sends to its links.
struct RecordingLink : TMapDataLink {
    std::vector<TMapDataLinkEvent> Kinds;
    void MapEvent(TMapDataLinkEvent Event, Platform::TObject*, int) override {
        Kinds.push_back(Event);
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

TEST_F(Layers, SearchIgnoresCaseAndPrefersTheLowerLayer) {
    TMapLayer* A = All.Add("/nonexistent/file.mif", "roads");
    EXPECT_EQ(A->ObjectCount(), 0); // a missing file leaves an empty layer
    All.Add("", "ROADS");
    EXPECT_EQ(All.Search("ROADS"), A);
    EXPECT_EQ(All.Search("rivers"), nullptr);
    EXPECT_THROW(All.Insert("", 5), Platform::EListError);
}

TEST_F(Layers, EditableIsExclusiveAndNeedsVisibility) {
    TMapLayer* A = All.Add("", "A");
    TMapLayer* B = All.Add("", "B");
    A->SetEditable(true);
    B->SetEditable(true);
    EXPECT_FALSE(A->Editable());
    EXPECT_EQ(All.GetEditableLayer(), B);

    A->SetVisible(false);
    Link.Kinds.clear();
    A->SetEditable(true); // hidden: stays not editable, but still announces
    EXPECT_FALSE(A->Editable());
    EXPECT_EQ(Link.Kinds, std::vector{mdlLayerEditableChanged});

    // Editable layers stay selectable; hidden ones are neither.
    B->SetSelectable(false);
    EXPECT_TRUE(B->Selectable());
    B->SetVisible(false);
    EXPECT_FALSE(B->Editable());
    EXPECT_FALSE(B->Selectable());
    B->SetVisible(true);
    EXPECT_TRUE(B->Selectable());
}

TEST_F(Layers, ValidZoomNeedsBothBoundsAndZoomFitsTheLayer) {
    TMapLayer* A = All.Add("", "A");
    A->SetMinZoom(0.5);
    for (double Z : {0.5, 1.0, 50.0}) {
        Map.SetZoom(Z);
        EXPECT_FALSE(A->ValidZoom()) << Z;
    }
    A->SetMaxZoom(2);
    Map.SetZoom(1);
    EXPECT_TRUE(A->ValidZoom());
    Map.SetZoom(2.5);
    EXPECT_FALSE(A->ValidZoom());

    Map.SetZoom(1);
    auto View = [&] { return std::tuple(Map.CenterX(), Map.CenterY(), Map.Zoom()); };
    A->Zoom(); // an empty layer leaves the view alone
    EXPECT_EQ(View(), std::tuple(0, 0, 1));
    Testing::Place(A->NewObject<TSymbol>(), 5, 7); // moved: the point counts, not the extent
    A->Zoom();
    EXPECT_EQ(View(), std::tuple(5, 7, 1));
    AddSquare(A, 10, 10, 20); // extent 5..30 x 7..30
    A->Zoom();
    EXPECT_EQ(View(), std::tuple(17.5, 18.5, std::max(180 / 23.0, 360 / 25.0)));
}

// The list owns its layers through every operation: a layer put in is bound
// to the map, one that comes out is handed over unbound, its objects gone
// from the selection, and the old one of a replacement is handed back.
TEST_F(Layers, EveryWayInOrOutOfTheListKeepsOneOwner) {
    TMapLayer* A = All.Add("", "A");
    AddSquare(A, 0, 0, 10)->Select();
    auto B = std::make_unique<TMapLayer>();
    TRegion* InB = AddSquare(B.get(), 5, 5, 1);

    std::unique_ptr<TMapLayer> Old = All.SetLayer(0, std::move(B));
    EXPECT_EQ(std::tuple(Old.get(), A->Map(), Map.Selection().Count(), InB->Map()),
              std::tuple(A, nullptr, 0, &Map));
    InB->Select();

    std::unique_ptr<TMapLayer> Taken = All.Extract(0);
    EXPECT_EQ(std::tuple(InB->Map(), All.Count(), Map.Selection().Count()),
              std::tuple(nullptr, 0, 0));
    All.Add("", "C");
    All.Insert(0, std::move(Taken));
    EXPECT_EQ(std::tuple(All.Get(0)->Map(), All.Get(1)->Name()), std::tuple(&Map, "C"));

    // An object taken off its layer is the caller's, and still announces its end.
    std::unique_ptr<TCustomMapObject> Off = All.Get(0)->RemoveObject(InB);
    EXPECT_EQ(std::tuple(Off.get(), Off->Layer()),
              std::tuple(static_cast<TCustomMapObject*>(InB), nullptr));
    EXPECT_EQ(All.Get(0)->RemoveObject(InB), nullptr);
    EXPECT_THROW(All.Get(0)->DeleteObject(3), Platform::EListError);
    Link.Kinds.clear();
    Off.reset();
    EXPECT_EQ(Link.Kinds, std::vector{mdlRemoveObject});
}
