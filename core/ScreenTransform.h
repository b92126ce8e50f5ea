#pragma once
// The map's unclipped conversion from map units to pixels, as one inline
// formula: the map's MapToScreen and the per-vertex loops of the drawing
// share it, so a point lands on the same pixel whichever path draws it. An
// object kind that draws many points can read the view once and convert
// each point with it.

#include "../platform/Types.h"

#include <cmath>
#include <cstdint>

namespace Mapobjects {

/// Added and taken away, it rounds a double below 2^51 to an integer: 1.5 * 2^52.
inline constexpr double RoundingMagic = 6755399441055744.0;

/// Half to even, as nearbyint in the default rounding mode but without its
/// library call: below 2^51, adding and taking away 1.5 * 2^52 rounds to an
/// integer in one addition (doubles kept at 64 bits, as on every 64-bit target).
[[gnu::always_inline]] inline double RoundHalfEven(double V) {
    return std::fabs(V) < 0x1p51 ? (V + RoundingMagic) - RoundingMagic : V;
}

/// Half to even, pinned to +-1073741823, NaN to 0.
[[gnu::always_inline]] inline std::int32_t RoundPinned(double V) {
    constexpr double Limit = 1073741823.0;
    if (V >= Limit) return static_cast<std::int32_t>(Limit);
    if (V <= -Limit) return -static_cast<std::int32_t>(Limit);
    if (std::isnan(V)) return 0;
    // Within the limits already: the addition alone, with no range test.
    return static_cast<std::int32_t>((V + RoundingMagic) - RoundingMagic);
}

/// Pixels of map coordinates for one view: the half client size, the
/// centre and the scale, read once.
class TScreenTransform {
public:
    /// A view of half the client size (HalfW, HalfH) centred on (CX, CY), at K pixels per map unit.
    TScreenTransform(double HalfW, double HalfH, double CX, double CY, double K)
        : FHalfW(HalfW), FHalfH(HalfH), FCX(CX), FCY(CY), FK(K) {}

    /// The pixel of the map point (MX, MY), as the map's unclipped MapToScreen gives it.
    [[gnu::always_inline]] Platform::TPoint operator()(double MX, double MY) const {
        return Platform::TPoint{RoundPinned(FHalfW + (MX - FCX) * FK),
                                RoundPinned(FHalfH - (MY - FCY) * FK)};
    }

private:
    double FHalfW, FHalfH, FCX, FCY, FK;
};

} // namespace Mapobjects
