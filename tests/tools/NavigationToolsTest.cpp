// What every navigation tool shares: names and cursors, buttons it ignores,
// and working without a map.
#include "tools/ToolFixture.h"

#include <functional>

using namespace Mapobjects;
using namespace Platform;
using Testing::Difference;

namespace {

struct NavigationTools : Testing::ToolFixture {};

struct TKind {
    const char* Name;
    std::function<std::unique_ptr<TCustomMapTool>(TComponent*)> Make;
    TCursor Cursor;
};

template <class T> std::unique_ptr<TCustomMapTool> Make(TComponent* Owner) {
    return std::make_unique<T>(Owner);
}

const TKind Kinds[] = {
    {"Selection Tool", Make<TSelectionTool>, crDefault},
    {"ZoomIn Tool", Make<TZoomInTool>, crHandPoint},
    {"ZoomOut Tool", Make<TZoomOutTool>, crHandPoint},
    {"Pan Tool", Make<TPanTool>, crSizeAll},
};

} // namespace

TEST_F(NavigationTools, TheirCursorShowsAndOtherButtonsDoNothing) {
    PaintLandscape();
    const QImage Before = Map.Surface().copy();
    for (const TKind& K : Kinds) {
        SCOPED_TRACE(K.Name);
        auto Tool = K.Make(nullptr);
        Watch(*Tool);
        Tool->SetChartix(&Map);
        Map.SetCursor(crCross);
        Tool->SetActive(true);
        EXPECT_EQ(std::pair(Tool->DisplayName(), Map.Cursor()),
                  std::pair(std::string(K.Name), K.Cursor));
        const int Requests = Host.Requests;
        for (TMouseButton Button : {mbRight, mbMiddle}) {
            const TShiftState Held = Button == mbRight ? ssRight : ssMiddle;
            Map.MouseDown(Button, Held, 55, 55); // on a town
            Map.MouseMove(Held, 120, 80);
            Map.MouseMove(Held | ssShift | ssCtrl, 10, 5);
            Map.MouseUp(Button, 0, 10, 5);
        }
        EXPECT_EQ(Difference(Map.Surface(), Before), "");
        EXPECT_EQ(Map.Zoom(), 2);
        EXPECT_EQ(Map.CenterX(), 0);
        EXPECT_EQ(Map.CenterY(), 0);
        EXPECT_EQ(Map.Selection().Count(), 0);
        EXPECT_EQ(Map.CtrlClickCount(), 0);
        EXPECT_EQ(Host.Requests, Requests);
        EXPECT_FALSE(Map.PaintPending());
        EXPECT_EQ(Completions, 0);
    }
}

// Without a map there is no input route, so the tools' own operations are
// called: nothing happens, nothing completes, the drag points are kept.
TEST_F(NavigationTools, WithoutAMapToolsDoNothing) {
    for (const TKind& K : Kinds) {
        SCOPED_TRACE(K.Name);
        auto Tool = K.Make(nullptr);
        Watch(*Tool);
        Tool->MouseDown(mbLeft, ssLeft | ssCtrl, 5, 6);
        Tool->MouseMove(ssLeft, 7, 8);
        Tool->MouseUp(mbLeft, 0, 9, 10);
        Tool->DblClick();
        if (auto* Zoom = dynamic_cast<TCustomZoomTool*>(Tool.get())) {
            EXPECT_EQ(Zoom->GetNewZoom(), 1.0);
            EXPECT_FALSE(Zoom->Complete());
        }
        if (dynamic_cast<TZoomInTool*>(Tool.get()) || dynamic_cast<TZoomOutTool*>(Tool.get())) {
            EXPECT_EQ(static_cast<TCustomZoomTool*>(Tool.get())->DragRect(), (TRect{5, 6, 9, 10}));
        }
        EXPECT_EQ(Completions, 0);
    }
}
