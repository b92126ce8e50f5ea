#pragma once
// Keeps a map's labels from covering one another. During a full repaint
// every label's box is recorded; the labels of layers that must not overlap
// are held back and placed once all layers are painted, the top layer's
// first, each skipped when its box meets one already there. Boxes sit in a
// grid of cells, so a test looks at the few boxes nearby, not at all.

#include "../platform/Types.h"
#include "ChartixExport.h"
#include "LabelSettings.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace Platform {
class TCanvas;
}

namespace Mapobjects {

class TMapLayer;
class TMapLayers;

/// The boxes of the labels a map has drawn since its last full repaint, and the labels
/// held back during one until every layer is painted.
class CHARTIX_EXPORT TLabelPlacer {
public:
    /// Starts a full repaint: forgets the boxes recorded so far and holds labels back.
    void Begin();
    /// Whether a full repaint is holding labels back (between Begin and Finish).
    bool Collecting() const { return FCollecting; }
    /// Holds back Layer's label Text, whose text box is Box, until Finish.
    void Defer(const TMapLayer* Layer, const Platform::TRect& Box, std::string Text);
    /// Places the labels held back on Canvas: the top layer of Layers first, each layer's in
    /// the order they came; a label whose room meets a recorded box is skipped. Then stops
    /// holding labels back.
    void Finish(Platform::TCanvas& Canvas, const TMapLayers& Layers);
    /// Drops the labels held back, undrawn, and stops holding them back (a failed repaint).
    void Abandon();
    /// Whether Box overlaps a recorded box; boxes that only touch do not.
    bool Collides(const Platform::TRect& Box) const;
    /// Records Box (an empty one is not kept).
    void Add(const Platform::TRect& Box);
    /// Records Box unless it collides; true when recorded.
    bool TryAdd(const Platform::TRect& Box);
    /// The number of boxes recorded since Begin.
    int Count() const { return static_cast<int>(FBoxes.size()); }

    /// The room a label of text box Box takes: the box grown by the halo, when it has one.
    static Platform::TRect Room(const TLabelSettings& Settings, const Platform::TRect& Box);
    /// Draws Layer's label Text with its text box's top-left at (X, Y): the layer's label
    /// font, no background, the halo of its settings.
    static void Draw(Platform::TCanvas& Canvas, const TMapLayer& Layer, int X, int Y,
                     const std::string& Text);

private:
    struct TPending {
        const TMapLayer* Layer;
        Platform::TRect Box;
        std::string Text;
    };
    // The grid cells a box covers, in cell units.
    struct TCellSpan {
        int Left, Top, Right, Bottom;
    };
    static TCellSpan Span(const Platform::TRect& Box);
    static std::uint64_t Key(int X, int Y) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(X)) << 32) |
               static_cast<std::uint32_t>(Y);
    }

    std::vector<Platform::TRect> FBoxes;
    // Box positions in FBoxes by grid cell.
    std::unordered_map<std::uint64_t, std::vector<int>> FCells;
    std::vector<TPending> FPending;
    bool FCollecting = false;
};

} // namespace Mapobjects
