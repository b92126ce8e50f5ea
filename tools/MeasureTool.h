#pragma once
// Measures a path clicked vertex by vertex: the fixed legs and the one that
// follows the pointer are drawn like a polyline in progress, and every press
// and move reports the last leg and the whole length. A double click ends
// the path (its lengths are reported one last time); nothing is added to
// any layer.

#include "../core/ChartixExport.h"
#include "../geodesy/Geodesic.h"
#include "DrawingTools.h"

#include <functional>

namespace Mapobjects {

/// Measures a path clicked vertex by vertex on the map, reporting its lengths through
/// OnMeasure; adds nothing to any layer.
class CHARTIX_EXPORT TMeasureTool : public TCustomMultiPointTool {
public:
    /// Creates the tool, named "Measure Tool".
    explicit TMeasureTool(Platform::TComponent* Owner);

    ///@{
    /// On, map units are degrees (x longitude, y latitude) and lengths are
    /// geodesic metres on Ellipsoid; off (the default), lengths are in map
    /// units along straight legs.
    bool Geographic() const { return FGeographic; }
    void SetGeographic(bool V) { FGeographic = V; }
    ///@}
    /// The ellipsoid geographic lengths are measured on; WGS 84 by default.
    ///@{
    const TEllipsoid& Ellipsoid() const { return FEllipsoid; }
    void SetEllipsoid(const TEllipsoid& V) { FEllipsoid = V; }
    ///@}

    ///@{
    /// The length between two map points, by the rule above; the forms with
    /// an ellipsoid measure on that one instead of Ellipsoid.
    double Length(const TMapPoint& A, const TMapPoint& B) const { return Length(FEllipsoid, A, B); }
    double Length(const TEllipsoid& E, const TMapPoint& A, const TMapPoint& B) const;
    ///@}
    /// The leg from the last vertex to the pointer (0 once the path ended).
    ///@{
    double LastLeg() const { return LastLeg(FEllipsoid); }
    double LastLeg(const TEllipsoid& E) const;
    ///@}
    /// The fixed legs and the last one together.
    ///@{
    double Total() const { return Total(FEllipsoid); }
    double Total(const TEllipsoid& E) const;
    ///@}

    /// After every change of the path: a press, a move, the end.
    std::function<void(TMeasureTool& Tool)> OnMeasure;

    /// A press that adds a vertex, and a move while the path has vertices, update the pointer
    /// position and fire OnMeasure.
    ///@{
    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
    void MouseMove(Platform::TShiftState Shift, int X, int Y) override;
    ///@}
    /// Ends the path: fires OnMeasure a last time (fixed legs only, when there are any) and
    /// starts afresh; returns false, nothing being added.
    bool Complete() override;
    /// Draws the leg that follows the pointer with the rubber-band pen.
    void Draw() override;
    /// Any map with layers can be measured, editable or not.
    bool GetEnabled() const override;

private:
    void Measure(int X, int Y);

    bool FGeographic = false;
    TEllipsoid FEllipsoid = Wgs84Ellipsoid;
    TMapPoint FPointer; // in map units; meaningful with FPointerShown
    bool FPointerShown = false;
};

} // namespace Mapobjects
