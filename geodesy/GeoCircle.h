#pragma once
// Geodesic circles: the points at a distance in metres around a centre given
// in degrees (x the longitude, y the latitude), on a map whose coordinates
// are degrees. Two kinds of the same name, told apart by their namespaces:
// Mapobjects::TGeoCircle is a true polygon, a region stepped around the
// centre in Gauss–Krüger metres; Geocircle::TGeoCircle is an ellipse whose
// half-axes are the radius in degrees of latitude and of longitude at the
// centre, kept as the four corners of its bounding box.

#include "../core/ChartixExport.h"
#include "../objects/Polys.h"

#include <cstdint>

namespace Mapobjects {

/// A circle of a radius in metres about a centre in degrees, kept as a region whose one
/// ring is stepped around the centre; for maps in longitude and latitude.
class CHARTIX_EXPORT TGeoCircle : public TRegion {
public:
    /// False: the index asks the object itself.
    bool KeepsBaseSpatialTests() const override { return false; }
    /// A 90-point circle of 100 km about (0°, 0°).
    TGeoCircle();

    double CenterX() const { return FCenterX; }         ///< longitude of the centre, degrees
    double CenterY() const { return FCenterY; }         ///< latitude of the centre, degrees
    double Radius() const { return FRadius; }           ///< metres
    std::int32_t PieCount() const { return FPieCount; } ///< points on the circumference
    /// Set the centre (degrees), the radius (metres) or the number of points; each
    /// setter stores the value and rebuilds the ring at once.
    ///@{
    void SetCenterX(double V);
    void SetCenterY(double V);
    void SetRadius(double V);
    void SetPieCount(std::int32_t V);
    ///@}

    /// Rebuilds the one ring: PieCount points at equal bearings clockwise from
    /// one step east of north round to north, then the first point again.
    /// Longitudes above 180 come back 360 lower. A PieCount of 0 or less
    /// leaves one empty ring.
    void GeneratePoints();

private:
    double FCenterX = 0;
    double FCenterY = 0;
    double FRadius = 100000;
    std::int32_t FPieCount = 90;
};

} // namespace Mapobjects

namespace Geocircle {

/// A geodesic circle drawn as an ellipse: its four points are the corners of the box
/// whose half-sides are the radius in degrees of longitude and of latitude at the centre.
class CHARTIX_EXPORT TGeoCircle : public Mapobjects::TCustomMapObject {
public:
    /// False: the index asks the object itself.
    bool KeepsBaseSpatialTests() const override { return false; }
    /// Starts as the unit square (0, 0), (0, 1), (1, 1), (1, 0), unrecalculated.
    TGeoCircle();

    double Radius() const { return FRadius; } ///< metres
    double Y() const { return FY; }           ///< latitude of the centre, degrees
    double X() const { return FX; }           ///< longitude of the centre, degrees
    /// Set the radius (metres) or the centre (degrees); each setter stores the value and
    /// recalculates the box at once.
    ///@{
    void SetRadius(double V);
    void SetY(double V);
    void SetX(double V);
    ///@}

    /// Overwrites the four corners with the ellipse's bounding box: the radius
    /// in degrees from the metres per arc-second of latitude and of longitude
    /// at the centre.
    void RecalculatePoints();

    /// Draws as the base object does, then the ellipse inscribed in the box through
    /// points 0 and 2 on the map's canvas; nothing more without a map.
    void Draw() override;
    /// Highlights the ellipse; nothing unless the map shows selections.
    void DrawSelection() override;
    /// Inside the ellipse inscribed in the box through points 0 and 2, the
    /// boundary included; nothing is inside a box of zero width or height.
    bool ContainsPoint(double X, double Y) override;
    /// The ellipse meets every object and every rectangle, and lies within
    /// every rectangle: it always counts as in view.
    ///@{
    bool Intersects(Mapobjects::TCustomMapObject* Obj) override { return true; }
    bool IntersectsRect(double X1, double Y1, double X2, double Y2) override { return true; }
    bool WithinRect(double X1, double Y1, double X2, double Y2) override { return true; }
    bool ContainsRect(double X1, double Y1, double X2, double Y2) override { return true; }
    ///@}

private:
    double FRadius = 0;
    double FY = 0;
    double FX = 0;
};

} // namespace Geocircle
