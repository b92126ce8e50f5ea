#pragma once
// The pen of rubber-band figures: one-pixel black NOT-XOR lines with no fill,
// so drawing a figure twice leaves the window as it was.

#include "../core/ChartixExport.h"
#include "../platform/Canvas.h"

namespace Mapobjects {

/// Sets the canvas up for an inverting outline for its lifetime; the pen mode
/// and brush style the canvas had come back afterwards.
class CHARTIX_EXPORT TRubberBandPen {
public:
    /// Switches Canvas to a one-pixel black NOT-XOR pen and a clear brush.
    explicit TRubberBandPen(Platform::TCanvas* Canvas)
        : FCanvas(Canvas), FMode(Canvas->Pen()->Mode()), FStyle(Canvas->Brush()->Style()) {
        Canvas->Pen()->SetMode(Platform::pmNotXor);
        Canvas->Pen()->SetColor(Platform::clBlack);
        Canvas->Pen()->SetWidth(1);
        Canvas->Brush()->SetStyle(Platform::bsClear);
    }
    /// Restores the canvas's previous pen mode and brush style.
    ~TRubberBandPen() {
        FCanvas->Brush()->SetStyle(FStyle);
        FCanvas->Pen()->SetMode(FMode);
    }
    TRubberBandPen(const TRubberBandPen&) = delete;
    TRubberBandPen& operator=(const TRubberBandPen&) = delete;

private:
    Platform::TCanvas* FCanvas;
    Platform::TPenMode FMode;
    Platform::TBrushStyle FStyle;
};

} // namespace Mapobjects
