#pragma once
// Objects that hold several geometries under one attribute row: a multipoint
// (points drawn as one symbol each) and a collection (rings, line sections
// and points, each drawn as its kind is).
//
// Both keep every vertex in their own part list, so that the extent, the
// spatial index, rotation and the base predicates see the whole geometry
// without knowing the kind. A collection orders its parts: first the rings
// of its region, then the sections of its polyline, then one part of
// points; two counts tell where each group ends. One pen draws the rings and
// the lines, the brush fills the rings, the font and Shape give the symbol.
// Neither kind derives from TSymbol: code that asks for a symbol means one
// point, and a symbol stays small.

#include "../core/ChartixExport.h"
#include "MapObject.h"

#include <memory>

namespace Mapobjects {

/// The symbol part shared by both kinds: a shape number drawn in the object's
/// font at each point, with the pixel hit box a TSymbol has.
class CHARTIX_EXPORT TMultiSymbolObject : public TCustomMapObject {
public:
    /// False: the index asks the object itself.
    bool KeepsBaseSpatialTests() const override { return false; }
    /// The symbol shape number drawn at each point; 35 by default.
    int Shape() const { return FShape; }
    /// Stores max(31, Value); 31 draws nothing, as for a symbol.
    void SetShape(int Value) { FShape = Value < 31 ? 31 : Value; }

protected:
    /// Draws the symbol at each point of the parts from First on.
    void DrawSymbols(int First);
    /// The XOR boxes of the symbols from part First on.
    void DrawSymbolBoxes(int First);
    /// Whether (X, Y) is within the symbol's pixel box around a point of the
    /// parts from First on.
    bool HitsSymbol(double X, double Y, int First) const;
    /// Whether a point of the parts from First on lies in the rectangle.
    bool PointInRect(double X1, double Y1, double X2, double Y2, int First) const;

private:
    int FShape = 35;
};

/// Several points under one attribute row, each drawn as the object's symbol.
class CHARTIX_EXPORT TMultiPoint : public TMultiSymbolObject {
public:
    /// Adds a point (the points are the object's one part).
    void AddPoint(double X, double Y);
    /// The number of points.
    int PointCount() const { return Parts().PointCount(); }

    void Draw() override;
    void DrawSelection() override;
    /// Hit at any of its points, in pixels, as a symbol is.
    bool ContainsPoint(double X, double Y) override;
    /// Whether Obj contains one of the points.
    bool Intersects(TCustomMapObject* Obj) override;
    /// Always false: points contain nothing.
    bool Contains(TCustomMapObject*) override { return false; }
    /// Whether one of the points lies in the rectangle.
    bool IntersectsRect(double X1, double Y1, double X2, double Y2) override;
    /// Always false.
    bool ContainsRect(double, double, double, double) override { return false; }
};

/// A collection under one attribute row: region rings, polyline sections and points, in
/// that order in the part list, each drawn as its kind is.
class CHARTIX_EXPORT TCollectionObject : public TMultiSymbolObject {
public:
    /// New parts in their group, whatever was added before; the returned list takes the
    /// part's points.
    ///@{
    TMapPoints& AddRing();
    TMapPoints& AddSection();
    ///@}
    /// Adds a point to the group of points, one part made on first use.
    void AddPoint(double X, double Y);
    /// The groups' sizes, held within the part list (the number of ring parts and section
    /// parts; the number of points).
    ///@{
    int RingCount() const;
    int SectionCount() const;
    int PointCount() const;
    ///@}
    /// The index of the first section's and the first points' part.
    ///@{
    int FirstSection() const { return RingCount(); }
    int FirstPointPart() const { return RingCount() + SectionCount(); }
    ///@}
    /// The pen of the lines when it is not the rings' (null: Pen draws both); the setter
    /// hands the previous one back.
    ///@{
    const Platform::TPen* LinePen() const { return FLinePen.get(); }
    std::unique_ptr<Platform::TPen> SetLinePen(std::unique_ptr<Platform::TPen> V) {
        std::swap(V, FLinePen);
        return V;
    }
    ///@}
    /// The polyline part is drawn smoothed in MapInfo; kept to be written back.
    ///@{
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool V) { FSmooth = V; }
    ///@}

    void Draw() override;
    void DrawSelection() override;
    /// Its rings and lines by their box, as regions and polylines are hit,
    /// its points by their symbols.
    bool ContainsPoint(double X, double Y) override;
    /// Whether the box of the rings and lines overlaps the rectangle, or one of the points
    /// lies in it.
    bool IntersectsRect(double X1, double Y1, double X2, double Y2) override;

private:
    // The box of the rings and sections; empty bounds when there are none.
    TBounds ShapeBounds() const;
    // Brings the counts back within the part list (parts may have been
    // taken away behind the object's back), so that new parts join the
    // right group.
    void FitGroups();
    // Draws the sections, with their own pen when painted plainly.
    void DrawSections(bool Plain);
    std::unique_ptr<Platform::TPen> FLinePen;
    int FRings = 0;
    int FSections = 0;
    bool FSmooth = false;
};

} // namespace Mapobjects
