#pragma once
// Clipping of point rings to the view: a small polygon splitter cuts a closed
// ring by one infinite line at a time (one Sutherland-Hodgman pass), keeping
// one side, in extended precision and without tolerance. Four passes against
// the view grown by two pixels give the clipped ring, which is then converted
// to screen pixels, optionally thinned (generalization).

#include "objects/Parts.h"
#include "platform/Types.h"

#include <concepts>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace Platform {
class TCanvas;
}

namespace Mapobjects {

class TChartix;

enum TSplitMode { smAbove, smBelow, smLeft, smRight };

struct TPointEx {
    long double X = 0;
    long double Y = 0;
};
inline TPointEx PointEx(long double X, long double Y) {
    return TPointEx{X, Y};
}

struct TVectorEx {
    TPointEx P1;
    TPointEx P2;
};
inline TVectorEx VectorEx(const TPointEx& P1, const TPointEx& P2) {
    return TVectorEx{P1, P2};
}

class TPointsArray {
public:
    int Count() const { return static_cast<int>(FPoints.size()); }
    void Add(long double X, long double Y) { FPoints.push_back(TPointEx{X, Y}); }
    void Add(const TPointEx& P) { FPoints.push_back(P); }
    // The first N points of a raw block. A template, so that a literal 0 as
    // the X of Add(X, Y) never resolves to it as a null block.
    template <class T>
    requires std::same_as<T, TPointEx>
    void Add(const T* Points, int N) { AddBlock(Points, N); }
    void Clear() { FPoints.clear(); }
    void GetPoint(int Index, TPointEx& P) const; // out of range: P untouched
    void SetPoint(int Index, const TPointEx& P); // out of range: ignored
    void Delete(int Index);                      // out of range: ignored
    void Offset(long double DX, long double DY);
    void CopyTo(TPointsArray& Other) const;
    const TPointEx* Data() const { return FPoints.data(); }
    void Reserve(int N) { FPoints.reserve(static_cast<size_t>(N)); }

private:
    void AddBlock(const TPointEx* Points, int N);
    std::vector<TPointEx> FPoints;
};

class TVectorOperations {
public:
    void SetVector(const TVectorEx& V) { FVector = V; }
    const TVectorEx& Vector() const { return FVector; }
    bool IsHorz() const { return FVector.P1.Y == FVector.P2.Y; }
    bool IsVert() const { return FVector.P1.X == FVector.P2.X; }
    bool IsAny() const { return !IsHorz() && !IsVert(); }
    void GetParams(long double& A, long double& B) const;
    long double GetParamA() const;
    long double GetParamB() const;
    // Points on the line count as lying on the tested side. Inline: the
    // clipping asks once per vertex and pass.
    bool IsPointAbove(const TPointEx& P) const {
        return P.Y >= FVector.P1.Y && P.Y >= FVector.P2.Y;
    }
    bool IsPointBelow(const TPointEx& P) const {
        return P.Y <= FVector.P1.Y && P.Y <= FVector.P2.Y;
    }
    bool IsPointLeft(const TPointEx& P) const { return P.X <= FVector.P1.X && P.X <= FVector.P2.X; }
    bool IsPointRight(const TPointEx& P) const {
        return P.X >= FVector.P1.X && P.X >= FVector.P2.X;
    }
    bool IsPointValid(const TPointEx& P, TSplitMode Mode) const {
        switch (Mode) {
        case smAbove:
            return IsPointAbove(P);
        case smBelow:
            return IsPointBelow(P);
        case smLeft:
            return IsPointLeft(P);
        case smRight:
            return IsPointRight(P);
        }
        return false;
    }
    bool IsPointInsideBoundsRect(const TPointEx& P) const;
    // Crossing of this vector, as an infinite line, with the segment V.
    bool IsIntersected(const TVectorEx& V, TPointEx& P) const;

private:
    TVectorEx FVector;
};

class TPolySplitter {
public:
    TPolySplitter();
    ~TPolySplitter();
    void Reset();
    TPointsArray& Source() { return *FSource; }
    TPointsArray& Destination() { return *FDestination; }
    std::unique_ptr<TPointsArray> SetSource(std::unique_ptr<TPointsArray> A);
    std::unique_ptr<TPointsArray> SetDestination(std::unique_ptr<TPointsArray> A);
    bool Split(const TVectorEx& Line, TSplitMode Mode);

private:
    std::unique_ptr<TPointsArray> FSource;
    std::unique_ptr<TPointsArray> FDestination;
};

// Diagnostic drawing (not used by painting).
void DrawPoint(Platform::TCanvas* Canvas, const TPointEx& P, std::uint32_t Color);
void DrawPoints(Platform::TCanvas* Canvas, const TPointsArray& Points, std::uint32_t Color,
                bool Dots);

// Clips one part's points to the view grown by two pixels and converts them to
// screen pixels (thinned when the map generalizes). An empty input gives an
// empty block.
std::vector<Platform::TPoint> ClipPointsToScreen(std::span<const TMapPoint> Points,
                                                 const TChartix& Map);
inline std::vector<Platform::TPoint> ClipPointsToScreen(const TMapPoints& Points,
                                                        const TChartix& Map) {
    return ClipPointsToScreen({Points.Data(), static_cast<size_t>(Points.Count())}, Map);
}

// The same clipping with the view read once: for drawing the many parts of
// one object. The map's view must not change while it is used.
class TViewClip {
public:
    explicit TViewClip(const TChartix& Map);
    std::vector<Platform::TPoint> operator()(std::span<const TMapPoint> Points) const;
    /// Whether points within these bounds all lie beyond one side of the view:
    /// then they draw nothing on it.
    bool OffView(const TMapPoints& Points) const {
        if (!FRead) ReadView();
        return Points.MaxX < FView.MinX || Points.MinX > FView.MaxX || Points.MaxY < FView.MinY ||
               Points.MinY > FView.MaxY;
    }

private:
    void ReadView() const;

    const TChartix& FMap;
    mutable bool FRead = false;
    mutable TBounds FView; // the view grown by two pixels
    mutable double FHalfW = 0, FHalfH = 0, FCX = 0, FCY = 0, FK = 0;
    mutable bool FGeneralize = false;
    mutable std::int64_t FLevel = 0;
};

} // namespace Mapobjects
