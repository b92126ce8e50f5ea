// The selection tool: clicks replace the selection, Shift-clicks toggle,
// Ctrl-clicks step down through the layers.
#include "tools/ToolFixture.h"

using namespace Mapobjects;
using namespace Platform;

namespace {

struct SelectionTool : Testing::ToolFixture {
    std::vector<TCustomMapObject*> Selected() {
        std::vector<TCustomMapObject*> List;
        for (int I = 0; I < Map.Selection().Count(); ++I)
            List.push_back(Map.Selection().Get(I));
        return List;
    }
};

} // namespace

// Pixel (55, 55) is the town on the lake on the land; (146, 34) the far town.
TEST_F(SelectionTool, ClicksPickShiftTogglesCtrlStepsDownAndWraps) {
    PaintLandscape();
    auto Tool = Use<TSelectionTool>();
    struct {
        TPoint At;
        TShiftState Keys;
        int CtrlCount;
        std::vector<TCustomMapObject*> Selection;
    } const Steps[] = {
        {{55, 55}, 0, 0, {Town}},
        {{55, 55}, ssCtrl, 1, {Lake}},
        {{55, 55}, ssCtrl, 2, {Land}},
        {{55, 55}, ssCtrl, 0, {Town}},
        {{55, 55}, ssCtrl, 1, {Lake}},
        {{55, 55}, 0, 0, {Town}},
        {{146, 34}, ssShift, 0, {Town, FarTown}},
        {{55, 55}, ssShift, 0, {FarTown}},
        {{55, 55}, 0, 0, {Town}},
        {{3, 3}, 0, 0, {}}, // outside the land
    };
    int Step = 0;
    for (const auto& S : Steps) {
        SCOPED_TRACE(Step++);
        Click(S.At.X, S.At.Y, S.Keys);
        EXPECT_EQ(Map.CtrlClickCount(), S.CtrlCount);
        EXPECT_EQ(Selected(), S.Selection);
    }
    EXPECT_EQ(Completions, Step);
}
