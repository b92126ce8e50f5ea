#include "tools/PressMoveAndReleaseTool.h"

#include "core/MapObjects.h"
#include "tools/RubberBand.h"

namespace Mapobjects {

using namespace Platform;

void TCustomPressMoveAndReleaseTool::MouseDown(TMouseButton Button, TShiftState Shift, int X,
                                               int Y) {
    if (Button != mbLeft) return;
    // A second press without a release (a release lost to another window)
    // starts the gesture afresh.
    if (FDragging) Draw();
    FDragRect = TRect{X, Y, X, Y};
    FDragging = true;
    Draw();
}

// The anchor is the press this tool saw: a drag begun under another tool (the
// tool switched while the button was held) has none here, and is ignored.
void TCustomPressMoveAndReleaseTool::MouseMove(TShiftState Shift, int X, int Y) {
    if (!(Shift & ssLeft) || !FDragging) return;
    Draw();
    FDragRect.Right = X;
    FDragRect.Bottom = Y;
    Draw();
}

void TCustomPressMoveAndReleaseTool::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button != mbLeft || !FDragging) return;
    Draw();
    FDragging = false;
    // The gesture ends where the button went up, also when no move was
    // reported at that pixel; the figure shown was erased above.
    FDragRect.Right = X;
    FDragRect.Bottom = Y;
    Complete();
}

// A tool that starts work has no gesture of its own yet (one it had on a map
// that has gone is not on this window).
void TCustomPressMoveAndReleaseTool::Init() {
    TCustomMapTool::Init();
    FDragging = false;
}

void TCustomPressMoveAndReleaseTool::Done() {
    if (FDragging) Draw();
    FDragging = false;
    TCustomMapTool::Done();
}

void TCustomRectTool::Draw() {
    TChartix* Map = Chartix();
    if (!Map) return;
    TRubberBandPen Pen(Map->Canvas());
    Map->Canvas()->Rectangle(FDragRect);
}

} // namespace Mapobjects
