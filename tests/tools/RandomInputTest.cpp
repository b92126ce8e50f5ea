// Every standard tool driven by random input, fixed seeds: presses, moves,
// releases, double clicks, the wheel, keys (text, Enter, Escape, Backspace,
// arrows), tools switched on and off, the editable layer changed, layers
// hidden and shown, repaints delivered. After each step nothing may have
// escaped, the map's lists hold only its own live objects, the layers hold
// what was added to them, and the view is finite.
#include "tools/ToolFixture.h"

#include <cmath>
#include <deque>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>

using namespace Mapobjects;
using namespace Platform;

namespace {

constexpr int StepsPerSeed = 6000;

struct RandomInput : Testing::ToolFixture, ::testing::WithParamInterface<unsigned> {
    std::vector<std::unique_ptr<TCustomMapTool>> Tools;
    std::mt19937 Random;
    std::deque<std::string> Recent; // the last steps, told when one fails
    std::map<const TMapLayer*, int> Expected;
    int Added = 0, Selected = 0;

    void SetUp() override {
        ToolFixture::SetUp();
        PaintLandscape();
        Layer->SetEditable(true);
        for (int L = 0; L < Map.Layers().Count(); ++L)
            Expected[Map.Layers().GetLayer(L)] = Map.Layers().GetLayer(L)->ObjectCount();
        Map.OnAddObject = [this](TChartix*, TCustomMapObject* O) {
            ++Expected[O->Layer()];
            ++Added;
        };
        Map.OnAddSelection = [this](TChartix*, TCustomMapObject*) { ++Selected; };
        Tools.push_back(std::make_unique<TSelectionTool>(nullptr));
        Tools.push_back(std::make_unique<TZoomInTool>(nullptr));
        Tools.push_back(std::make_unique<TZoomOutTool>(nullptr));
        Tools.push_back(std::make_unique<TPanTool>(nullptr));
        Tools.push_back(std::make_unique<TLineTool>(nullptr));
        Tools.push_back(std::make_unique<TRectTool>(nullptr));
        Tools.push_back(std::make_unique<TPolylineTool>(nullptr));
        Tools.push_back(std::make_unique<TRegionTool>(nullptr));
        Tools.push_back(std::make_unique<TSymbolTool>(nullptr));
        Tools.push_back(std::make_unique<TCircleTool>(nullptr));
        Tools.push_back(std::make_unique<TTextTool>(nullptr));
        for (auto& Tool : Tools)
            Tool->SetChartix(&Map);
        Random.seed(GetParam());
    }
    void TearDown() override {
        Tools.clear();
        Map.OnAddObject = nullptr;
        Map.OnAddSelection = nullptr;
        ToolFixture::TearDown();
    }

    int Pick(int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(Random); }
    // Somewhere on the window or a little beyond it.
    int X() { return Pick(-20, 220); }
    int Y() { return Pick(-20, 120); }
    TShiftState Keys() {
        static const TShiftState Choices[] = {0, 0, 0, ssShift, ssCtrl, ssAlt, ssShift | ssCtrl};
        return Choices[Pick(0, 6)];
    }
    TMouseButton Button() {
        static const TMouseButton Choices[] = {mbLeft, mbLeft, mbLeft, mbRight, mbMiddle};
        return Choices[Pick(0, 4)];
    }

    // One random step, said in words first. The kinds, by weight: press,
    // move, release, double click, wheel, key, character, activate,
    // deactivate, complete or cancel, editable layer, layer shown or hidden,
    // view fitted to the data (as a host's Home key), repaint.
    void Step() {
        static const double Weights[] = {14, 20, 12, 4, 2, 10, 12, 7, 2, 1, 2, 1, 2, 8};
        std::ostringstream Say;
        std::function<void()> Do;
        switch (std::discrete_distribution<int>(std::begin(Weights), std::end(Weights))(Random)) {
        case 0: {
            const TMouseButton B = Button();
            const int PX = X(), PY = Y();
            const TShiftState S = Keys() | (B == mbLeft ? TShiftState(ssLeft) : 0u);
            Say << "down " << B << " " << S << " " << PX << "," << PY;
            Do = [=, this] { Map.MouseDown(B, S, PX, PY); };
            break;
        }
        case 1: {
            const int PX = X(), PY = Y();
            const TShiftState S = Keys() | (Pick(0, 2) ? TShiftState(ssLeft) : 0u);
            Say << "move " << S << " " << PX << "," << PY;
            Do = [=, this] { Map.MouseMove(S, PX, PY); };
            break;
        }
        case 2: {
            const TMouseButton B = Button();
            const int PX = X(), PY = Y();
            const TShiftState S = Keys();
            Say << "up " << B << " " << S << " " << PX << "," << PY;
            Do = [=, this] { Map.MouseUp(B, S, PX, PY); };
            break;
        }
        case 3:
            Say << "dblclick";
            Do = [this] { Map.DblClick(); };
            break;
        case 4: {
            const int Delta = Pick(0, 1) ? 120 : -120, PX = X(), PY = Y();
            const TShiftState S = Keys();
            Say << "wheel " << Delta << " " << S << " " << PX << "," << PY;
            Do = [=, this] { Map.MouseWheel(S, Delta, PX, PY); };
            break;
        }
        case 5: {
            static const std::uint16_t Codes[] = {VK_RETURN, VK_ESCAPE, VK_BACK, VK_LEFT,
                                                  VK_RIGHT,  VK_HOME,   VK_END,  VK_DELETE,
                                                  VK_UP,     VK_DOWN,   'A',     VK_SHIFT};
            const std::uint16_t Code = Codes[Pick(0, 11)];
            const TShiftState S = Keys();
            Say << "key " << Code << " " << S;
            Do = [=, this] {
                std::uint16_t K = Code;
                Map.KeyDown(K, S);
                K = Code;
                Map.KeyUp(K, S);
            };
            break;
        }
        case 6: {
            static const char Chars[] = {'a',  'b',  'Q', ' ', '7',   '\r',
                                         '\b', '\n', 27,  127, '\xe9'};
            const char C = Chars[Pick(0, sizeof(Chars) - 1)];
            Say << "char " << static_cast<int>(static_cast<unsigned char>(C));
            Do = [=, this] {
                char K = C;
                Map.KeyPress(K);
            };
            break;
        }
        case 7: {
            const int T = Pick(0, static_cast<int>(Tools.size()) - 1);
            Say << "activate " << Tools[T]->DisplayName();
            Do = [=, this] { Tools[T]->SetActive(true); };
            break;
        }
        case 8:
            Say << "deactivate";
            Do = [this] {
                if (TCustomMapTool* Tool = Map.MapToolsManager().GetActiveMapTool())
                    Tool->SetActive(false);
            };
            break;
        case 9: {
            const bool Completing = Pick(0, 1);
            Say << (Completing ? "complete" : "cancel");
            Do = [=, this] {
                if (TCustomMapTool* Tool = Map.MapToolsManager().GetActiveMapTool())
                    Completing ? (void)Tool->Complete() : Tool->Cancel();
            };
            break;
        }
        case 10: {
            // Mostly a layer, sometimes none.
            const int L = Pick(0, 7) ? Pick(0, Map.Layers().Count() - 1) : -1;
            Say << "editable " << L;
            Do = [=, this] {
                if (L >= 0)
                    Map.Layers().GetLayer(L)->SetEditable(true);
                else if (TMapLayer* E = Map.Layers().GetEditableLayer())
                    E->SetEditable(false);
            };
            break;
        }
        case 11: {
            const int L = Pick(0, Map.Layers().Count() - 1);
            Say << "toggle visible " << L;
            Do = [=, this] {
                TMapLayer* Layer = Map.Layers().GetLayer(L);
                Layer->SetVisible(!Layer->Visible());
            };
            break;
        }
        case 12:
            Say << "fit";
            Do = [this] { Map.FitView(); };
            break;
        default:
            Say << "repaint";
            Do = [this] { Deliver(); };
        }
        Recent.push_back(Say.str());
        if (Recent.size() > 12) Recent.pop_front();
        Do();
    }

    std::string History() const {
        std::string S;
        for (const std::string& Line : Recent)
            S += "\n  " + Line;
        return S;
    }

    // The invariants, or what broke them.
    std::string Broken() {
        std::map<const TCustomMapObject*, const TMapLayer*> Live;
        for (int L = 0; L < Map.Layers().Count(); ++L) {
            TMapLayer* Layer = Map.Layers().GetLayer(L);
            if (Layer->ObjectCount() != Expected[Layer])
                return Format("layer %s holds %d objects, %d expected", Layer->Name(),
                              Layer->ObjectCount(), Expected[Layer]);
            for (int I = 0; I < Layer->ObjectCount(); ++I) {
                TCustomMapObject* O = Layer->Objects(I);
                if (!Live.emplace(O, Layer).second) return "an object listed twice on layers";
                if (O->Layer() != Layer || O->Map() != &Map)
                    return Format("object %d of %s is bound elsewhere", I, Layer->Name());
            }
        }
        // Only after they are known to be live are the listed objects read.
        auto CheckList = [&](const TMapObjectsList& List, const char* Name) -> std::string {
            std::set<const TCustomMapObject*> Seen;
            for (int I = 0; I < List.Count(); ++I) {
                const TCustomMapObject* O = List.Get(I);
                if (!Live.count(O)) return Format("%s holds an object of no layer", Name);
                if (!Seen.insert(O).second) return Format("%s lists an object twice", Name);
            }
            return "";
        };
        if (std::string E = CheckList(Map.Selection(), "the selection"); !E.empty()) return E;
        if (std::string E = CheckList(Map.Displayed(), "Displayed"); !E.empty()) return E;
        for (int I = 0; I < Map.Selection().Count(); ++I)
            if (!Map.Selection().Get(I)->Layer()->Selectable())
                return "a selected object on a layer that cannot be selected";
        double Left, Top, Right, Bottom;
        Map.ScreenToMap(0, 0, Left, Top);
        Map.ScreenToMap(Map.ClientWidth(), Map.ClientHeight(), Right, Bottom);
        for (double V : {Map.CenterX(), Map.CenterY(), Map.Zoom(), Left, Top, Right, Bottom})
            if (!std::isfinite(V)) return Format("the view is not finite (zoom %g)", Map.Zoom());
        int Active = 0;
        for (auto& Tool : Tools)
            Active += Tool->Active();
        if (Active > 1) return "more than one tool active";
        auto* Text = static_cast<TTextTool*>(Tools.back().get());
        if (Text->CurrentChar() < 0 ||
            Text->CurrentChar() > static_cast<int>(Text->EditText().size()))
            return Format("text caret %d outside \"%s\"", Text->CurrentChar(), Text->EditText());
        return "";
    }
};

} // namespace

TEST_P(RandomInput, EveryToolKeepsTheMapConsistent) {
    int Executions = 0;
    for (int I = 0; I < StepsPerSeed; ++I) {
        try {
            Step();
        } catch (const std::exception& E) {
            FAIL() << "seed " << GetParam() << " step " << I << ": " << E.what() << History();
        }
        ++Executions;
        const std::string Problem = Broken();
        ASSERT_EQ(Problem, "") << "seed " << GetParam() << " step " << I << History();
    }
    Deliver();
    EXPECT_EQ(Broken(), "") << "after the last repaint";
    std::cout << "[ random  ] seed " << GetParam() << ": " << Executions
              << " steps, each followed by the invariant checks; " << Added << " objects added, "
              << Selected << " selected" << std::endl;
    EXPECT_GT(Added, 0) << "the drawing tools never made anything";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomInput, ::testing::Range(1u, 9u));
