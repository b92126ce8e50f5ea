// Prints how far the Gauss–Krüger series lie from PROJ's transverse Mercator
// (cs2cs) and how far the region geodesic circles lie from GeographicLib's
// geodesic distances (GeodSolve). Needs proj-bin and geographiclib-tools.
#include "support/GeodesyOracle.h"

#include <cstdio>

int main() {
    if (!Testing::HaveProgram("cs2cs") || !Testing::HaveProgram("GeodSolve")) {
        std::fprintf(stderr, "geodesy-compare: cs2cs and GeodSolve are needed (scripts/deps)\n");
        return 2;
    }
    std::vector<Testing::TGridPoint> Grid = Testing::MakeGrid();
    std::string Error;
    if (!Testing::CompareWithProj(Grid, &Error)) {
        std::fprintf(stderr, "geodesy-compare: %s\n", Error.c_str());
        return 1;
    }
    std::fputs(Testing::ProjTable(Grid).c_str(), stdout);

    std::vector<Testing::TCircleCase> Circles = Testing::CircleGrid();
    if (!Testing::MeasureCircles(Circles)) {
        std::fprintf(stderr, "geodesy-compare: GeodSolve failed\n");
        return 1;
    }
    std::fputs("\n", stdout);
    std::fputs(Testing::CircleTable(Circles).c_str(), stdout);
    return 0;
}
