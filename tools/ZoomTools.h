#pragma once
// Zooming by click or by rubber-band rectangle: the finished gesture asks for
// a new zoom and centres the view on the middle of the rectangle.

#include "../core/ChartixExport.h"
#include "PressMoveAndReleaseTool.h"

namespace Mapobjects {

/// Base of the zoom tools: a finished click or rectangle gesture zooms to GetNewZoom and
/// centres the view on the middle of the rectangle (on the world's origin at zoom 1).
class CHARTIX_EXPORT TCustomZoomTool : public TCustomRectTool {
public:
    using TCustomRectTool::TCustomRectTool;

    /// Applies the new zoom when it differs from the map's and then fires
    /// OnComplete, also when nothing changed; true when the view changed.
    bool Complete() override;
    /// The zoom the finished gesture asks for.
    virtual double GetNewZoom() = 0;
};

/// A click or a one-axis drag doubles the zoom up to MaxZoom; a rectangle is
/// fitted into the window.
class CHARTIX_EXPORT TZoomInTool : public TCustomZoomTool {
public:
    /// Creates the tool, named "ZoomIn Tool", with the hand cursor.
    explicit TZoomInTool(Platform::TComponent* Owner);
    double GetNewZoom() override;
};

/// A click halves the zoom; a drag shrinks the view's width into the larger
/// signed extent of the rectangle; never below MinZoom.
class CHARTIX_EXPORT TZoomOutTool : public TCustomZoomTool {
public:
    /// Creates the tool, named "ZoomOut Tool", with the hand cursor.
    explicit TZoomOutTool(Platform::TComponent* Owner);
    double GetNewZoom() override;
};

} // namespace Mapobjects
