#pragma once
// Circles (a centre and a radius in map units, drawn as a screen ellipse) and
// axis-parallel rectangles (two corner points, in any order).

#include "../core/ChartixExport.h"
#include "MapObject.h"

namespace Mapobjects {

class CHARTIX_EXPORT TCircle : public TCustomMapObject {
public:
    TCircle();
    double X();
    double Y();
    void SetX(double Value);
    void SetY(double Value);
    double Radius() const { return FRadius; }
    void SetRadius(double V) { FRadius = V; }

    void Draw() override;
    void DrawSelection() override;
    bool ContainsPoint(double X, double Y) override;
    bool Intersects(TCustomMapObject* Obj) override;
    bool Contains(TCustomMapObject* Obj) override;
    bool IntersectsRect(double X1, double Y1, double X2, double Y2) override;
    bool WithinRect(double X1, double Y1, double X2, double Y2) override;
    bool ContainsRect(double X1, double Y1, double X2, double Y2) override;

private:
    TMapPoint& Centre();
    double FRadius = 0;
};

class CHARTIX_EXPORT TRectangle : public TCustomMapObject {
public:
    TRectangle();
    double X0();
    double Y0();
    double X1();
    double Y1();
    double GetX0() { return X0(); }
    double GetY0() { return Y0(); }
    double GetX1() { return X1(); }
    double GetY1() { return Y1(); }
    /// Writes go to the corner points as such: X0 to P0.X, X1 to P1.X ...
    void SetX0(double V);
    void SetY0(double V);
    void SetX1(double V);
    void SetY1(double V);
    /// A rounded rectangle's corners are quarter circles of this diameter, in
    /// map units; 0 (the default) for square corners.
    double CornerDiameter() const { return FCornerDiameter; }
    void SetCornerDiameter(double V);

    void Draw() override;
    void DrawSelection() override;
    bool Intersects(TCustomMapObject* Obj) override { return TCustomMapObject::Intersects(Obj); }
    bool Contains(TCustomMapObject* Obj) override;
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
