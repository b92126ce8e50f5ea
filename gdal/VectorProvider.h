#pragma once
// The provider of every vector format GDAL reads (Shapefile, GeoPackage,
// GeoJSON, FlatGeobuf, KML, CSV, GML...) and writes. A source of several
// layers is opened one layer at a time, named after the file as
// "FILE|layername=LAYER"; the file alone opens its first layer.
//
// Reading: points are symbols, multipoints one multipoint object, lines
// polylines and polygons regions (every ring a part), curves as their
// lines; a collection's members are objects of their own sharing the row;
// a feature without geometry keeps its row. A feature's OGR style sets its
// pen, brush and symbol colour; without one the map's defaults hold.
// Damaged features are reported with their number and skipped.
//
// Writing: the driver follows the extension, and a file there is replaced;
// a layer named in the file name goes into a source that takes several (a
// GeoPackage) in place of its namesake, the other layers kept. Regions are
// written as polygons with their holes, texts as points with a LABEL style.

#include "core/CustomFormatProvider.h"

#include <string>
#include <vector>

namespace Mapobjects {
class TMapLayer;
}

namespace Mapobjects::Gdal {

/// Loads and saves layers in the vector formats of GDAL.
class TGdalVectorFormatProvider : public TCustomFormatProvider {
public:
    /// Registers the provider; the filter is made once, from the drivers there are.
    explicit TGdalVectorFormatProvider(Platform::TComponent* Owner);

    /// "GDAL Vector Formats Provider".
    std::string GetDescription() const override;
    /// All vector files GDAL reads, then one entry per common format.
    std::string GetFilter() const override;
    /// {D5504507-A47E-4D1A-BEE7-CF5321333D24}.
    TGUID GetGUID() const override;
    /// Reads the named layer (or the first) into Layer: its fields replace the
    /// layer's, its objects are added. False, with the reason in Problems(),
    /// when the file or the layer cannot be opened; damaged features are in
    /// Problems() and the rest loads.
    bool Load(TMapLayer* Layer, const std::string& FileName) override;
    /// Writes the layer in the format of the extension, replacing the file (or,
    /// for "FILE|layername=NAME", that layer of a source that takes several).
    /// False, with the reason in Problems(), when no driver writes it, the
    /// file cannot be made, or a Shapefile is given several kinds of geometry;
    /// what GDAL said of objects it wrote with a change is in Problems().
    bool Save(TMapLayer* Layer, const std::string& FileName) override;
    /// Whether a GDAL vector driver lists the extension (the layer's name,
    /// if given, set apart).
    bool CanProcessFile(const std::string& FileName) const override;

private:
    std::string FFilter;
};

} // namespace Mapobjects::Gdal
