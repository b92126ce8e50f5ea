#pragma once
// The library's own format providers, made once for the whole program when
// it asks: MIF/MID through the built-in reader and writer, and MapInfo
// tables through the MITAB module, and every other vector format GDAL reads
// and writes through the GDAL module when it is found. The registry stays empty from start-up
// until then; the map widget asks when it is made, so a Qt program opens
// .mif and .tab files with no provider code of its own. A program's own
// providers, made before or after, go ahead of these in the registry.

#include "../core/ChartixExport.h"

namespace Mapobjects {

/// Registers the standard providers (once; later calls do nothing). The
/// MapInfo one is registered even when the MITAB module is not found: its
/// Available() is then false and its loads say where to put the module.
CHARTIX_EXPORT void RegisterStandardProviders();

} // namespace Mapobjects
