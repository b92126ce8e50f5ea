#pragma once
// The standard map tools.

#include "../core/ChartixExport.h"
#include "DrawingTools.h"
#include "MeasureTool.h"
#include "PanTool.h"
#include "PressMoveAndReleaseTool.h"
#include "SelectionTool.h"
#include "TextTool.h"
#include "ZoomTools.h"

namespace Mapobjects {

/// One of each standard tool, what a map window offers: the viewer's and the
/// map widget's toolbar. Declared after the map they work on, they go first.
struct CHARTIX_EXPORT TStandardTools {
    /// One tool of each kind, owned by this struct; each joins a map through SetChartix.
    ///@{
    TSelectionTool Select{nullptr};
    TZoomInTool ZoomIn{nullptr};
    TZoomOutTool ZoomOut{nullptr};
    TPanTool Pan{nullptr};
    TMeasureTool Measure{nullptr};
    TLineTool Line{nullptr};
    TRectTool Rect{nullptr};
    TPolylineTool Polyline{nullptr};
    TRegionTool Region{nullptr};
    TSymbolTool Symbol{nullptr};
    TCircleTool Circle{nullptr};
    TTextTool Text{nullptr};
    ///@}
};

} // namespace Mapobjects
