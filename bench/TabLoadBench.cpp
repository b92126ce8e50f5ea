// Loading a large MapInfo table: the MapInfo provider (through MITAB, that
// is libmitab on GDAL, bound at run time) against our own MIF reader on the
// same features as a MIF/MID pair, and against GDAL copying the table into
// its in-memory driver (what `ogr2ogr -f Memory` does). Best of a few runs
// each, with the files already in the page cache.
//
//   chartix-bench-tabload [--runs N] FILE.tab FILE.mif
//
// bench/make-large-tab.sh makes both (bench/data/countries-10m-tab.*).

#include "BenchClock.h"
#include "core/MapObjects.h"
#include "formats/MapInfoFormatProvider.h"
#include "formats/MitabBinding.h"
#include "formats/SimpleMIFFormatProvider.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <time.h>
#include <vector>

#ifdef CHARTIX_BENCH_GDAL
#include <gdal.h>
#include <ogr_api.h>
#endif

using namespace Mapobjects;

namespace {

// The bytes of a table or pair: the file and its companions.
double Megabytes(const std::string& Path, std::initializer_list<const char*> Companions) {
    double Bytes = 0;
    std::error_code Ec;
    for (const char* Ext : Companions) {
        const auto N =
            std::filesystem::file_size(std::filesystem::path(Path).replace_extension(Ext), Ec);
        if (!Ec) Bytes += static_cast<double>(N);
    }
    return Bytes / 1048576.0;
}

void Warm(const std::string& Path, std::initializer_list<const char*> Companions) {
    std::vector<char> Buf(1 << 20);
    for (const char* Ext : Companions) {
        std::ifstream F(std::filesystem::path(Path).replace_extension(Ext), std::ios::binary);
        while (F.read(Buf.data(), static_cast<std::streamsize>(Buf.size())) || F.gcount() > 0) {
        }
    }
}

struct TResult {
    double BestMs = 1e300, BestCpuMs = 1e300;
    long long Objects = 0, Vertices = 0;
};

// Loads File into a fresh layer Runs times through whichever registered
// provider takes it.
TResult LoadLayer(TChartix& Map, const std::string& File, int Runs) {
    TResult R;
    for (int Run = 0; Run < Runs; ++Run) {
        TMapLayer* Layer = Map.Layers().Add("", "bench");
        const double Cpu0 = CpuMs();
        const auto Start = Clock::now();
        const bool Ok = Layer->LoadFromFile(File, "");
        const double T = Ms(Clock::now() - Start);
        if (!Ok) {
            std::fprintf(stderr, "chartix-bench-tabload: %s did not load\n", File.c_str());
            std::exit(1);
        }
        R.BestMs = std::min(R.BestMs, T);
        R.BestCpuMs = std::min(R.BestCpuMs, CpuMs() - Cpu0);
        R.Objects = Layer->ObjectCount();
        R.Vertices = 0;
        for (int I = 0; I < Layer->ObjectCount(); ++I)
            R.Vertices += Layer->Objects(I)->Parts().PointCount();
        Map.Layers().Delete(Map.Layers().Count() - 1);
    }
    return R;
}

void Print(const char* Who, const TResult& R, double MB, const char* What) {
    std::printf("  %-8s %8.1f ms (cpu %8.1f ms)  %6.1f MB/s  %lld %s, %lld vertices\n", Who,
                R.BestMs, R.BestCpuMs, MB / (R.BestMs / 1000), R.Objects, What, R.Vertices);
}

#ifdef CHARTIX_BENCH_GDAL
TResult CopyWithGdal(const std::string& Path, int Runs) {
    GDALAllRegister();
    GDALDriverH Memory = GDALGetDriverByName("Memory");
    TResult R;
    for (int Run = 0; Run < Runs && Memory; ++Run) {
        const double Cpu0 = CpuMs();
        const auto Start = Clock::now();
        GDALDatasetH Src =
            GDALOpenEx(Path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
        if (!Src) {
            std::fprintf(stderr, "chartix-bench-tabload: GDAL cannot open %s\n", Path.c_str());
            std::exit(1);
        }
        GDALDatasetH Dst = GDALCreate(Memory, "", 0, 0, 0, GDT_Unknown, nullptr);
        OGRLayerH Copy = GDALDatasetCopyLayer(Dst, GDALDatasetGetLayer(Src, 0), "copy", nullptr);
        const double T = Ms(Clock::now() - Start);
        R.BestMs = std::min(R.BestMs, T);
        R.BestCpuMs = std::min(R.BestCpuMs, CpuMs() - Cpu0);
        R.Objects = Copy ? OGR_L_GetFeatureCount(Copy, TRUE) : -1;
        R.Vertices = 0;
        if (Copy) {
            OGR_L_ResetReading(Copy);
            while (OGRFeatureH F = OGR_L_GetNextFeature(Copy)) {
                if (OGRGeometryH G = OGR_F_GetGeometryRef(F)) {
                    // Rings and sections one level or two down.
                    for (int I = 0; I < std::max(1, OGR_G_GetGeometryCount(G)); ++I) {
                        OGRGeometryH P = OGR_G_GetGeometryCount(G) ? OGR_G_GetGeometryRef(G, I) : G;
                        if (OGR_G_GetGeometryCount(P) == 0) R.Vertices += OGR_G_GetPointCount(P);
                        for (int K = 0; K < OGR_G_GetGeometryCount(P); ++K)
                            R.Vertices += OGR_G_GetPointCount(OGR_G_GetGeometryRef(P, K));
                    }
                }
                OGR_F_Destroy(F);
            }
        }
        GDALClose(Dst);
        GDALClose(Src);
    }
    return R;
}
#endif

} // namespace

int main(int Argc, char** Argv) {
    int Runs = 3;
    std::vector<std::string> Files;
    for (int I = 1; I < Argc; ++I) {
        const std::string A = Argv[I];
        if (A == "--runs" && I + 1 < Argc)
            Runs = std::max(1, std::atoi(Argv[++I]));
        else
            Files.push_back(A);
    }
    if (Files.size() != 2 || !std::filesystem::exists(Files[0]) ||
        !std::filesystem::exists(Files[1])) {
        std::fprintf(stderr,
                     "usage: %s [--runs N] FILE.tab FILE.mif   (bench/make-large-tab.sh makes "
                     "both)\n",
                     Argv[0]);
        return 1;
    }
    const std::string& Tab = Files[0];
    const std::string& Mif = Files[1];
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);

    // Ours first: the .mif goes to our reader, the .tab to MITAB's provider.
    TSimpleMIFFormatProvider MifProvider(nullptr);
    TMapInfoFormatProvider TabProvider(nullptr);
    if (!MITAB_LibOK()) {
        std::fprintf(stderr, "chartix-bench-tabload: %s\n",
                     TMapInfoFormatProvider::MissingLibraryMessage().c_str());
        return 1;
    }
    Platform::TWinControl Form(nullptr);
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, 800, 400);

    const double TabMB = Megabytes(Tab, {".tab", ".dat", ".map", ".id"});
    const double MifMB = Megabytes(Mif, {".mif", ".mid"});
    Warm(Tab, {".tab", ".dat", ".map", ".id"});
    Warm(Mif, {".mif", ".mid"});
    std::printf("Table load: %s (%.1f MB with its files) and %s (%.1f MB with its .mid), best "
                "of %d runs\n",
                Tab.c_str(), TabMB, Mif.c_str(), MifMB, Runs);
    const TResult Provider = LoadLayer(Map, Tab, Runs);
    Print("MITAB", Provider, TabMB, "objects from the .tab (TMapInfoFormatProvider)");
    const TResult Reader = LoadLayer(Map, Mif, Runs);
    Print("MIF", Reader, MifMB, "objects from the .mif (our reader)");
#ifdef CHARTIX_BENCH_GDAL
    const TResult Gdal = CopyWithGdal(Tab, Runs);
    Print("GDAL", Gdal, TabMB, "features from the .tab into Memory");
    std::printf("  ratio    MITAB provider / our MIF reader = %.2fx wall; / GDAL = %.2fx wall\n",
                Provider.BestMs / Reader.BestMs, Provider.BestMs / Gdal.BestMs);
#else
    std::printf("  ratio    MITAB provider / our MIF reader = %.2fx wall\n",
                Provider.BestMs / Reader.BestMs);
#endif
    return 0;
}
