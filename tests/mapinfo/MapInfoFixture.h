#pragma once
// A map with both MapInfo providers, GDAL's tools to make tables (ogr2ogr)
// and to read back what the provider writes (ogrinfo), and comparisons of
// WKT geometry with the quantisation of a .tab's integer grid.

#include "core/MapObjects.h"
#include "formats/MapInfoFormatProvider.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "support/GdalTools.h"
#include "support/MapFixture.h"
#include "support/TestUtils.h"
#include "support/Wkt.h"

#include <string>

namespace Testing {

// A map with the simple MIF provider registered first and the MapInfo one
// after it, as the programs have them, and a scratch folder.
struct MapInfoFixture : MapFixture {
    Mapobjects::TSimpleMIFFormatProvider Mif{nullptr};
    Mapobjects::TMapInfoFormatProvider Tab{nullptr};
    TTempDir Dir;
};

} // namespace Testing
