#pragma once
// A point object drawn as one character of a symbol font, centred on its
// anchor, at a constant size on screen. Shape 31 means no symbol.

#include "../core/ChartixExport.h"
#include "MapObject.h"

#include <string>

namespace Mapobjects {

/// A point object drawn as one character of a symbol font (or a picture), centred on its
/// anchor, at a constant size on screen.
class CHARTIX_EXPORT TSymbol : public TCustomMapObject {
public:
    /// False: the index asks the object itself.
    bool KeepsBaseSpatialTests() const override { return false; }
    /// A symbol at (0, 0) with shape 31, which draws nothing.
    TSymbol();

    /// The anchor, in map units. Setting a coordinate of an anchor already in a part list
    /// leaves the kept extent as it is (UpdateBounds brings it up to date).
    ///@{
    double X();
    double Y();
    virtual void SetX(double Value);
    virtual void SetY(double Value);
    ///@}
    /// Makes the symbol one point at (X, Y), its extent on that point.
    void SetPoint(double X, double Y);
    /// The character drawn (its low byte); values below 31 store 31, which draws nothing.
    ///@{
    int Shape() const { return FShape; }
    void SetShape(int Value) { FShape = Value < 31 ? 31 : Value; }
    ///@}

    /// A picture symbol: drawn from the image file its font's name gives
    /// (found beside the layer's file), its style number kept by the object.
    ///@{
    bool IsPicture() const { return KeptFlag(); }
    /// Makes the symbol a picture symbol: FileName goes to the font's name, Style is kept.
    void SetPicture(const std::string& FileName, int Style);
    ///@}

    void Draw() override;
    void DrawSelection() override;
    /// Whether (X, Y) falls within a pixel box around the anchor, half the font size plus 2
    /// pixels each way, whatever the zoom; true for a symbol without a map.
    bool ContainsPoint(double X, double Y) override;
    /// Whether Obj contains the anchor.
    bool Intersects(TCustomMapObject* Obj) override;
    /// Always false: a point contains nothing.
    bool Contains(TCustomMapObject* Obj) override { return false; }
    /// Whether the anchor lies in the rectangle, edges included (both tests alike).
    ///@{
    bool IntersectsRect(double X1, double Y1, double X2, double Y2) override;
    bool WithinRect(double X1, double Y1, double X2, double Y2) override;
    ///@}
    /// Always false.
    bool ContainsRect(double X1, double Y1, double X2, double Y2) override { return false; }

protected:
    /// The anchor point, created at (0, 0) when missing.
    TMapPoint& Anchor();
    /// The anchor's value, read without making a part list (made at (0, 0)
    /// when missing, as Anchor does).
    TMapPoint AnchorPoint() {
        if (const TMapPoint* P = SinglePoint()) return *P;
        return Anchor();
    }
    /// The glyph's screen box around the anchor, from the current canvas font.
    Platform::TRect GlyphBox();
    /// The one-character string of the glyph: the low byte of Shape.
    std::string GlyphText() const;
    /// Whether the anchor exists (inline, or as the first point of the first part).
    bool HasAnchor() const;

private:
    void DrawPicture();
    int FShape = 31;
};

// A point layer holds one of these per point: past 88 bytes the heap hands
// out 112-byte blocks instead of 96.
static_assert(sizeof(TSymbol) <= 88, "a symbol grew past a 96-byte heap block");

} // namespace Mapobjects
