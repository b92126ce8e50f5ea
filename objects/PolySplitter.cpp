#include "objects/PolySplitter.h"

#include "core/MapObjects.h"
#include "core/ScreenTransform.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

namespace Mapobjects {

using Platform::TPoint;

// --- TPointsArray -----------------------------------------------------------------------

void TPointsArray::AddBlock(const TPointEx* Points, int N) {
    if (N <= 0) return;
    FPoints.insert(FPoints.end(), Points, Points + N);
}

void TPointsArray::GetPoint(int Index, TPointEx& P) const {
    if (Index >= 0 && Index < Count()) P = FPoints[static_cast<size_t>(Index)];
}

void TPointsArray::SetPoint(int Index, const TPointEx& P) {
    if (Index >= 0 && Index < Count()) FPoints[static_cast<size_t>(Index)] = P;
}

void TPointsArray::Delete(int Index) {
    if (Index >= 0 && Index < Count()) FPoints.erase(FPoints.begin() + Index);
}

void TPointsArray::Offset(long double DX, long double DY) {
    for (TPointEx& P : FPoints) {
        P.X += DX;
        P.Y += DY;
    }
}

void TPointsArray::CopyTo(TPointsArray& Other) const {
    if (&Other == this) return;
    // Assignment keeps the other array's block when it is large enough, so
    // repeated splits of one ring do not allocate again.
    Other.FPoints.assign(FPoints.begin(), FPoints.end());
}

// --- TVectorOperations ------------------------------------------------------------------

void TVectorOperations::GetParams(long double& A, long double& B) const {
    const TPointEx& P1 = FVector.P1;
    const TPointEx& P2 = FVector.P2;
    if (IsHorz()) {
        A = 0;
        B = P1.Y;
    } else if (IsVert()) {
        A = 0;
        B = 0;
    } else {
        A = (P2.Y - P1.Y) / (P2.X - P1.X);
        B = P2.Y - A * P2.X;
    }
}

long double TVectorOperations::GetParamA() const {
    long double A, B;
    GetParams(A, B);
    return A;
}

long double TVectorOperations::GetParamB() const {
    long double A, B;
    GetParams(A, B);
    return B;
}

bool TVectorOperations::IsPointInsideBoundsRect(const TPointEx& P) const {
    const TPointEx& P1 = FVector.P1;
    const TPointEx& P2 = FVector.P2;
    return std::min(P1.X, P2.X) <= P.X && P.X <= std::max(P1.X, P2.X) &&
           std::min(P1.Y, P2.Y) <= P.Y && P.Y <= std::max(P1.Y, P2.Y);
}

bool TVectorOperations::IsIntersected(const TVectorEx& V, TPointEx& P) const {
    TVectorOperations Seg;
    Seg.SetVector(V);
    const bool LH = IsHorz(), LV = IsVert(), VH = Seg.IsHorz(), VV = Seg.IsVert();
    // Parallel lines never cross, collinear ones included (a degenerate vector
    // counts as both horizontal and vertical).
    if ((LH && VH) || (LV && VV)) return false;
    TPointEx R;
    if (LH && VV) {
        R.X = V.P1.X;
        R.Y = FVector.P1.Y;
    } else if (LV && VH) {
        R.X = FVector.P1.X;
        R.Y = V.P1.Y;
    } else if (LH) { // the segment is slanted
        long double A, B;
        Seg.GetParams(A, B);
        R.Y = FVector.P1.Y;
        R.X = (R.Y - B) / A;
    } else if (VH) { // the line is slanted
        long double A, B;
        GetParams(A, B);
        R.Y = V.P1.Y;
        R.X = (R.Y - B) / A;
    } else if (LV) {
        long double A, B;
        Seg.GetParams(A, B);
        R.X = FVector.P1.X;
        R.Y = A * R.X + B;
    } else if (VV) {
        long double A, B;
        GetParams(A, B);
        R.X = V.P1.X;
        R.Y = A * R.X + B;
    } else {
        long double AL, BL, AV, BV;
        GetParams(AL, BL);
        Seg.GetParams(AV, BV);
        if (AL == AV) return false;
        R.X = (BV - BL) / (AL - AV);
        R.Y = AL * R.X + BL;
    }
    P = R;
    return Seg.IsPointInsideBoundsRect(R);
}

// --- TPolySplitter ----------------------------------------------------------------------

TPolySplitter::TPolySplitter()
    : FSource(std::make_unique<TPointsArray>()), FDestination(std::make_unique<TPointsArray>()) {}

TPolySplitter::~TPolySplitter() = default;

void TPolySplitter::Reset() {
    FSource->Clear();
    FDestination->Clear();
}

std::unique_ptr<TPointsArray> TPolySplitter::SetSource(std::unique_ptr<TPointsArray> A) {
    std::swap(FSource, A);
    return A;
}

std::unique_ptr<TPointsArray> TPolySplitter::SetDestination(std::unique_ptr<TPointsArray> A) {
    std::swap(FDestination, A);
    return A;
}

namespace {

inline TPointEx Ex(const TPointEx& P) {
    return P;
}
inline TPointEx Ex(const TMapPoint& P) {
    return TPointEx{P.X, P.Y};
}

// One pass of the split over the closed ring S[0..N-1], appending the kept
// points and the crossings to Dst (anything with Add(const TPointEx&)).
//
// For an axis-parallel line every crossing lies exactly on the line's own
// coordinate, so a segment whose two ends lie strictly on one side of it can
// never cross within its box: such segments are passed over without working
// out a crossing that would be refused anyway. Most vertices outside the view
// are of this kind.

template <class TIn, class TOut>
void SplitRing(const TVectorOperations& Op, const TIn* S, int N, TSplitMode Mode, TOut& Dst) {
    const TVectorEx& L = Op.Vector();
    const bool Vert = L.P1.X == L.P2.X && L.P1.Y != L.P2.Y;
    const bool Horz = L.P1.Y == L.P2.Y && L.P1.X != L.P2.X;
    const long double C = Vert ? L.P1.X : L.P1.Y;
    auto OneSide = [&](const TPointEx& A, const TPointEx& B) {
        if (Vert) return (A.X < C && B.X < C) || (A.X > C && B.X > C);
        if (Horz) return (A.Y < C && B.Y < C) || (A.Y > C && B.Y > C);
        return false;
    };
    for (int I = 0; I < N; ++I) {
        const TPointEx Cur = Ex(S[I]);
        if (Op.IsPointValid(Cur, Mode)) {
            Dst.Add(Cur);
            continue;
        }
        const TPointEx Prev = Ex(S[I == 0 ? N - 1 : I - 1]);
        const TPointEx Next = Ex(S[I == N - 1 ? 0 : I + 1]);
        TPointEx P;
        if (!OneSide(Prev, Cur) && Op.IsIntersected(VectorEx(Prev, Cur), P)) Dst.Add(P);
        if (!OneSide(Cur, Next) && Op.IsIntersected(VectorEx(Cur, Next), P)) Dst.Add(P);
    }
}

struct TVectorOut {
    std::vector<TPointEx>& Points;
    void Add(const TPointEx& P) { Points.push_back(P); }
};

} // namespace

bool TPolySplitter::Split(const TVectorEx& Line, TSplitMode Mode) {
    TVectorOperations Op;
    Op.SetVector(Line);
    TPointsArray& Src = *FSource;
    TPointsArray& Dst = *FDestination;
    Dst.Clear();
    Dst.Reserve(Src.Count());
    SplitRing(Op, Src.Data(), Src.Count(), Mode, Dst);
    if (Dst.Count() == 0) return false;
    Dst.CopyTo(Src);
    return true;
}

// --- diagnostic drawing -----------------------------------------------------------------

void DrawPoint(Platform::TCanvas* Canvas, const TPointEx& P, std::uint32_t Color) {
    Canvas->Pen()->SetColor(Color);
    const int X = static_cast<int>(std::nearbyint(P.X));
    const int Y = static_cast<int>(std::nearbyint(P.Y));
    Canvas->Ellipse(X - 2, Y - 2, X + 3, Y + 3);
}

void DrawPoints(Platform::TCanvas* Canvas, const TPointsArray& Points, std::uint32_t Color,
                bool Dots) {
    Canvas->Pen()->SetColor(Color);
    const int N = Points.Count();
    if (N == 0) return;
    const TPointEx* P = Points.Data();
    if (Dots) {
        for (int I = 0; I < N; ++I)
            DrawPoint(Canvas, P[I], Color);
        return;
    }
    auto Px = [](long double V) { return static_cast<int>(std::nearbyint(V)); };
    Canvas->MoveTo(Px(P[0].X), Px(P[0].Y));
    for (int I = 1; I < N; ++I)
        Canvas->LineTo(Px(P[I].X), Px(P[I].Y));
    Canvas->LineTo(Px(P[0].X), Px(P[0].Y));
}

// --- view clipping ----------------------------------------------------------------------

namespace {

// Appends converted points, thinning them when the map generalizes: a point
// is kept only when it moves more than Level pixels in X or Y from the last
// kept one; the first is always kept.
class TScreenSink {
public:
    TScreenSink(bool Generalize, std::int64_t Level, std::vector<TPoint>& Out)
        : FOut(Out), FGeneralize(Generalize), FLevel(Level) {}

    [[gnu::always_inline]] void Put(const TPoint& P) {
        if (FGeneralize && !FOut.empty()) {
            const TPoint& L = FOut.back();
            if (std::abs(static_cast<std::int64_t>(P.X) - L.X) <= FLevel &&
                std::abs(static_cast<std::int64_t>(P.Y) - L.Y) <= FLevel)
                return;
        }
        FOut.push_back(P);
    }

private:
    std::vector<TPoint>& FOut;
    bool FGeneralize;
    std::int64_t FLevel;
};

} // namespace

TViewClip::TViewClip(const TChartix& Map) : FMap(Map) {}

// Read on first use: an object without points never asks the map for its
// scale (which fails on a degenerate world).
void TViewClip::ReadView() const {
    const TChartix& Map = FMap;
    FHalfW = Map.ClientWidth() / 2.0;
    FHalfH = Map.ClientHeight() / 2.0;
    FCX = Map.CenterX();
    FCY = Map.CenterY();
    FK = Map.Scale();
    FGeneralize = Map.UseGeneralization();
    FLevel = Map.GeneralizationLevel();
    // The view grown by two pixels on every side, so the edges the clipping
    // adds lie just outside the client area and are never seen.
    FView = Map.GetViewBounds();
    int SX, SY;
    Map.MapToScreen(FView.MinX, FView.MinY, SX, SY, false);
    Map.ScreenToMap(SX - 2, SY + 2, FView.MinX, FView.MinY);
    Map.MapToScreen(FView.MaxX, FView.MaxY, SX, SY, false);
    Map.ScreenToMap(SX + 2, SY - 2, FView.MaxX, FView.MaxY);
    FRead = true;
}

std::vector<TPoint> ClipPointsToScreen(std::span<const TMapPoint> Points, const TChartix& Map) {
    return TViewClip(Map)(Points);
}

std::vector<TPoint> TViewClip::operator()(std::span<const TMapPoint> Points) const {
    std::vector<TPoint> Result;
    const int N = static_cast<int>(Points.size());
    if (N == 0) return Result;
    if (!FRead) ReadView();
    const TBounds B = FView; // a copy: pushing points must not make the loop re-read it
    const TScreenTransform ToScreen(FHalfW, FHalfH, FCX, FCY, FK);
    TScreenSink Sink(FGeneralize, FLevel, Result);
    Result.reserve(static_cast<size_t>(N));

    // A split whose side no vertex crosses keeps the ring as it is, and the
    // crossings that other splits add lie within the ring's extent, so only
    // the sides that some vertex crosses need a pass. While no vertex crosses
    // any side, the points are converted straight away, in the same sweep.
    const TMapPoint* P = Points.data();
    int First = 0;
    for (; First < N; ++First) {
        const double X = P[First].X, Y = P[First].Y;
        if (!(X >= B.MinX && Y <= B.MaxY && X <= B.MaxX && Y >= B.MinY)) break;
        Sink.Put(ToScreen(X, Y));
    }
    if (First == N) return Result;
    Result.clear();
    bool OutLeft = false, OutTop = false, OutRight = false, OutBottom = false;
    for (int I = First; I < N; ++I) {
        const double X = P[I].X, Y = P[I].Y;
        OutLeft |= !(X >= B.MinX);
        OutTop |= !(Y <= B.MaxY);
        OutRight |= !(X <= B.MaxX);
        OutBottom |= !(Y >= B.MinY);
    }

    // The splitter's passes, on two buffers that trade places after each
    // successful pass instead of copying the ring back. The first pass reads
    // the part's own points; until a pass keeps something, they are the ring.
    std::vector<TPointEx> Src, Dst;
    bool Split = false;
    Dst.reserve(static_cast<size_t>(N));
    auto Pass = [&](const TPointEx& P1, const TPointEx& P2, TSplitMode Mode) {
        TVectorOperations Op;
        Op.SetVector(VectorEx(P1, P2));
        Dst.clear();
        TVectorOut Out{Dst};
        if (Split)
            SplitRing(Op, Src.data(), static_cast<int>(Src.size()), Mode, Out);
        else
            SplitRing(Op, P, N, Mode, Out);
        // A pass that keeps nothing leaves the ring as it was.
        if (Dst.empty()) return;
        std::swap(Src, Dst);
        Split = true;
    };
    const TPointEx LB = PointEx(B.MinX, B.MinY), LT = PointEx(B.MinX, B.MaxY);
    const TPointEx RT = PointEx(B.MaxX, B.MaxY), RB = PointEx(B.MaxX, B.MinY);
    if (OutLeft) Pass(LB, LT, smRight);
    if (OutTop) Pass(LT, RT, smBelow);
    if (OutRight) Pass(RT, RB, smLeft);
    if (OutBottom) Pass(RB, LB, smAbove);

    if (!Split) {
        for (int I = 0; I < N; ++I)
            Sink.Put(ToScreen(P[I].X, P[I].Y));
        return Result;
    }
    Result.reserve(Src.size());
    for (const TPointEx& Q : Src)
        Sink.Put(ToScreen(static_cast<double>(Q.X), static_cast<double>(Q.Y)));
    return Result;
}

} // namespace Mapobjects
