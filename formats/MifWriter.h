#pragma once
// Writing a layer as a MIF/MID pair, in one of two dialects.

#include <string>

namespace Mapobjects {

class TMapLayer;

enum TMifDialect {
    // What other programs read back unchanged (the default): strings in
    // double quotes, the layer's own charset and coordinate system, every
    // part of a polyline, coordinates and numbers without rounding, dates
    // with their times.
    mdInterchange,
    // This provider's original output, byte for byte: strings in
    // apostrophes, Charset "WindowsCyrillic", "CoordSys Earth Projection 1,
    // 0", six decimals, the first part of a polyline only, every date
    // column declared as Date.
    mdClassic
};

namespace Mif {

// Writes Layer as MifName and the ".mid" beside it. The old pair is replaced
// only when both new files are complete; EFCreateError or EInOutError naming
// the file otherwise.
void WriteMifPair(TMapLayer& Layer, const std::string& MifName, TMifDialect Dialect);

} // namespace Mif
} // namespace Mapobjects
