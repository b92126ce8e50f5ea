#include "objects/DetailLevels.h"

#include "core/ChartixOptions.h"
#include "core/MapObjects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace Mapobjects {

namespace {

// All copies of an object together hold at most this share of its points, in
// per cent: their memory stays under a quarter of what the object takes.
constexpr long BudgetShare = 25;
constexpr double VanishMargin = 1e-9;
constexpr float Always = std::numeric_limits<float>::infinity();

// Distance from P to the segment A-B (to A when the segment is a point, as in
// a closed ring whose last point repeats the first).
double SegmentDistance(const TMapPoint& P, const TMapPoint& A, const TMapPoint& B) {
    const double DX = B.X - A.X, DY = B.Y - A.Y;
    const double Len2 = DX * DX + DY * DY;
    double T = Len2 > 0 ? ((P.X - A.X) * DX + (P.Y - A.Y) * DY) / Len2 : 0;
    T = std::clamp(T, 0.0, 1.0);
    return std::hypot(P.X - (A.X + T * DX), P.Y - (A.Y + T * DY));
}

// The importance of each point of one part: its ends are always kept; every
// other point gets the largest distance of its span at the split that picks
// it, capped by the importance of the enclosing split. Iterative, so a long
// ring does not recurse deeply.
void Importance(const TMapPoint* P, int N, float* Out) {
    if (N <= 0) return;
    Out[0] = Always;
    Out[N - 1] = Always;
    struct TSpan {
        int A, B;
        float Cap;
    };
    std::vector<TSpan> Stack;
    if (N > 2) Stack.push_back({0, N - 1, Always});
    while (!Stack.empty()) {
        const TSpan S = Stack.back();
        Stack.pop_back();
        double Max = -1;
        int At = S.A + 1;
        for (int I = S.A + 1; I < S.B; ++I) {
            const double D = SegmentDistance(P[I], P[S.A], P[S.B]);
            if (D > Max) {
                Max = D;
                At = I;
            }
        }
        const float V = std::min(static_cast<float>(Max), S.Cap);
        Out[At] = V;
        if (At - S.A > 1) Stack.push_back({S.A, At, V});
        if (S.B - At > 1) Stack.push_back({At, S.B, V});
    }
}

// Tolerances are powers of two: a point of importance V is kept at 2^E when
// V >= 2^E, that is when the binary exponent of V (V = m * 2^Exp, 1 <= m < 2)
// is at least E.
constexpr int ExpOffset = 1100; // covers the exponents of every finite float and double
int Exponent(float V) {
    if (!(V > 0)) return -ExpOffset; // zero: dropped at every tolerance
    int E;
    std::frexp(V, &E);
    return E - 1;
}

} // namespace

// Parts narrower than the vanishing width on both axes draw nothing at any
// scale that uses a copy of tolerance T when 2T is below that width (see
// TPartsOnScreen): the smallest exponent E from which a part of this extent
// is left out of the copies.
int VanishingExponent(double Extent) {
    if (!(Extent > 0)) return -ExpOffset;
    int E = std::ilogb(Extent) - 1;
    while (!(std::ldexp(1 - VanishMargin, E + 1) > Extent))
        ++E;
    return E;
}

std::unique_ptr<TDetailLevels> TDetailLevels::Build(const TParts& Parts) {
    auto Result = std::make_unique<TDetailLevels>();
    const int PartCount = Parts.Count();
    Result->FPartCount = PartCount;
    const int N = Parts.PointCount();
    if (N < MinPoints) return Result;

    // Each point's last exponent: the coarsest tolerance 2^E at which a copy
    // keeps it, as its part is dropped from the exponent where it vanishes on.
    std::vector<std::int16_t> LastKept(static_cast<size_t>(N));
    std::vector<float> Imp;
    std::vector<int> Histogram(2 * ExpOffset + 1);
    for (int I = 0, At = 0; I < PartCount; ++I) {
        const TMapPoints& Pts = Parts.Items(I)->Points();
        const int Count = Pts.Count();
        Imp.resize(static_cast<size_t>(Count));
        Importance(Pts.Data(), Count, Imp.data());
        TBounds B;
        for (const TMapPoint& P : std::span(Pts.Data(), static_cast<size_t>(Count))) {
            B.MinX = std::min(B.MinX, P.X);
            B.MaxX = std::max(B.MaxX, P.X);
            B.MinY = std::min(B.MinY, P.Y);
            B.MaxY = std::max(B.MaxY, P.Y);
        }
        const int Vanish =
            Count ? VanishingExponent(std::max(B.MaxX - B.MinX, B.MaxY - B.MinY)) : -ExpOffset;
        for (int K = 0; K < Count; ++K) {
            const float V = Imp[static_cast<size_t>(K)];
            const int Last =
                std::max(-ExpOffset, std::min(V == Always ? ExpOffset : Exponent(V), Vanish - 1));
            LastKept[static_cast<size_t>(At + K)] = static_cast<std::int16_t>(Last);
            ++Histogram[static_cast<size_t>(Last + ExpOffset)];
        }
        At += Count;
    }

    // The points kept at each tolerance, coarse to fine, from the first
    // tolerance at which every part vanishes.
    int Lo = 2 * ExpOffset, Top = 0;
    for (int B = 0; B <= 2 * ExpOffset; ++B)
        if (Histogram[static_cast<size_t>(B)]) {
            Lo = std::min(Lo, B);
            Top = B;
        }
    // Coarse copies first, they save the most per byte: each next finer copy
    // must hold at least twice the points of the last one taken (fewer would
    // hardly draw faster), at most half the object's, and all of them
    // together at most a budget of the object's points.
    const long Budget = static_cast<long>(N) * BudgetShare / 100;
    long Spent = 0;
    int Taken = -1, Count = 0;
    std::vector<int> Exps;
    for (int B = std::min(Top + 1, 2 * ExpOffset); B >= Lo; --B) {
        if (B <= Top) Count += Histogram[static_cast<size_t>(B)];
        // Points reaching exponent B - ExpOffset; the ends of kept parts at
        // every tolerance below where their part vanishes.
        if (Count * 2 > N || Spent + Count > Budget) break;
        if (Taken >= 0 && Count < 2 * Taken) continue;
        Exps.insert(Exps.begin(), B - ExpOffset);
        Spent += Count;
        Taken = Count;
    }

    for (int E : Exps) {
        TDetailLevel& L = Result->FLevels.emplace_back();
        L.Tolerance = std::ldexp(1.0, E);
        for (int I = 0, At = 0; I < PartCount; ++I) {
            const TMapPoints& Pts = Parts.Items(I)->Points();
            const size_t Before = L.Points.size();
            for (int K = 0; K < Pts.Count(); ++K)
                if (LastKept[static_cast<size_t>(At + K)] >= E) L.Points.push_back(Pts.Data()[K]);
            if (L.Points.size() > Before) {
                L.Parts.push_back(I);
                L.Starts.push_back(static_cast<int>(Before));
            }
            At += Pts.Count();
        }
        L.Starts.push_back(static_cast<int>(L.Points.size()));
        L.Points.shrink_to_fit();
        L.Parts.shrink_to_fit();
        L.Starts.shrink_to_fit();
    }
    return Result;
}

bool TDetailLevels::Matches(const TParts& Parts) const {
    return Parts.Count() == FPartCount;
}

const TDetailLevel* TDetailLevels::Choose(double MaxTolerance) const {
    const TDetailLevel* Best = nullptr;
    for (const TDetailLevel& L : FLevels) {
        if (L.Tolerance > MaxTolerance) break;
        Best = &L;
    }
    return Best;
}

size_t TDetailLevels::MemoryUsed() const {
    size_t N = sizeof(*this);
    for (const TDetailLevel& L : FLevels)
        N += sizeof(L) + L.Points.capacity() * sizeof(TMapPoint) +
             (L.Starts.capacity() + L.Parts.capacity()) * sizeof(int);
    return N;
}

namespace {
// Whether Map draws big objects from copies and skips parts that vanish:
// the option, with generalization on.
bool Simplifies(const TChartix& Map) {
    return Map.Options().LevelOfDetail() && Map.UseGeneralization() &&
           Map.GeneralizationLevel() > 0;
}
} // namespace

const TDetailLevel* DetailFor(const TParts& Parts, const TChartix& Map) {
    if (!Simplifies(Map)) return nullptr;
    // Cheap tests first: most objects are small, and the count of a layer's
    // objects is what a repaint is made of.
    if (Parts.Count() == 1 && Parts.Items(0)->Points().Count() < TDetailLevels::MinPoints)
        return nullptr;
    const double Scale = Map.Scale();
    if (!(Scale > 0)) return nullptr;
    return Parts.DetailLevels().Choose(Map.GeneralizationLevel() / 2.0 / Scale);
}

TPartsOnScreen::TPartsOnScreen(const TParts& Parts, const TChartix& Map)
    : FParts(Parts), FLevel(DetailFor(Parts, Map)), FClip(Map) {
    // The generalization keeps a point only when it moves more than Level
    // pixels in X or Y from the last one kept; a part narrower than that on
    // both axes keeps only its first. A hair's margin for the rounding of the
    // transform.
    FSkip = Map.Options().LevelOfDetail();
    if (Simplifies(Map)) FVanish = Map.GeneralizationLevel() * (1 - VanishMargin) / Map.Scale();
}

} // namespace Mapobjects
