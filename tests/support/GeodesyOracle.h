#pragma once
// Outside yardsticks for the geodesy: PROJ's cs2cs for the Gauss–Krüger
// conversion and GeographicLib's GeodSolve for geodesic distances. Each run
// feeds one process all its points on standard input. Shared by the geodesy
// tests and the geodesy-compare program, which prints the tables.

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
#include <utility>
#include <vector>

namespace Testing {

// Whether a program is on the PATH.
inline bool HaveProgram(const char* Name) {
    return !QStandardPaths::findExecutable(QString::fromUtf8(Name)).isEmpty();
}

// Runs Program with Args, Input on its standard input; its standard output,
// or nothing when it could not be run or crashed. The exit code is left to
// the caller's reading of the lines (GeodSolve ends with 1 after a refused
// line and goes on with the others).
inline std::optional<std::string>
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
    return P.readAllStandardOutput().toStdString();
}

// The first two numbers of every line; a line that does not start with two
// numbers (PROJ prints "*" for a point it cannot convert) gives NaNs.
inline std::vector<std::pair<double, double>> ParsePairs(const std::string& Text) {
    std::vector<std::pair<double, double>> Out;
    std::istringstream In(Text);
    std::string Line;
    while (std::getline(In, Line)) {
        std::istringstream L(Line);
        double A, B;
        if (L >> A >> B)
            Out.emplace_back(A, B);
        else
            Out.emplace_back(NAN, NAN);
    }
    return Out;
}

// The zone's Gauss–Krüger projection as PROJ gives it: transverse Mercator on
// Krassovsky's ellipsoid, scale 1 on the central meridian, the zone number in
// the millions of the false easting.
inline std::vector<std::string> Cs2csArgs(int Zone, bool Inverse) {
    std::vector<std::string> A;
    if (Inverse) A.push_back("-I");
    for (const char* S : {"-f", "%.10f", "+proj=longlat", "+ellps=krass", "+to", "+proj=tmerc",
                          "+ellps=krass", "+k=1"})
        A.push_back(S);
    A.push_back(fmt::format("+lon_0={}", 6 * Zone - 3));
    A.push_back(fmt::format("+x_0={}500000", Zone));
    A.push_back("+y_0=0");
    return A;
}

constexpr double KrassovskyA = 6378245.0;
constexpr double KrassovskyInvF = 298.3;
constexpr double RadPerDeg = 3.141592653589793 / 180;

// Whether error E beats Max, a NaN beating everything for good.
inline bool Worse(double E, double Max) {
    return !std::isnan(Max) && (std::isnan(E) || E > Max);
}

// One point of the comparison grid and what both sides made of it.
struct TGridPoint {
    double B = 0, L = 0;  // geodetic input, L in -180..180
    int Zone = 0;         // the zone BL2XY put it in
    double Offset = 0;    // degrees east of that zone's central meridian
    double Forward = NAN; // metres between BL2XY and cs2cs
    double Inverse = NAN; // metres between XY2BL and cs2cs -I on PROJ's plane point
};

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

// Every zone's central meridian ±3° in steps of Step degrees, latitudes
// -80°..80° in steps of LatStep, longitudes written in -180..180 as a caller
// would. Points on a border go to the zone BL2XY chooses.
inline std::vector<TGridPoint> MakeGrid(double Step = 0.25, double LatStep = 2.5) {
    std::vector<TGridPoint> G;
    const int NOff = static_cast<int>(std::lround(6 / Step));
    const int NLat = static_cast<int>(std::lround(160 / LatStep));
    for (int Zone = 1; Zone <= 60; ++Zone)
        for (int I = 0; I <= NOff; ++I)
            for (int J = 0; J <= NLat; ++J) {
                TGridPoint P;
                P.B = -80 + J * LatStep;
                P.L = 6 * Zone - 3 - 3 + I * Step;
                if (P.L > 180) P.L -= 360;
                G.push_back(P);
            }
    return G;
}

// Compares BL2XY with cs2cs and XY2BL with cs2cs -I over the grid: one
// forward and one inverse process per zone, each fed all of the zone's
// points. The inverse side starts from PROJ's plane coordinates with the
// easting floored to whole metres (XY2BL reads whole metres), so both sides
// get the same input. Angle differences become metres on the ellipsoid's
// meridian and parallel. False when a process could not be run.
inline bool CompareWithProj(std::vector<TGridPoint>& Grid, std::string* Error = nullptr) {
    std::map<int, std::vector<TGridPoint*>> ByZone;
    for (TGridPoint& P : Grid) {
        double X, Y;
        Mapobjects::BL2XY(P.B, P.L, X, Y, 0);
        P.Zone = static_cast<int>(std::floor(Y / 1000000));
        double Off = P.L - (6 * P.Zone - 3);
        Off -= 360 * std::round(Off / 360);
        P.Offset = Off;
        ByZone[P.Zone].push_back(&P);
    }
    auto Fail = [&](const std::string& What) {
        if (Error) *Error = What;
        return false;
    };
    for (auto& [Zone, Points] : ByZone) {
        std::string In;
        for (const TGridPoint* P : Points)
            In += fmt::format("{:.12f} {:.12f}\n", P->L, P->B);
        const auto Out = RunFilter("cs2cs", Cs2csArgs(Zone, false), In);
        if (!Out) return Fail(fmt::format("cs2cs failed for zone {}", Zone));
        const auto EN = ParsePairs(*Out);
        if (EN.size() != Points.size()) return Fail("cs2cs answered another number of lines");

        std::string InvIn;
        for (size_t K = 0; K < Points.size(); ++K) {
            TGridPoint& P = *Points[K];
            double X, Y;
            Mapobjects::BL2XY(P.B, P.L, X, Y, 0);
            P.Forward = std::hypot(X - EN[K].second, Y - EN[K].first);
            InvIn += fmt::format("{:.4f} {:.4f}\n", std::floor(EN[K].first), EN[K].second);
        }
        const auto InvOut = RunFilter("cs2cs", Cs2csArgs(Zone, true), InvIn);
        if (!InvOut) return Fail(fmt::format("cs2cs -I failed for zone {}", Zone));
        const auto LB = ParsePairs(*InvOut);
        if (LB.size() != Points.size()) return Fail("cs2cs -I answered another number of lines");
        for (size_t K = 0; K < Points.size(); ++K) {
            TGridPoint& P = *Points[K];
            double B, L;
            Mapobjects::XY2BL(EN[K].second, std::floor(EN[K].first), B, L);
            double DL = L - LB[K].first;
            DL -= 360 * std::round(DL / 360); // XY2BL leaves L unreduced
            const double DB = B - LB[K].second;
            const double Lat = LB[K].second * RadPerDeg;
            P.Inverse = std::hypot(DB * RadPerDeg * 6367558.4969,
                                   DL * RadPerDeg * KrassovskyA * std::cos(Lat));
        }
    }
    return true;
}

// Bands of distance from the central meridian, |offset| in whole degrees
// (0-1, 1-2, 2-3), against bands of 20° of |latitude|.
struct TBandTable {
    TMaxima Cells[3][4];
    TMaxima Offsets[3];
    TMaxima All;
};

inline TBandTable Bands(const std::vector<TGridPoint>& Grid) {
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

inline std::map<int, TMaxima> Zones(const std::vector<TGridPoint>& Grid) {
    std::map<int, TMaxima> Z;
    for (const TGridPoint& P : Grid)
        Z[P.Zone].Take(P);
    return Z;
}

// The comparison as text: largest differences by band of distance from the
// central meridian, then by zone.
inline std::string ProjTable(const std::vector<TGridPoint>& Grid) {
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

// Geodesic distances on Krassovsky's ellipsoid between pairs of (latitude,
// longitude) points, by one GeodSolve -i process. Nothing when it could not
// be run; NaN for a pair it refused.
struct TLatLon {
    double Lat, Lon;
};
inline std::optional<std::vector<double>>
GeodesicDistances(const std::vector<std::pair<TLatLon, TLatLon>>& Pairs) {
    std::string In;
    for (const auto& [A, B] : Pairs)
        In += fmt::format("{:.12f} {:.12f} {:.12f} {:.12f}\n", A.Lat, A.Lon, B.Lat, B.Lon);
    const auto Out = RunFilter("GeodSolve",
                               {"-i", "-p", "9", "-e", fmt::format("{}", KrassovskyA),
                                fmt::format("1/{}", KrassovskyInvF)},
                               In);
    if (!Out) return std::nullopt;
    std::vector<double> D;
    std::istringstream S(*Out);
    std::string Line;
    while (std::getline(S, Line)) {
        std::istringstream L(Line);
        double Azi1, Azi2, S12;
        D.push_back(L >> Azi1 >> Azi2 >> S12 ? S12 : NAN);
    }
    if (D.size() != Pairs.size()) return std::nullopt;
    return D;
}

// A region circle measured against GeodSolve: the largest relative error of
// a vertex's geodesic distance from the centre, over the radius.
struct TCircleCase {
    double Lon = 0, Lat = 0, Radius = 0;
    int PieCount = 90;
    double MaxRelError = NAN;
    double WorstBearing = NAN; // degrees clockwise from north of the worst vertex
};

// Measures every case with one GeodSolve process. False when it could not
// be run.
inline bool MeasureCircles(std::vector<TCircleCase>& Cases) {
    std::vector<std::pair<TLatLon, TLatLon>> Pairs;
    for (const TCircleCase& C : Cases) {
        Mapobjects::TGeoCircle G;
        G.SetPieCount(C.PieCount);
        G.SetRadius(C.Radius);
        G.SetCenterY(C.Lat);
        G.SetCenterX(C.Lon);
        for (const Mapobjects::TMapPoint& P : G.Parts().Items(0)->Points())
            Pairs.push_back({{C.Lat, C.Lon}, {P.Y, P.X}});
    }
    const auto D = GeodesicDistances(Pairs);
    if (!D) return false;
    size_t K = 0;
    for (TCircleCase& C : Cases) {
        C.MaxRelError = 0;
        for (int I = 0; I <= C.PieCount; ++I, ++K) {
            const double E = std::fabs((*D)[K] - C.Radius) / C.Radius;
            if (Worse(E, C.MaxRelError))
                C.MaxRelError = E, C.WorstBearing = (I % C.PieCount + 1) * 360.0 / C.PieCount;
        }
    }
    return true;
}

// The cases geodesy-compare prints: centres on zone 7's central meridian and
// 2.5° east of it, at latitudes from the equator to 89°, radii from 1 km to
// 500 km.
inline std::vector<TCircleCase> CircleGrid() {
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

inline std::string CircleTable(const std::vector<TCircleCase>& Cases) {
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

} // namespace Testing
