#pragma once
// Circles (a centre and a radius in map units, drawn as a screen ellipse) and
// axis-parallel rectangles (two corner points, in any order).

#include "objects/MapObject.h"

namespace Mapobjects {

class TCircle : public TCustomMapObject {
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

class TRectangle : public TCustomMapObject {
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
    // Writes go to the corner points as such: X0 to P0.X, X1 to P1.X ...
    void SetX0(double V);
    void SetY0(double V);
    void SetX1(double V);
    void SetY1(double V);

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
};

} // namespace Mapobjects
