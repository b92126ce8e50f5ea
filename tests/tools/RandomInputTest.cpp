// Every standard tool driven by random input, fixed seeds: mouse, wheel,
// keys and characters, tools switched, completed and cancelled, the editable
// layer changed, layers hidden, repaints. After each step the layers hold
// what was added to them, the selection only their live objects, and the
// view is finite.
#include "tools/ToolFixture.h"

#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <set>

using namespace Mapobjects;
using namespace Platform;

namespace {

struct RandomInput : Testing::ToolFixture, ::testing::WithParamInterface<unsigned> {};

} // namespace

TEST_P(RandomInput, EveryToolKeepsTheMapConsistent) {
    PaintLandscape();
    std::vector<std::unique_ptr<TCustomMapTool>> Tools;
    for (auto* T : std::initializer_list<TCustomMapTool*>{
             new TSelectionTool(nullptr), new TZoomInTool(nullptr), new TZoomOutTool(nullptr),
             new TPanTool(nullptr), new TLineTool(nullptr), new TRectTool(nullptr),
             new TPolylineTool(nullptr), new TRegionTool(nullptr), new TSymbolTool(nullptr),
             new TCircleTool(nullptr), new TMeasureTool(nullptr), new TTextTool(nullptr)})
        Tools.emplace_back(T)->SetChartix(&Map);
    std::map<const TMapLayer*, int> Expected;
    for (int L = 0; L < Map.Layers().Count(); ++L)
        Expected[Map.Layers().GetLayer(L)] = Map.Layers().GetLayer(L)->ObjectCount();
    int Added = 0;
    Map.OnAddObject = [&](TChartix*, TCustomMapObject* O) { ++Expected[O->Layer()], ++Added; };

    std::mt19937 Random(GetParam());
    auto Pick = [&](int Low, int High) { return std::uniform_int_distribution(Low, High)(Random); };
    auto X = [&] { return Pick(-20, 220); };
    auto Y = [&] { return Pick(-20, 120); };
    auto Keys = [&] {
        return TShiftState(Pick(0, 1) ? ssShift : 0u) | TShiftState(Pick(0, 2) ? 0u : ssCtrl);
    };
    auto Layer = [&] { return Map.Layers().GetLayer(Pick(0, Map.Layers().Count() - 1)); };
    const char Chars[] = {'a', ' ', '\r', '\b', '\n', 27, 127, '\xe9'};
    const std::uint16_t Codes[] = {VK_RETURN, VK_ESCAPE, VK_BACK,   VK_LEFT,
                                   VK_RIGHT,  VK_HOME,   VK_DELETE, 'A'};
    const std::function<void()> Steps[] = {
        [&] { Map.MouseDown(mbLeft, Keys() | ssLeft, X(), Y()); },
        [&] { Map.MouseDown(Pick(0, 1) ? mbRight : mbMiddle, Keys(), X(), Y()); },
        [&] { Map.MouseMove(Keys() | TShiftState(Pick(0, 2) ? ssLeft : 0u), X(), Y()); },
        [&] { Map.MouseMove(Keys() | ssLeft, X(), Y()); },
        [&] { Map.MouseUp(Pick(0, 3) ? mbLeft : mbRight, Keys(), X(), Y()); },
        [&] { Map.DblClick(); },
        [&] { Map.MouseWheel(Keys(), Pick(0, 1) ? 120 : -120, X(), Y()); },
        [&] {
            std::uint16_t Code = Codes[Pick(0, 7)];
            Map.KeyDown(Code, Keys());
        },
        [&] {
            char C = Chars[Pick(0, 7)];
            Map.KeyPress(C);
        },
        [&] { Tools[Pick(0, Tools.size() - 1)]->SetActive(true); },
        [&] { Tools[Pick(0, Tools.size() - 1)]->SetActive(true); },
        [&] {
            if (TCustomMapTool* T = Map.MapToolsManager().GetActiveMapTool())
                Pick(0, 1) ? (void)T->Complete() : T->Cancel();
        },
        [&] { Layer()->SetEditable(Pick(0, 3) > 0); },
        [&] { Layer()->SetVisible(Pick(0, 3) > 0); },
        [&] { Map.FitView(); },
        [&] { Deliver(); },
    };
    for (int Step = 0; Step < 6000; ++Step) {
        Steps[Pick(0, std::size(Steps) - 1)]();
        SCOPED_TRACE(testing::Message() << "seed " << GetParam() << " step " << Step);
        std::set<const TCustomMapObject*> Live;
        for (auto [L, Count] : Expected) {
            ASSERT_EQ(L->ObjectCount(), Count) << L->Name();
            for (int I = 0; I < Count; ++I)
                ASSERT_TRUE(Live.insert(L->Objects(I)).second && L->Objects(I)->Layer() == L);
        }
        for (int I = 0; I < Map.Selection().Count(); ++I)
            ASSERT_TRUE(Live.count(Map.Selection().Get(I)) &&
                        Map.Selection().Get(I)->Layer()->Selectable());
        ASSERT_TRUE(std::isfinite(Map.Zoom() + Map.CenterX() + Map.CenterY()));
    }
    EXPECT_GT(Added, 0) << "the drawing tools never made anything";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomInput, ::testing::Range(1u, 9u));
