#pragma once
// Selecting by click: the object under the pointer replaces the selection,
// or with Shift joins or leaves it; repeated Ctrl-clicks reach lower layers.

#include "../core/ChartixExport.h"
#include "../core/MapTools.h"

namespace Mapobjects {

class CHARTIX_EXPORT TSelectionTool : public TCustomMapTool {
public:
    explicit TSelectionTool(Platform::TComponent* Owner);

    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
};

} // namespace Mapobjects
