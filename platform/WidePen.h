#pragma once
// Pens wider than a pixel, as the GDI builds them from polygons with round
// caps and joins. Used by the canvas only.
//
// A pixel belongs to the pen when its sample point lies within half the pen's
// width of the path: the pen is the union of discs of its diameter swept
// along the path. The sample point is where the pixel sits for odd widths, so
// they are centred on the one-pixel line (width 3 covers one pixel on each
// side of it). Even widths have no middle pixel: the sample point is half a
// pixel right of and below the pixel, so the odd half pixel lies above and
// left of the path (width 2 along row y covers rows y - 1 and y), as the
// GDI's fill, which takes the top and left edges of a figure but not the
// bottom and right ones, places it. The test is exact, in integers: points on
// the boundary belong to the pen.

#include "platform/Pixels.h"

namespace Platform {

// A path point in sixteenths of a pixel (curves are flattened finer than
// whole pixels).
struct TFixPoint {
    long long X, Y;
};
constexpr long long FixOne = 16;

// Every pen pixel of the path exactly once, combined with Color under Mode.
// A path whose points all coincide draws nothing, as a one-pixel pen does.
void StrokeWide(TPixels& Px, QRgb Color, TPenMode Mode, const TFixPoint* Points, int Count,
                bool Closed, int Width);

} // namespace Platform
