#pragma once
// Outside yardsticks for the geodesy: PROJ's cs2cs for the Gauss–Krüger
// conversion and GeographicLib's GeodSolve for geodesic distances. Each run
// feeds one process all its points on standard input. bench's
// geodesy-compare prints tables from the same comparisons.

#include "geodesy/GaussKruger.h"
#include "geodesy/GeoCircle.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <fmt/format.h>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace Testing {

inline bool HaveProgram(const char* Name) {
    return !QStandardPaths::findExecutable(QString::fromUtf8(Name)).isEmpty();
}

// The lines Program prints for Input on its standard input, each read as
// numbers; nothing when it could not be run or crashed. The exit code is not
// read: GeodSolve ends with 1 after a refused line and goes on.
inline std::optional<std::vector<std::vector<double>>>
RunFilter(const char* Program, const std::vector<std::string>& Args, const std::string& Input) {
    QStringList A;
    for (const std::string& S : Args)
        A << QString::fromStdString(S);
    QProcess P;
    P.start(QString::fromUtf8(Program), A);
    if (!P.waitForStarted(10000)) return std::nullopt;
    P.write(Input.data(), static_cast<qint64>(Input.size()));
    P.closeWriteChannel();
    if (!P.waitForFinished(120000) || P.exitStatus() != QProcess::NormalExit) return std::nullopt;
    std::vector<std::vector<double>> Lines;
    std::istringstream In(P.readAllStandardOutput().toStdString());
    for (std::string Line; std::getline(In, Line);) {
        std::istringstream L(Line);
        Lines.emplace_back();
        for (double V; L >> V;)
            Lines.back().push_back(V);
    }
    return Lines;
}

// Column K of line I, NaN where the line has none (PROJ prints "*" for a
// point it cannot convert, GeodSolve "nan" for a refused pair).
inline double At(const std::vector<std::vector<double>>& Lines, size_t I, size_t K) {
    return K < Lines[I].size() ? Lines[I][K] : NAN;
}

// The zone's Gauss–Krüger projection as PROJ gives it: transverse Mercator on
// Krassovsky's ellipsoid, scale 1 on the central meridian, the zone number in
// the millions of the false easting.
inline std::vector<std::string> Cs2csArgs(int Zone, bool Inverse) {
    std::vector<std::string> A = {"-f",  "%.10f",       "+proj=longlat", "+ellps=krass",
                                  "+to", "+proj=tmerc", "+ellps=krass",  "+k=1"};
    if (Inverse) A.insert(A.begin(), "-I");
    A.push_back(fmt::format("+lon_0={}", 6 * Zone - 3));
    A.push_back(fmt::format("+x_0={}500000", Zone));
    A.push_back("+y_0=0");
    return A;
}

constexpr double KrassovskyA = 6378245.0;
constexpr double RadPerDeg = 3.141592653589793 / 180;

// One point of the comparison grid and what both sides made of it.
struct TGridPoint {
    double B = 0, L = 0;  // geodetic input, L in -180..180
    int Zone = 0;         // the zone BL2XY put it in
    double Offset = 0;    // degrees east of that zone's central meridian
    double Forward = NAN; // metres between BL2XY and cs2cs
    double Inverse = NAN; // metres between XY2BL and cs2cs -I on PROJ's plane point
};

// Every zone's central meridian ±3° in steps of Step degrees, latitudes
// -80°..80° in steps of LatStep, longitudes written in -180..180 as a caller
// would.
inline std::vector<TGridPoint> MakeGrid(double Step = 0.25, double LatStep = 2.5) {
    std::vector<TGridPoint> G;
    for (int Zone = 1; Zone <= 60; ++Zone)
        for (int I = 0; I <= std::lround(6 / Step); ++I)
            for (int J = 0; J <= std::lround(160 / LatStep); ++J) {
                TGridPoint P;
                P.B = -80 + J * LatStep;
                P.L = 6 * Zone - 6 + I * Step;
                if (P.L > 180) P.L -= 360;
                G.push_back(P);
            }
    return G;
}

// Compares BL2XY with cs2cs and XY2BL with cs2cs -I over the grid, one
// process each way per zone. The inverse starts from PROJ's plane point
// with the easting floored to whole metres (XY2BL reads whole metres), so
// both sides get the same input. Angle differences become metres on the
// ellipsoid. False when a process could not be run.
inline bool CompareWithProj(std::vector<TGridPoint>& Grid, std::string* Error = nullptr) {
    std::map<int, std::vector<TGridPoint*>> ByZone;
    for (TGridPoint& P : Grid) {
        double X, Y;
        Mapobjects::BL2XY(P.B, P.L, X, Y, 0);
        P.Zone = static_cast<int>(std::floor(Y / 1000000));
        P.Offset = std::remainder(P.L - (6 * P.Zone - 3), 360);
        ByZone[P.Zone].push_back(&P);
    }
    for (auto& [Zone, Points] : ByZone) {
        std::string In, InvIn;
        for (const TGridPoint* P : Points)
            In += fmt::format("{:.12f} {:.12f}\n", P->L, P->B);
        const auto EN = RunFilter("cs2cs", Cs2csArgs(Zone, false), In);
        if (!EN || EN->size() != Points.size()) {
            if (Error) *Error = fmt::format("cs2cs failed for zone {}", Zone);
            return false;
        }
        for (size_t K = 0; K < Points.size(); ++K) {
            TGridPoint& P = *Points[K];
            double X, Y;
            Mapobjects::BL2XY(P.B, P.L, X, Y, 0);
            P.Forward = std::hypot(X - At(*EN, K, 1), Y - At(*EN, K, 0));
            InvIn += fmt::format("{:.4f} {:.4f}\n", std::floor(At(*EN, K, 0)), At(*EN, K, 1));
        }
        const auto LB = RunFilter("cs2cs", Cs2csArgs(Zone, true), InvIn);
        if (!LB || LB->size() != Points.size()) {
            if (Error) *Error = fmt::format("cs2cs -I failed for zone {}", Zone);
            return false;
        }
        for (size_t K = 0; K < Points.size(); ++K) {
            double B, L;
            Mapobjects::XY2BL(At(*EN, K, 1), std::floor(At(*EN, K, 0)), B, L);
            const double DL = std::remainder(L - At(*LB, K, 0), 360); // XY2BL leaves L unreduced
            const double DB = B - At(*LB, K, 1);
            Points[K]->Inverse =
                std::hypot(DB * RadPerDeg * 6367558.4969,
                           DL * RadPerDeg * KrassovskyA * std::cos(At(*LB, K, 1) * RadPerDeg));
        }
    }
    return true;
}

// A region circle measured against GeodSolve on Krassovsky's ellipsoid: the
// largest relative error of a vertex's geodesic distance from the centre.
struct TCircleCase {
    double Lon = 0, Lat = 0, Radius = 0;
    int PieCount = 90;
    double MaxRelError = NAN;
};

// Measures every case with one GeodSolve process. False when it could not
// be run. A vertex GeodSolve refused (past the pole) counts as NaN, worst.
inline bool MeasureCircles(std::vector<TCircleCase>& Cases) {
    std::string In;
    for (const TCircleCase& C : Cases) {
        Mapobjects::TGeoCircle G;
        G.SetPieCount(C.PieCount);
        G.SetRadius(C.Radius);
        G.SetCenterY(C.Lat);
        G.SetCenterX(C.Lon);
        for (const Mapobjects::TMapPoint& P : G.Parts().Items(0)->Points())
            In += fmt::format("{:.12f} {:.12f} {:.12f} {:.12f}\n", C.Lat, C.Lon, P.Y, P.X);
    }
    const auto D = RunFilter(
        "GeodSolve", {"-i", "-p", "9", "-e", fmt::format("{}", KrassovskyA), "1/298.3"}, In);
    if (!D || D->size() != static_cast<size_t>(std::count(In.begin(), In.end(), '\n')))
        return false;
    size_t K = 0;
    for (TCircleCase& C : Cases) {
        C.MaxRelError = 0;
        for (int I = 0; I <= C.PieCount; ++I, ++K) {
            const double E = std::fabs(At(*D, K, 2) - C.Radius) / C.Radius;
            if (!std::isnan(C.MaxRelError) && !(E <= C.MaxRelError)) C.MaxRelError = E;
        }
    }
    return true;
}

} // namespace Testing
