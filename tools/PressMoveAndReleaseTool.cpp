#include "tools/PressMoveAndReleaseTool.h"

#include "core/MapObjects.h"
#include "tools/RubberBand.h"

namespace Mapobjects {

using namespace Platform;

void TCustomPressMoveAndReleaseTool::MouseDown(TMouseButton Button, TShiftState Shift, int X,
                                               int Y) {
    if (Button != mbLeft) return;
    FDragRect = TRect{X, Y, X, Y};
    Draw();
}

// No state says whether a drag is under way: a move with the left button
// held is one, whoever saw the press.
void TCustomPressMoveAndReleaseTool::MouseMove(TShiftState Shift, int X, int Y) {
    if (!(Shift & ssLeft)) return;
    Draw();
    FDragRect.Right = X;
    FDragRect.Bottom = Y;
    Draw();
}

void TCustomPressMoveAndReleaseTool::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button != mbLeft) return;
    Draw();
    // The gesture ends where the button went up, also when no move was
    // reported at that pixel; the figure shown was erased above.
    FDragRect.Right = X;
    FDragRect.Bottom = Y;
    Complete();
}

void TCustomRectTool::Draw() {
    TChartix* Map = Chartix();
    if (!Map) return;
    TRubberBandPen Pen(Map->Canvas());
    Map->Canvas()->Rectangle(FDragRect);
}

} // namespace Mapobjects
