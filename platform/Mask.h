#pragma once
// A one-colour picture kept as runs of pixels: drawn once into an image,
// then copied by a canvas to any place in any colour at the cost of its
// pixels, as small repeated pictures (map symbols) need.

#include "platform/PlatformExport.h"
#include "platform/Types.h"

#include <cstdint>
#include <vector>

class QImage;

namespace Platform {

class CHARTIX_PLATFORM_EXPORT TMask {
public:
    // Pixels X .. X + Length - 1 of row Y, relative to the mask's origin.
    struct TRun {
        std::int32_t X, Y, Length;
    };

    // The pixels of Image whose colour is not Background, with the image
    // pixel Origin as the mask's origin. Image must be 32 bits a pixel.
    static TMask FromImage(const QImage& Image, std::uint32_t Background, TPoint Origin);

    const std::vector<TRun>& Runs() const { return FRuns; }
    bool Empty() const { return FRuns.empty(); }
    // The box of the pixels, relative to the origin (empty for no pixels).
    const TRect& Bounds() const { return FBounds; }

private:
    std::vector<TRun> FRuns; // row by row, left to right
    TRect FBounds{0, 0, 0, 0};
};

} // namespace Platform
