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

// Pixels of the landscape at zoom 2: the town on the lake (over the land),
// and the far town (over the land only).
constexpr int TownX = 55, TownY = 55, FarX = 146, FarY = 34;

} // namespace

TEST_F(SelectionTool, CtrlClicksStepDownThroughTheLayersAndWrap) {
    PaintLandscape();
    auto Tool = Use<TSelectionTool>();
    struct {
        TShiftState Keys;
        int Count;
        TCustomMapObject* Hit;
    } const Steps[] = {
        {0, 0, Town},      {ssCtrl, 1, Lake}, {ssCtrl, 2, Land},
        {ssCtrl, 0, Town}, {ssCtrl, 1, Lake}, {0, 0, Town},
    };
    int Step = 0;
    for (const auto& S : Steps) {
        SCOPED_TRACE(Step++);
        Click(TownX, TownY, S.Keys);
        EXPECT_EQ(Map.CtrlClickCount(), S.Count);
        EXPECT_EQ(Selected(), std::vector<TCustomMapObject*>{S.Hit});
    }
    EXPECT_EQ(Completions, 6);
}

TEST_F(SelectionTool, WithOneLayerCtrlClicksStayOnIt) {
    TRegion* Square = Add<TRegion>({Testing::Box(-10, -10, 10, 10)});
    Deliver();
    auto Tool = Use<TSelectionTool>();
    Click(100, 50, ssCtrl);
    EXPECT_EQ(Map.CtrlClickCount(), 0);
    EXPECT_EQ(Selected(), std::vector<TCustomMapObject*>{Square});
    EXPECT_EQ(Completions, 1);
}

TEST_F(SelectionTool, ShiftClicksAddAndRemovePlainClicksReplace) {
    PaintLandscape();
    auto Tool = Use<TSelectionTool>();
    Click(TownX, TownY);
    Click(FarX, FarY, ssShift);
    EXPECT_EQ(Selected(), (std::vector<TCustomMapObject*>{Town, FarTown}));
    Click(TownX, TownY, ssShift);
    EXPECT_EQ(Selected(), std::vector<TCustomMapObject*>{FarTown});
    Click(TownX, TownY);
    Click(TownX, TownY); // again: no change
    EXPECT_EQ(Selected(), std::vector<TCustomMapObject*>{Town});
    Click(3, 3); // outside the land
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(Completions, 6);
}
