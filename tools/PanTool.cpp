#include "tools/PanTool.h"

#include "core/MapObjects.h"

#include <algorithm>

namespace Mapobjects {

using namespace Platform;

TPanTool::TPanTool(TComponent* Owner) : TCustomZoomTool(Owner) {
    SetDisplayName("Pan Tool");
    SetCursor(crSizeAll);
}

double TPanTool::GetNewZoom() {
    return Chartix() ? Chartix()->Zoom() : 1.0;
}

void TPanTool::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TChartix* Map = Chartix();
    if (Button != mbLeft || !Map) return;
    FDragRect = TRect{X, Y, X, Y};
    // A second press without a release starts again from the picture taken
    // at the first, which the window shows moved.
    if (FDragging && !FSnapshot.Empty()) {
        Map->Canvas()->Draw(0, 0, &FSnapshot);
        return;
    }
    FDragging = true;
    FSnapshot.SetSize(Map->Width(), Map->Height());
    const TRect All{0, 0, Map->Width(), Map->Height()};
    FSnapshot.Canvas()->CopyRect(All, Map->Canvas(), All);
}

void TPanTool::MouseMove(TShiftState Shift, int X, int Y) {
    TChartix* Map = Chartix();
    // Without a press seen here there is no picture to move.
    if (!(Shift & ssLeft) || !Map || !FDragging) return;
    FDragRect.Right = X;
    FDragRect.Bottom = Y;
    const int W = Map->ClientWidth(), H = Map->ClientHeight();
    // Moved a window's size or more, the picture is gone anyway; clamped, far
    // pointers cannot overflow the arithmetic below.
    const auto Offset = [](long long From, long long To, int Size) {
        return static_cast<int>(std::clamp<long long>(To - From, -Size, Size));
    };
    const int DX = Offset(FDragRect.Left, FDragRect.Right, std::max(W, FSnapshot.Width()));
    const int DY = Offset(FDragRect.Top, FDragRect.Bottom, std::max(H, FSnapshot.Height()));
    TCanvas* C = Map->Canvas();
    C->Brush()->SetColor(Map->Color());
    // What the moved picture no longer covers shows the map's background.
    if (DX > 0) C->FillRect(TRect{0, 0, DX, H});
    if (DY > 0) C->FillRect(TRect{0, 0, W, DY});
    if (DX < 0) C->FillRect(TRect{W + DX, 0, W, H});
    if (DY < 0) C->FillRect(TRect{0, H + DY, W, H});
    C->Draw(DX, DY, &FSnapshot);
}

void TPanTool::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button != mbLeft || !FDragging) return;
    FDragging = false;
    // The copy goes back to a pixel whatever happens below.
    struct Shrink {
        TBitmap& Snapshot;
        ~Shrink() { Snapshot.SetSize(1, 1); }
    } Guard{FSnapshot};
    TChartix* Map = Chartix();
    if (!Map) return;
    // The drag ends where the button went up, also when no move was
    // reported at that pixel.
    FDragRect.Right = X;
    FDragRect.Bottom = Y;
    if (FDragRect.Left == FDragRect.Right && FDragRect.Top == FDragRect.Bottom) {
        // Nothing to pan, but moves may have left a shifted picture on the
        // window: show the map bitmap again (no rebuild, the map is as it was).
        Map->Invalidate();
        return;
    }
    Map->BeginUpdate();
    struct EndGuard {
        TChartix* Map;
        ~EndGuard() { Map->EndUpdate(true); }
    } End{Map};
    double MX1, MY1, MX2, MY2;
    Map->ScreenToMap(FDragRect.Right, FDragRect.Bottom, MX2, MY2);
    Map->ScreenToMap(FDragRect.Left, FDragRect.Top, MX1, MY1);
    Map->SetCenterX(Map->CenterX() - (MX2 - MX1));
    Map->SetCenterY(Map->CenterY() - (MY2 - MY1));
}

// Dropped mid-drag: the window shows the picture where it was, and the copy
// goes back to a pixel.
void TPanTool::Done() {
    TChartix* Map = Chartix();
    if (FDragging && Map && !FSnapshot.Empty()) Map->Canvas()->Draw(0, 0, &FSnapshot);
    if (FDragging) FSnapshot.SetSize(1, 1);
    FDragging = false;
    TCustomMapTool::Done();
}

} // namespace Mapobjects
