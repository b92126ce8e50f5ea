#pragma once
// Screen geometry in client pixels: 32-bit points, sizes and rectangles.
// Rectangles are Left, Top, Right, Bottom and are not normalised.

#include "PlatformExport.h"
#include <cstdint>

namespace Platform {

struct CHARTIX_PLATFORM_EXPORT TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct CHARTIX_PLATFORM_EXPORT TSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    bool operator==(const TSize&) const = default;
};

struct CHARTIX_PLATFORM_EXPORT TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

inline TPoint Point(int X, int Y) {
    return TPoint{X, Y};
}
inline TRect Rect(int Left, int Top, int Right, int Bottom) {
    return TRect{Left, Top, Right, Bottom};
}

} // namespace Platform
