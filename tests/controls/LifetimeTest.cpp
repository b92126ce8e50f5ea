// A map that goes before the controls that show it leaves them detached and
// whole: nothing of it is used afterwards.
#include "controls/DataBrowser.h"
#include "controls/LayerCtrl.h"
#include "controls/LayersComboBox.h"
#include "core/MapObjects.h"
#include "objects/Polys.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Mapobjects;
using namespace Platform;

TEST(ControlsLifetime, AMapFreedFirstLeavesTheControlsDetached) {
    TWinControl Form{nullptr};
    TLayerControl Layers{nullptr};
    TLayersComboBox Combo{nullptr};
    TDataBrowser Grid{nullptr};
    for (TControl* C : {static_cast<TControl*>(&Layers), static_cast<TControl*>(&Combo),
                        static_cast<TControl*>(&Grid)}) {
        C->SetParent(&Form);
        C->SetBounds(0, 0, 200, 100);
    }
    auto Map = std::make_unique<TChartix>(nullptr);
    Layers.SetMap(Map.get());
    Combo.SetMap(Map.get());
    TMapLayer* L = Map->Layers().Add("", "roads");
    L->Fields().Add("Name", dtString, 10);
    L->NewObject<TRegion>();
    Grid.SetLayer(L);
    Layers.SetItemIndex(0);
    Combo.SetItemIndex(0);
    ASSERT_EQ(Combo.GetCurrentLayer(), L);

    Map.reset();
    EXPECT_EQ(std::tuple(Layers.Map(), Combo.Map(), Grid.Layer()),
              std::tuple(nullptr, nullptr, nullptr));
    EXPECT_EQ(std::tuple(Layers.GetCurrentLayer(), Combo.GetCurrentLayer()),
              std::tuple(nullptr, nullptr));
    std::uint16_t Key = VK_DELETE;
    Layers.KeyDown(Key, 0);
    Key = VK_RETURN;
    Grid.KeyDown(Key, 0);
    Layers.MouseDown(mbLeft, ssLeft, 10, 5);
    Layers.MouseUp(mbLeft, 0, 10, 5);
    Layers.Invalidate();
    Grid.Invalidate();
    Combo.Invalidate();
    Application()->ProcessMessages(); // paints without the map
    EXPECT_EQ(Grid.PaintCount(), 1);
}
