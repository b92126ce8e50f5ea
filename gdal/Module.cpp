#include "gdal/Module.h"

#include "core/GdalModule.h"

#include <gdal.h>
#include <ogr_api.h>

namespace {

const Mapobjects::TGdalModule* MakeTable() {
    // Drivers once per process, before any service is used.
    GDALAllRegister();
    static Mapobjects::TGdalModule Table;
    Table.Version = Mapobjects::GdalModuleVersion;
    Table.CreateVectorProvider = &Mapobjects::Gdal::CreateVectorProvider;
    Table.CoordinateSystems = &Mapobjects::Gdal::CoordinateSystems;
    Table.RasterReader = &Mapobjects::Gdal::RasterReader;
    Table.SourceLayers = &Mapobjects::Gdal::SourceLayers;
    return &Table;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const Mapobjects::TGdalModule*
chartix_gdal_module() {
    static const Mapobjects::TGdalModule* Table = MakeTable();
    return Table;
}
