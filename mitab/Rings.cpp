#include "Rings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Mitab {

namespace {

struct TBox {
    double MinX = std::numeric_limits<double>::infinity(), MinY = MinX;
    double MaxX = -MinX, MaxY = -MinX;
};

TBox BoxOf(const std::vector<TVertex>& Ring) {
    TBox B;
    for (const TVertex& V : Ring) {
        B.MinX = std::min(B.MinX, V.X);
        B.MaxX = std::max(B.MaxX, V.X);
        B.MinY = std::min(B.MinY, V.Y);
        B.MaxY = std::max(B.MaxY, V.Y);
    }
    return B;
}

bool Inside(const TVertex& P, const std::vector<TVertex>& Ring) {
    bool In = false;
    for (size_t I = 0, J = Ring.size() - 1; I < Ring.size(); J = I++) {
        const TVertex& A = Ring[I];
        const TVertex& B = Ring[J];
        if ((A.Y > P.Y) != (B.Y > P.Y) && P.X < (B.X - A.X) * (P.Y - A.Y) / (B.Y - A.Y) + A.X)
            In = !In;
    }
    return In;
}

double Area(const std::vector<TVertex>& Ring) {
    double A = 0;
    for (size_t I = 0, J = Ring.size() - 1; I < Ring.size(); J = I++)
        A += (Ring[J].X + Ring[I].X) * (Ring[J].Y - Ring[I].Y);
    return std::abs(A) / 2;
}

} // namespace

std::vector<int> RingParents(const std::vector<const std::vector<TVertex>*>& Rings) {
    size_t N = Rings.size();
    std::vector<TBox> Boxes;
    std::vector<double> Areas;
    for (const auto* R : Rings) {
        Boxes.push_back(BoxOf(*R));
        Areas.push_back(Area(*R));
    }
    // Which rings hold each ring, judged by its first vertex.
    std::vector<std::vector<int>> Holders(N);
    for (size_t I = 0; I < N; ++I) {
        const TVertex& P = Rings[I]->front();
        for (size_t J = 0; J < N; ++J) {
            const TBox& B = Boxes[J];
            if (J != I && Rings[J]->size() >= 3 && P.X >= B.MinX && P.X <= B.MaxX &&
                P.Y >= B.MinY && P.Y <= B.MaxY && Inside(P, *Rings[J]))
                Holders[I].push_back(static_cast<int>(J));
        }
    }
    std::vector<int> Parents(N, -1);
    for (size_t I = 0; I < N; ++I) {
        if (Holders[I].size() % 2 == 0) continue; // an outer ring
        // The hole belongs to the smallest outer ring around it.
        for (int J : Holders[I])
            if (Holders[J].size() % 2 == 0 && Holders[J].size() + 1 == Holders[I].size() &&
                (Parents[I] < 0 || Areas[J] < Areas[Parents[I]]))
                Parents[I] = J;
    }
    return Parents;
}

} // namespace Mitab
