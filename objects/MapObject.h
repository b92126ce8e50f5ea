#pragma once
// The base of every map object: links to its map and layer, its style (pen,
// brush, font, background colour), its geometry and its attribute row; the
// painting protocol (Paint prepares the canvas, Draw draws the kind, then the
// auto label), the XOR selection highlight and the default bounding-box
// spatial predicates.

#include "../core/ChartixExport.h"
#include "../platform/Graphics.h"
#include "../platform/Types.h"
#include "DataFields.h"
#include "DataRow.h"
#include "Geometry.h"
#include "Parts.h"
#include "PointOrParts.h"

#include <memory>

namespace Mapobjects {

class TChartix;
class TMapLayer;

/// The base of every map object: style, geometry, attribute row, links to its map and
/// layer, painting and the default bounding-box spatial predicates.
class CHARTIX_EXPORT TCustomMapObject : public Platform::TPersistent {
public:
    /// Creates an empty object on no map, with the shared default brush, font and pen.
    TCustomMapObject();
    /// An object still on a map when it is destroyed without BeforeDestruction
    /// (deleted directly) is announced from here, with its kind already gone.
    ~TCustomMapObject() override;
    TCustomMapObject(const TCustomMapObject&) = delete;
    TCustomMapObject& operator=(const TCustomMapObject&) = delete;

    /// Announces the object's removal from its map while it is still whole:
    /// the selection lets it go (erasing its marks), Displayed forgets it,
    /// OnDeleteObject and mdlRemoveObject go out and a repaint is asked for.
    /// Nothing while the map itself is being destroyed. Runs once; the layer's
    /// deletions call it before they free an object.
    void BeforeDestruction();

    /// The map the object belongs to, or null.
    TChartix* Map() const { return FMap; }
    /// An object with a map but no layer (taken off its layer, and kept) is
    /// known to that map as loose, so that the map's end can clear the link.
    void SetMap(TChartix* V);
    /// The layer the object is on, or null; setting it also updates whether the map lists the
    /// object as loose.
    ///@{
    TMapLayer* Layer() const { return FLayer; }
    void SetLayer(TMapLayer* V);
    ///@}
    /// Called by a map that is being destroyed while the object is loose:
    /// forget it, so that the object may outlive it.
    void MapDestroyed() {
        FMap = nullptr;
        FLoose = false;
    }
    /// The style tools for writing. Objects drawn alike share one tool until
    /// one of them is asked for it here: it then gets a copy of its own, so
    /// what is written changes this object only. The pointer stays valid
    /// while the object has the tool.
    ///@{
    Platform::TBrush* Brush() const { return FBrush.Own(); }
    Platform::TFont* Font() const { return FFont.Own(); }
    Platform::TPen* Pen() const { return FPen.Own(); }
    ///@}
    /// The same tools for reading: shared, never copied.
    ///@{
    const Platform::TBrush* ReadBrush() const { return FBrush.Get(); }
    const Platform::TFont* ReadFont() const { return FFont.Get(); }
    const Platform::TPen* ReadPen() const { return FPen.Get(); }
    ///@}
    /// Take a shared tool's values: the object shares it unless its own tool
    /// has been handed out for writing (then the values are copied into that
    /// one, and the pointer handed out keeps working).
    ///@{
    void ShareBrush(const Platform::TShared<Platform::TBrush>& V) { Share(FBrush, V); }
    void ShareFont(const Platform::TShared<Platform::TFont>& V) { Share(FFont, V); }
    void SharePen(const Platform::TShared<Platform::TPen>& V) { Share(FPen, V); }
    ///@}
    /// The part list, to change the geometry. An object of one point keeps that point
    /// inline until its part list is first asked for, so to read, use Geometry().
    TParts& Parts() const { return FGeometry.MakeParts(); }
    /// The geometry to read: parts and their points, without making a part list (for a
    /// layer of points, reading through Parts() would make one per object).
    TGeometryView Geometry() const {
        if (const TParts* L = FGeometry.Parts()) return TGeometryView(L);
        return FGeometry.HasPoint() ? TGeometryView(FGeometry.OnePoint()) : TGeometryView();
    }
    /// The attribute row as a field list, made when first asked for: objects
    /// of a layer without fields never have one. A compact row (see Row)
    /// becomes the field list here, for good.
    TDataFields& Fields() const {
        if (TDataFields* L = FRow.List()) return *L;
        return FRow.AsList();
    }
    /// Whether the object has an attribute row (in either form).
    bool HasRow() const { return !FRow.Empty(); }
    /// The row in whichever form it is, read and written value by value
    /// without making a field list: readers, writers and labels use this.
    TObjectRow& Row() const { return FRow; }
    /// The object's point when it is one point in one part, or null.
    const TMapPoint* SinglePoint() const {
        // Inline for the point held in place: drawing asks for it per symbol.
        if (FGeometry.HasPoint()) return &FGeometry.OnePoint();
        return FGeometry.Parts() ? SinglePointOfParts() : nullptr;
    }
    /// Whether the object has at least one point.
    bool HasPoints() const {
        return !AllPoints([](const TMapPoint&) { return false; });
    }
    /// Whether Pred(point) holds for every point of every part (stops at the
    /// first that fails); reads an inline point without making a part list.
    template <class F> bool AllPoints(F&& Pred) const {
        const TParts* L = FGeometry.Parts();
        if (!L) return !FGeometry.HasPoint() || Pred(FGeometry.OnePoint());
        for (int I = 0; I < L->Count(); ++I)
            for (const TMapPoint& P : L->Items(I)->Points())
                if (!Pred(P)) return false;
        return true;
    }
    /// Object-valued setters take the new object and hand the old one back.
    ///@{
    std::unique_ptr<Platform::TBrush> SetBrush(std::unique_ptr<Platform::TBrush> V);
    /// Replaces the font, handing the old one back; virtual, so that a kind may keep
    /// listening to its font's changes.
    virtual std::unique_ptr<Platform::TFont> SetFont(std::unique_ptr<Platform::TFont> V);
    std::unique_ptr<Platform::TPen> SetPen(std::unique_ptr<Platform::TPen> V);
    std::unique_ptr<TParts> SetParts(std::unique_ptr<TParts> V);
    std::unique_ptr<TDataFields> SetFields(std::unique_ptr<TDataFields> V);
    ///@}
    /// A number free for the application's use; 0 by default.
    ///@{
    std::int32_t Tag() const { return FTag; }
    void SetTag(std::int32_t V) { FTag = V; }
    ///@}
    /// Whether the object is drawn with BGColor as its background (and selection highlight)
    /// colour instead of its brush colour.
    ///@{
    bool UseBGColor() const { return FUseBGColor; }
    void SetUseBGColor(bool V) { FUseBGColor = V; }
    ///@}
    /// The background colour used when UseBGColor is on; white by default.
    ///@{
    Platform::TColor BGColor() const { return FBGColor; }
    void SetBGColor(Platform::TColor V) { FBGColor = V; }
    ///@}
    /// What the file the object was read from said of its style, in the
    /// reading provider's own bits (which clauses it lacked...), so that
    /// saving an unchanged object writes the same clauses; 0 for an object
    /// made in code.
    ///@{
    std::uint8_t FileStyle() const { return FFileStyle; }
    void SetFileStyle(std::uint8_t V) { FFileStyle = V & 7; }
    ///@}
    /// MapInfo style numbers that the platform's pen and brush cannot hold,
    /// as the file gave them, so that saving writes them back; 0 when none
    /// was kept (the tool's own style is written then). 1 to 127.
    ///@{
    int KeptPenPattern() const { return FKeptStyle & 0x7F; }
    void SetKeptPenPattern(int V) { SetKept(0, 0x7F, V); }
    int KeptBrushPattern() const { return (FKeptStyle >> 7) & 0x7F; }
    void SetKeptBrushPattern(int V) { SetKept(7, 0x7F, V); }
    ///@}
    /// The same 14 bits as one number, for a symbol: its style number.
    ///@{
    int KeptSymbolStyle() const { return FKeptStyle & 0x3FFF; }
    void SetKeptSymbolStyle(int V) { SetKept(0, 0x3FFF, V); }
    ///@}
    /// One bit whose meaning is the kind's: a polyline drawn smoothed, a
    /// region with a kept centre, a symbol drawn from a picture file.
    ///@{
    bool KeptFlag() const { return (FKeptStyle >> 15) != 0; }
    void SetKeptFlag(bool V) { SetKept(15, 1, V ? 1 : 0); }
    ///@}

    /// Recomputes the extent of Parts from all points.
    virtual void UpdateBounds();
    /// The object's extent in map units; empty bounds for an object without points.
    TBounds GetBounds() const {
        if (const TParts* L = FGeometry.Parts()) return L->Bounds();
        if (FGeometry.HasPoint()) {
            const TMapPoint& P = FGeometry.OnePoint();
            return TBounds{P.X, P.Y, P.X, P.Y};
        }
        return TBounds{};
    }
    /// Screen position of a point (no clamping); EListError for a bad index.
    Platform::TPoint GetPixels(int PartIndex, int PointIndex) const;
    /// Whether the object is in its map's selection.
    bool GetSelected() const;
    /// Writing either value toggles the highlight; membership is unchanged.
    void SetSelected(bool);
    /// Adds the object to its map's selection, when it has a map and is not in it yet.
    void Select();

    /// Draws the object as part of the map's picture; only what is drawn this
    /// way is listed in Displayed and so can be hit.
    void Paint();
    /// Lists the object in Displayed when it is drawn by Paint; drawing the
    /// selection marks (which the kinds do by drawing their shape) lists
    /// nothing, so marks never make an object hittable.
    virtual void Draw();
    /// Draws the selection highlight, inverting, when the map shows the selection; the base
    /// only sets the canvas up, the kinds then draw their shape.
    virtual void DrawSelection();
    /// Whether the map point (X, Y) lies in the object; the base tests the extent.
    virtual bool ContainsPoint(double X, double Y);
    /// Whether any point of Obj lies in this object (by ContainsPoint).
    virtual bool Intersects(TCustomMapObject* Obj);
    /// Whether every point of Obj lies in this object (by ContainsPoint).
    virtual bool Contains(TCustomMapObject* Obj);
    /// Whether Obj contains this object.
    virtual bool Within(TCustomMapObject* Obj);
    /// Whether the object overlaps the rectangle (X1, Y1)-(X2, Y2) in map units; the base
    /// tests the extent (see BoxIntersectsRect).
    virtual bool IntersectsRect(double X1, double Y1, double X2, double Y2);
    /// Whether every point of the object lies in the rectangle, X1 <= X2 and Y1 <= Y2.
    virtual bool WithinRect(double X1, double Y1, double X2, double Y2);
    /// Whether the object contains all four corners of the rectangle (by ContainsPoint).
    virtual bool ContainsRect(double X1, double Y1, double X2, double Y2);
    /// Whether this kind keeps the base tests above, on its extent and points, so that
    /// the spatial index may answer them from the extent alone. Kinds with tests of their
    /// own (or not yet vouched for) say false, and the index asks the object.
    virtual bool KeepsBaseSpatialTests() const { return true; }

    /// Approximate heap bytes owned by the object (for memory reports).
    virtual size_t MemoryUsed() const;

protected:
    /// Sets the map canvas up so that drawing the shape inverts it.
    void PrepareCanvasAtributes();
    /// Whether this object is one point in one part (symbols, texts, centres).
    bool IsSinglePoint() const;
    /// Makes the geometry one point at (X, Y), its extent on that point; kept
    /// inline unless a part list has been made already.
    void SetSinglePoint(double X, double Y);
    /// Whether the geometry is one point held inline (no part list yet).
    bool HasInlinePoint() const { return FGeometry.HasPoint(); }
    /// Whether the part list has been made.
    bool HasPartList() const { return FGeometry.Parts() != nullptr; }
    /// The coordinates of the inline point; valid only when HasInlinePoint().
    ///@{
    double InlineX() const { return FGeometry.OnePoint().X; }
    double InlineY() const { return FGeometry.OnePoint().Y; }
    ///@}

private:
    friend class TMapLayer;
    void DrawAutoLabel();
    // SinglePoint of an object with a part list.
    const TMapPoint* SinglePointOfParts() const;
    // What BeforeDestruction sends once the selection (when WasSelected) and
    // Displayed have let go of the object, as bulk deletion does for many;
    // From is the layer it was on, whose drawing decides on its marks.
    void AnnounceRemoval(bool WasSelected, const TMapLayer* From);
    // Tells the map whether the object is loose, when that changed.
    void UpdateLoose();

    // First, after the vtable pointer: a layer without an index tests every
    // object's extent on each repaint, so the object's first cache line
    // should hold it. The slot's tag byte leaves tail room for the flags and
    // the tag.
    [[no_unique_address]] mutable TPointOrParts FGeometry;
    bool FUseBGColor : 1 = false;
    bool FRemovalAnnounced : 1 = false;
    bool FDying : 1 = false;    // one of a batch being deleted
    bool FPainting : 1 = false; // inside Paint: Draw adds to the map's picture
    std::uint8_t FFileStyle : 3 = 0;
    bool FLoose : 1 = false; // listed by FMap as having no layer
    // In the bytes before FTag that alignment leaves free, so that keeping
    // the numbers costs no object anything: pen pattern (bits 0-6), brush
    // pattern (7-13, a symbol's style number in 0-13 instead), the kind's
    // flag (15).
    std::uint16_t FKeptStyle = 0;
    void SetKept(int Shift, unsigned Mask, int V) {
        const unsigned Bits = (V < 0 || static_cast<unsigned>(V) > Mask) ? 0 : unsigned(V);
        FKeptStyle = static_cast<std::uint16_t>((FKeptStyle & ~(Mask << Shift)) | (Bits << Shift));
    }
    std::int32_t FTag = 0;
    TChartix* FMap = nullptr;
    TMapLayer* FLayer = nullptr;
    template <class T>
    static void Share(Platform::TShared<T>& Mine, const Platform::TShared<T>& Value) {
        if (Mine.Shared() || !Mine)
            Mine = Value;
        else if (Value)
            Mine.Own()->Assign(*Value);
    }
    // Mutable: asking for a tool to write, or for the part list or the row,
    // makes them on a const object too (the accessors always handed out
    // writable ones).
    mutable Platform::TShared<Platform::TBrush> FBrush;
    mutable Platform::TShared<Platform::TFont> FFont;
    mutable Platform::TShared<Platform::TPen> FPen;
    mutable TObjectRow FRow;
    // Last and 4 bytes wide: the first member of a kind (a symbol's shape)
    // fills the 4 bytes after it.
    Platform::TColor FBGColor = 0xFFFFFF;
};

/// The base IntersectsRect on a box: does the box (MinX..MaxX, MinY..MaxY)
/// overlap the rectangle (X1, Y1)-(X2, Y2)? Corners of either inside the
/// other, then crossings of their edges.
CHARTIX_EXPORT bool BoxIntersectsRect(const TBounds& Box, double X1, double Y1, double X2,
                                      double Y2);

/// The class argument of NewObject: makes a new, empty object of one kind.
using TMapObjectClass = TCustomMapObject* (*)();
/// The TMapObjectClass of kind T: makes a new T with new.
template <class T> TCustomMapObject* MapObjectClassOf() {
    return new T();
}

} // namespace Mapobjects
