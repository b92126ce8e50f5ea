#pragma once
// A point object drawn as one character of a symbol font, centred on its
// anchor, at a constant size on screen. Shape 31 means no symbol.

#include "../core/ChartixExport.h"
#include "MapObject.h"

#include <string>

namespace Mapobjects {

class CHARTIX_EXPORT TSymbol : public TCustomMapObject {
public:
    TSymbol();

    double X();
    double Y();
    virtual void SetX(double Value);
    virtual void SetY(double Value);
    /// Makes the symbol one point at (X, Y), its extent on that point.
    void SetPoint(double X, double Y);
    int Shape() const { return FShape; }
    void SetShape(int Value) { FShape = Value < 31 ? 31 : Value; }

    /// A picture symbol: drawn from the image file its font's name gives
    /// (found beside the layer's file), its style number kept by the object.
    bool IsPicture() const { return KeptFlag(); }
    void SetPicture(const std::string& FileName, int Style);

    void Draw() override;
    void DrawSelection() override;
    bool ContainsPoint(double X, double Y) override;
    bool Intersects(TCustomMapObject* Obj) override;
    bool Contains(TCustomMapObject* Obj) override { return false; }
    bool IntersectsRect(double X1, double Y1, double X2, double Y2) override;
    bool WithinRect(double X1, double Y1, double X2, double Y2) override;
    bool ContainsRect(double X1, double Y1, double X2, double Y2) override { return false; }

protected:
    /// The anchor point, created at (0, 0) when missing.
    TMapPoint& Anchor();
    /// The anchor's value, read without making a part list (made at (0, 0)
    /// when missing, as Anchor does).
    TMapPoint AnchorPoint();
    /// The glyph's screen box around the anchor, from the current canvas font.
    Platform::TRect GlyphBox();
    /// The one-character string of the glyph: the low byte of Shape.
    std::string GlyphText() const;
    bool HasAnchor() const;

private:
    void DrawPicture();
    int FShape = 31;
};

/// A point layer holds one of these per point: past 88 bytes the heap hands
/// out 112-byte blocks instead of 96.
static_assert(sizeof(TSymbol) <= 88, "a symbol grew past a 96-byte heap block");

} // namespace Mapobjects
