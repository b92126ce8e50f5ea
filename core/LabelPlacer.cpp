#include "core/LabelPlacer.h"

#include "core/MapLayer.h"
#include "platform/Canvas.h"

#include <algorithm>

namespace Mapobjects {

using namespace Platform;

namespace {

// Pixels on a side of a grid cell: a few labels' worth, so a box meets
// one to four cells and a cell holds a handful of boxes.
constexpr int CellSize = 64;

// Division rounding down, for boxes left of or above the view.
int CellOf(int Pixel) {
    return Pixel >= 0 ? Pixel / CellSize : -((-Pixel + CellSize - 1) / CellSize);
}

bool Empty(const TRect& R) {
    return R.Left >= R.Right || R.Top >= R.Bottom;
}

bool Overlaps(const TRect& A, const TRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

} // namespace

TLabelPlacer::TCellSpan TLabelPlacer::Span(const TRect& Box) {
    return {CellOf(Box.Left), CellOf(Box.Top), CellOf(Box.Right - 1), CellOf(Box.Bottom - 1)};
}

void TLabelPlacer::Begin() {
    FBoxes.clear();
    FCells.clear();
    FPending.clear();
    FCollecting = true;
}

void TLabelPlacer::Defer(const TMapLayer* Layer, const TRect& Box, std::string Text) {
    FPending.push_back({Layer, Box, std::move(Text)});
}

void TLabelPlacer::Finish(TCanvas& Canvas, const TMapLayers& Layers) {
    FCollecting = false;
    std::vector<TPending> Pending;
    Pending.swap(FPending);
    if (Pending.empty()) return;
    std::unordered_map<const TMapLayer*, int> Rank;
    for (int I = 0; I < Layers.Count(); ++I)
        Rank[Layers.Get(I)] = I;
    // Higher layers win the room; a layer's own labels keep their painting order.
    std::stable_sort(Pending.begin(), Pending.end(), [&](const TPending& A, const TPending& B) {
        return Rank[A.Layer] > Rank[B.Layer];
    });
    for (const TPending& P : Pending)
        if (TryAdd(Room(P.Layer->LabelSettings(), P.Box)))
            Draw(Canvas, *P.Layer, P.Box.Left, P.Box.Top, P.Text);
}

void TLabelPlacer::Abandon() {
    FPending.clear();
    FCollecting = false;
}

bool TLabelPlacer::Collides(const TRect& Box) const {
    if (Empty(Box)) return false;
    const TCellSpan S = Span(Box);
    for (int Y = S.Top; Y <= S.Bottom; ++Y)
        for (int X = S.Left; X <= S.Right; ++X) {
            auto Cell = FCells.find(Key(X, Y));
            if (Cell == FCells.end()) continue;
            for (int I : Cell->second)
                if (Overlaps(Box, FBoxes[static_cast<size_t>(I)])) return true;
        }
    return false;
}

void TLabelPlacer::Add(const TRect& Box) {
    if (Empty(Box)) return;
    const int Index = static_cast<int>(FBoxes.size());
    FBoxes.push_back(Box);
    const TCellSpan S = Span(Box);
    for (int Y = S.Top; Y <= S.Bottom; ++Y)
        for (int X = S.Left; X <= S.Right; ++X)
            FCells[Key(X, Y)].push_back(Index);
}

bool TLabelPlacer::TryAdd(const TRect& Box) {
    if (Collides(Box)) return false;
    Add(Box);
    return true;
}

TRect TLabelPlacer::Room(const TLabelSettings& Settings, const TRect& Box) {
    if (!Settings.Halo || Settings.HaloWidth <= 0) return Box;
    const int W = Settings.HaloWidth;
    return TRect{Box.Left - W, Box.Top - W, Box.Right + W, Box.Bottom + W};
}

void TLabelPlacer::Draw(TCanvas& Canvas, const TMapLayer& Layer, int X, int Y,
                        const std::string& Text) {
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.SetFont(Layer.AutoLabelFont());
    const TLabelSettings& S = Layer.LabelSettings();
    if (S.Halo)
        Canvas.TextOutHalo(X, Y, Text, S.HaloColor, S.HaloWidth);
    else
        Canvas.TextOut(X, Y, Text);
}

} // namespace Mapobjects
