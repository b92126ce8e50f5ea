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

enum TTransparentMode { tmAuto, tmFixed };

class CHARTIX_PLATFORM_EXPORT TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const;
    int Height() const;
    void SetWidth(int V);
    void SetHeight(int V);
    void SetSize(int W, int H); ///< keeps the overlapping pixels, new ones white
    bool Empty() const;
    TCanvas* Canvas() const { return FCanvas.get(); }

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool V) { FTransparent = V; }
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode V) { FTransparentMode = V; }
    /// In tmAuto the colour of the bottom-left pixel; in tmFixed the stored one.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor V);

    /// Loads a BMP or PNG file; EFOpenError when missing, EInvalidGraphic when
    /// the contents are not a readable image.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const; ///< format from the extension
    void Assign(const TPersistent* Source) override;
    void ReleaseHandle() {}
    void Dormant() {}

    /// The pixels; flushes pending drawing first. RGB32, or ARGB32
    /// premultiplied when a loaded file had an alpha channel.
    const QImage& Image() const;
    QImage& Image();

private:
    void Bind(); ///< binds the canvas to the current image

    /// A bitmap may be 0 wide and still have a height (and the other way
    /// round); the image exists only when both are positive.
    int FWidth = 0, FHeight = 0;
    std::unique_ptr<QImage> FImage;
    std::unique_ptr<TCanvas> FCanvas;
    bool FTransparent = false;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
};

} // namespace Platform
