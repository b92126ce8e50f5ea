// Loading Shapefiles and GeoPackages through the GDAL module's provider
// (RegisterStandardProviders, then TMapLayer::LoadFromFile) against GDAL
// reading the same layer into its in-memory driver (what `ogr2ogr -f Memory`
// does), best CPU time of a few runs each, then the full-view repaint of the
// loaded layer at 1920x1080.
//
//   chartix-bench-gdal-load [--runs N] --file FILE [--file FILE ...]
//
// A file may name its layer: "world.gpkg|layername=countries". The module is
// found beside the program (or through CHARTIX_MODULE_PATH).

#include "BenchClock.h"
#include "core/MapObjects.h"
#include "core/GdalModule.h"
#include "formats/StandardProviders.h"
#include "formats/VectorSources.h"

#include <QApplication>

#include <gdal.h>
#include <ogr_api.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Mapobjects;

namespace {

struct TOurs {
    double BestCpuMs = 1e300, BestMs = 1e300;
    int Objects = 0;
    long Vertices = 0;
    double PaintMs = 1e300, PaintCpuMs = 1e300;
};

TOurs LoadOurs(const std::string& File, int Runs) {
    Platform::TWinControl Form(nullptr);
    Form.SetBounds(0, 0, 1920, 1080);
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, 1920, 1080);
    TOurs R;
    for (int Run = 0; Run < Runs; ++Run) {
        TMapLayer* Layer = Map.Layers().Add("", "bench");
        const double Cpu0 = CpuMs();
        const auto Start = Clock::now();
        const bool Ok = Layer->LoadFromFile(File, "");
        R.BestMs = std::min(R.BestMs, Ms(Clock::now() - Start));
        R.BestCpuMs = std::min(R.BestCpuMs, CpuMs() - Cpu0);
        if (!Ok) {
            std::fprintf(stderr, "chartix-bench-gdal-load: the provider refused %s (%s)\n",
                         File.c_str(), GdalModuleProblem().c_str());
            std::exit(1);
        }
        R.Objects = Layer->ObjectCount();
        R.Vertices = 0;
        for (int I = 0; I < Layer->ObjectCount(); ++I)
            Layer->Objects(I)->AllPoints([&R](const TMapPoint&) { return ++R.Vertices > 0; });
        if (Run + 1 < Runs) Map.Layers().Delete(Map.Layers().Count() - 1);
    }
    // The last layer loaded, the whole of it in view.
    Map.Layers().Layers(Map.Layers().Count() - 1)->Zoom();
    Map.PaintMapToBitmap(); // warm-up: fonts, caches
    for (int Run = 0; Run < std::max(Runs, 3); ++Run) {
        const double Cpu0 = CpuMs();
        const auto Start = Clock::now();
        Map.PaintMapToBitmap();
        R.PaintMs = std::min(R.PaintMs, Ms(Clock::now() - Start));
        R.PaintCpuMs = std::min(R.PaintCpuMs, CpuMs() - Cpu0);
    }
    return R;
}

struct TGdal {
    double BestCpuMs = 1e300, BestMs = 1e300;
    long long Features = 0;
};

TGdal LoadGdal(const std::string& File, int Runs) {
    GDALAllRegister();
    GDALDriverH Memory = GDALGetDriverByName("Memory");
    const size_t Bar = File.find(SourceLayerSeparator);
    const std::string Path = File.substr(0, Bar);
    const std::string Name =
        Bar == std::string::npos ? "" : File.substr(Bar + std::string(SourceLayerSeparator).size());
    TGdal R;
    for (int Run = 0; Run < Runs; ++Run) {
        const double Cpu0 = CpuMs();
        const auto Start = Clock::now();
        GDALDatasetH Src =
            GDALOpenEx(Path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
        OGRLayerH From = !Src           ? nullptr
                         : Name.empty() ? GDALDatasetGetLayer(Src, 0)
                                        : GDALDatasetGetLayerByName(Src, Name.c_str());
        if (!Memory || !From) {
            std::fprintf(stderr, "chartix-bench-gdal-load: GDAL cannot read %s\n", File.c_str());
            std::exit(1);
        }
        GDALDatasetH Dst = GDALCreate(Memory, "", 0, 0, 0, GDT_Unknown, nullptr);
        OGRLayerH Copy = GDALDatasetCopyLayer(Dst, From, "copy", nullptr);
        R.BestMs = std::min(R.BestMs, Ms(Clock::now() - Start));
        R.BestCpuMs = std::min(R.BestCpuMs, CpuMs() - Cpu0);
        R.Features = Copy ? OGR_L_GetFeatureCount(Copy, TRUE) : -1;
        GDALClose(Dst);
        GDALClose(Src);
    }
    return R;
}

} // namespace

int main(int Argc, char** Argv) {
    int Runs = 3;
    std::vector<std::string> Files;
    for (int I = 1; I + 1 < Argc; I += 2) {
        const std::string A = Argv[I];
        if (A == "--runs")
            Runs = std::max(1, std::atoi(Argv[I + 1]));
        else if (A == "--file")
            Files.emplace_back(Argv[I + 1]);
        else
            Files.clear(), I = Argc;
    }
    if (Files.empty() || Argc % 2 == 0) {
        std::fprintf(stderr, "usage: %s [--runs N] --file FILE [--file FILE ...]\n", Argv[0]);
        return 1;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);
    RegisterStandardProviders();

    for (const std::string& File : Files) {
        std::printf("GDAL vector load: %s, best of %d runs\n", File.c_str(), Runs);
        const TOurs Ours = LoadOurs(File, Runs);
        std::printf("  chartix  %8.1f ms (cpu %8.1f ms)  %d objects, %ld vertices\n", Ours.BestMs,
                    Ours.BestCpuMs, Ours.Objects, Ours.Vertices);
        const TGdal Gdal = LoadGdal(File, Runs);
        std::printf("  GDAL     %8.1f ms (cpu %8.1f ms)  %lld features (into Memory)\n",
                    Gdal.BestMs, Gdal.BestCpuMs, Gdal.Features);
        std::printf("  ratio    chartix / GDAL = %.2fx cpu\n", Ours.BestCpuMs / Gdal.BestCpuMs);
        std::printf("  repaint  %8.1f ms (cpu %8.1f ms), 1920x1080, the whole layer in view\n",
                    Ours.PaintMs, Ours.PaintCpuMs);
    }
    return 0;
}
