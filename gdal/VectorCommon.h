#pragma once
// What the vector provider's reading, writing and listing share: the file
// name with its layer, the drivers by extension, GDAL's errors caught for
// reports instead of printed, and owning handles.

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace Mapobjects::Gdal {

/// A source's file name split from the layer it names ("FILE|layername=LAYER").
struct TSourceName {
    std::string Path;  ///< the file
    std::string Layer; ///< the layer named after the separator; empty for none
};
/// Splits FileName at the layer separator.
TSourceName SplitSourceName(const std::string& FileName);

/// The lower-case extensions (without the dot) of every vector driver.
const std::vector<std::string>& VectorExtensions();
/// Whether Path ends in "." and one of Extensions, ignoring case (so that
/// "a.shp.zip" matches "shp.zip").
bool HasExtension(const std::string& Path, const std::vector<std::string>& Extensions);

/// Catches the errors and warnings GDAL reports on this thread while it
/// lives, so that they go into problem reports instead of standard error.
class TGdalErrors {
public:
    TGdalErrors();
    ~TGdalErrors();
    TGdalErrors(const TGdalErrors&) = delete;
    TGdalErrors& operator=(const TGdalErrors&) = delete;
    /// The messages caught since the last Take, and forgets them.
    std::vector<std::string> Take();
    /// The messages caught since the last Take joined with "; ", or Fallback for none.
    std::string TakeText(const std::string& Fallback);
    /// Whether an error, not a warning, came since the last Take.
    bool Failed() const { return FFailed; }

private:
    static void CPL_STDCALL Handler(CPLErr Class, CPLErrorNum No, const char* Message);
    std::vector<std::string> FMessages;
    bool FFailed = false;
};

/// Closes a dataset.
struct TCloseDataset {
    void operator()(void* D) const { GDALClose(D); }
};
/// An open dataset.
using TDataset = std::unique_ptr<void, TCloseDataset>;
/// Frees a feature.
struct TDestroyFeature {
    void operator()(OGRFeatureH F) const { OGR_F_Destroy(F); }
};
/// A feature read or to be written.
using TFeature = std::unique_ptr<std::remove_pointer_t<OGRFeatureH>, TDestroyFeature>;
/// Frees a geometry.
struct TDestroyGeometry {
    void operator()(OGRGeometryH G) const { OGR_G_DestroyGeometry(G); }
};
/// A geometry of our own.
using TGeometry = std::unique_ptr<std::remove_pointer_t<OGRGeometryH>, TDestroyGeometry>;
/// Releases a spatial reference.
struct TReleaseSrs {
    void operator()(OGRSpatialReferenceH S) const { OSRRelease(S); }
};
/// A spatial reference of our own.
using TSrs = std::unique_ptr<std::remove_pointer_t<OGRSpatialReferenceH>, TReleaseSrs>;

/// Opens the file read-only as a vector source, errors reported to GDAL's
/// handler (a TGdalErrors catches them); null when GDAL cannot.
TDataset OpenVectorSource(const std::string& Path);

/// Makes sure the drivers are registered (the module's entry does it too).
void EnsureDrivers();

} // namespace Mapobjects::Gdal
