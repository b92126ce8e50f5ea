#pragma once
// Level of detail for drawing big objects: simplified copies of an object's
// parts, one per zoom band, so that a view in which thousands of vertices fall
// on the same pixel does not convert and clip every one of them.
//
// Each vertex gets an importance once: the distance at which the
// Douglas-Peucker simplification of its part would drop it (capped by the
// importance of the split that reaches it, so that the vertices kept at a
// tolerance T are exactly those the simplification at T keeps). A copy at
// tolerance T is then a filter, and every vertex it drops lies within T of the
// copy's outline. Tolerances are powers of two in map units. Copies are taken
// coarse first, each at most half the object and at least twice the last one
// taken, within a budget of a quarter of the object's vertices.

#include "objects/Parts.h"
#include "objects/PolySplitter.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

namespace Mapobjects {

class TChartix;

/// One simplified copy of an object's parts. Parts too small to draw anything at
/// the scales the copy serves are left out.
struct TDetailLevel {
    double Tolerance = 0;          ///< no dropped vertex is farther from the copy, map units
    std::vector<TMapPoint> Points; ///< the kept points of the kept parts, part after part
    std::vector<int> Parts;        ///< the index of each kept part, ascending
    std::vector<int> Starts;       ///< where each kept part starts in Points; one more at the end

    /// The kept points of the K-th kept part.
    std::span<const TMapPoint> Part(size_t K) const {
        return {Points.data() + Starts[K], static_cast<size_t>(Starts[K + 1] - Starts[K])};
    }
};

/// The simplified copies of one object's parts, finest first.
class TDetailLevels {
public:
    /// Objects with fewer vertices are drawn as they are.
    static constexpr int MinPoints = 64;

    /// Computes the copies worth keeping for Parts (possibly none).
    static std::unique_ptr<TDetailLevels> Build(const TParts& Parts);

    /// Whether the copies were made from as many parts as Parts has. Changes of points
    /// and new parts drop the copies (TParts::Changed); a part deleted is found here.
    bool Matches(const TParts& Parts) const;
    /// The coarsest copy whose tolerance is at most MaxTolerance, or null.
    const TDetailLevel* Choose(double MaxTolerance) const;
    /// The copies, finest first.
    const std::vector<TDetailLevel>& Levels() const { return FLevels; }
    /// Bytes held by the copies.
    size_t MemoryUsed() const;

private:
    int FPartCount = 0; // parts of the object copied
    std::vector<TDetailLevel> FLevels;
};

/// The copy of Parts that Map may draw in place of the full parts at its current
/// scale: with the level-of-detail option and generalization on, the coarsest copy whose tolerance
/// is at most half the generalization distance (so the picture moves by less than generalization
/// itself moves it); null when the full parts are to be drawn. Builds the copies on first use.
const TDetailLevel* DetailFor(const TParts& Parts, const TChartix& Map);

/// The parts of one object as the map draws them now: clipped to the view, in
/// pixels, from the simplified copy that DetailFor picks when there is one.
/// With the level-of-detail option, parts that would draw nothing are skipped
/// before they are clipped: those beyond one side of the view, and those whose
/// extent is smaller than the generalization distance on both axes
/// (generalization would thin them to their first point, which draws nothing).
class TPartsOnScreen {
public:
    TPartsOnScreen(const TParts& Parts, const TChartix& Map);
    /// Calls Fn with the pixels of each part from First to Last - 1 that may draw
    /// something, in order (possibly with fewer than two points).
    template <class F> void ForEach(int First, int Last, F&& Fn) const {
        if (FLevel) {
            const std::vector<int>& Kept = FLevel->Parts;
            auto It = std::lower_bound(Kept.begin(), Kept.end(), First);
            for (; It != Kept.end() && *It < Last; ++It)
                if (!Skipped(FParts.Items(*It)->Points()))
                    Fn(FClip(FLevel->Part(static_cast<size_t>(It - Kept.begin()))));
            return;
        }
        for (int I = First; I < Last; ++I) {
            const TMapPoints& P = FParts.Items(I)->Points();
            if (!Skipped(P)) Fn(FClip({P.Data(), static_cast<size_t>(P.Count())}));
        }
    }

private:
    // Whether a part draws nothing: narrower than the generalization distance,
    // or beyond one side of the view (the clipping would keep it off the view).
    bool Skipped(const TMapPoints& P) const {
        return FSkip &&
               ((P.MaxX - P.MinX < FVanish && P.MaxY - P.MinY < FVanish) || FClip.OffView(P));
    }

    const TParts& FParts;
    const TDetailLevel* FLevel;
    TViewClip FClip;
    bool FSkip = false; // with the level-of-detail option
    double FVanish = 0; // extents below this, in map units, draw nothing
};

} // namespace Mapobjects
