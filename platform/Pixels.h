#pragma once
// Pixels of a canvas image combined with a colour under a pen mode (the
// binary raster operations). Used by the canvas and its rasterisers only.

#include "platform/Graphics.h"

#include <QImage>
#include <QRect>
#include <algorithm>

namespace Platform {

constexpr QRgb OpaqueAlpha = 0xFF000000u;

// The binary raster operation of a pen mode. Results are always opaque: the
// alpha byte of an RGB32 image must stay 0xFF whatever the operation does to
// the colour bits, or later copies and conversions see holes.
inline QRgb Rop(TPenMode Mode, QRgb S, QRgb D) {
    QRgb R = S;
    switch (Mode) {
    case pmBlack:
        R = 0;
        break;
    case pmWhite:
        R = 0xFFFFFF;
        break;
    case pmNop:
        R = D;
        break;
    case pmNot:
        R = ~D;
        break;
    case pmCopy:
        R = S;
        break;
    case pmNotCopy:
        R = ~S;
        break;
    case pmMergePenNot:
        R = S | ~D;
        break;
    case pmMaskPenNot:
        R = S & ~D;
        break;
    case pmMergeNotPen:
        R = ~S | D;
        break;
    case pmMaskNotPen:
        R = ~S & D;
        break;
    case pmMerge:
        R = S | D;
        break;
    case pmNotMerge:
        R = ~(S | D);
        break;
    case pmMask:
        R = S & D;
        break;
    case pmNotMask:
        R = ~(S & D);
        break;
    case pmXor:
        R = S ^ D;
        break;
    case pmNotXor:
        R = ~(S ^ D);
        break;
    }
    return R | OpaqueAlpha;
}

// Direct access to the pixels of a 32-bit image whose top-left pixel stands
// for canvas pixel Origin (a layer covers part of a canvas). Coordinates are
// wide so that far-away figures need no clipping by their callers.
class TPixels {
public:
    explicit TPixels(QImage& Image, QPoint Origin = {})
        : FBits(Image.bits()), FStride(Image.bytesPerLine()), FWidth(Image.width()),
          FHeight(Image.height()), FOrigin(Origin) {}
    // The canvas pixels this image holds.
    QRect Area() const { return QRect(FOrigin, QSize(FWidth, FHeight)); }
    void Put(long long X, long long Y, QRgb S, TPenMode Mode) {
        X -= FOrigin.x();
        Y -= FOrigin.y();
        if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
        QRgb* P = reinterpret_cast<QRgb*>(FBits + Y * FStride) + X;
        *P = Rop(Mode, S, *P);
    }
    // Pixels X0 to X1 (both included) of row Y.
    void PutSpan(long long Y, long long X0, long long X1, QRgb S, TPenMode Mode) {
        Y -= FOrigin.y();
        if (Y < 0 || Y >= FHeight) return;
        X0 = std::max(X0 - FOrigin.x(), 0LL);
        X1 = std::min(X1 - FOrigin.x(), static_cast<long long>(FWidth) - 1);
        if (X0 > X1) return;
        QRgb* Row = reinterpret_cast<QRgb*>(FBits + Y * FStride);
        if (Mode == pmCopy) {
            std::fill(Row + X0, Row + X1 + 1, S | OpaqueAlpha);
            return;
        }
        for (long long X = X0; X <= X1; ++X)
            Row[X] = Rop(Mode, S, Row[X]);
    }

private:
    uchar* FBits;
    qsizetype FStride;
    int FWidth, FHeight;
    QPoint FOrigin;
};

} // namespace Platform
