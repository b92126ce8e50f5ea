#pragma once
// The GDAL module (libchartix_gdal.so): the vector provider for every format
// GDAL reads, coordinate systems and georeferenced rasters. It is loaded at
// run time, never linked, so that the library builds and runs without GDAL;
// its references to the library resolve against the program's copy of it.
// Both sides include this header, and the module refuses a mismatched one.

#include <string>
#include <vector>

namespace Mapobjects {

class TCustomFormatProvider;
class TCoordinateSystems;
class TGeoRasterReader;

/// The table of the module's services.
struct TGdalModule {
    /// GdalModuleVersion of the headers the module was built with.
    int Version = 0;
    /// A new vector provider (caller owns); it registers itself as providers do.
    TCustomFormatProvider* (*CreateVectorProvider)() = nullptr;
    /// The module's coordinate systems; lives as long as the process.
    const TCoordinateSystems* (*CoordinateSystems)() = nullptr;
    /// The module's raster reader; lives as long as the process.
    const TGeoRasterReader* (*RasterReader)() = nullptr;
    /// The layers of a multi-layer source; false, with Error set, when it cannot be opened.
    bool (*SourceLayers)(const std::string& FileName, std::vector<std::string>& Names,
                         std::string& Error) = nullptr;
};

/// Changes whenever TGdalModule changes.
inline constexpr int GdalModuleVersion = 1;

/// The module's file name, looked for as the MITAB module is.
inline constexpr const char* GdalModuleName = "libchartix_gdal.so";

/// The loaded module's table, loading it on first call; null when it is not
/// found or does not match (GdalModuleProblem() says which).
const TGdalModule* GdalModule();
/// Why GdalModule() is null, for people; empty when it is not.
std::string GdalModuleProblem();

} // namespace Mapobjects

/// The module's one entry point.
extern "C" const Mapobjects::TGdalModule* chartix_gdal_module();
