// Loading a large MIF/MID pair: our reader (TMapLayer::LoadFromFile through
// the registered MIF provider) against GDAL reading the same file into its
// in-memory driver (what `ogr2ogr -f Memory` does). Best of a few runs each,
// with the file already in the page cache, so the figures compare parsing
// and object building rather than the disk.
//
//   chartix-bench-mifload [--runs N] FILE.mif
//
// bench/make-large-mif.sh makes a suitable file (bench/data/countries-10m.mif).

#include "BenchClock.h"
#include "BenchMemory.h"
#include "core/MapObjects.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "platform/Dialogs.h"

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

std::uintmax_t SizeOf(const std::string& Path) {
    std::error_code Ec;
    auto N = std::filesystem::file_size(Path, Ec);
    return Ec ? 0 : N;
}

// Reads a file once so that every timed run finds it in the page cache.
void Warm(const std::string& Path) {
    std::ifstream F(Path, std::ios::binary);
    std::vector<char> Buf(1 << 20);
    while (F.read(Buf.data(), static_cast<std::streamsize>(Buf.size())) || F.gcount() > 0) {
    }
}

struct TOurs {
    double BestMs = 0, BestCpuMs = 0;
    int Objects = 0;
    long Vertices = 0;
    int Fields = 0;
    size_t Bytes = 0;          // held by the loaded layer (TMapLayer::MemoryUsed)
    long Rss = 0, AnonRss = 0; // resident growth over the first load
    size_t Messages = 0;
};

TOurs LoadOurs(const std::string& Path, int Runs) {
    TSimpleMIFFormatProvider Provider(nullptr);
    Platform::TWinControl Form(nullptr);
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, 800, 400);
    TOurs R;
    R.BestMs = R.BestCpuMs = 1e300;
    Platform::RecordedMessages().clear();
    for (int Run = 0; Run < Runs; ++Run) {
        TMapLayer* Layer = Map.Layers().Add("", "bench");
        const long Rss0 = ResidentBytes(), Anon0 = AnonymousResidentBytes();
        const double Cpu0 = CpuMs();
        auto Start = Clock::now();
        const bool Ok = Layer->LoadFromFile(Path, "");
        const double T = Ms(Clock::now() - Start);
        // Later runs reuse the memory the first one freed.
        if (Run == 0) {
            R.Rss = ResidentBytes() - Rss0;
            R.AnonRss = AnonymousResidentBytes() - Anon0;
        }
        if (!Ok) {
            std::fprintf(stderr, "chartix-bench-mifload: our reader refused %s\n", Path.c_str());
            std::exit(1);
        }
        R.BestMs = std::min(R.BestMs, T);
        R.BestCpuMs = std::min(R.BestCpuMs, CpuMs() - Cpu0);
        R.Objects = Layer->ObjectCount();
        R.Fields = Layer->Fields().Count();
        R.Vertices = 0;
        // Counted without asking for part lists, which would make them for
        // points that keep their one point inline.
        for (int I = 0; I < Layer->ObjectCount(); ++I)
            Layer->Objects(I)->AllPoints([&R](const TMapPoint&) { return ++R.Vertices > 0; });
        R.Bytes = Layer->MemoryUsed();
        Map.Layers().Delete(Map.Layers().Count() - 1);
    }
    R.Messages = Platform::RecordedMessages().size();
    for (const auto& M : Platform::RecordedMessages())
        std::fprintf(stderr, "  message: %s\n", M.Text.c_str());
    return R;
}

#ifdef CHARTIX_BENCH_GDAL
struct TGdal {
    double BestMs = 0, BestCpuMs = 0;
    long long Features = 0;
};

TGdal LoadGdal(const std::string& Path, int Runs) {
    GDALAllRegister();
    GDALDriverH Memory = GDALGetDriverByName("Memory");
    if (!Memory) {
        std::fprintf(stderr, "chartix-bench-mifload: GDAL has no Memory driver\n");
        std::exit(1);
    }
    TGdal R;
    R.BestMs = R.BestCpuMs = 1e300;
    for (int Run = 0; Run < Runs; ++Run) {
        const double Cpu0 = CpuMs();
        auto Start = Clock::now();
        GDALDatasetH Src =
            GDALOpenEx(Path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
        if (!Src) {
            std::fprintf(stderr, "chartix-bench-mifload: GDAL cannot open %s\n", Path.c_str());
            std::exit(1);
        }
        GDALDatasetH Dst = GDALCreate(Memory, "", 0, 0, 0, GDT_Unknown, nullptr);
        OGRLayerH Copy = GDALDatasetCopyLayer(Dst, GDALDatasetGetLayer(Src, 0), "copy", nullptr);
        const double T = Ms(Clock::now() - Start);
        R.BestMs = std::min(R.BestMs, T);
        R.BestCpuMs = std::min(R.BestCpuMs, CpuMs() - Cpu0);
        R.Features = Copy ? OGR_L_GetFeatureCount(Copy, TRUE) : -1;
        GDALClose(Dst);
        GDALClose(Src);
    }
    return R;
}
#endif

} // namespace

int main(int Argc, char** Argv) {
    int Runs = 3;
    std::string Path;
    for (int I = 1; I < Argc; ++I) {
        const std::string A = Argv[I];
        if (A == "--runs" && I + 1 < Argc)
            Runs = std::max(1, std::atoi(Argv[++I]));
        else
            Path = A;
    }
    if (Path.empty()) {
        std::fprintf(stderr,
                     "usage: %s [--runs N] FILE.mif   (bench/make-large-mif.sh makes one)\n",
                     Argv[0]);
        return 1;
    }
    if (!std::filesystem::exists(Path)) {
        std::fprintf(stderr, "%s: %s not found; run bench/make-large-mif.sh first\n", Argv[0],
                     Path.c_str());
        return 1;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt would take options such as --style for itself: it sees only our name.
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);

    const std::string Mid = std::filesystem::path(Path).replace_extension(".mid").string();
    const double MB = (SizeOf(Path) + SizeOf(Mid)) / 1048576.0;
    Warm(Path);
    Warm(Mid);
    std::printf("MIF load: %s (%.1f MB with its .mid), best of %d runs\n", Path.c_str(), MB, Runs);

    const TOurs Ours = LoadOurs(Path, Runs);
    std::printf(
        "  chartix  %8.1f ms (cpu %8.1f ms)  %6.1f MB/s  %d objects, %ld vertices, %d fields%s\n",
        Ours.BestMs, Ours.BestCpuMs, MB / (Ours.BestMs / 1000), Ours.Objects, Ours.Vertices,
        Ours.Fields, Ours.Messages ? "  (reader reported errors)" : "");
    if (Ours.Vertices > 0)
        std::printf("  memory   %.1f bytes per vertex in the loaded layer (MemoryUsed); RSS growth "
                    "of the first load %.1f, anonymous %.1f\n",
                    static_cast<double>(Ours.Bytes) / static_cast<double>(Ours.Vertices),
                    static_cast<double>(Ours.Rss) / static_cast<double>(Ours.Vertices),
                    static_cast<double>(Ours.AnonRss) / static_cast<double>(Ours.Vertices));
#ifdef CHARTIX_BENCH_GDAL
    const TGdal Gdal = LoadGdal(Path, Runs);
    std::printf(
        "  GDAL     %8.1f ms (cpu %8.1f ms)  %6.1f MB/s  %lld features (MIF driver into Memory)\n",
        Gdal.BestMs, Gdal.BestCpuMs, MB / (Gdal.BestMs / 1000), Gdal.Features);
    std::printf("  ratio    GDAL / chartix = %.2fx wall, %.2fx cpu\n", Gdal.BestMs / Ours.BestMs,
                Gdal.BestCpuMs / Ours.BestCpuMs);
#else
    std::printf("  GDAL     not measured (built without GDAL)\n");
#endif
    return Ours.Messages ? 2 : 0;
}
