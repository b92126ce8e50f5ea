#pragma once
// GDAL's command-line tools around a test of MapInfo tables: ogr2ogr makes
// the input tables, ogrinfo reads back what was written. No Qt, so the MITAB
// module's tests share it with the map's. The tools' paths come as OGR2OGR
// and OGRINFO from the build.

#include "support/TempFiles.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace Testing {

// The standard output and error of a shell command, and whether it succeeded.
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

#if defined(OGR2OGR) && defined(OGRINFO)
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

} // namespace Testing
