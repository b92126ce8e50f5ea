#pragma once
// Tools worked by one left-button gesture: press at an anchor, drag with a
// rubber-band figure drawn straight on the window, release to finish.

#include "../core/ChartixExport.h"
#include "../core/MapTools.h"
#include "../platform/Types.h"

namespace Mapobjects {

/// Base of the tools worked by one left-button drag: tracks the gesture in DragRect, keeps
/// its rubber-band figure drawn, and calls Complete on release.
class CHARTIX_EXPORT TCustomPressMoveAndReleaseTool : public TCustomMapTool {
public:
    using TCustomMapTool::TCustomMapTool;

    /// A left press anchors a new gesture, a move with the left button held extends it, the
    /// left release erases the figure, records the end point and calls Complete.
    ///@{
    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
    void MouseMove(Platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(Platform::TMouseButton Button, Platform::TShiftState Shift, int X, int Y) override;
    ///@}
    /// Both forget a gesture under way; Done also erases its figure.
    ///@{
    void Init() override;
    void Done() override;
    ///@}

    /// Draws the figure for the current DragRect so that drawing it again
    /// erases it; nothing here.
    virtual void Draw() {}

    /// Left/Top: where the left button went down; Right/Bottom: the latest
    /// pointer position. Not normalised.
    const Platform::TRect& DragRect() const { return FDragRect; }
    /// Between a left press this tool saw and its release: only such a
    /// gesture is drawn and completed, never one begun under another tool.
    bool Dragging() const { return FDragging; }

protected:
    /// Storage of DragRect() and Dragging() for subclasses.
    ///@{
    Platform::TRect FDragRect;
    bool FDragging = false;
    ///@}
};

/// The figure is the rectangle spanned by DragRect.
class CHARTIX_EXPORT TCustomRectTool : public TCustomPressMoveAndReleaseTool {
public:
    using TCustomPressMoveAndReleaseTool::TCustomPressMoveAndReleaseTool;

    void Draw() override;
};

} // namespace Mapobjects
