// Cost of the spatial index on a large layer: 100,000 small regions (three to
// six points, up to half a degree across) spread at random, seeded, over the
// world extent -180..180 x -90..90.
//
//   BuildIndex        building the tree from the layer's objects
//   ViewQuery/...     a layer query for a view 1/16 of the world wide and high
//                     (22.5 x 11.25 degrees), with the index and, as the
//                     yardstick, without it; IndexOnly is the tree's answer
//                     before the layer drops the candidates outside the view
//   SaveIndexFile,    writing and reading the tree's index file
//   LoadIndexFile
//
//   chartix-bench-index [--benchmark_filter=REGEX] [other Google Benchmark flags]

#include "core/MapLayer.h"
#include "objects/Polys.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numbers>
#include <random>
#include <unistd.h>

using namespace Mapobjects;

namespace {

constexpr int ObjectCount = 100000;

TMapLayer& WorldLayer() {
    static std::unique_ptr<TMapLayer> Layer = [] {
        auto L = std::make_unique<TMapLayer>();
        std::mt19937 Rng(20240601);
        std::uniform_real_distribution<double> X(-180, 180), Y(-90, 90), Size(0.05, 0.5),
            Unit(0, 1);
        std::uniform_int_distribution<int> Vertices(3, 6);
        for (int I = 0; I < ObjectCount; ++I) {
            const double CX = X(Rng), CY = Y(Rng), R = Size(Rng) / 2;
            const int N = Vertices(Rng);
            TMapPoints& P = L->NewObject<TRegion>()->Parts().Add()->Points();
            for (int K = 0; K < N; ++K) {
                const double A = 2 * std::numbers::pi * (K + Unit(Rng) * 0.5) / N;
                P.Add(CX + R * std::cos(A), CY + R * std::sin(A));
            }
        }
        return L;
    }();
    return *Layer;
}

// Views 1/16 of the world in each direction, at seeded places.
std::vector<TCellBounds> Views() {
    std::mt19937 Rng(99);
    const double W = 360.0 / 16, H = 180.0 / 16;
    std::uniform_real_distribution<double> X(-180, 180 - W), Y(-90, 90 - H);
    std::vector<TCellBounds> V;
    for (int I = 0; I < 64; ++I) {
        const double MinX = X(Rng), MinY = Y(Rng);
        V.push_back(TCellBounds(TBounds{MinX, MinY, MinX + W, MinY + H}));
    }
    return V;
}

void Shape(const TIndexCell& C, int& Leaves, long& Ids, int& Depth) {
    if (C.GetCount() == 0) {
        ++Leaves;
        Ids += C.Ids().Count();
        Depth = std::max(Depth, C.Level());
    }
    for (int I = 0; I < C.GetCount(); ++I)
        Shape(*C.GetCell(I), Leaves, Ids, Depth);
}

void BuildIndex(benchmark::State& State) {
    TMapLayer& L = WorldLayer();
    int Leaves = 0, Depth = 0;
    long Ids = 0;
    for (auto _ : State) {
        auto Root = std::make_unique<TIndexCell>(&L);
        State.PauseTiming();
        Leaves = Depth = 0;
        Ids = 0;
        Shape(*Root, Leaves, Ids, Depth);
        Root.reset();
        State.ResumeTiming();
    }
    State.counters["objects"] = L.ObjectCount();
    State.counters["leaves"] = Leaves;
    State.counters["ids_in_leaves"] = static_cast<double>(Ids);
    State.counters["depth"] = Depth;
}
BENCHMARK(BuildIndex)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ViewQuery(benchmark::State& State, bool UseIndex, bool IndexOnly) {
    TMapLayer& L = WorldLayer();
    L.SetUseIndex2D(UseIndex);
    TCardinalArray Dummy;
    // (Re)builds the index outside the timing.
    L.GetAllIdsInRect(TCellBounds(TBounds{0, 0, 1, 1}), Dummy);
    const std::vector<TCellBounds> V = Views();
    size_t I = 0;
    long Found = 0, Queries = 0;
    TCardinalArray Ids;
    for (auto _ : State) {
        const TCellBounds& B = V[I++ % V.size()];
        if (IndexOnly)
            L.Index2D().GetAllIdsInRect(B, Ids);
        else
            L.GetAllIdsInRect(B, Ids);
        Found += Ids.Count();
        ++Queries;
    }
    State.counters["ids_per_view"] = Queries ? static_cast<double>(Found) / Queries : 0;
}
BENCHMARK_CAPTURE(ViewQuery, WithIndex, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ViewQuery, IndexOnly, true, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ViewQuery, WithoutIndex, false, false)->Unit(benchmark::kMicrosecond);

std::string IndexFileName() {
    return (std::filesystem::temp_directory_path() /
            ("chartix-bench-" + std::to_string(::getpid()) + ".idx"))
        .string();
}

void SaveIndexFile(benchmark::State& State) {
    TIndexCell Root(&WorldLayer());
    const std::string F = IndexFileName();
    for (auto _ : State)
        Root.SaveToFile(F);
    State.counters["bytes"] = static_cast<double>(std::filesystem::file_size(F));
    std::filesystem::remove(F);
}
BENCHMARK(SaveIndexFile)->Unit(benchmark::kMillisecond);

void LoadIndexFile(benchmark::State& State) {
    const std::string F = IndexFileName();
    TIndexCell(&WorldLayer()).SaveToFile(F);
    for (auto _ : State) {
        TIndexCell Root(static_cast<TMapLayer*>(nullptr));
        benchmark::DoNotOptimize(Root.LoadFromToFile(F));
    }
    std::filesystem::remove(F);
}
BENCHMARK(LoadIndexFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication App(argc, argv); // fonts of the map objects need one
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
