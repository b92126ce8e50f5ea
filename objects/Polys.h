#pragma once
// The multi-vertex kinds: a polyline is a set of open paths, a region a set of
// rings whose combined area is filled (a ring inside another cuts a hole).

#include "../core/ChartixExport.h"
#include "MapObject.h"

namespace Mapobjects {

class CHARTIX_EXPORT TPolyline : public TCustomMapObject {
public:
    void Draw() override;
    void DrawSelection() override;
};

class CHARTIX_EXPORT TRegion : public TCustomMapObject {
public:
    void Draw() override;
    void DrawSelection() override;
};

/// Draws Count parts of Obj from First on as a region's rings (filled as one
/// area, then outlined) with the canvas set up by Paint; what TRegion draws,
/// for kinds that hold rings among other parts.
CHARTIX_EXPORT void DrawRings(TCustomMapObject& Obj, int First, int Count);

} // namespace Mapobjects
