#pragma once
// Panning: while the left button is held a copy of the window follows the
// pointer; the centre changes once, on release.

#include "../core/ChartixExport.h"
#include "../platform/Bitmap.h"
#include "ZoomTools.h"

namespace Mapobjects {

/// Pans by left-button drag: the window's picture follows the pointer, and the map's centre
/// moves by the dragged distance on release.
class CHARTIX_EXPORT TPanTool : public TCustomZoomTool {
public:
    /// Creates the tool, named "Pan Tool", with the four-way arrow cursor.
    explicit TPanTool(Platform::TComponent* Owner);

    /// A left press copies the window, moves draw the copy shifted by the drag over the map's
    /// background colour, and the release moves the centre (one rebuild) or, for a drag that
    /// ends where it began, just repaints.
    ///@{
    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
    void MouseMove(Platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(Platform::TMouseButton Button, Platform::TShiftState Shift, int X, int Y) override;
    ///@}
    /// Puts a picture moved by a drag under way back in place.
    void Done() override;
    /// Panning asks for no zoom: the map's own (1.0 without a map), so that
    /// Complete, which the tool never calls itself, leaves the view alone and
    /// only reports completion.
    double GetNewZoom() override;

    /// The copy of the window taken at the press; 1 x 1 between drags.
    const Platform::TBitmap& Snapshot() const { return FSnapshot; }

private:
    Platform::TBitmap FSnapshot;
};

} // namespace Mapobjects
