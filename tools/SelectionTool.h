#pragma once
// Selecting by click: the object under the pointer replaces the selection,
// or with Shift joins or leaves it; repeated Ctrl-clicks reach lower layers.

#include "../core/ChartixExport.h"
#include "../core/MapTools.h"

namespace Mapobjects {

/// Selects by left click: the object under the pointer replaces the selection, or with
/// Shift toggles in it; each further Ctrl-click looks one layer deeper.
class CHARTIX_EXPORT TSelectionTool : public TCustomMapTool {
public:
    /// Creates the tool, named "Selection Tool", with the default cursor.
    explicit TSelectionTool(Platform::TComponent* Owner);

    /// A left click selects at the pointer (see the class) and calls Complete.
    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
};

} // namespace Mapobjects
