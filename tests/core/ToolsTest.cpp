// Tools of a map: activation and its events, tools joining and leaving maps,
// input handed to the active tool, and the wheel zoom of the map itself.
#include "support/MapFixture.h"

#include <string>

using namespace Mapobjects;
using Platform::Format;
using Platform::TObject;
using Testing::TLines;

namespace {

// Writes every call it gets into a shared log, "name.Call(arguments)"; it
// swallows the key and the character it is told to by zeroing them.
struct TRecordingTool : TCustomMapTool {
    TLines& Log;
    std::uint16_t SwallowKey = 0;
    char SwallowChar = 0;

    TRecordingTool(const std::string& Name, TLines& L, Platform::TCursor C)
        : TCustomMapTool(nullptr), Log(L) {
        SetDisplayName(Name);
        SetCursor(C);
        OnToolStateChanged = [this](TCustomMapTool* T) { Say("OnToolStateChanged", T == this); };
    }
    void Say(const std::string& What, bool Ok = true) {
        Log.push_back(DisplayName() + "." + What + (Ok ? "" : "(wrong sender)"));
    }
    void MouseDown(Platform::TMouseButton B, Platform::TShiftState S, int X, int Y) override {
        Say(Format("MouseDown(%d,%u,%d,%d)%s", B, S, X, Y, Focus()));
    }
    void MouseMove(Platform::TShiftState S, int X, int Y) override {
        Say(Format("MouseMove(%u,%d,%d)", S, X, Y));
    }
    void MouseUp(Platform::TMouseButton B, Platform::TShiftState S, int X, int Y) override {
        Say(Format("MouseUp(%d,%u,%d,%d)", B, S, X, Y));
    }
    void DblClick() override { Say("DblClick" + Focus()); }
    void KeyDown(std::uint16_t& Key, Platform::TShiftState S) override {
        Say(Format("KeyDown(%d,%u)", Key, S));
        if (Key == SwallowKey) Key = 0;
    }
    void KeyUp(std::uint16_t& Key, Platform::TShiftState S) override {
        Say(Format("KeyUp(%d,%u)", Key, S));
        if (Key == SwallowKey) Key = 0;
    }
    void KeyPress(char& Key) override {
        Say(Format("KeyPress(%d)", Key));
        if (Key == SwallowChar) Key = 0;
    }
    void Init() override {
        Say("Init");
        TCustomMapTool::Init();
    }
    void Done() override {
        Say("Done");
        TCustomMapTool::Done();
    }
    std::string Focus() const { return Chartix() && Chartix()->Focused() ? "[focused]" : ""; }
};

struct Tools : Testing::MapFixture {
    TLines Log;
    TRecordingTool A{"A", Log, Platform::crCross};
    TRecordingTool B{"B", Log, Platform::crHandPoint};

    void SetUp() override {
        MapFixture::SetUp();
        Map.OnMapToolChanged = [this](TObject* S) {
            Log.push_back("OnMapToolChanged(" + Testing::SenderName(S) + ")");
        };
    }
    void TearDown() override { Map.OnMapToolChanged = nullptr; }
};

} // namespace

TEST_F(Tools, ActivatingOneDeactivatesTheOtherInOrder) {
    EXPECT_EQ(Map.MapToolsManager().GetActiveMapTool(), nullptr);
    EXPECT_EQ(Map.MapToolsManager().GetActiveMapToolIndex(), -1);
    A.SetChartix(&Map);
    B.SetChartix(&Map);
    A.SetActive(true);
    EXPECT_EQ(Log, (TLines{"A.OnToolStateChanged", "OnMapToolChanged(map)", "A.Init"}));
    EXPECT_EQ(Map.Cursor(), Platform::crCross);
    Log.clear();
    B.SetActive(true);
    EXPECT_EQ(Log, (TLines{"B.OnToolStateChanged", "OnMapToolChanged(map)", "A.OnToolStateChanged",
                           "OnMapToolChanged(map)", "A.Done", "B.Init"}));
    EXPECT_FALSE(A.Active());
    EXPECT_EQ(Map.MapToolsManager().GetActiveMapTool(), &B);
    EXPECT_EQ(Map.MapToolsManager().GetActiveMapToolIndex(), 1);
    EXPECT_EQ(Map.Cursor(), Platform::crHandPoint);
    Log.clear();
    B.SetActive(true); // unchanged: nothing
    B.SetActive(false);
    EXPECT_EQ(Log, (TLines{"B.OnToolStateChanged", "OnMapToolChanged(map)", "B.Done"}));
    EXPECT_EQ(Map.MapToolsManager().GetActiveMapTool(), nullptr);
    EXPECT_EQ(Map.Cursor(), Platform::crDefault);
}

// Active is the tool's own switch: without a map it is only stored; a tool
// joining a map active takes over there, one leaving a map ends its work there.
TEST_F(Tools, AnActiveToolTakesOverTheMapItJoinsAndEndsOnTheMapItLeaves) {
    A.SetActive(true);
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(A.Active());
    B.SetChartix(&Map);
    B.SetActive(true);
    Log.clear();
    A.SetChartix(&Map);
    EXPECT_EQ(Log, (TLines{"OnMapToolChanged(map)", "B.OnToolStateChanged", "OnMapToolChanged(map)",
                           "B.Done", "A.Init"}));
    EXPECT_EQ(Map.MapToolsManager().GetActiveMapTool(), &A);
    EXPECT_EQ(Map.Cursor(), Platform::crCross);

    Log.clear();
    A.SetChartix(nullptr);
    EXPECT_EQ(Log, (TLines{"A.Done", "OnMapToolChanged(map)"}));
    EXPECT_TRUE(A.Active());
    EXPECT_EQ(Map.MapToolsManager().Count(), 1);
    EXPECT_EQ(Map.MapToolsManager().GetActiveMapTool(), nullptr);
    EXPECT_EQ(Map.Cursor(), Platform::crDefault);

    // A freed active tool leaves the map with the default cursor.
    auto C = std::make_unique<TRecordingTool>("C", Log, Platform::crIBeam);
    C->SetChartix(&Map);
    C->SetActive(true);
    ASSERT_EQ(Map.Cursor(), Platform::crIBeam);
    C.reset();
    EXPECT_EQ(Map.Cursor(), Platform::crDefault);
    EXPECT_EQ(Map.MapToolsManager().Count(), 1);
}

// The host's handlers see mouse input first, the active tool keys first, and
// the host gets a key as the tool left it; a click gives the map the focus.
TEST_F(Tools, InputGoesToTheHostAndTheActiveTool) {
    using namespace Platform;
    Map.OnMouseDown = [&](TObject*, TMouseButton B, TShiftState S, int X, int Y) {
        Log.push_back(Format("host.MouseDown(%d,%u,%d,%d)", B, S, X, Y));
    };
    Map.OnMouseMove = [&](TObject*, TShiftState S, int X, int Y) {
        Log.push_back(Format("host.MouseMove(%u,%d,%d)", S, X, Y));
    };
    Map.OnMouseUp = [&](TObject*, TMouseButton B, TShiftState S, int X, int Y) {
        Log.push_back(Format("host.MouseUp(%d,%u,%d,%d)", B, S, X, Y));
    };
    Map.OnDblClick = [&](TObject*) { Log.push_back("host.DblClick"); };
    Map.OnKeyDown = [&](TObject*, std::uint16_t& K, TShiftState S) {
        Log.push_back(Format("host.KeyDown(%d,%u)", K, S));
    };
    Map.OnKeyUp = [&](TObject*, std::uint16_t& K, TShiftState S) {
        Log.push_back(Format("host.KeyUp(%d,%u)", K, S));
    };
    Map.OnKeyPress = [&](TObject*, char& K) { Log.push_back(Format("host.KeyPress(%d)", K)); };
    auto Feed = [&] {
        Application()->SetFocusedControl(nullptr);
        std::uint16_t Esc = VK_ESCAPE, Left = VK_LEFT;
        char X = 'x';
        Map.MouseDown(mbLeft, ssShift | ssLeft, 10, 20);
        Map.MouseMove(ssLeft, 11, 21);
        Map.MouseUp(mbRight, ssCtrl, 12, 22);
        Application()->SetFocusedControl(nullptr);
        Map.DblClick();
        Map.KeyDown(Esc, ssCtrl);
        Map.KeyUp(Left, 0);
        Map.KeyPress(X);
        Log.push_back(Format("keys left %d %d %d", Esc, Left, X));
    };
    B.SetChartix(&Map);
    B.SetActive(true);
    B.SwallowKey = VK_ESCAPE;
    B.SwallowChar = 'x';
    Log.clear();
    Feed();
    EXPECT_EQ(Log,
              (TLines{"host.MouseDown(0,9,10,20)", "B.MouseDown(0,9,10,20)[focused]",
                      "host.MouseMove(8,11,21)", "B.MouseMove(8,11,21)", "host.MouseUp(1,4,12,22)",
                      "B.MouseUp(1,4,12,22)", "host.DblClick", "B.DblClick[focused]",
                      "B.KeyDown(27,4)", "host.KeyDown(0,4)", "B.KeyUp(37,0)", "host.KeyUp(37,0)",
                      "B.KeyPress(120)", "host.KeyPress(0)", "keys left 0 37 0"}));
}

// 360 x 180 map: pixel (270, 45) is map (90, 45) at zoom 1; one step
// whatever the delta, none counts as down, the bounds clamp but a zoom
// already beyond one is not pulled back.
TEST_F(Tools, WheelZoomsByOneStepAboutTheChosenCentreWithinTheZoomRange) {
    TMapLayer* L = Map.Layers().Add("", "L");
    TRegion* R = Testing::AddShape<TRegion>(L, {Testing::Box(10, 20, 30, 60)});
    struct {
        TWheelMouseZoomType Type;
        double Zoom;
        int Delta;
        bool Select; // the object at 10..30 x 20..60
        double Expected, CenterX, CenterY;
    } const Wheels[] = {
        {wmCenter, 1, 360, false, 2, 0, 0},         {wmCenter, 1, 0, false, 0.5, 0, 0},
        {wmCursor, 1, 120, false, 2, 90, 45},       {wmAnchor, 1, -120, false, 0.5, -90, -45},
        {wmSelected, 1, 120, true, 2, 20, 40},      {wmCenter, 80, 120, false, 100, 0, 0},
        {wmCenter, 0.015, -120, false, 0.01, 0, 0}, {wmCenter, 200, 120, false, 200, 0, 0},
    };
    int Zooms = 0;
    Map.OnZoom = [&](TObject*) { ++Zooms; };
    for (const auto& W : Wheels) {
        SCOPED_TRACE(W.Type * 1000 + W.Zoom);
        Map.SetCenterX(0);
        Map.SetCenterY(0);
        Map.SetZoom(W.Zoom);
        Map.Selection().Clear();
        if (W.Select) R->Select();
        Map.SetZoomType(W.Type);
        Platform::Application()->ProcessMessages();
        Zooms = 0;
        Map.MouseWheel(0, W.Delta, 270, 45);
        EXPECT_EQ(std::tuple(Map.Zoom(), Map.CenterX(), Map.CenterY()),
                  std::tuple(W.Expected, W.CenterX, W.CenterY));
        EXPECT_EQ(Zooms, W.Expected != W.Zoom ? 1 : 0);
        EXPECT_FALSE(Map.InUpdate());
        EXPECT_TRUE(Map.PaintPending());
    }
    Map.OnZoom = nullptr;
    Map.SetWheelMouse(false);
    Map.MouseWheel(0, -120, 270, 45);
    EXPECT_EQ(Map.Zoom(), 200);
    Map.SetWheelMouse(true);
    Platform::Application()->ProcessMessages();
    Map.BeginUpdate(); // the host's update outlasts the wheel
    Map.MouseWheel(0, -120, 270, 45);
    EXPECT_EQ(Map.Zoom(), 100);
    EXPECT_TRUE(Map.InUpdate());
    EXPECT_FALSE(Map.PaintPending());
    Map.EndUpdate(true);
}
