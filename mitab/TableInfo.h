#pragma once
// What GDAL's driver keeps to itself about a table: the charset its header
// declares, and the bounds of its coordinate system (the .map file's grid,
// or the Bounds of a .mif's CoordSys line).

#include <ogr_srs_api.h>

#include <optional>
#include <string>

namespace Mitab {

struct TBounds {
    double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};

// The charset of a .tab or .mif header ("WindowsLatin1"); empty without one.
std::string DeclaredCharset(const char* FileName);

// GDAL's encoding for a MapInfo charset ("WindowsLatin1" -> "CP1252"); empty
// for one whose text GDAL leaves as it is ("Neutral", unknown names).
std::string EncodingOf(const std::string& Charset);

// Text from one encoding into another (GDAL's names); unchanged when either
// is empty or both are the same.
std::string Recoded(const std::string& Text, const std::string& From, const std::string& To);

// "Bounds (x1, y1) (x2, y2)" in a CoordSys clause, corners in any order.
std::optional<TBounds> ClauseBounds(const std::string& Clause);

// The bounds of a table's coordinate system: those of a .tab's .map file,
// or the Bounds of a .mif's CoordSys line; none when it has none.
std::optional<TBounds> TableBounds(const char* FileName);

// The bounds the driver gives a new .tab in Srs when it is told none.
std::optional<TBounds> DefaultBounds(OGRSpatialReferenceH Srs);

bool SameBounds(const TBounds& A, const TBounds& B);

} // namespace Mitab
