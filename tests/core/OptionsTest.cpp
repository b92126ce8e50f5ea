#include "support/MapFixture.h"

#include "objects/Polys.h"
#include "objects/Symbol.h"
#include "objects/Text.h"

using namespace Mapobjects;
using Testing::MapFixture;

TEST(Options, Defaults) {
    TChartixOptions O;
    EXPECT_EQ(O.DefaultSymbolShape(), 58);
    EXPECT_EQ(O.DefaultSymbolFont()->Name(), "MapInfo Cartographic");
    EXPECT_EQ(O.DefaultSymbolFont()->Color(), 0x800000u);
    EXPECT_EQ(O.DefaultSymbolFont()->Size(), 12);
    EXPECT_EQ(O.DefaultTextFont()->Name(), "Courier New");
    EXPECT_EQ(O.DefaultTextFont()->Size(), 12);
    EXPECT_FALSE(O.UseBGColor());
    EXPECT_EQ(O.DefaultBGColor(), 0xFFFFFFu);
}

using OptionsOnMap = MapFixture;

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
    EXPECT_EQ(R->Pen()->Color(), Platform::clRed);
    EXPECT_EQ(R->Brush()->Color(), Platform::clLime);
    EXPECT_TRUE(R->UseBGColor());
    EXPECT_EQ(R->BGColor(), 0x123456u);
    EXPECT_EQ(S->Font()->Name(), "MapInfo Cartographic");
    EXPECT_EQ(T->Font()->Name(), "Courier New");
    // By value: a later change reaches only later objects.
    Map.Options().DefaultPen()->SetColor(Platform::clGreen);
    auto* R2 = L->NewObject<TRegion>();
    EXPECT_EQ(R->Pen()->Color(), Platform::clRed);
    EXPECT_EQ(R2->Pen()->Color(), Platform::clGreen);
}

TEST(OptionsWithoutMap, ObjectKeepsItsOwnStyles) {
    TMapLayer Layer;
    auto* R = Layer.NewObject<TRegion>();
    EXPECT_EQ(R->Pen()->Color(), Platform::TPen().Color());
    EXPECT_FALSE(R->UseBGColor());
    EXPECT_EQ(R->Layer(), &Layer);
    EXPECT_EQ(R->Map(), nullptr);
}

TEST(OptionsReplace, ReplacedFontIsHandedBack) {
    TChartixOptions O;
    auto Mine = std::make_unique<Platform::TFont>();
    Mine->SetName("Mine");
    Platform::TFont* Before = O.DefaultTextFont();
    auto Old = O.SetDefaultTextFont(std::move(Mine));
    EXPECT_EQ(Old.get(), Before);
    EXPECT_EQ(O.DefaultTextFont()->Name(), "Mine");
}
