#pragma once
// An object that is its attribute row alone: what a MIF "None" statement or
// a table row without geometry reads as. It is counted by its layer, listed
// by the data browser and saved back as a row without geometry, but it has
// no extent: it is never drawn, never hit, never selected by area, and
// leaves the layer's extent and spatial index as they were.

#include "../core/ChartixExport.h"
#include "MapObject.h"

namespace Mapobjects {

/// An object that is an attribute row alone: never drawn, hit or selected by area, and
/// without extent.
class CHARTIX_EXPORT TNoGeometry : public TCustomMapObject {
public:
    /// False: the index asks the object itself.
    bool KeepsBaseSpatialTests() const override { return false; }
    /// Nothing to draw, and so never listed in the map's Displayed.
    void Draw() override {}
    /// Nothing to highlight.
    void DrawSelection() override {}
    /// Never true: the object has no geometry.
    ///@{
    bool ContainsPoint(double, double) override { return false; }
    bool Intersects(TCustomMapObject*) override { return false; }
    bool Contains(TCustomMapObject*) override { return false; }
    bool Within(TCustomMapObject*) override { return false; }
    bool IntersectsRect(double, double, double, double) override { return false; }
    bool WithinRect(double, double, double, double) override { return false; }
    bool ContainsRect(double, double, double, double) override { return false; }
    ///@}
};

} // namespace Mapobjects
