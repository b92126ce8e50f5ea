#pragma once
// The services the module's entry point hands out, one source file each.

#include <string>
#include <vector>

namespace Mapobjects {
class TCustomFormatProvider;
class TCoordinateSystems;
class TGeoRasterReader;
} // namespace Mapobjects

namespace Mapobjects::Gdal {

// VectorProvider.cpp: a new provider over GDAL's vector drivers (caller owns).
TCustomFormatProvider* CreateVectorProvider();
// VectorProvider.cpp: the layer names of a vector source.
bool SourceLayers(const std::string& FileName, std::vector<std::string>& Names, std::string& Error);
// CoordinateSystems.cpp: the process's coordinate systems.
const TCoordinateSystems* CoordinateSystems();
// Rasters.cpp: the process's raster reader.
const TGeoRasterReader* RasterReader();

} // namespace Mapobjects::Gdal
