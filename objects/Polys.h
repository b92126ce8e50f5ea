#pragma once
// The multi-vertex kinds: a polyline is a set of open paths, a region a set of
// rings whose combined area is filled (a ring inside another cuts a hole).

#include "../core/ChartixExport.h"
#include "MapObject.h"

namespace Mapobjects {

/// A polyline: one or more open paths, one per part, drawn with the object's pen.
class CHARTIX_EXPORT TPolyline : public TCustomMapObject {
public:
    /// Draws each part as an open path, and the selection highlight over them.
    ///@{
    void Draw() override;
    void DrawSelection() override;
    ///@}
};

/// A region: one or more rings, one per part, filled as one area (a ring inside another
/// cuts a hole) and outlined.
class CHARTIX_EXPORT TRegion : public TCustomMapObject {
public:
    /// Draws the rings (see DrawRings), and the selection highlight over them.
    ///@{
    void Draw() override;
    void DrawSelection() override;
    ///@}
};

/// Draws Count parts of Obj from First on as a region's rings (filled as one
/// area, then outlined) with the canvas set up by Paint; what TRegion draws,
/// for kinds that hold rings among other parts.
CHARTIX_EXPORT void DrawRings(TCustomMapObject& Obj, int First, int Count);

} // namespace Mapobjects
