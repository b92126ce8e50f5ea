// Cost of deleting many objects from a map that has just been painted (so
// every object is in Displayed) and that has one object in ten selected:
//
//   DeleteObjects/N     TMapLayer::DeleteObjects on a layer of N squares
//   DeleteLayer/N       TMapLayers::Delete of that layer
//   DeleteObjectLoop/N  TMapLayer::DeleteObject from the last index down to 0
//
// Each removal still sends its own notifications (a counted OnDeleteObject
// handler and a data link are attached), as a real program would see them.
// Doubling N should double the time.
//
//   chartix-bench-delete [--benchmark_filter=REGEX] [other Google Benchmark flags]

#include "core/MapObjects.h"
#include "objects/Polys.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

using namespace Mapobjects;

namespace {

struct TCountingLink : TMapDataLink {
    long Events = 0;
    void MapEvent(TMapDataLinkEvent, Platform::TObject*, int) override { ++Events; }
};

// A painted 800 x 400 map of the world with one layer of N small squares on
// a grid, every tenth one selected.
struct TScene {
    Platform::TWinControl Form{nullptr};
    TChartix Map{nullptr};
    TCountingLink Link;
    TMapLayer* Layer = nullptr;
    long Deleted = 0;

    explicit TScene(int N) {
        Map.SetParent(&Form);
        Map.SetBounds(0, 0, 800, 400);
        Link.SetMap(&Map);
        Map.OnDeleteObject = [this](Platform::TObject*) { ++Deleted; };
        Layer = Map.Layers().Add("", "squares");
        const int Side = static_cast<int>(std::ceil(std::sqrt(N * 2.0)));
        const double Step = 360.0 / Side;
        Map.BeginUpdate();
        for (int I = 0; I < N; ++I) {
            const double X = -180 + (I % Side) * Step, Y = -90 + (I / Side) * Step;
            TMapPoints& P = Layer->NewObject<TRegion>()->Parts().Add()->Points();
            P.Add(X, Y);
            P.Add(X + Step / 2, Y);
            P.Add(X + Step / 2, Y + Step / 2);
            P.Add(X, Y + Step / 2);
            P.Add(X, Y);
        }
        Map.EndUpdate(false);
        Map.PaintMapToBitmap(); // fills Displayed
        Map.BeginUpdate();      // no selection marks drawn while selecting
        for (int I = 0; I < N; I += 10)
            Layer->Objects(I)->Select();
        Map.EndUpdate(false);
    }
    ~TScene() { Link.SetMap(nullptr); }
};

template <class F> void Run(benchmark::State& State, F Delete) {
    const int N = static_cast<int>(State.range(0));
    for (auto _ : State) {
        State.PauseTiming();
        auto Scene = std::make_unique<TScene>(N);
        State.ResumeTiming();
        Delete(*Scene);
        State.PauseTiming();
        if (Scene->Deleted != N) State.SkipWithError("not every deletion was announced");
        Scene.reset();
        State.ResumeTiming();
    }
    State.counters["objects"] = N;
}

void DeleteObjects(benchmark::State& State) {
    Run(State, [](TScene& S) { S.Layer->DeleteObjects(); });
}

void DeleteLayer(benchmark::State& State) {
    Run(State, [](TScene& S) { S.Map.Layers().Delete(0); });
}

void DeleteObjectLoop(benchmark::State& State) {
    Run(State, [](TScene& S) {
        for (int I = S.Layer->ObjectCount() - 1; I >= 0; --I)
            S.Layer->DeleteObject(I);
    });
}

void Sizes(benchmark::internal::Benchmark* B) {
    B->Unit(benchmark::kMillisecond)->Iterations(3);
    for (int N : {10000, 20000, 40000, 80000})
        B->Arg(N);
}

BENCHMARK(DeleteObjects)->Apply(Sizes);
BENCHMARK(DeleteLayer)->Apply(Sizes);
BENCHMARK(DeleteObjectLoop)->Apply(Sizes);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
