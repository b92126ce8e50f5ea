#pragma once
// Circles (a centre and a radius in map units, drawn as a screen ellipse) and
// axis-parallel rectangles (two corner points, in any order).

#include "../core/ChartixExport.h"
#include "MapObject.h"

namespace Mapobjects {

/// A circle: a centre (the object's one point) and a radius, in map units; drawn as a
/// screen circle whose radius follows the zoom along the X axis.
class CHARTIX_EXPORT TCircle : public TCustomMapObject {
public:
    /// False: the index asks the object itself.
    bool KeepsBaseSpatialTests() const override { return false; }
    /// A circle of radius 0 centred at (0, 0).
    TCircle();
    /// The centre, in map units. The setters leave the kept extent as it is: call
    /// UpdateBounds after moving the circle.
    ///@{
    double X();
    double Y();
    void SetX(double Value);
    void SetY(double Value);
    ///@}
    /// The radius, in map units.
    ///@{
    double Radius() const { return FRadius; }
    void SetRadius(double V) { FRadius = V; }
    ///@}

    void Draw() override;
    void DrawSelection() override;
    /// Whether (X, Y) lies in the disc, its edge included.
    bool ContainsPoint(double X, double Y) override;
    /// Another circle intersects when the discs overlap (touching is not enough); any other
    /// object when one of its points lies in the disc.
    bool Intersects(TCustomMapObject* Obj) override;
    /// True when at least one point of Obj lies in the disc.
    bool Contains(TCustomMapObject* Obj) override;
    /// Whether a corner of the rectangle lies in the disc; a rectangle that crosses or
    /// encloses the circle with no corner in it does not count.
    bool IntersectsRect(double X1, double Y1, double X2, double Y2) override;
    /// Whether the circle's bounding square lies strictly inside the rectangle.
    bool WithinRect(double X1, double Y1, double X2, double Y2) override;
    bool ContainsRect(double X1, double Y1, double X2, double Y2) override;

private:
    TMapPoint& Centre();
    double FRadius = 0;
};

/// An axis-parallel rectangle given by two corner points in map units, in any order,
/// optionally with rounded corners.
class CHARTIX_EXPORT TRectangle : public TCustomMapObject {
public:
    /// False: the index asks the object itself.
    bool KeepsBaseSpatialTests() const override { return false; }
    /// A rectangle with both corners at (0, 0).
    TRectangle();
    /// The normalised edges, in map units: X0 and Y0 the smaller coordinates of the two
    /// corners, X1 and Y1 the larger.
    ///@{
    double X0();
    double Y0();
    double X1();
    double Y1();
    double GetX0() { return X0(); }
    double GetY0() { return Y0(); }
    double GetX1() { return X1(); }
    double GetY1() { return Y1(); }
    ///@}
    /// Writes go to the corner points as such: X0 to P0.X, X1 to P1.X ...
    ///@{
    void SetX0(double V);
    void SetY0(double V);
    void SetX1(double V);
    void SetY1(double V);
    ///@}
    /// A rounded rectangle's corners are quarter circles of this diameter, in
    /// map units; 0 (the default) for square corners.
    /// Values that are not finite and positive store 0.
    ///@{
    double CornerDiameter() const { return FCornerDiameter; }
    void SetCornerDiameter(double V);
    ///@}

    /// Draws the box (rounded with a CornerDiameter) always in the object's own pen and
    /// brush, over BGColor when UseBGColor is on.
    void Draw() override;
    void DrawSelection() override;
    bool Intersects(TCustomMapObject* Obj) override { return TCustomMapObject::Intersects(Obj); }
    /// Whether the rectangle contains Obj's extent.
    bool Contains(TCustomMapObject* Obj) override;
    /// Whether a corner of the given rectangle lies in this one's extent.
    bool IntersectsRect(double X1, double Y1, double X2, double Y2) override;
    bool WithinRect(double X1, double Y1, double X2, double Y2) override {
        return TCustomMapObject::WithinRect(X1, Y1, X2, Y2);
    }
    bool ContainsRect(double X1, double Y1, double X2, double Y2) override {
        return TCustomMapObject::ContainsRect(X1, Y1, X2, Y2);
    }

private:
    TMapPoint& Corner(int Index);
    void DrawRounded();
    double FCornerDiameter = 0;
};

/// Appends the closed outline of the box (X0, Y0)-(X1, Y1) with corners
/// rounded to Diameter (each radius at most half the side), as GDAL's MapInfo
/// driver hands a rounded rectangle: counter-clockwise from the lower left
/// arc, 45 points a quarter, each arc's end repeated, so that a region made
/// of it reads back with the driver's own vertex count.
CHARTIX_EXPORT void AddRoundRectOutline(TMapPoints& Points, double X0, double Y0, double X1,
                                        double Y1, double Diameter);

} // namespace Mapobjects
