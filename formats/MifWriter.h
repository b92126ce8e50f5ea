#pragma once
// Writing a layer as a MIF/MID pair, in one of two dialects.

#include "formats/MifDialect.h"

#include <string>

namespace Mapobjects {

class TMapLayer;

namespace Mif {

// Writes Layer as MifName and the ".mid" beside it. The old pair is replaced
// only when both new files are complete; EFCreateError or EInOutError naming
// the file otherwise.
void WriteMifPair(TMapLayer& Layer, const std::string& MifName, TMifDialect Dialect);

} // namespace Mif
} // namespace Mapobjects
