#pragma once
// A canvas draws with Windows semantics on a QImage: pen modes as raster
// operations (XOR, NOT-XOR ...), no antialiasing, Rectangle and Ellipse leave
// out the right and bottom edge, LineTo leaves out its end pixel, TextOut puts
// the top-left of the text cell at (X, Y) and turns the text by the font's
// escapement about that point.

#include "Graphics.h"
#include "PlatformExport.h"
#include "Region.h"
#include "Types.h"

#include <functional>
#include <memory>
#include <string>

class QImage;
class QPainter;
class QRegion;

namespace Platform {

class TBitmap;
class TMask;

enum TBkMode { TRANSPARENT = 1, OPAQUE = 2 };

class CHARTIX_PLATFORM_EXPORT TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    TFont* Font() const { return FFont.get(); }
    /// Copy the given tool into the canvas's own (the framework's Assign).
    void SetPen(const TPen* V) { V ? FPen->Assign(*V) : FPen->Assign(AsPersistent(V)); }
    void SetBrush(const TBrush* V) { V ? FBrush->Assign(*V) : FBrush->Assign(AsPersistent(V)); }
    void SetFont(const TFont* V) { V ? FFont->Assign(*V) : FFont->Assign(AsPersistent(V)); }

    /// How Polygon fills a ring that crosses itself: ALTERNATE (the default)
    /// or WINDING.
    TPolyFillMode PolyFillMode() const { return FPolyFillMode; }
    void SetPolyFillMode(TPolyFillMode V) { FPolyFillMode = V; }

    /// The background: with OPAQUE, the gaps of hatched brushes and of dashed
    /// one-pixel pens and the cells of text are painted in BkColor; with
    /// TRANSPARENT they are left alone. Every change of the brush sets both,
    /// as the framework's canvas does when it selects a brush: a solid brush
    /// makes the background opaque in its colour, any other style transparent.
    /// Set them after the brush to have them otherwise. A new canvas is opaque
    /// white.
    TBkMode BkMode() const { return FBkMode; }
    void SetBkMode(TBkMode V);
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor V);

    TPoint PenPos() const { return FPenPos; }
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const TPoint* Points, int Count);
    void Polygon(const TPoint* Points, int Count);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void Ellipse(int X1, int Y1, int X2, int Y2);
    /// Brush only, right and bottom edge excluded; corners in either order.
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R); ///< one-pixel frame in the brush colour
    void DrawFocusRect(const TRect& R);
    void TextOut(int X, int Y, const std::string& Text);
    void TextRect(const TRect& R, int X, int Y, const std::string& Text); ///< clipped to R
    int TextWidth(const std::string& Text);
    int TextHeight(const std::string& Text);
    TSize TextExtent(const std::string& Text);
    void Draw(int X, int Y, const TBitmap* Bitmap); ///< honours the bitmap's transparency
    void StretchDraw(const TRect& R, const TBitmap* Bitmap);
    void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);
    TColor Pixel(int X, int Y) const; ///< clNone (0x1FFFFFFF) outside
    void SetPixel(int X, int Y, TColor Color);
    /// Region painting with the current brush (the GDI PaintRgn / FillRgn).
    void PaintRgn(const TRgn& Region);
    /// Sets the pixels of Mask, its origin at (X, Y), to Color; pen, brush
    /// and background play no part.
    void DrawMask(int X, int Y, const TMask& Mask, TColor Color);

    /// The image this canvas draws on; null for a canvas without a surface.
    /// Drawing needs a 32-bit image (RGB32, or ARGB32 premultiplied for
    /// bitmaps that keep an alpha channel).
    QImage* Image() const { return FImage; }
    /// Binds the canvas to an image (or none). Ends any painting on the old one.
    void SetImage(QImage* Image);
    /// Finishes pending painting so the image can be read, resized or copied.
    void Flush();
    /// Called when drawing starts on the image after a Flush (or a rebind):
    /// a window's canvas uses it to have what was drawn brought to the screen.
    std::function<void()> OnBeginDrawing;

private:
    /// Null tools go to the framework's Assign, which refuses them.
    static const TPersistent* AsPersistent(const TPersistent* V) { return V; }
    /// The painter on the bound image, begun on first use; null when there is
    /// nothing to draw on (no image, an empty one, or not 32 bits a pixel).
    QPainter* Painter();
    void StrokePoints(const TPoint* Points, int Count, bool Closed);
    void FillRegion(const QRegion& Region);

    const struct TTools& CurrentTools();

    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TFont> FFont;
    TPoint FPenPos;
    TPolyFillMode FPolyFillMode = ALTERNATE;
    TBkMode FBkMode = OPAQUE;
    TColor FBkColor = clWhite;
    QImage* FImage = nullptr;
    std::unique_ptr<QPainter> FPainter;
    std::unique_ptr<struct TCanvasTools> FTools;
    bool FToolsStale = true;
};

} // namespace Platform
