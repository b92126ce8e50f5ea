#pragma once
// Georeferenced rasters: images that know where on the earth they lie
// (GeoTIFF and the other rasters GDAL reads, PNG/JPEG/BMP with a world
// file). Read through the GDAL module, loaded at run time.

#include "../platform/Bitmap.h"
#include "ChartixExport.h"

#include <memory>
#include <string>

namespace Mapobjects {

/// A raster read with its placement.
struct CHARTIX_EXPORT TGeoRaster {
    std::unique_ptr<Platform::TBitmap> Bitmap; ///< the pixels, north up
    double X0 = 0;                             ///< map X of the image's top-left corner
    double Y0 = 0;                             ///< map Y of the image's top-left corner
    double X1 = 0;                             ///< map X of its bottom-right corner
    double Y1 = 0;                             ///< map Y of its bottom-right corner
    std::string CoordSys; ///< the system X0..Y1 are in (WKT); empty when unknown
};

/// Reads georeferenced rasters.
class CHARTIX_EXPORT TGeoRasterReader {
public:
    virtual ~TGeoRasterReader() = default;
    /// Reads FileName into Raster. When TargetCoordSys is not empty and the
    /// raster's own system differs, the image is warped into TargetCoordSys.
    /// False, with Error set to why, when the file cannot be read or carries
    /// no georeferencing.
    virtual bool Read(const std::string& FileName, const std::string& TargetCoordSys,
                      TGeoRaster& Raster, std::string& Error) const = 0;
};

/// The process's raster reader, provided by the GDAL module (loaded on first
/// call); null when the module is not found.
CHARTIX_EXPORT const TGeoRasterReader* GeoRasterReader();

} // namespace Mapobjects
