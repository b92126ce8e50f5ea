#pragma once
// Sources of several layers (a GeoPackage's tables, the folders of a KML
// file), read through the GDAL module. A layer of such a source is opened
// by a file name that names it: "FILE|layername=LAYER" (SourceLayerSeparator);
// the file name alone opens its first layer.

#include "../core/ChartixExport.h"
#include "../core/CustomFormatProvider.h"

#include <memory>
#include <string>
#include <vector>

namespace Mapobjects {

class TCustomFormatProvider;

/// The layers of the source, in its own order (one name for a one-layer file);
/// false, with Error set to why, when it cannot be opened or the GDAL module
/// is not found.
CHARTIX_EXPORT bool SourceLayers(const std::string& FileName, std::vector<std::string>& Names,
                                 std::string& Error);

/// The file name that opens the layer Layer of the source FileName.
CHARTIX_EXPORT std::string SourceLayerFileName(const std::string& FileName,
                                               const std::string& Layer);

/// A new provider of every vector format GDAL reads and writes, for programs
/// that register their providers themselves (RegisterStandardProviders makes
/// one); null, with Problem set to why, when the GDAL module is not found.
CHARTIX_EXPORT std::unique_ptr<TCustomFormatProvider>
NewVectorProvider(std::string* Problem = nullptr);

} // namespace Mapobjects
