#pragma once
// The multi-vertex kinds: a polyline is a set of open paths, a region a set of
// rings whose combined area is filled (a ring inside another cuts a hole).

#include "objects/MapObject.h"

namespace Mapobjects {

class TPolyline : public TCustomMapObject {
public:
    void Draw() override;
    void DrawSelection() override;
};

class TRegion : public TCustomMapObject {
public:
    void Draw() override;
    void DrawSelection() override;
};

} // namespace Mapobjects
