// What every standard tool shares: its name and cursor, buttons other than
// the left one doing nothing, and doing nothing without a map.
#include "tools/ToolFixture.h"

#include <functional>

using namespace Mapobjects;
using namespace Platform;
using Testing::Difference;

namespace {

struct EveryTool : Testing::ToolFixture {};

struct TKind {
    const char* Name;
    std::function<std::unique_ptr<TCustomMapTool>()> Make;
    TCursor Cursor;
    bool Edits; // enabled only with an editable layer
};

template <class T> std::unique_ptr<TCustomMapTool> Make() {
    return std::make_unique<T>(nullptr);
}

const TKind Kinds[] = {
    {"Selection Tool", Make<TSelectionTool>, crDefault, false},
    {"ZoomIn Tool", Make<TZoomInTool>, crHandPoint, false},
    {"ZoomOut Tool", Make<TZoomOutTool>, crHandPoint, false},
    {"Pan Tool", Make<TPanTool>, crSizeAll, false},
    {"Line Tool", Make<TLineTool>, crCross, true},
    {"Rectangle Tool", Make<TRectTool>, crCross, true},
    {"Polyline Tool", Make<TPolylineTool>, crCross, true},
    {"Region Tool", Make<TRegionTool>, crCross, true},
    {"Symbol Tool", Make<TSymbolTool>, crCross, true},
    {"Circle Tool", Make<TCircleTool>, crCross, true},
    {"Measure Tool", Make<TMeasureTool>, crCross, false},
    {"Text Tool", Make<TTextTool>, crIBeam, true},
};

} // namespace

// Without a map there is no input route: the tools' own entry points are
// called, and nothing happens or completes.
TEST_F(EveryTool, ShowsItsCursorAndIgnoresOtherButtonsOrNoMap) {
    PaintLandscape();
    const QImage Before = Map.Surface().copy();
    for (const TKind& K : Kinds) {
        SCOPED_TRACE(K.Name);
        auto Tool = K.Make();
        Tool->OnComplete = [this](TCustomMapTool*) { ++Completions; };
        Tool->MouseDown(mbLeft, ssLeft | ssCtrl, 5, 6);
        Tool->MouseMove(ssLeft, 7, 8);
        Tool->MouseUp(mbLeft, 0, 9, 10);
        Tool->DblClick();
        if (auto* Zoom = dynamic_cast<TCustomZoomTool*>(Tool.get())) {
            EXPECT_EQ(Zoom->GetNewZoom(), 1.0);
            EXPECT_FALSE(Zoom->Complete());
        }
        EXPECT_FALSE(Tool->GetEnabled());

        Tool->SetChartix(&Map);
        Tool->SetActive(true);
        EXPECT_EQ(std::pair(Tool->DisplayName(), Map.Cursor()),
                  std::pair(std::string(K.Name), K.Cursor));
        EXPECT_EQ(Tool->GetEnabled(), !K.Edits);
        Layer->SetEditable(true);
        EXPECT_TRUE(Tool->GetEnabled());
        const int Requests = Host.Requests;
        for (TMouseButton Button : {mbRight, mbMiddle}) {
            const TShiftState Held = Button == mbRight ? ssRight : ssMiddle;
            Map.MouseDown(Button, Held, 55, 55); // on a town
            Map.MouseMove(Held, 120, 80);
            Map.MouseUp(Button, 0, 120, 80);
        }
        EXPECT_EQ(Difference(Map.Surface(), Before), "");
        EXPECT_EQ(std::tuple(Map.Zoom(), Map.CenterX(), Map.CenterY()), std::tuple(2.0, 0.0, 0.0));
        EXPECT_EQ(Map.Selection().Count() + Layer->ObjectCount(), 1);
        EXPECT_EQ(std::pair(Host.Requests, Completions), std::pair(Requests, 0));
        Layer->SetEditable(false);
        Tool->SetActive(false);
        // A tool that stops takes its cursor along, except the text tool.
        EXPECT_EQ(Map.Cursor(), K.Cursor == crIBeam ? crIBeam : crDefault);
    }
}
