#pragma once
// Screen geometry in client pixels: 32-bit points, sizes and rectangles.
// Rectangles are Left, Top, Right, Bottom and are not normalised.

#include "PlatformExport.h"
#include <cstdint>

namespace Platform {

/// A point in pixels.
struct CHARTIX_PLATFORM_EXPORT TPoint {
    std::int32_t X = 0; ///< horizontal, growing to the right
    std::int32_t Y = 0; ///< vertical, growing downwards
    /// True for the same point.
    bool operator==(const TPoint&) const = default;
};

/// A size in pixels.
struct CHARTIX_PLATFORM_EXPORT TSize {
    std::int32_t cx = 0; ///< width
    std::int32_t cy = 0; ///< height
    /// True for the same size.
    bool operator==(const TSize&) const = default;
};

/// A rectangle in pixels; Right and Bottom lie just outside it.
struct CHARTIX_PLATFORM_EXPORT TRect {
    /// The edges; not normalised.
    ///@{
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    ///@}
    /// The width and height; negative when the edges are swapped.
    ///@{
    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    ///@}
    /// True for the same edges.
    bool operator==(const TRect&) const = default;
};

/// The point (X, Y).
inline TPoint Point(int X, int Y) {
    return TPoint{X, Y};
}
/// The rectangle of the given edges.
inline TRect Rect(int Left, int Top, int Right, int Bottom) {
    return TRect{Left, Top, Right, Bottom};
}

} // namespace Platform
