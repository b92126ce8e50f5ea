#include "tools/ZoomTools.h"

#include "core/MapObjects.h"

#include <algorithm>
#include <cstdlib>

namespace Mapobjects {

using namespace Platform;

namespace {

// 64-bit differences: extreme client pixels must not overflow.
long long Dx(const TRect& R) {
    return static_cast<long long>(R.Right) - R.Left;
}
long long Dy(const TRect& R) {
    return static_cast<long long>(R.Bottom) - R.Top;
}

} // namespace

bool TCustomZoomTool::Complete() {
    TChartix* Map = Chartix();
    if (!Map) return false;
    bool Result = false;
    // The middle pixel, halves cut toward zero as integer division does.
    const int CX = static_cast<int>(FDragRect.Left + Dx(FDragRect) / 2);
    const int CY = static_cast<int>(FDragRect.Top + Dy(FDragRect) / 2);
    double MX, MY;
    Map->ScreenToMap(CX, CY, MX, MY);
    const double NewZoom = GetNewZoom();
    if (Map->Zoom() != NewZoom) {
        Map->BeginUpdate();
        struct EndGuard {
            TChartix* Map;
            ~EndGuard() { Map->EndUpdate(true); }
        } Guard{Map};
        Map->SetZoom(NewZoom);
        // Back at the whole world: show it whole, wherever the gesture was.
        if (Map->Zoom() == 1.0) {
            Map->SetCenterX(0);
            Map->SetCenterY(0);
        } else {
            Map->SetCenterX(MX);
            Map->SetCenterY(MY);
        }
        Result = true;
    }
    TCustomMapTool::Complete();
    return Result;
}

TZoomInTool::TZoomInTool(TComponent* Owner) : TCustomZoomTool(Owner) {
    SetDisplayName("ZoomIn Tool");
    SetCursor(crHandPoint);
}

double TZoomInTool::GetNewZoom() {
    TChartix* Map = Chartix();
    if (!Map) return 1.0;
    const long long DX = Dx(FDragRect), DY = Dy(FDragRect);
    if (DX == 0 || DY == 0) return std::min(Map->Zoom() * 2, Map->MaxZoom());
    // Unclamped: the rectangle asked for exactly this view.
    return Map->Zoom() * std::min(static_cast<double>(Map->ClientWidth()) / std::llabs(DX),
                                  static_cast<double>(Map->ClientHeight()) / std::llabs(DY));
}

TZoomOutTool::TZoomOutTool(TComponent* Owner) : TCustomZoomTool(Owner) {
    SetDisplayName("ZoomOut Tool");
    SetCursor(crHandPoint);
}

double TZoomOutTool::GetNewZoom() {
    TChartix* Map = Chartix();
    if (!Map) return 1.0;
    // The larger of the signed extents, made positive: a drag up and left
    // by 100 and 50 pixels counts 50.
    const long long D = std::llabs(std::max(Dx(FDragRect), Dy(FDragRect)));
    if (D == 0) return std::max(Map->Zoom() / 2, Map->MinZoom());
    return std::max(Map->Zoom() * static_cast<double>(D) / Map->ClientWidth(), Map->MinZoom());
}

} // namespace Mapobjects
