#pragma once
// An off-screen bitmap: a 32-bit image with its own canvas, pixel access,
// transparency (automatic: the bottom-left pixel's colour; or fixed) and
// loading from BMP and PNG files.

#include "Canvas.h"
#include "PlatformExport.h"

#include <memory>
#include <string>

class QImage;

namespace Platform {

/// How a bitmap picks its transparent colour: from its bottom-left pixel (tmAuto) or a stored one.
enum TTransparentMode { tmAuto, tmFixed };

/// An off-screen 32-bit image with its own canvas; drawn with or without a transparent colour.
class CHARTIX_PLATFORM_EXPORT TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    /// The size in pixels; resizing works as SetSize.
    ///@{
    int Width() const;
    int Height() const;
    void SetWidth(int V);
    void SetHeight(int V);
    ///@}
    void SetSize(int W, int H); ///< keeps the overlapping pixels, new ones white
    /// True when the bitmap has no pixels (either side is 0).
    bool Empty() const;
    /// The canvas that draws on the bitmap's pixels; owned by the bitmap.
    TCanvas* Canvas() const { return FCanvas.get(); }

    /// Whether TCanvas::Draw leaves out the pixels of the transparent colour.
    ///@{
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool V) { FTransparent = V; }
    ///@}
    /// Where the transparent colour comes from; setting a colour switches to tmFixed.
    ///@{
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode V) { FTransparentMode = V; }
    ///@}
    /// In tmAuto the colour of the bottom-left pixel; in tmFixed the stored one.
    TColor TransparentColor() const;
    /// Stores V as the transparent colour and switches to tmFixed.
    void SetTransparentColor(TColor V);

    /// Loads a BMP or PNG file; EFOpenError when missing, EInvalidGraphic when
    /// the contents are not a readable image.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const; ///< format from the extension
    void Assign(const TPersistent* Source) override;
    /// No-ops, kept for code written against the framework's handle-based bitmaps.
    ///@{
    void ReleaseHandle() {}
    void Dormant() {}
    ///@}

    /// The pixels; flushes pending drawing first. RGB32, or ARGB32
    /// premultiplied when a loaded file had an alpha channel.
    ///@{
    const QImage& Image() const;
    QImage& Image();
    ///@}

private:
    void Bind(); // binds the canvas to the current image

    // A bitmap may be 0 wide and still have a height (and the other way
    // round); the image exists only when both are positive.
    int FWidth = 0, FHeight = 0;
    std::unique_ptr<QImage> FImage;
    std::unique_ptr<TCanvas> FCanvas;
    bool FTransparent = false;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
};

} // namespace Platform
