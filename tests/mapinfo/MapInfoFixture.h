#pragma once
// A map with both MapInfo providers, GDAL's tools to make tables (ogr2ogr)
// and to read back what the provider writes (ogrinfo), and comparisons of
// WKT geometry with the quantisation of a .tab's integer grid.

#include "core/MapObjects.h"
#include "formats/MapInfoFormatProvider.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "support/MapFixture.h"
#include "support/TestUtils.h"
#include "support/Wkt.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace Testing {

// The standard output (and error) of a shell command, and whether it succeeded.
inline std::string RunCommand(const std::string& Command, bool* Ok = nullptr) {
    std::string Out;
    FILE* P = popen((Command + " 2>&1").c_str(), "r");
    if (!P) {
        if (Ok) *Ok = false;
        return Out;
    }
    char Buffer[4096];
    size_t N;
    while ((N = fread(Buffer, 1, sizeof Buffer, P)) > 0)
        Out.append(Buffer, N);
    const int Status = pclose(P);
    if (Ok) *Ok = Status == 0;
    return Out;
}

#ifdef CHARTIX_HAVE_MITAB
// A table made by ogr2ogr from a CSV whose WKT column is the geometry and
// whose OGR_STYLE column the style; Types is the .csvt line.
inline void MakeTable(const std::string& Table, const std::string& Csv, const std::string& Types,
                      const std::string& Columns, const std::string& Options = "") {
    const std::string Source = Table + ".csv";
    WriteFile(Source, Csv);
    WriteFile(Table + ".csvt", Types);
    bool Ok;
    const std::string Out = RunCommand(std::string(OGR2OGR) + " -f 'MapInfo File' " + Options +
                                           " -oo KEEP_GEOM_COLUMNS=NO -select '" + Columns + "' '" +
                                           Table + "' '" + Source + "'",
                                       &Ok);
    ASSERT_TRUE(Ok) << Out;
}

// A feature as ogrinfo -al prints it: "column (Type) = value" lines, the
// style and the geometry.
struct TOgrFeature {
    std::map<std::string, std::string> Values; // "column (Type)" -> value
    std::string Style, Geometry;
};

inline std::vector<TOgrFeature> OgrInfo(const std::string& Table) {
    std::vector<TOgrFeature> Features;
    std::istringstream In(RunCommand(std::string(OGRINFO) + " -ro -al -q '" + Table + "'"));
    std::string Line;
    while (std::getline(In, Line)) {
        if (Line.rfind("OGRFeature(", 0) == 0) {
            Features.emplace_back();
        } else if (!Features.empty() && Line.rfind("  ", 0) == 0) {
            const std::string Body = Line.substr(2);
            const size_t Eq = Body.find(" = ");
            if (Body.rfind("Style = ", 0) == 0)
                Features.back().Style = Body.substr(8);
            else if (Eq != std::string::npos && Body.find(" (") < Eq)
                Features.back().Values[Body.substr(0, Eq)] = Body.substr(Eq + 3);
            else
                Features.back().Geometry = Body;
        }
    }
    return Features;
}

#endif

// A map with the simple MIF provider registered first and the MapInfo one
// after it, as the programs have them, and a scratch folder.
struct MapInfoFixture : MapFixture {
    Mapobjects::TSimpleMIFFormatProvider Mif{nullptr};
    Mapobjects::TMapInfoFormatProvider Tab{nullptr};
    TTempDir Dir;
};

} // namespace Testing
