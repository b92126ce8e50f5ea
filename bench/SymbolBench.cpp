// Symbols and memory per object. Writes (once) a MIF/MID of N points spread
// over the world, each `Symbol (35,16711680,8)` with an Integer and a Char(20) column,
// loads it through the MIF provider, and prints:
//   - the load time and the RSS growth per point object;
//   - the time of one full repaint of the points into a 1920 x 1080 map bitmap,
//     as loaded, and again after reading every point through Parts() (which
//     gives each point a part list of its own);
//   - the RSS growth per object and per vertex of a layer of regions built in
//     code (default styles, no fields);
//   - the RSS growth per object of a layer of N symbols built in code (default
//     styles, no fields): the object alone, without an attribute row.
// chartix-bench-mifload on the same file compares the load with GDAL's.
//
//   chartix-bench-symbols [--points N] [--regions N] [--repeats R] [--mif FILE] [--png FILE]

#include "BenchArgs.h"
#include "BenchClock.h"
#include "BenchMemory.h"
#include "core/MapObjects.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "objects/Polys.h"
#include "objects/Symbol.h"

#include <QApplication>

#include <span>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <time.h>
#include <vector>

using namespace Mapobjects;

namespace {

struct TConfig {
    int Points = 500000;
    int Regions = 100000;
    int Repeats = 5;
    std::string Mif = "bench/data/points-500k.mif";
    std::string Png;
};

// Seeded points over the whole world, the same file every time.
void WritePoints(const std::string& Path, int Points) {
    std::filesystem::create_directories(std::filesystem::path(Path).parent_path());
    std::ofstream Mif(Path), Mid(std::filesystem::path(Path).replace_extension(".mid"));
    Mif << "Version 300\nCharset \"Neutral\"\nDelimiter \",\"\n"
           "CoordSys Earth Projection 1, 104\nColumns 2\n  id Integer\n  name Char(20)\nData\n\n";
    std::mt19937 Rng(20261206);
    std::uniform_real_distribution<double> X(-180, 180), Y(-85, 85);
    char Line[128];
    for (int I = 0; I < Points; ++I) {
        std::snprintf(Line, sizeof Line, "Point %.6f %.6f\n    Symbol (35,16711680,8)\n", X(Rng),
                      Y(Rng));
        Mif << Line;
        Mid << I << ",\"place " << I << "\"\n";
    }
}

bool ParseArgs(int Argc, char** Argv, TConfig& C) {
    return ReadBenchOptions(Argc, Argv,
                            {{"--points", &C.Points},
                             {"--regions", &C.Regions},
                             {"--repeats", &C.Repeats},
                             {"--mif", &C.Mif},
                             {"--png", &C.Png}},
                            "[--points N] [--regions N] [--repeats R] [--mif FILE] [--png FILE]") &&
           C.Points > 0 && C.Regions >= 0 && C.Repeats > 0;
}

void Run(const TConfig& C) {
    if (!std::filesystem::exists(C.Mif)) WritePoints(C.Mif, C.Points);
    TSimpleMIFFormatProvider Provider(nullptr);
    Platform::TWinControl Form(nullptr);
    Form.SetBounds(0, 0, 1920, 1080);
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, 1920, 1080);
    Map.PaintMapToBitmap(); // the bitmap exists before anything is measured

    long Rss0 = 0, Rss1 = 0;
    // Regions first, kept (hidden) while the points load, so that freed
    // memory does not hide either layer's growth.
    if (C.Regions > 0) {
        // Regions of 12 vertices (a closed ring of 11 corners), default styles.
        Map.BeginUpdate();
        Rss0 = ResidentBytes();
        TMapLayer* Regions = Map.Layers().Add("", "regions");
        std::mt19937 Rng(7);
        std::uniform_real_distribution<double> U(0, 1);
        long Vertices = 0;
        for (int I = 0; I < C.Regions; ++I) {
            auto* R = Regions->NewObject<TRegion>();
            TMapPoints& P = R->Parts().Add()->Points();
            const double CX = -170 + 340 * U(Rng), CY = -80 + 160 * U(Rng);
            for (int K = 0; K < 11; ++K) {
                const double A = 2 * std::numbers::pi * K / 11;
                P.Add(CX + std::cos(A), CY + std::sin(A));
            }
            P.Add(P.GetPoint(0));
            Vertices += P.Count();
        }
        Rss1 = ResidentBytes();
        Map.EndUpdate(false);
        std::printf("region layer: %d regions, %ld vertices built in code\n", C.Regions, Vertices);
        std::printf("  memory: RSS growth %.0f bytes per region, %.1f bytes per vertex\n",
                    double(Rss1 - Rss0) / C.Regions, double(Rss1 - Rss0) / Vertices);
        Regions->SetVisible(false);
    }

    {
        // Symbols built in code, kept hidden like the regions.
        Map.BeginUpdate();
        Rss0 = ResidentBytes();
        TMapLayer* Built = Map.Layers().Add("", "built points");
        std::mt19937 Rng(11);
        std::uniform_real_distribution<double> X(-180, 180), Y(-85, 85);
        for (int I = 0; I < C.Points; ++I)
            Built->NewObject<TSymbol>()->SetPoint(X(Rng), Y(Rng));
        Rss1 = ResidentBytes();
        Map.EndUpdate(false);
        std::printf("symbol layer built in code: %d symbols, default styles, no fields\n",
                    C.Points);
        std::printf("  memory: RSS growth %.0f bytes per point object\n",
                    double(Rss1 - Rss0) / C.Points);
        Built->SetVisible(false);
    }

    Rss0 = ResidentBytes();
    auto Start = Clock::now();
    TMapLayer* Points = Map.Layers().Add(C.Mif, "points");
    const double LoadMs = Ms(Clock::now() - Start);
    Rss1 = ResidentBytes();
    const int N = Points->ObjectCount();
    std::printf("point layer: %s, %d symbols loaded in %.0f ms\n", C.Mif.c_str(), N, LoadMs);
    std::printf("  memory: RSS growth %.0f bytes per point object (%.1f MB), MemoryUsed %.0f\n",
                double(Rss1 - Rss0) / N, (Rss1 - Rss0) / 1048576.0,
                double(Points->MemoryUsed()) / N);

    Points->Zoom();
    auto Report = [&](const char* What) {
        Map.PaintMapToBitmap(); // warm-up
        std::vector<double> T, Cpu;
        for (int I = 0; I < C.Repeats; ++I) {
            const double Cpu0 = CpuMs();
            auto S = Clock::now();
            Map.PaintMapToBitmap();
            T.push_back(Ms(Clock::now() - S));
            Cpu.push_back(CpuMs() - Cpu0);
        }
        std::sort(T.begin(), T.end());
        std::printf("  %-34s best %7.1f ms  median %7.1f ms  cpu %7.1f ms  (%d drawn)\n", What,
                    T.front(), T[T.size() / 2], *std::min_element(Cpu.begin(), Cpu.end()),
                    Map.Displayed().Count());
    };
    std::printf("full repaint of a 1920x1080 map bitmap, %d runs:\n", C.Repeats);
    Report("symbols, all in view");
    // Reading every point's coordinates, as a program that exports or
    // measures a layer does: through the read-only view, then through the
    // part lists (which a point object makes when asked for them).
    auto ReadAll = [&](const char* How, auto&& Sum) {
        const long long Before = ResidentBytes();
        const auto S = Clock::now();
        double Total = 0;
        for (int I = 0; I < N; ++I)
            Total += Sum(*Points->Objects(I));
        const double Taken = Ms(Clock::now() - S);
        const long long After = ResidentBytes();
        std::printf("  reading every point through %-10s %6.1f ms, RSS growth %5.1f %% "
                    "(%.0f bytes per object; checksum %.3g)\n",
                    How, Taken, 100.0 * double(After - Before) / double(Rss1 - Rss0),
                    double(After - Before) / N, Total);
    };
    ReadAll("Geometry()", [](const TCustomMapObject& O) {
        double T = 0;
        for (std::span<const TMapPoint> Part : O.Geometry())
            for (const TMapPoint& P : Part)
                T += P.X;
        return T;
    });
    ReadAll("Parts()", [](const TCustomMapObject& O) {
        double T = 0;
        for (int K = 0; K < O.Parts().Count(); ++K)
            for (const TMapPoint& P : O.Parts().Items(K)->Points())
                T += P.X;
        return T;
    });

    // Parts() has given each point a part list of its own: the same picture,
    // drawn from memory spread over three blocks per object.
    Report("same, after Parts() made lists");
    if (!C.Png.empty()) Map.MapBitmap()->SaveToFile(C.Png);
}

} // namespace

int main(int Argc, char** Argv) {
    TConfig C;
    if (!ParseArgs(Argc, Argv, C)) return 1;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);
    Run(C);
    return 0;
}
