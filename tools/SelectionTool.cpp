#include "tools/SelectionTool.h"

#include "core/MapObjects.h"

namespace Mapobjects {

using namespace Platform;

TSelectionTool::TSelectionTool(TComponent* Owner) : TCustomMapTool(Owner) {
    SetDisplayName("Selection Tool");
    SetCursor(crDefault);
}

void TSelectionTool::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TChartix* Map = Chartix();
    if (Button != mbLeft || !Map) return;
    double MX, MY;
    Map->ScreenToMap(X, Y, MX, MY);
    // Each Ctrl-click skips one more top layer, until only the bottom one
    // is left; then it starts from the top again.
    if ((Shift & ssCtrl) && Map->CtrlClickCount() < Map->Layers().Count() - 1)
        Map->SetCtrlClickCount(Map->CtrlClickCount() + 1);
    else
        Map->SetCtrlClickCount(0);
    Map->SelectObjectAt(MX, MY, !(Shift & ssShift));
    Complete();
}

} // namespace Mapobjects
