// The layers combo box: items follow the layers added and deleted while it
// is attached, and a choice gives its layer.
#include "controls/LayersComboBox.h"
#include "support/MapFixture.h"

#include <gtest/gtest.h>
#include <string>

using namespace Mapobjects;
using namespace Platform;
using Testing::MapFixture;

namespace {

struct LayersComboTest : MapFixture {
    TLayersComboBox Combo{nullptr};
    TMapLayer* Early = nullptr;
    void SetUp() override {
        MapFixture::SetUp();
        Early = Map.Layers().Add("", "early");
        Combo.SetParent(&Form);
        Combo.SetBounds(0, 0, 150, 21);
        Combo.SetMap(&Map);
    }
    std::string Names() const {
        std::string S;
        for (int I = 0; I < Combo.Items().Count(); ++I)
            S += (I ? "," : "") + Combo.Items()[I];
        return S;
    }
};

TEST_F(LayersComboTest, ItemsFollowAddsAndDeletes) {
    TMapLayer* A = Map.Layers().Add("", "roads");
    Map.Layers().Add("", "rivers");
    Map.Layers().Add("", "towns");
    EXPECT_EQ(Names(), "roads,rivers,towns");
    EXPECT_EQ(Combo.Items().Objects(0), A);
    A->SetName("streets");
    EXPECT_EQ(Names(), "roads,rivers,towns") << "a renamed layer keeps its text";
    Map.Layers().Delete(Map.Layers().IndexOf(Early)); // has no item
    EXPECT_EQ(Names(), "roads,rivers,towns");
    Map.Layers().Delete(Map.Layers().IndexOf(A));
    Combo.AddItemsForExistingLayers(); // every layer has its item already
    EXPECT_EQ(Names(), "rivers,towns");
}

TEST_F(LayersComboTest, AChoiceGivesItsLayerAlsoAfterAMove) {
    Combo.AddItemsForExistingLayers(); // the layer from before the attachment
    TMapLayer* Roads = Map.Layers().Add("", "roads");
    TMapLayer* Rivers = Map.Layers().Add("", "rivers");
    EXPECT_EQ(Names(), "early,roads,rivers");
    EXPECT_EQ(Combo.GetCurrentLayer(), nullptr);
    Combo.SetItemIndex(2);
    Map.Layers().Move(2, 0); // the map's order: rivers, early, roads
    EXPECT_EQ(Combo.GetCurrentLayer(), Rivers) << "the chosen name's layer, wherever it is";
    Combo.SetItemIndex(0);
    EXPECT_EQ(Combo.GetCurrentLayer(), Early);
    Combo.SetItemIndex(1);
    Map.Layers().Delete(Map.Layers().IndexOf(Roads));
    EXPECT_EQ(Combo.GetCurrentLayer(), nullptr);
}

} // namespace
