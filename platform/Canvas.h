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

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

class QImage;
class QPainter;
class QRegion;

namespace Platform {

class TBitmap;
class TMask;

/// Whether text cells and the gaps of hatches and dashes are painted in the background colour.
enum TBkMode { TRANSPARENT = 1, OPAQUE = 2 };

/// Draws on a QImage with the framework's pixel rules; the surface of bitmaps and windows.
class CHARTIX_PLATFORM_EXPORT TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    /// The canvas's own drawing tools; the canvas owns them and tracks their changes.
    ///@{
    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    TFont* Font() const { return FFont.get(); }
    ///@}
    /// Copy the given tool into the canvas's own (the framework's Assign).
    ///@{
    void SetPen(const TPen* V) { V ? FPen->Assign(*V) : FPen->Assign(AsPersistent(V)); }
    void SetBrush(const TBrush* V) { V ? FBrush->Assign(*V) : FBrush->Assign(AsPersistent(V)); }
    void SetFont(const TFont* V) { V ? FFont->Assign(*V) : FFont->Assign(AsPersistent(V)); }
    ///@}
    /// Whether the canvas font draws as V does. Asked again for the same V, with
    /// neither font changed since, it compares no settings: objects drawn alike
    /// ask this once each.
    bool FontEquals(const TFont& V) {
        if (&V == FSameFont && V.Serial() == FSameFontSerial && FFont->Serial() == FOwnFontSerial)
            return true;
        if (!FFont->Equals(V)) return false;
        FSameFont = &V;
        FSameFontSerial = V.Serial();
        FOwnFontSerial = FFont->Serial();
        return true;
    }

    /// Lines, outlines, polygons, ellipses and text drawn antialiased (off by
    /// default: the pixel-exact drawing). Only drawing that copies its colour with
    /// a solid pen (and a solid brush or none) is smoothed; XOR and the other
    /// modes, dashes and hatches stay exact, so rubber bands still undo
    /// themselves.
    ///@{
    bool Antialiasing() const { return FAntialiasing; }
    void SetAntialiasing(bool V) { FAntialiasing = V; }
    ///@}

    /// How Polygon fills a ring that crosses itself: ALTERNATE (the default)
    /// or WINDING.
    ///@{
    TPolyFillMode PolyFillMode() const { return FPolyFillMode; }
    void SetPolyFillMode(TPolyFillMode V) { FPolyFillMode = V; }
    ///@}

    /// The background: with OPAQUE, the gaps of hatched brushes and of dashed
    /// one-pixel pens and the cells of text are painted in BkColor; with
    /// TRANSPARENT they are left alone. Every change of the brush sets both,
    /// as the framework's canvas does when it selects a brush: a solid brush
    /// makes the background opaque in its colour, any other style transparent.
    /// Set them after the brush to have them otherwise. A new canvas is opaque
    /// white.
    ///@{
    TBkMode BkMode() const { return FBkMode; }
    void SetBkMode(TBkMode V);
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor V);
    ///@}

    /// The current position, where LineTo starts; moved by MoveTo, LineTo and TextOut.
    TPoint PenPos() const { return FPenPos; }
    /// Sets the current position without drawing.
    void MoveTo(int X, int Y);
    /// Draws with the pen from the current position to (X, Y), end pixel left out,
    /// and moves there.
    void LineTo(int X, int Y);
    /// Draws the open line through Count points with the pen; fewer than 2 draw nothing.
    void Polyline(const TPoint* Points, int Count);
    /// Fills the closed ring of Count points with the brush (by PolyFillMode) and
    /// outlines it with the pen.
    void Polygon(const TPoint* Points, int Count);
    /// Fills the box with the brush and outlines it with the pen; corners in either order.
    ///@{
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    ///@}
    /// Fills and outlines the ellipse inscribed in the box; corners in either order.
    void Ellipse(int X1, int Y1, int X2, int Y2);
    /// Brush only, right and bottom edge excluded; corners in either order.
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R); ///< one-pixel frame in the brush colour
    /// Inverts every other pixel of R's frame; drawing the same rectangle again removes it.
    void DrawFocusRect(const TRect& R);
    /// Draws Text in the font, its cell's top-left at (X, Y), and moves the current
    /// position to its end.
    void TextOut(int X, int Y, const std::string& Text);
    /// TextOut with a halo: a band HaloWidth pixels wide in HaloColor around the glyphs,
    /// under them, drawn smooth when Antialiasing is on. A width of 0 or less draws plain text.
    void TextOutHalo(int X, int Y, const std::string& Text, TColor HaloColor, int HaloWidth);
    void TextRect(const TRect& R, int X, int Y, const std::string& Text); ///< clipped to R
    /// The advance width of Text in the current font, in pixels.
    int TextWidth(const std::string& Text);
    /// The line height of the current font in pixels; Text plays no part.
    int TextHeight(const std::string& Text);
    /// The width of Text and the line height of the current font, in pixels.
    TSize TextExtent(const std::string& Text);
    void Draw(int X, int Y, const TBitmap* Bitmap); ///< honours the bitmap's transparency
    /// Draws Bitmap stretched into R, honouring its transparency; nothing for an empty bitmap.
    void StretchDraw(const TRect& R, const TBitmap* Bitmap);
    /// Copies SourceRect of Source, stretched, into Dest; Source may be this canvas.
    void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);
    TColor Pixel(int X, int Y) const; ///< clNone (0x1FFFFFFF) outside
    /// Sets one pixel to Color; pixels outside the image are ignored.
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
    // Null tools go to the framework's Assign, which refuses them.
    static const TPersistent* AsPersistent(const TPersistent* V) { return V; }
    // The painter on the bound image, begun on first use; null when there is
    // nothing to draw on (no image, an empty one, or not 32 bits a pixel).
    QPainter* Painter();
    void StrokePoints(const TPoint* Points, int Count, bool Closed);
    // TextOut, with a halo when HaloWidth > 0.
    void DrawText(int X, int Y, const std::string& Text, TColor HaloColor, int HaloWidth);
    void FillRegion(const QRegion& Region);

    const struct TTools& CurrentTools();

    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TFont> FFont;
    // The font FontEquals last found equal, and both fonts' serials then: a
    // serial is never reused, so an address reused by another font cannot match.
    const TFont* FSameFont = nullptr;
    std::uint64_t FSameFontSerial = 0, FOwnFontSerial = 0;
    TPoint FPenPos;
    TPolyFillMode FPolyFillMode = ALTERNATE;
    bool FAntialiasing = false;
    TBkMode FBkMode = OPAQUE;
    TColor FBkColor = clWhite;
    QImage* FImage = nullptr;
    std::unique_ptr<QPainter> FPainter;
    // FImage's pixels, read when the painter began on it; empty while it is not.
    struct TPixelAccess {
        unsigned char* Bits = nullptr;
        std::ptrdiff_t Stride = 0;
        int Width = 0, Height = 0;
    } FPixels;
    std::unique_ptr<struct TCanvasTools> FTools;
    bool FToolsStale = true;
};

} // namespace Platform
