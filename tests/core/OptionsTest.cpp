// Map options: the styles new objects take.
#include "objects/Symbol.h"
#include "objects/Text.h"
#include "support/MapFixture.h"

using namespace Mapobjects;

using OptionsOnMap = Testing::MapFixture;

TEST_F(OptionsOnMap, ObjectsTakeTheOptionsWhenAddedToALayerOfAMap) {
    Map.Options().DefaultPen()->SetColor(Platform::clRed);
    Map.Options().DefaultBrush()->SetColor(Platform::clLime);
    Map.Options().SetUseBGColor(true);
    Map.Options().SetDefaultBGColor(0x123456);
    TMapLayer* L = Map.Layers().Add("", "L");
    L->DefaultPen()->SetColor(Platform::clBlue); // the layer's own defaults are not used
    auto* R = L->NewObject<TRegion>();
    auto* S = L->NewObject<TSymbol>();
    auto* T = L->NewObject<TText>();
    EXPECT_EQ(std::tuple(R->Pen()->Color(), R->Brush()->Color(), R->UseBGColor(), R->BGColor()),
              std::tuple(Platform::clRed, Platform::clLime, true, 0x123456u));
    EXPECT_EQ(S->Font()->Name(), "MapInfo Cartographic");
    EXPECT_EQ(T->Font()->Name(), "Courier New");
    // By value: a later change reaches only later objects.
    Map.Options().DefaultPen()->SetColor(Platform::clGreen);
    auto* R2 = L->NewObject<TRegion>();
    EXPECT_EQ(R->Pen()->Color(), Platform::clRed);
    EXPECT_EQ(R2->Pen()->Color(), Platform::clGreen);
}
