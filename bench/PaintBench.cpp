// Painting cost of a large layer: a synthetic layer of about a million
// vertices (regions and polylines spread over the whole world, random but
// seeded) painted into a full-HD map bitmap. Prints the time of one full
// repaint with generalization on and off, in the quick drawing mode (EasyDraw),
// zoomed in with and without the spatial index, with wide pens, and the memory
// the layer takes per vertex. Building and querying the index on its own is
// chartix-bench-index (IndexBench.cpp). The level-of-detail rows add the
// first paint (which makes the simplified copies), the copies' memory and how
// many pixels differ from the full drawing. With --mif the layer is that file
// instead (real polygons: bench/data/countries-10m.mif).
//
//   chartix-bench-paint [--objects N] [--vertices V] [--repeats R] [--png FILE]
//                       [--mif FILE]

#include "BenchArgs.h"
#include "BenchClock.h"
#include "BenchMemory.h"
#include "core/MapObjects.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "objects/Polys.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <time.h>
#include <vector>

using namespace Mapobjects;

namespace {

struct TConfig {
    int Objects = 10000;
    int Vertices = 100;
    int Repeats = 5;
    std::string Png;
    std::string Mif; // a file to paint instead of the synthetic layer
};

struct TTiming {
    double Best = 0, Median = 0, BestCpu = 0;
};

long DifferingPixels(const QImage& A, const QImage& B) {
    long N = 0;
    for (int Y = 0; Y < A.height(); ++Y)
        for (int X = 0; X < A.width(); ++X)
            N += A.pixel(X, Y) != B.pixel(X, Y);
    return N;
}

TTiming Time(int Repeats, const std::function<void()>& F) {
    std::vector<double> T, Cpu;
    for (int I = 0; I < Repeats; ++I) {
        const double Cpu0 = CpuMs();
        auto Start = Clock::now();
        F();
        T.push_back(Ms(Clock::now() - Start));
        Cpu.push_back(CpuMs() - Cpu0);
    }
    std::sort(T.begin(), T.end());
    return {T.front(), T[T.size() / 2], *std::min_element(Cpu.begin(), Cpu.end())};
}

// Regions are star-shaped rings round a centre, polylines smooth random
// walks; sizes from a fifth of a degree to three degrees, so that a zoomed-in
// view still crosses a few dozen objects.
void Fill(TMapLayer& Layer, int Objects, int Vertices, std::uint32_t Seed) {
    std::mt19937 Rng(Seed);
    std::uniform_real_distribution<double> U(0, 1);
    const Platform::TColor Fills[] = {
        Platform::RGB(0xe8, 0xd3, 0xa9), Platform::RGB(0xc9, 0xdf, 0xb4),
        Platform::RGB(0xb9, 0xd4, 0xe6), Platform::RGB(0xf2, 0xc9, 0xb1)};
    for (int I = 0; I < Objects; ++I) {
        const double R = 0.2 + 2.8 * U(Rng);
        const double CX = -180 + R + (360 - 2 * R) * U(Rng);
        const double CY = -90 + R + (180 - 2 * R) * U(Rng);
        const bool IsRegion = I % 2 == 0;
        TCustomMapObject* Obj = IsRegion
                                    ? static_cast<TCustomMapObject*>(Layer.NewObject<TRegion>())
                                    : Layer.NewObject<TPolyline>();
        TMapPoints& P = Obj->Parts().Add()->Points();
        P.Reserve(Vertices);
        if (IsRegion) {
            Obj->Brush()->SetColor(Fills[(I / 2) % 4]);
            for (int K = 0; K < Vertices - 1; ++K) {
                const double A = 2 * std::numbers::pi * (K + 0.5 * U(Rng)) / (Vertices - 1);
                const double Rad = R * (0.6 + 0.4 * U(Rng));
                P.Add(CX + Rad * std::cos(A), CY + Rad * std::sin(A));
            }
            P.Add(P.GetPoint(0)); // closed ring
        } else {
            double X = CX, Y = CY, Heading = 2 * std::numbers::pi * U(Rng);
            const double Step = R / 15;
            for (int K = 0; K < Vertices; ++K) {
                P.Add(std::clamp(X, -180.0, 180.0), std::clamp(Y, -90.0, 90.0));
                Heading += (U(Rng) - 0.5) * 0.8;
                X += Step * std::cos(Heading);
                Y += Step * std::sin(Heading);
            }
        }
    }
}

bool ParseArgs(int Argc, char** Argv, TConfig& C) {
    return ReadBenchOptions(
               Argc, Argv,
               {{"--objects", &C.Objects},
                {"--vertices", &C.Vertices},
                {"--repeats", &C.Repeats},
                {"--png", &C.Png},
                {"--mif", &C.Mif}},
               "[--objects N] [--vertices V] [--repeats R] [--png FILE] [--mif FILE]") &&
           C.Objects > 0 && C.Vertices >= 3 && C.Repeats > 0;
}

void PaintFigures(const TConfig& C) {
    Platform::TWinControl Form(nullptr);
    Form.SetBounds(0, 0, 1920, 1080);
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, 1920, 1080);

    const long RssBefore = ResidentBytes(), AnonBefore = AnonymousResidentBytes();
    auto Start = Clock::now();
    Map.BeginUpdate(); // adding objects outside an update paints each at once
    TMapLayer* Layer = nullptr;
    if (C.Mif.empty()) {
        Layer = Map.Layers().Add("", "synthetic");
        Fill(*Layer, C.Objects, C.Vertices, 20240601);
    } else {
        Layer = Map.Layers().Add(C.Mif, "file");
        if (Layer->FileName().empty()) {
            std::fprintf(stderr, "chartix-bench-paint: cannot load %s\n", C.Mif.c_str());
            std::exit(1);
        }
    }
    Map.EndUpdate(false);
    const double BuildMs = Ms(Clock::now() - Start);
    const long RssAfter = ResidentBytes(), AnonAfter = AnonymousResidentBytes();

    long Vertices = 0;
    for (int I = 0; I < Layer->ObjectCount(); ++I)
        Vertices += Layer->Objects(I)->Parts().PointCount();

    if (C.Mif.empty())
        std::printf("synthetic layer: %d objects (half regions, half polylines), %ld vertices, "
                    "built in %.0f ms\n",
                    Layer->ObjectCount(), Vertices, BuildMs);
    else
        std::printf("%s: %d objects, %ld vertices, loaded in %.0f ms\n", C.Mif.c_str(),
                    Layer->ObjectCount(), Vertices, BuildMs);
    std::printf("  memory: MemoryUsed %.1f bytes/vertex, RSS delta %.1f bytes/vertex (%.1f MB), "
                "anonymous RSS delta %.1f bytes/vertex (%.1f MB)\n",
                static_cast<double>(Layer->MemoryUsed()) / Vertices,
                static_cast<double>(RssAfter - RssBefore) / Vertices,
                (RssAfter - RssBefore) / 1048576.0,
                static_cast<double>(AnonAfter - AnonBefore) / Vertices,
                (AnonAfter - AnonBefore) / 1048576.0);

    std::printf("full repaint of a 1920x1080 map bitmap (PaintMapToBitmap), %d runs:\n", C.Repeats);
    auto Report = [&](const char* What) {
        Map.PaintMapToBitmap(); // warm-up: fonts, caches, the index
        const TTiming T = Time(C.Repeats, [&] { Map.PaintMapToBitmap(); });
        std::printf("  %-38s best %7.1f ms  median %7.1f ms  cpu %7.1f ms  (%d objects drawn)\n",
                    What, T.Best, T.Median, T.BestCpu, Map.Displayed().Count());
    };
    Map.SetUseGeneralization(true);
    Report("zoom 1, generalization on (level 1)");
    if (!C.Png.empty()) Map.MapBitmap()->SaveToFile(C.Png);
    Map.SetUseGeneralization(false);
    Report("zoom 1, generalization off");
    Map.SetUseGeneralization(true);
    Map.SetEasyDraw(true); // one filled polygon per part instead of regions
    Report("zoom 1, EasyDraw");
    Map.SetEasyDraw(false);
    Map.Options().SetAntialiasing(true); // smooth edges, outlines and text
    Report("zoom 1, generalization on, antialiased");
    if (!C.Png.empty())
        Map.MapBitmap()->SaveToFile(C.Png.substr(0, C.Png.rfind('.')) + "-antialiased.png");
    Map.Options().SetAntialiasing(false);

    // Level of detail: the first paint makes the simplified copies; the
    // picture is compared with the full drawing pixel by pixel.
    Map.PaintMapToBitmap();
    const QImage FullPicture = Map.MapBitmap()->Canvas()->Image()->copy();
    Map.Options().SetLevelOfDetail(true);
    const size_t LayerBytes = Layer->MemoryUsed();
    Start = Clock::now();
    Map.PaintMapToBitmap();
    const double FirstMs = Ms(Clock::now() - Start);
    size_t CopyBytes = 0;
    for (int I = 0; I < Layer->ObjectCount(); ++I)
        CopyBytes += Layer->Objects(I)->Parts().DetailMemoryUsed();
    Report("zoom 1, level of detail");
    const QImage& LodPicture = *Map.MapBitmap()->Canvas()->Image();
    const long Differ = DifferingPixels(LodPicture, FullPicture);
    std::printf(
        "  (first paint, making the copies: %.0f ms; copies %.1f MB = %.1f %% of the layer's "
        "%.1f MB; %ld pixels differ from the full drawing, %.3f %%)\n",
        FirstMs, CopyBytes / 1048576.0, 100.0 * CopyBytes / LayerBytes, LayerBytes / 1048576.0,
        Differ, 100.0 * Differ / (LodPicture.width() * LodPicture.height()));
    if (!C.Png.empty()) Map.MapBitmap()->SaveToFile(C.Png.substr(0, C.Png.rfind('.')) + "-lod.png");
    Map.Options().SetAntialiasing(true);
    Report("zoom 1, level of detail, antialiased");
    Map.Options().SetAntialiasing(false);
    Map.Options().SetLevelOfDetail(false);

    const double HomeX = Map.CenterX(), HomeY = Map.CenterY();
    Map.SetCenterX(10);
    Map.SetCenterY(20);
    Map.SetZoom(16);
    Report("zoom 16, no index");
    Start = Clock::now();
    Layer->SetUseIndex2D(true);
    const double IndexMs = Ms(Clock::now() - Start);
    Report("zoom 16, UseIndex2D");
    const QImage Zoomed = Map.MapBitmap()->Canvas()->Image()->copy();
    Map.Options().SetLevelOfDetail(true);
    Report("zoom 16, UseIndex2D, level of detail");
    std::printf("  (%ld pixels differ from the full drawing)\n",
                DifferingPixels(*Map.MapBitmap()->Canvas()->Image(), Zoomed));
    Map.Options().SetLevelOfDetail(false);
    std::printf("  (index over the %d objects built in %.1f ms)\n", Layer->ObjectCount(), IndexMs);

    // Wide pens: outlines and lines three pixels wide.
    for (int I = 0; I < Layer->ObjectCount(); ++I)
        Layer->Objects(I)->Pen()->SetWidth(3);
    Map.SetZoom(1);
    Map.SetCenterX(HomeX);
    Map.SetCenterY(HomeY);
    Report("zoom 1, pens 3 pixels wide");
}

} // namespace

int main(int Argc, char** Argv) {
    TConfig C;
    if (!ParseArgs(Argc, Argv, C)) return 1;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt would take options such as --style for itself: it sees only our name.
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);
    TSimpleMIFFormatProvider Provider(nullptr); // registers the MIF reader for --mif
    PaintFigures(C);
    return 0;
}
