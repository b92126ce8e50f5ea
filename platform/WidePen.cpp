#include "platform/WidePen.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace Platform {

namespace {

__extension__ using Wide = __int128;

// Far wider than any screen, and keeps the exact arithmetic in range.
constexpr int MaxWidth = 1 << 14;

long long FloorDiv(long long A, long long B) {
    return A / B - ((A % B != 0) && ((A < 0) != (B < 0)));
}
long long CeilDiv(long long A, long long B) {
    return -FloorDiv(-A, B);
}

struct TSpan {
    long long Y, X0, X1;
};

struct TSegment {
    long long X0, Y0, X1, Y1;
};

class TSweep {
public:
    TSweep(const QRect& Area, int Width)
        : FR(FixOne * Width / 2), FOffset(Width % 2 == 0 ? FixOne / 2 : 0), FR2(Wide(FR) * FR),
          FColLo(Area.left()), FColHi(Area.left() + Area.width() - 1), FRowLo(Area.top()),
          FRowHi(Area.top() + Area.height() - 1) {}

    // The pen of one segment (a disc when its ends coincide), row by row.
    template <class Emit> void Segment(TSegment S, Emit&& Out) const {
        // Both ways round give the same pixels.
        if (std::pair(S.Y1, S.X1) < std::pair(S.Y0, S.X0)) S = {S.X1, S.Y1, S.X0, S.Y0};
        if (!Clip(S)) return;
        const long long Top = std::min(S.Y0, S.Y1) - FR, Bottom = std::max(S.Y0, S.Y1) + FR;
        const long long RowLo = std::max(CeilDiv(Top - FOffset, FixOne), FRowLo);
        const long long RowHi = std::min(FloorDiv(Bottom - FOffset, FixOne), FRowHi);
        for (long long Y = RowLo; Y <= RowHi; ++Y) {
            long long X0, X1;
            if (Row(S, Y, X0, X1)) Out(Y, X0, X1);
        }
    }

private:
    // Cuts a segment to the target grown by more than the pen's reach: what
    // lies beyond cannot touch a target pixel, and the rest keeps the exact
    // arithmetic small. Ends inside are kept as they are.
    bool Clip(TSegment& S) const {
        const double Reach = static_cast<double>(FR + 4 * FixOne);
        const double L = static_cast<double>(FColLo * FixOne) - Reach;
        const double R = static_cast<double>((FColHi + 1) * FixOne) + Reach;
        const double T = static_cast<double>(FRowLo * FixOne) - Reach;
        const double B = static_cast<double>((FRowHi + 1) * FixOne) + Reach;
        auto In = [&](long long X, long long Y) { return X >= L && X <= R && Y >= T && Y <= B; };
        if (In(S.X0, S.Y0) && In(S.X1, S.Y1)) return true;
        const double X0 = static_cast<double>(S.X0), Y0 = static_cast<double>(S.Y0);
        const double DX = static_cast<double>(S.X1) - X0, DY = static_cast<double>(S.Y1) - Y0;
        double T0 = 0, T1 = 1;
        auto Edge = [&](double P, double Q) { // Liang-Barsky: P * t <= Q
            if (P == 0) return Q >= 0;
            const double Tt = Q / P;
            if (P < 0)
                T0 = std::max(T0, Tt);
            else
                T1 = std::min(T1, Tt);
            return T0 <= T1;
        };
        if (!Edge(-DX, X0 - L) || !Edge(DX, R - X0) || !Edge(-DY, Y0 - T) || !Edge(DY, B - Y0))
            return false;
        if (T1 < 1) {
            S.X1 = std::llround(X0 + T1 * DX);
            S.Y1 = std::llround(Y0 + T1 * DY);
        }
        if (T0 > 0) {
            S.X0 = std::llround(X0 + T0 * DX);
            S.Y0 = std::llround(Y0 + T0 * DY);
        }
        return true;
    }

    // Whether the sample point of pixel (X, Y) is within reach of the segment.
    bool Inside(const TSegment& S, long long X, long long Y) const {
        const long long PX = X * FixOne + FOffset - S.X0, PY = Y * FixOne + FOffset - S.Y0;
        const long long DX = S.X1 - S.X0, DY = S.Y1 - S.Y0;
        const Wide T = Wide(PX) * DX + Wide(PY) * DY;
        const Wide L2 = Wide(DX) * DX + Wide(DY) * DY;
        if (T <= 0) return Wide(PX) * PX + Wide(PY) * PY <= FR2;
        if (T >= L2) {
            const long long QX = PX - DX, QY = PY - DY;
            return Wide(QX) * QX + Wide(QY) * QY <= FR2;
        }
        const Wide Cross = Wide(PX) * DY - Wide(PY) * DX;
        return Cross * Cross <= FR2 * L2;
    }

    // The pixels of row Y within reach of the segment: the row cuts the
    // capsule in one run, estimated in floating point and settled exactly.
    bool Row(const TSegment& S, long long Y, long long& X0, long long& X1) const {
        const double R = static_cast<double>(FR) + 1; // a little slack for rounding
        const double SY = static_cast<double>(Y * FixOne + FOffset);
        double Lo = std::numeric_limits<double>::infinity(), Hi = -Lo;
        auto Disc = [&](double CX, double CY) {
            const double D = SY - CY;
            if (std::abs(D) > R) return;
            const double H = std::sqrt(std::max(0.0, R * R - D * D));
            Lo = std::min(Lo, CX - H);
            Hi = std::max(Hi, CX + H);
        };
        const double AX = static_cast<double>(S.X0), AY = static_cast<double>(S.Y0);
        Disc(AX, AY);
        Disc(static_cast<double>(S.X1), static_cast<double>(S.Y1));
        const double DX = static_cast<double>(S.X1 - S.X0), DY = static_cast<double>(S.Y1 - S.Y0);
        const double L2 = DX * DX + DY * DY;
        if (L2 > 0) {
            // The band along the segment: |cross| <= R * L and 0 <= dot <= L2.
            const double L = std::sqrt(L2), RL = R * L, YY = SY - AY;
            double SLo = -std::numeric_limits<double>::infinity(), SHi = -SLo;
            bool Empty = false;
            auto Bound = [&](double A, double B) {
                SLo = std::max(SLo, std::min(A, B) + AX);
                SHi = std::min(SHi, std::max(A, B) + AX);
            };
            if (DY != 0)
                Bound((YY * DX - RL) / DY, (YY * DX + RL) / DY);
            else
                Empty = std::abs(YY) > R;
            if (DX != 0)
                Bound(-YY * DY / DX, (L2 - YY * DY) / DX);
            else
                Empty = Empty || YY * DY < -L || YY * DY > L2 + L;
            if (!Empty && SLo <= SHi) {
                Lo = std::min(Lo, SLo);
                Hi = std::max(Hi, SHi);
            }
        }
        if (!(Lo <= Hi)) return false;
        const double Off = static_cast<double>(FOffset);
        const double First = std::ceil((Lo - Off) / FixOne), Last = std::floor((Hi - Off) / FixOne);
        if (Last < static_cast<double>(FColLo) || First > static_cast<double>(FColHi)) return false;
        X0 = std::max(static_cast<long long>(First), FColLo);
        X1 = std::min(static_cast<long long>(Last), FColHi);
        // The slack may have taken a pixel or two too many; the exact test
        // settles both ends.
        while (X0 <= X1 && !Inside(S, X0, Y))
            ++X0;
        while (X1 >= X0 && !Inside(S, X1, Y))
            --X1;
        return X0 <= X1;
    }

    long long FR;      // the pen's reach, half its width, in fixed units
    long long FOffset; // sample point within the pixel
    Wide FR2;
    long long FColLo, FColHi, FRowLo, FRowHi;
};

} // namespace

void StrokeWide(TPixels& Px, QRgb Color, TPenMode Mode, const TFixPoint* Points, int Count,
                bool Closed, int Width) {
    if (!Points || Count < 2) return;
    bool Moves = false;
    for (int I = 1; I < Count && !Moves; ++I)
        Moves = Points[I].X != Points[0].X || Points[I].Y != Points[0].Y;
    if (!Moves) return;
    const QRect Area = Px.Area();
    if (Area.isEmpty()) return;
    const TSweep Sweep(Area, std::clamp(Width, 1, MaxWidth));
    const int Segments = Closed ? Count : Count - 1;
    auto SegmentAt = [&](int I) {
        const TFixPoint& A = Points[I];
        const TFixPoint& B = Points[(I + 1) % Count];
        return TSegment{A.X, A.Y, B.X, B.Y};
    };
    if (Mode == pmCopy) {
        // Painting a pixel twice changes nothing: no need to merge.
        for (int I = 0; I < Segments; ++I)
            Sweep.Segment(SegmentAt(I), [&](long long Y, long long X0, long long X1) {
                Px.PutSpan(Y, X0, X1, Color, Mode);
            });
        return;
    }
    std::vector<TSpan> Spans;
    for (int I = 0; I < Segments; ++I)
        Sweep.Segment(SegmentAt(I), [&](long long Y, long long X0, long long X1) {
            Spans.push_back({Y, X0, X1});
        });
    std::sort(Spans.begin(), Spans.end(),
              [](const TSpan& A, const TSpan& B) { return A.Y != B.Y ? A.Y < B.Y : A.X0 < B.X0; });
    for (size_t I = 0; I < Spans.size();) {
        TSpan Run = Spans[I++];
        while (I < Spans.size() && Spans[I].Y == Run.Y && Spans[I].X0 <= Run.X1 + 1)
            Run.X1 = std::max(Run.X1, Spans[I++].X1);
        Px.PutSpan(Run.Y, Run.X0, Run.X1, Color, Mode);
    }
}

} // namespace Platform
