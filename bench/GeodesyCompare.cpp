// Prints how far the Gauss–Krüger series lie from PROJ's transverse Mercator
// (cs2cs) and how far the region geodesic circles lie from GeographicLib's
// geodesic distances (GeodSolve). Needs proj-bin and geographiclib-tools.
// The comparisons are those of the geodesy tests (tests/support); the
// tables are this program's.
#include "support/GeodesyOracle.h"

#include <algorithm>
#include <cstdio>

namespace {

using Testing::TCircleCase;
using Testing::TGridPoint;

// Whether error E beats Max, a NaN beating everything for good.
bool Worse(double E, double Max) {
    return !std::isnan(Max) && (std::isnan(E) || E > Max);
}

// Largest differences over a set of grid points, with the worst point.
struct TMaxima {
    double Forward = 0, Inverse = 0;
    const TGridPoint* WorstForward = nullptr;
    const TGridPoint* WorstInverse = nullptr;
    int Count = 0;
    void Take(const TGridPoint& P) {
        ++Count;
        // A NaN (a point one side could not convert) must show, and stay.
        if (Worse(P.Forward, Forward)) Forward = P.Forward, WorstForward = &P;
        if (Worse(P.Inverse, Inverse)) Inverse = P.Inverse, WorstInverse = &P;
    }
};

// Bands of distance from the central meridian, |offset| in whole degrees
// (0-1, 1-2, 2-3), against bands of 20° of |latitude|.
struct TBandTable {
    TMaxima Cells[3][4];
    TMaxima Offsets[3];
    TMaxima All;
};

TBandTable Bands(const std::vector<TGridPoint>& Grid) {
    TBandTable T;
    for (const TGridPoint& P : Grid) {
        const int O = std::clamp(static_cast<int>(std::fabs(P.Offset) - 1e-9), 0, 2);
        const int A = std::clamp(static_cast<int>((std::fabs(P.B) - 1e-9) / 20), 0, 3);
        T.Cells[O][A].Take(P);
        T.Offsets[O].Take(P);
        T.All.Take(P);
    }
    return T;
}

std::map<int, TMaxima> Zones(const std::vector<TGridPoint>& Grid) {
    std::map<int, TMaxima> Z;
    for (const TGridPoint& P : Grid)
        Z[P.Zone].Take(P);
    return Z;
}

// The comparison as text: largest differences by band of distance from the
// central meridian, then by zone.
std::string ProjTable(const std::vector<TGridPoint>& Grid) {
    const TBandTable T = Bands(Grid);
    std::string S =
        "Largest difference from PROJ (cs2cs), metres: BL2XY vs cs2cs / XY2BL vs cs2cs -I\n";
    S += fmt::format("{:<14}{:>22}{:>22}{:>22}{:>22}{:>22}\n", "|offset|", "|B| 0-20", "|B| 20-40",
                     "|B| 40-60", "|B| 60-80", "all latitudes");
    auto Cell = [](const TMaxima& M) {
        return fmt::format("{:.4f} / {:.4f}", M.Forward, M.Inverse);
    };
    for (int O = 0; O < 3; ++O) {
        S += fmt::format("{:<14}", fmt::format("{}-{} deg", O, O + 1));
        for (int A = 0; A < 4; ++A)
            S += fmt::format("{:>22}", Cell(T.Cells[O][A]));
        S += fmt::format("{:>22}\n", Cell(T.Offsets[O]));
    }
    S += fmt::format("{} points; worst forward at B {} L {} ({:+} deg), worst inverse at B {} L {} "
                     "({:+} deg)\n\n",
                     T.All.Count, T.All.WorstForward->B, T.All.WorstForward->L,
                     T.All.WorstForward->Offset, T.All.WorstInverse->B, T.All.WorstInverse->L,
                     T.All.WorstInverse->Offset);
    S += fmt::format("{:>5}{:>8}{:>8}{:>14}{:>14}\n", "zone", "L0", "points", "BL2XY", "XY2BL");
    for (const auto& [Zone, M] : Zones(Grid))
        S += fmt::format("{:>5}{:>8}{:>8}{:>14.4f}{:>14.4f}\n", Zone, 6 * Zone - 3, M.Count,
                         M.Forward, M.Inverse);
    return S;
}

// The cases geodesy-compare prints: centres on zone 7's central meridian and
// 2.5° east of it, at latitudes from the equator to 89°, radii from 1 km to
// 500 km.
std::vector<TCircleCase> CircleGrid() {
    std::vector<TCircleCase> Cases;
    for (double Lat : {0.0, 30.0, 55.0, 70.0, 80.0, 85.0, 88.0, 89.0})
        for (double Off : {0.0, 2.5})
            for (double R : {1000.0, 10000.0, 100000.0, 500000.0}) {
                TCircleCase C;
                C.Lon = 39 + Off;
                C.Lat = Lat;
                C.Radius = R;
                Cases.push_back(C);
            }
    return Cases;
}

std::string CircleTable(const std::vector<TCircleCase>& Cases) {
    std::string S = "Largest relative error of a vertex's geodesic distance (GeodSolve -i, "
                    "Krassovsky) from the radius, Mapobjects::TGeoCircle, 90 points\n";
    S += fmt::format("{:>8}{:>12}{:>12}{:>12}{:>12}{:>12}\n", "lat", "east of L0", "1 km", "10 km",
                     "100 km", "500 km");
    for (size_t I = 0; I + 3 < Cases.size(); I += 4) {
        S += fmt::format("{:>8}{:>12}", Cases[I].Lat, fmt::format("{} deg", Cases[I].Lon - 39));
        for (size_t J = I; J < I + 4; ++J)
            S += fmt::format("{:>12.2e}", Cases[J].MaxRelError);
        S += "\n";
    }
    S += "nan: GeodSolve refused a vertex, its latitude beyond 90 degrees\n";
    return S;
}

} // namespace

int main() {
    if (!Testing::HaveProgram("cs2cs") || !Testing::HaveProgram("GeodSolve")) {
        std::fprintf(stderr, "geodesy-compare: cs2cs and GeodSolve are needed (scripts/deps)\n");
        return 2;
    }
    std::vector<TGridPoint> Grid = Testing::MakeGrid();
    std::string Error;
    if (!Testing::CompareWithProj(Grid, &Error)) {
        std::fprintf(stderr, "geodesy-compare: %s\n", Error.c_str());
        return 1;
    }
    std::fputs(ProjTable(Grid).c_str(), stdout);

    std::vector<TCircleCase> Circles = CircleGrid();
    if (!Testing::MeasureCircles(Circles)) {
        std::fprintf(stderr, "geodesy-compare: GeodSolve failed\n");
        return 1;
    }
    std::fputs("\n", stdout);
    std::fputs(CircleTable(Circles).c_str(), stdout);
    return 0;
}
