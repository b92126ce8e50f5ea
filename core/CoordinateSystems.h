#pragma once
// Coordinate systems: what a layer's numbers mean, and the way from one
// system to another. The knowledge (PROJ's database, MapInfo's forms) comes
// from the GDAL module, loaded at run time; without it CoordinateSystems()
// is null and every layer is drawn in the numbers its file carries.

#include "ChartixExport.h"

#include <cstddef>
#include <memory>
#include <string>

namespace Mapobjects {

/// Turns coordinates of one system into those of another.
class CHARTIX_EXPORT TCoordinateTransform {
public:
    virtual ~TCoordinateTransform() = default;
    /// Transforms Count points in place, X and Y in the systems' usual order
    /// (easting or longitude first); false when any point could not be
    /// transformed (those keep their values).
    virtual bool Transform(double* X, double* Y, std::size_t Count) const = 0;
};

/// Reads, compares and joins coordinate system definitions. A definition
/// is a MapInfo "CoordSys ..." clause, WKT, "EPSG:n" or a PROJ string.
class CHARTIX_EXPORT TCoordinateSystems {
public:
    virtual ~TCoordinateSystems() = default;
    /// The definition as WKT; empty when it is not understood.
    virtual std::string ToWkt(const std::string& Definition) const = 0;
    /// The definition as a MapInfo "CoordSys ..." clause; empty when it has none.
    virtual std::string ToMapInfo(const std::string& Definition) const = 0;
    /// A short name for people ("WGS 84", "WGS 84 / UTM zone 33N"); empty when unknown.
    virtual std::string DisplayName(const std::string& Definition) const = 0;
    /// Whether two definitions describe the same system.
    virtual bool Same(const std::string& A, const std::string& B) const = 0;
    /// The transform from one system into another; null, with Error set to
    /// why, when either is not understood or no way between them is known.
    virtual std::unique_ptr<TCoordinateTransform>
    Transform(const std::string& From, const std::string& To, std::string& Error) const = 0;
};

/// The process's coordinate systems, provided by the GDAL module (loaded on
/// first call); null when the module is not found.
CHARTIX_EXPORT const TCoordinateSystems* CoordinateSystems();

/// The definition as a MapInfo "CoordSys ..." clause for MapInfo files: a
/// clause as it is, another form translated; empty when there is none (or
/// no module to translate it).
CHARTIX_EXPORT std::string MapInfoCoordSys(const std::string& Definition);

} // namespace Mapobjects
