#include "platform/LineRaster.h"

#include <algorithm>
#include <cstdlib>

namespace Platform {

namespace {

constexpr int DashPattern[] = {18, 6};
constexpr int DotPattern[] = {3, 3};
constexpr int DashDotPattern[] = {9, 6, 3, 6};
constexpr int DashDotDotPattern[] = {9, 3, 3, 3, 3, 3};

} // namespace

void TStroke::SetStyle(TPenStyle Style) {
    auto Use = [this](const int* Pattern, int Count) {
        Dashes = Pattern;
        DashCount = Count;
        Period = 0;
        for (int I = 0; I < Count; ++I)
            Period += Pattern[I];
    };
    switch (Style) {
    case psDash:
        Use(DashPattern, 2);
        break;
    case psDot:
        Use(DotPattern, 2);
        break;
    case psDashDot:
        Use(DashDotPattern, 4);
        break;
    case psDashDotDot:
        Use(DashDotDotPattern, 6);
        break;
    default:
        Dashes = nullptr;
        DashCount = Period = 0;
        break;
    }
}

void PlotLine(TPixels& Px, TStroke& S, long long X0, long long Y0, long long X1, long long Y1) {
    const long long DX = X1 - X0, DY = Y1 - Y0;
    const bool XMajor = std::llabs(DX) >= std::llabs(DY);
    const long long N = XMajor ? std::llabs(DX) : std::llabs(DY);
    if (N == 0) return;
    const long long M = XMajor ? std::llabs(DY) : std::llabs(DX);
    const int MajorStep = (XMajor ? DX : DY) < 0 ? -1 : 1;
    const int MinorStep = (XMajor ? DY : DX) < 0 ? -1 : 1;
    const long long Major0 = XMajor ? X0 : Y0, Minor0 = XMajor ? Y0 : X0;
    const QRect Area = Px.Area();
    const long long Lo = XMajor ? Area.left() : Area.top();
    const long long Hi = Lo + (XMajor ? Area.width() : Area.height());
    long long First, Last; // step range [First, Last) inside [Lo, Hi)
    if (MajorStep > 0) {
        First = Lo - Major0;
        Last = Hi - Major0;
    } else {
        First = Major0 - Hi + 1;
        Last = Major0 - Lo + 1;
    }
    First = std::max(First, 0LL);
    Last = std::min(Last, N);
    if (First < Last) {
        // The minor offset at step I is I * M / N rounded to the nearest
        // integer; a tie goes to the smaller screen coordinate, which is
        // back towards the start when the minor coordinate grows:
        // floor((2 * I * M + N - Bias) / (2 * N)), kept incrementally.
        const long long Bias = MinorStep > 0 ? 1 : 0;
        __extension__ using Wide = __int128;
        const Wide Start = Wide(2) * First * M + N - Bias;
        long long Q = static_cast<long long>(Start / (2 * N));
        long long R = static_cast<long long>(Start % (2 * N));
        for (long long I = First; I < Last; ++I) {
            const long long Major = Major0 + MajorStep * I, Minor = Minor0 + MinorStep * Q;
            S.Plot(Px, XMajor ? Major : Minor, XMajor ? Minor : Major, I);
            R += 2 * M;
            if (R >= 2 * N) {
                R -= 2 * N;
                ++Q;
            }
        }
    }
    S.Phase += N;
}

void PlotPolyline(TPixels& Px, TStroke& S, const TPoint* Points, int Count, bool Closed) {
    for (int I = 0; I + 1 < Count; ++I)
        PlotLine(Px, S, Points[I].X, Points[I].Y, Points[I + 1].X, Points[I + 1].Y);
    if (Closed && Count > 2)
        PlotLine(Px, S, Points[Count - 1].X, Points[Count - 1].Y, Points[0].X, Points[0].Y);
}

} // namespace Platform
